#include "treelist/RowTable.h"

#include <cstdlib>

namespace treelist {

namespace {

// Next item below `root` in display order, treating `root` as expanded; 0 at the end.
ItemId NextWithin(const TreeListState& s, ItemId id, ItemId root, bool descend)
{
    const TreeItem* item = s.items[id];
    if (descend && item->firstChild && ((item->state & TVIS_EXPANDED) || id == root))
        return item->firstChild;
    while (id != root) {
        item = s.items[id];
        if (item->nextSibling)
            return item->nextSibling;
        id = item->parent;
    }
    return 0;
}

unsigned MarkSubtreeRows(TreeListState& s, ItemId root, unsigned value)
{
    unsigned count = 0;
    if (!s.items[root]->firstChild)
        return 0;
    for (ItemId id = s.items[root]->firstChild; id; id = NextWithin(s, id, root, true)) {
        s.items[id]->row = value;
        ++count;
    }
    return count;
}

bool GrowRows(TreeListState& s, unsigned needed)
{
    if (needed <= s.rowCapacity)
        return true;
    unsigned capacity = s.rowCapacity + s.rowCapacity / 2 + 64;
    if (capacity < needed)
        capacity = needed;
    void* rows = std::realloc(s.rows, capacity * sizeof(ItemId));
    if (!rows)
        return false;
    s.rows = static_cast<ItemId*>(rows);
    s.rowCapacity = capacity;
    return true;
}

}  // namespace

bool IsVisible(const TreeListState& s, ItemId id)
{
    const TreeItem* item = Item(s, id);
    return item && item->row != 0;
}

ItemId NextInDisplayOrder(const TreeListState& s, ItemId id)
{
    const TreeItem* item = s.items[id];
    if ((item->state & TVIS_EXPANDED) && item->firstChild)
        return item->firstChild;
    while (id) {
        item = s.items[id];
        if (item->nextSibling)
            return item->nextSibling;
        id = item->parent;
    }
    return 0;
}

ItemId LastVisibleDescendant(const TreeListState& s, ItemId id)
{
    for (;;) {
        const TreeItem* item = s.items[id];
        if (!(item->state & TVIS_EXPANDED) || !item->lastChild)
            return id;
        id = item->lastChild;
    }
}

void RowsChangedFrom(TreeListState& s, unsigned row)
{
    ++s.changes;
    if (row < s.rowsValid)
        s.rowsValid = row;
}

void EnsureRows(TreeListState& s)
{
    if (s.rowsValid >= s.rowCount)
        return;
    if (!GrowRows(s, s.rowCount))
        return;
    unsigned row = s.rowsValid;
    ItemId id = row == 0 ? s.firstRoot : NextInDisplayOrder(s, s.rows[row - 1]);
    for (; id && row < s.rowCount; id = NextInDisplayOrder(s, id), ++row) {
        s.rows[row] = id;
        s.items[id]->row = row + 1;
    }
    s.rowCount = row;
    s.rowsValid = row;
}

int RowOf(TreeListState& s, ItemId id)
{
    const TreeItem* item = Item(s, id);
    if (!item || item->row == 0)
        return -1;
    EnsureRows(s);
    return static_cast<int>(item->row - 1);
}

ItemId ItemAtRow(TreeListState& s, int row)
{
    if (row < 0 || static_cast<unsigned>(row) >= s.rowCount)
        return 0;
    EnsureRows(s);
    return static_cast<unsigned>(row) < s.rowsValid ? s.rows[row] : 0;
}

int RowAtLeast(const TreeListState& s, ItemId id, bool& exact)
{
    const TreeItem* item = Item(s, id);
    exact = false;
    if (!item || item->row == 0)
        return -1;
    if (item->row != kRowUnknown && item->row - 1 < s.rowsValid) {
        exact = true;
        return static_cast<int>(item->row - 1);
    }
    return static_cast<int>(s.rowsValid);
}

// Every expansion and collapse passes here.
void SetExpandedBit(TreeListState& s, ItemId id, bool expanded)
{
    TreeItem* item = s.items[id];
    bool was = (item->state & TVIS_EXPANDED) != 0;
    if (was == expanded)
        return;
    ++s.changes;
    s.events.Add(EVENT_OBJECT_STATECHANGE, static_cast<LONG>(id));
    if (item->row != 0) {
        unsigned from = item->row == kRowUnknown ? s.rowsValid : item->row;
        if (expanded) {
            item->state |= TVIS_EXPANDED;
            s.rowCount += MarkSubtreeRows(s, id, kRowUnknown);
        } else {
            s.rowCount -= MarkSubtreeRows(s, id, 0);
            item->state &= ~TVIS_EXPANDED;
        }
        RowsChangedFrom(s, from);
    }
    if (expanded)
        item->state |= TVIS_EXPANDED;
    else
        item->state &= ~TVIS_EXPANDED;
}

void AddVisibleItem(TreeListState& s, ItemId id)
{
    TreeItem* item = s.items[id];
    ItemId before = 0;
    if (item->prevSibling)
        before = LastVisibleDescendant(s, item->prevSibling);
    else
        before = item->parent;
    unsigned from = 0;
    if (before)
        from = s.items[before]->row == kRowUnknown ? s.rowsValid : s.items[before]->row;
    item->row = kRowUnknown;
    ++s.rowCount;
    RowsChangedFrom(s, from);
}

unsigned RemoveVisibleSubtree(TreeListState& s, ItemId id)
{
    TreeItem* item = s.items[id];
    if (item->row == 0)
        return 0;
    unsigned from = item->row == kRowUnknown ? s.rowsValid : item->row - 1;
    unsigned count = 1;
    if (item->state & TVIS_EXPANDED)
        count += MarkSubtreeRows(s, id, 0);
    item->row = 0;
    s.rowCount -= count;
    RowsChangedFrom(s, from);
    return count;
}

void ClearRows(TreeListState& s)
{
    ++s.changes;
    s.rowCount = 0;
    s.rowsValid = 0;
}

}  // namespace treelist
