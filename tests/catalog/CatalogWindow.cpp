#include "tests/catalog/CatalogWindow.h"

#include <cstdio>

#include "app/SingleInstance.h"
#include "dbclient/TRdmLogin.h"
#include "treelist/TreeListMessages.h"

namespace {

const char kLoginCaption[] = "Bejelentkezés";

void Type(HWND control, const std::string& text)
{
    for (char c : text)
        SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// Over what the field holds.
void Retype(HWND control, const std::string& text)
{
    SendMessageA(control, EM_SETSEL, 0, -1);
    Type(control, text);
}

BOOL CALLBACK CollectText(HWND child, LPARAM texts)
{
    char text[256] = "";
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(texts) += std::string(text) + "|";
    return TRUE;
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

CatalogWindow::CatalogWindow(const std::vector<std::string>& databases)
{
    std::string list;
    for (const std::string& name : databases)
        list += "        <" + name + " regdbpath=\"C:\\db\\" + name + "\\\" />\n";
    m_dir.Write("<?xml version=\"1.0\" ?>\n<serverparams>\n    <velsrv listen_on_port=\"6510\" />\n"
                "    <databases>\n" + list + "    </databases>\n</serverparams>\n");
    m_service.Install(m_dir.Path() + "veldbsrv.exe");
    m_runner = std::make_unique<DialogRunner>();
    SendMessageA(m_runner->Hwnd(), CVelDbCtrlDlg::WM_TRAYNOTIFY, TrayIcon::kIconId, WM_LBUTTONUP);
}

CatalogWindow::~CatalogWindow()
{
    m_runner.reset();
    m_service.Remove();
}

HTREEITEM CatalogWindow::DatabasesRoot()
{
    HTREEITEM root = nullptr;
    Dlg().RunOnUi([&] { root = Dlg().m_params.DatabasesRoot(); });
    return root;
}

HTREEITEM CatalogWindow::ParametersRoot()
{
    HTREEITEM root = nullptr;
    Dlg().RunOnUi([&] { root = Dlg().m_params.ParametersRoot(); });
    return root;
}

HTREEITEM CatalogWindow::Database(const std::string& name)
{
    for (HTREEITEM item : Children(DatabasesRoot()))
        if (Text(item, 0) == name)
            return item;
    return nullptr;
}

HTREEITEM CatalogWindow::Modules(const std::string& database)
{
    std::vector<HTREEITEM> rows = Children(Database(database));
    return rows.empty() ? nullptr : rows.back();
}

void CatalogWindow::PressRight(HTREEITEM node)
{
    Press(node, VK_RIGHT);
}

void CatalogWindow::PressLeft(HTREEITEM node)
{
    Press(node, VK_LEFT);
}

void CatalogWindow::Press(HTREEITEM node, WPARAM key)
{
    Dlg().RunOnUi([&] { Dlg().m_tree.SelectItem(node); });
    HWND tree = Dlg().m_tree.GetSafeHwnd();
    PostMessageA(tree, WM_KEYDOWN, key, 1);
    PostMessageA(tree, WM_KEYUP, key, 0xC0000001);
}

void CatalogWindow::WaitIdle()
{
    Dlg().RunOnUi([] {});
}

void CatalogWindow::WaitPosted()
{
    m_posted = false;
    m_markPosted = [this] { m_posted = true; };
    PostMessageA(m_runner->Hwnd(), TestDlg::kRunMessage, 0, reinterpret_cast<LPARAM>(&m_markPosted));
    WaitFor([this] { return m_posted.load(); });
}

void CatalogWindow::SecondStart()
{
    SendMessageA(m_runner->Hwnd(), SingleInstance::ShowMessage(), 0, 0);
}

HWND CatalogWindow::WaitForLogin(DWORD timeoutMs)
{
    DWORD thread = GetWindowThreadProcessId(m_runner->Hwnd(), nullptr);
    HWND login = nullptr;
    WaitFor([&] { return (login = FindThreadWindow(thread, nullptr, kLoginCaption)) != nullptr; }, timeoutMs);
    return login;
}

bool CatalogWindow::TypeLogin(const std::string& user, const std::string& password, const std::string& other,
                              bool ok)
{
    HWND login = WaitForLogin();
    if (!login)
        return false;
    HWND combo = GetDlgItem(login, TRdmLogin::DatabaseComboId);
    m_offeredDatabase = TextOf(combo);
    HWND passwordEdit = GetDlgItem(login, TRdmLogin::PasswordEditId);
    Retype(GetDlgItem(login, TRdmLogin::UserEditId), user);
    Retype(passwordEdit, password);
    if (!other.empty())
        Type(combo, other.substr(0, 1));
    bool greyed = ok && !IsWindowEnabled(GetDlgItem(login, IDOK));
    if (greyed)
        fprintf(stderr, "login: OK greyed with \"%s\" chosen\n", TextOf(combo).c_str());
    // Enter or Escape in the password field, through the dialog's own keyboard handling.
    WPARAM key = ok && !greyed ? VK_RETURN : VK_ESCAPE;
    PostMessageA(passwordEdit, WM_KEYDOWN, key, 1);
    PostMessageA(passwordEdit, WM_KEYUP, key, 0xC0000001);
    return WaitFor([&] { return !IsWindow(login); }) && !greyed;
}

bool CatalogWindow::AnswerLogin(const std::string& user, const std::string& password, const std::string& other,
                                bool ok)
{
    bool answered = TypeLogin(user, password, other, ok);
    WaitIdle();
    return answered;
}

std::string CatalogWindow::AnswerRefusal()
{
    DWORD thread = GetWindowThreadProcessId(m_runner->Hwnd(), nullptr);
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindThreadWindow(thread, nullptr, "")) != nullptr; }))
        return "";
    std::string texts;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(box, WM_KEYUP, VK_RETURN, 0xC0000001);
    WaitFor([&] { return !IsWindow(box); });
    return texts;
}

