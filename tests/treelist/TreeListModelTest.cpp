// The item model through real messages: insertion, deletion, relations, expansion,
// item and cell data, heights, user data and rows.
#include "TreeListFixture.h"

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

TEST_F(TreeListTest, InsertsFirstLastSortedAndAfterSibling)
{
    HTREEITEM b = Insert("b");
    HTREEITEM d = Insert("d");
    HTREEITEM a = Insert("a", TVI_ROOT, TVI_FIRST);
    HTREEITEM c = Insert("c", TVI_ROOT, TVI_SORT);
    HTREEITEM e = Insert("e", TVI_ROOT, d);
    HTREEITEM bb = Insert("bb", TVI_ROOT, b);
    std::vector<std::string> order;
    for (HTREEITEM i = Next(nullptr, TVGN_ROOT); i; i = Next(i, TVGN_NEXT))
        order.push_back(Text(i));
    EXPECT_EQ(order, (std::vector<std::string>{ "a", "b", "bb", "c", "d", "e" }));
    EXPECT_EQ(Send(TVM_GETCOUNT), 6);
    for (HTREEITEM item : { a, b, c, d, e, bb })
        EXPECT_LT(reinterpret_cast<UINT_PTR>(item), 100u) << "handles are small integers";
    EXPECT_EQ(Row(e), 5);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(Send(TVM_GETROWITEM, 0, 2)), bb);
}

TEST_F(TreeListTest, RefusesParentsAndSiblingsThatDoNotExist)
{
    HTREEITEM a = Insert("a");
    HTREEITEM child = Insert("child", a);
    EXPECT_EQ(Insert("x", Bogus(77)), nullptr);
    ASSERT_TRUE(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child)));
    EXPECT_EQ(Insert("x", child), nullptr) << "a deleted item is no parent";
    EXPECT_EQ(Insert("x", TVI_ROOT, Bogus(55)), nullptr);
    HTREEITEM other = Insert("other");
    EXPECT_EQ(Insert("x", a, other), nullptr) << "the sibling must be a child of the parent";
    EXPECT_EQ(Send(TVM_GETCOUNT), 2);
    EXPECT_EQ(Send(TVM_INSERTITEMA, 0, 0), 0) << "a null structure";
    EXPECT_NE(Insert("zero parent", nullptr), nullptr) << "0 is the root";
}

TEST_F(TreeListTest, DeletesSubtreesAndEverything)
{
    HTREEITEM a = Insert("a");
    HTREEITEM a1 = Insert("a1", a);
    Insert("a1x", a1);
    HTREEITEM b = Insert("b");
    Expand(a, TVE_EXPAND);
    Expand(a1, TVE_EXPAND);
    ASSERT_EQ(Row(b), 3);
    EXPECT_TRUE(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a1)));
    EXPECT_EQ(Send(TVM_GETCOUNT), 2);
    EXPECT_EQ(Row(b), 1);
    EXPECT_EQ(Next(a, TVGN_CHILD), nullptr);
    EXPECT_FALSE(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a1))) << "already gone";
    EXPECT_FALSE(Send(TVM_DELETEITEM, 0, 999));
    EXPECT_TRUE(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    EXPECT_EQ(Send(TVM_GETCOUNT), 0);
    EXPECT_EQ(Next(nullptr, TVGN_ROOT), nullptr);
    EXPECT_EQ(Send(TVM_GETROWITEM, 0, 0), 0);
    HTREEITEM again = Insert("again");
    EXPECT_EQ(Row(again), 0);
}

