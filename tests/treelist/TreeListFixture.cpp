#include "TreeListFixture.h"

#include <algorithm>
#include <cstring>

#include "treelist/TreeCheck.h"
#include "treelist/TreeListWindow.h"
#include "utils/UniqueHandle.h"

namespace {

const char kParentClass[] = "TreeListTestParent";

}  // namespace

void TreeListTest::SetUp()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(treelist::RegisterTreeListClass(instance));
    // One parent for the whole run: destroying a top-level window under Xvfb waits for a
    // window manager that is not there.
    static HWND parent = [instance] {
        const WNDCLASSA wc = { 0, ParentProc, 0, 0, instance, nullptr, nullptr,
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr, kParentClass };
        RegisterClassA(&wc);
        return CreateWindowExA(0, kParentClass, "TreeList test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 420, 320,
                               nullptr, nullptr, instance, nullptr);
    }();
    m_parent = parent;
    ASSERT_NE(m_parent, nullptr);
    SetWindowLongPtrA(m_parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetForegroundWindow(m_parent);
    Make(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
}

void TreeListTest::TearDown()
{
    m_hooks.clear();
    if (m_tree)
        DestroyWindow(m_tree);
    m_tree = nullptr;
    SetWindowLongPtrA(m_parent, GWLP_USERDATA, 0);
}

void TreeListTest::Make(DWORD style, int width, int height)
{
    if (m_tree)
        DestroyWindow(m_tree);
    m_tree = CreateWindowExA(0, TREELIST_CLASSNAME, "", WS_CHILD | WS_VISIBLE | style, 0, 0, width, height,
                             m_parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1002)),
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_tree, nullptr);
    m_notes.clear();
}

LRESULT TreeListTest::Send(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    HWND tree = m_tree;
    LRESULT result = SendMessageA(tree, msg, wParam, lParam);
    if (m_checkTree) {
        std::string fault = treelist::CheckTree(tree);
        if (!fault.empty()) {
            ADD_FAILURE() << "the tree checker, after message 0x" << std::hex << msg << ": " << fault;
            m_checkTree = false;
        }
    }
    return result;
}

HTREEITEM TreeListTest::Insert(const char* text, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert = { parent, after, {} };
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return ItemOf(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// A cell's text goes by the column number in cChildren, with TVIF_SUBITEM.
std::string TreeListTest::Text(HTREEITEM item, int column) const
{
    char buffer[300] = "<unchanged>";
    TVITEMA tv = ItemOf(item, TVIF_TEXT | TVIF_SUBITEM);
    tv.cChildren = column;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof(buffer);
    return Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) ? buffer : "<failed>";
}

bool TreeListTest::SetText(HTREEITEM item, int column, const char* text) const
{
    TVITEMA tv = ItemOf(item, TVIF_TEXT | TVIF_SUBITEM);
    tv.cChildren = column;
    tv.pszText = const_cast<char*>(text);
    return Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) != 0;
}

int TreeListTest::AddColumn(const char* text, int width, int position)
{
    TVCOLUMNA column = {};
    column.mask = TVCF_TEXT;
    column.pszText = const_cast<char*>(text);
    if (width >= 0) {
        column.mask |= TVCF_WIDTH;
        column.cx = width;
    }
    return static_cast<int>(Send(TVM_INSERTCOLUMN, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column)));
}

int TreeListTest::HeaderHeight() const
{
    RECT r = {};
    GetWindowRect(reinterpret_cast<HWND>(Send(TVM_GETHEADER)), &r);   // none: an empty rectangle
    return r.bottom - r.top;
}

int TreeListTest::ColumnWidth(int column) const
{
    HDITEMA hd = {};
    hd.mask = HDI_WIDTH;
    return Send(TVM_GETCOLUMN, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd)) ? hd.cxy : -1;
}

