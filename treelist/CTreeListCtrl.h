// Wrapper of the "TreeList" window: a tree view whose rows have columns.
#pragma once
#include "framework/CTreeCtrl.h"

class CTreeListCtrl : public CTreeCtrl {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) override;

    // Text is always given; format and width only when they are >= 0. Returns the
    // column's index or -1.
    int InsertColumn(int index, LPCSTR text, int format = -1, int width = -1);
    BOOL SetItemText(HTREEITEM item, int column, LPCSTR text);
    BOOL SetItemState(HTREEITEM item, int column, UINT state, UINT stateMask);
    // The control's own copy of a cell's text, or null.
    const char* GetItemText(HTREEITEM item, int column) const;
    // Colours the cell in a visible row; 0 when the row is empty.
    BOOL SetCellColors(int row, int column, COLORREF background, COLORREF text);

    using CTreeCtrl::GetItemText;
    using CTreeCtrl::SetItemState;
    using CTreeCtrl::SetItemText;
};
