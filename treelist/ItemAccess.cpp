#include "treelist/ItemAccess.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Notify.h"
#include "treelist/RowTable.h"
#include "treelist/TreeOps.h"

namespace treelist {

namespace {

int ColumnOf(const TVITEMA& tv)
{
    return (tv.mask & TVIF_SUBITEM) ? tv.cChildren : 0;
}

void CopyOut(const char* text, TVITEMA& tv)
{
    if (tv.mask & TVIF_TEXTPTR) {
        tv.pszText = const_cast<char*>(text);
        return;
    }
    lstrcpynA(tv.pszText, text, tv.cchTextMax);
}

bool SetCellText(TreeListState& s, ItemId id, int column, const char* text)
{
    if (column == 0) {
        TreeItem* item = s.items[id];
        if (text == LPSTR_TEXTCALLBACKA) {
            FreeText(item->text);
            item->textLength = 0;
            item->callbackFlags |= CBK_TEXT;
        } else {
            if (!CopyText(item->text, item->textLength, text))
                return false;
            item->callbackFlags &= ~CBK_TEXT;
        }
        item->textWidth = 0;
        return true;
    }
    TreeCell* cell = Cell(s, id, column);
    if (text == LPSTR_TEXTCALLBACKA)
        text = "";
    if (!CopyText(cell->text, cell->textLength, text))
        return false;
    cell->textWidth = 0;
    cell->colorFlags |= CLF_EXISTS;
    return true;
}

void RelinkChildren(TreeListState& s, ItemId parent, const std::vector<ItemId>& order)
{
    ItemId& first = parent ? s.items[parent]->firstChild : s.firstRoot;
    ItemId& last = parent ? s.items[parent]->lastChild : s.lastRoot;
    ItemId previous = 0;
    for (ItemId id : order) {
        s.items[id]->prevSibling = previous;
        if (previous)
            s.items[previous]->nextSibling = id;
        previous = id;
    }
    if (previous)
        s.items[previous]->nextSibling = 0;
    first = order.empty() ? 0 : order.front();
    last = previous;
}

void SortLevel(TreeListState& s, ItemId parent, PFNTVCOMPARE compare, LPARAM data, std::vector<ItemId>& order)
{
    order.clear();
    ItemId first = parent ? s.items[parent]->firstChild : s.firstRoot;
    for (ItemId id = first; id; id = s.items[id]->nextSibling)
        order.push_back(id);
    if (compare) {
        std::stable_sort(order.begin(), order.end(), [&](ItemId a, ItemId b) {
            return compare(s.items[a]->lParam, s.items[b]->lParam, data) < 0;
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](ItemId a, ItemId b) {
            const char* ta = s.items[a]->text ? s.items[a]->text : "";
            const char* tb = s.items[b]->text ? s.items[b]->text : "";
            return lstrcmpiA(ta, tb) < 0;
        });
    }
    RelinkChildren(s, parent, order);
}

}  // namespace

BOOL GetItem(TreeListState& s, TVITEMA& tv)
{
    ItemId id = IdFromHandle(tv.hItem);
    int column = ColumnOf(tv);
    TreeItem* item = Item(s, id);
    if (!item || !ColumnExists(s, column))
        return FALSE;
    if ((tv.mask & TVIF_TEXT) && !(tv.mask & TVIF_TEXTPTR) && (!tv.pszText || tv.cchTextMax <= 0))
        return FALSE;
    // The whole state, whatever the caller's stateMask says: a zero-filled record that
    // asks for the state must read an expanded, selected or checked item as such.
    if (tv.mask & TVIF_STATE)
        tv.state = item->state;
    if (tv.mask & TVIF_PARAM)
        tv.lParam = item->lParam;
    if ((tv.mask & TVIF_CHILDREN) && !(tv.mask & TVIF_SUBITEM))
        tv.cChildren = HasChildren(s, *item) ? 1 : 0;
    // Values the owner supplies are asked for; it may change the tree meanwhile.
    if (tv.mask & TVIF_IMAGE) {
        tv.iImage = item->image;
        if (item->callbackFlags & CBK_IMAGE)
            tv.iImage = NotifyDisplayImage(s, id, TVIF_IMAGE);
    }
    if ((tv.mask & TVIF_SELECTEDIMAGE) && Item(s, id)) {
        tv.iSelectedImage = s.items[id]->selectedImage;
        if (s.items[id]->callbackFlags & CBK_SELIMAGE)
            tv.iSelectedImage = NotifyDisplayImage(s, id, TVIF_SELECTEDIMAGE);
    }
    if (!Item(s, id) || !ColumnExists(s, column))
        return FALSE;
    item = s.items[id];
    if (tv.mask & TVIF_TEXT) {
        if (column == 0 && (item->callbackFlags & CBK_TEXT)) {
            char* buffer = (tv.mask & TVIF_TEXTPTR) ? s.callbackText : tv.pszText;
            int size = (tv.mask & TVIF_TEXTPTR) ? static_cast<int>(sizeof(s.callbackText)) : tv.cchTextMax;
            const char* text = ItemText(s, id, 0, buffer, size);
            if (!Item(s, id))
                return FALSE;
            if (text != buffer)
                lstrcpynA(buffer, text, size);
            tv.pszText = buffer;
        } else {
            CopyOut(ItemText(s, id, column, nullptr, 0), tv);
        }
    }
    return TRUE;
}

BOOL SetItem(TreeListState& s, const TVITEMA& tv)
{
    ItemId id = IdFromHandle(tv.hItem);
    int column = ColumnOf(tv);
    TreeItem* item = Item(s, id);
    if (!item || !ColumnExists(s, column))
        return FALSE;
    if ((tv.mask & TVIF_TEXT) && !SetCellText(s, id, column, tv.pszText))
        return FALSE;
    if (tv.mask & TVIF_STATE) {
        UINT old = item->state;
        ApplyState(s, id, tv.state, tv.stateMask);
        if ((old ^ item->state) & TVIS_BOLD)
            item->textWidth = 0;
        if ((old ^ item->state) & TVIS_EXPANDED) {
            InvalidateRowsFrom(s, id);
            s.scrollBarsDirty = true;
        }
    }
    if (tv.mask & TVIF_PARAM)
        item->lParam = tv.lParam;
    if (tv.mask & TVIF_IMAGE) {
        item->image = tv.iImage;
        item->callbackFlags = static_cast<unsigned char>((item->callbackFlags & ~CBK_IMAGE) |
                                                         (tv.iImage == I_IMAGECALLBACK ? CBK_IMAGE : 0));
    }
    if (tv.mask & TVIF_SELECTEDIMAGE) {
        item->selectedImage = tv.iSelectedImage;
        item->callbackFlags = static_cast<unsigned char>((item->callbackFlags & ~CBK_SELIMAGE) |
                                                         (tv.iSelectedImage == I_IMAGECALLBACK ? CBK_SELIMAGE : 0));
    }
    if ((tv.mask & TVIF_CHILDREN) && !(tv.mask & TVIF_SUBITEM)) {
        item->callbackFlags &= ~CBK_CHILDREN;
        if (tv.cChildren == I_CHILDRENCALLBACK)
            item->callbackFlags |= CBK_CHILDREN, item->childrenFlags = 0;
        else if (tv.cChildren == 0)
            item->childrenFlags = 0;
        else if (tv.cChildren == 1)
            item->childrenFlags = CHF_FORCED;
        else
            item->childrenFlags = CHF_REAL;
    }
    InvalidateItem(s, id);
    return TRUE;
}

ItemId NextItem(TreeListState& s, ItemId id, UINT relation)
{
    const TreeItem* item = Item(s, id);
    switch (relation) {
    case TVGN_ROOT: return s.firstRoot;
    case TVGN_CARET: return s.caret;
    case TVGN_DROPHILITE: return s.dropHilite;
    case TVGN_FIRSTVISIBLE: return ItemAtRow(s, s.firstRow);
    case TVGN_LASTVISIBLE: return s.rowCount ? ItemAtRow(s, static_cast<int>(s.rowCount) - 1) : 0;
    case TVGN_CHILD:
        return item ? item->firstChild : 0;
    default:
        break;
    }
    if (!item)
        return 0;
    switch (relation) {
    case TVGN_NEXT: return item->nextSibling;
    case TVGN_PREVIOUS: return item->prevSibling;
    case TVGN_PARENT: return item->parent;
    case TVGN_NEXTVISIBLE: {
        int row = RowOf(s, id);
        return row < 0 ? 0 : ItemAtRow(s, row + 1);
    }
    case TVGN_PREVIOUSVISIBLE: {
        int row = RowOf(s, id);
        return row <= 0 ? 0 : ItemAtRow(s, row - 1);
    }
    default:
        return 0;
    }
}

BOOL ItemRect(TreeListState& s, ItemId id, bool textOnly, RECT& rect)
{
    int row = RowOf(s, id);
    if (row < 0)
        return FALSE;
    rect.top = s.headerHeight + (row - s.firstRow) * s.rowHeight;
    rect.bottom = rect.top + s.rowHeight;
    if (textOnly) {
        ItemLayout layout = LayoutItem(s, id, nullptr);
        rect.left = layout.labelLeft - s.scrollX;
        rect.right = layout.labelRight - s.scrollX;
    } else {
        rect.left = 0;
        rect.right = s.clientWidth;
    }
    return TRUE;
}

LRESULT CellColor(TreeListState& s, ItemId id, int column, bool background)
{
    const TreeItem* item = Item(s, id);
    if (!item || !ColumnExists(s, column))
        return -1;
    unsigned char flags = item->colorFlags;
    COLORREF text = item->textColor;
    COLORREF bk = item->bkColor;
    if (column > 0) {
        const TreeCell* cell = Cell(s, id, column);
        flags = cell->colorFlags;
        text = cell->textColor;
        bk = cell->bkColor;
    }
    if (background)
        return (flags & CLF_BK) ? static_cast<LRESULT>(bk) : -1;
    return (flags & CLF_TEXT) ? static_cast<LRESULT>(text) : -1;
}

BOOL SetCellColor(TreeListState& s, WPARAM cell, COLORREF color, bool background)
{
    ItemId id = static_cast<ItemId>(cell & 0xFFFFFF);
    int column = static_cast<int>((cell >> 24) & 0xFF);
    TreeItem* item = Item(s, id);
    if (!item || !ColumnExists(s, column))
        return FALSE;
    unsigned char* flags = &item->colorFlags;
    COLORREF* target = background ? &item->bkColor : &item->textColor;
    if (column > 0) {
        TreeCell* c = Cell(s, id, column);
        flags = &c->colorFlags;
        target = background ? &c->bkColor : &c->textColor;
        *flags |= CLF_EXISTS;
    }
    unsigned char bit = background ? CLF_BK : CLF_TEXT;
    if (color == CLR_NONE || color == CLR_DEFAULT) {
        *flags = static_cast<unsigned char>(*flags & ~bit);
    } else {
        *flags |= bit;
        *target = color;
    }
    InvalidateItem(s, id);
    return TRUE;
}

BOOL SortChildren(TreeListState& s, ItemId parent, bool recurse, PFNTVCOMPARE compare, LPARAM data)
{
    if (parent && !Item(s, parent))
        return FALSE;
    // Rows below the parent are numbered again once, after every level is sorted.
    int parentRow = parent ? RowOf(s, parent) : -1;
    std::vector<ItemId> pending(1, parent);
    std::vector<ItemId> order;
    while (!pending.empty()) {
        ItemId level = pending.back();
        pending.pop_back();
        SortLevel(s, level, compare, data, order);
        if (recurse)
            for (ItemId id : order)
                if (s.items[id]->firstChild)
                    pending.push_back(id);
    }
    if (!parent || parentRow >= 0) {
        RowsChangedFrom(s, static_cast<unsigned>(parentRow + 1));
        InvalidateRowsFrom(s, parent);
    }
    return TRUE;
}

}  // namespace treelist
