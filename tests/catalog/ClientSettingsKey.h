// HKLM\software\veldbclients\<database> with "server" "." and "service" the pipe's name,
// so that the database's logins reach a stand-in server; removed again when destroyed.
#pragma once
#include <string>

class ClientSettingsKey {
public:
    ClientSettingsKey(const std::string& database, const std::string& service);
    ~ClientSettingsKey();
    ClientSettingsKey(const ClientSettingsKey&) = delete;
    ClientSettingsKey& operator=(const ClientSettingsKey&) = delete;

private:
    std::string m_database;
};
