// The columns and their header: insertion, deletion, layout, widths that follow the
// window, tracking and sizing a column to its content.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

int InsertColumn(TreeListState& s, int position, const TVCOLUMNA& column);
bool DeleteColumn(TreeListState& s, int column);
void FreeColumns(TreeListState& s);

// Edges from the header's item widths.
void LayoutColumns(TreeListState& s);
int ColumnWidth(const TreeListState& s, int column);
// Sets a column's width on the header, lays out and repaints from its left edge.
void SetColumnWidth(TreeListState& s, int column, int width);
// The widest content of a column over the visible rows; texts the owner supplies are
// asked for.
int BestColumnWidthCallingOut(TreeListState& s, int column);
// Divides a change of the client width among the columns that follow it.
void FollowClientWidth(TreeListState& s, int oldWidth, int newWidth);

// The left and right edge of column 0 when there are no columns.
int TreeColumnRight(const TreeListState& s);

}  // namespace treelist
