#include "treelist/Scrolling.h"

#include "treelist/RowTable.h"

namespace treelist {

namespace {

int TrackPosition(HWND hwnd, int bar)
{
    SCROLLINFO si = { sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0 };
    GetScrollInfo(hwnd, bar, &si);
    return si.nTrackPos;
}

int PageRows(const TreeListState& s)
{
    return s.rowsFit - 1 > 1 ? s.rowsFit - 1 : 1;
}

}  // namespace

int MaxFirstRow(const TreeListState& s)
{
    int rows = static_cast<int>(s.rowCount);
    return rows <= s.rowsFit ? 0 : rows - s.rowsFit + 1;
}

int MaxScrollX(const TreeListState& s)
{
    int max = 0;
    if (s.columnCount > 0)
        max = s.columns[s.columnCount - 1].right - s.clientWidth;
    else
        max = s.contentWidth - s.clientWidth / 2;
    return max > 0 ? max : 0;
}

bool ScrollToRowCallingOut(TreeListState& s, int first)
{
    int max = MaxFirstRow(s);
    if (first > max)
        first = max;
    if (first < 0)
        first = 0;
    if (first == s.firstRow)
        return false;
    s.firstRow = first;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    UpdateScrollBarsCallingOut(s);
    return true;
}

bool ScrollToXCallingOut(TreeListState& s, int x)
{
    int max = MaxScrollX(s);
    if (x > max)
        x = max;
    if (x < 0)
        x = 0;
    if (x == s.scrollX)
        return false;
    s.scrollX = x;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    PlaceHeader(s);
    UpdateScrollBarsCallingOut(s);
    return true;
}

void EnsureRowShownCallingOut(TreeListState& s, int row)
{
    if (row < 0)
        return;
    if (row < s.firstRow)
        ScrollToRowCallingOut(s, row);
    else if (s.rowsFit > 0 && row >= s.firstRow + s.rowsFit)
        ScrollToRowCallingOut(s, row - s.rowsFit + 1);
}

void EnsureItemShownCallingOut(TreeListState& s, ItemId id)
{
    EnsureRowShownCallingOut(s, RowOf(s, id));
}

void OnVScrollCallingOut(TreeListState& s, int code)
{
    int first = s.firstRow;
    switch (code) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= PageRows(s); break;
    case SB_PAGEDOWN: first += PageRows(s); break;
    case SB_TOP: first = 0; break;
    case SB_BOTTOM: first = static_cast<int>(s.rowCount) - s.rowsFit; break;   // the last row at the bottom
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: first = TrackPosition(s.hwnd, SB_VERT); break;
    default: return;
    }
    ScrollToRowCallingOut(s, first);
}

void OnHScrollCallingOut(TreeListState& s, int code)
{
    int x = s.scrollX;
    switch (code) {
    case SB_LINELEFT: x -= s.metrics.scrollLine; break;
    case SB_LINERIGHT: x += s.metrics.scrollLine; break;
    case SB_PAGELEFT: x -= s.clientWidth; break;
    case SB_PAGERIGHT: x += s.clientWidth; break;
    case SB_LEFT: x = 0; break;
    case SB_RIGHT: x = MaxScrollX(s); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: x = TrackPosition(s.hwnd, SB_HORZ); break;
    default: return;
    }
    ScrollToXCallingOut(s, x);
}

void OnWheelCallingOut(TreeListState& s, int delta, UINT keys)
{
    if (keys & (MK_CONTROL | MK_SHIFT | MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))
        return;
    int rows = delta / 60;
    if (rows != 0)
        ScrollToRowCallingOut(s, s.firstRow - rows);
}

// Positions beyond what the rows and columns now allow come back.
void ClampScrollPositions(TreeListState& s)
{
    if (s.firstRow > MaxFirstRow(s) || static_cast<int>(s.rowCount) <= s.rowsFit) {
        int first = static_cast<int>(s.rowCount) <= s.rowsFit ? 0 : MaxFirstRow(s);
        if (first != s.firstRow) {
            s.firstRow = first;
            InvalidateRect(s.hwnd, nullptr, FALSE);
        }
    }
    if (s.scrollX > MaxScrollX(s)) {
        s.scrollX = MaxScrollX(s);
        InvalidateRect(s.hwnd, nullptr, FALSE);
        PlaceHeader(s);
    }
}

void UpdateScrollBarsCallingOut(TreeListState& s)
{
    ClampScrollPositions(s);
    SCROLLINFO v = { sizeof(v), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0 };
    v.nMax = (s.style & TVS_NOSCROLL_TL) ? 0 : static_cast<int>(s.rowCount);
    v.nPage = static_cast<UINT>(s.rowsFit > 0 ? s.rowsFit : 0);
    v.nPos = s.firstRow;
    SCROLLINFO h = { sizeof(h), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0 };
    int maxX = MaxScrollX(s);
    h.nMax = maxX > 0 ? maxX + s.clientWidth - 1 : 0;
    h.nPage = static_cast<UINT>(maxX > 0 ? s.clientWidth : 0);
    h.nPos = s.scrollX;
    int shown[6] = { v.nMax, static_cast<int>(v.nPage), v.nPos, h.nMax, static_cast<int>(h.nPage), h.nPos };
    s.scrollBarsDirty = false;
    // Only a bar whose values changed is set (and redrawn).
    bool changed[2] = { !s.scrollBarsKnown, !s.scrollBarsKnown };
    for (int i = 0; i < 6; ++i) {
        if (shown[i] != s.scrollBarsShown[i])
            changed[i / 3] = true;
        s.scrollBarsShown[i] = shown[i];
    }
    s.scrollBarsKnown = true;
    if (!changed[0] && !changed[1])
        return;
    HWND hwnd = s.hwnd;
    UnlockScope unlock(s.lock);
    if (changed[0])
        SetScrollInfo(hwnd, SB_VERT, &v, TRUE);
    if (changed[1])
        SetScrollInfo(hwnd, SB_HORZ, &h, TRUE);
}

void PlaceHeader(TreeListState& s)
{
    if (!s.header)
        return;
    int width = s.clientWidth + s.scrollX;
    if (s.columnCount > 0 && s.columns[s.columnCount - 1].right > width)
        width = s.columns[s.columnCount - 1].right;
    SetWindowPos(s.header.Get(), nullptr, -s.scrollX, 0, width, s.headerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace treelist
