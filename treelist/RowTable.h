// The row table: the visible items in display order. It is renumbered lazily, from the
// first changed row, when a row is next asked for.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

bool IsVisible(const TreeListState& s, ItemId id);
ItemId NextInDisplayOrder(const TreeListState& s, ItemId id);
ItemId LastVisibleDescendant(const TreeListState& s, ItemId id);

// Rows from `row` on must be numbered again.
void RowsChangedFrom(TreeListState& s, unsigned row);
void EnsureRows(TreeListState& s);
// The visible row of an item (0-based), or -1.
int RowOf(TreeListState& s, ItemId id);
ItemId ItemAtRow(TreeListState& s, int row);
// The row of a visible item without numbering rows: exact, or (when `exact` comes back
// false) the first row it can be in.
int RowAtLeast(const TreeListState& s, ItemId id, bool& exact);

// Flips the expanded bit and updates the rows of the descendants.
void SetExpandedBit(TreeListState& s, ItemId id, bool expanded);
// A newly inserted visible item takes its row.
void AddVisibleItem(TreeListState& s, ItemId id);
// Before an item and its subtree go: gives up their rows; returns how many.
unsigned RemoveVisibleSubtree(TreeListState& s, ItemId id);
void ClearRows(TreeListState& s);

}  // namespace treelist
