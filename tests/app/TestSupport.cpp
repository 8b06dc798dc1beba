#include "tests/app/TestSupport.h"

#include <algorithm>

#include "res/resource.h"
#include "tests/utils/WindowText.h"
#include "utils/UniqueHandle.h"

using velutils::ServiceHandle;

namespace {

ServiceHandle OpenManager() { return ServiceHandle(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)); }

// The service's handle outlives the manager's.
ServiceHandle OpenVeldbsrv()
{
    return ServiceHandle(OpenServiceA(OpenManager().Get(), "veldbsrv", SERVICE_ALL_ACCESS));
}

// All zero when the service cannot be queried.
SERVICE_STATUS_PROCESS QueryVeldbsrv()
{
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(OpenVeldbsrv().Get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                              sizeof status, &needed))
        status = {};
    return status;
}

// The visible error boxes of this process, the program's own and the system's.
std::vector<HWND> ErrorBoxes()
{
    std::vector<HWND> boxes;
    for (const char* caption : { "Error occured:", "Error" }) {
        for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", caption)) != nullptr;) {
            DWORD processId = 0;
            GetWindowThreadProcessId(box, &processId);
            if (processId == GetCurrentProcessId() && IsWindowVisible(box))
                boxes.push_back(box);
        }
    }
    return boxes;
}

// The program's own box has its text controls; the system's only a static text.
ShownError Read(HWND box)
{
    ShownError shown = { WindowText(box), std::string(), std::string(), false };
    if (HWND text = GetDlgItem(box, IDC_VELMSGBOX_TEXT)) {
        shown.mainText = WindowText(text);
        shown.detail = WindowText(GetDlgItem(box, IDC_VELMSGBOX_DETAIL));
    } else {
        shown.mainText = Joined(ChildTexts(box, "Static"), "");
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

std::string StandinServicePath() { return BuildDirectory() + "standins\\veldbsrv.exe"; }

ServiceFixture::~ServiceFixture() { Remove(); }

bool ServiceFixture::Install(const std::string& binaryPath)
{
    Remove();
    ServiceHandle manager = OpenManager();
    // A service removed a moment ago may still be marked for deletion.
    m_installed = WaitFor([&] {
        ServiceHandle service(CreateServiceA(manager.Get(), "veldbsrv", "veldbsrv", SERVICE_ALL_ACCESS,
                                             SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                             SERVICE_ERROR_NORMAL, binaryPath.c_str(), nullptr, nullptr,
                                             nullptr, nullptr, nullptr));
        return static_cast<bool>(service);
    });
    return m_installed;
}

bool ServiceFixture::Start() { return StartServiceA(OpenVeldbsrv().Get(), 0, nullptr) != FALSE; }

bool ServiceFixture::Stop()
{
    SERVICE_STATUS status = {};
    return ControlService(OpenVeldbsrv().Get(), SERVICE_CONTROL_STOP, &status) != FALSE;
}

DWORD ServiceFixture::State() const { return QueryVeldbsrv().dwCurrentState; }
DWORD ServiceFixture::ProcessId() const { return QueryVeldbsrv().dwProcessId; }

bool ServiceFixture::WaitForState(DWORD state, DWORD timeoutMs) const
{
    return WaitFor([&] { return State() == state; }, timeoutMs);
}

void ServiceFixture::Remove()
{
    if (!m_installed)
        return;
    m_installed = false;
    ServiceHandle service = OpenVeldbsrv();
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
    for (HWND box : ErrorBoxes()) {
        m_shown.push_back(Read(box));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor([box] { return !IsWindow(box); });
    }
}

HWND FindThreadWindow(DWORD threadId, const char* className, const char* caption)
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, caption)) != nullptr;)
        if (GetWindowThreadProcessId(window, nullptr) == threadId && IsWindowVisible(window))
            return window;
    return nullptr;
}

HWND FindPopupMenu(DWORD threadId) { return FindThreadWindow(threadId, "#32768"); }

namespace {

// Makes objects until a batch is full and gives the highest slot they took.
template <class Make, class Free>
DWORD ProbeHighestSlot(Make make, Free free, UINT_PTR slotMask)
{
    std::vector<decltype(make(0))> batch;
    UINT_PTR highest = 0;
    for (int i = 0; i < 4096; ++i) {
        auto object = make(i);
        if (!object)
            break;
        batch.push_back(object);
        highest = std::max(highest, reinterpret_cast<UINT_PTR>(object) & slotMask);
    }
    for (auto object : batch)
        free(object);
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
    if (use.gdi == 0)   // a GDI handle's low word is its slot
        use.gdi = ProbeHighestSlot([](int i) { return CreateSolidBrush(RGB(i & 0xFF, 0, 0)); },
                                   [](HBRUSH brush) { DeleteObject(brush); }, 0xFFFF);
    if (use.handles == 0)
        use.handles = ProbeHighestSlot([](int) { return CreateEventA(nullptr, FALSE, FALSE, nullptr); }, CloseHandle,
                                       ~UINT_PTR(0));
    return use;
}
