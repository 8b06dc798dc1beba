#include "tests/catalog/TreeDriver.h"

#include <commctrl.h>

#include <cstdio>

#include "dbclient/TRdmLogin.h"
#include "tests/app/TestSupport.h"
#include "tests/config/ConfigDir.h"
#include "tests/utils/WindowText.h"
#include "treelist/TreeListMessages.h"

namespace {

const char kLoginCaption[] = "Bejelentkezés";

void Type(HWND control, const std::string& text)
{
    for (char c : text)
        SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// A key pressed and released, to the window's own message loop.
void PostKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Over what the field holds.
void Retype(HWND control, const std::string& text)
{
    SendMessageA(control, EM_SETSEL, 0, -1);
    Type(control, text);
}

}  // namespace

void InstallServerWith(ConfigDir& dir, ServiceFixture& service, const std::vector<std::string>& databases)
{
    std::string list;
    for (const std::string& name : databases)
        list += "        <" + name + " regdbpath=\"C:\\db\\" + name + "\\\" />\n";
    dir.Write("<?xml version=\"1.0\" ?>\n<serverparams>\n    <velsrv listen_on_port=\"6510\" />\n"
              "    <databases>\n" + list + "    </databases>\n</serverparams>\n");
    service.Install(dir.Path() + "veldbsrv.exe");
}

HTREEITEM TreeDriver::DatabasesRoot() { return ReadOnUi<HTREEITEM>([&] { return DatabasesRootOnUi(); }); }

HTREEITEM TreeDriver::ParametersRoot()
{
    return ReadOnUi<HTREEITEM>([&] { return Tree().GetPrevSiblingItem(DatabasesRootOnUi()); });
}

HTREEITEM TreeDriver::Database(const std::string& name)
{
    for (HTREEITEM item : Children(DatabasesRoot()))
        if (Text(item, 0) == name)
            return item;
    return nullptr;
}

HTREEITEM TreeDriver::Modules(const std::string& database)
{
    std::vector<HTREEITEM> rows = Children(Database(database));
    return rows.empty() ? nullptr : rows.back();
}

void TreeDriver::Press(HTREEITEM node, WPARAM key)
{
    OnUi([&] { Tree().SelectItem(node); });
    PostKey(Tree().GetSafeHwnd(), key);
}

HWND TreeDriver::WaitForLogin(DWORD timeoutMs)
{
    DWORD thread = GetWindowThreadProcessId(Window(), nullptr);
    HWND login = nullptr;
    WaitFor([&] { return (login = FindThreadWindow(thread, nullptr, kLoginCaption)) != nullptr; }, timeoutMs);
    return login;
}

bool TreeDriver::TypeLogin(const std::string& user, const std::string& password, const std::string& other,
                           bool ok)
{
    HWND login = WaitForLogin();
    if (!login)
        return false;
    HWND combo = GetDlgItem(login, TRdmLogin::DatabaseComboId);
    m_offeredDatabase = WindowText(combo);
    HWND passwordEdit = GetDlgItem(login, TRdmLogin::PasswordEditId);
    Retype(GetDlgItem(login, TRdmLogin::UserEditId), user);
    Retype(passwordEdit, password);
    if (!other.empty())
        Type(combo, other.substr(0, 1));
    bool greyed = ok && !IsWindowEnabled(GetDlgItem(login, IDOK));
    if (greyed)
        fprintf(stderr, "login: OK greyed with \"%s\" chosen\n", WindowText(combo).c_str());
    // Enter or Escape in the password field, through the dialog's own keyboard handling.
    PostKey(passwordEdit, ok && !greyed ? VK_RETURN : VK_ESCAPE);
    return WaitFor([&] { return !IsWindow(login); }) && !greyed;
}

bool TreeDriver::AnswerLogin(const std::string& user, const std::string& password, const std::string& other,
                             bool ok)
{
    bool answered = TypeLogin(user, password, other, ok);
    WaitIdle();
    return answered;
}

std::string TreeDriver::AnswerRefusal()
{
    DWORD thread = GetWindowThreadProcessId(Window(), nullptr);
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindThreadWindow(thread, nullptr, "")) != nullptr; }))
        return "";
    std::string texts = Joined(ChildTexts(box));
    PostKey(box, VK_RETURN);
    WaitFor([&] { return !IsWindow(box); });
    return texts;
}

std::string TreeDriver::Text(HTREEITEM item, int column)
{
    std::string text = "<none>";
    OnUi([&] {
        if (const char* t = Tree().GetItemText(item, column))
            text = t;
    });
    return text;
}

std::vector<HTREEITEM> TreeDriver::Children(HTREEITEM parent)
{
    std::vector<HTREEITEM> items;
    OnUi([&] {
        for (HTREEITEM i = parent ? Tree().GetChildItem(parent) : nullptr; i; i = Tree().GetNextSiblingItem(i))
            items.push_back(i);
    });
    return items;
}

std::vector<std::string> TreeDriver::Rows(HTREEITEM parent, const std::string& indent)
{
    std::vector<std::string> rows;
    for (HTREEITEM item : Children(parent)) {
        rows.push_back(indent + Text(item, 0) + "=" + Text(item, 1));
        for (const std::string& row : Rows(item, indent + "  "))
            rows.push_back(row);
    }
    return rows;
}

bool TreeDriver::Expanded(HTREEITEM item) { return HasState(item, TVIS_EXPANDED); }

bool TreeDriver::Bold(HTREEITEM item) { return HasState(item, TVIS_BOLD); }

bool TreeDriver::HasState(HTREEITEM item, UINT state)
{
    return (ReadOnUi<UINT>([&] { return Tree().GetItemState(item, state); }) & state) != 0;
}

COLORREF TreeDriver::CellColour(HTREEITEM item, int column, bool background)
{
    UINT message = background ? TVM_GETCELLBKCOLOR : TVM_GETCELLTEXTCOLOR;
    return static_cast<COLORREF>(SendMessageA(Tree().GetSafeHwnd(), message,
                                              reinterpret_cast<WPARAM>(item), column));
}

std::map<HTREEITEM, std::string> TreeDriver::LoadedNodes()
{
    return ReadOnUi<std::map<HTREEITEM, std::string>>([&] { return ModulesOnUi(); });
}
