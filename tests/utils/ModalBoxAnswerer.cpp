#include "ModalBoxAnswerer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "WindowText.h"

namespace {

const UINT kPeriod = 20;
const int kGiveUpTicks = 500;   // 10 s: a box never found must not hang the run

// A visible dialog of this thread, with the caption when one is given.
HWND FindDialog(const char* caption)
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", caption)) != nullptr;)
        if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() && IsWindowVisible(window))
            return window;
    return nullptr;
}

}  // namespace

ModalBoxAnswerer* ModalBoxAnswerer::s_current = nullptr;

ModalBoxAnswerer::ModalBoxAnswerer(const std::string& caption, int button, Look look)
    : ModalBoxAnswerer(Steps{ { caption, [button, look](HWND box) {
          if (look)
              look(box);
          if (button)
              SendMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
      } } })
{
}

ModalBoxAnswerer::ModalBoxAnswerer(Steps steps) : m_steps(std::move(steps))
{
    s_current = this;
    m_timer = SetTimer(nullptr, 0, kPeriod, OnTimer);
}

ModalBoxAnswerer::~ModalBoxAnswerer()
{
    if (m_timer)
        KillTimer(nullptr, m_timer);
    s_current = nullptr;
}

std::vector<std::string> ModalBoxAnswerer::StaticTexts(HWND box)
{
    std::vector<std::string> texts = ChildTexts(box, "Static");
    texts.erase(std::remove(texts.begin(), texts.end(), std::string()), texts.end());
    return texts;
}

void CALLBACK ModalBoxAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_current)
        s_current->Tick();
}

// The step is counted before its look runs: a look may run a modal loop of its own.
void ModalBoxAnswerer::Tick()
{
    const bool waiting = !Answered();
    const std::string& caption = m_steps[waiting ? m_next : m_next - 1].first;
    HWND box = FindDialog(caption.c_str());
    if (box && waiting) {
        m_ticks = 0;
        m_steps[m_next++].second(box);
        return;
    }
    if (!box && !waiting) {
        KillTimer(nullptr, m_timer);
        m_timer = 0;
        return;
    }
    if (++m_ticks < kGiveUpTicks)
        return;
    ADD_FAILURE() << "the box \"" << caption << (waiting ? "\" was not shown" : "\" did not close");
    if (HWND any = FindDialog(nullptr))
        EndDialog(any, 0);
    m_ticks = 0;
}
