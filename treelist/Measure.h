// Text widths (measured once and cached) and the horizontal layout of an item's parts
// in column 0, in content coordinates (before horizontal scrolling).
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

// `dc` may be null: a DC of the window is then taken for the measurement.
int MeasureText(TreeListState& s, const char* text, unsigned length, bool bold, HDC dc);
int CellTextWidth(TreeListState& s, ItemId id, int column, HDC dc);
// The width of an item's label, `text` being what ItemTextCallingOut gave: cached for the
// item's own text, measured each time for a text the owner supplies.
int LabelTextWidth(TreeListState& s, ItemId id, const char* text, HDC dc);
int ItemTextWidthCallingOut(TreeListState& s, ItemId id, HDC dc);

bool ShowsImage(const TreeListState& s, const TreeItem& item);

struct ItemLayout {
    int stepLeft;       // the indent step of the item's own button
    int buttonCenter;
    int stateLeft;      // state image (check box)
    int imageLeft;
    int labelLeft;
};
// Where the parts of an item lie, up to the left edge of its label.
ItemLayout LayoutItem(const TreeListState& s, ItemId id);
int LabelRight(const TreeListState& s, const ItemLayout& layout, int textWidth);

// Text of an item or cell for display; callback texts are asked from the owner.
const char* ItemTextCallingOut(TreeListState& s, ItemId id, int column, char* buffer, int size);

}  // namespace treelist
