// What lies under a point of the client area.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

struct HitResult {
    ItemId item;
    UINT flags;
    int column;
};

// The label of an item whose text the owner supplies is measured on the owner's answer.
HitResult HitTestCallingOut(TreeListState& s, POINT point);

}  // namespace treelist
