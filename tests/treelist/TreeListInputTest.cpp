// Keys, mouse buttons, check boxes and in-place editing through real window messages.
#include "TreeListFixture.h"

#include "tests/utils/WindowText.h"

class TreeListKeysTest : public TreeListTest {
protected:
    void SetUp() override
    {
        TreeListTest::SetUp();
        a = Insert("a");
        a1 = Insert("a1", a);
        a1x = Insert("a1x", a1);
        a2 = Insert("a2", a);
        b = Insert("b");
        c = Insert("c");
        SetFocus(m_tree);
        Clear();
    }
    void Key(WORD key) { Send(WM_KEYDOWN, key, 0); }
    int RowsShown() const { return Row(Next(nullptr, TVGN_LASTVISIBLE)) + 1; }

public:
    HTREEITEM a, a1, a1x, a2, b, c;
};

TEST_F(TreeListKeysTest, KeysWalkTheTree)
{
    using K = TreeListKeysTest;
    struct Step {
        WORD key;
        HTREEITEM K::*caret;
        int rows;           // rows shown afterwards
        Codes codes;        // the notes of the step, when given
    };
    const Codes keyOnly = { TVN_KEYDOWN };
    const Step steps[] = {
        { VK_UP, &K::a, 3, keyOnly },                   // row 0: stays, still notifies
        { VK_DOWN, &K::b, 3, {} },
        { VK_END, &K::c, 3, {} },
        { VK_DOWN, &K::c, 3, keyOnly },                 // the last row: stays
        { VK_LEFT, &K::a, 3, {} },                      // a collapsed top-level item: row 0
        { VK_RIGHT, &K::a, 5, { TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TVN_KEYDOWN } },
        { VK_RIGHT, &K::a1, 5, {} },                    // expanded: its first child
        { VK_DOWN, &K::a2, 5, {} },
        { VK_RIGHT, &K::a2, 5, keyOnly },               // a leaf: nothing
        { VK_BACK, &K::a, 5, {} },
        { VK_MULTIPLY, &K::a, 6, {} },                  // everything below opens
        { VK_SUBTRACT, &K::a, 3, {} },
        { VK_ADD, &K::a, 6, {} },
        { VK_LEFT, &K::a, 3, {} },                      // expanded: collapses
    };
    Select(a);
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "key " << step.key << " to " << Text(this->*step.caret));
        Clear();
        Key(step.key);
        EXPECT_EQ(Caret(), this->*step.caret);
        EXPECT_EQ(RowsShown(), step.rows);
        if (!step.codes.empty()) {
            EXPECT_EQ(NoteCodes(), step.codes);
        }
        ASSERT_FALSE(m_notes.empty());
        EXPECT_EQ(m_notes.back().key, step.key) << "TVN_KEYDOWN comes last";
    }
}

TEST_F(TreeListKeysTest, PagesMoveTheCaretAndCtrlKeysTheView)
{
    for (int i = 0; i < 30; ++i)
        Insert("more");
    int fit = static_cast<int>(Send(TVM_GETVISIBLECOUNT));
    Select(a);
    Key(VK_NEXT);
    EXPECT_EQ(Row(Caret()), fit - 1);
    Key(VK_PRIOR);
    EXPECT_EQ(Row(Caret()), 0);
    {
        HeldKey ctrl(VK_CONTROL);
        Key(VK_DOWN);
        EXPECT_EQ(Caret(), a);
        EXPECT_EQ(FirstVisibleRow(), 1);
        Key(VK_END);
        EXPECT_EQ(FirstVisibleRow(), 33 - fit + 1) << "as far as scrolling goes";
        Key(VK_HOME);
        EXPECT_EQ(FirstVisibleRow(), 0);
        Key(VK_SPACE);
        EXPECT_TRUE(Expanded(a)) << "Ctrl+Space toggles the caret item";
        EXPECT_EQ(Caret(), a);
    }
    SetWindowPos(m_tree, nullptr, 0, 0, 300, RowHeight() + RowHeight() / 2, SWP_NOZORDER | SWP_NOMOVE);
    ASSERT_EQ(Send(TVM_GETVISIBLECOUNT), 1);
    Key(VK_NEXT);
    EXPECT_EQ(Row(Caret()), 1) << "one row fitting moves one row";
}

