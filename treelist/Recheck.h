// What a caller still holds after a call that let the owner run.
//
// The naming rule: a function that can run the owner's code (a notification, a text or
// image the owner supplies, the owner's sort comparison) or lets go of the access lock
// (the editor, the focus, the scroll bars), directly or through another such function,
// ends its name in "CallingOut". When it returns, the owner may have changed the tree,
// deleted any item or destroyed the control. The caller takes a Recheck before the call
// and asks it afterwards.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

class Recheck {
public:
    explicit Recheck(const TreeListState& s) : m_s(s), m_changes(s.changes) {}

    // The control still stands and, when an item is named, that item still exists.
    bool Holds(ItemId id = 0) const { return !m_s.destroyed && (id == 0 || Item(m_s, id) != nullptr); }
    // The control still stands and its tree is as it was when the recheck was taken: no
    // item inserted, deleted, moved, expanded or collapsed.
    bool Unchanged() const { return !m_s.destroyed && m_s.changes == m_changes; }

private:
    const TreeListState& m_s;
    unsigned m_changes;
};

}  // namespace treelist
