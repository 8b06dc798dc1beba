// What lies under a point of the client area.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

struct HitResult {
    ItemId item;
    UINT flags;
    int column;
};

HitResult HitTest(TreeListState& s, POINT point);

}  // namespace treelist
