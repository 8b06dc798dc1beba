#include "StandinServer.h"

#include <tlhelp32.h>

#include "tests/app/TestSupport.h"

#include <cstdlib>
#include <fstream>

namespace {

using QueryFn = int(WINAPI*)(const char*, const char*, char*, int);

int g_servers = 0;

}  // namespace

StandinServer::StandinServer()
    : m_library(LoadLibraryA(LibraryPath().c_str()))
{
    std::string id = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++g_servers);
    m_pipeName = "veldbsrv-test-" + id;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    m_dataFile = std::string(temp) + "veldbdata-" + id + ".xml";
}

StandinServer::~StandinServer()
{
    if (m_process) {
        m_input.Reset();
        if (WaitForSingleObject(m_process.Get(), 5000) != WAIT_OBJECT_0)
            Kill();
    }
    DeleteFileA(m_dataFile.c_str());
}

std::string StandinServer::BuildDirectory() { return ::BuildDirectory(); }

bool StandinServer::Start(const std::string& dataXml)
{
    std::ofstream(m_dataFile, std::ios::binary) << dataXml;
    return StartFile(m_dataFile);
}

bool StandinServer::StartFile(const std::string& dataFile)
{
    m_dataFile = dataFile;
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    velutils::KernelHandle readEnd;
    if (!CreatePipe(readEnd.Receive(), m_input.Receive(), &inherit, 0))
        return false;
    SetHandleInformation(m_input.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd.Get();
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "\"" + BuildDirectory() + "standins\\veldbsrv.exe\" --serve \"" + m_dataFile + "\" " + m_pipeName;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    m_process.Reset(process.hProcess);
    for (int i = 0; i < 200; ++i) {
        if (Query("count connections") != "unreachable")
            return true;
        if (WaitForSingleObject(m_process.Get(), 50) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

void StandinServer::Kill()
{
    if (!m_process)
        return;
    TerminateProcess(m_process.Get(), 1);
    WaitForSingleObject(m_process.Get(), 5000);
    m_process.Reset();
    m_input.Reset();
}

bool StandinServer::Suspend() { return ForEachThread(SuspendThread); }

void StandinServer::Resume() { ForEachThread(ResumeThread); }

bool StandinServer::ForEachThread(DWORD (WINAPI* action)(HANDLE))
{
    DWORD id = m_process ? GetProcessId(m_process.Get()) : 0;
    velutils::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int done = 0;
    for (BOOL more = id && snapshot && Thread32First(snapshot.Get(), &entry); more;
         more = Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != id)
            continue;
        velutils::KernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
        if (thread && action(thread.Get()) != static_cast<DWORD>(-1))
            ++done;
    }
    return done > 0;
}

std::string StandinServer::Query(const std::string& request) const
{
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(m_library.Get(), "StandinQuery")));
    char answer[256] = "";
    if (!query || query(m_pipeName.c_str(), request.c_str(), answer, sizeof answer) != 0)
        return "unreachable";
    return answer;
}

long StandinServer::Count(const std::string& what) const
{
    std::string answer = Query("count " + what);
    char* end = nullptr;
    long value = strtol(answer.c_str(), &end, 10);
    return end == answer.c_str() ? -1 : value;
}
