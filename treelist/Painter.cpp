#include "treelist/Painter.h"

#include "treelist/Columns.h"
#include "treelist/GdiScopes.h"
#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Notify.h"
#include "treelist/Recheck.h"
#include "treelist/RowTable.h"
#include "treelist/SharedGdi.h"

namespace treelist {

namespace {

constexpr COLORREF kDragMask = 0x5B4D7B;
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    RECT r = { left, top, right, bottom };
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A horizontal or vertical line `width` pixels thick, drawn to the right or below.
void Line(HDC dc, int x1, int y1, int x2, int y2, int width)
{
    const bool across = y1 == y2;
    for (int i = 0; i < width; ++i) {
        MoveToEx(dc, across ? x1 : x1 + i, across ? y1 + i : y1, nullptr);
        LineTo(dc, across ? x2 : x2 + i, across ? y2 + i : y2);
    }
}

struct RowColors {
    COLORREF background;
    COLORREF selected;
    COLORREF text;
    COLORREF frame;         // unfocused selection
    COLORREF box;           // button frames and grid lines
    COLORREF line;          // tree lines and button marks
};

COLORREF Mix(COLORREF a, COLORREF b, int wa, int wb)
{
    int total = wa + wb;
    return RGB((GetRValue(a) * wa + GetRValue(b) * wb) / total, (GetGValue(a) * wa + GetGValue(b) * wb) / total,
               (GetBValue(a) * wa + GetBValue(b) * wb) / total);
}

RowColors ColorsOfRow(const TreeListState& s, int row)
{
    bool alternate = (s.exStyle & TVS_EX_ALTERNATEROWS_TL) != 0;
    bool odd = (row & 1) != 0;
    RowColors c = {};
    c.text = s.colors[TVC_TEXT];
    if (!s.enabled) {
        COLORREF scroll = GetSysColor(COLOR_SCROLLBAR);
        COLORREF frame = Mix(GetSysColor(COLOR_WINDOW), scroll, 1, 2);
        c.background = alternate && odd ? Mix(frame, scroll, 1, 1) : scroll;
        c.selected = frame;
        c.text = GetSysColor(COLOR_GRAYTEXT);
        c.frame = frame;
        c.box = frame;
        c.line = GetSysColor(COLOR_GRAYTEXT);
        return c;
    }
    c.background = alternate ? (odd ? s.colors[TVC_ODD] : s.colors[TVC_EVEN]) : s.colors[TVC_BK];
    c.selected = alternate && !odd ? s.colors[TVC_MARKEVEN] : s.colors[TVC_MARK];
    c.frame = s.colors[TVC_FRAME];
    c.box = s.colors[TVC_BOX];
    c.line = s.colors[TVC_LINE];
    return c;
}

// Text that fits is drawn straight; only text that is cut gets the ellipsis.
void DrawCellText(HDC dc, const char* text, int length, int width, const RECT& r, UINT align, int textHeight)
{
    if (length < 0)
        length = lstrlenA(text);
    int room = r.right - r.left;
    if (width > room || room <= 0) {
        RECT cut = r;
        DrawTextA(dc, text, length, &cut, kTextFormat | align);
        return;
    }
    int x = r.left;
    if (align == DT_RIGHT)
        x = r.right - width;
    else if (align == DT_CENTER)
        x = r.left + (room - width) / 2;
    int y = r.top + (r.bottom - r.top - textHeight) / 2;
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &r, text, static_cast<UINT>(length), nullptr);
}

class RowPainter {
public:
    RowPainter(TreeListState& s, HDC dc) : m_s(s), m_dc(dc), m_clip(CreateRectRgn(0, 0, 0, 0)) {}

    // False when the owner changed the tree while it was asked for a text or an image:
    // the rows painted so far no longer hold then.
    bool PaintRowCallingOut(int row, int top);

private:
    struct Row {
        ItemId id;
        int top, bottom;        // bottom: above the grid line
        bool selected;          // selected with full-row selection
        RowColors colors;
    };

