// A stand-in for the veldbsrv server service: an own-process Win32 service that runs
// until it is told to stop. Options in its binary path change how it behaves:
//   --start-pending    stays in START_PENDING and never reports running
//   --stop-delay N     takes N ms between the stop control and its exit
//   --ignore-stop      ignores the stop control
// While it runs it serves veldbdata.xml beside its executable on the pipe "veldbsrv".
#pragma once
#include <windows.h>

#include <memory>

class PipeServer;

class StandinService {
public:
    StandinService(int argc, char** argv);
    ~StandinService();

    // Connects to the Service Control Manager; returns when the service has stopped.
    int Run();

private:
    static void WINAPI ServiceMain(DWORD, LPSTR*);
    static DWORD WINAPI Handler(DWORD control, DWORD, LPVOID, LPVOID);
    void Serve();
    void Report(DWORD state);
    void StartServing();

    bool m_startPending = false;
    bool m_ignoreStop = false;
    DWORD m_stopDelayMs = 0;
    SERVICE_STATUS_HANDLE m_status = nullptr;
    HANDLE m_stopEvent = nullptr;
    DWORD m_state = SERVICE_STOPPED;
    std::unique_ptr<PipeServer> m_server;
};
