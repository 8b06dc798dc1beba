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
    void Paint() const { RedrawWindow(m_tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
    // An item whose text and images the owner supplies.
    HTREEITEM InsertCallback()
    {
        TVINSERTSTRUCTA insert = { TVI_ROOT, TVI_LAST, {} };
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = LPSTR_TEXTCALLBACKA;
        insert.item.iImage = insert.item.iSelectedImage = I_IMAGECALLBACK;
        return ItemOf(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
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
        { TVN_SELCHANGINGA, [this] { Select(b); } },
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
        { TVN_SINGLEEXPAND, [this] {
              SetWindowLongA(m_tree, GWL_STYLE, GetWindowLongA(m_tree, GWL_STYLE) | TVS_SINGLEEXPAND);
              Select(a);
          } },
    };
    for (const Case& test : cases) {
        SetUp();
        SetFocus(m_tree);
        Select(c);
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

TEST_F(TreeListOwnerTest, OwnerMaySendMessagesAndDeleteItemsFromExpansionNotifications)
{
    Insert("b1", b);
    m_hooks[TVN_ITEMEXPANDINGA] = [&](const NMHDR*) -> LRESULT {
        EXPECT_EQ(Send(TVM_GETCOUNT), 5) << "the control answers from inside the notification";
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
    EXPECT_EQ(Send(TVM_GETCOUNT), 3);

    HTREEITEM c1 = Insert("c1", c);
    m_hooks.clear();
    m_hooks[TVN_ITEMEXPANDEDA] = [&](const NMHDR*) -> LRESULT {
        Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));
        return 0;
    };
    EXPECT_EQ(Expand(c, TVE_EXPAND), -1);
    EXPECT_EQ(Next(c1, TVGN_PARENT), nullptr);
    EXPECT_EQ(RowItem(2), nullptr);
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
    Select(a);
    Send(WM_KEYDOWN, VK_RIGHT);
    Paint();
    EXPECT_EQ(Row(c), 5);
    EXPECT_EQ(Text(RowItem(3)), "method");
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

TEST_F(TreeListOwnerTest, DeepChainsAreWalkedWithoutRecursion)
{
    HTREEITEM deep = c;
    for (int i = 0; i < 10000; ++i)
        deep = Insert("z", deep);
    EXPECT_TRUE(Send(TVM_ENSUREVISIBLE, 0, Ptr(deep)));
    EXPECT_EQ(Row(deep), 10002);
    EXPECT_TRUE(Send(TVM_SORTCHILDREN, TRUE, reinterpret_cast<LPARAM>(TVI_ROOT)));
    EXPECT_EQ(RowItem(10002), deep);
    EXPECT_TRUE(Send(TVM_DELETEITEM, 0, Ptr(c)));
    EXPECT_EQ(Send(TVM_GETCOUNT), 3);
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
    EXPECT_EQ(std::make_pair(tv.iImage, tv.iSelectedImage), std::make_pair(3, 4));

    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 5, 0);
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    asked.clear();
    Paint();
    EXPECT_NE(std::find(asked.begin(), asked.end(), static_cast<UINT>(TVIF_IMAGE)), asked.end())
        << "painting asks for the image";
}

namespace {

HWND g_sorted = nullptr;

// Deletes the item named by lParamSort (the first time; then it is gone).
int CALLBACK CompareAndDelete(LPARAM, LPARAM, LPARAM victim)
{
    SendMessageA(g_sorted, TVM_DELETEITEM, 0, victim);
    return 0;
}

}  // namespace

TEST_F(TreeListOwnerTest, OwnerMayDeleteItemsFromItsSortComparison)
{
    Expand(a, TVE_EXPAND);
    for (int i = 0; i < 5; ++i)
        Insert("x", a);
    g_sorted = m_tree;
    TVSORTCB sort = {};
    sort.hParent = a;
    sort.lpfnCompare = CompareAndDelete;
    sort.lParam = Ptr(a1);
    EXPECT_FALSE(Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort))) << "the sort stops";
    EXPECT_EQ(Send(TVM_GETCOUNT), 8);
    EXPECT_EQ(Row(c), 7);
}