TEST_F(TreeListTest, AnswersEveryRelation)
{
    HTREEITEM a = Insert("a");
    HTREEITEM a1 = Insert("a1", a);
    HTREEITEM a2 = Insert("a2", a);
    HTREEITEM b = Insert("b");
    Expand(a, TVE_EXPAND);
    EXPECT_EQ(Next(nullptr, TVGN_ROOT), a);
    EXPECT_EQ(Next(a, TVGN_NEXT), b);
    EXPECT_EQ(Next(b, TVGN_PREVIOUS), a);
    EXPECT_EQ(Next(a2, TVGN_PARENT), a);
    EXPECT_EQ(Next(a, TVGN_CHILD), a1);
    EXPECT_EQ(Next(TVI_ROOT, TVGN_CHILD), a);
    EXPECT_EQ(Next(nullptr, TVGN_FIRSTVISIBLE), a);
    EXPECT_EQ(Next(a1, TVGN_NEXTVISIBLE), a2);
    EXPECT_EQ(Next(b, TVGN_PREVIOUSVISIBLE), a2);
    EXPECT_EQ(Next(nullptr, TVGN_LASTVISIBLE), b);
    EXPECT_EQ(Next(a1, TVGN_PREVIOUS), nullptr);
    EXPECT_EQ(Next(b, TVGN_NEXTVISIBLE), nullptr);
    EXPECT_EQ(Next(Bogus(4242), TVGN_NEXT), nullptr);
    EXPECT_TRUE(Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a2)));
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a2);
    EXPECT_TRUE(Send(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(b)));
    EXPECT_EQ(Next(nullptr, TVGN_DROPHILITE), b);
    EXPECT_EQ(State(b, TVIS_DROPHILITED), static_cast<UINT>(TVIS_DROPHILITED));
    EXPECT_EQ(Row(b), 3);
    EXPECT_EQ(Send(TVM_GETROWITEM, 0, 4), 0);
    EXPECT_EQ(Send(TVM_GETROWITEM, 0, -1), 0);
    EXPECT_EQ(Row(Bogus(888)), -1);
    Expand(a, TVE_COLLAPSE);
    EXPECT_EQ(Next(a, TVGN_NEXTVISIBLE), b);
    EXPECT_EQ(Row(a1), -1) << "inside a collapsed parent";
    EXPECT_EQ(Row(b), 1);
}

TEST_F(TreeListTest, ExpansionNotifiesWithActionsFromTheExpandedBit)
{
    HTREEITEM a = Insert("a");
    Insert("a1", a);
    EXPECT_EQ(Expand(a, TVE_EXPAND), 1);
    ASSERT_EQ(Codes(), (std::vector<UINT>{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }));
    EXPECT_EQ(m_notes[0].action, 2u);
    EXPECT_EQ(m_notes[1].action, 1u);
    EXPECT_EQ(m_notes[1].item, a);
    Clear();
    EXPECT_EQ(Expand(a, TVE_TOGGLE), 1);
    ASSERT_EQ(Codes(), (std::vector<UINT>{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }));
    EXPECT_EQ(m_notes[0].action, 1u);
    EXPECT_EQ(m_notes[1].action, 2u);
    EXPECT_EQ(State(a, TVIS_EXPANDED), 0u);

    Clear();
    m_hooks[TVN_ITEMEXPANDINGA] = [](const NMHDR*) -> LRESULT { return 1; };
    EXPECT_EQ(Expand(a, TVE_EXPAND), 0) << "a non-zero answer cancels";
    EXPECT_EQ(Codes(), (std::vector<UINT>{ TVN_ITEMEXPANDINGA }));
    EXPECT_EQ(State(a, TVIS_EXPANDED), 0u);

    HTREEITEM leaf = Insert("leaf");
    Clear();
    EXPECT_EQ(Expand(leaf, TVE_EXPAND), 0);
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(Expand(Bogus(999), TVE_EXPAND), 0);
}

TEST_F(TreeListTest, CollapseResetDeletesChildrenAndAsksAgain)
{
    HTREEITEM node = Insert("modules");
    Insert("placeholder", node);
    int fills = 0;
    m_hooks[TVN_ITEMEXPANDEDA] = [&](const NMHDR* nm) -> LRESULT {
        const NMTREEVIEWA* tv = reinterpret_cast<const NMTREEVIEWA*>(nm);
        if (tv->action & 1) {
            ++fills;
            Insert("loaded", tv->itemNew.hItem);
        }
        return 0;
    };
    Expand(node, TVE_EXPAND);
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(Send(TVM_GETCOUNT), 3);
    EXPECT_EQ(Expand(node, TVE_COLLAPSE | TVE_COLLAPSERESET), 1);
    EXPECT_EQ(Next(node, TVGN_CHILD), nullptr);
    EXPECT_EQ(State(node, TVIS_EXPANDEDONCE), 0u);
    Insert("placeholder", node);
    Clear();
    Expand(node, TVE_EXPAND);
    EXPECT_EQ(Codes(), (std::vector<UINT>{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }));
    EXPECT_EQ(fills, 2);
}

