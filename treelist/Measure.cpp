#include "treelist/Measure.h"

#include "treelist/GdiScopes.h"
#include "treelist/ItemTable.h"
#include "treelist/Notify.h"

namespace treelist {

namespace {

int CacheWidth(int width)
{
    return width > 0 ? width : 0;
}

bool IsBold(const TreeItem& item)
{
    return (item.state & TVIS_BOLD) != 0;
}

}  // namespace

int MeasureText(TreeListState& s, const char* text, unsigned length, bool bold, HDC dc)
{
    if (!text || length == 0)
        return 0;
    if (!dc) {
        WindowDc own(s.hwnd);
        return MeasureText(s, text, length, bold, own.Get());
    }
    SelectScope select(dc, bold ? s.boldFont : s.font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(length), &size);
    return size.cx;
}

const char* ItemTextCallingOut(TreeListState& s, ItemId id, int column, char* buffer, int size)
{
    const TreeItem* item = Item(s, id);
    if (!item)
        return "";
    if (column > 0) {
        const TreeCell* cell = Cell(s, id, column);
        return cell && cell->text ? cell->text : "";
    }
    if (item->callbackFlags & CBK_TEXT)
        return NotifyDisplayTextCallingOut(s, id, buffer, size);
    return item->text ? item->text : "";
}

int LabelTextWidth(TreeListState& s, ItemId id, const char* text, HDC dc)
{
    TreeItem* item = s.items[id];
    if (item->callbackFlags & CBK_TEXT)
        return MeasureText(s, text, static_cast<unsigned>(lstrlenA(text)), IsBold(*item), dc);
    if (item->textWidth == 0 && item->textLength > 0)
        item->textWidth = CacheWidth(MeasureText(s, item->text, item->textLength, IsBold(*item), dc));
    return item->textWidth;
}

int ItemTextWidthCallingOut(TreeListState& s, ItemId id, HDC dc)
{
    char buffer[260];
    const char* text = ItemTextCallingOut(s, id, 0, buffer, sizeof(buffer));
    return Item(s, id) ? LabelTextWidth(s, id, text, dc) : 0;
}

int CellTextWidth(TreeListState& s, ItemId id, int column, HDC dc)
{
    TreeCell* cell = Cell(s, id, column);
    if (!cell || !cell->text)
        return 0;
    if (cell->textWidth == 0 && cell->textLength > 0)
        cell->textWidth = CacheWidth(MeasureText(s, cell->text, cell->textLength, false, dc));
    return cell->textWidth;
}

bool ShowsImage(const TreeListState& s, const TreeItem& item)
{
    return s.images && (item.image >= 0 || (item.callbackFlags & CBK_IMAGE));
}

ItemLayout LayoutItem(const TreeListState& s, ItemId id)
{
    const TreeItem& item = *s.items[id];
    const Metrics& m = s.metrics;
    int grid = (s.exStyle & TVS_EX_GRIDLINES_TL) ? m.line : 0;
    ItemLayout layout = {};
    layout.stepLeft = item.level * s.indent - ((s.style & TVS_LINESATROOT) ? 0 : s.indent);
    layout.buttonCenter = layout.stepLeft + m.buttonCenter;
    int x = layout.stepLeft + s.indent + grid;
    layout.stateLeft = x;
    if (s.stateImages)
        x += s.stateImageWidth;
    layout.imageLeft = x;
    if (ShowsImage(s, item))
        x += s.imageWidth + grid;
    layout.labelLeft = x;
    return layout;
}

int LabelRight(const TreeListState& s, const ItemLayout& layout, int textWidth)
{
    return layout.labelLeft + textWidth + s.metrics.labelExtra;
}

}  // namespace treelist
