// Colours, fonts, row height and the check-box images of a control.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

void UpdateDefaultColors(TreeListState& s);
// Sets a colour slot; returns the old colour, or -1 for a slot that does not exist.
COLORREF SetColorSlot(TreeListState& s, WPARAM index, COLORREF color);

// `font` is the owner's (WM_SETFONT), or null for the default fonts at the control's DPI.
void SetControlFont(TreeListState& s, HFONT font);
void MeasureFont(TreeListState& s);
void ForgetTextWidths(TreeListState& s);
void UpdateRowHeight(TreeListState& s);
// TVM_SETITEMHEIGHT: clamped, odd heights lowered unless even heights are allowed.
int SetRowHeight(TreeListState& s, int height);

bool CreateCheckBoxImages(TreeListState& s);
// TVSIL_NORMAL or TVSIL_STATE; returns the old list when it goes back to the caller (a
// list the control made does not).
HIMAGELIST SetImageList(TreeListState& s, int which, HIMAGELIST list);

// Rows that fit, from the client and header heights.
void UpdateRowsFit(TreeListState& s);

}  // namespace treelist