TEST_F(TreeListTest, ParentMaySendMessagesAndDeleteItemsFromExpansionNotifications)
{
    HTREEITEM a = Insert("a");
    HTREEITEM a1 = Insert("a1", a);
    HTREEITEM b = Insert("b");
    Insert("b1", b);
    m_hooks[TVN_ITEMEXPANDINGA] = [&](const NMHDR*) -> LRESULT {
        EXPECT_EQ(Send(TVM_GETCOUNT), 4) << "the control answers from inside the notification";
        EXPECT_EQ(Text(a1), "a1");
        SetText(a1, 0, "renamed");
        return 0;
    };
    EXPECT_EQ(Expand(a, TVE_EXPAND), 1);
    EXPECT_EQ(Text(a1), "renamed");

    m_hooks[TVN_ITEMEXPANDINGA] = [&](const NMHDR* nm) -> LRESULT {
        Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(reinterpret_cast<const NMTREEVIEWA*>(nm)->itemNew.hItem));
        return 0;
    };
    EXPECT_EQ(Expand(b, TVE_EXPAND), -1) << "the item went away meanwhile";
    EXPECT_EQ(Send(TVM_GETCOUNT), 2);

    HTREEITEM c = Insert("c");
    HTREEITEM c1 = Insert("c1", c);
    m_hooks.clear();
    m_hooks[TVN_ITEMEXPANDEDA] = [&](const NMHDR*) -> LRESULT {
        Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));
        return 0;
    };
    EXPECT_EQ(Expand(c, TVE_EXPAND), -1);
    EXPECT_EQ(Next(c1, TVGN_PARENT), nullptr);
    EXPECT_EQ(Send(TVM_GETROWITEM, 0, 2), 0);
}

TEST_F(TreeListTest, CollapsingMovesTheCaretToTheVisibleAncestor)
{
    HTREEITEM a = Insert("a");
    HTREEITEM a1 = Insert("a1", a);
    HTREEITEM a1x = Insert("a1x", a1);
    Expand(a, TVE_EXPAND);
    Expand(a1, TVE_EXPAND);
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a1x));
    Clear();
    Expand(a, TVE_COLLAPSE);
    EXPECT_EQ(Caret(), a);
    EXPECT_EQ(State(a1x, TVIS_SELECTED), 0u);
    EXPECT_EQ(Codes({ TVN_SELCHANGINGA, TVN_SELCHANGEDA }), (std::vector<UINT>{ TVN_SELCHANGINGA, TVN_SELCHANGEDA }));
}

TEST_F(TreeListTest, SelectionNotifiesAndCanBeRefused)
{
    HTREEITEM a = Insert("a");
    HTREEITEM b = Insert("b");
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    Clear();
    m_hooks[TVN_SELCHANGINGA] = [](const NMHDR*) -> LRESULT { return 1; };
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b)), 0);
    EXPECT_EQ(Caret(), a);
    m_hooks.clear();
    Clear();
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b)), 1);
    ASSERT_EQ(Codes(), (std::vector<UINT>{ TVN_SELCHANGINGA, TVN_SELCHANGEDA }));
    EXPECT_EQ(m_notes[1].oldItem, a);
    EXPECT_EQ(m_notes[1].item, b);
    EXPECT_EQ(State(a, TVIS_SELECTED), 0u);
    EXPECT_EQ(State(b, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));
    Clear();
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b)), 1);
    EXPECT_TRUE(Codes().empty()) << "selecting the caret again does nothing";
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET | TVSI_COLUMN(3), reinterpret_cast<LPARAM>(a)), 0)
        << "a column that does not exist";
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, 4711), 0);
}

TEST_F(TreeListTest, ItemAndCellDataThroughColumnAddressing)
{
    AddColumn("Name", 150);
    AddColumn("Value", 100);
    HTREEITEM a = Insert("alpha");
    EXPECT_TRUE(SetText(a, 1, "érték"));
    EXPECT_EQ(Text(a, 1), "érték");
    EXPECT_EQ(Text(a, 0), "alpha");
    EXPECT_FALSE(SetText(a, 2, "nope"));
    EXPECT_EQ(Text(a, 2), "<failed>");
    EXPECT_FALSE(SetText(reinterpret_cast<HTREEITEM>(999), 0, "nope"));

    TVITEMA ptr = ItemOf(a, TVIF_TEXT | TVIF_SUBITEM | TVIF_TEXTPTR);
    ptr.cChildren = 1;
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&ptr)));
    ASSERT_NE(ptr.pszText, nullptr);
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
    state.state = TVIS_BOLD;
    state.stateMask = TVIS_BOLD;
    state.lParam = static_cast<LPARAM>(0x1234);
    state.cChildren = 1;
    EXPECT_TRUE(Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state)));
    EXPECT_EQ(State(a, TVIS_BOLD), static_cast<UINT>(TVIS_BOLD));
    TVITEMA param = ItemOf(a, TVIF_PARAM);
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&param)));
    EXPECT_EQ(param.lParam, 0x1234);

    EXPECT_EQ(Send(TVM_GETCELLBKCOLOR, reinterpret_cast<WPARAM>(a), 1), -1);
    EXPECT_TRUE(Send(TVM_SETCELLBKCOLOR, TVCELL(a, 1), RGB(1, 2, 3)));
    EXPECT_TRUE(Send(TVM_SETCELLTEXTCOLOR, TVCELL(a, 0), RGB(9, 8, 7)));
    EXPECT_EQ(Send(TVM_GETCELLBKCOLOR, reinterpret_cast<WPARAM>(a), 1), RGB(1, 2, 3));
    EXPECT_EQ(Send(TVM_GETCELLTEXTCOLOR, reinterpret_cast<WPARAM>(a), 0), RGB(9, 8, 7));
    EXPECT_EQ(Send(TVM_GETCELLTEXTCOLOR, reinterpret_cast<WPARAM>(a), 1), -1);
    EXPECT_FALSE(Send(TVM_SETCELLBKCOLOR, TVCELL(a, 5), RGB(1, 2, 3)));
    EXPECT_EQ(Send(TVM_GETCELLBKCOLOR, reinterpret_cast<WPARAM>(a), 31), -1);
}

