// Text widths (measured once and cached) and the horizontal layout of an item's parts
// in column 0, in content coordinates (before horizontal scrolling).
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

// `dc` may be null: a DC of the window is then taken for the measurement.
int ItemTextWidth(TreeListState& s, ItemId id, HDC dc);
int CellTextWidth(TreeListState& s, ItemId id, int column, HDC dc);
int MeasureText(TreeListState& s, const char* text, unsigned length, bool bold, HDC dc);

bool ShowsImage(const TreeListState& s, const TreeItem& item);

struct ItemLayout {
    int stepLeft;       // the indent step of the item's own button
    int buttonCenter;
    int stateLeft;      // state image (check box)
    int imageLeft;
    int labelLeft;
    int labelRight;     // label left + text width + 5
};
ItemLayout LayoutItem(TreeListState& s, ItemId id, HDC dc);

// Text of an item or cell for display; callback texts are asked from the owner.
const char* ItemText(TreeListState& s, ItemId id, int column, char* buffer, int size);

}  // namespace treelist
