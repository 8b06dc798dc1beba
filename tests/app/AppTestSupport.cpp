#include "tests/app/AppTestSupport.h"

#include <stdexcept>
#include <vector>

#include "utils/VelExceptBase.h"

void TestDlg::RunOnUi(const std::function<void()>& work)
{
    SendMessage(kRunMessage, 0, reinterpret_cast<LPARAM>(&work));
}

bool TestDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == kRunMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        result = 0;
        return true;
    }
    if (msg == kThrowMessage && wParam == 0)
        throw VelExceptBase("thrown on purpose", ErrPos("test.cpp", "OnWndMsg", 1));
    if (msg == kThrowMessage)
        throw std::runtime_error("not of the family");
    bool handled = CVelDbCtrlDlg::OnWndMsg(msg, wParam, lParam, result);
    if (msg == WM_SHOWWINDOW && !wParam && lParam == SW_PARENTCLOSING) {
        // Ticks of the timer would interleave with the tests' own calls.
        if (!keepTimer)
            KillTimer(STATUS_TIMER_ID);
        started = true;
    }
    return handled;
}

DialogRunner::DialogRunner(bool keepTimer)
{
    m_dlg.keepTimer = keepTimer;
    m_thread = std::thread([this] {
        m_dlg.DoModal();
        m_ended = true;
    });
    WaitFor([this] { return m_dlg.started.load(); });
    m_hwnd = m_dlg.GetSafeHwnd();
}

DialogRunner::~DialogRunner()
{
    if (!m_ended && m_hwnd)
        PostMessageA(m_hwnd, WM_COMMAND, ID_EXIT, 0);
    if (m_thread.joinable())
        m_thread.join();
}

ProgramProcess::~ProgramProcess()
{
    if (!Running() || Exit())
        return;
    TerminateProcess(m_process.Get(), 1);
    WaitEnded(5000);
}

bool ProgramProcess::Start(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    m_process.Reset(info.hProcess);
    m_processId = info.dwProcessId;
    return true;
}

DWORD ProgramProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

HWND ProgramProcess::ControlWindow() const
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, "veldbsrv control program"));) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == m_processId)
            return window;
    }
    return nullptr;
}

HWND ProgramProcess::WaitInTray(DWORD timeoutMs) const
{
    HWND window = nullptr;
    WaitFor([&] {
        window = ControlWindow();
        return window && !IsWindowVisible(window) && TrayIconExists(window);
    }, timeoutMs);
    return window && TrayIconExists(window) ? window : nullptr;
}

bool ProgramProcess::Exit()
{
    HWND window = ControlWindow();
    return window && PostMessageA(window, WM_COMMAND, ID_EXIT, 0) && WaitEnded(10000);
}

// Modifying nothing succeeds exactly when the shell has the icon.
bool TrayIconExists(HWND window)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = TrayIcon::RecordSize();
    data.hWnd = window;
    data.uID = TrayIcon::kIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}
