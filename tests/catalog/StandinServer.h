// The stand-in database server as a plain process serving one data file on a pipe of
// its own, and the client settings that lead a database's logins to it.
#pragma once
#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

class StandinServer {
public:
    // Starts build\standins\veldbsrv.exe --serve DATAFILE PIPENAME and waits for its pipe.
    StandinServer(const std::string& dataFile, const std::string& pipeName);
    ~StandinServer();          // closes its input, which ends it
    StandinServer(const StandinServer&) = delete;
    StandinServer& operator=(const StandinServer&) = delete;

    bool Running() const;
    const std::string& PipeName() const { return m_pipe; }

    // One test request ("count connections", "count OpenDbExA", "load FILE"); its answer.
    std::string Query(const std::string& request) const;
    long Count(const std::string& what) const;

private:
    std::string m_pipe;
    velutils::KernelHandle m_process;
    velutils::KernelHandle m_input;
};

// HKLM\software\veldbclients\<database> with "server" "." and "service" the pipe's name;
// removed again when destroyed.
class ClientSettingsKey {
public:
    ClientSettingsKey(const std::string& database, const std::string& service);
    ~ClientSettingsKey();
    ClientSettingsKey(const ClientSettingsKey&) = delete;
    ClientSettingsKey& operator=(const ClientSettingsKey&) = delete;

private:
    std::string m_database;
};
