// Reading and changing items and cells: TVM_GETITEM / TVM_SETITEM with column
// addressing, relations, rectangles, cell colours and sorting.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

// Images and texts the owner supplies are asked for.
BOOL GetItemCallingOut(TreeListState& s, TVITEMA& tv);
BOOL SetItem(TreeListState& s, const TVITEMA& tv);
ItemId NextItem(TreeListState& s, ItemId id, UINT relation);
BOOL ItemRectCallingOut(TreeListState& s, ItemId id, bool textOnly, RECT& rect);

// TVM_GETCELL*COLOR: the colour, or -1 when the cell has none of its own.
LRESULT CellColor(TreeListState& s, ItemId id, int column, bool background);
BOOL SetCellColor(TreeListState& s, WPARAM cell, COLORREF color, bool background);

// By text, or by the owner's comparison; FALSE when the owner changed the tree from
// inside its comparison.
BOOL SortChildren(TreeListState& s, ItemId parent, bool recurse);
BOOL SortChildrenCallingOut(TreeListState& s, ItemId parent, bool recurse, PFNTVCOMPARE compare, LPARAM data);

}  // namespace treelist
