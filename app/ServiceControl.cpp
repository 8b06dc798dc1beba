#include "app/ServiceControl.h"

#include <tlhelp32.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "utils/StrVector.h"
#include "utils/UniqueHandle.h"
#include "utils/VelExceptSys.h"

using velutils::FileHandle;
using velutils::KernelHandle;
using velutils::ServiceHandle;

static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "narrow process entry");

namespace {

[[noreturn]] void ThrowSys(DWORD code, int line, const StrVector& args = StrVector())
{
    throw VelExceptSys(static_cast<int>(code), ErrPos(__FILE__, "NULL", line), args, nullptr);
}

}  // namespace

ServiceStatus ServiceControl::QueryStatus(const char* service)
{
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
    if (!manager)
        return ServiceStatus::Unavailable;
    ServiceHandle handle(OpenServiceA(manager.Get(), service, GENERIC_READ));
    if (!handle)
        return ServiceStatus::Unavailable;
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(handle.Get(), &status))
        return ServiceStatus::Unavailable;
    return status.dwCurrentState == SERVICE_RUNNING ? ServiceStatus::Running : ServiceStatus::Stopped;
}

void ServiceControl::Start(const char* service)
{
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, GENERIC_EXECUTE));
    if (!manager)
        return;
    ServiceHandle handle(OpenServiceA(manager.Get(), service, GENERIC_EXECUTE));
    if (handle)
        StartServiceA(handle.Get(), 0, nullptr);
}

void ServiceControl::Stop(const char* service, DWORD waitMs)
{
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager)
        ThrowSys(GetLastError(), __LINE__);
    ServiceHandle handle(OpenServiceA(manager.Get(), service, SERVICE_ALL_ACCESS));
    if (!handle)
        ThrowSys(GetLastError(), __LINE__);
    SERVICE_STATUS status = {};
    if (QueryServiceStatus(handle.Get(), &status) && status.dwCurrentState == SERVICE_STOPPED)
        return;

    // The process is found before the stop is sent: the wait is for it to end.
    std::string processName = std::string(service) + ".exe";
    DWORD pid = FindProcessId(processName.c_str());
    if (pid == 0)
        ThrowSys(ERROR_FILE_NOT_FOUND, __LINE__, StrVector{ processName });
    KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process)
        ThrowSys(GetLastError(), __LINE__);
    if (!ControlService(handle.Get(), SERVICE_CONTROL_STOP, &status))
        ThrowSys(GetLastError(), __LINE__);
    if (WaitForSingleObject(process.Get(), waitMs) == WAIT_TIMEOUT)
        ThrowSys(ERROR_SERVICE_REQUEST_TIMEOUT, __LINE__);
}

DWORD ServiceControl::FindProcessId(const char* exeName)
{
    FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return 0;
    const size_t length = strlen(exeName);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
        if (_strnicmp(entry.szExeFile, exeName, length) == 0)
            return entry.th32ProcessID;
    }
    return 0;
}

bool ServiceControl::QueryImagePath(const char* service, std::string& path)
{
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
    if (!manager)
        return false;
    ServiceHandle handle(OpenServiceA(manager.Get(), service, GENERIC_READ));
    if (!handle)
        return false;
    DWORD needed = 0;
    QueryServiceConfigA(handle.Get(), nullptr, 0, &needed);
    if (needed == 0)
        return false;
    std::vector<BYTE> buffer(needed);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (!QueryServiceConfigA(handle.Get(), config, needed, &needed) || !config->lpBinaryPathName)
        return false;
    path = config->lpBinaryPathName;
    return true;
}
