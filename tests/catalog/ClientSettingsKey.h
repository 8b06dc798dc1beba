// HKLM\software\veldbclients\<database> with "server" "." and "service" the pipe's name,
// so that the database's logins reach a stand-in server, and a "timeout" when given;
// removed again when destroyed.
#pragma once
#include <windows.h>

#include <string>

class ClientSettingsKey {
public:
    ClientSettingsKey(const std::string& database, const std::string& service, DWORD timeoutMs = 0);
    ~ClientSettingsKey();
    ClientSettingsKey(const ClientSettingsKey&) = delete;
    ClientSettingsKey& operator=(const ClientSettingsKey&) = delete;

private:
    std::string m_database;
};
