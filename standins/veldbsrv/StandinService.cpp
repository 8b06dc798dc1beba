#include "standins/veldbsrv/StandinService.h"

#include <string>

#include "standins/veldbsrv/PipeServer.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kName[] = "veldbsrv";
StandinService* g_service = nullptr;

}  // namespace

StandinService::StandinService(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--start-pending") == 0)
            m_startPending = true;
        else if (strcmp(argv[i], "--ignore-stop") == 0)
            m_ignoreStop = true;
        else if (strcmp(argv[i], "--stop-delay") == 0 && i + 1 < argc)
            m_stopDelayMs = static_cast<DWORD>(strtoul(argv[++i], nullptr, 10));
    }
}

StandinService::~StandinService() = default;

int StandinService::Run()
{
    g_service = this;
    SERVICE_TABLE_ENTRYA table[] = { { const_cast<LPSTR>(kName), ServiceMain }, { nullptr, nullptr } };
    return StartServiceCtrlDispatcherA(table) ? 0 : static_cast<int>(GetLastError());
}

void WINAPI StandinService::ServiceMain(DWORD, LPSTR*)
{
    g_service->Serve();
}

void StandinService::Serve()
{
    m_status = RegisterServiceCtrlHandlerExA(kName, Handler, this);
    if (!m_status)
        return;
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Report(m_startPending ? SERVICE_START_PENDING : SERVICE_RUNNING);
    StartServing();
    WaitForSingleObject(m_stopEvent, INFINITE);
    m_server.reset();
    Sleep(m_stopDelayMs);
    CloseHandle(m_stopEvent);
    Report(SERVICE_STOPPED);
}

DWORD WINAPI StandinService::Handler(DWORD control, DWORD, LPVOID, LPVOID context)
{
    auto* self = static_cast<StandinService*>(context);
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        if (self->m_ignoreStop)
            return NO_ERROR;
        self->Report(SERVICE_STOP_PENDING);
        SetEvent(self->m_stopEvent);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        self->Report(self->m_state);
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void StandinService::Report(DWORD state)
{
    m_state = state;
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = (state == SERVICE_RUNNING || state == SERVICE_START_PENDING)
                                    ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status.dwWaitHint = (state == SERVICE_STOP_PENDING) ? m_stopDelayMs + 1000 : 0;
    SetServiceStatus(m_status, &status);
}

// Without its data file (or with a faulty one) the service serves no database, and
// every login is refused; the reason goes to the debugger.
void StandinService::StartServing()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path);
    file = file.substr(0, file.find_last_of("\\/") + 1) + "veldbdata.xml";
    StandinData data;
    std::string error;
    if (!data.Load(file, error)) {
        OutputDebugStringA(("veldbsrv: " + error + "\n").c_str());
        data = StandinData();
    }
    m_server.reset(new PipeServer(std::make_shared<ServerState>(std::move(data)), kName));
    if (!m_server->Start())
        m_server.reset();
}