TEST_F(TreeListKeysTest, EnterSendsOnlyReturn)
{
    Key(VK_RETURN);
    EXPECT_EQ(NoteCodes({ NM_RETURN, TVN_KEYDOWN }), (Codes{ NM_RETURN }));
    MSG enter = { m_tree, WM_KEYDOWN, VK_RETURN, 0, 0, { 0, 0 } };
    EXPECT_EQ(Send(WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)), DLGC_WANTALLKEYS);
    EXPECT_EQ(Send(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

// Deleting the caret's column moves the caret to column 0.
TEST_F(TreeListKeysTest, CellSelectionMovesBetweenColumnsAndLeavesADeletedOne)
{
    Send(TVM_SETEXTENDEDSTYLE, 0, TVS_EX_CELLSELECT_TL);
    AddColumn("a", 100);
    AddColumn("b", 100);
    AddColumn("c", 100);
    Select(b);
    Clear();
    Key(VK_RIGHT);
    EXPECT_EQ(Noted(TVN_SELCHANGEDA).column, 1);
    EXPECT_EQ(Caret(), b);
    SetText(b, 2, "cell");
    ASSERT_TRUE(Send(TVM_SELECTITEM, TVGN_CARET | TVSI_COLUMN(2), Ptr(b)));
    Clear();
    Key(VK_RIGHT);
    EXPECT_TRUE(NoteCodes({ TVN_SELCHANGEDA }).empty()) << "no column beyond the last";
    EXPECT_TRUE(Send(TVM_DELETECOLUMN, 2));
    EXPECT_EQ(Send(TVM_GETCOLUMNCOUNT), 2);
    EXPECT_EQ(Caret(), b);
    Clear();
    Key(VK_RIGHT);
    EXPECT_EQ(Noted(TVN_SELCHANGEDA).column, 1) << "from column 0";
    Key(VK_LEFT);
    Clear();
    Key(VK_LEFT);
    EXPECT_TRUE(NoteCodes({ TVN_SELCHANGEDA }).empty());
    EXPECT_FALSE(Send(TVM_DELETECOLUMN, 0));
    EXPECT_FALSE(Send(TVM_DELETECOLUMN, 7));
}

TEST_F(TreeListKeysTest, ShiftExtendsAMultipleSelection)
{
    Send(TVM_SETEXTENDEDSTYLE, 0, TVS_EX_MULTISELECT_TL);
    Select(a);
    {
        HeldKey shift(VK_SHIFT);
        Key(VK_DOWN);
        Key(VK_DOWN);
    }
    EXPECT_EQ(Caret(), c);
    EXPECT_EQ(Selected({ a, b, c }), "+++");
    Key(VK_UP);
    EXPECT_EQ(Selected({ a, b, c }), "-+-") << "a plain move selects one item again";
}

TEST_F(TreeListTest, CheckBoxes)
{
    Make(TVS_HASBUTTONS);
    HTREEITEM early = Insert("early");
    Select(early);
    SetFocus(m_tree);
    Clear();
    Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(NoteCodes(), (Codes{ TVN_KEYDOWN })) << "without the style Space only notifies";
    EXPECT_EQ(State(early, TVIS_STATEIMAGEMASK), 0u);

    SetWindowLongA(m_tree, GWL_STYLE, GetWindowLongA(m_tree, GWL_STYLE) | TVS_CHECKBOXES);
    EXPECT_NE(Send(TVM_GETIMAGELIST, TVSIL_STATE), 0) << "the boxes are made";
    EXPECT_EQ(State(early, TVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1)) << "an item from before: unchecked";
    HTREEITEM later = Insert("later");
    EXPECT_EQ(State(later, TVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1)) << "a new item: unchecked";
    Send(WM_KEYDOWN, VK_SPACE);
    TVITEMA tv = ItemOf(early, TVIF_STATE);
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_EQ(tv.state & TVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2)) << "Space checks; TVM_GETITEM tells";
    Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(State(early, TVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1)) << "and unchecks";

    TVHITTESTINFO info = {};
    info.pt = RowPoint(later, 3);
    Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.flags, static_cast<UINT>(TVHT_ONITEMSTATEICON)) << "no button area without lines at root";
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(info.pt));
    EXPECT_EQ(State(later, TVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2)) << "a click on the box checks";
}

