// HKLM\software\veldbclients\<database> leading the database's logins to a stand-in server
// (with a "timeout" when given); removed again when destroyed.
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
