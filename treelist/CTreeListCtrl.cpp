#include "treelist/CTreeListCtrl.h"

// Until the "TreeList" class exists the system tree view stands in: column 0 only.

BOOL CTreeListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CTreeCtrl::Create(style, rect, parent, id);
}

int CTreeListCtrl::InsertColumn(int index, LPCSTR, int, int)
{
    return index;
}

BOOL CTreeListCtrl::SetItemText(HTREEITEM item, int column, LPCSTR text)
{
    return column == 0 ? CTreeCtrl::SetItemText(item, text) : FALSE;
}

BOOL CTreeListCtrl::SetItemState(HTREEITEM item, int column, UINT state, UINT stateMask)
{
    return column == 0 ? CTreeCtrl::SetItemState(item, state, stateMask) : FALSE;
}

const char* CTreeListCtrl::GetItemText(HTREEITEM, int) const
{
    return nullptr;
}

BOOL CTreeListCtrl::SetCellColors(int, int, COLORREF, COLORREF)
{
    return FALSE;
}
