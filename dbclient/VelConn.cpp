#include "dbclient/VelConn.h"

#include <cstring>

#include "dbclient/ClientLibrary.h"
#include "dbclient/FunctionLoader.h"
#include "dbclient/TRdmLogin.h"
#include "utils/DbDescError.h"
#include "utils/VelMsgBox.h"

namespace {

const int kUnknownUser = 10014;
const int kUserDisabled = 10067;
const int kWrongPassword = 10068;
const int kNoSysDb = 10004;
const int kNoSettings = 10039;

template <class Fn>
Fn Entry(FunctionLoader::Entry entry)
{
    return FunctionLoader::Instance().Checked<Fn>(entry);
}

std::string UpperIfSet(const std::string& text)
{
    return text.empty() ? text : DictUpper(text);
}

unsigned char Rotate(unsigned char c, int times, bool right)
{
    for (int i = 0; i < times; ++i)
        c = right ? static_cast<unsigned char>((c >> 1) | (c << 7)) : static_cast<unsigned char>((c << 1) | (c >> 7));
    return c;
}

void RotateInPlace(char* text, size_t length, bool right)
{
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(Rotate(static_cast<unsigned char>(text[i]), VelConn::NameKey[i % 8] - '0', right));
}

std::string RotateText(const std::string& text, bool right)
{
    std::string out(text);
    RotateInPlace(&out[0], out.size(), right);
    return out;
}

// The settings record holds the password only around InitUserEx, on every path.
class SettingsPasswordScope {
public:
    SettingsPasswordScope(ClientSettings& settings, const SecretText& password) : m_settings(settings)
    {
        CopyFixedText(m_settings.password, password.Data(), password.Size());
    }
    ~SettingsPasswordScope() { WipeClientSettings(m_settings); }
    SettingsPasswordScope(const SettingsPasswordScope&) = delete;
    SettingsPasswordScope& operator=(const SettingsPasswordScope&) = delete;

private:
    ClientSettings& m_settings;
};

// A row of "dbuser" read into the table holds the stored password: it is wiped when the
// check is done with it, on every path.
class UserRowScope {
public:
    explicit UserRowScope(RdmTable& users) : m_users(users) {}
    ~UserRowScope() { m_users.WipeRecord(); }
    UserRowScope(const UserRowScope&) = delete;
    UserRowScope& operator=(const UserRowScope&) = delete;

private:
    RdmTable& m_users;
};

}  // namespace

const char VelConn::NameKey[9] = "18273645";

VelConn::VelConn()
{
    std::memset(&m_settings, 0, sizeof m_settings);
}

VelConn::~VelConn()
{
    try {
        Disconnect();
    } catch (...) {
        // The library went away; there is nothing left to end.
    }
}

std::string VelConn::Scramble(const std::string& text) { return RotateText(text, true); }
std::string VelConn::Unscramble(const std::string& text) { return RotateText(text, false); }

bool VelConn::Login(const std::string& database, const std::string& user, const std::string& password,
                    bool dialogWanted, const std::string& code, const LoginTexts* texts,
                    bool allowDatabaseChoice, const std::vector<std::string>* databases)
{
    if (m_connected)
        Disconnect();
    m_user = UpperIfSet(user);
    m_password.Assign(password);
    for (size_t i = 0; i < m_password.Size(); ++i)
        m_password.Data()[i] = DictUpperChar(m_password.Data()[i]);
    m_database = UpperIfSet(database);
    m_code = code;
    std::string labels[6];
    if (texts) {
        const std::string given[6] = { texts->user, texts->password, texts->database,
                                       texts->ok, texts->cancel, texts->caption };
        for (int i = 0; i < 6; ++i)
            if (!given[i].empty())
                m_messages.Set(MessageTable::UserLabel + i, given[i]);
    }
    for (int i = 0; i < 6; ++i)
        labels[i] = m_messages.Get(MessageTable::UserLabel + i);
    std::vector<std::string> names;
    if (databases)
        names = *databases;
    else
        ListDatabases(names);
    std::unique_ptr<TRdmLogin> dialog;
    if (dialogWanted) {
        // A dialog without a database to choose could never be confirmed.
        if (names.empty()) {
            m_password.Wipe();
            throw DbDescError(kNoSettings, VEL_ERRPOS("VelConn::Login"), StrVector{ m_database });
        }
        dialog.reset(new TRdmLogin);
        dialog->SetDatabases(names);
        dialog->SetDatabase(m_database);
        dialog->SetUser(m_user);
        dialog->SetPassword(m_password);
        dialog->SetTexts(labels);
        dialog->SetAllowDatabaseChoice(allowDatabaseChoice);
    }
    try {
        while (ConnectOnce(dialog.get()) && !m_connected) {
        }
    } catch (...) {
        DisconnectAfterFailure();
        throw;
    }
    dialog.reset();
    if (!m_connected)
        Disconnect();
    return m_connected != 0;
}

