// A debug aid for the tests, not part of the control: checks that every item's parent,
// children, siblings, level and row, the row table and the counts agree.
#pragma once
#include <windows.h>

#include <string>

namespace treelist {

// "" when the tree of the "TreeList" window holds together (or the window is gone);
// otherwise what does not.
std::string CheckTree(HWND hwnd);

}  // namespace treelist