TEST_F(TreeListTest, ColourSlots)
{
    EXPECT_EQ(Send(TVM_GETCOLOR, 0), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(Send(TVM_GETTEXTCOLOR), static_cast<LRESULT>(GetSysColor(COLOR_WINDOWTEXT)));
    COLORREF info = GetSysColor(COLOR_INFOBK);
    COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(Send(TVM_GETCOLOR, 8), static_cast<LRESULT>(7 * ((info >> 3) & 0x1F1F1F) + ((hl >> 3) & 0x1F1F1F)));
    EXPECT_EQ(Send(TVM_SETCOLOR, 11, RGB(1, 1, 1)), -1);
    EXPECT_EQ(Send(TVM_GETCOLOR, 11), -1);
    Send(TVM_SETCOLOR, TVC_ODD, RGB(0, 0, 0xF8));
    EXPECT_EQ(Send(TVM_GETCOLOR, TVC_MARK), static_cast<LRESULT>(7 * 0x1F0000 + ((hl >> 3) & 0x1F1F1F)))
        << "colour 8 follows colour 1";
    Send(TVM_SETLINECOLOR, 0, RGB(5, 6, 7));
    EXPECT_EQ(Send(TVM_GETCOLOR, TVC_LINE), static_cast<LRESULT>(RGB(5, 6, 7)));
    Send(TVM_SETINSERTMARKCOLOR, 0, RGB(7, 7, 7));
    EXPECT_EQ(Send(TVM_GETINSERTMARKCOLOR), static_cast<LRESULT>(RGB(7, 7, 7)));
}

TEST_F(TreeListTest, ItemHeightAndIndentAreClamped)
{
    EXPECT_EQ(Send(TVM_GETINDENT), 19);
    Send(TVM_SETINDENT, 2);
    EXPECT_EQ(Send(TVM_GETINDENT), 5);
    EXPECT_EQ(Send(TVM_SETINDENT, 100), 5);
    EXPECT_EQ(Send(TVM_GETINDENT), 64);
    Send(TVM_SETITEMHEIGHT, 7);
    EXPECT_EQ(Send(TVM_GETITEMHEIGHT), 6);
    Send(TVM_SETITEMHEIGHT, 0);
    EXPECT_EQ(Send(TVM_GETITEMHEIGHT), 1);
    Send(TVM_SETITEMHEIGHT, 300);
    EXPECT_EQ(Send(TVM_GETITEMHEIGHT), 256);
    Send(TVM_SETEXTENDEDSTYLE, TVS_EX_EVENHEIGHT_TL, TVS_EX_EVENHEIGHT_TL);
    Send(TVM_SETITEMHEIGHT, 7);
    EXPECT_EQ(Send(TVM_GETITEMHEIGHT), 7);
    Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1));
    EXPECT_GE(Send(TVM_GETITEMHEIGHT), 10) << "back to the computed height";
    EXPECT_EQ(Send(TVM_SETEXTENDEDSTYLE, 0, 0x80000), 0x80000) << "mask 0 sets all bits";
}

TEST_F(TreeListTest, UserDataSizeOnlyWhileEmpty)
{
    EXPECT_EQ(Send(TVM_GETUSERDATASIZE), 0);
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, 0x1000001), -1);
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, -5), -1);
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, 16), 16);
    HTREEITEM a = Insert("a");
    EXPECT_EQ(Send(TVM_SETUSERDATASIZE, 0, 32), 0);
    EXPECT_EQ(Send(TVM_GETUSERDATASIZE), 16);
    unsigned char* data = reinterpret_cast<unsigned char*>(Send(TVM_GETUSERDATA, 0, reinterpret_cast<LPARAM>(a)));
    ASSERT_NE(data, nullptr);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(data[i], 0);
    std::memset(data, 0xAB, 16);
    HTREEITEM b = Insert("b");
    unsigned char* other = reinterpret_cast<unsigned char*>(Send(TVM_GETUSERDATA, 0, reinterpret_cast<LPARAM>(b)));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other[0], 0);
    EXPECT_EQ(Text(a), "a") << "user data next to the item leaves it intact";
    EXPECT_EQ(Send(TVM_GETUSERDATA, 0, 999), 0);
}

