#include "tests/app/AppTestSupport.h"

#include <tlhelp32.h>

#include <algorithm>

#include "utils/ExceptionDisplay.h"
#include "app/ServiceControl.h"
#include "res/resource.h"
#include "utils/UniqueHandle.h"

#include <stdexcept>

using velutils::ServiceHandle;

namespace {

std::mutex g_shownLock;
std::vector<ShownError> g_shown;

ServiceHandle OpenManager()
{
    return ServiceHandle(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

ServiceHandle OpenVeldbsrv(SC_HANDLE manager)
{
    return ServiceHandle(OpenServiceA(manager, "veldbsrv", SERVICE_ALL_ACCESS));
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

std::string BuildDirectory()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir.erase(dir.find_last_of("\\/"));           // the program's own folder: tests or bench
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string StandinServicePath()
{
    return BuildDirectory() + "standins\\veldbsrv.exe";
}

ServiceFixture::~ServiceFixture()
{
    Remove();
}

bool ServiceFixture::Install(const std::string& binaryPath)
{
    Remove();
    ServiceHandle manager = OpenManager();
    // A service removed a moment ago may still be marked for deletion.
    bool created = WaitFor([&] {
        ServiceHandle service(CreateServiceA(manager.Get(), "veldbsrv", "veldbsrv", SERVICE_ALL_ACCESS,
                                             SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                             SERVICE_ERROR_NORMAL, binaryPath.c_str(), nullptr, nullptr,
                                             nullptr, nullptr, nullptr));
        return static_cast<bool>(service);
    });
    m_installed = created;
    return created;
}

bool ServiceFixture::Start()
{
    ServiceHandle manager = OpenManager();
    ServiceHandle service = OpenVeldbsrv(manager.Get());
    return service && StartServiceA(service.Get(), 0, nullptr);
}

bool ServiceFixture::Stop()
{
    ServiceHandle manager = OpenManager();
    ServiceHandle service = OpenVeldbsrv(manager.Get());
    SERVICE_STATUS status = {};
    return service && ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
}

DWORD ServiceFixture::State() const
{
    ServiceHandle manager = OpenManager();
    ServiceHandle service = OpenVeldbsrv(manager.Get());
    SERVICE_STATUS status = {};
    if (!service || !QueryServiceStatus(service.Get(), &status))
        return 0;
    return status.dwCurrentState;
}

DWORD ServiceFixture::ProcessId() const
{
    ServiceHandle manager = OpenManager();
    ServiceHandle service = OpenVeldbsrv(manager.Get());
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!service || !QueryServiceStatusEx(service.Get(), SC_STATUS_PROCESS_INFO,
                                          reinterpret_cast<BYTE*>(&status), sizeof status, &needed))
        return 0;
    return status.dwProcessId;
}

bool ServiceFixture::WaitForState(DWORD state, DWORD timeoutMs) const
{
    return WaitFor([&] { return State() == state; }, timeoutMs);
}

void ServiceFixture::Remove()
{
    if (!m_installed)
        return;
    m_installed = false;
    ServiceHandle manager = OpenManager();
    ServiceHandle service = OpenVeldbsrv(manager.Get());
    if (!service)
        return;
    DWORD pid = ProcessId();
    SERVICE_STATUS status = {};
    ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
    if (!WaitForState(SERVICE_STOPPED, 1000) && pid) {
        // A stand-in that ignores the stop control is ended the hard way.
        velutils::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        if (process) {
            TerminateProcess(process.Get(), 1);
            WaitForSingleObject(process.Get(), 5000);
        }
    }
    DeleteService(service.Get());
}

std::string ServiceFixture::CopyOfStandin(const std::string& fileName)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + fileName;
    CopyFileA(StandinServicePath().c_str(), path.c_str(), FALSE);
    return path;
}

ShownErrors::ShownErrors()
{
    Take();
    SetExceptionDisplayHook(Record);
}

ShownErrors::~ShownErrors()
{
    SetExceptionDisplayHook(nullptr);
}

std::vector<ShownError> ShownErrors::Take()
{
    std::lock_guard<std::mutex> lock(g_shownLock);
    std::vector<ShownError> taken;
    taken.swap(g_shown);
    return taken;
}

void ShownErrors::Record(const std::string& caption, const std::string& mainText, const std::string& detail)
{
    std::lock_guard<std::mutex> lock(g_shownLock);
    g_shown.push_back({ caption, mainText, detail });
}

void TestDlg::StartServer()
{
    ++startRequests;
    if (throwOnStart)
        throw VelExceptBase("start failed on purpose", ErrPos("test.cpp", "StartServer", 1));
    if (throwOtherOnStart)
        throw std::runtime_error("not of the family");
    CVelDbCtrlDlg::StartServer();
}

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
        m_result = m_dlg.DoModal();
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

void DialogRunner::TrayClick(LPARAM mouseMessage)
{
    SendMessageA(m_hwnd, CVelDbCtrlDlg::WM_TRAYNOTIFY, TrayIcon::kIconId, mouseMessage);
}

bool DialogRunner::Ended() const
{
    return m_ended;
}

bool DialogRunner::WaitEnded(DWORD timeoutMs) const
{
    return WaitFor([this] { return m_ended; }, timeoutMs);
}

namespace {

struct WindowSearch {
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char text[128] = "";
    if (search->className)
        GetClassNameA(hwnd, text, sizeof text);
    else
        GetWindowTextA(hwnd, text, sizeof text);
    if (lstrcmpA(text, search->className ? search->className : search->caption) != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindThreadWindow(DWORD threadId, const char* className, const char* caption)
{
    WindowSearch search = { className, caption, nullptr };
    EnumThreadWindows(threadId, MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindPopupMenu(DWORD threadId)
{
    return FindThreadWindow(threadId, "#32768");
}

namespace {

const int kProbeBatch = 4096;

DWORD ProbeGdiObjects()
{
    std::vector<HBRUSH> batch;
    DWORD highest = 0;
    for (int i = 0; i < kProbeBatch; ++i) {
        HBRUSH brush = CreateSolidBrush(RGB(i & 0xFF, 0, 0));
        if (!brush)
            break;
        batch.push_back(brush);
        highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<UINT_PTR>(brush)));
    }
    for (HBRUSH brush : batch)
        DeleteObject(brush);
    return highest;
}

DWORD ProbeKernelHandles()
{
    std::vector<HANDLE> batch;
    UINT_PTR highest = 0;
    for (int i = 0; i < kProbeBatch; ++i) {
        HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (!event)
            break;
        batch.push_back(event);
        highest = std::max(highest, reinterpret_cast<UINT_PTR>(event));
    }
    for (HANDLE event : batch)
        CloseHandle(event);
    return static_cast<DWORD>(highest);
}

}  // namespace

ResourceUse MeasureResources()
{
    ResourceUse use;
    use.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    use.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (!GetProcessHandleCount(GetCurrentProcess(), &use.handles))
        use.handles = 0;
    if (use.gdi == 0)
        use.gdi = ProbeGdiObjects();
    if (use.handles == 0)
        use.handles = ProbeKernelHandles();
    return use;
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
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    m_process.Reset(info.hProcess);
    m_processId = info.dwProcessId;
    return true;
}

bool ProgramProcess::WaitEnded(DWORD timeoutMs) const
{
    return WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD ProgramProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

namespace {

struct ProcessWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<ProcessWindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    char caption[64] = "";
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (processId != search->processId || lstrcmpA(caption, "veldbsrv control program") != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND ProgramProcess::ControlWindow() const
{
    ProcessWindowSearch search = { m_processId, nullptr };
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
