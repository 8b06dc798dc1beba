// Keys, mouse buttons and in-place editing through real window messages.
#include "TreeListFixture.h"

class TreeListKeysTest : public TreeListTest {
protected:
    void SetUp() override
    {
        TreeListTest::SetUp();
        a = Insert("a");
        a1 = Insert("a1", a);
        a2 = Insert("a2", a);
        b = Insert("b");
        c = Insert("c");
        SetFocus(m_tree);
        Clear();
    }
    void Key(WORD key) { Send(WM_KEYDOWN, key, 0); }

    HTREEITEM a, a1, a2, b, c;
};

TEST_F(TreeListKeysTest, UpAndDownStopAtTheEndsAndStillNotify)
{
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    Clear();
    Key(VK_UP);
    EXPECT_EQ(Caret(), a);
    EXPECT_EQ(Codes(), (std::vector<UINT>{ TVN_KEYDOWN }));
    EXPECT_EQ(m_notes[0].key, VK_UP);
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), b);
    Key(VK_END);
    EXPECT_EQ(Caret(), c);
    Clear();
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), c);
    EXPECT_EQ(Codes(), (std::vector<UINT>{ TVN_KEYDOWN }));
    Key(VK_HOME);
    EXPECT_EQ(Caret(), a);
}

TEST_F(TreeListKeysTest, LeftAndRightFollowTheTree)
{
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), a) << "a collapsed top-level item goes to row 0";
    Clear();
    Key(VK_RIGHT);
    EXPECT_EQ(State(a, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
    EXPECT_EQ(Caret(), a);
    EXPECT_EQ(Codes(), (std::vector<UINT>{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TVN_KEYDOWN }));
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), a1) << "an expanded item moves to its first child";
    Clear();
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), a1) << "a leaf does nothing";
    EXPECT_EQ(Codes(), (std::vector<UINT>{ TVN_KEYDOWN }));
    Key(VK_DOWN);
    Key(VK_BACK);
    EXPECT_EQ(Caret(), a);
    Key(VK_LEFT);
    EXPECT_EQ(State(a, TVIS_EXPANDED), 0u) << "left collapses an expanded item";
}

TEST_F(TreeListKeysTest, PagesMoveByTheRowsThatFit)
{
    for (int i = 0; i < 30; ++i)
        Insert("more");
    int fit = static_cast<int>(Send(TVM_GETVISIBLECOUNT));
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    Key(VK_NEXT);
    EXPECT_EQ(Row(Caret()), fit - 1);
    Key(VK_PRIOR);
    EXPECT_EQ(Row(Caret()), 0);

    SetWindowPos(m_tree, nullptr, 0, 0, 300, RowHeight() + RowHeight() / 2, SWP_NOZORDER | SWP_NOMOVE);
    ASSERT_EQ(Send(TVM_GETVISIBLECOUNT), 1);
    Key(VK_NEXT);
    EXPECT_EQ(Row(Caret()), 1) << "one row fitting moves one row";
}

TEST_F(TreeListKeysTest, EnterSendsOnlyReturn)
{
    Clear();
    Key(VK_RETURN);
    EXPECT_EQ(Codes({ NM_RETURN, TVN_KEYDOWN }), (std::vector<UINT>{ NM_RETURN }));
    MSG enter = { m_tree, WM_KEYDOWN, VK_RETURN, 0, 0, { 0, 0 } };
    EXPECT_EQ(Send(WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)), DLGC_WANTALLKEYS);
    EXPECT_EQ(Send(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(TreeListKeysTest, CtrlKeysMoveTheViewNotTheCaret)
{
    for (int i = 0; i < 30; ++i)
        Insert("more");
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    HeldKey ctrl(VK_CONTROL);
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), a);
    EXPECT_EQ(Row(Next(nullptr, TVGN_FIRSTVISIBLE)), 1);
    Key(VK_END);
    EXPECT_GT(Row(Next(nullptr, TVGN_FIRSTVISIBLE)), 1);
    Key(VK_HOME);
    EXPECT_EQ(Row(Next(nullptr, TVGN_FIRSTVISIBLE)), 0);
    Key(VK_SPACE);
    EXPECT_EQ(State(a, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED)) << "Ctrl+Space toggles the caret item";
    EXPECT_EQ(Caret(), a);
}

TEST_F(TreeListKeysTest, SpaceTogglesCheckBoxesOnlyWithTheStyle)
{
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
    Clear();
    Key(VK_SPACE);
    EXPECT_EQ(Codes(), (std::vector<UINT>{ TVN_KEYDOWN }));
    EXPECT_EQ(State(b, TVIS_STATEIMAGEMASK), 0u);

    Make(TVS_CHECKBOXES | TVS_HASBUTTONS);
    HTREEITEM item = Insert("box");
    EXPECT_EQ(State(item, TVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(1))) << "unchecked";
    EXPECT_NE(Send(TVM_GETIMAGELIST, TVSIL_STATE), 0);
    EXPECT_EQ(State(item, TVIS_EXPANDEDONCE), static_cast<UINT>(TVIS_EXPANDEDONCE));
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Key(VK_SPACE);
    EXPECT_EQ(State(item, TVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(2)));
    Key(VK_SPACE);
    EXPECT_EQ(State(item, TVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(1)));
}

