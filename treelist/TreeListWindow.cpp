#include "treelist/TreeListWindow.h"

#include <new>

#include <oleacc.h>

#include "treelist/AccessibleAnswers.h"
#include "treelist/Appearance.h"
#include "treelist/Columns.h"
#include "treelist/GdiScopes.h"
#include "treelist/HitTest.h"
#include "treelist/Input.h"
#include "treelist/ItemAccess.h"
#include "treelist/ItemTable.h"
#include "treelist/LabelEditor.h"
#include "treelist/Notify.h"
#include "treelist/Painter.h"
#include "treelist/Recheck.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"
#include "treelist/SharedGdi.h"
#include "treelist/TreeListAccessible.h"
#include "treelist/TreeOps.h"
#include "treelist/WindowDpi.h"
#include "utils/AccessibleIid.h"
#include "utils/DpiScale.h"

// Windows 10 on; the headers show it only to programs for those systems.
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace treelist {

TreeListState* GetState(HWND hwnd)
{
    return reinterpret_cast<TreeListState*>(GetWindowLongPtrA(hwnd, 0));
}

namespace {

constexpr size_t kMaxUserData = 0x1000000;
// Posted to itself: the scroll bars follow the model once a burst of changes is over.
constexpr UINT kUpdateScrollBars = WM_APP + 0x3F0;

// ---- life cycle ----

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTA* cs)
{
    TreeListState* s = new (std::nothrow) TreeListState();
    if (!s)
        return -1;
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
    s->hwnd = hwnd;
    s->owner = cs->hwndParent;
    AddSharedGdiRef();
    if (!CreateItemTables(*s) || !s->lock.Create())
        return -1;
    s->dpi = WindowDpi(hwnd);
    s->metrics = Metrics::AtDpi(s->dpi);
    s->indent = s->metrics.defaultIndent;
    // The rows are painted around the header, never over it.
    SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) | WS_CLIPCHILDREN);
    s->style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    s->enabled = IsWindowEnabled(hwnd) != FALSE;
    RECT client = {};
    GetClientRect(hwnd, &client);
    s->clientWidth = client.right;
    s->clientHeight = client.bottom;
    if (!(s->style & TVS_NOTOOLTIPS)) {
        s->tooltip.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd,
                                         nullptr, cs->hInstance, nullptr));
    }
    SetControlFont(*s, nullptr);
    UpdateDefaultColors(*s);
    if (s->style & TVS_CHECKBOXES)
        CreateCheckBoxImages(*s);
    s->scrollBarsDirty = true;
    return 0;
}

LRESULT OnDestroy(TreeListState& s)
{
    LockScope lock(s.lock);
    s.tearingDown = true;
    s.editItem = 0;
    s.editor.Reset();
    // Readers that still hold the object hear from now on that it is gone.
    if (s.accessible)
        s.accessible->Disconnect();
    s.accessible.Reset();
    DeleteAllItems(s);
    s.events.Clear();
    s.header.Reset();
    s.tooltip.Reset();
    s.ownStateImages.Reset();
    s.images.Reset();
    s.stateImages = nullptr;
    FreeColumns(s);
    return 0;
}

void FreeState(TreeListState* s)
{
    FreeItemTables(*s);
    delete s;
    ReleaseSharedGdiRef();
}

LRESULT OnNcDestroy(HWND hwnd, TreeListState* s)
{
    SetWindowLongPtrA(hwnd, 0, 0);
    if (s) {
        s->destroyed = true;
        if (s->busy == 0)
            FreeState(s);
    }
    return DefWindowProcA(hwnd, WM_NCDESTROY, 0, 0);
}

LRESULT OnSize(TreeListState& s, int width, int height)
{
    LockScope lock(s.lock);
    int oldWidth = s.clientWidth;
    s.clientWidth = width;
    s.clientHeight = height;
    if (width != oldWidth) {
        FollowClientWidth(s, oldWidth, width);
        LayoutColumns(s);
    }
    UpdateRowsFit(s);
    PlaceHeader(s);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    s.scrollBarsDirty = true;
    return 0;
}

LRESULT OnUpdateScrollBarsCallingOut(TreeListState& s)
{
    LockScope lock(s.lock);
    s.scrollBarsPosted = false;
    if (s.scrollBarsDirty)
        UpdateScrollBarsCallingOut(s);
    return 0;
}

