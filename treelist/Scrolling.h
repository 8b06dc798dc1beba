// Vertical scrolling in rows, horizontal scrolling in pixels, and the scroll bars.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

int MaxFirstRow(const TreeListState& s);
int MaxScrollX(const TreeListState& s);

// Each returns whether the position changed; the view is repainted when it did.
bool ScrollToRow(TreeListState& s, int first);
bool ScrollToX(TreeListState& s, int x);
// Scrolls the least needed to show the row whole.
void EnsureRowShown(TreeListState& s, int row);
void EnsureItemShown(TreeListState& s, ItemId id);

void OnVScroll(TreeListState& s, int code);
void OnHScroll(TreeListState& s, int code);
void OnWheel(TreeListState& s, int delta, UINT keys);

void UpdateScrollBars(TreeListState& s);
void PlaceHeader(TreeListState& s);

}  // namespace treelist
