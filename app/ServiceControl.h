// The server service as the Service Control Manager shows it: its state, start, stop
// (waiting for the server process to end) and the directory of its executable.
#pragma once
#include <windows.h>

#include <string>

enum class ServiceStatus { Unavailable, Running, Stopped };

class ServiceControl {
public:
    static const DWORD kStopWaitMs = 120000;

    // Running, any other state (stopped or pending), or not reachable at all.
    static ServiceStatus QueryStatus(const char* service);

    // Asks the manager to start the service; does not wait, reports nothing.
    static void Start(const char* service);

    // Stops the service and waits up to waitMs for its process to end. Returns at once
    // when it is stopped already; throws VelExceptSys on every failure.
    static void Stop(const char* service, DWORD waitMs);

    // Id of the first process whose file name begins with exeName (any case), or 0.
    static DWORD FindProcessId(const char* exeName);

    // The service's executable path as registered; false when it cannot be read.
    static bool QueryImagePath(const char* service, std::string& path);
};
