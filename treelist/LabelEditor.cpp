#include "treelist/LabelEditor.h"

#include "treelist/Columns.h"
#include "treelist/ItemAccess.h"
#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Notify.h"
#include "treelist/Recheck.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"
#include "treelist/TreeOps.h"

namespace treelist {

namespace {

const char kOldProcProperty[] = "TreeListEditorProc";
constexpr int kTextLimit = 260;

LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProperty));
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            WORD code = wParam == VK_RETURN ? TVLE_NOTIFY_OK : TVLE_NOTIFY_CANCEL;
            HWND target = GetParent(hwnd);
            SendMessageA(target, WM_COMMAND, MAKEWPARAM(TVLE_ID, code), reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            return 0;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_COMMAND:
        if (HIWORD(wParam) == TVLE_NOTIFY_OK || HIWORD(wParam) == TVLE_NOTIFY_CANCEL) {
            SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(TVLE_ID, HIWORD(wParam)),
                         reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemovePropA(hwnd, kOldProcProperty);
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        break;
    default:
        break;
    }
    return old ? CallWindowProcA(old, hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Subclass(HWND hwnd)
{
    LONG_PTR old = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc));
    SetPropA(hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(old));
}

BOOL CALLBACK SubclassChild(HWND child, LPARAM)
{
    Subclass(child);
    return TRUE;
}

bool MakeEditor(TreeListState& s, int kind)
{
    if (s.editor && s.editorKind == kind)
        return true;
    s.editor.Reset();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(s.hwnd, GWLP_HINSTANCE));
    HMENU id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(TVLE_ID));
    HWND editor = kind == 0
        ? CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | 0x80, 0, 0, 10, 10, s.hwnd, id, instance, nullptr)
        : CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_BORDER | (kind == 1 ? 0x82 : 0x83), 0, 0, 10,
                          s.metrics.comboHeight, s.hwnd, id, instance, nullptr);
    if (!editor)
        return false;
    // What is typed past the text the edit can keep would be lost without a word.
    SendMessageA(editor, kind == 0 ? EM_LIMITTEXT : CB_LIMITTEXT, kTextLimit - 1, 0);
    Subclass(editor);
    EnumChildWindows(editor, SubclassChild, 0);
    s.editor.Reset(editor);
    s.editorKind = kind;
    return true;
}

RECT EditorPlace(TreeListState& s, ItemId id, int column, bool wholeCell, const char* text)
{
    const Metrics& m = s.metrics;
    int row = RowOf(s, id);
    RECT cell = {};
    cell.top = s.headerHeight + (row - s.firstRow) * s.rowHeight;
    if (column == 0) {
        cell.left = LayoutItem(s, id).labelLeft;
        cell.right = TreeColumnRight(s);
    } else {
        cell.left = s.columns[column].left;
        cell.right = s.columns[column].right;
    }
    cell.left -= s.scrollX;
    cell.right -= s.scrollX;
    int textWidth = MeasureText(s, text, static_cast<unsigned>(lstrlenA(text)), false, nullptr);
    int width = wholeCell ? cell.right - cell.left - m.labelPad : textWidth + m.editorPad;
    if (width < m.editorMinWidth)
        width = m.editorMinWidth;
    int align = column == 0 ? 0 : s.columns[column].align;
    int left = cell.left;
    if (align == 1)
        left = cell.left + (cell.right - cell.left - width) / 2;
    else if (align == 2)
        left = cell.right - width;
    int height = s.editorKind == 0 ? s.textHeight + m.editorHeightPad : m.comboHeight;
    RECT place = { left, cell.top, left + width, cell.top + height };
    return place;
}

// Returns the owner's answer; `textLeft` tells whether the owner left the text in place
// (an owner that clears it keeps the old text).
LRESULT NotifyLabelEditCallingOut(TreeListState& s, UINT code, ItemId id, int column, char* text, bool* textLeft)
{
    NMTVDISPINFOA nm = {};
    FillNotifyItem(s, nm.item, id, column, TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE | TVIF_SUBITEM);
    nm.item.pszText = text;
    nm.item.cchTextMax = text ? kTextLimit : 0;
    LRESULT answer = SendNotifyCallingOut(s, nm.hdr, code);
    if (textLeft)
        *textLeft = text && nm.item.pszText == text;
    return answer;
}

void HideEditorCallingOut(TreeListState& s)
{
    if (!s.editor)
        return;
    HWND editor = s.editor.Get();
    UnlockScope unlock(s.lock);
    ShowWindow(editor, SW_HIDE);
}

void FocusCallingOut(TreeListState& s, HWND target)
{
    UnlockScope unlock(s.lock);
    SetFocus(target);
}

// A kept text goes to the owner when it supplies the text, else into the item or cell.
void StoreEditedTextCallingOut(TreeListState& s, ItemId id, int column, char* text, bool callback)
{
    if (callback) {
        NMTVDISPINFOA nm = {};
        FillNotifyItem(s, nm.item, id, column, TVIF_TEXT | TVIF_HANDLE | TVIF_SUBITEM);
        nm.item.pszText = text;
        SendNotifyCallingOut(s, nm.hdr, TVN_SETDISPINFOA);
        return;
    }
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_SUBITEM;
    tv.hItem = HandleFromId(id);
    tv.pszText = text;
    tv.cChildren = column;
    SetItem(s, tv);
}

