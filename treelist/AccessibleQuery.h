// A question of the accessibility object to its control, and the answer. The object may
// be called on any thread; it hands each question to the control's own thread in a sent
// message, where the tree is read under the control's lock.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace treelist {

enum class AccessibleAsk {
    ChildCount, Children, Name, Value, Description, Role, State, Location, DefaultAction, DoDefaultAction,
    Select, Navigate, HitTest, Focus, Selection
};

struct AccessibleQuery {
    explicit AccessibleQuery(AccessibleAsk question) : ask(question) {}

    AccessibleAsk ask;
    LONG child = 0;             // CHILDID_SELF (0) for the control, else the item's handle
    LONG number = 0;            // Navigate: the direction; Select: the flags; Children: the first index
    LONG count = 0;             // Children: how many at most
    // Children: the item at the first index when the asker knows it from its last answer,
    // and the tree's count of changes then; kept valid, a walk goes on from there.
    LONG resumeAt = 0;
    unsigned stamp = 0;
    POINT point = {};           // HitTest: screen coordinates

    // The answer. `ids` holds child ids (Children, Selection); `id`, with `hasId`, the one
    // object meant (Navigate, HitTest, Focus).
    HRESULT result = S_OK;
    std::wstring text;
    LONG value = 0;             // ChildCount, Role, State
    RECT rect = {};
    std::vector<LONG> ids;
    LONG id = 0;
    bool hasId = false;
    HWND window = nullptr;      // HitTest: a child window under the point (the header)
    // Children: `resumeAt` and `stamp` are set for the item after the last one given.
    bool standard = false;      // Navigate: the control's own place among its sibling windows
};

// The message that carries questions to the control (wParam kAnswer, lParam the query) and
// the expansion a default action asks for (wParam kToggle, lParam the item, posted: the
// owner may answer an expansion with a modal dialog, and the asker must not wait for it).
UINT AccessibleMessage();
constexpr WPARAM kAccessibleAnswer = 1;
constexpr WPARAM kAccessibleToggle = 2;

}  // namespace treelist
