// The pen for tree lines and the normal and bold fonts, shared by every control of the
// process and deleted with the last one.
#pragma once
#include <windows.h>

#include "utils/UniqueHandle.h"

namespace treelist {

void AddSharedGdiRef();
void ReleaseSharedGdiRef();
HPEN SharedLinePen();
HFONT SharedFont();
HFONT SharedBoldFont();
// The DPI the shared fonts are made for: the system's.
UINT SharedFontDpi();

// The normal and bold fonts of a control whose window has another DPI (on another
// monitor): the system's icon-title font at that DPI.
void MakeFontsAtDpi(UINT dpi, velutils::FontHandle& normal, velutils::FontHandle& bold);

}  // namespace treelist
