#include "treelist/ItemTable.h"

#include <cstdlib>
#include <cstring>

#include "treelist/RowTable.h"

namespace treelist {

namespace {

char g_emptyText[1] = { 0 };

bool GrowItems(TreeListState& s)
{
    unsigned capacity = s.capacity + s.capacity / 2 + 64;
    void* items = std::realloc(s.items, capacity * sizeof(TreeItem*));
    if (!items)
        return false;
    s.items = static_cast<TreeItem**>(items);
    for (int c = 1; c < s.columnCount; ++c) {
        void* cells = std::realloc(s.columns[c].cells, capacity * sizeof(TreeCell));
        if (!cells)
            return false;
        s.columns[c].cells = static_cast<TreeCell*>(cells);
    }
    for (unsigned i = s.capacity; i < capacity; ++i)
        s.items[i] = nullptr;
    for (int c = 1; c < s.columnCount; ++c)
        std::memset(s.columns[c].cells + s.capacity, 0, (capacity - s.capacity) * sizeof(TreeCell));
    s.capacity = capacity;
    return true;
}

ItemId FreeSlot(TreeListState& s)
{
    if (s.itemCount + 1 >= s.capacity && !GrowItems(s))
        return 0;
    for (ItemId id = s.lastHandle + 1; id < s.capacity; ++id)
        if (!s.items[id])
            return id;
    for (ItemId id = 1; id <= s.lastHandle && id < s.capacity; ++id)
        if (!s.items[id])
            return id;
    return 0;
}

TreeItem* NewRecord(const TreeListState& s)
{
    return static_cast<TreeItem*>(std::calloc(1, sizeof(TreeItem) + s.userDataSize));
}

int CompareText(const TreeListState& s, const char* text, ItemId id)
{
    const char* other = s.items[id]->text ? s.items[id]->text : "";
    return lstrcmpiA(text, other);
}

// The sibling after which a new item goes; 0 = first. kBadHandle when refused.
ItemId PlaceAfter(const TreeListState& s, ItemId parent, unsigned after, const char* text)
{
    ItemId first = parent ? s.items[parent]->firstChild : s.firstRoot;
    ItemId last = parent ? s.items[parent]->lastChild : s.lastRoot;
    if (after == kFirst)
        return 0;
    if (after == kLast || after == kRoot)
        return last;
    if (after == kSort) {
        ItemId place = 0;
        for (ItemId id = first; id; id = s.items[id]->nextSibling) {
            if (CompareText(s, text ? text : "", id) < 0)
                break;
            place = id;
        }
        return place;
    }
    const TreeItem* sibling = Item(s, after);
    if (!sibling || sibling->parent != parent)
        return kBadHandle;
    return after;
}

void Link(TreeListState& s, ItemId id, ItemId parent, ItemId after)
{
    ++s.changes;
    TreeItem* item = s.items[id];
    ItemId& first = parent ? s.items[parent]->firstChild : s.firstRoot;
    ItemId& last = parent ? s.items[parent]->lastChild : s.lastRoot;
    item->parent = parent;
    item->prevSibling = after;
    item->nextSibling = after ? s.items[after]->nextSibling : first;
    if (item->prevSibling)
        s.items[item->prevSibling]->nextSibling = id;
    else
        first = id;
    if (item->nextSibling)
        s.items[item->nextSibling]->prevSibling = id;
    else
        last = id;
}

void Unlink(TreeListState& s, ItemId id)
{
    ++s.changes;
    TreeItem* item = s.items[id];
    ItemId& first = item->parent ? s.items[item->parent]->firstChild : s.firstRoot;
    ItemId& last = item->parent ? s.items[item->parent]->lastChild : s.lastRoot;
    if (item->prevSibling)
        s.items[item->prevSibling]->nextSibling = item->nextSibling;
    else
        first = item->nextSibling;
    if (item->nextSibling)
        s.items[item->nextSibling]->prevSibling = item->prevSibling;
    else
        last = item->prevSibling;
}

void FreeRecord(TreeListState& s, ItemId id)
{
    TreeItem* item = s.items[id];
    if (item->state & TVIS_SELECTED)
        --s.selectedCount;
    FreeText(item->text);
    for (int c = 1; c < s.columnCount; ++c) {
        TreeCell& cell = s.columns[c].cells[id];
        FreeText(cell.text);
        std::memset(&cell, 0, sizeof(cell));
    }
    // Every item deleted passes here; the owner hears of it after the message.
    s.deleted.emplace_back(id, item->lParam);
    s.events.Add(EVENT_OBJECT_DESTROY, static_cast<LONG>(id));
    std::free(item);
    s.items[id] = nullptr;
    --s.itemCount;
    ++s.changes;
    if (s.caret == id)
        SetCaret(s, 0, s.caretColumn);
    if (s.dropHilite == id)
        s.dropHilite = 0;
    if (s.insertMark == id)
        s.insertMark = 0;
    if (s.anchor == id)
        s.anchor = 0;
    if (s.dragItem == id)
        s.dragItem = 0;
    if (s.editItem == id)
        s.editItem = 0;
}

// Frees the records of a subtree, deepest first, without recursion.
void FreeSubtree(TreeListState& s, ItemId root)
{
    ItemId id = root;
    for (;;) {
        while (s.items[id]->firstChild)
            id = s.items[id]->firstChild;
        ItemId parent = s.items[id]->parent;
        bool done = id == root;
        if (!done)
            Unlink(s, id);
        FreeRecord(s, id);
        if (done)
            return;
        id = parent;
    }
}

void TakeItemFields(TreeListState& s, TreeItem& item, const TVITEMA& tv)
{
    if (tv.mask & TVIF_STATE)
        item.state = tv.state & tv.stateMask;
    else if (s.style & TVS_CHECKBOXES)
        item.state = INDEXTOSTATEIMAGEMASK(1);
    item.state &= ~TVIS_EXPANDPARTIAL_TL;
    if (s.style & TVS_SINGLEEXPAND)
        item.state &= ~TVIS_EXPANDED;
    item.state |= TVIS_EXPANDEDONCE;
    if (tv.mask & TVIF_PARAM)
        item.lParam = tv.lParam;
    if (tv.mask & TVIF_IMAGE) {
        item.image = tv.iImage;
        if (tv.iImage == I_IMAGECALLBACK)
            item.callbackFlags |= CBK_IMAGE;
    }
    if (tv.mask & TVIF_SELECTEDIMAGE) {
        item.selectedImage = tv.iSelectedImage;
        if (tv.iSelectedImage == I_IMAGECALLBACK)
            item.callbackFlags |= CBK_SELIMAGE;
    }
    item.childrenFlags = CHF_REAL;
    if (tv.mask & TVIF_CHILDREN) {
        if (tv.cChildren == I_CHILDRENCALLBACK) {
            item.callbackFlags |= CBK_CHILDREN;
            item.childrenFlags = 0;
        } else if (tv.cChildren == 0) {
            item.childrenFlags = 0;
        } else if (tv.cChildren == 1) {
            item.childrenFlags = CHF_FORCED;
        }
    }
}

}  // namespace

const char* EmptyText()
{
    return g_emptyText;
}

bool CopyText(char*& text, unsigned& length, const char* source)
{
    if (!source || !*source) {
        FreeText(text);
        text = g_emptyText;
        length = 0;
        return true;
    }
    size_t n = std::strlen(source);
    if (n > 0x7FFFFFFF)
        return false;
    char* copy = static_cast<char*>(std::malloc(n + 1));
    if (!copy)
        return false;
    std::memcpy(copy, source, n + 1);
    FreeText(text);
    text = copy;
    length = static_cast<unsigned>(n);
    return true;
}

void FreeText(char*& text)
{
    if (text && text != g_emptyText)
        std::free(text);
    text = nullptr;
}

bool CreateItemTables(TreeListState& s)
{
    s.items = static_cast<TreeItem**>(std::calloc(1, sizeof(TreeItem*)));
    s.rows = static_cast<ItemId*>(std::calloc(1, sizeof(ItemId)));
    if (!s.items || !s.rows)
        return false;
    s.capacity = 1;
    s.rowCapacity = 1;
    return true;
}

void FreeItemTables(TreeListState& s)
{
    DeleteAllItems(s);
    std::free(s.items);
    std::free(s.rows);
    s.items = nullptr;
    s.rows = nullptr;
    s.capacity = 0;
    s.rowCapacity = 0;
}

// Every item created passes here.
ItemId InsertItem(TreeListState& s, const TVINSERTSTRUCTA& insert)
{
    if (s.tearingDown)
        return 0;
    unsigned parentHandle = Handle32(reinterpret_cast<UINT_PTR>(insert.hParent));
    ItemId parent = 0;
    if (parentHandle != 0 && parentHandle != kRoot) {
        if (parentHandle >= kRoot || !Item(s, parentHandle))
            return 0;
        parent = parentHandle;
    }
    if (parent && s.items[parent]->level >= 0xFFFF)
        return 0;
    const TVITEMA& tv = insert.item;
    const char* text = (tv.mask & TVIF_TEXT) ? tv.pszText : nullptr;
    bool textCallback = text == LPSTR_TEXTCALLBACKA;
    ItemId after = PlaceAfter(s, parent, Handle32(reinterpret_cast<UINT_PTR>(insert.hInsertAfter)),
                              textCallback ? "" : text);
    if (after == kBadHandle)
        return 0;

    ItemId id = FreeSlot(s);
    if (!id)
        return 0;
    TreeItem* item = NewRecord(s);
    if (!item)
        return 0;
    if (textCallback)
        item->callbackFlags |= CBK_TEXT;
    else if (!CopyText(item->text, item->textLength, text)) {
        std::free(item);
        return 0;
    }
    TakeItemFields(s, *item, tv);
    item->level = parent ? static_cast<unsigned short>(s.items[parent]->level + 1) : 0;

    s.items[id] = item;
    ++s.itemCount;
    s.lastHandle = id;
    Link(s, id, parent, after);
    if (item->state & TVIS_SELECTED)
        ++s.selectedCount;
    s.events.Add(EVENT_OBJECT_CREATE, static_cast<LONG>(id));

    bool visible = !parent || (IsVisible(s, parent) && (s.items[parent]->state & TVIS_EXPANDED));
    if (visible)
        AddVisibleItem(s, id);
    return id;
}

void DeleteItem(TreeListState& s, ItemId id)
{
    if (!Item(s, id))
        return;
    RemoveVisibleSubtree(s, id);
    Unlink(s, id);
    FreeSubtree(s, id);
}

void DeleteAllItems(TreeListState& s)
{
    while (s.lastRoot) {
        ItemId id = s.lastRoot;
        Unlink(s, id);
        FreeSubtree(s, id);
    }
    ClearRows(s);
    s.firstRow = 0;
    s.contentWidth = 0;
}

bool HasChildren(const TreeListState&, const TreeItem& item)
{
    if ((item.childrenFlags & CHF_FORCED) || (item.callbackFlags & CBK_CHILDREN))
        return true;
    if (item.childrenFlags & CHF_REAL)
        return item.firstChild != 0;
    return false;
}

bool IsAncestor(const TreeListState& s, ItemId ancestor, ItemId item)
{
    for (ItemId id = s.items[item]->parent; id; id = s.items[id]->parent)
        if (id == ancestor)
            return true;
    return false;
}

void ApplyState(TreeListState& s, ItemId id, UINT state, UINT mask)
{
    TreeItem* item = s.items[id];
    UINT old = item->state;
    if (mask & TVIS_EXPANDED) {
        SetExpandedBit(s, id, (state & TVIS_EXPANDED) != 0);
        mask &= ~TVIS_EXPANDED;
    }
    item->state = (item->state & ~mask) | (state & mask);
    if ((old ^ item->state) & TVIS_STATEIMAGEMASK)
        s.events.Add(EVENT_OBJECT_STATECHANGE, static_cast<LONG>(id));    // a check box flipped
    bool was = (old & TVIS_SELECTED) != 0;
    bool now = (item->state & TVIS_SELECTED) != 0;
    if (was != now) {
        if (now)
            ++s.selectedCount;
        else
            --s.selectedCount;
    }
}

void SetCaret(TreeListState& s, ItemId id, int column)
{
    if (id != s.caret)
        s.events.CaretMoved();
    s.caret = id;
    s.caretColumn = column;
}

TreeCell* Cell(const TreeListState& s, ItemId id, int column)
{
    if (column <= 0 || column >= s.columnCount || !Item(s, id))
        return nullptr;
    return &s.columns[column].cells[id];
}

}  // namespace treelist
