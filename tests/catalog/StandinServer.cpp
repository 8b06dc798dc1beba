#include "tests/catalog/StandinServer.h"

#include <cstdlib>

#include "tests/app/AppTestSupport.h"

namespace {

const char kClientsKey[] = "software\\veldbclients\\";

using QueryFn = int(WINAPI*)(const char* pipeName, const char* request, char* answer, int size);

QueryFn QueryEntry()
{
    HMODULE library = GetModuleHandleA("veldbcli.dll");
    return library ? reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(library, "StandinQuery")))
                   : nullptr;
}

}  // namespace

StandinServer::StandinServer(const std::string& dataFile, const std::string& pipeName) : m_pipe(pipeName)
{
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return;
    velutils::KernelHandle childInput(read);
    m_input.Reset(write);
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "\"" + StandinServicePath() + "\" --serve \"" + dataFile + "\" " + pipeName;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return;
    CloseHandle(info.hThread);
    m_process.Reset(info.hProcess);
    std::string path = "\\\\.\\pipe\\" + pipeName;
    WaitFor([&] { return WaitNamedPipeA(path.c_str(), 0) || GetLastError() == ERROR_SEM_TIMEOUT || !Running(); });
}

StandinServer::~StandinServer()
{
    m_input.Reset();
    if (m_process && WaitForSingleObject(m_process.Get(), 5000) != WAIT_OBJECT_0)
        TerminateProcess(m_process.Get(), 1);
}

bool StandinServer::Running() const
{
    return m_process && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

std::string StandinServer::Query(const std::string& request) const
{
    QueryFn query = QueryEntry();
    char answer[4096] = "";
    if (!query || query(m_pipe.c_str(), request.c_str(), answer, sizeof answer) != 0)
        return "<no answer>";
    return answer;
}

long StandinServer::Count(const std::string& what) const
{
    std::string answer = Query("count " + what);
    return answer.empty() || answer[0] == '<' ? -1 : strtol(answer.c_str(), nullptr, 10);
}

ClientSettingsKey::ClientSettingsKey(const std::string& database, const std::string& service) : m_database(database)
{
    HKEY raw = nullptr;
    std::string path = kClientsKey + database;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr))
        return;
    velutils::RegKey key(raw);
    RegSetValueExA(raw, "server", 0, REG_SZ, reinterpret_cast<const BYTE*>("."), 2);
    RegSetValueExA(raw, "service", 0, REG_SZ, reinterpret_cast<const BYTE*>(service.c_str()),
                   static_cast<DWORD>(service.size() + 1));
}

ClientSettingsKey::~ClientSettingsKey()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kClientsKey + m_database).c_str());
}
