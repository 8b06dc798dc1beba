// Painting the rows into a memory bitmap and from there onto the window or a given DC;
// and the drag image of an item or cell.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

// Texts and images the owner supplies are asked for row by row.
void PaintCallingOut(TreeListState& s, HDC target, const RECT& area);
// TVM_CREATEDRAGIMAGE; null when the item or column does not exist.
HIMAGELIST CreateDragImageCallingOut(TreeListState& s, ItemId id, int column);

}  // namespace treelist
