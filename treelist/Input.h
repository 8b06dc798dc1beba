// The keyboard and the mouse buttons.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

void OnKeyDownCallingOut(TreeListState& s, WORD key);
// The Apps key and Shift+F10 (a system key) ask the owner for its context menu.
bool IsContextMenuKey(WORD key);
void OnContextMenuKeyCallingOut(TreeListState& s);
// WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK.
void OnMouseButtonCallingOut(TreeListState& s, UINT message, WPARAM keys, POINT point);
void OnMouseMoveCallingOut(TreeListState& s, WPARAM keys, POINT point);
void OnMouseButtonUp(TreeListState& s);

// Takes the focus, letting the lock go while it moves.
void TakeFocusCallingOut(TreeListState& s);

}  // namespace treelist
