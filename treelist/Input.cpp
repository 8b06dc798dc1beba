#include "treelist/Input.h"

#include "treelist/HitTest.h"
#include "treelist/ItemTable.h"
#include "treelist/Notify.h"
#include "treelist/Recheck.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"
#include "treelist/TreeOps.h"
#include "utils/DpiScale.h"

namespace treelist {

namespace {

bool KeyHeld(int key)
{
    return GetKeyState(key) < 0;
}

int PageRows(const TreeListState& s)
{
    return s.rowsFit - 1 > 1 ? s.rowsFit - 1 : 1;
}

bool CellMode(const TreeListState& s)
{
    return (s.exStyle & TVS_EX_CELLSELECT_TL) != 0;
}

bool MultiSelect(const TreeListState& s)
{
    return (s.exStyle & TVS_EX_MULTISELECT_TL) != 0;
}

// Before a key or button is handled the control takes the focus; false when the owner
// destroyed it meanwhile.
bool FocusFirstCallingOut(TreeListState& s)
{
    Recheck check(s);
    if (GetFocus() != s.hwnd)
        TakeFocusCallingOut(s);
    return check.Holds();
}

// ---- keys ----

void ScrollWithCtrlCallingOut(TreeListState& s, WORD key)
{
    switch (key) {
    case VK_HOME: ScrollToRowCallingOut(s, 0); break;
    case VK_UP: ScrollToRowCallingOut(s, s.firstRow - 1); break;
    case VK_DOWN: ScrollToRowCallingOut(s, s.firstRow + 1); break;
    case VK_PRIOR: ScrollToRowCallingOut(s, s.firstRow - PageRows(s)); break;
    case VK_NEXT: ScrollToRowCallingOut(s, s.firstRow + PageRows(s)); break;
    case VK_END: ScrollToRowCallingOut(s, MaxFirstRow(s)); break;
    case VK_LEFT: ScrollToXCallingOut(s, s.scrollX - s.metrics.scrollLine); break;
    case VK_RIGHT: ScrollToXCallingOut(s, s.scrollX + s.metrics.scrollLine); break;
    case VK_SPACE:
        if (s.caret && HasChildren(s, *s.items[s.caret]))
            ExpandItemCallingOut(s, s.caret, TVE_TOGGLE);
        break;
    default: break;
    }
}

int ParentRow(TreeListState& s, ItemId id)
{
    ItemId parent = id ? s.items[id]->parent : 0;
    return parent ? RowOf(s, parent) : 0;
}

// Left and Right move between columns in cell-selection mode with two columns or more.
bool MovesByColumn(const TreeListState& s)
{
    return CellMode(s) && s.columnCount >= 2;
}

// Keys that act on the caret item (its check box, its expansion) instead of moving the
// caret; true when `key` was one of them.
bool ActOnCaretItemCallingOut(TreeListState& s, WORD key, int column)
{
    ItemId caret = s.caret;
    TreeItem* item = Item(s, caret);
    if (!item)
        return false;
    bool expanded = (item->state & TVIS_EXPANDED) != 0;
    switch (key) {
    case VK_SPACE:
        if ((s.style & TVS_CHECKBOXES) && column == 0)
            ToggleCheckBox(s, caret);
        return true;
    case VK_ADD:
        if (!expanded)
            ExpandItemCallingOut(s, caret, TVE_EXPAND);
        return true;
    case VK_SUBTRACT:
        if (expanded)
            ExpandItemCallingOut(s, caret, TVE_COLLAPSE);
        return true;
    case VK_MULTIPLY:
        ExpandSubtreeCallingOut(s, caret);
        return true;
    case VK_LEFT:
        if (MovesByColumn(s) || !expanded || !HasChildren(s, *item))
            return false;
        ExpandItemCallingOut(s, caret, TVE_COLLAPSE);
        return true;
    case VK_RIGHT:
        if (MovesByColumn(s) || expanded)
            return false;
        if (HasChildren(s, *item))
            ExpandItemCallingOut(s, caret, TVE_EXPAND);
        return true;
    default:
        return false;
    }
}

// Moves row r and column c for a key.
void MoveForKey(TreeListState& s, WORD key, int& r, int& c)
{
    switch (key) {
    case VK_BACK: r = ParentRow(s, s.caret); break;
    case VK_PRIOR: r -= PageRows(s); break;
    case VK_NEXT: r += PageRows(s); break;
    case VK_END: r = static_cast<int>(s.rowCount) - 1; break;
    case VK_HOME: r = 0; break;
    case VK_UP: --r; break;
    case VK_DOWN: ++r; break;
    case VK_LEFT:
        if (MovesByColumn(s))
            --c;
        else
            r = ParentRow(s, s.caret);
        break;
    case VK_RIGHT:
        if (MovesByColumn(s))
            ++c;
        else if (Item(s, s.caret))
            ++r;    // an expanded item: its first child
        break;
    default: break;
    }
}

void SelectRange(TreeListState& s, int from, int to)
{
    if (from > to) {
        int t = from;
        from = to;
        to = t;
    }
    for (int row = from; row <= to; ++row) {
        ItemId id = ItemAtRow(s, row);
        if (id && !(s.items[id]->state & TVIS_SELECTED)) {
            ApplyState(s, id, TVIS_SELECTED, TVIS_SELECTED);
            InvalidateItem(s, id);
        }
    }
}

// The caret goes to row r and column c, when they differ from where it was.
void MoveCaretToCallingOut(TreeListState& s, int oldRow, int oldColumn, int r, int c)
{
    if (c > s.columnCount - 1)
        c = s.columnCount - 1;
    if (c < 0 || !CellMode(s))
        c = 0;
    if (r > static_cast<int>(s.rowCount) - 1)
        r = static_cast<int>(s.rowCount) - 1;
    if (r < 0)
        r = 0;
    if (s.rowCount == 0 || (r == oldRow && c == oldColumn))
        return;
    ItemId target = ItemAtRow(s, r);
    bool extend = MultiSelect(s) && KeyHeld(VK_SHIFT) && oldRow >= 0;
    if (extend)
        SelectRange(s, oldRow, r);
    Recheck check(s);
    if (target)
        SelectCaretCallingOut(s, target, c, !extend && MultiSelect(s));
    if (check.Holds() && s.caret)
        EnsureItemShownCallingOut(s, s.caret);
}

void MoveCaretForKeyCallingOut(TreeListState& s, WORD key)
{
    int oldRow = s.caret ? RowOf(s, s.caret) : -1;
    int oldColumn = s.caretColumn;
    int r = oldRow < 0 ? 0 : oldRow;
    int c = oldColumn;
    Recheck check(s);
    if (!ActOnCaretItemCallingOut(s, key, c))
        MoveForKey(s, key, r, c);
    if (!check.Holds())
        return;
    // The owner may have moved the caret's row while it was told of an expansion.
    if (oldRow >= 0 && s.caret)
        oldRow = RowOf(s, s.caret);
    MoveCaretToCallingOut(s, oldRow, oldColumn, r, c);
}

// ---- mouse ----

bool OnItemProper(const TreeListState& s, UINT flags)
{
    bool fullRow = (s.style & TVS_FULLROWSELECT) != 0;
    if (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON | TVHT_ONSUBICON | TVHT_ONSUBLABEL))
        return true;
    return fullRow && (flags & (TVHT_ONITEMRIGHT | TVHT_ONSUBRIGHT));
}

void ToggleFromMouseCallingOut(TreeListState& s, ItemId id)
{
    TreeItem* item = s.items[id];
    if (item->state & TVIS_EXPANDPARTIAL_TL) {
        item->state &= ~TVIS_EXPANDPARTIAL_TL;
        InvalidateItem(s, id);
    } else {
        ExpandItemCallingOut(s, id, TVE_TOGGLE);
    }
}

UINT ClickCode(UINT message)
{
    switch (message) {
    case WM_LBUTTONDBLCLK: return NM_DBLCLK;
    case WM_RBUTTONDOWN: return NM_RCLICK;
    case WM_RBUTTONDBLCLK: return NM_RDBLCLK;
    default: return NM_CLICK;
    }
}

bool IsLeft(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
}

void ArmDrag(TreeListState& s, UINT message, const HitResult& hit, int column, POINT point)
{
    if ((s.style & TVS_DISABLEDRAGDROP) || (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN))
        return;
    s.dragItem = hit.item;
    s.dragColumn = column;
    s.dragButton = IsLeft(message) ? 1 : 2;
    s.dragStart = point;
}

// A press on the item itself: it becomes the caret (or, Ctrl-clicked while selected in
// a multiple selection, the anchor), and a double click toggles it.
void ClickItemCallingOut(TreeListState& s, UINT message, WPARAM keys, const HitResult& hit, POINT point)
{
    int column = CellMode(s) ? hit.column : 0;
    ArmDrag(s, message, hit, column, point);
    bool ctrl = (keys & MK_CONTROL) != 0;
    Recheck check(s);
    if (ctrl && MultiSelect(s) && IsLeft(message) && (s.items[hit.item]->state & TVIS_SELECTED)) {
        s.anchor = hit.item;
        InvalidateItem(s, hit.item);
    } else {
        SelectCaretCallingOut(s, hit.item, column, !ctrl);
        if (!check.Holds())
            return;
        if (s.caret)
            EnsureItemShownCallingOut(s, s.caret);
    }
    if (message == WM_LBUTTONDBLCLK && check.Holds(hit.item))
        ToggleFromMouseCallingOut(s, hit.item);
}

// What the press does before the click is notified.
void PressCallingOut(TreeListState& s, UINT message, WPARAM keys, const HitResult& hit, POINT point)
{
    bool left = IsLeft(message);
    Recheck check(s);
    if ((hit.flags & TVHT_ONITEMBUTTON) && left)
        ToggleFromMouseCallingOut(s, hit.item);
    if (!check.Holds(hit.item))
        return;
    if ((hit.flags & TVHT_ONITEMSTATEICON) && left && (s.style & TVS_CHECKBOXES))
        ToggleCheckBox(s, hit.item);
    if (OnItemProper(s, hit.flags))
        ClickItemCallingOut(s, message, keys, hit, point);
}

}  // namespace

