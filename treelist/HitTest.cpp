#include "treelist/HitTest.h"

#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/RowTable.h"

namespace treelist {

namespace {

UINT HitCell(TreeListState& s, ItemId id, int column, int x)
{
    const TreeColumn& col = s.columns[column];
    UINT flags = static_cast<UINT>(column) << 24;
    const TreeCell* cell = Cell(s, id, column);
    if (!cell || !cell->text || cell->textLength == 0)
        return flags | TVHT_ONSUBLABEL;
    int textWidth = CellTextWidth(s, id, column, nullptr);
    bool onText = false;
    switch (col.align) {
    case 2:
        onText = x >= col.right - textWidth - 5;
        break;
    case 1: {
        int middle = col.left + (col.right - col.left) / 2;
        int distance = x - middle;
        onText = distance >= -(textWidth / 2 + 3) && distance <= textWidth / 2 + 3;
        break;
    }
    default:
        onText = x < col.left + textWidth + 5;
        break;
    }
    return flags | (onText ? TVHT_ONSUBLABEL : TVHT_ONSUBRIGHT);
}

UINT HitTreeColumn(TreeListState& s, ItemId id, int x, int yFromMiddle)
{
    const TreeItem& item = *s.items[id];
    int grid = (s.exStyle & TVS_EX_GRIDLINES_TL) ? 1 : 0;
    if (!(s.style & TVS_LINESATROOT))
        x += s.indent;
    x -= item.level * s.indent;
    if (x < s.indent) {
        int fromCenter = x - 7;
        if ((s.style & TVS_HASBUTTONS) && HasChildren(s, item) && fromCenter >= -6 && fromCenter <= 7 &&
            yFromMiddle >= -6 && yFromMiddle <= 7)
            return TVHT_ONITEMBUTTON;
        return TVHT_ONITEMINDENT;
    }
    x -= s.indent + grid;
    if (s.stateImages)
        x -= s.stateImageWidth;
    if (x < 0)
        return TVHT_ONITEMSTATEICON;
    if (ShowsImage(s, item)) {
        x -= s.imageWidth + grid;
        if (x < 0)
            return TVHT_ONITEMICON;
    }
    return x < ItemTextWidth(s, id, nullptr) + 5 ? TVHT_ONITEMLABEL : TVHT_ONITEMRIGHT;
}

}  // namespace

HitResult HitTest(TreeListState& s, POINT point)
{
    HitResult hit = { 0, 0, 0 };
    if (point.x >= s.clientWidth || point.x < 0) {
        hit.flags = point.x < 0 ? TVHT_TOLEFT : TVHT_TORIGHT;
        return hit;
    }
    int y = point.y - s.headerHeight;
    int area = s.clientHeight - s.headerHeight;
    if (y >= area || y < 0) {
        hit.flags = y < 0 ? TVHT_ABOVE : TVHT_BELOW;
        return hit;
    }
    int height = s.rowHeight > 0 ? s.rowHeight : 1;
    int row = y / height + s.firstRow;
    ItemId id = ItemAtRow(s, row);
    if (!id) {
        hit.flags = TVHT_NOWHERE;
        return hit;
    }
    hit.item = id;
    int x = point.x + s.scrollX;
    if (s.columnCount > 0 && x >= s.columns[0].right) {
        for (int c = 1; c < s.columnCount; ++c) {
            if (x >= s.columns[c].left && x < s.columns[c].right) {
                hit.column = c;
                hit.flags = HitCell(s, id, c, x);
                return hit;
            }
        }
        hit.flags = TVHT_BEYONDCOLUMNS;
        return hit;
    }
    int middle = (row - s.firstRow) * height + height / 2;
    hit.flags = HitTreeColumn(s, id, x, y - middle);
    return hit;
}

}  // namespace treelist
