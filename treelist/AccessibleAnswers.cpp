#include "treelist/AccessibleAnswers.h"

#include <oleacc.h>

#include "treelist/Input.h"
#include "treelist/ItemAccess.h"
#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Recheck.h"
#include "treelist/RowTable.h"
#include "treelist/TreeOps.h"

namespace treelist {

namespace {

// The texts as the screen shows them: in the ANSI code page.
std::wstring Wide(const char* text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

void AnswerText(AccessibleQuery& q, const std::wstring& text)
{
    q.text = text;
    q.result = text.empty() ? S_FALSE : S_OK;
}

void AnswerId(AccessibleQuery& q, ItemId id)
{
    q.hasId = id != 0;
    q.id = static_cast<LONG>(id);
    q.result = q.hasId ? S_OK : S_FALSE;
}

std::string Heading(const TreeListState& s, int column)
{
    char text[260] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    if (!s.header || !SendMessageA(s.header.Get(), HDM_GETITEMA, static_cast<WPARAM>(column),
                                   reinterpret_cast<LPARAM>(&item)))
        return std::string();
    return text;
}

// The other columns of an item, as "heading: text" pairs; empty cells are left out.
std::wstring Description(const TreeListState& s, ItemId id)
{
    std::string pairs;
    for (int column = 1; column < s.columnCount; ++column) {
        const TreeCell* cell = Cell(s, id, column);
        if (!cell || !cell->text || !*cell->text)
            continue;
        if (!pairs.empty())
            pairs += ", ";
        pairs += Heading(s, column) + ": " + cell->text;
    }
    return Wide(pairs.c_str());
}

bool RowShown(const TreeListState& s, int row)
{
    return row >= s.firstRow && row < s.firstRow + s.rowsFitPartial;
}

LONG ItemState(TreeListState& s, ItemId id)
{
    const TreeItem& item = *s.items[id];
    LONG state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (id == s.caret && s.hasFocus)
        state |= STATE_SYSTEM_FOCUSED;
    if (item.state & TVIS_SELECTED)
        state |= STATE_SYSTEM_SELECTED;
    if (HasChildren(s, item))
        state |= (item.state & TVIS_EXPANDED) ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    if ((s.style & TVS_CHECKBOXES) && (item.state & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2))
        state |= STATE_SYSTEM_CHECKED;
    int row = RowOf(s, id);
    if (row < 0)
        state |= STATE_SYSTEM_INVISIBLE;
    else if (!RowShown(s, row))
        state |= STATE_SYSTEM_OFFSCREEN;
    if (!s.enabled)
        state |= STATE_SYSTEM_UNAVAILABLE;
    return state;
}

LONG ControlState(const TreeListState& s)
{
    LONG state = STATE_SYSTEM_FOCUSABLE;
    if (s.hasFocus)
        state |= STATE_SYSTEM_FOCUSED;
    if (s.exStyle & TVS_EX_MULTISELECT_TL)
        state |= STATE_SYSTEM_MULTISELECTABLE;
    if (!s.enabled)
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(s.hwnd))
        state |= STATE_SYSTEM_INVISIBLE;
    return state;
}

RECT ScreenRect(const TreeListState& s, RECT rect)
{
    MapWindowPoints(s.hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void AnswerLocation(TreeListState& s, ItemId id, AccessibleQuery& q)
{
    if (!id) {
        RECT client = {};
        GetClientRect(s.hwnd, &client);
        q.rect = ScreenRect(s, client);
        return;
    }
    int row = RowOf(s, id);
    if (row < 0) {
        q.result = S_FALSE;     // inside a collapsed parent: nowhere on the screen
        return;
    }
    RECT rect = { 0, s.headerHeight + (row - s.firstRow) * s.rowHeight, s.clientWidth, 0 };
    rect.bottom = rect.top + s.rowHeight;
    q.rect = ScreenRect(s, rect);
}

void AnswerNameCallingOut(TreeListState& s, ItemId id, AccessibleQuery& q)
{
    if (!id) {
        wchar_t text[260] = L"";
        GetWindowTextW(s.hwnd, text, 260);
        AnswerText(q, text);
        return;
    }
    char buffer[260];
    Recheck check(s);
    const char* text = ItemTextCallingOut(s, id, 0, buffer, sizeof(buffer));
    if (!check.Holds(id)) {
        q.result = E_INVALIDARG;
        return;
    }
    AnswerText(q, Wide(text));
}

void AnswerDefaultAction(TreeListState& s, ItemId id, AccessibleQuery& q)
{
    const TreeItem* item = Item(s, id);
    if (!item || !HasChildren(s, *item)) {
        q.result = S_FALSE;
        return;
    }
    AnswerText(q, Wide((item->state & TVIS_EXPANDED) ? "Összecsukás" : "Kibontás"));
}

void DoDefaultAction(TreeListState& s, ItemId id, AccessibleQuery& q)
{
    const TreeItem* item = Item(s, id);
    if (!item || !HasChildren(s, *item)) {
        q.result = DISP_E_MEMBERNOTFOUND;
        return;
    }
    if (!PostMessageA(s.hwnd, AccessibleMessage(), kAccessibleToggle, static_cast<LPARAM>(id)))
        q.result = E_FAIL;
}

// Focus and selection go together in a tree: the item becomes the caret.
void SelectCallingOut(TreeListState& s, ItemId id, AccessibleQuery& q)
{
    const LONG flags = q.number;
    const LONG known = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
    if (!flags || (flags & ~known) || (!id && flags != SELFLAG_TAKEFOCUS)) {
        q.result = E_INVALIDARG;
        return;
    }
    Recheck check(s);
    if (flags & SELFLAG_TAKEFOCUS)
        TakeFocusCallingOut(s);
    if (!check.Holds(id)) {
        q.result = E_INVALIDARG;
        return;
    }
    if (id && !SelectCaretCallingOut(s, id, 0, true))
        q.result = S_FALSE;     // the owner refused
}

ItemId Navigate(TreeListState& s, ItemId id, LONG direction, AccessibleQuery& q)
{
    if (!id) {
        if (direction == NAVDIR_FIRSTCHILD)
            return s.firstRoot;
        if (direction == NAVDIR_LASTCHILD)
            return s.lastRoot;
        q.standard = true;
        return 0;
    }
    const TreeItem& item = *s.items[id];
    switch (direction) {
    case NAVDIR_NEXT: return item.nextSibling;
    case NAVDIR_PREVIOUS: return item.prevSibling;
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_RIGHT: return item.firstChild;
    case NAVDIR_LASTCHILD: return item.lastChild;
    case NAVDIR_LEFT: return item.parent;
    case NAVDIR_DOWN: return NextItem(s, id, TVGN_NEXTVISIBLE);
    case NAVDIR_UP: return NextItem(s, id, TVGN_PREVIOUSVISIBLE);
    default:
        q.result = E_INVALIDARG;
        return 0;
    }
}

void HitTest(TreeListState& s, AccessibleQuery& q)
{
    POINT p = q.point;
    ScreenToClient(s.hwnd, &p);
    RECT client = {};
    GetClientRect(s.hwnd, &client);
    if (!PtInRect(&client, p)) {
        q.result = S_FALSE;
        return;
    }
    if (s.header && p.y < s.headerHeight) {
        q.window = s.header.Get();
        return;
    }
    int row = s.rowHeight > 0 ? (p.y - s.headerHeight) / s.rowHeight + s.firstRow : -1;
    q.hasId = true;     // the control itself below its last row
    q.id = static_cast<LONG>(ItemAtRow(s, row));
}

// From the first index on; a reader that walks one child at a time goes on from where
// its last walk ended while the tree stays as it was.
void Children(const TreeListState& s, AccessibleQuery& q)
{
    ItemId id = static_cast<ItemId>(q.resumeAt);
    if (!id || q.stamp != s.changes || !Item(s, id)) {
        id = s.firstRoot;
        for (LONG skip = q.number; id && skip > 0; --skip)
            id = NextInTreeOrder(s, id);
    }
    for (; id && static_cast<LONG>(q.ids.size()) < q.count; id = NextInTreeOrder(s, id))
        q.ids.push_back(static_cast<LONG>(id));
    q.resumeAt = static_cast<LONG>(id);
    q.stamp = s.changes;
}

void Selection(const TreeListState& s, AccessibleQuery& q)
{
    if (s.selectedCount == 1 && s.caret && (s.items[s.caret]->state & TVIS_SELECTED)) {
        q.ids.push_back(static_cast<LONG>(s.caret));
        return;
    }
    for (ItemId id = s.firstRoot; id && q.ids.size() < s.selectedCount; id = NextInTreeOrder(s, id))
        if (s.items[id]->state & TVIS_SELECTED)
            q.ids.push_back(static_cast<LONG>(id));
}

void AnswerAboutCallingOut(TreeListState& s, ItemId id, AccessibleQuery& q)
{
    switch (q.ask) {
    case AccessibleAsk::Name: AnswerNameCallingOut(s, id, q); break;
    case AccessibleAsk::Value:
        AnswerText(q, id ? std::to_wstring(s.items[id]->level + 1) : std::wstring());
        break;
    case AccessibleAsk::Description: AnswerText(q, id ? Description(s, id) : std::wstring()); break;
    case AccessibleAsk::Role: q.value = id ? ROLE_SYSTEM_OUTLINEITEM : ROLE_SYSTEM_OUTLINE; break;
    case AccessibleAsk::State: q.value = id ? ItemState(s, id) : ControlState(s); break;
    case AccessibleAsk::Location: AnswerLocation(s, id, q); break;
    case AccessibleAsk::DefaultAction: AnswerDefaultAction(s, id, q); break;
    case AccessibleAsk::DoDefaultAction: DoDefaultAction(s, id, q); break;
    case AccessibleAsk::Select: SelectCallingOut(s, id, q); break;
    case AccessibleAsk::Navigate: {
        ItemId to = Navigate(s, id, q.number, q);
        if (q.result == S_OK && !q.standard)
            AnswerId(q, to);
        break;
    }
    default: q.result = E_INVALIDARG; break;
    }
}

}  // namespace

ItemId NextInTreeOrder(const TreeListState& s, ItemId id)
{
    const TreeItem* item = s.items[id];
    if (item->firstChild)
        return item->firstChild;
    for (; id; id = s.items[id]->parent)
        if (s.items[id]->nextSibling)
            return s.items[id]->nextSibling;
    return 0;
}

void AnswerAccessibleQueryCallingOut(TreeListState& s, AccessibleQuery& q)
{
    q.result = S_OK;
    switch (q.ask) {
    case AccessibleAsk::ChildCount: q.value = static_cast<LONG>(s.itemCount); return;
    case AccessibleAsk::Children: Children(s, q); return;
    case AccessibleAsk::HitTest: HitTest(s, q); return;
    case AccessibleAsk::Focus:
        if (!s.hasFocus) {
            q.result = S_FALSE;
            return;
        }
        q.hasId = true;     // the caret, or the control itself without one
        q.id = static_cast<LONG>(s.caret);
        return;
    case AccessibleAsk::Selection: Selection(s, q); return;
    default: break;
    }
    if (q.child < 0 || (q.child > 0 && !Item(s, static_cast<ItemId>(q.child)))) {
        q.result = E_INVALIDARG;    // no such item, or no longer
        return;
    }
    AnswerAboutCallingOut(s, static_cast<ItemId>(q.child), q);
}

}  // namespace treelist
