// The item model through real messages: insertion, deletion, relations, expansion,
// selection, item and cell data, colours, heights, user data and sorting.
#include "TreeListFixture.h"

#include <algorithm>
#include <cstring>

namespace {

int CALLBACK CompareNothing(LPARAM, LPARAM, LPARAM)
{
    return 0;
}

HTREEITEM Bogus(UINT_PTR value)
{
    return reinterpret_cast<HTREEITEM>(value);
}

}  // namespace

TEST_F(TreeListTest, HandlesThatDoNotExistAreRefused)
{
    HTREEITEM a = Insert("a");
    HTREEITEM child = Insert("child", a);
    EXPECT_LT(reinterpret_cast<UINT_PTR>(child), 100u) << "handles are small integers";
    EXPECT_EQ(Insert("x", Bogus(77)), nullptr);
    EXPECT_TRUE(Send(TVM_DELETEITEM, 0, Ptr(child)));
    EXPECT_FALSE(Send(TVM_DELETEITEM, 0, Ptr(child))) << "already gone";
    EXPECT_EQ(Insert("x", TVI_ROOT, Bogus(55)), nullptr);
    HTREEITEM other = Insert("other");
    EXPECT_EQ(Insert("x", a, other), nullptr) << "the sibling must be a child of the parent";
    EXPECT_EQ(Send(TVM_INSERTITEMA, 0, 0), 0) << "a null structure";
    EXPECT_EQ(Next(Bogus(999), TVGN_CHILD), nullptr);
    EXPECT_EQ(Row(Bogus(888)), -1);
    EXPECT_EQ(RowItem(-1), nullptr);
    EXPECT_EQ(Send(TVM_GETCOUNT), 2);
    EXPECT_NE(Insert("zero parent", nullptr), nullptr) << "0 is the root";
    EXPECT_EQ(Next(TVI_ROOT, TVGN_CHILD), a);
    EXPECT_TRUE(Send(TVM_DELETEITEM, 0, Ptr(TVI_ROOT)));
    EXPECT_EQ(Send(TVM_GETCOUNT), 0);
    EXPECT_EQ(Row(Insert("again")), 0);
}

TEST_F(TreeListTest, ExpansionNotifiesWithActionsFromTheExpandedBit)
{
    HTREEITEM a = Insert("a");
    Insert("a1", a);
    Expand(a, TVE_EXPAND);
    Clear();
    EXPECT_EQ(Expand(a, TVE_TOGGLE), 1);
    ASSERT_EQ(NoteCodes(), (Codes{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }));
    EXPECT_EQ((Codes{ m_notes[0].action, m_notes[1].action }), (Codes{ 1, 2 }));
    EXPECT_FALSE(Expanded(a));

    Clear();
    m_hooks[TVN_ITEMEXPANDINGA] = [](const NMHDR*) -> LRESULT { return 1; };
    EXPECT_EQ(Expand(a, TVE_EXPAND), 0) << "a non-zero answer cancels";
    EXPECT_EQ(NoteCodes(), (Codes{ TVN_ITEMEXPANDINGA }));
    EXPECT_FALSE(Expanded(a));

    HTREEITEM leaf = Insert("leaf");
    Clear();
    EXPECT_EQ(Expand(leaf, TVE_EXPAND), 0);
    EXPECT_TRUE(NoteCodes().empty());
    EXPECT_EQ(Expand(Bogus(999), TVE_EXPAND), 0);

    m_hooks.clear();
    EXPECT_EQ(Expand(a, TVE_EXPAND | TVE_EXPANDPARTIAL), 1);
    EXPECT_EQ(State(a, TVIS_EXPANDPARTIAL_TL | TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDPARTIAL_TL | TVIS_EXPANDED));
    EXPECT_EQ(Expand(a, TVE_COLLAPSE), 1);
    EXPECT_EQ(State(a, TVIS_EXPANDPARTIAL_TL), 0u) << "a collapse clears the partial mark";
}

