// Owners that change or destroy the control from inside its notifications, and what
// owners of a tree view rely on: deletion notices, values supplied on demand, the
// caret on a row, styles switched later.
#include "TreeListFixture.h"

class TreeListOwnerTest : public TreeListTest {
protected:
    void SetUp() override
    {
        TreeListTest::SetUp();
        m_checkTree = true;
        Make(TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS);
        AddColumn("name", 150);
        AddColumn("value", 100);
        a = Insert("a");
        a1 = Insert("a1", a);
        b = Insert("b");
        c = Insert("c");
        Clear();
    }
    // Paints now, through the window's own WM_PAINT.
    void Paint() const
    {
        InvalidateRect(m_tree, nullptr, FALSE);
        UpdateWindow(m_tree);
    }
    HTREEITEM InsertCallback(HTREEITEM parent = TVI_ROOT)
    {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = LPSTR_TEXTCALLBACKA;
        insert.item.iImage = I_IMAGECALLBACK;
        insert.item.iSelectedImage = I_IMAGECALLBACK;
        return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    HTREEITEM a, a1, b, c;
};

TEST_F(TreeListOwnerTest, OwnerMayDestroyTheControlFromEveryNotification)
{
    struct Case {
        UINT code;
        std::function<void()> trigger;
    };
    const Case cases[] = {
        { TVN_ITEMEXPANDINGA, [this] { Expand(a, TVE_EXPAND); } },
        { TVN_ITEMEXPANDEDA, [this] { Expand(a, TVE_EXPAND); } },
        { TVN_SELCHANGINGA, [this] { Send(TVM_SELECTITEM, TVGN_CARET, Ptr(b)); } },
        { TVN_SELCHANGEDA, [this] { Send(WM_KEYDOWN, VK_UP); } },
        { TVN_KEYDOWN, [this] { Send(WM_KEYDOWN, VK_DOWN); } },
        { NM_SETFOCUS, [this] { SetFocus(m_parent); Send(WM_KEYDOWN, VK_DOWN); } },
        { NM_CLICK, [this] { Send(WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(b, 40))); } },
        { NM_DBLCLK, [this] { Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(RowPoint(a, 40))); } },
        { NM_RCLICK, [this] { Send(WM_RBUTTONDOWN, MK_RBUTTON, At(RowPoint(b, 40))); } },
        { TVN_BEGINLABELEDITA, [this] { Send(TVM_EDITLABELA, 1, Ptr(b)); } },
        { TVN_ENDLABELEDITA, [this] {
              HWND editor = reinterpret_cast<HWND>(Send(TVM_EDITLABELA, 1, Ptr(b)));
              SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
          } },
        { TVN_GETDISPINFOA, [this] { InsertCallback(); Paint(); } },
        { TVN_DELETEITEMA, [this] { Send(TVM_DELETEITEM, 0, Ptr(a)); } },
    };
    for (const Case& test : cases) {
        SetUp();
        SetFocus(m_tree);
        Send(TVM_SELECTITEM, TVGN_CARET, Ptr(c));
        int destroyed = 0;
        m_hooks[test.code] = [&](const NMHDR*) -> LRESULT {
            if (HWND tree = m_tree) {
                ++destroyed;
                m_tree = nullptr;
                DestroyWindow(tree);
            }
            return 0;
        };
        HWND tree = m_tree;
        test.trigger();
        EXPECT_EQ(destroyed, 1) << "notification " << static_cast<int>(test.code);
        EXPECT_FALSE(IsWindow(tree));
        m_hooks.clear();
    }
}

TEST_F(TreeListOwnerTest, OwnerMayDeleteRowsWhileTextsAreAskedFor)
{
    HTREEITEM first = InsertCallback();
    for (int i = 0; i < 8; ++i)
        InsertCallback();
    int deleted = 0;
    // Each answer deletes the row below the one asked about.
    m_hooks[TVN_GETDISPINFOA] = [&](const NMHDR* nm) -> LRESULT {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(const_cast<NMHDR*>(nm));
        if (info->item.mask & TVIF_TEXT)
            lstrcpynA(info->item.pszText, "owner's text", info->item.cchTextMax);
        HTREEITEM below = Next(info->item.hItem, TVGN_NEXT);
        if (below && Send(TVM_DELETEITEM, 0, Ptr(below)))
            ++deleted;
        return 0;
    };
    Paint();
    EXPECT_GE(deleted, 1);
    int painted = deleted;
    HeaderNotify(HDN_DIVIDERDBLCLICKA, 0);
    EXPECT_GT(deleted, painted);
    m_hooks.clear();
    Paint();
    EXPECT_EQ(Row(first), 3);
    EXPECT_EQ(Send(TVM_GETCOUNT), 4 + 9 - deleted);
    EXPECT_EQ(Row(Next(nullptr, TVGN_LASTVISIBLE)), 4 + 9 - deleted - 2) << "a1 is hidden";
}

