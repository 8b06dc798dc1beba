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

// The one login dialog of the process, while a login runs.
std::unique_ptr<TRdmLogin> g_loginDialog;

template <class Fn>
Fn Entry(FunctionLoader::Entry entry)
{
    return FunctionLoader::Instance().Checked<Fn>(entry);
}

void WipeString(std::string& text)
{
    volatile char* p = text.empty() ? nullptr : &text[0];
    for (size_t i = 0; i < text.size(); ++i)
        p[i] = 0;
    text.clear();
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

std::string RotateText(const std::string& text, bool right)
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(Rotate(static_cast<unsigned char>(out[i]), VelConn::NameKey[i % 8] - '0', right));
    return out;
}

}  // namespace

const char VelConn::NameKey[9] = "18273645";

VelConn::VelConn()
{
    std::memset(&m_settings, 0, sizeof m_settings);
    g_loginDialog.reset();
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
    m_password = UpperIfSet(password);
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
    if (dialogWanted) {
        if (!g_loginDialog)
            g_loginDialog.reset(new TRdmLogin);
        g_loginDialog->SetDatabases(names);
        g_loginDialog->SetDatabase(m_database);
        g_loginDialog->SetUser(m_user);
        g_loginDialog->SetPassword(m_password);
        g_loginDialog->SetTexts(labels);
        g_loginDialog->SetAllowDatabaseChoice(allowDatabaseChoice);
    }
    try {
        while (ConnectOnce(dialogWanted) && !m_connected) {
        }
    } catch (...) {
        Disconnect();
        throw;
    }
    if (!m_connected)
        Disconnect();
    g_loginDialog.reset();
    return m_connected != 0;
}

bool VelConn::ConnectOnce(bool dialogWanted)
{
    if (dialogWanted) {
        if (!g_loginDialog->RunModalLoop())
            return false;
        m_user = g_loginDialog->User();
        m_password = g_loginDialog->Password();
        m_database = g_loginDialog->Database();
    }
    if (!ReadSettings(m_database, m_settings))
        throw DbDescError(kNoSettings, VEL_ERRPOS("VelConn::ConnectOnce"), StrVector{ m_database });
    CopyFixedText(m_settings.user, m_user);
    CopyFixedText(m_settings.password, m_password);
    auto create = Entry<veldbcli::CreateDbHandlerFn>(FunctionLoader::CreateDbHandler);
    auto initUser = Entry<veldbcli::InitUserExFn>(FunctionLoader::InitUserEx);
    int status = create(&m_handle);
    if (status != 0) {
        m_handle = InvalidHandle;
        throw DbDescError(status, VEL_ERRPOS("VelConn::ConnectOnce"), StrVector{ m_database, "CreateDbHandler" });
    }
    status = initUser(m_handle, &m_settings);
    WipeClientSettings(m_settings);
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

bool VelConn::UserCheck(bool dialogWanted)
{
    std::string name = Scramble(m_user);
    std::string password = Scramble(m_password);
    WipeString(m_password);
    m_userTable->Field("NAME").SetText(name);
    bool found = m_userTable->FindByKey("NAME");
    bool passwordRight = found && m_userTable->Field("PSW").AsText() == password;
    bool enabled = found && m_userTable->Field("enabled").AsNumber() == 1;
    WipeString(password);
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
    m_userId = static_cast<int>(m_userTable->Field("userid").AsNumber());
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

void VelConn::FreeHandle()
{
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
    WipeString(m_password);
    m_database.clear();
}

void VelConn::Disconnect()
{
    g_loginDialog.reset();
    WipeString(m_password);
    WipeClientSettings(m_settings);
    m_userTable.reset();
    m_sysDb.reset();
    if (m_connected || m_handle != InvalidHandle) {
        m_connected = 0;
        m_userId = -1;
        FreeHandle();
    }
}

std::string VelConn::UserNameById(int userId)
{
    if (!m_userTable)
        return std::string();
    m_userTable->Field("userid").SetNumber(userId);
    if (!m_userTable->FindByKey("userid"))
        return std::string();
    CopyFixedText(m_userName, m_userTable->Field("name").AsText());
    return DictUpper(Unscramble(m_userName));
}