// The rectangle record carries the item in its first bytes.
bool TreeListTest::ItemRect(HTREEITEM item, BOOL text, RECT& rect) const
{
    rect = {};
    std::memcpy(&rect, &item, sizeof item);
    return Send(TVM_GETITEMRECT, text, reinterpret_cast<LPARAM>(&rect)) != 0;
}

std::vector<COLORREF> TreeListTest::Render() const
{
    RECT client = {};
    GetClientRect(m_tree, &client);
    velutils::MemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = { sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    void* bits = nullptr;
    velutils::BitmapHandle bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc.Get(), bitmap.Get());
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<COLORREF*>(bits), static_cast<COLORREF*>(bits) + client.right * client.bottom);
    SelectObject(dc.Get(), old);
    return pixels;
}

void TreeListTest::HeaderNotify(UINT code, int column, int width) const
{
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    NMHEADERA nm = {};
    nm.hdr.hwndFrom = reinterpret_cast<HWND>(Send(TVM_GETHEADER));
    nm.hdr.idFrom = 1;
    nm.hdr.code = code;
    nm.iItem = column;
    nm.pitem = &item;
    Send(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm));
}

POINT TreeListTest::RowPoint(HTREEITEM item, int x) const
{
    return { x, HeaderHeight() + (Row(item) - FirstVisibleRow()) * RowHeight() + RowHeight() / 2 };
}

Codes TreeListTest::NoteCodes(std::initializer_list<UINT> only) const
{
    Codes codes;
    for (const Note& n : m_notes)
        if (only.size() == 0 || std::find(only.begin(), only.end(), n.code) != only.end())
            codes.push_back(n.code);
    return codes;
}

const Note& TreeListTest::Noted(UINT code) const
{
    static const Note none = {};
    for (const Note& note : m_notes)
        if (note.code == code)
            return note;
    ADD_FAILURE() << "no notification " << static_cast<int>(code);
    return none;
}

LRESULT TreeListTest::OnNotify(const NMHDR* nm)
{
    if (nm->hwndFrom != m_tree)
        return 0;
    Note note = {};
    note.code = nm->code;
    const auto* tv = reinterpret_cast<const NMTREEVIEWA*>(nm);
    const auto* di = reinterpret_cast<const NMTVDISPINFOA*>(nm);
    switch (note.code) {
    case TVN_ITEMEXPANDINGA: case TVN_ITEMEXPANDEDA: case TVN_SELCHANGINGA: case TVN_SELCHANGEDA:
    case TVN_BEGINDRAGA: case TVN_BEGINRDRAGA: case TVN_SINGLEEXPAND: case NM_CLICK: case NM_DBLCLK: case NM_RCLICK:
    case NM_RDBLCLK:
        note.item = tv->itemNew.hItem;
        note.oldItem = tv->itemOld.hItem;
        note.action = tv->action;
        note.column = tv->itemNew.cChildren;
        note.point = tv->ptDrag;
        break;
    case TVN_KEYDOWN:
        note.key = reinterpret_cast<const NMTVKEYDOWN*>(nm)->wVKey;
        break;
    case TVN_BEGINLABELEDITA: case TVN_ENDLABELEDITA:
        note.item = di->item.hItem;
        note.column = di->item.cChildren;
        note.hasText = di->item.pszText != nullptr;
        note.text = note.hasText ? di->item.pszText : "";
        break;
    default:
        break;
    }
    m_notes.push_back(note);
    auto hook = m_hooks.find(note.code);
    return hook != m_hooks.end() ? hook->second(nm) : 0;
}

LRESULT CALLBACK TreeListTest::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TreeListTest*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NOTIFY && self)
        return self->OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    if (msg == WM_CONTEXTMENU && self && reinterpret_cast<HWND>(wParam) == self->m_tree) {
        self->m_contextMenus.push_back(POINT{ static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) });
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void HeldKey::Set(bool down) const
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[m_key] = down ? (keys[m_key] | 0x80) : (keys[m_key] & 0x7F);
    SetKeyboardState(keys);
}
