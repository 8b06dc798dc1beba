// Reading and changing items and cells: TVM_GETITEM / TVM_SETITEM with column
// addressing, relations, rectangles, cell colours and sorting.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

BOOL GetItem(TreeListState& s, TVITEMA& tv);
BOOL SetItem(TreeListState& s, const TVITEMA& tv);
ItemId NextItem(TreeListState& s, ItemId id, UINT relation);
BOOL ItemRect(TreeListState& s, ItemId id, bool textOnly, RECT& rect);

// TVM_GETCELL*COLOR: the colour, or -1 when the cell has none of its own.
LRESULT CellColor(TreeListState& s, ItemId id, int column, bool background);
BOOL SetCellColor(TreeListState& s, WPARAM cell, COLORREF color, bool background);

BOOL SortChildren(TreeListState& s, ItemId parent, bool recurse, PFNTVCOMPARE compare, LPARAM data);

}  // namespace treelist
