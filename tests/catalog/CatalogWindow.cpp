#include "tests/catalog/CatalogWindow.h"

#include <commctrl.h>

#include <cstdio>

#include "dbclient/TRdmLogin.h"
#include "res/resource.h"
#include "treelist/TreeListMessages.h"

namespace {

const char kLoginCaption[] = "Bejelentkezés";
const UINT kRunMessage = WM_APP + 77;

void Type(HWND control, const std::string& text)
{
    for (char c : text)
        SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

CatalogDlg::CatalogDlg(const std::string& serverDir)
    : CDialog(IDD_CONTROL_DIALOG), m_params(m_tree, m_menu), m_catalog(m_tree, m_modules), m_serverDir(serverDir)
{
}

void CatalogDlg::RunOnUi(const std::function<void()>& work)
{
    SendMessage(kRunMessage, 0, reinterpret_cast<LPARAM>(&work));
}

BOOL CatalogDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT client;
    GetClientRect(&client);
    m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, client, this, IDC_TREELIST);
    m_tree.InsertColumn(0, "", 0, 300);
    m_tree.InsertColumn(1, "", 0, 200);
    m_params.Build();
    m_params.FillDatabases(m_serverDir);
    started = true;
    return TRUE;
}

bool CatalogDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const auto* notify = reinterpret_cast<const NMTREEVIEWA*>(lParam);
    if (msg == kRunMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
    } else if (msg == WM_NOTIFY && notify->hdr.idFrom == IDC_TREELIST && notify->hdr.code == TVN_ITEMEXPANDEDA) {
        m_catalog.OnItemExpanded(*notify, m_params.DatabasesRoot());
    } else {
        return CDialog::OnWndMsg(msg, wParam, lParam, result);
    }
    result = 0;
    return true;
}

CatalogWindow::CatalogWindow(const std::vector<std::string>& databases) : m_dlg(m_dir.Path())
{
    std::string list;
    for (const std::string& name : databases)
        list += "        <" + name + " regdbpath=\"C:\\db\\" + name + "\\\" />\n";
    m_dir.Write("<?xml version=\"1.0\" ?>\n<serverparams>\n    <velsrv listen_on_port=\"6510\" />\n"
                "    <databases>\n" + list + "    </databases>\n</serverparams>\n");
    m_service.Install(m_dir.Path() + "veldbsrv.exe");
    m_thread = std::thread([this] { m_dlg.DoModal(); });
    WaitFor([this] { return m_dlg.started.load(); });
}

CatalogWindow::~CatalogWindow()
{
    if (m_dlg.GetSafeHwnd())
        PostMessageA(m_dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    m_thread.join();
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
    Dlg().RunOnUi([&] { root = Dlg().m_tree.GetRootItem(); });
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

HWND CatalogWindow::WaitForLogin(DWORD timeoutMs)
{
    DWORD thread = GetWindowThreadProcessId(m_dlg.GetSafeHwnd(), nullptr);
    HWND login = nullptr;
    WaitFor([&] { return (login = FindThreadWindow(thread, nullptr, kLoginCaption)) != nullptr; }, timeoutMs);
    return login;
}

bool CatalogWindow::AnswerLogin(const std::string& user, const std::string& password, const std::string& other,
                                bool ok)
{
    HWND login = WaitForLogin();
    if (!login)
        return false;
    HWND combo = GetDlgItem(login, TRdmLogin::DatabaseComboId);
    m_offeredDatabase = TextOf(combo);
    HWND passwordEdit = GetDlgItem(login, TRdmLogin::PasswordEditId);
    Type(GetDlgItem(login, TRdmLogin::UserEditId), user);
    Type(passwordEdit, password);
    if (!other.empty())
        Type(combo, other.substr(0, 1));
    bool greyed = ok && !IsWindowEnabled(GetDlgItem(login, IDOK));
    if (greyed)
        fprintf(stderr, "login: OK greyed with \"%s\" chosen\n", TextOf(combo).c_str());
    // Enter or Escape in the password field, through the dialog's own keyboard handling.
    WPARAM key = ok && !greyed ? VK_RETURN : VK_ESCAPE;
    PostMessageA(passwordEdit, WM_KEYDOWN, key, 1);
    PostMessageA(passwordEdit, WM_KEYUP, key, 0xC0000001);
    if (!WaitFor([&] { return !IsWindow(login); }))
        return false;
    WaitIdle();
    return !greyed;
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
