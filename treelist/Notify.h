// Notifications to the owner. Each is sent with the access lock let go, so that the
// owner may send messages back (see Recheck.h for what the callers check afterwards).
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

LRESULT SendNotifyCallingOut(TreeListState& s, NMHDR& header, UINT code);
// An NMTREEVIEWA with the new item (and the old one for selection changes).
LRESULT NotifyTreeViewCallingOut(TreeListState& s, UINT code, UINT action, ItemId newItem, int newColumn,
                                 ItemId oldItem = 0, int oldColumn = 0, POINT point = POINT{ 0, 0 });
LRESULT NotifyKeyDownCallingOut(TreeListState& s, WORD key);
// WM_CONTEXTMENU to the owner: at a point of the screen, or (-1) from the keyboard.
LRESULT NotifyContextMenuCallingOut(TreeListState& s, LPARAM where);
// Sends TVN_DELETEITEM for the items freed since the last call (the handles are no
// longer valid then; the owner frees its lParam data).
void NotifyDeletedItemsCallingOut(TreeListState& s);
// Asks the owner for a callback text; returns it or "".
const char* NotifyDisplayTextCallingOut(TreeListState& s, ItemId id, char* buffer, int size);
// Asks the owner for a callback image (TVIF_IMAGE or TVIF_SELECTEDIMAGE); -1 when it
// does not answer.
int NotifyDisplayImageCallingOut(TreeListState& s, ItemId id, UINT which);

// Fills a TVITEMA of the protocol (mask 0x801C or 0x801D) for an item and column.
void FillNotifyItem(const TreeListState& s, TVITEMA& tv, ItemId id, int column, UINT mask);

}  // namespace treelist
