#include "dbclient/TRdmLogin.h"

#include "dbclient/DbDictionary.h"

namespace {

const char* const kDefaultLabels[6] = { "Felhasználó:", "Jelszó:", "Adatbázis:", "Rendben", "Mégse",
                                        "Bejelentkezés" };
const DWORD kDialogStyle = 0x90C008C0;
const DWORD kDialogExStyle = WS_EX_TOPMOST;
const int kReadLimit = 100;

struct ControlSpec {
    WORD id;
    const wchar_t* windowClass;
    short left, top, right, bottom;
    DWORD style;
    int label;           // index of its text in the labels; -1: none
};

const ControlSpec kControls[] = {
    { TRdmLogin::UserLabelId, L"static", 10, 9, 58, 19, 0x50000000, 0 },
    { TRdmLogin::UserEditId, L"edit", 60, 7, 150, 19, 0x50810008, -1 },
    { TRdmLogin::PasswordLabelId, L"static", 10, 24, 58, 34, 0x50000000, 1 },
    { TRdmLogin::PasswordEditId, L"edit", 60, 22, 150, 34, 0x50810028, -1 },
    { TRdmLogin::DatabaseLabelId, L"static", 10, 39, 58, 49, 0x50000000, 2 },
    { TRdmLogin::DatabaseComboId, L"combobox", 60, 37, 150, 125, 0x50A1010B, -1 },
    { IDOK, L"button", 22, 55, 72, 70, 0x50010001, 3 },
    { IDCANCEL, L"button", 85, 55, 135, 70, 0x50010000, 4 },
};

void Append(std::vector<BYTE>& out, const void* data, size_t size)
{
    const BYTE* p = static_cast<const BYTE*>(data);
    out.insert(out.end(), p, p + size);
}

void AppendWide(std::vector<BYTE>& out, const std::wstring& text)
{
    Append(out, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void AlignDword(std::vector<BYTE>& out)
{
    while (out.size() % 4)
        out.push_back(0);
}

std::wstring Wide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(1250, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1250, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string ControlText(HWND dialog, int id)
{
    char buffer[kReadLimit + 1] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

}  // namespace

TRdmLogin::TRdmLogin()
{
    for (int i = 0; i < 6; ++i)
        m_labels[i] = kDefaultLabels[i];
}

void TRdmLogin::SetTexts(const std::string texts[6])
{
    for (int i = 0; i < 6; ++i)
        if (!texts[i].empty())
            m_labels[i] = texts[i];
}

std::vector<BYTE> TRdmLogin::BuildTemplate() const
{
    std::vector<BYTE> out;
    DLGTEMPLATE dialog = {};
    dialog.style = kDialogStyle;
    dialog.dwExtendedStyle = kDialogExStyle;
    dialog.cdit = static_cast<WORD>(sizeof kControls / sizeof kControls[0]);
    dialog.cx = 160;
    dialog.cy = 75;
    Append(out, &dialog, sizeof dialog);
    AppendWide(out, L"");                       // no menu
    AppendWide(out, L"");                       // the standard dialog class
    AppendWide(out, Wide(m_labels[5]));
    WORD pointSize = 8;
    Append(out, &pointSize, sizeof pointSize);
    AppendWide(out, L"MS Sans Serif");
    for (const ControlSpec& c : kControls) {
        AlignDword(out);
        DLGITEMTEMPLATE item = {};
        item.style = c.style;
        item.x = c.left;
        item.y = c.top;
        item.cx = static_cast<short>(c.right - c.left);
        item.cy = static_cast<short>(c.bottom - c.top);
        item.id = c.id;
        Append(out, &item, sizeof item);
        AppendWide(out, c.windowClass);
        AppendWide(out, c.label >= 0 ? Wide(m_labels[c.label]) : std::wstring());
        WORD noData = 0;
        Append(out, &noData, sizeof noData);
    }
    return out;
}

bool TRdmLogin::RunModalLoop()
{
    std::vector<BYTE> dialogTemplate = BuildTemplate();
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                             GetActiveWindow(), DialogProc, reinterpret_cast<LPARAM>(this));
    m_dialog = nullptr;
    return result == IDOK;
}

INT_PTR CALLBACK TRdmLogin::DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TRdmLogin* self = reinterpret_cast<TRdmLogin*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return reinterpret_cast<TRdmLogin*>(lParam)->OnInitDialog(dialog);
    case WM_COMMAND:
        return self ? self->OnCommand(wParam) : FALSE;
    default:
        return FALSE;
    }
}

BOOL TRdmLogin::OnInitDialog(HWND dialog)
{
    m_dialog = dialog;
    m_ready = false;            // the texts set below must not be read back half-filled
    SetWindowTextA(dialog, m_labels[5].c_str());
    SetDlgItemTextA(dialog, UserLabelId, m_labels[0].c_str());
    SetDlgItemTextA(dialog, PasswordLabelId, m_labels[1].c_str());
    SetDlgItemTextA(dialog, DatabaseLabelId, m_labels[2].c_str());
    SetDlgItemTextA(dialog, IDOK, m_labels[3].c_str());
    SetDlgItemTextA(dialog, IDCANCEL, m_labels[4].c_str());
    SetDlgItemTextA(dialog, UserEditId, m_user.c_str());
    SetDlgItemTextA(dialog, PasswordEditId, m_password.Data());
    SendDlgItemMessageA(dialog, UserEditId, EM_LIMITTEXT, TextLimit, 0);
    SendDlgItemMessageA(dialog, PasswordEditId, EM_LIMITTEXT, TextLimit, 0);
    FillDatabases();
    EnableWindow(GetDlgItem(dialog, DatabaseComboId), m_allowChoice);
    EnableWindow(GetDlgItem(dialog, IDOK),
                 !m_user.empty() && !m_password.Empty() && !m_database.empty() && m_databaseInList);
    m_ready = true;
    return TRUE;
}

void TRdmLogin::FillDatabases()
{
    HWND combo = GetDlgItem(m_dialog, DatabaseComboId);
    for (const std::string& name : m_databases)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DictUpper(name).c_str()));
    std::string wanted = DictUpper(m_database);
    LRESULT at = wanted.empty() ? CB_ERR
                                : SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(wanted.c_str()));
    m_databaseInList = at != CB_ERR;
    if (m_databaseInList)
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

// Of the password only whether there is one: its text is read once, at OK.
void TRdmLogin::ReadControls()
{
    m_user = ControlText(m_dialog, UserEditId);
    m_passwordGiven = GetWindowTextLengthA(GetDlgItem(m_dialog, PasswordEditId)) > 0;
    m_database = ControlText(m_dialog, DatabaseComboId);
}

// Straight into the password's own buffer: no copy on the stack or in a temporary.
void TRdmLogin::ReadPassword()
{
    GetDlgItemTextA(m_dialog, PasswordEditId, m_password.Room(), kReadLimit + 1);
    m_password.TakeWritten();
}

void TRdmLogin::UpdateOk()
{
    EnableWindow(GetDlgItem(m_dialog, IDOK), !m_user.empty() && m_passwordGiven && !m_database.empty());
}

BOOL TRdmLogin::OnCommand(WPARAM wParam)
{
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (!m_ready)
        return FALSE;
    if (((id == UserEditId || id == PasswordEditId) && code == EN_CHANGE) ||
        (id == DatabaseComboId && code == CBN_SELCHANGE)) {
        ReadControls();
        UpdateOk();
        return TRUE;
    }
    if (id == IDOK || id == IDCANCEL) {
        ReadControls();
        if (id == IDOK)
            ReadPassword();
        EndDialog(m_dialog, id == IDOK ? IDOK : IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
