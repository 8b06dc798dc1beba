// The pen for tree lines and the normal and bold fonts, shared by every control of the
// process and deleted with the last one.
#pragma once
#include <windows.h>

namespace treelist {

void AddSharedGdiRef();
void ReleaseSharedGdiRef();
HPEN SharedLinePen();
HFONT SharedFont();
HFONT SharedBoldFont();

}  // namespace treelist
