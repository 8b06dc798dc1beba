#include "TreeListFixture.h"

#include <algorithm>

#include "treelist/TreeCheck.h"
#include "treelist/TreeListWindow.h"

namespace {
const char kParentClass[] = "TreeListTestParent";
}

void TreeListTest::SetUp()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(treelist::RegisterTreeListClass(instance));
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kParentClass, &wc)) {
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = instance;
        wc.lpszClassName = kParentClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&wc);
    }
    // One parent for the whole run: destroying a top-level window under Xvfb waits for a
    // window manager that is not there.
    static HWND parent = CreateWindowExA(0, kParentClass, "TreeList test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                         10, 420, 320, nullptr, nullptr, instance, nullptr);
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
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return ItemOf(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM TreeListTest::InsertItem(const TVITEMA& item, HTREEITEM parent)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item = item;
    return ItemOf(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string TreeListTest::Text(HTREEITEM item, int column) const
{
    char buffer[300] = "<unchanged>";
    TVITEMA tv = ItemOf(item, TVIF_TEXT | TVIF_SUBITEM);
    tv.cChildren = column;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof(buffer);
    if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)))
        return "<failed>";
    return buffer;
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
    HWND header = reinterpret_cast<HWND>(Send(TVM_GETHEADER));
    if (!header)
        return 0;
    RECT r = {};
    GetWindowRect(header, &r);
    return r.bottom - r.top;
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
    int row = Row(item) - FirstVisibleRow();
    POINT p = { x, HeaderHeight() + row * RowHeight() + RowHeight() / 2 };
    return p;
}

Codes TreeListTest::NoteCodes(std::initializer_list<UINT> only) const
{
    Codes codes;
    for (const Note& n : m_notes)
        if (only.size() == 0 || std::find(only.begin(), only.end(), n.code) != only.end())
            codes.push_back(n.code);
    return codes;
}

const Note* TreeListTest::Find(UINT code) const
{
    auto found = std::find_if(m_notes.begin(), m_notes.end(), [code](const Note& n) { return n.code == code; });
    return found == m_notes.end() ? nullptr : &*found;
}

const Note& TreeListTest::Noted(UINT code) const
{
    static const Note none = {};
    const Note* note = Find(code);
    if (!note)
        ADD_FAILURE() << "no notification " << static_cast<int>(code);
    return note ? *note : none;
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

HeldKey::HeldKey(int key) : m_key(key)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[key] |= 0x80;
    SetKeyboardState(keys);
}

HeldKey::~HeldKey()
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[m_key] &= 0x7F;
    SetKeyboardState(keys);
}
