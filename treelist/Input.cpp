#include "treelist/Input.h"

#include "treelist/HitTest.h"
#include "treelist/ItemTable.h"
#include "treelist/Notify.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"
#include "treelist/TreeOps.h"

namespace treelist {

namespace {

constexpr int kCtrlLineWidth = 16;

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

void ScrollWithCtrl(TreeListState& s, WORD key)
{
    switch (key) {
    case VK_HOME: ScrollToRow(s, 0); break;
    case VK_UP: ScrollToRow(s, s.firstRow - 1); break;
    case VK_DOWN: ScrollToRow(s, s.firstRow + 1); break;
    case VK_PRIOR: ScrollToRow(s, s.firstRow - PageRows(s)); break;
    case VK_NEXT: ScrollToRow(s, s.firstRow + PageRows(s)); break;
    case VK_END: ScrollToRow(s, MaxFirstRow(s)); break;
    case VK_LEFT: ScrollToX(s, s.scrollX - kCtrlLineWidth); break;
    case VK_RIGHT: ScrollToX(s, s.scrollX + kCtrlLineWidth); break;
    case VK_SPACE:
        if (s.caret && HasChildren(s, *s.items[s.caret]))
            ExpandItem(s, s.caret, TVE_TOGGLE);
        break;
    default: break;
    }
}

int ParentRow(TreeListState& s, ItemId id)
{
    ItemId parent = id ? s.items[id]->parent : 0;
    return parent ? RowOf(s, parent) : 0;
}

// Moves row r and column c for a key; may expand or collapse the caret item instead.
void MoveForKey(TreeListState& s, WORD key, int& r, int& c)
{
    ItemId caret = s.caret;
    TreeItem* item = Item(s, caret);
    bool cells = CellMode(s) && s.columnCount >= 2;
    switch (key) {
    case VK_BACK: r = ParentRow(s, caret); break;
    case VK_SPACE:
        if ((s.style & TVS_CHECKBOXES) && item && c == 0)
            ToggleCheckBox(s, caret);
        break;
    case VK_PRIOR: r -= PageRows(s); break;
    case VK_NEXT: r += PageRows(s); break;
    case VK_END: r = static_cast<int>(s.rowCount) - 1; break;
    case VK_HOME: r = 0; break;
    case VK_UP: --r; break;
    case VK_DOWN: ++r; break;
    case VK_ADD:
        if (item && !(item->state & TVIS_EXPANDED))
            ExpandItem(s, caret, TVE_EXPAND);
        break;
    case VK_SUBTRACT:
        if (item && (item->state & TVIS_EXPANDED))
            ExpandItem(s, caret, TVE_COLLAPSE);
        break;
    case VK_MULTIPLY:
        if (item)
            ExpandSubtree(s, caret);
        break;
    case VK_LEFT:
        if (cells)
            --c;
        else if (item && (item->state & TVIS_EXPANDED) && HasChildren(s, *item))
            ExpandItem(s, caret, TVE_COLLAPSE);
        else
            r = ParentRow(s, caret);
        break;
    case VK_RIGHT:
        if (cells)
            ++c;
        else if (item && !(item->state & TVIS_EXPANDED)) {
            if (HasChildren(s, *item))
                ExpandItem(s, caret, TVE_EXPAND);
        } else if (item)
            ++r;
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

bool OnItemProper(const TreeListState& s, UINT flags)
{
    bool fullRow = (s.style & TVS_FULLROWSELECT) != 0;
    if (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON | TVHT_ONSUBICON | TVHT_ONSUBLABEL))
        return true;
    return fullRow && (flags & (TVHT_ONITEMRIGHT | TVHT_ONSUBRIGHT));
}

void ToggleFromMouse(TreeListState& s, ItemId id)
{
    TreeItem* item = s.items[id];
    if (item->state & TVIS_EXPANDPARTIAL_TL) {
        item->state &= ~TVIS_EXPANDPARTIAL_TL;
        InvalidateItem(s, id);
    } else {
        ExpandItem(s, id, TVE_TOGGLE);
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

}  // namespace

void TakeFocus(TreeListState& s)
{
    HWND hwnd = s.hwnd;
    UnlockScope unlock(s.lock);
    SetFocus(hwnd);
}

void OnKeyDown(TreeListState& s, WORD key)
{
    if (!s.enabled)
        return;
    if (GetFocus() != s.hwnd)
        TakeFocus(s);
    if (s.destroyed)
        return;
    if (key == VK_RETURN) {
        NMHDR nm = {};
        SendNotify(s, nm, NM_RETURN);
        return;
    }
    if (KeyHeld(VK_CONTROL)) {
        ScrollWithCtrl(s, key);
    } else {
        int oldRow = s.caret ? RowOf(s, s.caret) : -1;
        int oldColumn = s.caretColumn;
        int r = oldRow < 0 ? 0 : oldRow;
        int c = oldColumn;
        MoveForKey(s, key, r, c);
        if (s.destroyed)
            return;
        if (oldRow >= 0 && s.caret)
            oldRow = RowOf(s, s.caret);
        if (c > s.columnCount - 1)
            c = s.columnCount - 1;
        if (c < 0 || !CellMode(s))
            c = 0;
        if (r > static_cast<int>(s.rowCount) - 1)
            r = static_cast<int>(s.rowCount) - 1;
        if (r < 0)
            r = 0;
        if (s.rowCount > 0 && (r != oldRow || c != oldColumn)) {
            ItemId target = ItemAtRow(s, r);
            bool extend = (s.exStyle & TVS_EX_MULTISELECT_TL) && KeyHeld(VK_SHIFT) && oldRow >= 0;
            if (extend)
                SelectRange(s, oldRow, r);
            if (target)
                SelectCaret(s, target, c, !extend && (s.exStyle & TVS_EX_MULTISELECT_TL));
            if (s.destroyed)
                return;
            if (s.caret)
                EnsureItemShown(s, s.caret);
        }
    }
    if (s.destroyed)
        return;
    NotifyKeyDown(s, key);
}

void OnMouseButton(TreeListState& s, UINT message, WPARAM keys, POINT point)
{
    if (!s.enabled)
        return;
    if (GetFocus() != s.hwnd)
        TakeFocus(s);
    if (s.destroyed)
        return;
    bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    HitResult hit = HitTest(s, point);
    if (hit.item && (hit.flags & TVHT_ONITEMBUTTON) && left)
        ToggleFromMouse(s, hit.item);
    if (s.destroyed)
        return;
    if (hit.item && Item(s, hit.item) && (hit.flags & TVHT_ONITEMSTATEICON) && left &&
        (s.style & TVS_CHECKBOXES))
        ToggleCheckBox(s, hit.item);
    if (hit.item && Item(s, hit.item) && OnItemProper(s, hit.flags)) {
        int column = CellMode(s) ? hit.column : 0;
        if (!(s.style & TVS_DISABLEDRAGDROP) && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)) {
            s.dragItem = hit.item;
            s.dragColumn = column;
            s.dragButton = left ? 1 : 2;
            s.dragStart = point;
        }
        bool ctrl = (keys & MK_CONTROL) != 0;
        bool multi = (s.exStyle & TVS_EX_MULTISELECT_TL) != 0;
        if (ctrl && multi && left && (s.items[hit.item]->state & TVIS_SELECTED)) {
            s.anchor = hit.item;
            InvalidateItem(s, hit.item);
        } else {
            SelectCaret(s, hit.item, column, !ctrl);
            if (s.destroyed)
                return;
            if (s.caret)
                EnsureItemShown(s, s.caret);
        }
        if (message == WM_LBUTTONDBLCLK && Item(s, hit.item))
            ToggleFromMouse(s, hit.item);
        if (s.destroyed)
            return;
    }
    if (hit.item && !Item(s, hit.item))
        hit.item = 0;
    NotifyTreeView(s, ClickCode(message), 0, hit.item, hit.item ? hit.column : 0, 0, 0, point);
}

void OnMouseMove(TreeListState& s, WPARAM keys, POINT point)
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
    if (dx < GetSystemMetrics(SM_CXDRAG) && dy < GetSystemMetrics(SM_CYDRAG))
        return;
    UINT code = s.dragButton == 1 ? TVN_BEGINDRAGA : TVN_BEGINRDRAGA;
    s.dragButton = 0;
    NotifyTreeView(s, code, 0, s.dragItem, s.dragColumn, 0, 0, s.dragStart);
}

void OnMouseButtonUp(TreeListState& s)
{
    s.dragButton = 0;
}

}  // namespace treelist
