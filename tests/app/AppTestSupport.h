// The control window run modally on a thread of its own; real copies of the program as processes.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/CVelDbCtrlDlg.h"
#include "res/resource.h"
#include "tests/app/TestSupport.h"
#include "utils/UniqueHandle.h"

// The control window with its state readable and a way for tests to run code on its
// own thread.
class TestDlg : public CVelDbCtrlDlg {
public:
    using CVelDbCtrlDlg::m_hIconCurrent, CVelDbCtrlDlg::m_hIconRunning, CVelDbCtrlDlg::m_hIconStopped,
        CVelDbCtrlDlg::m_hIconUnavailable, CVelDbCtrlDlg::m_hVersionRoot, CVelDbCtrlDlg::m_menu,
        CVelDbCtrlDlg::m_modules, CVelDbCtrlDlg::m_params,
        CVelDbCtrlDlg::m_strServerDir, CVelDbCtrlDlg::m_tray, CVelDbCtrlDlg::m_tree;

    std::atomic<bool> started{ false };   // the hide request after start-up was handled
    bool keepTimer = false;               // else the tests tick the poll themselves

    // Runs `work` on the window's thread while its message loop waits.
    void RunOnUi(const std::function<void()>& work);
    template <class T>
    T ReadOnUi(const std::function<T()>& read)
    {
        T value{};
        RunOnUi([&] { value = read(); });
        return value;
    }
    std::string Tip() { return ReadOnUi<std::string>([&] { return m_tray.Tip(); }); }
    bool IconShown() { return ReadOnUi<bool>([&] { return m_tray.IsShown(); }); }
    bool NetLocked() { return (m_menu.GetMenuState(ID_NET_LOCK, MF_BYCOMMAND) & MF_CHECKED) != 0; }

    static const UINT kRunMessage = WM_APP + 77;
    // A handler that throws: wParam 0 a failure of the family, 1 one of another kind.
    static const UINT kThrowMessage = WM_APP + 78;

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// Runs a TestDlg modally on a worker thread, as the application object does.
class DialogRunner {
public:
    explicit DialogRunner(bool keepTimer = false);
    ~DialogRunner();         // ends the dialog if it still runs

    TestDlg& Dlg() { return m_dlg; }
    HWND Hwnd() const { return m_hwnd; }
    bool Ended() const { return m_ended; }
    bool WaitEnded(DWORD timeoutMs = 5000) const { return WaitFor([this] { return m_ended; }, timeoutMs); }

    void Command(UINT id) { SendMessageA(m_hwnd, WM_COMMAND, id, 0); }
    void TrayClick(LPARAM mouseMessage)
    {
        SendMessageA(m_hwnd, CVelDbCtrlDlg::WM_TRAYNOTIFY, TrayIcon::kIconId, mouseMessage);
    }
    void Hide() { SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
    void Tick() { SendMessageA(m_hwnd, WM_TIMER, CVelDbCtrlDlg::STATUS_TIMER_ID, 0); }

private:
    TestDlg m_dlg;
    HWND m_hwnd = nullptr;
    std::thread m_thread;
    volatile bool m_ended = false;
};

// A real copy of a program started by the test; ended through its menu's exit command
// (or, failing that, the hard way) when the owner goes.
class ProgramProcess {
public:
    ~ProgramProcess();

    bool Start(const std::string& commandLine);
    bool WaitEnded(DWORD timeoutMs = 15000) const
    {
        return WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
    }
    bool Running() const { return m_process && !WaitEnded(0); }
    DWORD ExitCode() const;
    // Its control window ("veldbsrv control program"), shown or not, or null.
    HWND ControlWindow() const;
    // Its control window once it has hidden itself to the tray after start-up.
    HWND WaitInTray(DWORD timeoutMs = 15000) const;
    bool Exit();

private:
    velutils::KernelHandle m_process;
    DWORD m_processId = 0;
};

bool TrayIconExists(HWND window);
