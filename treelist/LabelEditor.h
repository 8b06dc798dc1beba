// In-place editing of an item's or a cell's text with an "EDIT" or "COMBOBOX" child.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

// TVM_EDITLABEL: returns the editor or null.
HWND BeginEditCallingOut(TreeListState& s, ItemId id, WPARAM how);
// WM_COMMAND from the editor (id 3).
void OnEditorCommandCallingOut(TreeListState& s, UINT code);
// Ends an edit in progress without keeping its text.
void CancelEditCallingOut(TreeListState& s);
// The editor takes the control's font, and an open one its place at the control's sizes.
void RefitEditor(TreeListState& s);

}  // namespace treelist