LRESULT OnPaintCallingOut(TreeListState& s, HDC given)
{
    LockScope lock(s.lock);
    Recheck check(s);
    if (s.scrollBarsDirty)
        UpdateScrollBarsCallingOut(s);
    if (!check.Holds())
        return 0;
    if (given) {
        RECT area = { 0, 0, s.clientWidth, s.clientHeight };
        PaintCallingOut(s, given, area);
        return 0;
    }
    PaintDc dc(s.hwnd);
    PaintCallingOut(s, dc.Get(), dc.Area());
    return 0;
}

// An owner that follows a change of DPI sends its new font: the control takes the DPI of
// its window afresh with it.
LRESULT OnSetFont(TreeListState& s, HFONT font, BOOL redraw)
{
    LockScope lock(s.lock);
    ApplyDpiAndFont(s, WindowDpi(s.hwnd), font, redraw != FALSE);
    return 0;
}

// WM_DPICHANGED reaches top-level windows only, with the new DPI; a control inside
// another window hears of it with WM_DPICHANGED_AFTERPARENT (Windows 10 on).
LRESULT OnDpiChanged(TreeListState& s, UINT dpi)
{
    LockScope lock(s.lock);
    ApplyDpiAndFont(s, dpi ? dpi : WindowDpi(s.hwnd), s.ownerFont, true);
    return 0;
}

LRESULT OnSysColorChange(TreeListState& s)
{
    LockScope lock(s.lock);
    UpdateDefaultColors(s);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    return 0;
}

LRESULT OnEnable(TreeListState& s, BOOL enabled)
{
    LockScope lock(s.lock);
    s.enabled = enabled != FALSE;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    return 0;
}

LRESULT OnFocusCallingOut(TreeListState& s, bool gained)
{
    LockScope lock(s.lock);
    s.hasFocus = gained;
    if (gained)
        s.events.FocusGained();
    if (s.selectedCount > 1)
        InvalidateRect(s.hwnd, nullptr, FALSE);
    else if (s.caret)
        InvalidateItem(s, s.caret);
    NMHDR nm = {};
    SendNotifyCallingOut(s, nm, gained ? NM_SETFOCUS : NM_KILLFOCUS);
    return 0;
}

