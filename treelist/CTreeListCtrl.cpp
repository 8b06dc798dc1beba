#include "treelist/CTreeListCtrl.h"

#include <cstring>

#include "framework/CWinApp.h"
#include "treelist/TreeListMessages.h"
#include "treelist/TreeListWindow.h"

BOOL CTreeListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!treelist::RegisterTreeListClass(CWinApp::ResourceHandle()))
        return FALSE;
    return CreateOfClass(TREELIST_CLASSNAME, style, rect, parent, id);
}

int CTreeListCtrl::InsertColumn(int index, LPCSTR text, int format, int width)
{
    char buffer[256] = {};
    TVCOLUMNA column = {};
    if (text) {
        lstrcpynA(buffer, text, sizeof(buffer));
        column.mask |= TVCF_TEXT;
        column.pszText = buffer;
        column.cchTextMax = sizeof(buffer);
    }
    if (format >= 0) {
        column.mask |= TVCF_FMT;
        column.fmt = format;
    }
    if (width >= 0) {
        column.mask |= TVCF_WIDTH;
        column.cx = width;
    }
    return static_cast<int>(SendMessage(TVM_INSERTCOLUMN, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

// Here and below, with TVIF_SUBITEM the control reads the column from cChildren
// (ColumnOf in treelist/ItemAccess.cpp).
BOOL CTreeListCtrl::SetItemText(HTREEITEM item, int column, LPCSTR text)
{
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_SUBITEM;
    tv.hItem = item;
    tv.pszText = const_cast<LPSTR>(text ? text : "");
    tv.cChildren = column;
    return SetItem(tv);
}

BOOL CTreeListCtrl::SetItemState(HTREEITEM item, int column, UINT state, UINT stateMask)
{
    TVITEMA tv = {};
    tv.mask = TVIF_STATE | TVIF_HANDLE | TVIF_SUBITEM;
    tv.hItem = item;
    tv.state = state;
    tv.stateMask = stateMask;
    tv.cChildren = column;
    return SetItem(tv);
}

const char* CTreeListCtrl::GetItemText(HTREEITEM item, int column) const
{
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_SUBITEM | TVIF_TEXTPTR;
    tv.hItem = item;
    tv.cChildren = column;
    if (!GetItem(tv) || tv.pszText == LPSTR_TEXTCALLBACKA)
        return nullptr;
    return tv.pszText;
}

BOOL CTreeListCtrl::SetCellColors(int row, int column, COLORREF background, COLORREF text)
{
    LRESULT item = SendMessage(TVM_GETROWITEM, 0, row);
    if (!item)
        return FALSE;
    UINT_PTR handle = static_cast<UINT_PTR>(item);
    SendMessage(TVM_SETCELLBKCOLOR, TVCELL(handle, column), static_cast<LPARAM>(background));
    SendMessage(TVM_SETCELLTEXTCOLOR, TVCELL(handle, column), static_cast<LPARAM>(text));
    return TRUE;
}
