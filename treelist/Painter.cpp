#include "treelist/Painter.h"

#include "treelist/Columns.h"
#include "treelist/GdiScopes.h"
#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Notify.h"
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

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
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

    // False when the item went away while its text was asked for.
    bool PaintRow(int row, int top);

private:
    void DrawLines(ItemId id, const ItemLayout& layout, int top, int bottom);
    void DrawButton(const TreeItem& item, const ItemLayout& layout, int middle, const RowColors& colors);
    bool DrawTreeCell(ItemId id, int top, int bottom, bool rowSelected, const RowColors& colors);
    void DrawCell(ItemId id, int column, int top, int bottom, bool rowSelected, const RowColors& colors);
    void DrawFocus(ItemId id, int top, int bottom, int labelLeft, int labelRight);
    int X(int contentX) const { return contentX - m_s.scrollX; }

    TreeListState& m_s;
    HDC m_dc;
    velutils::UniqueHandle<velutils::GdiObjectTraits<HRGN>> m_clip;   // one region, moved per row
};

void RowPainter::DrawLines(ItemId id, const ItemLayout& layout, int top, int bottom)
{
    const TreeItem& item = *m_s.items[id];
    int middle = top + (bottom - top) / 2;
    SelectScope pen(m_dc, SharedLinePen());
    int x = X(layout.buttonCenter);
    bool root = item.level == 0;
    if (!root || (m_s.style & TVS_LINESATROOT)) {
        Line(m_dc, x, middle, X(layout.stepLeft + m_s.indent), middle);
        int lineTop = (root && !item.prevSibling) ? middle : top;
        Line(m_dc, x, lineTop, x, item.nextSibling ? bottom : middle + 1);
    }
    int step = layout.stepLeft;
    for (ItemId a = item.parent; a; a = m_s.items[a]->parent) {
        step -= m_s.indent;
        if (m_s.items[a]->nextSibling && (m_s.items[a]->level > 0 || (m_s.style & TVS_LINESATROOT)))
            Line(m_dc, X(step + 7), top, X(step + 7), bottom);
    }
}

void RowPainter::DrawButton(const TreeItem& item, const ItemLayout& layout, int middle, const RowColors& colors)
{
    int x = X(layout.buttonCenter);
    Fill(m_dc, x - 4, middle - 4, x + 5, middle + 5, colors.box);
    Fill(m_dc, x - 3, middle - 3, x + 4, middle + 4, m_s.enabled ? m_s.colors[TVC_BK] : colors.background);
    Fill(m_dc, x - 2, middle, x + 3, middle + 1, colors.line);
    if (!(item.state & TVIS_EXPANDED) || (item.state & TVIS_EXPANDPARTIAL_TL))
        Fill(m_dc, x, middle - 2, x + 1, middle + 3, colors.line);
}