TEST_F(TreeListTest, CollapseResetDeletesChildrenTheOwnerFillsAgainAndHearsOf)
{
    HTREEITEM node = Insert("modules");
    Insert("placeholder", node);
    std::vector<HTREEITEM> deleted;
    m_hooks[TVN_DELETEITEMA] = [&](const NMHDR* nm) -> LRESULT {
        deleted.push_back(reinterpret_cast<const NMTREEVIEWA*>(nm)->itemOld.hItem);
        return 0;
    };
    m_hooks[TVN_ITEMEXPANDINGA] = [&](const NMHDR* nm) -> LRESULT {
        const NMTREEVIEWA* tv = reinterpret_cast<const NMTREEVIEWA*>(nm);
        if (tv->action == TVE_EXPAND)
            Insert("loaded", tv->itemNew.hItem);
        return 0;
    };
    Expand(node, TVE_EXPAND);
    EXPECT_EQ(Send(TVM_GETCOUNT), 3);
    EXPECT_EQ(Expand(node, TVE_COLLAPSE | TVE_COLLAPSERESET), 1);
    EXPECT_EQ(deleted.size(), 2u) << "each child is reported";
    EXPECT_EQ(State(node, TVIS_EXPANDEDONCE), 0u);
    Clear();
    EXPECT_EQ(Expand(node, TVE_EXPAND), 1) << "an item without children is asked again";
    EXPECT_EQ(NoteCodes({ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }), (Codes{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }));
    Insert("last");
    DestroyWindow(m_tree);
    m_tree = nullptr;
    EXPECT_EQ(deleted.size(), 5u) << "what is left goes with the control";
}

TEST_F(TreeListTest, CollapsingMovesTheCaretToTheVisibleAncestor)
{
    HTREEITEM a = Insert("a");
    HTREEITEM a1 = Insert("a1", a);
    HTREEITEM a1x = Insert("a1x", a1);
    Expand(a, TVE_EXPAND);
    Expand(a1, TVE_EXPAND);
    Select(a1x);
    Clear();
    Expand(a, TVE_COLLAPSE);
    EXPECT_EQ(Caret(), a);
    EXPECT_EQ(State(a1x, TVIS_SELECTED), 0u);
    EXPECT_EQ(NoteCodes({ TVN_SELCHANGINGA, TVN_SELCHANGEDA }), (Codes{ TVN_SELCHANGINGA, TVN_SELCHANGEDA }));
}

TEST_F(TreeListTest, SelectionNotifiesCanBeRefusedAndOpensAncestorsOnceAccepted)
{
    HTREEITEM a = Insert("a");
    HTREEITEM b = Insert("b");
    HTREEITEM hidden = Insert("hidden", Insert("closed", b));
    Select(a);
    Clear();
    m_hooks[TVN_SELCHANGINGA] = [](const NMHDR*) -> LRESULT { return 1; };
    EXPECT_EQ(Select(b), 0);
    EXPECT_EQ(Select(hidden), 0);
    EXPECT_EQ(Caret(), a);
    EXPECT_FALSE(Expanded(b)) << "a refused selection opens nothing";
    EXPECT_TRUE(NoteCodes({ TVN_ITEMEXPANDINGA }).empty());
    m_hooks.clear();
    Clear();
    EXPECT_EQ(Select(b), 1);
    ASSERT_EQ(NoteCodes(), (Codes{ TVN_SELCHANGINGA, TVN_SELCHANGEDA }));
    EXPECT_EQ(std::make_pair(m_notes[1].oldItem, m_notes[1].item), std::make_pair(a, b));
    EXPECT_EQ(Selected({ a, b }), "-+");
    Clear();
    EXPECT_EQ(Select(b), 1);
    EXPECT_TRUE(NoteCodes().empty()) << "selecting the caret again does nothing";
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET | TVSI_COLUMN(3), Ptr(a)), 0) << "a column that does not exist";
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, 4711), 0);
    EXPECT_TRUE(Send(TVM_SELECTITEM, TVGN_DROPHILITE, Ptr(a)));
    EXPECT_EQ(Next(nullptr, TVGN_DROPHILITE), a);
    EXPECT_EQ(State(a, TVIS_DROPHILITED | TVIS_SELECTED), static_cast<UINT>(TVIS_DROPHILITED));
}