    bool DrawTreeCellCallingOut(const Row& row, const Recheck& check);
    void DrawLines(ItemId id, const ItemLayout& layout, int top, int bottom);
    void DrawButton(const TreeItem& item, const ItemLayout& layout, int middle, const RowColors& colors);
    void DrawStateImage(const TreeItem& item, const ItemLayout& layout, int middle);
    bool DrawImageCallingOut(const Row& row, const ItemLayout& layout, int middle, const Recheck& check);
    void DrawLabel(const Row& row, const ItemLayout& layout, const char* label, int labelRight, int right);
    void DrawCell(const Row& row, int column);
    void DrawGrid(const Row& row, int bottom);
    void DrawRowFocus(const Row& row);
    void DrawInsertMark(const Row& row, int bottom);
    int X(int contentX) const { return contentX - m_s.scrollX; }

    TreeListState& m_s;
    HDC m_dc;
    velutils::UniqueHandle<velutils::GdiObjectTraits<HRGN>> m_clip;   // one region, moved per row
};

void RowPainter::DrawLines(ItemId id, const ItemLayout& layout, int top, int bottom)
{
    const TreeItem& item = *m_s.items[id];
    const Metrics& m = m_s.metrics;
    int middle = top + (bottom - top) / 2;
    SelectScope pen(m_dc, SharedLinePen());
    int x = X(layout.buttonCenter);
    bool root = item.level == 0;
    if (!root || (m_s.style & TVS_LINESATROOT)) {
        Line(m_dc, x, middle, X(layout.stepLeft + m_s.indent), middle, m.line);
        int lineTop = (root && !item.prevSibling) ? middle : top;
        Line(m_dc, x, lineTop, x, item.nextSibling ? bottom : middle + m.line, m.line);
    }
    int step = layout.stepLeft;
    for (ItemId a = item.parent; a; a = m_s.items[a]->parent) {
        step -= m_s.indent;
        if (m_s.items[a]->nextSibling && (m_s.items[a]->level > 0 || (m_s.style & TVS_LINESATROOT)))
            Line(m_dc, X(step + m.buttonCenter), top, X(step + m.buttonCenter), bottom, m.line);
    }
}

void RowPainter::DrawButton(const TreeItem& item, const ItemLayout& layout, int middle, const RowColors& colors)
{
    int x = X(layout.buttonCenter);
    int h = m_s.metrics.buttonHalf;
    int w = m_s.metrics.line;
    Fill(m_dc, x - h, middle - h, x + h + w, middle + h + w, colors.box);
    Fill(m_dc, x - h + w, middle - h + w, x + h, middle + h, m_s.enabled ? m_s.colors[TVC_BK] : colors.background);
    Fill(m_dc, x - h + 2 * w, middle, x + h - w, middle + w, colors.line);
    if (!(item.state & TVIS_EXPANDED) || (item.state & TVIS_EXPANDPARTIAL_TL))
        Fill(m_dc, x, middle - h + 2 * w, x + w, middle + h - w, colors.line);
}

void RowPainter::DrawStateImage(const TreeItem& item, const ItemLayout& layout, int middle)
{
    UINT stateImage = (item.state & TVIS_STATEIMAGEMASK) >> 12;
    if (m_s.stateImages && stateImage)
        ImageList_Draw(m_s.stateImages, static_cast<int>(stateImage), m_dc, X(layout.stateLeft),
                       middle - m_s.stateImageHeight / 2, ILD_TRANSPARENT);
}

bool RowPainter::DrawImageCallingOut(const Row& row, const ItemLayout& layout, int middle, const Recheck& check)
{
    const TreeItem* item = m_s.items[row.id];
    if (!ShowsImage(m_s, *item))
        return true;
    bool selected = (item->state & TVIS_SELECTED) != 0;
    int image = selected ? item->selectedImage : item->image;
    if (image == I_IMAGECALLBACK) {
        image = NotifyDisplayImageCallingOut(m_s, row.id, selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE);
        if (!check.Unchanged())
            return false;
    }
    if (image >= 0)
        ImageList_Draw(m_s.images.Get(), image, m_dc, X(layout.imageLeft), middle - m_s.imageHeight / 2,
                       ILD_TRANSPARENT);
    return true;
}

void RowPainter::DrawLabel(const Row& row, const ItemLayout& layout, const char* label, int labelRight, int right)
{
    const TreeItem& item = *m_s.items[row.id];
    bool fullRow = (m_s.exStyle & TVS_EX_FULLROWSELECT_TL) != 0;
    bool selected = (item.state & TVIS_SELECTED) != 0;
    bool highlighted = (selected && !fullRow) || (item.state & TVIS_DROPHILITED);
    COLORREF text = (item.colorFlags & CLF_TEXT) && m_s.enabled ? item.textColor : row.colors.text;
    if (highlighted) {
        bool focused = m_s.hasFocus || (item.state & TVIS_DROPHILITED);
        Fill(m_dc, X(layout.labelLeft), row.top, X(labelRight), row.bottom,
             focused && m_s.enabled ? GetSysColor(COLOR_HIGHLIGHT) : row.colors.frame);
        if (focused)
            text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    SelectScope font(m_dc, (item.state & TVIS_BOLD) ? m_s.boldFont : m_s.font);
    SetTextColor(m_dc, text);
    int pad = m_s.metrics.labelPad;
    RECT textRect = { X(layout.labelLeft) + pad, row.top, right - pad, row.bottom };
    DrawCellText(m_dc, label, -1, labelRight - layout.labelLeft - m_s.metrics.labelExtra, textRect, DT_LEFT,
                 m_s.textHeight);
}

bool RowPainter::DrawTreeCellCallingOut(const Row& row, const Recheck& check)
{
    int right = X(TreeColumnRight(m_s));
    int left = m_s.columnCount > 0 ? X(m_s.columns[0].left) : X(0);
    SetRectRgn(m_clip.Get(), left, row.top, right, row.bottom);
    SelectClipRgn(m_dc, m_clip.Get());
    const TreeItem* item = m_s.items[row.id];
    if (!row.selected && (item->colorFlags & CLF_BK) && m_s.enabled)
        Fill(m_dc, left, row.top, right, row.bottom, item->bkColor);
    char buffer[260];
    const char* label = ItemTextCallingOut(m_s, row.id, 0, buffer, sizeof(buffer));
    if (!check.Unchanged())
        return false;
    item = m_s.items[row.id];
    ItemLayout layout = LayoutItem(m_s, row.id);
    int labelRight = LabelRight(m_s, layout, LabelTextWidth(m_s, row.id, label, m_dc));
    int middle = row.top + (row.bottom - row.top) / 2;
    if (m_s.style & TVS_HASLINES)
        DrawLines(row.id, layout, row.top, row.bottom);
    if ((m_s.style & TVS_HASBUTTONS) && HasChildren(m_s, *item) && (item->level > 0 || (m_s.style & TVS_LINESATROOT)))
        DrawButton(*item, layout, middle, row.colors);
    DrawStateImage(*item, layout, middle);
    if (!DrawImageCallingOut(row, layout, middle, check))
        return false;
    DrawLabel(row, layout, label, labelRight, right);
    if (labelRight > m_s.contentWidth)
        m_s.contentWidth = labelRight;
    SelectClipRgn(m_dc, nullptr);
    if (row.id == m_s.caret && m_s.hasFocus && !(m_s.exStyle & TVS_EX_FULLROWSELECT_TL)) {
        RECT r = { X(layout.labelLeft), row.top, X(labelRight), row.bottom };
        SetTextColor(m_dc, m_s.colors[TVC_TEXT]);
        SetBkColor(m_dc, m_s.colors[TVC_BK]);
        DrawFocusRect(m_dc, &r);
    }
    return true;
}

void RowPainter::DrawCell(const Row& row, int column)
{
    const TreeColumn& col = m_s.columns[column];
    int left = X(col.left);
    int right = X(col.right);
    if (right <= 0 || left >= m_s.clientWidth)
        return;
    const TreeCell* cell = Cell(m_s, row.id, column);
    if (!row.selected && (cell->colorFlags & CLF_BK) && m_s.enabled)
        Fill(m_dc, left, row.top, right, row.bottom, cell->bkColor);
    if (!cell->text || cell->textLength == 0)
        return;
    bool cellCaret = (m_s.exStyle & TVS_EX_CELLSELECT_TL) && row.id == m_s.caret && column == m_s.caretColumn;
    COLORREF text = (cell->colorFlags & CLF_TEXT) && m_s.enabled ? cell->textColor : row.colors.text;
    if (cellCaret && !(m_s.exStyle & TVS_EX_FULLROWSELECT_TL) && m_s.hasFocus) {
        Fill(m_dc, left, row.top, right, row.bottom, GetSysColor(COLOR_HIGHLIGHT));
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    SelectScope font(m_dc, m_s.font);
    SetTextColor(m_dc, text);
    UINT align = col.align == 2 ? DT_RIGHT : col.align == 1 ? DT_CENTER : DT_LEFT;
    int pad = m_s.metrics.labelPad;
    RECT textRect = { left + pad, row.top, right - pad, row.bottom };
    int width = CellTextWidth(m_s, row.id, column, m_dc);
    DrawCellText(m_dc, cell->text, static_cast<int>(cell->textLength), width, textRect, align, m_s.textHeight);
}

void RowPainter::DrawGrid(const Row& row, int bottom)
{
    int w = m_s.metrics.line;
    Fill(m_dc, 0, bottom - w, m_s.clientWidth, bottom, row.colors.box);
    for (int c = 0; c < m_s.columnCount; ++c)
        Fill(m_dc, X(m_s.columns[c].right) - w, row.top, X(m_s.columns[c].right), bottom, row.colors.box);
}

void RowPainter::DrawRowFocus(const Row& row)
{
    RECT r = { 0, row.top, m_s.clientWidth, row.bottom };
    if ((m_s.exStyle & TVS_EX_CELLSELECT_TL) && m_s.caretColumn > 0) {
        r.left = X(m_s.columns[m_s.caretColumn].left);
        r.right = X(m_s.columns[m_s.caretColumn].right);
    }
    SetTextColor(m_dc, m_s.colors[TVC_TEXT]);
    SetBkColor(m_dc, m_s.colors[TVC_BK]);
    DrawFocusRect(m_dc, &r);
}

void RowPainter::DrawInsertMark(const Row& row, int bottom)
{
    const Metrics& m = m_s.metrics;
    COLORREF mark = m_s.colors[TVC_INSERT];
    if (mark == row.colors.background)
        mark = m_s.colors[TVC_TEXT];
    int y = m_s.insertMarkAfter ? bottom - m.insertMark : row.top;
    int left = X(LayoutItem(m_s, row.id).labelLeft);
    Fill(m_dc, left, y, m_s.clientWidth, y + m.insertMark, mark);
    Fill(m_dc, left, y - m.insertMark, left + m.line, y + 2 * m.insertMark, mark);
}

bool RowPainter::PaintRowCallingOut(int rowIndex, int top)
{
    ItemId id = ItemAtRow(m_s, rowIndex);
    if (!Item(m_s, id))
        return false;
    Recheck check(m_s);
    bool grid = (m_s.exStyle & TVS_EX_GRIDLINES_TL) != 0;
    bool fullRow = (m_s.exStyle & TVS_EX_FULLROWSELECT_TL) != 0;
    int bottom = top + m_s.rowHeight;
    Row row = { id, top, grid ? bottom - m_s.metrics.line : bottom,
                fullRow && (m_s.items[id]->state & TVIS_SELECTED), ColorsOfRow(m_s, rowIndex) };
    Fill(m_dc, 0, top, m_s.clientWidth, bottom, row.selected ? row.colors.selected : row.colors.background);
    if (!DrawTreeCellCallingOut(row, check))
        return false;
    for (int c = 1; c < m_s.columnCount; ++c)
        DrawCell(row, c);
    if (grid)
        DrawGrid(row, bottom);
    if (fullRow && id == m_s.caret && m_s.hasFocus)
        DrawRowFocus(row);
    if (id == m_s.insertMark)
        DrawInsertMark(row, bottom);
    return true;
}

}  // namespace

void PaintCallingOut(TreeListState& s, HDC target, const RECT& area)
{
    int width = s.clientWidth > 0 ? s.clientWidth : 1;
    int height = s.clientHeight > 0 ? s.clientHeight : 1;
    if (!s.backBuffer || s.backWidth < width || s.backHeight < height) {
        s.backBuffer.Reset(CreateCompatibleBitmap(target, width, height));
        s.backWidth = width;
        s.backHeight = height;
    }
    velutils::MemoryDc dc(CreateCompatibleDC(target));
    if (!dc || !s.backBuffer)
        return;
    SelectScope selectBitmap(dc.Get(), s.backBuffer.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    EnsureRows(s);
    COLORREF background = s.enabled ? s.colors[TVC_BK] : GetSysColor(COLOR_SCROLLBAR);
    int top = s.headerHeight;
    int last = s.firstRow + s.rowsFitPartial;
    RowPainter painter(s, dc.Get());
    Recheck check(s);
    for (int row = s.firstRow; row < last && row < static_cast<int>(s.rowCount); ++row, top += s.rowHeight) {
        if (top + s.rowHeight <= area.top || top >= area.bottom)
            continue;
        if (!painter.PaintRowCallingOut(row, top)) {
            if (!check.Holds())
                return;
            InvalidateRect(s.hwnd, nullptr, FALSE);
            break;
        }
    }
    int rowsBottom = s.headerHeight + (static_cast<int>(s.rowCount) - s.firstRow) * s.rowHeight;
    if (rowsBottom < s.headerHeight)
        rowsBottom = s.headerHeight;
    if (rowsBottom < height)
        Fill(dc.Get(), 0, rowsBottom, width, height, background);
    int paintTop = area.top > s.headerHeight ? area.top : s.headerHeight;
    BitBlt(target, area.left, paintTop, area.right - area.left, area.bottom - paintTop, dc.Get(), area.left,
           paintTop, SRCCOPY);
}

HIMAGELIST CreateDragImageCallingOut(TreeListState& s, ItemId id, int column)
{
    if (!Item(s, id) || !ColumnExists(s, column))
        return nullptr;
    char buffer[260];
    const char* text = "????";
    Recheck check(s);
    if (column == 0) {
        text = ItemTextCallingOut(s, id, 0, buffer, sizeof(buffer));
    } else {
        const TreeCell* cell = Cell(s, id, column);
        if (cell->colorFlags & CLF_EXISTS)
            text = cell->text ? cell->text : "";
    }
    if (!check.Holds(id))
        return nullptr;
    const Metrics& m = s.metrics;
    const TreeItem& item = *s.items[id];
    bool image = column == 0 && ShowsImage(s, item) && item.image >= 0;
    int imageWidth = image ? s.imageWidth + m.labelPad : 0;
    WindowDc screen(s.hwnd);
    int textWidth = MeasureText(s, text, static_cast<unsigned>(lstrlenA(text)), false, screen.Get());
    int width = imageWidth + textWidth + 2 * m.labelPad;
    if (width > m.dragMaxWidth)
        width = m.dragMaxWidth;
    int height = s.rowHeight > m.dragMaxHeight ? m.dragMaxHeight : s.rowHeight;
    if (image && s.imageHeight > height)
        height = s.imageHeight > m.dragMaxHeight ? m.dragMaxHeight : s.imageHeight;
    velutils::MemoryDc dc(CreateCompatibleDC(screen.Get()));
    velutils::BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!dc || !bitmap)
        return nullptr;
    {
        SelectScope selectBitmap(dc.Get(), bitmap.Get());
        Fill(dc.Get(), 0, 0, width, height, kDragMask);
        if (image)
            ImageList_Draw(s.images.Get(), item.image, dc.Get(), 0, (height - s.imageHeight) / 2, ILD_TRANSPARENT);
        SelectScope font(dc.Get(), s.font);
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), s.colors[TVC_TEXT]);
        RECT r = { imageWidth + m.labelPad, 0, width, height };
        DrawTextA(dc.Get(), text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (list && ImageList_AddMasked(list, bitmap.Get(), kDragMask) < 0) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}

}  // namespace treelist
