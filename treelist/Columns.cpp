#include "treelist/Columns.h"

#include <cstdlib>
#include <cstring>

#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Recheck.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"
#include "treelist/WindowDpi.h"

namespace treelist {

namespace {

constexpr int kHeaderId = 1;

bool CreateHeader(TreeListState& s)
{
    s.headerHeight = HeaderHeightAtDpi(s);
    HWND header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, 0,
                                  s.clientWidth, s.headerHeight, s.hwnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kHeaderId)),
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(s.hwnd, GWLP_HINSTANCE)), nullptr);
    if (!header) {
        s.headerHeight = 0;
        return false;
    }
    s.header.Reset(header);
    if (s.images)
        SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(s.images.Get()));
    SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    return true;
}

int AlignFromFormat(int format)
{
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return 2;
    case LVCFMT_CENTER: return 1;
    default: return 0;
    }
}

int HeaderFormat(int align)
{
    return align == 2 ? HDF_RIGHT : align == 1 ? HDF_CENTER : HDF_LEFT;
}

void SetHeaderWidth(TreeListState& s, int column, int width)
{
    HDITEMA hd = {};
    hd.mask = HDI_WIDTH;
    hd.cxy = width;
    SendMessageA(s.header.Get(), HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd));
}

void ShiftIndexUp(int& index, int position)
{
    if (index >= position)
        ++index;
}

// Column 0 stays the tree column once there is one.
int PlaceOfNewColumn(const TreeListState& s, int position)
{
    if (position > s.columnCount)
        position = s.columnCount;
    if (position < 1 && s.columnCount > 0)
        position = 1;
    return position < 0 ? 0 : position;
}

// The width of the window the columns that follow it may share, split among them and a
// new one.
struct Share {
    int width;
    int remainder;
};

Share ShareForNewColumn(TreeListState& s)
{
    int available = s.clientWidth;
    int following = 0;
    for (int c = 0; c < s.columnCount; ++c) {
        if (s.columns[c].followsWidth)
            ++following;
        else
            available -= ColumnWidth(s, c);
    }
    if (available < 0)
        available = 0;
    Share share = { available / (following + 1), available % (following + 1) };
    if (share.width < s.metrics.minColumnWidth)
        share.width = s.metrics.minColumnWidth;
    return share;
}

HDITEMA HeaderItemOf(const TVCOLUMNA& column, int width, int align)
{
    HDITEMA hd = {};
    hd.mask = HDI_WIDTH | HDI_FORMAT;
    hd.cxy = width;
    hd.fmt = HeaderFormat(align);
    if ((column.mask & TVCF_TEXT) && column.pszText) {
        hd.mask |= HDI_TEXT;
        hd.pszText = column.pszText;
        hd.cchTextMax = static_cast<int>(std::strlen(column.pszText));
        hd.fmt |= HDF_STRING;
    }
    if (column.mask & TVCF_IMAGE) {
        hd.mask |= HDI_IMAGE;
        hd.iImage = column.iImage;
        hd.fmt |= HDF_IMAGE;
    }
    return hd;
}

// Moves the columns at and after `position` one up, with the indexes that name them.
void OpenColumnSlot(TreeListState& s, int position)
{
    for (int c = s.columnCount; c > position; --c)
        s.columns[c] = s.columns[c - 1];
    s.columns[position] = TreeColumn{};
    ++s.columnCount;
    if (s.caretColumn >= position && s.columnCount > 1)
        ShiftIndexUp(s.caretColumn, position);
    if (s.editItem && s.editColumn >= position)
        ShiftIndexUp(s.editColumn, position);
    if (s.dragItem && s.dragColumn >= position)
        ShiftIndexUp(s.dragColumn, position);
}

// Every other column that follows the width takes the share; the last of them also the
// remainder.
void GiveFollowersTheShare(TreeListState& s, int position, const Share& share)
{
    int last = -1;
    for (int c = 0; c < s.columnCount; ++c)
        if (c != position && s.columns[c].followsWidth) {
            SetHeaderWidth(s, c, share.width);
            last = c;
        }
    if (last >= 0 && share.remainder)
        SetHeaderWidth(s, last, share.width + share.remainder);
}

void RepaintFrom(TreeListState& s, int x)
{
    RECT area = { x - s.scrollX, 0, s.clientWidth, s.clientHeight };
    if (area.left < 0)
        area.left = 0;
    InvalidateRect(s.hwnd, &area, FALSE);
}

}  // namespace

int TreeColumnRight(const TreeListState& s)
{
    if (s.columnCount > 0)
        return s.columns[0].right;
    int right = s.contentWidth > s.clientWidth ? s.contentWidth : s.clientWidth;
    return right + s.scrollX;
}

int ColumnWidth(const TreeListState& s, int column)
{
    if (!s.header || column < 0 || column >= s.columnCount)
        return 0;
    HDITEMA hd = {};
    hd.mask = HDI_WIDTH;
    SendMessageA(s.header.Get(), HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd));
    return hd.cxy;
}

void LayoutColumns(TreeListState& s)
{
    int x = 0;
    for (int c = 0; c < s.columnCount; ++c) {
        s.columns[c].left = x;
        x += ColumnWidth(s, c);
        s.columns[c].right = x;
    }
    s.scrollBarsDirty = true;
}

