// The control at the DPI of its window: where the DPI comes from and what follows it.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

// GetDpiForWindow where the system has it, else the screen's DPI.
UINT WindowDpi(HWND hwnd);

// The header's height at the control's DPI: the menu bar's.
int HeaderHeightAtDpi(const TreeListState& s);

// The control's sizes at `dpi`, with `font` (the owner's, or null for the default fonts
// at that DPI): metrics, indent, the check boxes it made, text and row height, the
// header's height and font, an open editor's font and place. Items, selection, expanded
// rows and scroll positions stay as they are.
void ApplyDpiAndFont(TreeListState& s, UINT dpi, HFONT font, bool redraw);

}  // namespace treelist
