// The "TreeList" window class: registration and its window procedure.
#pragma once
#include <windows.h>

namespace treelist {

// Registers the class once per process; false when it cannot be registered.
bool RegisterTreeListClass(HINSTANCE instance);

}  // namespace treelist
