#include "treelist/LabelEditor.h"

#include "treelist/Columns.h"
#include "treelist/ItemAccess.h"
#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Notify.h"
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
        : CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_BORDER | (kind == 1 ? 0x82 : 0x83), 0, 0, 10, 160,
                          s.hwnd, id, instance, nullptr);
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
    int row = RowOf(s, id);
    RECT cell = {};
    cell.top = s.headerHeight + (row - s.firstRow) * s.rowHeight;
    if (column == 0) {
        cell.left = LayoutItem(s, id, nullptr).labelLeft;
        cell.right = TreeColumnRight(s);
    } else {
        cell.left = s.columns[column].left;
        cell.right = s.columns[column].right;
    }
    cell.left -= s.scrollX;
    cell.right -= s.scrollX;
    int textWidth = MeasureText(s, text, static_cast<unsigned>(lstrlenA(text)), false, nullptr);
    int width = wholeCell ? cell.right - cell.left - 2 : textWidth + 10;
    if (width < 32)
        width = 32;
    int align = column == 0 ? 0 : s.columns[column].align;
    int left = cell.left;
    if (align == 1)
        left = cell.left + (cell.right - cell.left - width) / 2;
    else if (align == 2)
        left = cell.right - width;
    int height = s.editorKind == 0 ? s.textHeight + 4 : 160;
    RECT place = { left, cell.top, left + width, cell.top + height };
    return place;
}

// Returns the owner's answer; `textLeft` tells whether the owner left the text in place
// (an owner that clears it keeps the old text).
LRESULT NotifyLabelEdit(TreeListState& s, UINT code, ItemId id, int column, char* text, bool* textLeft)
{
    NMTVDISPINFOA nm = {};
    FillNotifyItem(s, nm.item, id, column, TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE | TVIF_SUBITEM);
    nm.item.pszText = text;
    nm.item.cchTextMax = text ? kTextLimit : 0;
    LRESULT answer = SendNotify(s, nm.hdr, code);
    if (textLeft)
        *textLeft = text && nm.item.pszText == text;
    return answer;
}

void HideEditor(TreeListState& s)
{
    if (!s.editor)
        return;
    HWND editor = s.editor.Get();
    UnlockScope unlock(s.lock);
    ShowWindow(editor, SW_HIDE);
}

void EndEdit(TreeListState& s, bool keep, bool fromKillFocus)
{
    ItemId id = s.editItem;
    int column = s.editColumn;
    s.editItem = 0;
    s.editColumn = 0;
    if (!Item(s, id) || !ColumnExists(s, column)) {
        HideEditor(s);
        return;
    }
    char text[kTextLimit] = {};
    if (s.editor)
        GetWindowTextA(s.editor.Get(), text, kTextLimit);
    bool focusBack = s.focusBack && !fromKillFocus;
    s.focusBack = false;
    bool callback = s.editTextCallback;
    HideEditor(s);
    bool textLeft = false;
    NotifyLabelEdit(s, TVN_ENDLABELEDITA, id, column, keep ? text : nullptr, &textLeft);
    if (keep && textLeft && Item(s, id) && ColumnExists(s, column)) {
        if (callback) {
            NMTVDISPINFOA nm = {};
            FillNotifyItem(s, nm.item, id, column, TVIF_TEXT | TVIF_HANDLE | TVIF_SUBITEM);
            nm.item.pszText = text;
            SendNotify(s, nm.hdr, TVN_SETDISPINFOA);
        } else {
            TVITEMA tv = {};
            tv.mask = TVIF_TEXT | TVIF_SUBITEM;
            tv.hItem = HandleFromId(id);
            tv.pszText = text;
            tv.cChildren = column;
            SetItem(s, tv);
        }
    }
    if (focusBack && GetFocus() != s.hwnd) {
        HWND hwnd = s.hwnd;
        UnlockScope unlock(s.lock);
        SetFocus(hwnd);
    }
}

}  // namespace

HWND BeginEdit(TreeListState& s, ItemId id, WPARAM how)
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
    if (s.editItem)
        EndEdit(s, false, false);
    bool cellMode = (s.exStyle & TVS_EX_CELLSELECT_TL) != 0;
    SelectCaret(s, id, cellMode ? column : 0, true, CaretMove::Internal);
    if (!Item(s, id) || !ColumnExists(s, column))
        return nullptr;
    EnsureItemShown(s, id);
    if (!MakeEditor(s, kind))
        return nullptr;
    if (kind != 0)
        SendMessageA(s.editor.Get(), CB_RESETCONTENT, 0, 0);

    char buffer[kTextLimit];
    const char* current = ItemText(s, id, column, buffer, sizeof(buffer));
    char text[kTextLimit];
    lstrcpynA(text, current, kTextLimit);
    if (!Item(s, id))
        return nullptr;
    RECT place = EditorPlace(s, id, column, wholeCell, text);
    bool callback = column == 0 && (s.items[id]->callbackFlags & CBK_TEXT);

    if (NotifyLabelEdit(s, TVN_BEGINLABELEDITA, id, column, text, nullptr)) {
        HideEditor(s);
        return nullptr;
    }
    if (!Item(s, id) || !ColumnExists(s, column) || !s.editor)
        return nullptr;
    HWND editor = s.editor.Get();
    s.focusBack = GetFocus() == s.hwnd;
    {
        UnlockScope unlock(s.lock);
        SetFocus(editor);
    }
    SetWindowTextA(editor, text);
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    if (s.editorKind == 0)
        SendMessageA(editor, EM_SETSEL, 0, -1);
    else
        SendMessageA(editor, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    SetWindowPos(editor, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_SHOWWINDOW);
    s.editItem = id;
    s.editColumn = column;
    s.editTextCallback = callback;
    return editor;
}

void OnEditorCommand(TreeListState& s, UINT code)
{
    if (!s.editItem)
        return;
    switch (code) {
    case EN_KILLFOCUS:
        EndEdit(s, true, true);
        break;
    case TVLE_NOTIFY_OK:
    case CBN_KILLFOCUS:
        EndEdit(s, true, false);
        break;
    case TVLE_NOTIFY_CANCEL:
        EndEdit(s, false, false);
        break;
    default:
        break;
    }
}

void CancelEdit(TreeListState& s)
{
    if (s.editItem)
        EndEdit(s, false, false);
    else
        HideEditor(s);
}

}  // namespace treelist