void TakeFocusCallingOut(TreeListState& s)
{
    HWND hwnd = s.hwnd;
    UnlockScope unlock(s.lock);
    SetFocus(hwnd);
}

void OnKeyDownCallingOut(TreeListState& s, WORD key)
{
    if (!s.enabled || !FocusFirstCallingOut(s))
        return;
    if (key == VK_RETURN) {
        NMHDR nm = {};
        SendNotifyCallingOut(s, nm, NM_RETURN);
        return;
    }
    Recheck check(s);
    if (KeyHeld(VK_CONTROL))
        ScrollWithCtrlCallingOut(s, key);
    else
        MoveCaretForKeyCallingOut(s, key);
    if (check.Holds())
        NotifyKeyDownCallingOut(s, key);
    if (check.Holds() && IsContextMenuKey(key))
        OnContextMenuKeyCallingOut(s);
}

bool IsContextMenuKey(WORD key)
{
    return key == VK_APPS || (key == VK_F10 && KeyHeld(VK_SHIFT));
}

void OnContextMenuKeyCallingOut(TreeListState& s)
{
    if (s.enabled)
        NotifyContextMenuCallingOut(s, -1);
}

void OnMouseButtonCallingOut(TreeListState& s, UINT message, WPARAM keys, POINT point)
{
    if (!s.enabled || !FocusFirstCallingOut(s))
        return;
    Recheck check(s);
    HitResult hit = HitTestCallingOut(s, point);
    if (hit.item && check.Holds(hit.item))
        PressCallingOut(s, message, keys, hit, point);
    if (!check.Holds())
        return;
    if (!check.Holds(hit.item))
        hit.item = 0;
    LRESULT answer = NotifyTreeViewCallingOut(s, ClickCode(message), 0, hit.item, hit.item ? hit.column : 0, 0, 0,
                                              point);
    // An owner that did not take the right click itself gets the context menu message.
    if (message == WM_RBUTTONDOWN && answer == 0 && check.Holds()) {
        POINT screen = point;
        ClientToScreen(s.hwnd, &screen);
        NotifyContextMenuCallingOut(s, MAKELPARAM(screen.x, screen.y));
    }
}

void OnMouseMoveCallingOut(TreeListState& s, WPARAM keys, POINT point)
{
    if (!s.dragButton)
        return;
    bool held = (keys & (s.dragButton == 1 ? MK_LBUTTON : MK_RBUTTON)) != 0;
    if (!held || !Item(s, s.dragItem)) {
        s.dragButton = 0;
        return;
    }
    int dx = point.x - s.dragStart.x;
    int dy = point.y - s.dragStart.y;
    if (dx < 0)
        dx = -dx;
    if (dy < 0)
        dy = -dy;
    const velutils::DpiScale scale(s.dpi);
    if (dx < scale.SystemMetric(SM_CXDRAG) && dy < scale.SystemMetric(SM_CYDRAG))
        return;
    UINT code = s.dragButton == 1 ? TVN_BEGINDRAGA : TVN_BEGINRDRAGA;
    s.dragButton = 0;
    NotifyTreeViewCallingOut(s, code, 0, s.dragItem, s.dragColumn, 0, 0, s.dragStart);
}

void OnMouseButtonUp(TreeListState& s)
{
    s.dragButton = 0;
}

}  // namespace treelist
