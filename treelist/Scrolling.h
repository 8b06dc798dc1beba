// Vertical scrolling in rows, horizontal scrolling in pixels, and the scroll bars. The
// scroll bars are set with the access lock let go, and so is everything that scrolls.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

int MaxFirstRow(const TreeListState& s);
int MaxScrollX(const TreeListState& s);

// Each returns whether the position changed; the view is repainted when it did.
bool ScrollToRowCallingOut(TreeListState& s, int first);
bool ScrollToXCallingOut(TreeListState& s, int x);
// Scrolls the least needed to show the row whole.
void EnsureRowShownCallingOut(TreeListState& s, int row);
void EnsureItemShownCallingOut(TreeListState& s, ItemId id);

void OnVScrollCallingOut(TreeListState& s, int code);
void OnHScrollCallingOut(TreeListState& s, int code);
void OnWheelCallingOut(TreeListState& s, int delta, UINT keys);

void UpdateScrollBarsCallingOut(TreeListState& s);
void PlaceHeader(TreeListState& s);

}  // namespace treelist
