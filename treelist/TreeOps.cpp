#include "treelist/TreeOps.h"

#include <vector>

#include "treelist/ItemTable.h"
#include "treelist/Notify.h"
#include "treelist/Recheck.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"

namespace treelist {

namespace {

bool IsExpanded(const TreeListState& s, ItemId id)
{
    return (s.items[id]->state & TVIS_EXPANDED) != 0;
}

// The action the expansion notifications carry: from the expanded bit as it is now.
UINT ExpandAction(const TreeListState& s, ItemId id)
{
    return IsExpanded(s, id) ? TVE_COLLAPSE : TVE_EXPAND;
}

// The owner's children go; it fills them again when the item is next expanded.
void ResetChildren(TreeListState& s, ItemId id)
{
    DeleteChildren(s, id);
    s.items[id]->state &= ~TVIS_EXPANDEDONCE;
}

// Collapsing an item that is not expanded: only the partial mark and, with
// TVE_COLLAPSERESET, the children go, without notifications.
LRESULT CollapseClosed(TreeListState& s, ItemId id, UINT code)
{
    TreeItem* item = s.items[id];
    bool changed = (item->state & TVIS_EXPANDPARTIAL_TL) != 0;
    item->state &= ~TVIS_EXPANDPARTIAL_TL;
    if (code & TVE_COLLAPSERESET) {
        ResetChildren(s, id);
        changed = true;
    }
    if (changed)
        InvalidateItem(s, id);
    return changed ? 1 : 0;
}

constexpr LRESULT kAskOwner = -2;

// What is done without the owner: an item already as asked (only the partial mark may
// change), a closed item collapsed (see CollapseClosed), an item that cannot expand.
// Returns the result, or kAskOwner.
LRESULT ExpandQuietly(TreeListState& s, ItemId id, UINT action, UINT code)
{
    TreeItem* item = s.items[id];
    bool expanded = IsExpanded(s, id);
    if (action == TVE_COLLAPSE && !expanded)
        return CollapseClosed(s, id, code);
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
    return kAskOwner;
}

// The change itself, between the two notifications.
void FlipExpansion(TreeListState& s, ItemId id, UINT action, UINT code)
{
    TreeItem* item = s.items[id];
    if (IsExpanded(s, id) != (action == TVE_COLLAPSE))
        return;
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

void CollapseSiblingsCallingOut(TreeListState& s, ItemId id)
{
    Recheck check(s);
    ItemId parent = s.items[id]->parent;
    ItemId first = parent ? s.items[parent]->firstChild : s.firstRoot;
    for (ItemId sibling = first; sibling; ) {
        ItemId next = s.items[sibling]->nextSibling;
        if (sibling != id && IsExpanded(s, sibling))
            ExpandItemCallingOut(s, sibling, TVE_COLLAPSE);
        if (!check.Holds(id) || !check.Holds(next))
            return;
        sibling = next;
    }
}

// The caret follows a collapse up to its nearest visible ancestor.
void KeepCaretVisibleCallingOut(TreeListState& s)
{
    ItemId caret = s.caret;
    if (!caret || IsVisible(s, caret))
        return;
    ItemId ancestor = s.items[caret]->parent;
    while (ancestor && !IsVisible(s, ancestor))
        ancestor = s.items[ancestor]->parent;
    SelectCaretCallingOut(s, ancestor, 0, true, CaretMove::Internal);
}

// The old caret and its ancestors up to the first one that holds the new caret close.
void CollapseOldBranchCallingOut(TreeListState& s, ItemId old, ItemId now)
{
    std::vector<ItemId> branch;
    for (ItemId a = old; a && a != now && !IsAncestor(s, a, now); a = s.items[a]->parent)
        branch.push_back(a);
    Recheck check(s);
    for (ItemId a : branch) {
        if (!check.Holds(now))
            return;
        if (check.Holds(a) && IsExpanded(s, a))
            ExpandItemCallingOut(s, a, TVE_COLLAPSE);
    }
}

// TVS_SINGLEEXPAND after a selection: the old branch closes and the new caret opens,
// unless the owner answers TVNRET_SKIPOLD or TVNRET_SKIPNEW.
void SingleExpandCallingOut(TreeListState& s, ItemId old, ItemId now)
{
    Recheck check(s);
    LRESULT answer = NotifyTreeViewCallingOut(s, TVN_SINGLEEXPAND, 0, now, 0, old, 0);
    if (!(answer & TVNRET_SKIPOLD) && check.Holds(now) && check.Holds(old))
        CollapseOldBranchCallingOut(s, old, now);
    if (!(answer & TVNRET_SKIPNEW) && check.Holds(now) && !IsExpanded(s, now))
        ExpandItemCallingOut(s, now, TVE_EXPAND);
}

// The owner was asked and agreed: the selected bits and the caret move. Returns the
// caret replaced (the owner may have moved it while it was asked).
ItemId ApplySelection(TreeListState& s, ItemId id, int column, bool deselectOthers)
{
    bool multi = (s.exStyle & TVS_EX_MULTISELECT_TL) != 0;
    if (multi && deselectOthers)
        DeselectAll(s, id);
    ItemId old = s.caret;
    if (old && (!multi || deselectOthers)) {
        ApplyState(s, old, 0, TVIS_SELECTED);
        InvalidateItem(s, old);
    }
    if (id) {
        ApplyState(s, id, TVIS_SELECTED, TVIS_SELECTED);
        if (column > 0)
            Cell(s, id, column)->colorFlags |= CLF_EXISTS;
        InvalidateItem(s, id);
    }
    SetCaret(s, id, id ? column : 0);
    s.anchor = id;
    return old;
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

LRESULT ExpandItemCallingOut(TreeListState& s, ItemId id, UINT code)
{
    if (!Item(s, id))
        return 0;
    UINT action = code & 3;
    if (action == TVE_TOGGLE)
        action = IsExpanded(s, id) ? TVE_COLLAPSE : TVE_EXPAND;
    LRESULT quiet = ExpandQuietly(s, id, action, code);
    if (quiet != kAskOwner)
        return quiet;
    Recheck check(s);
    if (NotifyTreeViewCallingOut(s, TVN_ITEMEXPANDINGA, ExpandAction(s, id), id, 0))
        return check.Holds(id) ? 0 : -1;
    if (!check.Holds(id))
        return -1;
    if (action == TVE_EXPAND && !HasChildren(s, *s.items[id]))
        return 0;
    if ((s.style & TVS_SINGLEEXPAND) && action == TVE_EXPAND) {
        CollapseSiblingsCallingOut(s, id);
        if (!check.Holds(id))
            return -1;
    }
    FlipExpansion(s, id, action, code);
    NotifyTreeViewCallingOut(s, TVN_ITEMEXPANDEDA, ExpandAction(s, id), id, 0);
    if (!check.Holds(id))
        return -1;
    if (action == TVE_COLLAPSE && (code & TVE_COLLAPSERESET))
        ResetChildren(s, id);
    KeepCaretVisibleCallingOut(s);
    return 1;
}

bool ExpandAncestorsCallingOut(TreeListState& s, ItemId id)
{
    if (!Item(s, id))
        return false;
    // Top-down, each closed ancestor once: an owner that closes one again wins.
    std::vector<ItemId> chain;
    for (ItemId a = s.items[id]->parent; a; a = s.items[a]->parent)
        chain.push_back(a);
    Recheck check(s);
    for (auto a = chain.rbegin(); a != chain.rend(); ++a) {
        if (!check.Holds(*a) || !check.Holds(id))
            return false;
        if (!IsExpanded(s, *a) && ExpandItemCallingOut(s, *a, TVE_EXPAND) != 1)
            return false;
    }
    return check.Holds(id) && IsVisible(s, id);
}

void ExpandSubtreeCallingOut(TreeListState& s, ItemId root)
{
    Recheck check(s);
    ItemId id = root;
    while (id && check.Holds(root) && check.Holds(id)) {
        TreeItem* item = s.items[id];
        if (!IsExpanded(s, id) && HasChildren(s, *item) && ExpandItemCallingOut(s, id, TVE_EXPAND) < 0)
            return;
        if (!check.Holds(id))
            return;
        item = s.items[id];
        if (IsExpanded(s, id) && item->firstChild) {
            id = item->firstChild;
            continue;
        }
        while (id != root && check.Holds(id) && !s.items[id]->nextSibling)
            id = s.items[id]->parent;
        if (id == root || !check.Holds(id))
            return;
        id = s.items[id]->nextSibling;
    }
}

void DeleteChildren(TreeListState& s, ItemId id)
{
    bool visible = IsVisible(s, id) && IsExpanded(s, id);
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

LRESULT SelectCaretCallingOut(TreeListState& s, ItemId id, int column, bool deselectOthers, CaretMove move)
{
    if (!ColumnExists(s, column) || (id && !Item(s, id)))
        return 0;
    Recheck check(s);
    // The caret is always on a row.
    if (id == s.caret && column == s.caretColumn)
        return !id || ExpandAncestorsCallingOut(s, id) ? 1 : 0;
    int oldColumn = s.caretColumn;
    if (NotifyTreeViewCallingOut(s, TVN_SELCHANGINGA, TVC_UNKNOWN, id, column, s.caret, oldColumn) ||
        !check.Holds())
        return 0;
    if (id && (!ExpandAncestorsCallingOut(s, id) || !check.Holds()))
        return 0;
    if (!ColumnExists(s, column))
        column = 0;
    ItemId old = ApplySelection(s, id, column, deselectOthers);
    NotifyTreeViewCallingOut(s, TVN_SELCHANGEDA, TVC_UNKNOWN, id, column, old, oldColumn);
    bool single = move == CaretMove::Selection && (s.style & TVS_SINGLEEXPAND) && id && id != old;
    if (single && check.Holds(id) && s.caret == id)
        SingleExpandCallingOut(s, old, id);
    if (check.Holds(id) && s.caret == id)
        EnsureItemShownCallingOut(s, id);
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
