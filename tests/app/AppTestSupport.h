// Test support for the control program: the control window run modally on a thread of
// its own, the stand-in server registered as the service "veldbsrv", and a record of
// what the program would show in its message boxes.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CVelDbCtrlDlg.h"
#include "utils/UniqueHandle.h"

// Polls `done` until it holds or `timeoutMs` passes.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// The build tree the tests run from ("...\\build\\x86_64\\"), with its trailing separator.
std::string BuildDirectory();

// The stand-in service program that the build puts beside the tests.
std::string StandinServicePath();

// Registers "veldbsrv" with a binary path; removes it (stopping it first) when destroyed.
class ServiceFixture {
public:
    ServiceFixture() = default;
    ~ServiceFixture();
    bool Install(const std::string& binaryPath);
    bool Start();
    bool Stop();                      // the stop control, as another administrator sends it
    DWORD State() const;              // 0 when the service cannot be queried
    DWORD ProcessId() const;
    bool WaitForState(DWORD state, DWORD timeoutMs = 10000) const;
    void Remove();

    // A copy of the stand-in under another file name, in the temporary directory.
    static std::string CopyOfStandin(const std::string& fileName);

private:
    bool m_installed = false;
};

// What ShowCaughtException / ShowOtherException would have shown.
struct ShownError {
    std::string caption;
    std::string mainText;
    std::string detail;
};

class ShownErrors {
public:
    ShownErrors();     // routes the program's error display here
    ~ShownErrors();
    std::vector<ShownError> Take();

private:
    static void Record(const std::string& caption, const std::string& mainText, const std::string& detail);
};

// The control window with a way for tests to run code on its own thread.
class TestDlg : public CVelDbCtrlDlg {
public:
    std::atomic<bool> started{ false };   // the hide request after start-up was handled
    bool keepTimer = false;               // else the tests tick the poll themselves
    int startRequests = 0;
    bool throwOnStart = false;
    bool throwOtherOnStart = false;
    void StartServer() override;

    // Runs `work` on the window's thread while its message loop waits.
    void RunOnUi(const std::function<void()>& work);

    static const UINT kRunMessage = WM_APP + 77;

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
    bool Ended() const;
    bool WaitEnded(DWORD timeoutMs = 5000) const;
    INT_PTR Result() const { return m_result; }

private:
    TestDlg m_dlg;
    HWND m_hwnd = nullptr;
    std::thread m_thread;
    volatile bool m_ended = false;
    INT_PTR m_result = 0;
};

// What the process holds. Where the system does not count (Wine answers 0), GDI
// objects and kernel handles are measured by probing: a large batch of new ones fills
// every free slot of the table first, so its highest slot grows with what is held.
struct ResourceUse {
    DWORD gdi;
    DWORD user;      // counted only where the system counts (Windows)
    DWORD handles;
};
ResourceUse MeasureResources();

// A visible top-level window of the thread with that class or caption, or null.
HWND FindThreadWindow(DWORD threadId, const char* className, const char* caption = nullptr);

// The visible popup menu window of the given thread, or null.
HWND FindPopupMenu(DWORD threadId);

// A real copy of a program started by the test; ended through its menu's exit command
// (or, failing that, the hard way) when the owner goes.
class ProgramProcess {
public:
    ProgramProcess() = default;
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Start(const std::string& commandLine);
    bool WaitEnded(DWORD timeoutMs = 15000) const;
    bool Running() const { return m_process && !WaitEnded(0); }
    DWORD ExitCode() const;
    // Its control window ("veldbsrv control program"), shown or not, or null.
    HWND ControlWindow() const;
    // Its control window once it has hidden itself to the tray after start-up.
    HWND WaitInTray(DWORD timeoutMs = 15000) const;
    // Asks it to end with the menu's exit command and waits.
    bool Exit();

private:
    velutils::KernelHandle m_process;
    DWORD m_processId = 0;
};

// Whether the shell holds the control window's tray icon now.
bool TrayIconExists(HWND window);
