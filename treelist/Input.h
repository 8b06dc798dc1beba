// The keyboard and the mouse buttons.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

void OnKeyDown(TreeListState& s, WORD key);
// WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK.
void OnMouseButton(TreeListState& s, UINT message, WPARAM keys, POINT point);
void OnMouseMove(TreeListState& s, WPARAM keys, POINT point);
void OnMouseButtonUp(TreeListState& s);

// Takes the focus, letting the lock go while it moves.
void TakeFocus(TreeListState& s);

}  // namespace treelist