class TreeListMouseTest : public TreeListTest {
protected:
    void SetUp() override
    {
        TreeListTest::SetUp();
        Make(0x1005 | TVS_HASLINES);
        AddColumn("Tulajdonság", 150);
        AddColumn("Érték", 100);
        parent = Insert("parent");
        child = Insert("child", parent);
        other = Insert("other");
        Clear();
    }
    HTREEITEM parent, child, other;
};

TEST_F(TreeListMouseTest, ClicksExpandToggleSelectAndNotify)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(parent, 7)));
    EXPECT_EQ(NoteCodes({ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, NM_CLICK, TVN_SELCHANGEDA }),
              (Codes{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, NM_CLICK })) << "the button does not select";
    EXPECT_TRUE(Expanded(parent));
    EXPECT_EQ(Noted(NM_CLICK).item, parent);
    Clear();
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(RowPoint(parent, 30)));
    EXPECT_FALSE(Expanded(parent)) << "a double click on the label toggles";
    EXPECT_EQ(Caret(), parent);
    EXPECT_EQ(NoteCodes({ NM_DBLCLK }), (Codes{ NM_DBLCLK }));
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(RowPoint(parent, 30)));
    EXPECT_TRUE(Expanded(parent));
    // The right button selects, then notifies; below the rows it notifies the point only.
    Clear();
    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(RowPoint(other, 40)));
    EXPECT_EQ(Caret(), other);
    EXPECT_EQ(NoteCodes({ TVN_SELCHANGEDA, NM_RCLICK }), (Codes{ TVN_SELCHANGEDA, NM_RCLICK }));
    EXPECT_EQ(Noted(NM_RCLICK).item, other);
    Clear();
    POINT below = { 40, HeaderHeight() + RowHeight() * 6 };
    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(below));
    ASSERT_EQ(NoteCodes(), (Codes{ NM_RCLICK }));
    EXPECT_EQ(m_notes[0].item, nullptr);
    EXPECT_EQ(m_notes[0].point.y, below.y);
    Clear();
    Send(WM_RBUTTONDBLCLK, MK_RBUTTON, At(RowPoint(other, 40)));
    EXPECT_EQ(NoteCodes({ NM_RDBLCLK }), (Codes{ NM_RDBLCLK }));
}

TEST_F(TreeListMouseTest, CtrlClicksKeepAMultipleSelection)
{
    Send(TVM_SETEXTENDEDSTYLE, TVS_EX_MULTISELECT_TL, TVS_EX_MULTISELECT_TL);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(parent, 30)));
    Send(WM_LBUTTONUP, 0, At(RowPoint(parent, 30)));
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(RowPoint(other, 30)));
    EXPECT_EQ(Caret(), other);
    EXPECT_EQ(Selected({ parent, other }), "++");
    Clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(RowPoint(parent, 30)));
    EXPECT_EQ(Caret(), other) << "a selected item becomes the anchor without moving the caret";
    EXPECT_TRUE(NoteCodes({ TVN_SELCHANGINGA }).empty());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(parent, 30)));
    EXPECT_EQ(Caret(), parent);
    EXPECT_EQ(Selected({ parent, other }), "+-") << "a click without Ctrl deselects the others";
}

TEST_F(TreeListMouseTest, DraggingAnItemNotifiesOnce)
{
    POINT start = RowPoint(other, 30);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(start));
    Clear();
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(POINT{ start.x + 1, start.y }));
    EXPECT_TRUE(NoteCodes().empty()) << "within the drag distance";
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(POINT{ start.x + 30, start.y + 20 }));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(POINT{ start.x + 40, start.y + 20 }));
    ASSERT_EQ(NoteCodes(), (Codes{ TVN_BEGINDRAGA }));
    EXPECT_EQ(m_notes[0].item, other);
    Clear();
    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(start));
    Send(WM_MOUSEMOVE, MK_RBUTTON, At(POINT{ start.x + 30, start.y }));
    EXPECT_EQ(NoteCodes({ TVN_BEGINRDRAGA }), (Codes{ TVN_BEGINRDRAGA }));
}

