#include "treelist/Columns.h"

#include <cstdlib>
#include <cstring>

#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/RowTable.h"
#include "treelist/Scrolling.h"

namespace treelist {

namespace {

constexpr int kHeaderId = 1;

bool CreateHeader(TreeListState& s)
{
    s.headerHeight = GetSystemMetrics(SM_CYMENU);
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
        SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(s.images));
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
    if (position > s.columnCount)
        position = s.columnCount;
    if (position < 1 && s.columnCount > 0)
        position = 1;
    if (position < 0)
        position = 0;

    int available = s.clientWidth;
    int following = 0;
    for (int c = 0; c < s.columnCount; ++c) {
        if (s.columns[c].followsWidth)
            ++following;
        else
            available -= ColumnWidth(s, c);
    }
    bool fixed = (column.mask & TVCF_WIDTH) != 0;
    int share = 0;
    int remainder = 0;
    if (available < 0)
        available = 0;
    if (!fixed) {
        share = available / (following + 1);
        remainder = available % (following + 1);
        if (share < kMinColumnWidth)
            share = kMinColumnWidth;
    }
    int align = (column.mask & TVCF_FMT) ? AlignFromFormat(column.fmt) : 0;

    HDITEMA hd = {};
    hd.mask = HDI_WIDTH | HDI_FORMAT;
    hd.cxy = fixed ? (column.cx > 0 ? column.cx : 0) : share;
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
    TreeCell* cells = nullptr;
    if (position > 0 || s.columnCount > 0) {
        cells = static_cast<TreeCell*>(std::calloc(s.capacity ? s.capacity : 1, sizeof(TreeCell)));
        if (!cells)
            return -1;
    }
    LRESULT inserted = SendMessageA(s.header.Get(), HDM_INSERTITEMA, static_cast<WPARAM>(position),
                                    reinterpret_cast<LPARAM>(&hd));
    if (inserted < 0) {
        std::free(cells);
        return -1;
    }

    for (int c = s.columnCount; c > position; --c)
        s.columns[c] = s.columns[c - 1];
    TreeColumn& col = s.columns[position];
    col = TreeColumn{};
    col.align = align;
    col.followsWidth = !fixed;
    col.cells = cells;
    ++s.columnCount;
    if (!fixed)
        ++s.followCount;
    if (s.caretColumn >= position && s.columnCount > 1)
        ShiftIndexUp(s.caretColumn, position);
    if (s.editItem && s.editColumn >= position)
        ShiftIndexUp(s.editColumn, position);
    if (s.dragItem && s.dragColumn >= position)
        ShiftIndexUp(s.dragColumn, position);

    if (!fixed) {
        int last = -1;
        for (int c = 0; c < s.columnCount; ++c)
            if (c != position && s.columns[c].followsWidth) {
                SetHeaderWidth(s, c, share);
                last = c;
            }
        if (last >= 0 && remainder)
            SetHeaderWidth(s, last, share + remainder);
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
        s.caretColumn = 0;
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

int BestColumnWidth(TreeListState& s, int column)
{
    int best = column == 0 ? 0 : 8;
    // Each row is looked up afresh: the owner may change the rows while it is asked for
    // a text.
    for (int row = 0; !s.destroyed; ++row) {
        ItemId id = ItemAtRow(s, row);
        if (!id)
            break;
        int width = 0;
        if (column == 0) {
            int text = ItemTextWidth(s, id, nullptr);
            const TreeItem* item = Item(s, id);
            if (!item)
                continue;
            width = 8 + item->level * s.indent + text;
            if (ShowsImage(s, *item))
                width += s.imageWidth;
        } else {
            width = 8 + CellTextWidth(s, id, column, nullptr);
        }
        if (width > best)
            best = width;
    }
    if (column == 0) {
        if (s.exStyle & TVS_EX_GRIDLINES_TL)
            best += 1;
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
        if (width < kMinColumnWidth)
            width = kMinColumnWidth;
        SetHeaderWidth(s, c, width);
    }
    LayoutColumns(s);
}

}  // namespace treelist