TEST_F(TreeListTest, SingleExpandFollowsTheSelection)
{
    Make(TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SINGLEEXPAND);
    HTREEITEM a = Insert("a");
    HTREEITEM a1 = Insert("a1", a);
    HTREEITEM b = Insert("b");
    Insert("a1x", a1);
    Insert("b1", b);
    Expand(a, TVE_EXPAND);
    Expand(b, TVE_EXPAND);
    EXPECT_FALSE(Expanded(a)) << "an expansion closes the open sibling";
    Select(a1);
    EXPECT_TRUE(Expanded(a1)) << "the new caret opens";
    EXPECT_FALSE(Expanded(b));
    SetFocus(m_tree);
    Clear();
    Send(WM_KEYDOWN, VK_END);
    EXPECT_EQ(Caret(), b);
    EXPECT_EQ(NoteCodes({ TVN_SELCHANGEDA, TVN_SINGLEEXPAND }), (Codes{ TVN_SELCHANGEDA, TVN_SINGLEEXPAND }));
    EXPECT_EQ(Noted(TVN_SINGLEEXPAND).oldItem, a1);
    EXPECT_FALSE(Expanded(a) || Expanded(a1)) << "the old branch closes";
    EXPECT_TRUE(Expanded(b));

    LRESULT answer = TVNRET_SKIPNEW;
    m_hooks[TVN_SINGLEEXPAND] = [&](const NMHDR*) { return answer; };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(a, 22)));
    EXPECT_EQ(Caret(), a);
    EXPECT_FALSE(Expanded(a) || Expanded(b)) << "the old branch closes, the new one stays closed";
    Expand(a, TVE_EXPAND);
    answer = TVNRET_SKIPOLD | TVNRET_SKIPNEW;
    Select(b);
    EXPECT_TRUE(Expanded(a) && !Expanded(b)) << "the owner keeps both as they were";
}

TEST_F(TreeListTest, ItemAndCellDataThroughColumnAddressing)
{
    AddColumn("Name", 150);
    AddColumn("Value", 100);
    HTREEITEM a = Insert("alpha");
    EXPECT_TRUE(SetText(a, 1, "érték"));
    EXPECT_EQ(Text(a, 1), "érték");
    EXPECT_FALSE(SetText(a, 2, "nope"));
    EXPECT_EQ(Text(a, 2), "<failed>");
    EXPECT_FALSE(SetText(Bogus(999), 0, "nope"));

    TVITEMA ptr = ItemOf(a, TVIF_TEXT | TVIF_SUBITEM | TVIF_TEXTPTR);
    ptr.cChildren = 1;
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&ptr)));
    EXPECT_STREQ(ptr.pszText, "érték");
    TVITEMA again = ptr;
    again.pszText = nullptr;
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&again)));
    EXPECT_EQ(again.pszText, ptr.pszText) << "the control's own copy, not a buffer of ours";

    TVITEMA noBuffer = ItemOf(a, TVIF_TEXT);
    EXPECT_FALSE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&noBuffer)));
    char tiny[3] = { 'x', 'x', 'x' };
    TVITEMA shortBuffer = ItemOf(a, TVIF_TEXT);
    shortBuffer.pszText = tiny;
    shortBuffer.cchTextMax = 3;
    EXPECT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shortBuffer)));
    EXPECT_EQ(std::string(tiny, 3), std::string("al\0", 3)) << "cut to the buffer";
    EXPECT_FALSE(Send(TVM_GETITEMA, 0, 0));

    TVITEMA state = ItemOf(a, TVIF_STATE | TVIF_HANDLE | TVIF_PARAM | TVIF_SUBITEM);
    state.state = state.stateMask = TVIS_BOLD;
    state.lParam = static_cast<LPARAM>(0x1234);
    state.cChildren = 1;
    EXPECT_TRUE(Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state)));
    EXPECT_EQ(State(a, TVIS_BOLD), static_cast<UINT>(TVIS_BOLD));
    Select(a);
    TVITEMA whole = ItemOf(a, TVIF_STATE | TVIF_PARAM);
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&whole)));
    EXPECT_EQ(whole.lParam, 0x1234);
    EXPECT_EQ(whole.state & (TVIS_BOLD | TVIS_SELECTED), static_cast<UINT>(TVIS_BOLD | TVIS_SELECTED))
        << "the whole state: a zero stateMask asks for nothing less";
    EXPECT_EQ(State(a, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED)) << "TVM_GETITEMSTATE masks";

    WPARAM item = reinterpret_cast<WPARAM>(a);
    EXPECT_EQ(Send(TVM_GETCELLBKCOLOR, item, 1), -1);
    EXPECT_TRUE(Send(TVM_SETCELLBKCOLOR, TVCELL(a, 1), RGB(1, 2, 3)));
    EXPECT_TRUE(Send(TVM_SETCELLTEXTCOLOR, TVCELL(a, 0), RGB(9, 8, 7)));
    EXPECT_EQ(Send(TVM_GETCELLBKCOLOR, item, 1), RGB(1, 2, 3));
    EXPECT_EQ(Send(TVM_GETCELLTEXTCOLOR, item, 0), RGB(9, 8, 7));
    EXPECT_EQ(Send(TVM_GETCELLTEXTCOLOR, item, 1), -1);
    EXPECT_FALSE(Send(TVM_SETCELLBKCOLOR, TVCELL(a, 5), RGB(1, 2, 3)));
    EXPECT_EQ(Send(TVM_GETCELLBKCOLOR, item, 31), -1);
}