TEST_F(TreeListOwnerTest, CatalogueFillsRowsFromTheExpandedNotification)
{
    m_hooks[TVN_ITEMEXPANDEDA] = [&](const NMHDR* nm) -> LRESULT {
        const NMTREEVIEWA* tv = reinterpret_cast<const NMTREEVIEWA*>(nm);
        if (!(tv->action & 1))
            return 0;
        Send(TVM_DELETEITEM, 0, Ptr(Next(tv->itemNew.hItem, TVGN_CHILD)));
        for (const char* name : { "trigger", "job", "method" }) {
            HTREEITEM row = Insert(name, tv->itemNew.hItem);
            Send(TVM_SETCELLBKCOLOR, TVCELL(row, 1), RGB(0xDC, 0xF0, 0xDC));
            Send(TVM_EXPAND, TVE_EXPAND, Ptr(row));
        }
        return 0;
    };
    SetFocus(m_tree);
    Send(TVM_SELECTITEM, TVGN_CARET, Ptr(a));
    Send(WM_KEYDOWN, VK_RIGHT);
    Paint();
    EXPECT_EQ(Row(c), 5);
    EXPECT_EQ(Text(reinterpret_cast<HTREEITEM>(Send(TVM_GETROWITEM, 0, 3))), "method");
}

TEST_F(TreeListOwnerTest, EnsureVisibleGivesUpWhenTheOwnerClosesTheItemAgain)
{
    HTREEITEM deep = a1;
    for (int i = 0; i < 3; ++i)
        deep = Insert("deeper", deep);
    m_hooks[TVN_ITEMEXPANDEDA] = [&](const NMHDR* nm) -> LRESULT {
        const NMTREEVIEWA* tv = reinterpret_cast<const NMTREEVIEWA*>(nm);
        if (tv->itemNew.hItem == a1 && (tv->action & 1))
            Expand(a1, TVE_COLLAPSE);
        return 0;
    };
    EXPECT_FALSE(Send(TVM_ENSUREVISIBLE, 0, Ptr(deep)));
    EXPECT_EQ(Row(deep), -1);
}

TEST_F(TreeListOwnerTest, DeepChainsAndRecursiveSortsKeepTheirRows)
{
    HTREEITEM deep = c;
    for (int i = 0; i < 10000; ++i)
        deep = Insert("z", deep);
    EXPECT_TRUE(Send(TVM_ENSUREVISIBLE, 0, Ptr(deep)));
    EXPECT_EQ(Row(deep), 10002);
    EXPECT_TRUE(Send(TVM_SORTCHILDREN, TRUE, reinterpret_cast<LPARAM>(TVI_ROOT)));
    EXPECT_EQ(Send(TVM_GETROWITEM, 0, 10002), Ptr(deep));
    EXPECT_TRUE(Send(TVM_DELETEITEM, 0, Ptr(c)));
    EXPECT_EQ(Send(TVM_GETCOUNT), 3);

    // Two expanded parents, children out of order: all eight rows after the sort.
    HTREEITEM parents[2] = { Insert("q"), Insert("p") };
    for (HTREEITEM parent : parents) {
        for (const char* name : { "3", "1", "2" })
            Insert(name, parent);
        Expand(parent, TVE_EXPAND);
    }
    Expand(a, TVE_EXPAND);
    ASSERT_TRUE(Send(TVM_SORTCHILDREN, TRUE, reinterpret_cast<LPARAM>(TVI_ROOT)));
    std::vector<std::string> rows;
    for (int r = 0; HTREEITEM item = reinterpret_cast<HTREEITEM>(Send(TVM_GETROWITEM, 0, r)); ++r)
        rows.push_back(Text(item));
    EXPECT_EQ(rows, (std::vector<std::string>{ "a", "a1", "b", "p", "1", "2", "3", "q", "1", "2", "3" }));
}

TEST_F(TreeListOwnerTest, EveryDeletedItemIsReported)
{
    std::vector<HTREEITEM> reported;
    m_hooks[TVN_DELETEITEMA] = [&](const NMHDR* nm) -> LRESULT {
        reported.push_back(reinterpret_cast<const NMTREEVIEWA*>(nm)->itemOld.hItem);
        return 0;
    };
    Send(TVM_DELETEITEM, 0, Ptr(a));
    EXPECT_EQ(reported.size(), 2u);
    EXPECT_NE(std::find(reported.begin(), reported.end(), a1), reported.end());
    Insert("x", b);
    Expand(b, TVE_COLLAPSE | TVE_COLLAPSERESET);
    EXPECT_EQ(reported.size(), 3u);
    DestroyWindow(m_tree);
    m_tree = nullptr;
    EXPECT_EQ(reported.size(), 5u) << "b and c go with the control";
}

