#include "treelist/HitTest.h"

#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/RowTable.h"

namespace treelist {

namespace {

UINT HitCell(TreeListState& s, ItemId id, int column, int x)
{
    const TreeColumn& col = s.columns[column];
    const Metrics& m = s.metrics;
    UINT flags = static_cast<UINT>(column) << 24;
    const TreeCell* cell = Cell(s, id, column);
    if (!cell || !cell->text || cell->textLength == 0)
        return flags | TVHT_ONSUBLABEL;
    int textWidth = CellTextWidth(s, id, column, nullptr);
    bool onText = false;
    switch (col.align) {
    case 2:
        onText = x >= col.right - textWidth - m.labelExtra;
        break;
    case 1: {
        int middle = col.left + (col.right - col.left) / 2;
        int distance = x - middle;
        int reach = textWidth / 2 + m.centredTextHit;
        onText = distance >= -reach && distance <= reach;
        break;
    }
    default:
        onText = x < col.left + textWidth + m.labelExtra;
        break;
    }
    return flags | (onText ? TVHT_ONSUBLABEL : TVHT_ONSUBRIGHT);
}

// Inside the first indent step: the button, or the indent.
UINT HitIndent(const TreeListState& s, const TreeItem& item, int x, int yFromMiddle)
{
    const Metrics& m = s.metrics;
    int fromCenter = x - m.buttonCenter;
    bool close = fromCenter >= -m.buttonHit && fromCenter <= m.buttonHit + 1 && yFromMiddle >= -m.buttonHit &&
                yFromMiddle <= m.buttonHit + 1;
    return (s.style & TVS_HASBUTTONS) && HasChildren(s, item) && close ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
}

UINT HitTreeColumnCallingOut(TreeListState& s, ItemId id, int x, int yFromMiddle)
{
    const TreeItem& item = *s.items[id];
    int grid = (s.exStyle & TVS_EX_GRIDLINES_TL) ? s.metrics.line : 0;
    if (!(s.style & TVS_LINESATROOT))
        x += s.indent;
    x -= item.level * s.indent;
    if (x < s.indent)
        return HitIndent(s, item, x, yFromMiddle);
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
    return x < ItemTextWidthCallingOut(s, id, nullptr) + s.metrics.labelExtra ? TVHT_ONITEMLABEL : TVHT_ONITEMRIGHT;
}

}  // namespace

HitResult HitTestCallingOut(TreeListState& s, POINT point)
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
    hit.flags = HitTreeColumnCallingOut(s, id, x, y - middle);
    return hit;
}

}  // namespace treelist
