#include "treelist/Notify.h"

#include "treelist/ItemTable.h"

namespace treelist {

LRESULT SendNotifyCallingOut(TreeListState& s, NMHDR& header, UINT code)
{
    header.hwndFrom = s.hwnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(s.hwnd));
    header.code = code;
    HWND owner = s.owner;
    if (!owner || !IsWindow(owner))
        return 0;
    UnlockScope unlock(s.lock);
    return SendMessageA(owner, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void FillNotifyItem(const TreeListState& s, TVITEMA& tv, ItemId id, int column, UINT mask)
{
    tv.mask = mask;
    tv.hItem = HandleFromId(id);
    tv.cChildren = column;
    const TreeItem* item = Item(s, id);
    if (!item)
        return;
    tv.state = item->state;
    tv.stateMask = 0xFFFFFFFFu;
    tv.lParam = item->lParam;
    if (mask & TVIF_TEXT) {
        const char* text = column == 0 ? item->text : nullptr;
        if (column > 0) {
            const TreeCell* cell = Cell(s, id, column);
            text = cell ? cell->text : nullptr;
        }
        tv.pszText = const_cast<char*>(text ? text : EmptyText());
        tv.cchTextMax = 0;
    }
}

LRESULT NotifyTreeViewCallingOut(TreeListState& s, UINT code, UINT action, ItemId newItem, int newColumn,
                                 ItemId oldItem, int oldColumn, POINT point)
{
    NMTREEVIEWA nm = {};
    nm.action = action;
    FillNotifyItem(s, nm.itemNew, newItem, newColumn, TVIF_STATE | TVIF_HANDLE | TVIF_PARAM | TVIF_SUBITEM);
    if (oldItem || code == TVN_SELCHANGINGA || code == TVN_SELCHANGEDA)
        FillNotifyItem(s, nm.itemOld, oldItem, oldColumn, TVIF_STATE | TVIF_HANDLE | TVIF_PARAM | TVIF_SUBITEM);
    nm.ptDrag = point;
    return SendNotifyCallingOut(s, nm.hdr, code);
}

LRESULT NotifyKeyDownCallingOut(TreeListState& s, WORD key)
{
    NMTVKEYDOWN nm = {};
    nm.wVKey = key;
    return SendNotifyCallingOut(s, nm.hdr, TVN_KEYDOWN);
}

LRESULT NotifyContextMenuCallingOut(TreeListState& s, LPARAM where)
{
    HWND owner = s.owner;
    HWND hwnd = s.hwnd;
    if (!owner || !IsWindow(owner))
        return 0;
    UnlockScope unlock(s.lock);
    return SendMessageA(owner, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), where);
}

void NotifyDeletedItemsCallingOut(TreeListState& s)
{
    while (!s.deleted.empty()) {
        std::vector<std::pair<ItemId, LPARAM>> gone;
        gone.swap(s.deleted);
        for (const auto& item : gone) {
            NMTREEVIEWA nm = {};
            nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
            nm.itemOld.hItem = HandleFromId(item.first);
            nm.itemOld.lParam = item.second;
            SendNotifyCallingOut(s, nm.hdr, TVN_DELETEITEMA);
        }
    }
}

int NotifyDisplayImageCallingOut(TreeListState& s, ItemId id, UINT which)
{
    NMTVDISPINFOA nm = {};
    nm.item.mask = which;
    nm.item.hItem = HandleFromId(id);
    nm.item.iImage = -1;
    nm.item.iSelectedImage = -1;
    if (const TreeItem* item = Item(s, id)) {
        nm.item.state = item->state;
        nm.item.lParam = item->lParam;
    }
    SendNotifyCallingOut(s, nm.hdr, TVN_GETDISPINFOA);
    return which == TVIF_SELECTEDIMAGE ? nm.item.iSelectedImage : nm.item.iImage;
}

const char* NotifyDisplayTextCallingOut(TreeListState& s, ItemId id, char* buffer, int size)
{
    NMTVDISPINFOA nm = {};
    buffer[0] = 0;
    nm.item.mask = TVIF_TEXT;
    nm.item.hItem = HandleFromId(id);
    nm.item.pszText = buffer;
    nm.item.cchTextMax = size;
    if (const TreeItem* item = Item(s, id)) {
        nm.item.state = item->state;
        nm.item.lParam = item->lParam;
    }
    SendNotifyCallingOut(s, nm.hdr, TVN_GETDISPINFOA);
    if (!nm.item.pszText)
        return "";
    if (nm.item.pszText == buffer)
        buffer[size - 1] = 0;
    return nm.item.pszText;
}

}  // namespace treelist