TEST_F(TreeListKeysTest, CellSelectionMovesBetweenColumns)
{
    Send(TVM_SETEXTENDEDSTYLE, 0, TVS_EX_CELLSELECT_TL);
    AddColumn("a", 100);
    AddColumn("b", 100);
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
    Clear();
    Key(VK_RIGHT);
    const Note* changed = Find(TVN_SELCHANGEDA);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->column, 1);
    EXPECT_EQ(Caret(), b);
    Clear();
    Key(VK_RIGHT);
    EXPECT_EQ(Find(TVN_SELCHANGEDA), nullptr) << "no column beyond the last";
    Key(VK_LEFT);
    Key(VK_LEFT);
    Clear();
    Key(VK_LEFT);
    EXPECT_EQ(Find(TVN_SELCHANGEDA), nullptr);
}

TEST_F(TreeListKeysTest, ShiftExtendsAMultipleSelection)
{
    Send(TVM_SETEXTENDEDSTYLE, 0, TVS_EX_MULTISELECT_TL);
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    {
        HeldKey shift(VK_SHIFT);
        Key(VK_DOWN);
        Key(VK_DOWN);
    }
    EXPECT_EQ(Caret(), c);
    EXPECT_EQ(State(a, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));
    EXPECT_EQ(State(b, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));
    Key(VK_UP);
    EXPECT_EQ(State(a, TVIS_SELECTED), 0u) << "a plain move selects one item again";
    EXPECT_EQ(State(b, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));
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

TEST_F(TreeListMouseTest, ButtonClickExpandsThenNotifiesTheClick)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(parent, 7)));
    EXPECT_EQ(Codes({ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, NM_CLICK }),
              (std::vector<UINT>{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, NM_CLICK }));
    EXPECT_EQ(State(parent, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
    EXPECT_EQ(Find(NM_CLICK)->item, parent);
    EXPECT_EQ(Find(TVN_SELCHANGEDA), nullptr) << "the button does not select";
}

TEST_F(TreeListMouseTest, RightClickSelectsThenNotifies)
{
    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(RowPoint(other, 40)));
    EXPECT_EQ(Caret(), other);
    EXPECT_EQ(Codes({ TVN_SELCHANGEDA, NM_RCLICK }), (std::vector<UINT>{ TVN_SELCHANGEDA, NM_RCLICK }));
    EXPECT_EQ(Find(NM_RCLICK)->item, other);
    Clear();
    POINT below = { 40, HeaderHeight() + RowHeight() * 6 };
    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(below));
    ASSERT_EQ(Codes(), (std::vector<UINT>{ NM_RCLICK }));
    EXPECT_EQ(m_notes[0].item, nullptr);
    EXPECT_EQ(m_notes[0].point.y, below.y);
    Clear();
    Send(WM_RBUTTONDBLCLK, MK_RBUTTON, At(RowPoint(other, 40)));
    EXPECT_EQ(Codes({ NM_RDBLCLK }), (std::vector<UINT>{ NM_RDBLCLK }));
}

TEST_F(TreeListMouseTest, DoubleClickOnTheLabelTogglesExpansion)
{
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(RowPoint(parent, 30)));
    EXPECT_EQ(State(parent, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
    EXPECT_EQ(Caret(), parent);
    EXPECT_EQ(Codes({ NM_DBLCLK }), (std::vector<UINT>{ NM_DBLCLK }));
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(RowPoint(parent, 30)));
    EXPECT_EQ(State(parent, TVIS_EXPANDED), 0u);
}

TEST_F(TreeListMouseTest, CtrlClicksKeepAMultipleSelection)
{
    Send(TVM_SETEXTENDEDSTYLE, TVS_EX_MULTISELECT_TL, TVS_EX_MULTISELECT_TL);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(parent, 30)));
    Send(WM_LBUTTONUP, 0, At(RowPoint(parent, 30)));
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(RowPoint(other, 30)));
    EXPECT_EQ(Caret(), other);
    EXPECT_EQ(State(parent, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));
    EXPECT_EQ(State(other, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));
    Clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(RowPoint(parent, 30)));
    EXPECT_EQ(Caret(), other) << "a selected item becomes the anchor without moving the caret";
    EXPECT_EQ(Find(TVN_SELCHANGINGA), nullptr);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(parent, 30)));
    EXPECT_EQ(Caret(), parent);
    EXPECT_EQ(State(other, TVIS_SELECTED), 0u) << "a click without Ctrl deselects the others";
}