TEST_F(TreeListOwnerTest, CallbackTextsAndImagesAreAskedFor)
{
    HTREEITEM item = InsertCallback();
    std::vector<UINT> asked;
    m_hooks[TVN_GETDISPINFOA] = [&](const NMHDR* nm) -> LRESULT {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(const_cast<NMHDR*>(nm));
        asked.push_back(info->item.mask);
        if (info->item.mask & TVIF_TEXT)
            info->item.pszText = const_cast<char*>("from the owner");
        info->item.iImage = 3;
        info->item.iSelectedImage = 4;
        return 0;
    };
    TVITEMA tv = ItemOf(item, TVIF_TEXT | TVIF_TEXTPTR | TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    ASSERT_TRUE(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    ASSERT_NE(tv.pszText, LPSTR_TEXTCALLBACKA);
    EXPECT_STREQ(tv.pszText, "from the owner");
    EXPECT_EQ(tv.iImage, 3);
    EXPECT_EQ(tv.iSelectedImage, 4);

    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 5, 0);
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    asked.clear();
    Paint();
    EXPECT_NE(std::find(asked.begin(), asked.end(), static_cast<UINT>(TVIF_IMAGE)), asked.end())
        << "painting asks for the image";
}

TEST_F(TreeListOwnerTest, ResetItemsAreAskedAgainAndTheCaretIsOnARow)
{
    Expand(a, TVE_EXPAND);
    Expand(a, TVE_COLLAPSE | TVE_COLLAPSERESET);
    m_hooks[TVN_ITEMEXPANDINGA] = [&](const NMHDR* nm) -> LRESULT {
        Insert("filled", reinterpret_cast<const NMTREEVIEWA*>(nm)->itemNew.hItem);
        return 0;
    };
    Clear();
    EXPECT_EQ(Expand(a, TVE_EXPAND), 1);
    EXPECT_EQ(Codes({ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }),
              (std::vector<UINT>{ TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA }));
    EXPECT_EQ(Row(Next(a, TVGN_CHILD)), 1);
    m_hooks.clear();

    HTREEITEM hidden = Insert("hidden", Insert("closed", b));
    EXPECT_TRUE(Send(TVM_SELECTITEM, TVGN_CARET, Ptr(hidden)));
    EXPECT_EQ(Caret(), hidden);
    EXPECT_GE(Row(hidden), 0) << "its ancestors open";
}

TEST_F(TreeListOwnerTest, DeletingAColumnLeftOfTheEditedOneKeepsTheCell)
{
    AddColumn("third", 50);
    AddColumn("fourth", 50);
    SetText(b, 1, "one");
    SetText(b, 2, "two");
    SetText(b, 3, "three");
    HWND editor = reinterpret_cast<HWND>(Send(TVM_EDITLABELA, 2, Ptr(b)));
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "edited");
    EXPECT_TRUE(Send(TVM_DELETECOLUMN, 1));
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Text(b, 1), "edited");
    EXPECT_EQ(Text(b, 2), "three");
}

TEST_F(TreeListOwnerTest, NumericKeypadExpandsAndCollapses)
{
    HTREEITEM a2 = Insert("a2", a1);
    Insert("a3", a2);
    SetFocus(m_tree);
    Send(TVM_SELECTITEM, TVGN_CARET, Ptr(a));
    Send(WM_KEYDOWN, VK_MULTIPLY);
    EXPECT_EQ(Row(Next(a2, TVGN_CHILD)), 3) << "everything below opens";
    Send(WM_KEYDOWN, VK_SUBTRACT);
    EXPECT_EQ(Row(a1), -1);
    Send(WM_KEYDOWN, VK_ADD);
    EXPECT_EQ(Row(a1), 1);
    EXPECT_EQ(Caret(), a);
}

namespace {
HWND g_sorted = nullptr;

int CALLBACK CompareAndDelete(LPARAM a, LPARAM b, LPARAM victim)
{
    if (victim)
        SendMessageA(g_sorted, TVM_DELETEITEM, 0, victim);
    return a < b ? -1 : a > b;
}
}  // namespace

TEST_F(TreeListOwnerTest, OwnerMayDeleteItemsFromItsSortComparison)
{
    HTREEITEM p = Insert("p");
    for (int i = 0; i < 6; ++i) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = p;
        insert.hInsertAfter = TVI_FIRST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>("x");
        insert.item.lParam = i;
        Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
    Expand(p, TVE_EXPAND);
    g_sorted = m_tree;
    TVSORTCB sort = {};
    sort.hParent = p;
    sort.lpfnCompare = CompareAndDelete;
    sort.lParam = Ptr(Next(Next(p, TVGN_CHILD), TVGN_NEXT));
    EXPECT_FALSE(Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    EXPECT_EQ(Send(TVM_GETCOUNT), 4 + 1 + 5);
    sort.lParam = 0;
    EXPECT_TRUE(Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    EXPECT_EQ(Send(TVM_GETROWITEM, 0, 4), Send(TVM_GETNEXTITEM, TVGN_CHILD, Ptr(p)));
}
