#include "treelist/TreeOps.h"

#include <vector>

#include "treelist/ItemTable.h"
#include "treelist/Notify.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"

namespace treelist {

namespace {

UINT ExpandAction(const TreeListState& s, ItemId id)
{
    return (s.items[id]->state & TVIS_EXPANDED) ? TVE_COLLAPSE : TVE_EXPAND;
}

void CollapseSiblings(TreeListState& s, ItemId id)
{
    ItemId parent = s.items[id]->parent;
    ItemId first = parent ? s.items[parent]->firstChild : s.firstRoot;
    for (ItemId sibling = first; sibling; ) {
        ItemId next = s.items[sibling]->nextSibling;
        if (sibling != id && (s.items[sibling]->state & TVIS_EXPANDED))
            ExpandItem(s, sibling, TVE_COLLAPSE);
        if (!Item(s, id) || (next && !Item(s, next)))
            return;
        sibling = next;
    }
}

// The caret follows a collapse up to its nearest visible ancestor.
void KeepCaretVisible(TreeListState& s)
{
    ItemId caret = s.caret;
    if (!caret || IsVisible(s, caret))
        return;
    ItemId ancestor = s.items[caret]->parent;
    while (ancestor && !IsVisible(s, ancestor))
        ancestor = s.items[ancestor]->parent;
    SelectCaret(s, ancestor, 0, true, CaretMove::Internal);
}

// Collapses the old caret and its ancestors up to the first one that holds the new
// caret.
void CollapseOldBranch(TreeListState& s, ItemId old, ItemId now)
{
    std::vector<ItemId> branch;
    for (ItemId a = old; a && a != now && !IsAncestor(s, a, now); a = s.items[a]->parent)
        branch.push_back(a);
    for (ItemId a : branch) {
        if (!Item(s, now))
            return;
        if (Item(s, a) && (s.items[a]->state & TVIS_EXPANDED))
            ExpandItem(s, a, TVE_COLLAPSE);
    }
}

// TVS_SINGLEEXPAND after a selection: the old branch closes and the new caret opens,
// unless the owner answers TVNRET_SKIPOLD or TVNRET_SKIPNEW.
void SingleExpand(TreeListState& s, ItemId old, ItemId now)
{
    LRESULT answer = NotifyTreeView(s, TVN_SINGLEEXPAND, 0, now, 0, old, 0);
    if (s.destroyed || !Item(s, now))
        return;
    if (!(answer & TVNRET_SKIPOLD) && Item(s, old))
        CollapseOldBranch(s, old, now);
    if (!(answer & TVNRET_SKIPNEW) && Item(s, now) && !(s.items[now]->state & TVIS_EXPANDED))
        ExpandItem(s, now, TVE_EXPAND);
}

}  // namespace

void InvalidateItem(TreeListState& s, ItemId id)
{
    bool exact = false;
    int row = RowAtLeast(s, id, exact);
    if (row < 0 || row > s.firstRow + s.rowsFitPartial)
        return;
    if (!exact)
        row = RowOf(s, id);
    if (row < s.firstRow || row > s.firstRow + s.rowsFitPartial)
        return;
    RECT area = { 0, s.headerHeight + (row - s.firstRow) * s.rowHeight, s.clientWidth, 0 };
    area.bottom = area.top + s.rowHeight;
    InvalidateRect(s.hwnd, &area, FALSE);
}

void InvalidateRowsFrom(TreeListState& s, ItemId id)
{
    bool exact = false;
    int row = id ? RowAtLeast(s, id, exact) : 0;
    if (row > s.firstRow + s.rowsFitPartial)
        return;
    if (row < s.firstRow)
        row = s.firstRow;
    RECT area = { 0, s.headerHeight + (row - s.firstRow) * s.rowHeight, s.clientWidth, s.clientHeight };
    InvalidateRect(s.hwnd, &area, FALSE);
}

LRESULT ExpandItem(TreeListState& s, ItemId id, UINT code)
{
    TreeItem* item = Item(s, id);
    if (!item)
        return 0;
    UINT action = code & 3;
    bool expanded = (item->state & TVIS_EXPANDED) != 0;
    if (action == TVE_TOGGLE)
        action = expanded ? TVE_COLLAPSE : TVE_EXPAND;
    if (action == TVE_COLLAPSE && !expanded) {
        bool changed = (item->state & TVIS_EXPANDPARTIAL_TL) != 0;
        item->state &= ~TVIS_EXPANDPARTIAL_TL;
        if (code & TVE_COLLAPSERESET) {
            DeleteChildren(s, id);
            s.items[id]->state &= ~TVIS_EXPANDEDONCE;
            changed = true;
        }
        if (changed)
            InvalidateItem(s, id);
        return changed ? 1 : 0;
    }
    if (action == TVE_EXPAND && expanded) {
        if (code & TVE_EXPANDPARTIAL)
            item->state |= TVIS_EXPANDPARTIAL_TL;
        return 1;
    }
    if (action != TVE_EXPAND && action != TVE_COLLAPSE)
        return 0;
    // An item reset by TVE_COLLAPSERESET is asked again: the owner fills it lazily.
    bool refill = !(item->state & TVIS_EXPANDEDONCE);
    if (action == TVE_EXPAND && !HasChildren(s, *item) && !refill)
        return 0;

    if (NotifyTreeView(s, TVN_ITEMEXPANDINGA, ExpandAction(s, id), id, 0))
        return Item(s, id) ? 0 : -1;
    if (!Item(s, id))
        return -1;
    if (action == TVE_EXPAND && !HasChildren(s, *s.items[id]))
        return 0;
    if ((s.style & TVS_SINGLEEXPAND) && action == TVE_EXPAND) {
        CollapseSiblings(s, id);
        if (!Item(s, id))
            return -1;
    }
    item = s.items[id];
    bool nowExpanded = (item->state & TVIS_EXPANDED) != 0;
    if (nowExpanded == (action == TVE_COLLAPSE)) {
        SetExpandedBit(s, id, action == TVE_EXPAND);
        item->state &= ~TVIS_EXPANDPARTIAL_TL;
        if (code & TVE_EXPANDPARTIAL)
            item->state |= TVIS_EXPANDPARTIAL_TL;
        if (action == TVE_EXPAND)
            item->state |= TVIS_EXPANDEDONCE;
        if (IsVisible(s, id)) {
            InvalidateRowsFrom(s, id);
            s.scrollBarsDirty = true;
        }
    }
    NotifyTreeView(s, TVN_ITEMEXPANDEDA, ExpandAction(s, id), id, 0);
    if (!Item(s, id))
        return -1;
    if (action == TVE_COLLAPSE && (code & TVE_COLLAPSERESET)) {
        DeleteChildren(s, id);
        s.items[id]->state &= ~TVIS_EXPANDEDONCE;
    }
    KeepCaretVisible(s);
    return 1;
}

bool ExpandAncestors(TreeListState& s, ItemId id)
{
    if (!Item(s, id))
        return false;
    // Top-down, each closed ancestor once: an owner that closes one again wins.
    std::vector<ItemId> chain;
    for (ItemId a = s.items[id]->parent; a; a = s.items[a]->parent)
        chain.push_back(a);
    for (auto a = chain.rbegin(); a != chain.rend(); ++a) {
        if (!Item(s, *a) || !Item(s, id))
            return false;
        if (!(s.items[*a]->state & TVIS_EXPANDED) && ExpandItem(s, *a, TVE_EXPAND) != 1)
            return false;
    }
    return Item(s, id) && IsVisible(s, id);
}

void ExpandSubtree(TreeListState& s, ItemId root)
{
    ItemId id = root;
    while (id && Item(s, root)) {
        TreeItem* item = Item(s, id);
        if (!item)
            return;
        if (!(item->state & TVIS_EXPANDED) && HasChildren(s, *item) && ExpandItem(s, id, TVE_EXPAND) < 0)
            return;
        item = Item(s, id);
        if (!item)
            return;
        if ((item->state & TVIS_EXPANDED) && item->firstChild) {
            id = item->firstChild;
            continue;
        }
        while (id != root && Item(s, id) && !s.items[id]->nextSibling)
            id = s.items[id]->parent;
        if (id == root || !Item(s, id))
            return;
        id = s.items[id]->nextSibling;
    }
}

void DeleteChildren(TreeListState& s, ItemId id)
{
    bool visible = IsVisible(s, id) && (s.items[id]->state & TVIS_EXPANDED);
    while (Item(s, id) && s.items[id]->lastChild)
        DeleteItem(s, s.items[id]->lastChild);
    if (visible) {
        InvalidateRowsFrom(s, id);
        s.scrollBarsDirty = true;
    }
}

void DeselectAll(TreeListState& s, ItemId except)
{
    if (s.selectedCount == 0 || (s.selectedCount == 1 && except && (s.items[except]->state & TVIS_SELECTED)))
        return;
    for (ItemId id = 1; id < s.capacity; ++id) {
        TreeItem* item = s.items[id];
        if (item && id != except && (item->state & TVIS_SELECTED)) {
            ApplyState(s, id, 0, TVIS_SELECTED);
            InvalidateItem(s, id);
        }
    }
}

LRESULT SelectCaret(TreeListState& s, ItemId id, int column, bool deselectOthers, CaretMove move)
{
    if (!ColumnExists(s, column) || (id && !Item(s, id)))
        return 0;
    if (id == s.caret && column == s.caretColumn)
        return !id || ExpandAncestors(s, id) ? 1 : 0;
    bool multi = (s.exStyle & TVS_EX_MULTISELECT_TL) != 0;
    ItemId old = s.caret;
    int oldColumn = s.caretColumn;
    if (NotifyTreeView(s, TVN_SELCHANGINGA, TVC_UNKNOWN, id, column, old, oldColumn) || s.destroyed)
        return 0;
    // The caret is always on a row.
    if (id && (!ExpandAncestors(s, id) || s.destroyed))
        return 0;
    if (!ColumnExists(s, column))
        column = 0;
    if (multi && deselectOthers)
        DeselectAll(s, id);
    old = s.caret;
    if (old && (!multi || deselectOthers)) {
        ApplyState(s, old, 0, TVIS_SELECTED);
        InvalidateItem(s, old);
    }
    if (id) {
        ApplyState(s, id, TVIS_SELECTED, TVIS_SELECTED);
        if (column > 0) {
            TreeCell* cell = Cell(s, id, column);
            cell->colorFlags |= CLF_EXISTS;
        }
        InvalidateItem(s, id);
    }
    s.caret = id;
    s.caretColumn = id ? column : 0;
    s.anchor = id;
    NotifyTreeView(s, TVN_SELCHANGEDA, TVC_UNKNOWN, id, column, old, oldColumn);
    if (move == CaretMove::Selection && (s.style & TVS_SINGLEEXPAND) && id && id != old && !s.destroyed &&
        s.caret == id)
        SingleExpand(s, old, id);
    if (!s.destroyed && s.caret && s.caret == id)
        EnsureItemShown(s, id);
    return 1;
}

void SetDropHilite(TreeListState& s, ItemId id)
{
    if (s.dropHilite == id)
        return;
    if (s.dropHilite) {
        ApplyState(s, s.dropHilite, 0, TVIS_DROPHILITED);
        InvalidateItem(s, s.dropHilite);
    }
    s.dropHilite = id;
    if (id) {
        ApplyState(s, id, TVIS_DROPHILITED, TVIS_DROPHILITED);
        InvalidateItem(s, id);
    }
}

void ToggleCheckBox(TreeListState& s, ItemId id)
{
    TreeItem* item = Item(s, id);
    if (!item)
        return;
    UINT image = (item->state & TVIS_STATEIMAGEMASK) >> 12;
    UINT next = image == 2 ? 1 : 2;
    ApplyState(s, id, INDEXTOSTATEIMAGEMASK(next), TVIS_STATEIMAGEMASK);
    InvalidateItem(s, id);
}

}  // namespace treelist
