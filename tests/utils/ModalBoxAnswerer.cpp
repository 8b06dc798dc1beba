#include "ModalBoxAnswerer.h"

#include <gtest/gtest.h>

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

BOOL CALLBACK CollectStatic(HWND window, LPARAM textsPointer)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0 && !ModalBoxAnswerer::Text(window).empty())
        reinterpret_cast<std::vector<std::string>*>(textsPointer)->push_back(ModalBoxAnswerer::Text(window));
    return TRUE;
}

}  // namespace

ModalBoxAnswerer* ModalBoxAnswerer::s_current = nullptr;

ModalBoxAnswerer::ModalBoxAnswerer(const std::string& caption, int button, Look look)
    : m_caption(caption), m_button(button), m_look(std::move(look))
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

std::string ModalBoxAnswerer::Text(HWND window)
{
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> ModalBoxAnswerer::StaticTexts(HWND box)
{
    std::vector<std::string> texts;
    EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void CALLBACK ModalBoxAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_current)
        s_current->Tick();
}

void ModalBoxAnswerer::Tick()
{
    HWND box = FindDialog(m_caption.c_str());
    if (box && !m_answered) {
        m_answered = true;
        if (m_look)
            m_look(box);
        if (m_button)
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(m_button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, m_button)));
        return;
    }
    if (m_answered && !box) {
        KillTimer(nullptr, m_timer);
        m_timer = 0;
        return;
    }
    if (++m_ticks < kGiveUpTicks)
        return;
    ADD_FAILURE() << "the box \"" << m_caption << (m_answered ? "\" did not close" : "\" was not shown");
    if (HWND any = FindDialog(nullptr))
        EndDialog(any, 0);
    m_ticks = 0;
}
