#include "treelist/AccessibleEvents.h"

#include "treelist/Recheck.h"
#include "treelist/TreeListState.h"

namespace treelist {

void AccessibleEvents::Add(DWORD event, LONG child)
{
    if (m_overflow)
        return;
    std::pair<DWORD, LONG> next(event, child);
    if (!m_events.empty() && m_events.back() == next)
        return;
    if (m_events.size() >= kMaxEvents) {
        m_events.clear();
        m_overflow = true;
        return;
    }
    m_events.push_back(next);
}

void AccessibleEvents::Clear()
{
    m_events.clear();
    m_overflow = false;
    m_caretMoved = false;
    m_focusGained = false;
}

void AccessibleEvents::RaiseCallingOut(TreeListState& s)
{
    std::vector<std::pair<DWORD, LONG>> events;
    events.swap(m_events);
    if (m_overflow)
        events.assign(1, std::make_pair(static_cast<DWORD>(EVENT_OBJECT_REORDER), static_cast<LONG>(CHILDID_SELF)));
    bool caret = m_caretMoved;
    bool focus = m_focusGained || m_caretMoved;
    Clear();
    if (s.tearingDown)
        return;
    HWND hwnd = s.hwnd;
    Recheck check(s);
    for (const auto& event : events) {
        if (!check.Holds())
            return;
        NotifyWinEvent(event.first, hwnd, OBJID_CLIENT, event.second);
    }
    // The caret as it stands now: the one a reader finds when it asks.
    if (!check.Holds() || !s.caret)
        return;
    LONG item = static_cast<LONG>(s.caret);
    if (caret)
        NotifyWinEvent(EVENT_OBJECT_SELECTION, hwnd, OBJID_CLIENT, item);
    if (focus && check.Holds() && s.hasFocus)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, item);
}

}  // namespace treelist
