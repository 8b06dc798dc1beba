#include "treelist/ItemAccess.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "treelist/ItemTable.h"
#include "treelist/Measure.h"
#include "treelist/Notify.h"
#include "treelist/Recheck.h"
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

// Every change of a text after the item's creation passes here.
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
        s.events.Add(EVENT_OBJECT_NAMECHANGE, static_cast<LONG>(id));
        return true;
    }
    TreeCell* cell = Cell(s, id, column);
    if (text == LPSTR_TEXTCALLBACKA)
        text = "";
    if (!CopyText(cell->text, cell->textLength, text))
        return false;
    cell->textWidth = 0;
    cell->colorFlags |= CLF_EXISTS;
    s.events.Add(EVENT_OBJECT_DESCRIPTIONCHANGE, static_cast<LONG>(id));
    return true;
}

// Every reordering of siblings passes here.
void RelinkChildren(TreeListState& s, ItemId parent, const std::vector<ItemId>& order)
{
    ++s.changes;
    s.events.Add(EVENT_OBJECT_REORDER, CHILDID_SELF);
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

std::vector<ItemId> Children(const TreeListState& s, ItemId parent)
{
    std::vector<ItemId> order;
    ItemId first = parent ? s.items[parent]->firstChild : s.firstRoot;
    for (ItemId id = first; id; id = s.items[id]->nextSibling)
        order.push_back(id);
    return order;
}

void SortByText(const TreeListState& s, std::vector<ItemId>& order)
{
    std::stable_sort(order.begin(), order.end(), [&](ItemId a, ItemId b) {
        const char* ta = s.items[a]->text ? s.items[a]->text : "";
        const char* tb = s.items[b]->text ? s.items[b]->text : "";
        return lstrcmpiA(ta, tb) < 0;
    });
}

// The owner compares lParams taken beforehand: it may send messages back from its
// comparison, and the records are not read again until the sort is over.
void SortByOwnerCallingOut(TreeListState& s, std::vector<ItemId>& order, PFNTVCOMPARE compare, LPARAM data)
{
    std::vector<std::pair<ItemId, LPARAM>> keyed;
    for (ItemId id : order)
        keyed.emplace_back(id, s.items[id]->lParam);
    std::stable_sort(keyed.begin(), keyed.end(), [&](const std::pair<ItemId, LPARAM>& a,
                                                     const std::pair<ItemId, LPARAM>& b) {
        return compare(a.second, b.second, data) < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].first;
}

// Sorts the children of one parent by the owner's comparison; false when the owner
// changed the tree meanwhile.
bool SortLevelCallingOut(TreeListState& s, ItemId parent, PFNTVCOMPARE compare, LPARAM data,
                         std::vector<ItemId>& order)
{
    order = Children(s, parent);
    Recheck check(s);
    SortByOwnerCallingOut(s, order, compare, data);
    if (!check.Unchanged())
        return false;
    RelinkChildren(s, parent, order);
    return true;
}

// Sorts the children of `parent` (and with `recurse` every level below it) with
// `sortLevel(level, order)`, which fills `order` with the level's new order or fails.
template <typename SortLevel>
BOOL SortTree(TreeListState& s, ItemId parent, bool recurse, SortLevel sortLevel)
{
    if (parent && !Item(s, parent))
        return FALSE;
    int parentRow = parent ? RowOf(s, parent) : -1;
    bool shown = !parent || parentRow >= 0;
    std::vector<ItemId> pending(1, parent);
    std::vector<ItemId> order;
    while (!pending.empty()) {
        ItemId level = pending.back();
        pending.pop_back();
        if (!sortLevel(level, order)) {
            // The owner changed the tree from its comparison: what was sorted stays, and
            // the rows are numbered again from the top.
            RowsChangedFrom(s, 0);
            InvalidateRect(s.hwnd, nullptr, FALSE);
            return FALSE;
        }
        // Marked at once, numbered once when next asked for.
        if (shown)
            RowsChangedFrom(s, static_cast<unsigned>(parentRow + 1));
        if (recurse)
            for (ItemId id : order)
                if (s.items[id]->firstChild)
                    pending.push_back(id);
    }
    if (shown)
        InvalidateRowsFrom(s, parent);
    return TRUE;
}

// TVIF_IMAGE and TVIF_SELECTEDIMAGE: the item's own, or the owner's answer.
void GetImagesCallingOut(TreeListState& s, ItemId id, TVITEMA& tv)
{
    Recheck check(s);
    if (tv.mask & TVIF_IMAGE) {
        tv.iImage = s.items[id]->image;
        if (s.items[id]->callbackFlags & CBK_IMAGE)
            tv.iImage = NotifyDisplayImageCallingOut(s, id, TVIF_IMAGE);
    }
    if ((tv.mask & TVIF_SELECTEDIMAGE) && check.Holds(id)) {
        tv.iSelectedImage = s.items[id]->selectedImage;
        if (s.items[id]->callbackFlags & CBK_SELIMAGE)
            tv.iSelectedImage = NotifyDisplayImageCallingOut(s, id, TVIF_SELECTEDIMAGE);
    }
}

// TVIF_TEXT: copied into the caller's buffer, or (TVIF_TEXTPTR) a pointer to the
// control's copy; a text the owner supplies goes through the control's buffer then.
BOOL GetTextCallingOut(TreeListState& s, ItemId id, int column, TVITEMA& tv)
{
    if (column != 0 || !(s.items[id]->callbackFlags & CBK_TEXT)) {
        CopyOut(ItemTextCallingOut(s, id, column, nullptr, 0), tv);
        return TRUE;
    }
    bool pointer = (tv.mask & TVIF_TEXTPTR) != 0;
    char* buffer = pointer ? s.callbackText : tv.pszText;
    int size = pointer ? static_cast<int>(sizeof(s.callbackText)) : tv.cchTextMax;
    Recheck check(s);
    const char* text = ItemTextCallingOut(s, id, 0, buffer, size);
    if (!check.Holds(id))
        return FALSE;
    if (text != buffer)
        lstrcpynA(buffer, text, size);
    tv.pszText = buffer;
    return TRUE;
}

}  // namespace

BOOL GetItemCallingOut(TreeListState& s, TVITEMA& tv)
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
    Recheck check(s);
    GetImagesCallingOut(s, id, tv);
    if (!check.Holds(id) || !ColumnExists(s, column))
        return FALSE;
    return (tv.mask & TVIF_TEXT) ? GetTextCallingOut(s, id, column, tv) : TRUE;
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

BOOL ItemRectCallingOut(TreeListState& s, ItemId id, bool textOnly, RECT& rect)
{
    int row = RowOf(s, id);
    if (row < 0)
        return FALSE;
    if (textOnly) {
        Recheck check(s);
        int width = ItemTextWidthCallingOut(s, id, nullptr);
        if (!check.Unchanged())
            return FALSE;
        ItemLayout layout = LayoutItem(s, id);
        rect.left = layout.labelLeft - s.scrollX;
        rect.right = LabelRight(s, layout, width) - s.scrollX;
    } else {
        rect.left = 0;
        rect.right = s.clientWidth;
    }
    rect.top = s.headerHeight + (row - s.firstRow) * s.rowHeight;
    rect.bottom = rect.top + s.rowHeight;
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

BOOL SortChildren(TreeListState& s, ItemId parent, bool recurse)
{
    return SortTree(s, parent, recurse, [&s](ItemId level, std::vector<ItemId>& order) {
        order = Children(s, level);
        SortByText(s, order);
        RelinkChildren(s, level, order);
        return true;
    });
}

BOOL SortChildrenCallingOut(TreeListState& s, ItemId parent, bool recurse, PFNTVCOMPARE compare, LPARAM data)
{
    return SortTree(s, parent, recurse, [&](ItemId level, std::vector<ItemId>& order) {
        return SortLevelCallingOut(s, level, compare, data, order);
    });
}

}  // namespace treelist