bool VelConn::ConnectOnce(TRdmLogin* dialog)
{
    bool dialogWanted = dialog != nullptr;
    if (dialog) {
        if (!dialog->RunModalLoop())
            return false;
        m_user = dialog->User();
        m_password.Assign(dialog->Password());
        m_database = dialog->Database();
    }
    if (!ReadSettings(m_database, m_settings))
        throw DbDescError(kNoSettings, VEL_ERRPOS("VelConn::ConnectOnce"), StrVector{ m_database });
    CopyFixedText(m_settings.user, m_user);
    auto create = Entry<veldbcli::CreateDbHandlerFn>(FunctionLoader::CreateDbHandler);
    auto initUser = Entry<veldbcli::InitUserExFn>(FunctionLoader::InitUserEx);
    int status = create(&m_handle);
    if (status != 0) {
        m_handle = InvalidHandle;
        throw DbDescError(status, VEL_ERRPOS("VelConn::ConnectOnce"), StrVector{ m_database, "CreateDbHandler" });
    }
    {
        SettingsPasswordScope password(m_settings, m_password);
        status = initUser(m_handle, &m_settings);
    }
    if (status == kUnknownUser || status == kUserDisabled || status == kWrongPassword) {
        int message = status == kUnknownUser ? MessageTable::UnknownUser
                      : status == kUserDisabled ? MessageTable::UserDisabled : MessageTable::WrongPassword;
        return RefuseLogin(message) && dialogWanted;
    }
    if (status != 0)
        throw DbDescError(status, VEL_ERRPOS("VelConn::ConnectOnce"), StrVector{ m_database, "InitUserEx" });
    m_connected = 1;
    InitUser();
    m_connected = UserCheck(dialogWanted) ? 1 : 0;
    if (!m_connected) {
        FreeHandle();
        ForgetLogin();
        return dialogWanted;
    }
    return true;
}

// The code, "SYSDB" and its user table, once the library accepted the user.
void VelConn::InitUser()
{
    if (!m_code.empty()) {
        auto setCode = Entry<veldbcli::SetCodeFn>(FunctionLoader::SetCode);
        int status = setCode(m_handle, static_cast<int>(m_code.size()), m_code.c_str());
        if (status != 0)
            throw DbDescError(status, VEL_ERRPOS("VelConn::InitUser"), StrVector{ m_database, "SetCode" });
    }
    m_descriptions.SetHandle(m_handle);
    if (!m_descriptions.OpenTablespace("SYSDB", DbDescMap::SysDbNumber, 0, false))
        throw DbDescError(kNoSysDb, VEL_ERRPOS("VelConn::InitUser"), StrVector{ m_database, "OpenTablespace: SYSDB" });
    m_userTable.reset();
    m_sysDb.reset(new DbDesc(m_descriptions.GetDbByName("SYSDB")));
    m_userTable.reset(new RdmTable(*m_sysDb, "dbuser"));
}

// The password is scrambled in a buffer of its own and compared with the stored one where
// the row holds it; every copy is wiped on every path, before a refusal is shown.
bool VelConn::UserCheck(bool dialogWanted)
{
    bool found = false, passwordRight = false, enabled = false;
    {
        SecretText password;
        password.Assign(m_password);
        m_password.Wipe();
        RotateInPlace(password.Data(), password.Size(), true);
        UserRowScope row(*m_userTable);
        m_userTable->Field("NAME").SetText(Scramble(m_user));
        found = m_userTable->FindByKey("NAME");
        passwordRight = found && m_userTable->Field("PSW").TextEquals(password.Data(), password.Size());
        enabled = found && m_userTable->Field("enabled").AsNumber() == 1;
        if (found && enabled && passwordRight)
            m_userId = static_cast<int>(m_userTable->Field("userid").AsNumber());
    }
    if (!found) {
        if (dialogWanted)
            ShowRefusal(MessageTable::UnknownUser);
        return false;
    }
    if (!enabled) {
        ShowRefusal(MessageTable::UserDisabled);
        return false;
    }
    if (!passwordRight) {
        ShowRefusal(MessageTable::WrongPassword);
        return false;
    }
    return true;
}

// A refusal of the library: shown, the handle given back. Always true, for the caller's
// "ask again" with the dialog.
bool VelConn::RefuseLogin(int messageCode)
{
    ShowRefusal(messageCode);
    FreeHandle();
    ForgetLogin();
    return true;
}

void VelConn::ShowRefusal(int messageCode) const
{
    char first[200];
    snprintf(first, sizeof first, "%s/***@%s", m_user.c_str(), m_database.c_str());
    velutils::VelMessageBox(GetActiveWindow(), "", first, m_messages.Get(messageCode), MB_OK | MB_ICONWARNING);
}

// What was read on the handle goes with it: a later handle starts from nothing.
void VelConn::FreeHandle()
{
    m_userTable.reset();
    m_sysDb.reset();
    m_descriptions.SetHandle(InvalidHandle);
    if (m_handle == InvalidHandle)
        return;
    auto freeHandler = Entry<veldbcli::FreeDbHandlerFn>(FunctionLoader::FreeDbHandler);
    int handle = m_handle;
    m_handle = InvalidHandle;
    freeHandler(handle);
}

void VelConn::ForgetLogin()
{
    m_user.clear();
    m_password.Wipe();
    m_database.clear();
}

void VelConn::Disconnect()
{
    m_password.Wipe();
    WipeClientSettings(m_settings);
    m_connected = 0;
    m_userId = -1;
    FreeHandle();
}

void VelConn::DisconnectAfterFailure()
{
    try {
        Disconnect();
    } catch (...) {
        // An unbound FreeDbHandler, say: the handle cannot be ended; the failure still shows.
        m_handle = InvalidHandle;
    }
}

std::string VelConn::UserNameById(int userId)
{
    if (!m_userTable)
        return std::string();
    UserRowScope row(*m_userTable);
    m_userTable->Field("userid").SetNumber(userId);
    if (!m_userTable->FindByKey("userid"))
        return std::string();
    CopyFixedText(m_userName, m_userTable->Field("name").AsText());
    return DictUpper(Unscramble(m_userName));
}