bool RowPainter::DrawTreeCell(ItemId id, int top, int bottom, bool rowSelected, const RowColors& colors)
{
    int right = X(TreeColumnRight(m_s));
    int left = m_s.columnCount > 0 ? X(m_s.columns[0].left) : X(0);
    SetRectRgn(m_clip.Get(), left, top, right, bottom);
    SelectClipRgn(m_dc, m_clip.Get());

    TreeItem* item = m_s.items[id];
    if (!rowSelected && (item->colorFlags & CLF_BK) && m_s.enabled)
        Fill(m_dc, left, top, right, bottom, item->bkColor);
    ItemLayout layout = LayoutItem(m_s, id, m_dc);
    item = Item(m_s, id);
    if (!item || m_s.destroyed)
        return false;
    int middle = top + (bottom - top) / 2;
    if (m_s.style & TVS_HASLINES)
        DrawLines(id, layout, top, bottom);
    bool hasButton = (m_s.style & TVS_HASBUTTONS) && HasChildren(m_s, *item) &&
                     (item->level > 0 || (m_s.style & TVS_LINESATROOT));
    if (hasButton)
        DrawButton(*item, layout, middle, colors);
    UINT stateImage = (item->state & TVIS_STATEIMAGEMASK) >> 12;
    if (m_s.stateImages && stateImage)
        ImageList_Draw(m_s.stateImages, static_cast<int>(stateImage), m_dc, X(layout.stateLeft),
                       middle - m_s.stateImageHeight / 2, ILD_TRANSPARENT);
    if (ShowsImage(m_s, *item)) {
        bool selectedImage = (item->state & TVIS_SELECTED) != 0;
        int image = selectedImage ? item->selectedImage : item->image;
        if (image == I_IMAGECALLBACK) {
            unsigned changes = m_s.changes;
            image = NotifyDisplayImage(m_s, id, selectedImage ? TVIF_SELECTEDIMAGE : TVIF_IMAGE);
            item = Item(m_s, id);
            if (!item || m_s.changes != changes || m_s.destroyed)
                return false;
        }
        if (image >= 0)
            ImageList_Draw(m_s.images, image, m_dc, X(layout.imageLeft), middle - m_s.imageHeight / 2,
                           ILD_TRANSPARENT);
    }

    bool fullRow = (m_s.exStyle & TVS_EX_FULLROWSELECT_TL) != 0;
    bool selected = (item->state & TVIS_SELECTED) != 0;
    bool highlighted = (selected && !fullRow) || (item->state & TVIS_DROPHILITED);
    COLORREF text = (item->colorFlags & CLF_TEXT) && m_s.enabled ? item->textColor : colors.text;
    if (highlighted) {
        bool focused = m_s.hasFocus || (item->state & TVIS_DROPHILITED);
        Fill(m_dc, X(layout.labelLeft), top, X(layout.labelRight), bottom,
             focused && m_s.enabled ? GetSysColor(COLOR_HIGHLIGHT) : colors.frame);
        if (focused)
            text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    char buffer[260];
    const char* label = ItemText(m_s, id, 0, buffer, sizeof(buffer));
    item = Item(m_s, id);
    if (!item || m_s.destroyed)
        return false;
    SelectScope font(m_dc, (item->state & TVIS_BOLD) ? m_s.boldFont : m_s.font);
    SetTextColor(m_dc, text);
    RECT textRect = { X(layout.labelLeft) + 2, top, right - 2, bottom };
    DrawCellText(m_dc, label, -1, layout.labelRight - layout.labelLeft - 5, textRect, DT_LEFT, m_s.textHeight);
    if (layout.labelRight > m_s.contentWidth)
        m_s.contentWidth = layout.labelRight;
    SelectClipRgn(m_dc, nullptr);
    if (id == m_s.caret && m_s.hasFocus && !fullRow)
        DrawFocus(id, top, bottom, X(layout.labelLeft), X(layout.labelRight));
    return true;
}

void RowPainter::DrawCell(ItemId id, int column, int top, int bottom, bool rowSelected, const RowColors& colors)
{
    const TreeColumn& col = m_s.columns[column];
    int left = X(col.left);
    int right = X(col.right);
    if (right <= 0 || left >= m_s.clientWidth)
        return;
    const TreeCell* cell = Cell(m_s, id, column);
    if (!rowSelected && (cell->colorFlags & CLF_BK) && m_s.enabled)
        Fill(m_dc, left, top, right, bottom, cell->bkColor);
    if (!cell->text || cell->textLength == 0)
        return;
    bool cellCaret = (m_s.exStyle & TVS_EX_CELLSELECT_TL) && id == m_s.caret && column == m_s.caretColumn;
    COLORREF text = (cell->colorFlags & CLF_TEXT) && m_s.enabled ? cell->textColor : colors.text;
    if (cellCaret && !(m_s.exStyle & TVS_EX_FULLROWSELECT_TL) && m_s.hasFocus) {
        Fill(m_dc, left, top, right, bottom, GetSysColor(COLOR_HIGHLIGHT));
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    SelectScope font(m_dc, m_s.font);
    SetTextColor(m_dc, text);
    UINT align = col.align == 2 ? DT_RIGHT : col.align == 1 ? DT_CENTER : DT_LEFT;
    RECT textRect = { left + 2, top, right - 2, bottom };
    int width = CellTextWidth(m_s, id, column, m_dc);
    DrawCellText(m_dc, cell->text, static_cast<int>(cell->textLength), width, textRect, align, m_s.textHeight);
}

void RowPainter::DrawFocus(ItemId, int top, int bottom, int labelLeft, int labelRight)
{
    RECT r = { labelLeft, top, labelRight, bottom };
    SetTextColor(m_dc, m_s.colors[TVC_TEXT]);
    SetBkColor(m_dc, m_s.colors[TVC_BK]);
    DrawFocusRect(m_dc, &r);
}

bool RowPainter::PaintRow(int row, int top)
{
    ItemId id = ItemAtRow(m_s, row);
    if (!Item(m_s, id))
        return false;
    unsigned changes = m_s.changes;
    int bottom = top + m_s.rowHeight;
    bool grid = (m_s.exStyle & TVS_EX_GRIDLINES_TL) != 0;
    int usable = grid ? bottom - 1 : bottom;
    RowColors colors = ColorsOfRow(m_s, row);
    bool fullRow = (m_s.exStyle & TVS_EX_FULLROWSELECT_TL) != 0;
    bool rowSelected = fullRow && (m_s.items[id]->state & TVIS_SELECTED);
    Fill(m_dc, 0, top, m_s.clientWidth, bottom, rowSelected ? colors.selected : colors.background);
    // The owner may change the tree while it is asked for a text or an image: the rows
    // painted so far no longer hold then.
    if (!DrawTreeCell(id, top, usable, rowSelected, colors) || m_s.changes != changes)
        return false;
    for (int c = 1; c < m_s.columnCount; ++c)
        DrawCell(id, c, top, usable, rowSelected, colors);
    if (grid) {
        Fill(m_dc, 0, bottom - 1, m_s.clientWidth, bottom, colors.box);
        for (int c = 0; c < m_s.columnCount; ++c)
            Fill(m_dc, X(m_s.columns[c].right) - 1, top, X(m_s.columns[c].right), bottom, colors.box);
    }
    if (fullRow && id == m_s.caret && m_s.hasFocus) {
        RECT r = { 0, top, m_s.clientWidth, usable };
        if ((m_s.exStyle & TVS_EX_CELLSELECT_TL) && m_s.caretColumn > 0) {
            r.left = X(m_s.columns[m_s.caretColumn].left);
            r.right = X(m_s.columns[m_s.caretColumn].right);
        }
        SetTextColor(m_dc, m_s.colors[TVC_TEXT]);
        SetBkColor(m_dc, m_s.colors[TVC_BK]);
        DrawFocusRect(m_dc, &r);
    }
    if (id == m_s.insertMark) {
        COLORREF mark = m_s.colors[TVC_INSERT];
        if (mark == colors.background)
            mark = m_s.colors[TVC_TEXT];
        int y = m_s.insertMarkAfter ? bottom - 2 : top;
        int left = X(LayoutItem(m_s, id, m_dc).labelLeft);
        Fill(m_dc, left, y, m_s.clientWidth, y + 2, mark);
        Fill(m_dc, left, y - 2, left + 1, y + 4, mark);
    }
    return true;
}

}  // namespace

void Paint(TreeListState& s, HDC target, const RECT& area)
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
    for (int row = s.firstRow; row < last && row < static_cast<int>(s.rowCount); ++row, top += s.rowHeight) {
        if (top + s.rowHeight <= area.top || top >= area.bottom)
            continue;
        if (!painter.PaintRow(row, top)) {
            if (s.destroyed)
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

HIMAGELIST CreateDragImage(TreeListState& s, ItemId id, int column)
{
    if (!Item(s, id) || !ColumnExists(s, column))
        return nullptr;
    char buffer[260];
    const char* text = "????";
    if (column == 0) {
        text = ItemText(s, id, 0, buffer, sizeof(buffer));
    } else {
        const TreeCell* cell = Cell(s, id, column);
        if (cell->colorFlags & CLF_EXISTS)
            text = cell->text ? cell->text : "";
    }
    if (!Item(s, id))
        return nullptr;
    const TreeItem& item = *s.items[id];
    bool image = column == 0 && ShowsImage(s, item) && item.image >= 0;
    int imageWidth = image ? s.imageWidth + 2 : 0;
    WindowDc screen(s.hwnd);
    int textWidth = MeasureText(s, text, static_cast<unsigned>(lstrlenA(text)), false, screen.Get());
    int width = imageWidth + textWidth + 4;
    if (width > 240)
        width = 240;
    int height = s.rowHeight > 32 ? 32 : s.rowHeight;
    if (image && s.imageHeight > height)
        height = s.imageHeight > 32 ? 32 : s.imageHeight;
    velutils::MemoryDc dc(CreateCompatibleDC(screen.Get()));
    velutils::BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!dc || !bitmap)
        return nullptr;
    {
        SelectScope selectBitmap(dc.Get(), bitmap.Get());
        Fill(dc.Get(), 0, 0, width, height, kDragMask);
        if (image)
            ImageList_Draw(s.images, item.image, dc.Get(), 0, (height - s.imageHeight) / 2, ILD_TRANSPARENT);
        SelectScope font(dc.Get(), s.font);
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), s.colors[TVC_TEXT]);
        RECT r = { imageWidth + 2, 0, width, height };
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
