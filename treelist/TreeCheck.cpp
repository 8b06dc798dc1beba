#include "treelist/TreeCheck.h"

#include <sstream>
#include <vector>

#include "treelist/TreeListState.h"

namespace treelist {

namespace {

class Checker {
public:
    explicit Checker(const TreeListState& s) : m_s(s) {}

    std::string Run()
    {
        CheckLinks();
        if (m_out.tellp() == 0)
            CheckRows();
        CheckMarks();
        return m_out.str();
    }

private:
    void Fail(const char* what, ItemId id)
    {
        if (m_out.tellp() == 0)
            m_out << what << " (item " << id << ")";
    }

    // Walks the siblings under `parent` as the links say, checking each link both ways.
    void CheckSiblings(ItemId parent, std::vector<ItemId>& stack, std::vector<bool>& seen)
    {
        ItemId first = parent ? m_s.items[parent]->firstChild : m_s.firstRoot;
        ItemId last = parent ? m_s.items[parent]->lastChild : m_s.lastRoot;
        ItemId previous = 0;
        for (ItemId id = first; id; id = m_s.items[id]->nextSibling) {
            const TreeItem* item = Item(m_s, id);
            if (!item || seen[id])
                return Fail(item ? "an item is linked twice" : "a link names no item", id);
            seen[id] = true;
            if (item->parent != parent || item->prevSibling != previous)
                return Fail("parent or previous sibling does not match the links", id);
            unsigned level = parent ? m_s.items[parent]->level + 1u : 0u;
            if (item->level != level)
                return Fail("level is not the parent's level + 1", id);
            stack.push_back(id);
            previous = id;
        }
        if (previous != last)
            Fail("the last child is not where the siblings end", parent);
    }

    void CheckLinks()
    {
        std::vector<bool> seen(m_s.capacity, false);
        std::vector<ItemId> stack;
        CheckSiblings(0, stack, seen);
        unsigned reached = 0;
        unsigned selected = 0;
        while (!stack.empty() && m_out.tellp() == 0) {
            ItemId id = stack.back();
            stack.pop_back();
            ++reached;
            if (m_s.items[id]->state & TVIS_SELECTED)
                ++selected;
            CheckSiblings(id, stack, seen);
        }
        unsigned live = 0;
        for (ItemId id = 1; id < m_s.capacity; ++id)
            if (m_s.items[id])
                ++live;
        if (reached != live || live != m_s.itemCount)
            Fail("the item count, the items reached from the roots and the live records differ", 0);
        else if (selected != m_s.selectedCount)
            Fail("the count of selected items is wrong", 0);
    }

    bool ShouldShow(ItemId id) const
    {
        ItemId parent = m_s.items[id]->parent;
        return !parent || (m_s.items[parent]->row != 0 && (m_s.items[parent]->state & TVIS_EXPANDED));
    }

    // Rows are numbered lazily: those below rowsValid must be exact, the rest only there.
    void CheckRows()
    {
        unsigned shown = 0;
        ItemId expected = m_s.firstRoot;
        for (unsigned row = 0; row < m_s.rowsValid && m_out.tellp() == 0; ++row) {
            ItemId id = m_s.rows[row];
            if (id != expected || !Item(m_s, id) || m_s.items[id]->row != row + 1)
                return Fail("the row table is not the display order", id);
            expected = Next(id);
        }
        for (ItemId id = 1; id < m_s.capacity; ++id) {
            const TreeItem* item = m_s.items[id];
            if (!item)
                continue;
            // Walked parents first would be needed for ShouldShow; parents' rows are
            // checked by the same rule, so one pass in any order suffices.
            if ((item->row != 0) != ShouldShow(id))
                return Fail("an item's row does not say whether it is shown", id);
            if (item->row != 0)
                ++shown;
        }
        if (shown != m_s.rowCount || m_s.rowsValid > m_s.rowCount)
            Fail("the row count is not the number of shown items", 0);
    }

    ItemId Next(ItemId id) const
    {
        const TreeItem* item = m_s.items[id];
        if ((item->state & TVIS_EXPANDED) && item->firstChild)
            return item->firstChild;
        for (; id; id = m_s.items[id]->parent)
            if (m_s.items[id]->nextSibling)
                return m_s.items[id]->nextSibling;
        return 0;
    }

    void CheckMarks()
    {
        const ItemId marks[] = { m_s.caret, m_s.anchor, m_s.dropHilite, m_s.insertMark, m_s.editItem, m_s.dragItem };
        for (ItemId id : marks)
            if (id && !Item(m_s, id))
                Fail("the caret or another mark names no item", id);
        if (m_s.caretColumn < 0 || (m_s.caretColumn > 0 && m_s.caretColumn >= m_s.columnCount))
            Fail("the caret's column does not exist", m_s.caret);
    }

    const TreeListState& m_s;
    std::ostringstream m_out;
};

}  // namespace

std::string CheckTree(HWND hwnd)
{
    const TreeListState* s = IsWindow(hwnd) ? GetState(hwnd) : nullptr;
    return s && !s->destroyed ? Checker(*s).Run() : std::string();
}

}  // namespace treelist