TEST_F(TreeListTest, SettingsClampedOrRefused)
{
    EXPECT_EQ(Send(TVM_SETCOLOR, 11, RGB(1, 1, 1)), -1);
    EXPECT_EQ(Send(TVM_GETCOLOR, 11), -1);
    LRESULT mark = Send(TVM_GETCOLOR, TVC_MARK);
    Send(TVM_SETCOLOR, TVC_ODD, RGB(0, 0, 0xF8));
    EXPECT_NE(Send(TVM_GETCOLOR, TVC_MARK), mark) << "colour 8 follows colour 1";
    Send(TVM_SETLINECOLOR, 0, RGB(5, 6, 7));
    EXPECT_EQ(Send(TVM_GETCOLOR, TVC_LINE), static_cast<LRESULT>(RGB(5, 6, 7))) << "the line colour is slot 5";
    Send(TVM_SETBKCOLOR, 0, RGB(1, 2, 3));
    Send(TVM_SETTEXTCOLOR, 0, RGB(4, 5, 6));
    Send(TVM_SETBKCOLOR, 0, -1);
    Send(TVM_SETTEXTCOLOR, 0, -1);
    EXPECT_EQ(Send(TVM_GETBKCOLOR), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW))) << "-1: the system colour";
    EXPECT_EQ(Send(TVM_GETTEXTCOLOR), static_cast<LRESULT>(GetSysColor(COLOR_WINDOWTEXT)));

    Send(TVM_SETINDENT, 2);
    EXPECT_EQ(Send(TVM_GETINDENT), 5);
    EXPECT_EQ(Send(TVM_SETINDENT, 100), 5);
    EXPECT_EQ(Send(TVM_GETINDENT), 64);
    LRESULT computed = Send(TVM_GETITEMHEIGHT);
    for (auto height : { std::make_pair(7, 6), std::make_pair(0, 1), std::make_pair(300, 256) }) {
        Send(TVM_SETITEMHEIGHT, height.first);
        EXPECT_EQ(Send(TVM_GETITEMHEIGHT), height.second) << height.first;
    }
    Send(TVM_SETEXTENDEDSTYLE, TVS_EX_EVENHEIGHT_TL, TVS_EX_EVENHEIGHT_TL);
    Send(TVM_SETITEMHEIGHT, 7);
    EXPECT_EQ(Send(TVM_GETITEMHEIGHT), 7);
    Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1));
    EXPECT_EQ(Send(TVM_GETITEMHEIGHT), computed) << "back to the computed height";
    EXPECT_EQ(Send(TVM_SETEXTENDEDSTYLE, 0, 0x80000), 0x80000) << "mask 0 sets all bits";

    // The user data size only while the control is empty.
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, 0x1000001), -1);
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, -5), -1);
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, 16), 16);
    HTREEITEM a = Insert("a");
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, 32), 0);
    EXPECT_EQ(Send(TVM_GETUSERDATASIZE), 16);
    auto* data = reinterpret_cast<unsigned char*>(Send(TVM_GETUSERDATA, 0, Ptr(a)));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::count(data, data + 16, 0), 16);
    std::memset(data, 0xAB, 16);
    auto* other = reinterpret_cast<unsigned char*>(Send(TVM_GETUSERDATA, 0, Ptr(Insert("b"))));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other[0], 0);
    EXPECT_EQ(Text(a), "a") << "user data next to the item leaves it intact";
    EXPECT_EQ(Send(TVM_GETUSERDATA, 0, 999), 0);
}

TEST_F(TreeListTest, SortsChildrenByTextAndByCallback)
{
    HTREEITEM p = Insert("p");
    Insert("delta", p);
    HTREEITEM alpha = Insert("Alpha", p);
    Insert("charlie", p);
    EXPECT_TRUE(Send(TVM_SORTCHILDREN, 0, Ptr(p)));
    EXPECT_EQ(Next(p, TVGN_CHILD), alpha) << "without regard to case";
    TVSORTCB sort = {};
    sort.hParent = p;
    sort.lpfnCompare = CompareNothing;
    EXPECT_TRUE(Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    EXPECT_EQ(Next(p, TVGN_CHILD), alpha) << "a stable sort keeps equal items";
    EXPECT_FALSE(Send(TVM_SORTCHILDREN, 0, 777));
}
