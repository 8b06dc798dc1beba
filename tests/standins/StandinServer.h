// The stand-in server as a process serving the test's data file on a pipe of its own.
#pragma once
#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

class StandinServer {
public:
    StandinServer();
    ~StandinServer();           // ends the server if it still runs
    StandinServer(const StandinServer&) = delete;
    StandinServer& operator=(const StandinServer&) = delete;

    // Writes `dataXml` (code page 1250 bytes) to a file and serves it; true once the
    // server answers.
    bool Start(const std::string& dataXml);
    // Serves a data file written by the caller; it goes with the server.
    bool StartFile(const std::string& dataFile);
    void Kill();                // ends the server at once, as a crash would
    // Stops every thread of the server, as a hung server stands; and lets it go on.
    bool Suspend();
    void Resume();

    const std::string& PipeName() const { return m_pipeName; }
    const std::string& DataFile() const { return m_dataFile; }

    // A test request ("count connections"); "unreachable" when there is no answer.
    std::string Query(const std::string& request) const;
    // A counter of the server ("connections", "InitUserEx"); -1 without an answer.
    long Count(const std::string& what) const;

    // The build tree ("...\\build\\x86_64\\") and its stand-in client libraries.
    static std::string BuildDirectory();
    static std::string LibraryPath() { return BuildDirectory() + "standins\\veldbcli.dll"; }
    static std::string NoFindListLibraryPath() { return BuildDirectory() + "standins\\nofindlist\\veldbcli.dll"; }

private:
    // Suspends or resumes each thread of the server process.
    bool ForEachThread(DWORD (WINAPI* action)(HANDLE));

    std::string m_pipeName;
    std::string m_dataFile;
    velutils::ModuleHandle m_library;
    velutils::KernelHandle m_process;
    velutils::KernelHandle m_input;         // closing it ends the server
};
