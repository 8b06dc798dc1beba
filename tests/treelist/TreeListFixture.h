// A real parent window with a real "TreeList" child: the parent records every
// notification and can answer or act on them through hooks.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "treelist/TreeListMessages.h"

struct Note {
    UINT code, action;
    HTREEITEM item, oldItem;
    int column;
    WORD key;
    POINT point;
    std::string text;
    bool hasText;
};

using Codes = std::vector<UINT>;

class TreeListTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Make(DWORD style, int width = 300, int height = 200);

    // With m_checkTree the tree checker runs after every message (and reports once).
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    HTREEITEM Insert(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM Next(HTREEITEM item, UINT relation) const { return ItemOf(Send(TVM_GETNEXTITEM, relation, Ptr(item))); }
    std::string Text(HTREEITEM item, int column = 0) const;
    bool SetText(HTREEITEM item, int column, const char* text) const;
    UINT State(HTREEITEM item, UINT mask = ~0u) const { return UINT(Send(TVM_GETITEMSTATE, WPARAM(Ptr(item)), mask)); }
    bool Expanded(HTREEITEM item) const { return State(item, TVIS_EXPANDED) != 0; }
    // "+" for each selected item, "-" for each other.
    std::string Selected(std::initializer_list<HTREEITEM> items) const
    {
        std::string marks;
        for (HTREEITEM item : items)
            marks += State(item, TVIS_SELECTED) == TVIS_SELECTED ? '+' : '-';
        return marks;
    }
    LRESULT Expand(HTREEITEM item, UINT code) const { return Send(TVM_EXPAND, code, Ptr(item)); }
    LRESULT Select(HTREEITEM item) const { return Send(TVM_SELECTITEM, TVGN_CARET, Ptr(item)); }
    int Row(HTREEITEM item) const { return static_cast<int>(Send(TVM_GETITEMROW, 0, Ptr(item))); }
    HTREEITEM RowItem(int row) const { return ItemOf(Send(TVM_GETROWITEM, 0, row)); }
    int FirstVisibleRow() const { return Row(Next(nullptr, TVGN_FIRSTVISIBLE)); }
    HTREEITEM Caret() const { return Next(nullptr, TVGN_CARET); }
    int AddColumn(const char* text, int width = -1, int position = 1000);
    static LPARAM Ptr(HTREEITEM item) { return reinterpret_cast<LPARAM>(item); }
    static HTREEITEM ItemOf(LRESULT handle) { return reinterpret_cast<HTREEITEM>(handle); }
    static LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }
    // Client point in the middle of a row, at x.
    POINT RowPoint(HTREEITEM item, int x) const;
    int RowHeight() const { return static_cast<int>(Send(TVM_GETITEMHEIGHT)); }
    int HeaderHeight() const;
    // A column's width; -1 for a column that does not exist.
    int ColumnWidth(int column) const;
    // TVM_GETITEMRECT: the row, or with `text` the label; false when refused.
    bool ItemRect(HTREEITEM item, BOOL text, RECT& rect) const;
    // The client area as WM_PRINTCLIENT paints it, 32-bit pixels row by row (0x00RRGGBB).
    std::vector<COLORREF> Render() const;
    // The header's notification about a column, as the header sends it to the control.
    void HeaderNotify(UINT code, int column, int width = 0) const;
    static TVITEMA ItemOf(HTREEITEM item, UINT mask) { return TVITEMA{ mask, item, 0, 0, nullptr, 0, 0, 0, 0, 0 }; }

    // The codes of the notes so far, or only of the given codes.
    Codes NoteCodes(std::initializer_list<UINT> only = {}) const;
    // The first note of a code; an empty one, and a failure, when there is none.
    const Note& Noted(UINT code) const;
    void Clear() { m_notes.clear(); }

    HWND m_parent = nullptr;
    HWND m_tree = nullptr;
    mutable bool m_checkTree = false;
    std::vector<Note> m_notes;
    std::vector<POINT> m_contextMenus;      // WM_CONTEXTMENU from the tree: the screen point, or -1, -1
    std::map<UINT, std::function<LRESULT(const NMHDR*)>> m_hooks;

private:
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(const NMHDR* nm);
};

// Holds a key down in this thread's keyboard state while it lives.
class HeldKey {
public:
    explicit HeldKey(int key) : m_key(key) { Set(true); }
    ~HeldKey() { Set(false); }

private:
    void Set(bool down) const;
    int m_key;
};
