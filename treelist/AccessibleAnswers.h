// The control's side of its accessibility object: the questions answered on the
// control's own thread, from the tree as it stands.
#pragma once
#include "treelist/AccessibleQuery.h"
#include "treelist/TreeListState.h"

namespace treelist {

// The texts of items the owner supplies are asked of it, as for painting; selecting
// notifies it.
void AnswerAccessibleQueryCallingOut(TreeListState& s, AccessibleQuery& query);

// The next item in tree order (children before the next sibling), expanded or not.
ItemId NextInTreeOrder(const TreeListState& s, ItemId id);

}  // namespace treelist
