// A connection to the database server: client settings from the registry, the login
// (with or without the dialog), "SYSDB" opened and the user checked against "dbuser".
// Made for one task on the stack; destroying it disconnects.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "dbclient/ClientSettings.h"
#include "dbclient/DbDesc.h"
#include "dbclient/DbDescMap.h"
#include "dbclient/MessageTable.h"
#include "dbclient/RdmTable.h"
#include "dbclient/SecretText.h"

class TRdmLogin;

// Labels for the login dialog; empty ones keep the defaults.
struct LoginTexts {
    std::string user, password, database, ok, cancel, caption;
};

class VelConn {
public:
    static constexpr int InvalidHandle = 10014;

    VelConn();
    ~VelConn();
    VelConn(const VelConn&) = delete;
    VelConn& operator=(const VelConn&) = delete;

    // Logs in and checks the user; true when connected. Refusals are shown in a box (and
    // with the dialog, asked again); other failures throw DbDescError after disconnecting.
    // With dialogWanted it runs the modal login dialog, which this login alone owns; with
    // no database to offer in it, the settings are missing (DbDescError 10039).
    bool Login(const std::string& database, const std::string& user, const std::string& password,
               bool dialogWanted, const std::string& code = std::string(), const LoginTexts* texts = nullptr,
               bool allowDatabaseChoice = true, const std::vector<std::string>* databases = nullptr);
    // Ends the connection at the server (if any) and wipes the password.
    void Disconnect();

    bool IsConnected() const { return m_connected != 0; }
    int Handle() const { return m_handle; }
    const std::string& Database() const { return m_database; }
    const std::string& User() const { return m_user; }
    int UserId() const { return m_userId; }
    DbDescMap& Descriptions() { return m_descriptions; }
    const MessageTable& Messages() const { return m_messages; }

    // The (unscrambled, upper-cased) name of the user with that id; empty if none.
    std::string UserNameById(int userId);

    // Client settings under HKLM "software\veldbclients\<database>".
    static bool ReadSettings(const std::string& database, ClientSettings& settings);
    static bool WriteSettings(const std::string& database, const ClientSettings& settings);
    static bool DeleteSettings(const std::string& database);
    static void ListDatabases(std::vector<std::string>& out);
    static void ListDatabases(std::vector<std::string>& out, const char* valueName, const char* wanted);

    // Rotation with NameKey, as the server stores names and passwords in "dbuser".
    static std::string Scramble(const std::string& text);
    static std::string Unscramble(const std::string& text);
    static const char NameKey[9];

private:
    // Runs the login dialog, when given, as its first step.
    bool ConnectOnce(TRdmLogin* dialog);
    bool UserCheck(bool dialogWanted);
    void InitUser();
    bool RefuseLogin(int messageCode);
    void ShowRefusal(int messageCode) const;
    void FreeHandle();
    void ForgetLogin();
    // Disconnect after a failure: what it throws gives way to the failure being reported.
    void DisconnectAfterFailure();

    int m_handle = InvalidHandle;
    unsigned char m_connected = 0;
    ClientSettings m_settings;
    std::string m_user, m_database, m_code;
    SecretText m_password;
    int m_userId = -1;
    DbDescMap m_descriptions;
    std::unique_ptr<DbDesc> m_sysDb;
    std::unique_ptr<RdmTable> m_userTable;
    char m_userName[32] = {};
    MessageTable m_messages;
};