class TreeListEditTest : public TreeListTest {
protected:
    void SetUp() override
    {
        TreeListTest::SetUp();
        Make(TVS_EDITLABELS | TVS_HASBUTTONS | TVS_LINESATROOT);
        AddColumn("name", 150);
        AddColumn("value", 100);
        item = Insert("old");
        SetText(item, 1, "cell");
        Clear();
    }
    HWND Edit(WPARAM how) { return reinterpret_cast<HWND>(Send(TVM_EDITLABELA, how, Ptr(item))); }
    static void Type(HWND editor, const char* text, WPARAM key)
    {
        SetWindowTextA(editor, text);
        SendMessageA(editor, WM_KEYDOWN, key, 0);
    }

    HTREEITEM item;
};

TEST_F(TreeListEditTest, EnterStoresEscapeKeepsAndTheOwnerMayRefuse)
{
    HWND editor = Edit(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(Send(TVM_GETEDITCONTROL)), editor);
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(GetFocus(), editor);
    EXPECT_EQ(WindowText(editor), "old");
    Type(editor, "új szöveg", VK_RETURN);
    EXPECT_EQ(Text(item), "új szöveg");
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(Noted(TVN_ENDLABELEDITA).text, "új szöveg");
    EXPECT_EQ(GetFocus(), m_tree) << "the focus comes back";

    Clear();
    Type(Edit(0), "discarded", VK_ESCAPE);
    EXPECT_EQ(Text(item), "új szöveg");
    EXPECT_FALSE(Noted(TVN_ENDLABELEDITA).hasText);

    SetWindowTextA(Edit(0), "by focus");
    SetFocus(m_parent);
    EXPECT_EQ(Text(item), "by focus");

    Clear();
    m_hooks[TVN_BEGINLABELEDITA] = [](const NMHDR*) -> LRESULT { return 1; };
    EXPECT_EQ(Edit(0), nullptr);
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_TRUE(NoteCodes({ TVN_ENDLABELEDITA }).empty());
    m_hooks.clear();
    m_hooks[TVN_ENDLABELEDITA] = [](const NMHDR* nm) -> LRESULT {
        const_cast<NMTVDISPINFOA*>(reinterpret_cast<const NMTVDISPINFOA*>(nm))->item.pszText = nullptr;
        return 0;
    };
    Type(Edit(0), "refused", VK_RETURN);
    EXPECT_EQ(Text(item), "by focus");
}

TEST_F(TreeListEditTest, EditingACellStoresIntoThatCellAndNoMoreThanItKeeps)
{
    HWND editor = Edit(1 | TVLE_FULLCELL);
    ASSERT_NE(editor, nullptr);
    const Note& begin = Noted(TVN_BEGINLABELEDITA);
    EXPECT_EQ(begin.column, 1);
    EXPECT_EQ(begin.text, "cell");
    RECT r = {};
    GetWindowRect(editor, &r);
    EXPECT_EQ(r.right - r.left, 98) << "the whole cell less 2";
    Type(editor, "new cell", VK_RETURN);
    EXPECT_EQ(Text(item, 1), "new cell");
    EXPECT_EQ(Text(item, 0), "old");

    editor = Edit(1);
    for (int i = 0; i < 300; ++i)
        SendMessageA(editor, WM_CHAR, 'x', 0);
    EXPECT_EQ(GetWindowTextLengthA(editor), 259) << "what is typed is what is kept";
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Text(item, 1).size(), 259u);
}

TEST_F(TreeListEditTest, ComboBoxEditorsAndDeletingColumnsWhileEditing)
{
    HWND combo = Edit(1 | TVLE_COMBO);
    ASSERT_NE(combo, nullptr);
    char cls[32] = {};
    GetClassNameA(combo, cls, sizeof(cls));
    EXPECT_STREQ(cls, "ComboBox");
    EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & 3, 2);
    EXPECT_TRUE(Send(TVM_DELETECOLUMN, 1));
    EXPECT_FALSE(IsWindowVisible(combo));
    EXPECT_FALSE(Noted(TVN_ENDLABELEDITA).hasText) << "the edit of a deleted column is cancelled";

    AddColumn("second", 50);
    AddColumn("third", 50);
    SetText(item, 1, "one");
    SetText(item, 2, "two");
    HWND editor = Edit(2);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "edited");
    EXPECT_TRUE(Send(TVM_DELETECOLUMN, 1));
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Text(item, 1), "edited") << "a column deleted on the left: the edit follows its cell";

    Make(TVS_HASBUTTONS);
    item = Insert("plain");
    EXPECT_EQ(Edit(0), nullptr) << "only with TVS_EDITLABELS";
}