std::string CatalogWindow::Text(HTREEITEM item, int column)
{
    std::string text = "<none>";
    Dlg().RunOnUi([&] {
        if (const char* t = Dlg().m_tree.GetItemText(item, column))
            text = t;
    });
    return text;
}

std::vector<HTREEITEM> CatalogWindow::Children(HTREEITEM parent)
{
    std::vector<HTREEITEM> items;
    Dlg().RunOnUi([&] {
        for (HTREEITEM i = parent ? Dlg().m_tree.GetChildItem(parent) : nullptr; i; i = Dlg().m_tree.GetNextSiblingItem(i))
            items.push_back(i);
    });
    return items;
}

std::vector<std::string> CatalogWindow::Rows(HTREEITEM parent, const std::string& indent)
{
    std::vector<std::string> rows;
    for (HTREEITEM item : Children(parent)) {
        rows.push_back(indent + Text(item, 0) + "=" + Text(item, 1));
        for (const std::string& row : Rows(item, indent + "  "))
            rows.push_back(row);
    }
    return rows;
}

bool CatalogWindow::Expanded(HTREEITEM item)
{
    UINT state = 0;
    Dlg().RunOnUi([&] { state = Dlg().m_tree.GetItemState(item, TVIS_EXPANDED); });
    return (state & TVIS_EXPANDED) != 0;
}

COLORREF CatalogWindow::CellColour(HTREEITEM item, int column, bool background)
{
    UINT message = background ? TVM_GETCELLBKCOLOR : TVM_GETCELLTEXTCOLOR;
    return static_cast<COLORREF>(SendMessageA(Dlg().m_tree.GetSafeHwnd(), message,
                                              reinterpret_cast<WPARAM>(item), column));
}

std::map<HTREEITEM, std::string> CatalogWindow::LoadedNodes()
{
    std::map<HTREEITEM, std::string> nodes;
    Dlg().RunOnUi([&] { nodes = Dlg().m_modules; });
    return nodes;
}
