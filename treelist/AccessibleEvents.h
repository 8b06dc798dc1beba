// The accessibility events of one control (WinEvents for screen readers). Gathered while
// a message changes the tree, raised once the message is over: a reader's in-context hook
// runs inside NotifyWinEvent and may ask about the tree, which must then hold together.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

namespace treelist {

struct TreeListState;

class AccessibleEvents {
public:
    // `child` 0 is the control itself.
    void Add(DWORD event, LONG child);
    void CaretMoved() { m_caretMoved = true; }
    void FocusGained() { m_focusGained = true; }
    bool Pending() const { return !m_events.empty() || m_overflow || m_caretMoved || m_focusGained; }
    void Clear();

    // Raises what was gathered and starts again.
    void RaiseCallingOut(TreeListState& s);

private:
    // Beyond this many in one message (a whole tree deleted or filled), one reorder of
    // the control says it all.
    static constexpr size_t kMaxEvents = 256;

    std::vector<std::pair<DWORD, LONG>> m_events;
    bool m_overflow = false;
    bool m_caretMoved = false;
    bool m_focusGained = false;
};

}  // namespace treelist
