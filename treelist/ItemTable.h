// The item table: records indexed by handle, their texts, the tree links, insertion and
// deletion.
#pragma once
#include "treelist/TreeListState.h"

namespace treelist {

bool CreateItemTables(TreeListState& s);
void FreeItemTables(TreeListState& s);

// Copies a text; the shared empty text for null or "". Returns false when out of memory.
bool CopyText(char*& text, unsigned& length, const char* source);
void FreeText(char*& text);
const char* EmptyText();

// TVM_INSERTITEM; 0 when refused.
ItemId InsertItem(TreeListState& s, const TVINSERTSTRUCTA& insert);
// Deletes the item and its subtree.
void DeleteItem(TreeListState& s, ItemId id);
void DeleteAllItems(TreeListState& s);

bool HasChildren(const TreeListState& s, const TreeItem& item);
bool IsAncestor(const TreeListState& s, ItemId ancestor, ItemId item);

// Every move of the caret passes here (a deleted caret leaves it on no item).
void SetCaret(TreeListState& s, ItemId id, int column);

// Sets state bits under a mask, keeping the count of selected items right.
void ApplyState(TreeListState& s, ItemId id, UINT state, UINT mask);

// The cell record of an extra column, or null.
TreeCell* Cell(const TreeListState& s, ItemId id, int column);

}  // namespace treelist
