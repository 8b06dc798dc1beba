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

const char* ItemText(TreeListState& s, ItemId id, int column, char* buffer, int size)
{
    const TreeItem* item = Item(s, id);
    if (!item)
        return "";
    if (column > 0) {
        const TreeCell* cell = Cell(s, id, column);
        return cell && cell->text ? cell->text : "";
    }
    if (item->callbackFlags & CBK_TEXT)
        return NotifyDisplayText(s, id, buffer, size);
    return item->text ? item->text : "";
}

int ItemTextWidth(TreeListState& s, ItemId id, HDC dc)
{
    TreeItem* item = s.items[id];
    if (item->callbackFlags & CBK_TEXT) {
        char buffer[260];
        const char* text = NotifyDisplayText(s, id, buffer, sizeof(buffer));
        item = Item(s, id);
        if (!item)
            return 0;
        return MeasureText(s, text, static_cast<unsigned>(lstrlenA(text)), (item->state & TVIS_BOLD) != 0, dc);
    }
    if (item->textWidth == 0 && item->textLength > 0)
        item->textWidth = CacheWidth(MeasureText(s, item->text, item->textLength, (item->state & TVIS_BOLD) != 0, dc));
    return item->textWidth;
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

ItemLayout LayoutItem(TreeListState& s, ItemId id, HDC dc)
{
    const TreeItem& item = *s.items[id];
    int grid = (s.exStyle & TVS_EX_GRIDLINES_TL) ? 1 : 0;
    ItemLayout layout = {};
    layout.stepLeft = item.level * s.indent - ((s.style & TVS_LINESATROOT) ? 0 : s.indent);
    layout.buttonCenter = layout.stepLeft + 7;
    int x = layout.stepLeft + s.indent + grid;
    layout.stateLeft = x;
    if (s.stateImages)
        x += s.stateImageWidth;
    layout.imageLeft = x;
    if (ShowsImage(s, item))
        x += s.imageWidth + grid;
    layout.labelLeft = x;
    layout.labelRight = x + ItemTextWidth(s, id, dc) + 5;
    return layout;
}

}  // namespace treelist