TEST_F(TreeListMouseTest, DraggingAnItemNotifiesOnce)
{
    POINT start = RowPoint(other, 30);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(start));
    Clear();
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(POINT{ start.x + 1, start.y }));
    EXPECT_TRUE(Codes().empty()) << "within the drag distance";
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(POINT{ start.x + 30, start.y + 20 }));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(POINT{ start.x + 40, start.y + 20 }));
    ASSERT_EQ(Codes(), (std::vector<UINT>{ TVN_BEGINDRAGA }));
    EXPECT_EQ(m_notes[0].item, other);
    Clear();
    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(start));
    Send(WM_MOUSEMOVE, MK_RBUTTON, At(POINT{ start.x + 30, start.y }));
    EXPECT_EQ(Codes({ TVN_BEGINRDRAGA }), (std::vector<UINT>{ TVN_BEGINRDRAGA }));
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
    HWND Edit(WPARAM how) { return reinterpret_cast<HWND>(Send(TVM_EDITLABELA, how, reinterpret_cast<LPARAM>(item))); }

    HTREEITEM item;
};

TEST_F(TreeListEditTest, EnterStoresAndEscapeKeeps)
{
    HWND editor = Edit(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(Send(TVM_GETEDITCONTROL)), editor);
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(GetFocus(), editor);
    char text[64] = {};
    GetWindowTextA(editor, text, sizeof(text));
    EXPECT_STREQ(text, "old");
    SetWindowTextA(editor, "új szöveg");
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Text(item), "új szöveg");
    EXPECT_FALSE(IsWindowVisible(editor));
    const Note* end = Find(TVN_ENDLABELEDITA);
    ASSERT_NE(end, nullptr);
    EXPECT_TRUE(end->hasText);
    EXPECT_EQ(end->text, "új szöveg");
    EXPECT_EQ(GetFocus(), m_tree) << "the focus comes back";

    Clear();
    editor = Edit(0);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "discarded");
    SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Text(item), "új szöveg");
    end = Find(TVN_ENDLABELEDITA);
    ASSERT_NE(end, nullptr);
    EXPECT_FALSE(end->hasText);
}

TEST_F(TreeListEditTest, BeginLabelEditCanRefuse)
{
    m_hooks[TVN_BEGINLABELEDITA] = [](const NMHDR*) -> LRESULT { return 1; };
    EXPECT_EQ(Edit(0), nullptr);
    HWND editor = reinterpret_cast<HWND>(Send(TVM_GETEDITCONTROL));
    EXPECT_TRUE(editor == nullptr || !IsWindowVisible(editor));
    EXPECT_EQ(Find(TVN_ENDLABELEDITA), nullptr);
}

TEST_F(TreeListEditTest, EditingACellStoresIntoThatCell)
{
    HWND editor = Edit(1 | TVLE_FULLCELL);
    ASSERT_NE(editor, nullptr);
    const Note* begin = Find(TVN_BEGINLABELEDITA);
    ASSERT_NE(begin, nullptr);
    EXPECT_EQ(begin->column, 1);
    EXPECT_EQ(begin->text, "cell");
    RECT r = {};
    GetWindowRect(editor, &r);
    EXPECT_EQ(r.right - r.left, 98) << "the whole cell less 2";
    SetWindowTextA(editor, "new cell");
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Text(item, 1), "new cell");
    EXPECT_EQ(Text(item, 0), "old");
}

TEST_F(TreeListEditTest, OwnerCanKeepTheOldTextAndLosingFocusStores)
{
    m_hooks[TVN_ENDLABELEDITA] = [](const NMHDR* nm) -> LRESULT {
        const_cast<NMTVDISPINFOA*>(reinterpret_cast<const NMTVDISPINFOA*>(nm))->item.pszText = nullptr;
        return 0;
    };
    HWND editor = Edit(0);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "refused");
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Text(item), "old");
    m_hooks.clear();

    editor = Edit(0);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "by focus");
    SetFocus(m_parent);
    EXPECT_EQ(Text(item), "by focus");
}

TEST_F(TreeListEditTest, ComboBoxEditorsAndDeletingTheEditedColumn)
{
    HWND combo = Edit(1 | TVLE_COMBO);
    ASSERT_NE(combo, nullptr);
    char cls[32] = {};
    GetClassNameA(combo, cls, sizeof(cls));
    EXPECT_STREQ(cls, "ComboBox");
    EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & 3, 2);
    EXPECT_TRUE(Send(TVM_DELETECOLUMN, 1));
    EXPECT_FALSE(IsWindowVisible(combo));
    const Note* end = Find(TVN_ENDLABELEDITA);
    ASSERT_NE(end, nullptr);
    EXPECT_FALSE(end->hasText) << "the edit was cancelled";
    EXPECT_EQ(Text(item, 0), "old");

    Make(TVS_HASBUTTONS);
    item = Insert("plain");
    EXPECT_EQ(Edit(0), nullptr) << "only with TVS_EDITLABELS";
}

TEST_F(TreeListEditTest, EditorTakesNoMoreThanItKeeps)
{
    HWND editor = Edit(0);
    ASSERT_NE(editor, nullptr);
    for (int i = 0; i < 300; ++i)
        SendMessageA(editor, WM_CHAR, 'x', 0);
    EXPECT_EQ(GetWindowTextLengthA(editor), 259);
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Text(item).size(), 259u);
}