LRESULT OnGetDlgCode(const MSG* msg)
{
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

// Check boxes switched on after creation: every item without a state image starts
// unchecked.
void ShowCheckBoxes(TreeListState& s)
{
    if (!s.stateImages)
        CreateCheckBoxImages(s);
    for (ItemId id = 1; id < s.capacity; ++id) {
        TreeItem* item = s.items[id];
        if (item && !(item->state & TVIS_STATEIMAGEMASK))
            item->state |= INDEXTOSTATEIMAGEMASK(1);
    }
    s.scrollBarsDirty = true;
}

LRESULT OnStyleChanged(TreeListState& s, WPARAM which, const STYLESTRUCT* style)
{
    if (which != static_cast<WPARAM>(GWL_STYLE))
        return 0;
    LockScope lock(s.lock);
    DWORD old = s.style;
    s.style = style->styleNew;
    if ((s.style & TVS_CHECKBOXES) && !(old & TVS_CHECKBOXES))
        ShowCheckBoxes(s);
    UpdateRowHeight(s);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    return 0;
}

// The column takes its best width, as though tracked to it.
LRESULT OnDividerDoubleClickCallingOut(TreeListState& s, int column)
{
    LockScope lock(s.lock);
    Recheck check(s);
    if (column >= 0 && column < s.columnCount) {
        int width = BestColumnWidthCallingOut(s, column);
        if (check.Holds())
            SetColumnWidth(s, column, width);
    }
    s.scrollBarsDirty = true;
    if (check.Holds() && GetFocus() != s.hwnd)
        TakeFocusCallingOut(s);
    return 0;
}

LRESULT OnHeaderNotifyCallingOut(TreeListState& s, WPARAM wParam, NMHDR* nm)
{
    if (!s.header || nm->hwndFrom != s.header.Get())
        return 0;
    UINT code = nm->code;
    NMHEADERA* header = reinterpret_cast<NMHEADERA*>(nm);
    switch (code) {
    case HDN_ITEMCLICKA: case HDN_ITEMCLICKW: case HDN_ITEMDBLCLICKA: case HDN_ITEMDBLCLICKW: {
        UnlockScope unlock(s.lock);
        return SendMessageA(s.owner, WM_NOTIFY, wParam, reinterpret_cast<LPARAM>(nm));
    }
    case HDN_TRACKA: case HDN_TRACKW: case HDN_ENDTRACKA: case HDN_ENDTRACKW: {
        LockScope lock(s.lock);
        if (header->pitem && (header->pitem->mask & HDI_WIDTH))
            SetColumnWidth(s, header->iItem, header->pitem->cxy);
        s.scrollBarsDirty = true;
        if ((code == HDN_ENDTRACKA || code == HDN_ENDTRACKW) && GetFocus() != s.hwnd)
            TakeFocusCallingOut(s);
        return 0;
    }
    case HDN_DIVIDERDBLCLICKA: case HDN_DIVIDERDBLCLICKW:
        return OnDividerDoubleClickCallingOut(s, header->iItem);
    case HDN_ITEMCHANGEDA: case HDN_ITEMCHANGEDW:
        if (!s.lock.HeldByThisThread()) {
            LockScope lock(s.lock);
            LayoutColumns(s);
            PlaceHeader(s);
            InvalidateRect(s.hwnd, nullptr, FALSE);
        }
        return 0;
    default:
        return 0;
    }
}

// ---- items ----

LRESULT OnInsertItem(TreeListState& s, const TVINSERTSTRUCTA* insert)
{
    if (!insert)
        return 0;
    LockScope lock(s.lock);
    ItemId id = InsertItem(s, *insert);
    if (id && IsVisible(s, id)) {
        InvalidateRowsFrom(s, id);
        s.scrollBarsDirty = true;
    } else if (id && s.items[id]->parent) {
        InvalidateItem(s, s.items[id]->parent);
    }
    return static_cast<LRESULT>(id);
}

LRESULT OnDeleteItemCallingOut(TreeListState& s, LPARAM lParam)
{
    LockScope lock(s.lock);
    unsigned handle = Handle32(static_cast<UINT_PTR>(lParam));
    if (handle == kRoot || handle == 0) {
        if (handle == 0 && lParam != 0)
            return FALSE;
        DeleteAllItems(s);
    } else {
        ItemId id = IdFromParam(static_cast<UINT_PTR>(lParam));
        if (!Item(s, id))
            return FALSE;
        ItemId parent = s.items[id]->parent;
        if (IsVisible(s, id))
            InvalidateRowsFrom(s, id);
        DeleteItem(s, id);
        if (parent)
            InvalidateItem(s, parent);
    }
    if (s.editor && !s.editItem && IsWindowVisible(s.editor.Get()))
        CancelEditCallingOut(s);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    s.scrollBarsDirty = true;
    return TRUE;
}

LRESULT OnExpandCallingOut(TreeListState& s, WPARAM code, LPARAM item)
{
    LockScope lock(s.lock);
    return ExpandItemCallingOut(s, IdFromParam(static_cast<UINT_PTR>(item)), static_cast<UINT>(code));
}

LRESULT OnGetItemRectCallingOut(TreeListState& s, BOOL textOnly, RECT* rect)
{
    if (!rect)
        return FALSE;
    LockScope lock(s.lock);
    ItemId id = IdFromHandle(*reinterpret_cast<HTREEITEM*>(rect));
    return ItemRectCallingOut(s, id, textOnly != FALSE, *rect);
}

LRESULT OnSetIndent(TreeListState& s, int indent)
{
    LockScope lock(s.lock);
    int old = s.indent;
    const Metrics& m = s.metrics;
    s.indent = indent < m.minIndent ? m.minIndent : indent > m.maxIndent ? m.maxIndent : indent;
    s.indentSet = true;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    return old;
}

LRESULT OnGetImageList(TreeListState& s, WPARAM which)
{
    LockScope lock(s.lock);
    if (which == TVSIL_STATE)
        return reinterpret_cast<LRESULT>(s.stateImages);
    if (which == TVSIL_NORMAL)
        return reinterpret_cast<LRESULT>(s.images.Get());
    return 0;
}

LRESULT OnSetImageList(TreeListState& s, WPARAM which, HIMAGELIST list)
{
    if (which != TVSIL_STATE && which != TVSIL_NORMAL)
        return 0;
    LockScope lock(s.lock);
    HIMAGELIST old = SetImageList(s, static_cast<int>(which), list);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    s.scrollBarsDirty = true;
    return reinterpret_cast<LRESULT>(old);
}

LRESULT OnGetNextItem(TreeListState& s, WPARAM relation, LPARAM item)
{
    LockScope lock(s.lock);
    unsigned handle = Handle32(static_cast<UINT_PTR>(item));
    if ((relation & 0xFF) == TVGN_CHILD && (handle == 0 || handle == kRoot))
        return static_cast<LRESULT>(s.firstRoot);
    return static_cast<LRESULT>(NextItem(s, IdFromParam(static_cast<UINT_PTR>(item)), static_cast<UINT>(relation)));
}

LRESULT OnSelectItemCallingOut(TreeListState& s, WPARAM how, LPARAM item)
{
    LockScope lock(s.lock);
    ItemId id = IdFromParam(static_cast<UINT_PTR>(item));
    if (id && !Item(s, id))
        return FALSE;
    switch (how & 0xFF) {
    case TVGN_CARET:
        return SelectCaretCallingOut(s, id, static_cast<int>((how >> 24) & 0xFF), (how & TVSI_DESELECTOTHERS) != 0);
    case TVGN_DROPHILITE:
        SetDropHilite(s, id);
        return TRUE;
    case TVGN_FIRSTVISIBLE: {
        int row = RowOf(s, id);
        if (row < 0)
            return FALSE;
        ScrollToRowCallingOut(s, row);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

LRESULT OnGetItemCallingOut(TreeListState& s, TVITEMA* tv)
{
    if (!tv)
        return FALSE;
    LockScope lock(s.lock);
    return GetItemCallingOut(s, *tv);
}

LRESULT OnSetItem(TreeListState& s, const TVITEMA* tv)
{
    if (!tv)
        return FALSE;
    LockScope lock(s.lock);
    return SetItem(s, *tv);
}

LRESULT OnEditLabelCallingOut(TreeListState& s, WPARAM how, LPARAM item)
{
    LockScope lock(s.lock);
    return reinterpret_cast<LRESULT>(BeginEditCallingOut(s, IdFromParam(static_cast<UINT_PTR>(item)), how));
}

LRESULT OnGetVisibleCount(TreeListState& s)
{
    LockScope lock(s.lock);
    int height = s.clientHeight - s.headerHeight;
    return s.rowHeight > 0 && height > 0 ? height / s.rowHeight : 0;
}

LRESULT OnHitTestCallingOut(TreeListState& s, TVHITTESTINFO* info)
{
    if (!info)
        return 0;
    LockScope lock(s.lock);
    HitResult hit = HitTestCallingOut(s, info->pt);
    info->flags = hit.flags;
    info->hItem = HandleFromId(hit.item);
    return static_cast<LRESULT>(hit.item);
}

LRESULT OnCreateDragImageCallingOut(TreeListState& s, WPARAM column, LPARAM item)
{
    LockScope lock(s.lock);
    if (column > kMaxColumns)
        return 0;
    ItemId id = IdFromParam(static_cast<UINT_PTR>(item));
    return reinterpret_cast<LRESULT>(CreateDragImageCallingOut(s, id, static_cast<int>(column)));
}

LRESULT OnSortChildren(TreeListState& s, WPARAM recurse, LPARAM item)
{
    LockScope lock(s.lock);
    unsigned handle = Handle32(static_cast<UINT_PTR>(item));
    ItemId parent = handle == kRoot ? 0 : IdFromParam(static_cast<UINT_PTR>(item));
    if (handle != kRoot && handle != 0 && !parent)
        return FALSE;
    return SortChildren(s, parent, recurse != 0);
}

LRESULT OnSortChildrenCbCallingOut(TreeListState& s, WPARAM recurse, const TVSORTCB* sort)
{
    if (!sort || !sort->lpfnCompare)
        return FALSE;
    LockScope lock(s.lock);
    unsigned handle = Handle32(reinterpret_cast<UINT_PTR>(sort->hParent));
    ItemId parent = handle == kRoot ? 0 : IdFromHandle(sort->hParent);
    if (handle != kRoot && handle != 0 && !parent)
        return FALSE;
    return SortChildrenCallingOut(s, parent, recurse != 0, sort->lpfnCompare, sort->lParam);
}

LRESULT OnEnsureVisibleCallingOut(TreeListState& s, LPARAM item)
{
    LockScope lock(s.lock);
    ItemId id = IdFromParam(static_cast<UINT_PTR>(item));
    if (!ExpandAncestorsCallingOut(s, id))
        return FALSE;
    EnsureItemShownCallingOut(s, id);
    return TRUE;
}

LRESULT OnSetTooltips(TreeListState& s, HWND tooltip)
{
    LockScope lock(s.lock);
    // The tooltip handed back is the caller's now; the one handed in is ours.
    HWND old = s.tooltip.Release();
    s.tooltip.Reset(tooltip);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT OnSetInsertMark(TreeListState& s, BOOL after, LPARAM item)
{
    LockScope lock(s.lock);
    ItemId id = IdFromParam(static_cast<UINT_PTR>(item));
    if (id && !Item(s, id))
        return FALSE;
    if (s.insertMark)
        InvalidateItem(s, s.insertMark);
    s.insertMark = id;
    s.insertMarkAfter = after != FALSE;
    if (id)
        InvalidateItem(s, id);
    return TRUE;
}

LRESULT OnSetItemHeight(TreeListState& s, int height)
{
    LockScope lock(s.lock);
    int old = SetRowHeight(s, height);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    s.scrollBarsDirty = true;
    return old;
}

LRESULT OnSetColor(TreeListState& s, WPARAM index, COLORREF color)
{
    LockScope lock(s.lock);
    COLORREF old = SetColorSlot(s, index, color);
    if (old == CLR_NONE)
        return -1;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    return static_cast<LRESULT>(old);
}

LRESULT OnGetColor(TreeListState& s, WPARAM index)
{
    if (index >= TVC_COUNT)
        return -1;
    LockScope lock(s.lock);
    return static_cast<LRESULT>(s.colors[index]);
}

LRESULT OnGetItemState(TreeListState& s, WPARAM item, LPARAM mask)
{
    LockScope lock(s.lock);
    const TreeItem* record = Item(s, IdFromParam(item));
    return record ? static_cast<LRESULT>(record->state & static_cast<UINT>(mask)) : 0;
}

LRESULT OnSetExtendedStyle(TreeListState& s, WPARAM mask, LPARAM bits)
{
    LockScope lock(s.lock);
    DWORD m = mask ? static_cast<DWORD>(mask) : 0xFFFFFFFFu;
    s.exStyle = (s.exStyle & ~m) | (static_cast<DWORD>(bits) & m);
    UpdateRowHeight(s);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    s.scrollBarsDirty = true;
    return static_cast<LRESULT>(s.exStyle);
}

LRESULT OnGetUserData(TreeListState& s, LPARAM item)
{
    LockScope lock(s.lock);
    TreeItem* record = Item(s, IdFromParam(static_cast<UINT_PTR>(item)));
    if (!record || s.userDataSize == 0)
        return 0;
    return reinterpret_cast<LRESULT>(record + 1);
}

LRESULT OnSetUserDataSize(TreeListState& s, LPARAM size)
{
    if (size < 0 || static_cast<size_t>(size) > kMaxUserData)
        return -1;
    LockScope lock(s.lock);
    if (s.itemCount > 0)
        return 0;
    s.userDataSize = static_cast<size_t>(size);
    return static_cast<LRESULT>(s.userDataSize);
}

LRESULT OnColumnItemCallingOut(TreeListState& s, UINT message, WPARAM column, LPARAM item)
{
    LockScope lock(s.lock);
    if (!s.header || column >= static_cast<WPARAM>(s.columnCount) || !item)
        return FALSE;
    HWND header = s.header.Get();
    LRESULT result = 0;
    Recheck check(s);
    {
        UnlockScope unlock(s.lock);
        result = SendMessageA(header, message == TVM_GETCOLUMN ? HDM_GETITEMA : HDM_SETITEMA, column, item);
    }
    if (message == TVM_SETCOLUMN && check.Holds()) {
        LayoutColumns(s);
        PlaceHeader(s);
        InvalidateRect(s.hwnd, nullptr, FALSE);
    }
    return result;
}

LRESULT OnGetItemRow(TreeListState& s, LPARAM item)
{
    LockScope lock(s.lock);
    return RowOf(s, IdFromParam(static_cast<UINT_PTR>(item)));
}

LRESULT OnGetRowItem(TreeListState& s, LPARAM row)
{
    LockScope lock(s.lock);
    if (row < 0 || row > 0x7FFFFFFF)
        return 0;
    return static_cast<LRESULT>(ItemAtRow(s, static_cast<int>(row)));
}

LRESULT OnGetCellColor(TreeListState& s, WPARAM item, LPARAM column, bool background)
{
    LockScope lock(s.lock);
    if (column < 0 || column >= kMaxColumns)
        return -1;
    return CellColor(s, IdFromParam(item), static_cast<int>(column), background);
}

LRESULT OnSetCellColor(TreeListState& s, WPARAM cell, LPARAM color, bool background)
{
    LockScope lock(s.lock);
    return SetCellColor(s, cell, static_cast<COLORREF>(color), background);
}

LRESULT OnInsertColumn(TreeListState& s, WPARAM position, const TVCOLUMNA* column)
{
    if (!column || position > 0x7FFFFFFF)
        return -1;
    LockScope lock(s.lock);
    int index = InsertColumn(s, static_cast<int>(position), *column);
    if (index >= 0) {
        UpdateRowsFit(s);
        s.scrollBarsDirty = true;
    }
    return index;
}

LRESULT OnDeleteColumnCallingOut(TreeListState& s, WPARAM column)
{
    LockScope lock(s.lock);
    if (column >= static_cast<WPARAM>(s.columnCount) || column == 0)
        return FALSE;
    Recheck check(s);
    if (s.editItem && s.editColumn == static_cast<int>(column))
        CancelEditCallingOut(s);
    if (!check.Holds())
        return FALSE;
    return DeleteColumn(s, static_cast<int>(column)) ? TRUE : FALSE;
}

// ---- accessibility ----

// The accessibility object of the control's client area; every other object is the
// system's.
LRESULT OnGetObject(TreeListState& s, WPARAM flags, LPARAM object)
{
    if (static_cast<LONG>(static_cast<DWORD>(object)) != OBJID_CLIENT || s.tearingDown)
        return DefWindowProcA(s.hwnd, WM_GETOBJECT, flags, object);
    if (!s.accessible)
        s.accessible = TreeListAccessible::Create(s.hwnd);
    if (!s.accessible)
        return 0;
    return LresultFromObject(velutils::kIidAccessible, flags, static_cast<IAccessible*>(s.accessible.Get()));
}

// A question of the accessibility object (answered: 1), or the expansion its default
// action asked for.
LRESULT OnAccessibleMessageCallingOut(TreeListState& s, WPARAM kind, LPARAM detail)
{
    LockScope lock(s.lock);
    if (s.tearingDown)
        return 0;
    if (kind == kAccessibleAnswer && detail) {
        AnswerAccessibleQueryCallingOut(s, *reinterpret_cast<AccessibleQuery*>(detail));
        return 1;
    }
    ItemId id = IdFromParam(static_cast<UINT_PTR>(detail));
    const TreeItem* item = Item(s, id);
    if (kind != kAccessibleToggle || !item || !HasChildren(s, *item))
        return 0;
    ExpandItemCallingOut(s, id, TVE_TOGGLE);
    return 1;
}

// ---- input ----

LRESULT OnKeyDownMessageCallingOut(TreeListState& s, WPARAM key)
{
    LockScope lock(s.lock);
    OnKeyDownCallingOut(s, static_cast<WORD>(key));
    return 0;
}

// Shift+F10 arrives as a system key; F10 alone stays the window menu's key. The keys'
// releases are kept from the default handling, which would ask for the menu again.
LRESULT OnSysKeyDownCallingOut(TreeListState& s, WPARAM key, LPARAM lParam)
{
    if (!IsContextMenuKey(static_cast<WORD>(key)))
        return DefWindowProcA(s.hwnd, WM_SYSKEYDOWN, key, lParam);
    LockScope lock(s.lock);
    OnContextMenuKeyCallingOut(s);
    return 0;
}

LRESULT OnKeyUp(TreeListState& s, UINT msg, WPARAM key, LPARAM lParam)
{
    if (key == VK_APPS || (key == VK_F10 && GetKeyState(VK_SHIFT) < 0))
        return 0;
    return DefWindowProcA(s.hwnd, msg, key, lParam);
}

LRESULT OnMouseButtonMessageCallingOut(TreeListState& s, UINT message, WPARAM keys, LPARAM lParam)
{
    LockScope lock(s.lock);
    POINT point = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    OnMouseButtonCallingOut(s, message, keys, point);
    return 0;
}

LRESULT OnMouseMoveMessageCallingOut(TreeListState& s, WPARAM keys, LPARAM lParam)
{
    LockScope lock(s.lock);
    POINT point = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    OnMouseMoveCallingOut(s, keys, point);
    return 0;
}

LRESULT OnMouseUpMessage(TreeListState& s)
{
    LockScope lock(s.lock);
    OnMouseButtonUp(s);
    return 0;
}

LRESULT OnCommandCallingOut(TreeListState& s, WPARAM wParam)
{
    if (LOWORD(wParam) != TVLE_ID)
        return 0;
    LockScope lock(s.lock);
    OnEditorCommandCallingOut(s, HIWORD(wParam));
    return 0;
}

LRESULT OnScrollCallingOut(TreeListState& s, bool vertical, WPARAM wParam)
{
    LockScope lock(s.lock);
    if (vertical)
        OnVScrollCallingOut(s, LOWORD(wParam));
    else
        OnHScrollCallingOut(s, LOWORD(wParam));
    return 0;
}

LRESULT OnMouseWheelCallingOut(TreeListState& s, WPARAM wParam)
{
    LockScope lock(s.lock);
    OnWheelCallingOut(s, static_cast<short>(HIWORD(wParam)), LOWORD(wParam));
    return 0;
}

LRESULT DispatchCallingOut(TreeListState& s, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kUpdateScrollBars: return OnUpdateScrollBarsCallingOut(s);
    case WM_DESTROY: return OnDestroy(s);
    case WM_SIZE: return OnSize(s, LOWORD(lParam), HIWORD(lParam));
    case WM_PAINT: return OnPaintCallingOut(s, reinterpret_cast<HDC>(wParam));
    case WM_PRINTCLIENT: return OnPaintCallingOut(s, reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: return OnSetFont(s, reinterpret_cast<HFONT>(wParam), static_cast<BOOL>(lParam));
    case WM_DPICHANGED: return OnDpiChanged(s, HIWORD(wParam));
    case WM_DPICHANGED_AFTERPARENT: return OnDpiChanged(s, 0);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_SYSCOLORCHANGE: return OnSysColorChange(s);
    case WM_ENABLE: return OnEnable(s, static_cast<BOOL>(wParam));
    case WM_SETFOCUS: return OnFocusCallingOut(s, true);
    case WM_KILLFOCUS: return OnFocusCallingOut(s, false);
    case WM_GETDLGCODE: return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_STYLECHANGED: return OnStyleChanged(s, wParam, reinterpret_cast<const STYLESTRUCT*>(lParam));
    case WM_NOTIFYFORMAT: return NFR_ANSI;
    case WM_NOTIFY: return OnHeaderNotifyCallingOut(s, wParam, reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND: return OnCommandCallingOut(s, wParam);
    case WM_VSCROLL: return OnScrollCallingOut(s, true, wParam);
    case WM_HSCROLL: return OnScrollCallingOut(s, false, wParam);
    case WM_MOUSEWHEEL: return OnMouseWheelCallingOut(s, wParam);
    case WM_KEYDOWN: return OnKeyDownMessageCallingOut(s, wParam);
    case WM_SYSKEYDOWN: return OnSysKeyDownCallingOut(s, wParam, lParam);
    case WM_KEYUP:
    case WM_SYSKEYUP: return OnKeyUp(s, msg, wParam, lParam);
    case WM_GETOBJECT: return OnGetObject(s, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: return OnMouseButtonMessageCallingOut(s, msg, wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMoveMessageCallingOut(s, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: return OnMouseUpMessage(s);

    case TVM_INSERTITEMA: return OnInsertItem(s, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam));
    case TVM_DELETEITEM: return OnDeleteItemCallingOut(s, lParam);
    case TVM_EXPAND: return OnExpandCallingOut(s, wParam, lParam);
    case TVM_GETITEMRECT: return OnGetItemRectCallingOut(s, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT: return static_cast<LRESULT>(s.itemCount);
    case TVM_GETINDENT: return s.indent;
    case TVM_SETINDENT: return OnSetIndent(s, static_cast<int>(wParam));
    case TVM_GETIMAGELIST: return OnGetImageList(s, wParam);
    case TVM_SETIMAGELIST: return OnSetImageList(s, wParam, reinterpret_cast<HIMAGELIST>(lParam));
    case TVM_GETNEXTITEM: return OnGetNextItem(s, wParam, lParam);
    case TVM_SELECTITEM: return OnSelectItemCallingOut(s, wParam, lParam);
    case TVM_GETITEMA: return OnGetItemCallingOut(s, reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA: return OnSetItem(s, reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_EDITLABELA: return OnEditLabelCallingOut(s, wParam, lParam);
    case TVM_GETEDITCONTROL: return reinterpret_cast<LRESULT>(s.editor.Get());
    case TVM_GETVISIBLECOUNT: return OnGetVisibleCount(s);
    case TVM_HITTEST: return OnHitTestCallingOut(s, reinterpret_cast<TVHITTESTINFO*>(lParam));
    case TVM_CREATEDRAGIMAGE: return OnCreateDragImageCallingOut(s, wParam, lParam);
    case TVM_SORTCHILDREN: return OnSortChildren(s, wParam, lParam);
    case TVM_ENSUREVISIBLE: return OnEnsureVisibleCallingOut(s, lParam);
    case TVM_SORTCHILDRENCB: return OnSortChildrenCbCallingOut(s, wParam, reinterpret_cast<const TVSORTCB*>(lParam));
    case TVM_SETTOOLTIPS: return OnSetTooltips(s, reinterpret_cast<HWND>(wParam));
    case TVM_GETTOOLTIPS: return reinterpret_cast<LRESULT>(s.tooltip.Get());
    case TVM_SETINSERTMARK: return OnSetInsertMark(s, static_cast<BOOL>(wParam), lParam);
    case TVM_SETITEMHEIGHT: return OnSetItemHeight(s, static_cast<short>(LOWORD(wParam)));
    case TVM_GETITEMHEIGHT: return s.rowHeight;
    case TVM_SETCOLOR: return OnSetColor(s, wParam, static_cast<COLORREF>(lParam));
    case TVM_SETTEXTCOLOR: return OnSetColor(s, TVC_TEXT, static_cast<COLORREF>(lParam));
    case TVM_GETCOLOR: return OnGetColor(s, wParam);
    case TVM_GETTEXTCOLOR: return OnGetColor(s, TVC_TEXT);
    case TVM_SETINSERTMARKCOLOR: return OnSetColor(s, TVC_INSERT, static_cast<COLORREF>(lParam));
    case TVM_GETINSERTMARKCOLOR: return OnGetColor(s, TVC_INSERT);
    case TVM_GETITEMSTATE: return OnGetItemState(s, wParam, lParam);
    case TVM_SETLINECOLOR: return OnSetColor(s, TVC_LINE, static_cast<COLORREF>(lParam));
    case TVM_GETLINECOLOR: return OnGetColor(s, TVC_LINE);
    case TVM_SETEXTENDEDSTYLE: return OnSetExtendedStyle(s, wParam, lParam);
    case TVM_GETEXTENDEDSTYLE: return static_cast<LRESULT>(s.exStyle);
    case TVM_GETUSERDATA: return OnGetUserData(s, lParam);
    case TVM_GETUSERDATASIZE: return static_cast<LRESULT>(s.userDataSize);
    case TVM_SETUSERDATASIZE: return OnSetUserDataSize(s, lParam);
    case TVM_GETCOLUMN:
    case TVM_SETCOLUMN: return OnColumnItemCallingOut(s, msg, wParam, lParam);
    case TVM_GETITEMROW: return OnGetItemRow(s, lParam);
    case TVM_GETROWITEM: return OnGetRowItem(s, lParam);
    case TVM_GETCELLTEXTCOLOR: return OnGetCellColor(s, wParam, lParam, false);
    case TVM_SETCELLTEXTCOLOR: return OnSetCellColor(s, wParam, lParam, false);
    case TVM_GETCELLBKCOLOR: return OnGetCellColor(s, wParam, lParam, true);
    case TVM_SETCELLBKCOLOR: return OnSetCellColor(s, wParam, lParam, true);
    case TVM_INSERTCOLUMN: return OnInsertColumn(s, wParam, reinterpret_cast<const TVCOLUMNA*>(lParam));
    case TVM_DELETECOLUMN: return OnDeleteColumnCallingOut(s, wParam);
    case TVM_GETCOLUMNCOUNT: return s.columnCount;
    case TVM_GETHEADER: return reinterpret_cast<LRESULT>(s.header.Get());
    default:
        if (msg == AccessibleMessage())
            return OnAccessibleMessageCallingOut(s, wParam, lParam);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK TreeListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    TreeListState* s = GetState(hwnd);
    if (msg == WM_NCDESTROY)
        return OnNcDestroy(hwnd, s);
    if (!s)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    ++s->busy;
    LRESULT result = DispatchCallingOut(*s, hwnd, msg, wParam, lParam);
    if (!s->deleted.empty())
        NotifyDeletedItemsCallingOut(*s);
    if (s->events.Pending())
        s->events.RaiseCallingOut(*s);
    if (--s->busy == 0 && s->destroyed) {
        FreeState(s);
        return result;
    }
    if (s->scrollBarsDirty && !s->scrollBarsPosted && !s->tearingDown)
        s->scrollBarsPosted = PostMessageA(hwnd, kUpdateScrollBars, 0, 0) != FALSE;
    return result;
}

}  // namespace

bool RegisterTreeListClass(HINSTANCE instance)
{
    WNDCLASSA existing = {};
    if (GetClassInfoA(instance, TREELIST_CLASSNAME, &existing))
        return true;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TreeListProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = TREELIST_CLASSNAME;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace treelist
