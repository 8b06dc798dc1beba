// Expansion, selection and the repainting of rows: the operations that notify the
// owner on the way.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

// TVM_EXPAND: returns 0 when refused or cancelled, -1 when the item went away meanwhile.
LRESULT ExpandItemCallingOut(TreeListState& s, ItemId id, UINT code);
// Expands every ancestor of an item; false when one of them could not be.
bool ExpandAncestorsCallingOut(TreeListState& s, ItemId id);
// Expands an item and everything below it.
void ExpandSubtreeCallingOut(TreeListState& s, ItemId root);
// Deletes an item's children, last first.
void DeleteChildren(TreeListState& s, ItemId id);

// Why the caret moves: a selection (TVM_SELECTITEM, a click, a key) applies
// TVS_SINGLEEXPAND; the control's own moves (a collapse hiding the caret, an edit
// starting) do not.
enum class CaretMove { Selection, Internal };

// Moves the caret; 0 when refused. The ancestors of the new caret open only once the
// owner accepted the selection.
LRESULT SelectCaretCallingOut(TreeListState& s, ItemId id, int column, bool deselectOthers,
                              CaretMove move = CaretMove::Selection);
void SetDropHilite(TreeListState& s, ItemId id);
void DeselectAll(TreeListState& s, ItemId except);
// Toggles a check box between unchecked and checked.
void ToggleCheckBox(TreeListState& s, ItemId id);

void InvalidateItem(TreeListState& s, ItemId id);
void InvalidateRowsFrom(TreeListState& s, ItemId id);

}  // namespace treelist
