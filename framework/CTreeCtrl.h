// Wrapper of a window that speaks the tree-view message protocol.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/CWnd.h"

class CTreeCtrl : public CWnd {
public:
    // Creates the system tree view as a child of `parent` with control id `id`.
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(const TVINSERTSTRUCTA& insert);
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    BOOL Expand(HTREEITEM item, UINT code);
    BOOL SelectItem(HTREEITEM item);
    BOOL EnsureVisible(HTREEITEM item);
    // The item's row (or, with `textOnly`, its label) in client coordinates.
    BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const;

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetSelectedItem() const;
    UINT GetCount() const;

    BOOL SetItem(TVITEMA& item);
    BOOL GetItem(TVITEMA& item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    std::string GetItemText(HTREEITEM item) const;
    BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask);
    UINT GetItemState(HTREEITEM item, UINT stateMask) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    DWORD_PTR GetItemData(HTREEITEM item) const;

protected:
    BOOL CreateOfClass(LPCSTR className, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                       DWORD exStyle = 0);
};
