// The login dialog: user, password and database, built from an in-memory template each
// time it runs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "dbclient/SecretText.h"

class TRdmLogin {
public:
    enum ControlId { UserLabelId = 982, PasswordLabelId = 983, DatabaseLabelId = 984, UserEditId = 985,
                     PasswordEditId = 986, DatabaseComboId = 987 };
    static constexpr int TextLimit = 15;

    TRdmLogin();
    TRdmLogin(const TRdmLogin&) = delete;
    TRdmLogin& operator=(const TRdmLogin&) = delete;

    void SetDatabases(const std::vector<std::string>& names) { m_databases = names; }
    void SetUser(const std::string& user) { m_user = user; }
    void SetPassword(const SecretText& password) { m_password.Assign(password); }
    void SetDatabase(const std::string& database) { m_database = database; }
    // Only non-empty texts replace the defaults: the three labels, OK, Cancel, caption.
    void SetTexts(const std::string texts[6]);
    void SetAllowDatabaseChoice(bool allow) { m_allowChoice = allow; }

    // Runs the dialog modally (owner: the active window); true for OK, false for Cancel.
    bool RunModalLoop();

    const std::string& User() const { return m_user; }
    // The password is read from its field once, at OK; it stays for the next run of the
    // dialog and is wiped when the dialog goes.
    const SecretText& Password() const { return m_password; }
    const std::string& Database() const { return m_database; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog(HWND dialog);
    BOOL OnCommand(WPARAM wParam);
    void FillDatabases();
    void ReadControls();
    void ReadPassword();
    void UpdateOk();
    std::vector<BYTE> BuildTemplate() const;

    HWND m_dialog = nullptr;
    std::vector<std::string> m_databases;
    std::string m_user, m_database;
    SecretText m_password;
    bool m_passwordGiven = false;    // the password field is not empty
    std::string m_labels[6];         // user, password, database, OK, Cancel, caption
    bool m_allowChoice = true;
    bool m_databaseInList = false;
    bool m_ready = false;            // set once the dialog is filled
};