int InsertColumn(TreeListState& s, int position, const TVCOLUMNA& column)
{
    if (s.columnCount >= kMaxColumns)
        return -1;
    if (!s.header && !CreateHeader(s))
        return -1;
    position = PlaceOfNewColumn(s, position);
    bool fixed = (column.mask & TVCF_WIDTH) != 0;
    Share share = fixed ? Share{} : ShareForNewColumn(s);
    int align = (column.mask & TVCF_FMT) ? AlignFromFormat(column.fmt) : 0;
    HDITEMA hd = HeaderItemOf(column, fixed ? (column.cx > 0 ? column.cx : 0) : share.width, align);
    TreeCell* cells = nullptr;
    if (position > 0 || s.columnCount > 0) {
        cells = static_cast<TreeCell*>(std::calloc(s.capacity ? s.capacity : 1, sizeof(TreeCell)));
        if (!cells)
            return -1;
    }
    if (SendMessageA(s.header.Get(), HDM_INSERTITEMA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&hd)) < 0) {
        std::free(cells);
        return -1;
    }
    OpenColumnSlot(s, position);
    TreeColumn& col = s.columns[position];
    col.align = align;
    col.followsWidth = !fixed;
    col.cells = cells;
    if (!fixed) {
        ++s.followCount;
        GiveFollowersTheShare(s, position, share);
    }
    LayoutColumns(s);
    RepaintFrom(s, s.columns[position].left);
    PlaceHeader(s);
    return position;
}

bool DeleteColumn(TreeListState& s, int column)
{
    if (column <= 0 || column >= s.columnCount)
        return false;
    if (s.caretColumn == column)
        SetCaret(s, s.caret, 0);
    else if (s.caretColumn > column)
        --s.caretColumn;
    if (s.editColumn > column)
        --s.editColumn;
    if (s.dragColumn == column)
        s.dragItem = 0;
    else if (s.dragColumn > column)
        --s.dragColumn;
    SendMessageA(s.header.Get(), HDM_DELETEITEM, static_cast<WPARAM>(column), 0);
    TreeColumn& col = s.columns[column];
    for (unsigned id = 1; id < s.capacity; ++id)
        FreeText(col.cells[id].text);
    std::free(col.cells);
    if (col.followsWidth)
        --s.followCount;
    for (int c = column; c + 1 < s.columnCount; ++c)
        s.columns[c] = s.columns[c + 1];
    --s.columnCount;
    s.columns[s.columnCount] = TreeColumn{};
    int left = s.columns[column - 1].right;
    LayoutColumns(s);
    RepaintFrom(s, left);
    PlaceHeader(s);
    return true;
}

void FreeColumns(TreeListState& s)
{
    for (int c = 1; c < s.columnCount; ++c) {
        for (unsigned id = 1; id < s.capacity; ++id)
            FreeText(s.columns[c].cells[id].text);
        std::free(s.columns[c].cells);
        s.columns[c].cells = nullptr;
    }
    s.columnCount = 0;
    s.followCount = 0;
}

void SetColumnWidth(TreeListState& s, int column, int width)
{
    if (column < 0 || column >= s.columnCount)
        return;
    if (width < 0)
        width = 0;
    int left = s.columns[column].left;
    SetHeaderWidth(s, column, width);
    LayoutColumns(s);
    RepaintFrom(s, left);
    PlaceHeader(s);
}

int BestColumnWidthCallingOut(TreeListState& s, int column)
{
    const Metrics& m = s.metrics;
    int best = column == 0 ? 0 : m.bestWidthPad;
    // Each row is looked up afresh: the owner may change the rows while it is asked for
    // a text.
    Recheck check(s);
    for (int row = 0; check.Holds(); ++row) {
        ItemId id = ItemAtRow(s, row);
        if (!id)
            break;
        int width = 0;
        if (column == 0) {
            int text = ItemTextWidthCallingOut(s, id, nullptr);
            if (!check.Holds(id))
                continue;
            width = m.bestWidthPad + s.items[id]->level * s.indent + text;
            if (ShowsImage(s, *s.items[id]))
                width += s.imageWidth;
        } else {
            width = m.bestWidthPad + CellTextWidth(s, id, column, nullptr);
        }
        if (width > best)
            best = width;
    }
    if (column == 0) {
        if (s.exStyle & TVS_EX_GRIDLINES_TL)
            best += m.line;
        if (s.style & TVS_LINESATROOT)
            best += s.indent;
        if (s.stateImages)
            best += s.stateImageWidth;
    }
    return best;
}

void FollowClientWidth(TreeListState& s, int oldWidth, int newWidth)
{
    int change = newWidth - oldWidth;
    if (change == 0 || s.followCount == 0)
        return;
    int part = change / s.followCount;
    int rest = change - part * s.followCount;
    for (int c = 0; c < s.columnCount; ++c) {
        if (!s.columns[c].followsWidth)
            continue;
        int width = ColumnWidth(s, c) + part + rest;
        rest = 0;
        if (width < s.metrics.minColumnWidth)
            width = s.metrics.minColumnWidth;
        SetHeaderWidth(s, c, width);
    }
    LayoutColumns(s);
}

}  // namespace treelist