TEST_F(TreeListTest, SortsChildrenByTextAndByCallback)
{
    HTREEITEM p = Insert("p");
    Insert("delta", p);
    Insert("Alpha", p);
    Insert("charlie", p);
    EXPECT_TRUE(Send(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(p)));
    HTREEITEM first = Next(p, TVGN_CHILD);
    EXPECT_EQ(Text(first), "Alpha");
    EXPECT_EQ(Text(Next(first, TVGN_NEXT)), "charlie");
    TVSORTCB sort = {};
    sort.hParent = p;
    sort.lpfnCompare = CompareNothing;
    EXPECT_TRUE(Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    EXPECT_EQ(Next(p, TVGN_CHILD), first) << "a stable sort keeps equal items";
    EXPECT_FALSE(Send(TVM_SORTCHILDREN, 0, 777));
}

TEST_F(TreeListTest, EnsureVisibleExpandsAncestorsAndScrolls)
{
    HTREEITEM last = nullptr;
    for (int i = 0; i < 40; ++i)
        last = Insert("row");
    HTREEITEM child = Insert("deep", last);
    EXPECT_TRUE(Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(child)));
    EXPECT_EQ(State(last, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
    int first = Row(Next(nullptr, TVGN_FIRSTVISIBLE));
    int visible = static_cast<int>(Send(TVM_GETVISIBLECOUNT));
    EXPECT_GE(Row(child), first);
    EXPECT_LT(Row(child), first + visible);
}

TEST_F(TreeListTest, GetItemReturnsTheWholeState)
{
    Make(TVS_HASBUTTONS | TVS_CHECKBOXES);
    HTREEITEM a = Insert("a");
    Insert("a1", a);
    Expand(a, TVE_EXPAND);
    Send(TVM_SELECTITEM, TVGN_CARET, Ptr(a));
    Send(WM_KEYDOWN, VK_SPACE);
    TVITEMA tv = ItemOf(a, TVIF_STATE);
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_EQ(tv.state & (TVIS_EXPANDED | TVIS_SELECTED | TVIS_STATEIMAGEMASK),
              TVIS_EXPANDED | TVIS_SELECTED | INDEXTOSTATEIMAGEMASK(2));
}

TEST_F(TreeListTest, MinusOneResetsAColourToTheSystemOne)
{
    Send(TVM_SETBKCOLOR, 0, RGB(1, 2, 3));
    Send(TVM_SETTEXTCOLOR, 0, RGB(4, 5, 6));
    Send(TVM_SETBKCOLOR, 0, -1);
    Send(TVM_SETTEXTCOLOR, 0, -1);
    EXPECT_EQ(Send(TVM_GETBKCOLOR), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(Send(TVM_GETTEXTCOLOR), static_cast<LRESULT>(GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(TreeListTest, AVetoedSelectionOpensNoAncestor)
{
    HTREEITEM a = Insert("a");
    HTREEITEM a1 = Insert("a1", a);
    m_hooks[TVN_SELCHANGINGA] = [](const NMHDR*) -> LRESULT { return 1; };
    EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, Ptr(a1)), 0);
    EXPECT_EQ(State(a, TVIS_EXPANDED), 0u);
    EXPECT_TRUE(Codes({ TVN_ITEMEXPANDINGA }).empty());
}

TEST_F(TreeListTest, SingleExpandFollowsTheSelection)
{
    Make(TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SINGLEEXPAND);
    HTREEITEM a = Insert("a");
    Insert("a1", a);
    HTREEITEM b = Insert("b");
    Insert("b1", b);
    Send(TVM_SELECTITEM, TVGN_CARET, Ptr(a));
    EXPECT_EQ(State(a, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
    Clear();
    Send(TVM_SELECTITEM, TVGN_CARET, Ptr(b));
    EXPECT_EQ(Codes({ TVN_SELCHANGEDA, TVN_SINGLEEXPAND }), (std::vector<UINT>{ TVN_SELCHANGEDA, TVN_SINGLEEXPAND }));
    EXPECT_EQ(State(a, TVIS_EXPANDED), 0u);
    EXPECT_EQ(State(b, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
}
