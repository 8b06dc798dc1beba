#include "tests/app/TestSupport.h"

#include <algorithm>

#include "res/resource.h"
#include "utils/UniqueHandle.h"

using velutils::ServiceHandle;

namespace {

const char kOwnBoxCaption[] = "Error occured:";
const char kSystemBoxCaption[] = "Error";

ServiceHandle OpenManager()
{
    return ServiceHandle(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

ServiceHandle OpenVeldbsrv(SC_HANDLE manager)
{
    return ServiceHandle(OpenServiceA(manager, "veldbsrv", SERVICE_ALL_ACCESS));
}

std::string TextOf(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK CollectErrorBox(HWND window, LPARAM boxes)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    std::string caption = TextOf(window);
    if (caption == kOwnBoxCaption || caption == kSystemBoxCaption)
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND control, LPARAM text)
{
    char name[16] = "";
    GetClassNameA(control, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0)
        *reinterpret_cast<std::string*>(text) += TextOf(control);
    return TRUE;
}

// The program's own box has its text controls; the system's only a static text.
ShownError Read(HWND box)
{
    ShownError shown = { TextOf(box), std::string(), std::string(), false };
    if (HWND text = GetDlgItem(box, IDC_VELMSGBOX_TEXT)) {
        shown.mainText = TextOf(text);
        shown.detail = TextOf(GetDlgItem(box, IDC_VELMSGBOX_DETAIL));
    } else {
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&shown.mainText));
    }
    shown.ownerlessTopmost = !GetWindow(box, GW_OWNER) && (GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
    return shown;
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
    : m_watcher([this] {
          while (!m_stop) {
              AnswerOpenBoxes();
              Sleep(20);
          }
      })
{
}

ShownErrors::~ShownErrors()
{
    m_stop = true;
    m_watcher.join();
}

std::vector<ShownError> ShownErrors::Take()
{
    AnswerOpenBoxes();
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<ShownError> taken;
    taken.swap(m_shown);
    return taken;
}

// Each box is read and gone before the next look, so none is counted twice.
void ShownErrors::AnswerOpenBoxes()
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<HWND> boxes;
    EnumWindows(CollectErrorBox, reinterpret_cast<LPARAM>(&boxes));
    for (HWND box : boxes) {
        m_shown.push_back(Read(box));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor([box] { return !IsWindow(box); });
    }
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