void EndEditCallingOut(TreeListState& s, bool keep, bool fromKillFocus)
{
    ItemId id = s.editItem;
    int column = s.editColumn;
    s.editItem = 0;
    s.editColumn = 0;
    if (!Item(s, id) || !ColumnExists(s, column)) {
        HideEditorCallingOut(s);
        return;
    }
    char text[kTextLimit] = {};
    if (s.editor)
        GetWindowTextA(s.editor.Get(), text, kTextLimit);
    bool focusBack = s.focusBack && !fromKillFocus;
    s.focusBack = false;
    bool callback = s.editTextCallback;
    Recheck check(s);
    HideEditorCallingOut(s);
    bool textLeft = false;
    NotifyLabelEditCallingOut(s, TVN_ENDLABELEDITA, id, column, keep ? text : nullptr, &textLeft);
    if (keep && textLeft && check.Holds(id) && ColumnExists(s, column))
        StoreEditedTextCallingOut(s, id, column, text, callback);
    if (focusBack && check.Holds() && GetFocus() != s.hwnd)
        FocusCallingOut(s, s.hwnd);
}

// The item (and in cell-selection mode the column) becomes the caret, in view, with no
// other edit going on; false when the owner took the item or column away meanwhile.
bool PrepareEditCallingOut(TreeListState& s, ItemId id, int column)
{
    Recheck check(s);
    if (s.editItem)
        EndEditCallingOut(s, false, false);
    bool cellMode = (s.exStyle & TVS_EX_CELLSELECT_TL) != 0;
    if (check.Holds(id) && ColumnExists(s, column))
        SelectCaretCallingOut(s, id, cellMode ? column : 0, true, CaretMove::Internal);
    if (check.Holds(id) && ColumnExists(s, column))
        EnsureItemShownCallingOut(s, id);
    return check.Holds(id) && ColumnExists(s, column);
}

// Focus, text, font and selection of the editor, shown at its place.
void ShowEditorCallingOut(TreeListState& s, const RECT& place, const char* text)
{
    HWND editor = s.editor.Get();
    s.focusBack = GetFocus() == s.hwnd;
    FocusCallingOut(s, editor);
    SetWindowTextA(editor, text);
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    if (s.editorKind == 0)
        SendMessageA(editor, EM_SETSEL, 0, -1);
    else
        SendMessageA(editor, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    SetWindowPos(editor, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_SHOWWINDOW);
}

}  // namespace

HWND BeginEditCallingOut(TreeListState& s, ItemId id, WPARAM how)
{
    if (!(s.style & TVS_EDITLABELS))
        return nullptr;
    int column = static_cast<int>(how & TVLE_COLUMNMASK);
    int kind = static_cast<int>((how >> 29) & 3);
    if (kind > 2)
        kind = 2;
    bool wholeCell = (how & TVLE_FULLCELL) != 0;
    if (!Item(s, id) || !ColumnExists(s, column))
        return nullptr;
    Recheck check(s);
    if (!PrepareEditCallingOut(s, id, column) || !MakeEditor(s, kind))
        return nullptr;
    if (kind != 0)
        SendMessageA(s.editor.Get(), CB_RESETCONTENT, 0, 0);
    char buffer[kTextLimit];
    char text[kTextLimit];
    lstrcpynA(text, ItemTextCallingOut(s, id, column, buffer, sizeof(buffer)), kTextLimit);
    if (!check.Holds(id))
        return nullptr;
    RECT place = EditorPlace(s, id, column, wholeCell, text);
    bool callback = column == 0 && (s.items[id]->callbackFlags & CBK_TEXT);
    if (NotifyLabelEditCallingOut(s, TVN_BEGINLABELEDITA, id, column, text, nullptr)) {
        HideEditorCallingOut(s);
        return nullptr;
    }
    if (!check.Holds(id) || !ColumnExists(s, column) || !s.editor)
        return nullptr;
    ShowEditorCallingOut(s, place, text);
    s.editItem = id;
    s.editColumn = column;
    s.editTextCallback = callback;
    s.editWholeCell = wholeCell;
    return s.editor.Get();
}

void OnEditorCommandCallingOut(TreeListState& s, UINT code)
{
    if (!s.editItem)
        return;
    switch (code) {
    case EN_KILLFOCUS:
        EndEditCallingOut(s, true, true);
        break;
    case TVLE_NOTIFY_OK:
    case CBN_KILLFOCUS:
        EndEditCallingOut(s, true, false);
        break;
    case TVLE_NOTIFY_CANCEL:
        EndEditCallingOut(s, false, false);
        break;
    default:
        break;
    }
}

void CancelEditCallingOut(TreeListState& s)
{
    if (s.editItem)
        EndEditCallingOut(s, false, false);
    else
        HideEditorCallingOut(s);
}

void RefitEditor(TreeListState& s)
{
    if (!s.editor)
        return;
    HWND editor = s.editor.Get();
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    if (!Item(s, s.editItem) || !ColumnExists(s, s.editColumn) || RowOf(s, s.editItem) < 0)
        return;
    char text[kTextLimit] = {};
    GetWindowTextA(editor, text, kTextLimit);
    RECT place = EditorPlace(s, s.editItem, s.editColumn, s.editWholeCell, text);
    SetWindowPos(editor, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(editor, nullptr, TRUE);
}

}  // namespace treelist
