// Columns, hit testing, scrolling, drag images and painting of a real control.
#include "TreeListFixture.h"

#include "utils/UniqueHandle.h"

TEST_F(TreeListTest, ColumnsShareTheWidthTheyFollowWithinLimits)
{
    auto widths = [&] {
        std::vector<int> all;
        for (int width; (width = ColumnWidth(static_cast<int>(all.size()))) >= 0;)
            all.push_back(width);
        return all;
    };
    EXPECT_EQ(Send(TVM_GETHEADER), 0) << "no header before the first column";
    EXPECT_EQ(AddColumn("fixed", 100), 0);
    HWND header = reinterpret_cast<HWND>(Send(TVM_GETHEADER));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(AddColumn("share"), 1);
    EXPECT_EQ(widths(), (std::vector<int>{ 100, 200 }));
    EXPECT_EQ(AddColumn("share2"), 2);
    EXPECT_EQ(widths(), (std::vector<int>{ 100, 100, 100 }));
    SetWindowPos(m_tree, nullptr, 0, 0, 340, 200, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(widths(), (std::vector<int>{ 100, 120, 120 })) << "the 40 pixels go to the followers";

    for (int i = 3; i < 32; ++i)
        ASSERT_EQ(AddColumn("c", 20), i);
    EXPECT_EQ(AddColumn("c", 20), -1);
    EXPECT_EQ(Send(TVM_INSERTCOLUMN, 1, 0), -1) << "a null record";
}

TEST_F(TreeListTest, HitTestRegions)
{
    Make(TVS_HASBUTTONS | TVS_LINESATROOT, 300, 200);
    AddColumn("tree", 150);
    AddColumn("value", 100);
    HTREEITEM parent = Insert("parent");
    HTREEITEM child = Insert("child", parent);
    SetText(parent, 1, "v");
    Expand(parent, TVE_EXPAND);
    int indent = static_cast<int>(Send(TVM_GETINDENT));
    auto hit = [&](POINT p, HTREEITEM item, UINT flags, const char* what) {
        TVHITTESTINFO info = {};
        info.pt = p;
        EXPECT_EQ(reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))), item) << what;
        EXPECT_EQ(info.hItem, item) << what;
        EXPECT_EQ(info.flags, flags) << what;
    };
    const UINT column1 = 1u << 24;
    hit(RowPoint(child, 7), child, TVHT_ONITEMINDENT, "a leaf has no button");
    hit(RowPoint(child, indent + 7), child, TVHT_ONITEMINDENT, "the indent of a child");
    hit(RowPoint(parent, indent + 3), parent, TVHT_ONITEMLABEL, "the label");
    hit(RowPoint(parent, 140), parent, TVHT_ONITEMRIGHT, "right of the label");
    hit(RowPoint(parent, 152), parent, column1 | TVHT_ONSUBLABEL, "the cell's text");
    hit(RowPoint(parent, 240), parent, column1 | TVHT_ONSUBRIGHT, "right of the cell's text");
    hit(RowPoint(child, 240), child, column1 | TVHT_ONSUBLABEL, "an empty cell is all text");
    hit(RowPoint(parent, 280), parent, TVHT_BEYONDCOLUMNS, "beyond the columns");
    hit(POINT{ 10, 2 }, nullptr, TVHT_ABOVE, "on the header");
    hit(POINT{ 10, 500 }, nullptr, TVHT_BELOW, "below");
    hit(POINT{ -1, 30 }, nullptr, TVHT_TOLEFT, "left");
    hit(POINT{ 300, 30 }, nullptr, TVHT_TORIGHT, "right");
    hit(POINT{ 10, HeaderHeight() + 5 * RowHeight() }, nullptr, TVHT_NOWHERE, "below the last row");

    velutils::ImageListHandle images(ImageList_Create(16, 16, ILC_COLOR24, 1, 0));
    TVITEMA image = ItemOf(parent, TVIF_IMAGE);
    image.iImage = 0;
    Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&image));
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images.Get()));
    hit(RowPoint(parent, indent + 3), parent, TVHT_ONITEMICON, "the image");
    hit(RowPoint(parent, indent + 18), parent, TVHT_ONITEMLABEL, "the label after the image");
    EXPECT_EQ(Send(TVM_SETIMAGELIST, TVSIL_NORMAL, 0), reinterpret_cast<LRESULT>(images.Get())) << "handed back";
}

TEST_F(TreeListTest, VerticalScrollingIsClampedAndFollowsTheWheel)
{
    for (int i = 0; i < 50; ++i)
        Insert("row");
    int fit = static_cast<int>(Send(TVM_GETVISIBLECOUNT));
    Send(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(FirstVisibleRow(), 50 - fit) << "the last row at the bottom";
    Send(WM_VSCROLL, SB_LINEDOWN);
    Send(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(FirstVisibleRow(), 50 - fit + 1) << "no further than the end";
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120));
    EXPECT_EQ(FirstVisibleRow(), 50 - fit - 1) << "two rows per notch";
    Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 120));
    EXPECT_EQ(FirstVisibleRow(), 50 - fit - 1) << "ignored with a modifier";
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-59)));
    EXPECT_EQ(FirstVisibleRow(), 50 - fit - 1) << "less than a row";
    Send(WM_VSCROLL, SB_TOP);
    Send(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(FirstVisibleRow(), 0);
    Send(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(FirstVisibleRow(), fit - 1);
    EXPECT_TRUE(Send(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, Ptr(RowItem(10))));
    EXPECT_EQ(FirstVisibleRow(), 10);
    HTREEITEM deep = Insert("deep", RowItem(49));
    EXPECT_TRUE(Send(TVM_ENSUREVISIBLE, 0, Ptr(deep)));
    EXPECT_EQ(FirstVisibleRow(), 51 - fit) << "its parent opened, scrolled no further than needed";
}

TEST_F(TreeListTest, ThumbTrackingReachesRowsBeyondSixteenBits)
{
    Make(WS_VSCROLL, 300, 200);
    for (int i = 0; i < 70000; ++i)
        Insert("r");
    UpdateWindow(m_tree);
    // The track position comes from the scroll bar itself; the message carries 16 bits.
    SCROLLINFO si = { sizeof(si), SIF_POS, 0, 0, 0, 69000, 0 };
    SetScrollInfo(m_tree, SB_VERT, &si, FALSE);
    Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(69000)));
    EXPECT_EQ(FirstVisibleRow(), 69000);
}

TEST_F(TreeListTest, DragImagesOfItemsAndCells)
{
    AddColumn("a", 100);
    AddColumn("b", 100);
    HTREEITEM item = Insert(std::string(100, 'W').c_str());
    velutils::ImageListHandle missing(reinterpret_cast<HIMAGELIST>(Send(TVM_CREATEDRAGIMAGE, 1, Ptr(item))));
    EXPECT_TRUE(missing) << "a cell without a record shows as ????";
    EXPECT_EQ(Send(TVM_CREATEDRAGIMAGE, 2, Ptr(item)), 0);
    EXPECT_EQ(Send(TVM_CREATEDRAGIMAGE, 0, 555), 0);
}

class TreeListPaintTest : public TreeListTest {
protected:
    void Render() { m_pixels = TreeListTest::Render(); }
    int RowY(int row) const { return HeaderHeight() + row * RowHeight() + 1; }
    COLORREF Pixel(int x, int y) const
    {
        RECT client = {};
        GetClientRect(m_tree, &client);
        COLORREF p = m_pixels.at(static_cast<size_t>(y * client.right + x));   // 0x00RRGGBB
        return RGB(GetBValue(p), GetGValue(p), GetRValue(p));
    }

    std::vector<COLORREF> m_pixels;
};

TEST_F(TreeListPaintTest, RowBackgroundsAlternationSelectionAndCellColours)
{
    Make(0x1005, 300, 200);
    Send(TVM_SETEXTENDEDSTYLE, 0, TVS_EX_FULLROWSELECT_TL);
    AddColumn("Tulajdonság", 150);
    AddColumn("Érték", 150);
    HTREEITEM a = Insert("a");
    HTREEITEM b = Insert("b");
    HTREEITEM c = Insert("c");
    SetText(a, 1, "1");
    Send(TVM_SETCELLBKCOLOR, TVCELL(c, 1), RGB(0xDC, 0xF0, 0xDC));
    Select(b);
    Render();
    COLORREF window = static_cast<COLORREF>(Send(TVM_GETCOLOR, TVC_BK));
    COLORREF mark = static_cast<COLORREF>(Send(TVM_GETCOLOR, TVC_MARK));
    EXPECT_EQ(Pixel(295, RowY(0)), window);
    EXPECT_EQ(Pixel(140, RowY(1)), mark) << "selected row, column 0";
    EXPECT_EQ(Pixel(290, RowY(1)), mark) << "selected row, column 1";
    EXPECT_EQ(Pixel(290, RowY(2)), RGB(0xDC, 0xF0, 0xDC)) << "the cell's own background";
    EXPECT_EQ(Pixel(140, RowY(2)), window) << "only that cell";
    EXPECT_EQ(Pixel(10, RowY(6)), window) << "below the last row";

    Send(TVM_SETEXTENDEDSTYLE, 0, TVS_EX_ALTERNATEROWS_TL | TVS_EX_FULLROWSELECT_TL);
    Send(TVM_SETCOLOR, TVC_ODD, RGB(200, 10, 10));
    Send(TVM_SETCOLOR, TVC_EVEN, RGB(10, 200, 10));
    Select(c);
    Render();
    EXPECT_EQ(Pixel(140, RowY(0)), RGB(10, 200, 10)) << "alternating: even rows take colour 2";
    EXPECT_EQ(Pixel(140, RowY(1)), RGB(200, 10, 10)) << "odd rows colour 1";
    EXPECT_EQ(Pixel(140, RowY(2)), static_cast<COLORREF>(Send(TVM_GETCOLOR, TVC_MARKEVEN)))
        << "a selected even row takes colour 9";
}

TEST_F(TreeListPaintTest, ExpandButtonAndLabelAreDrawn)
{
    HTREEITEM parent = Insert("Parent with text");
    Insert("child", parent);
    Send(TVM_SETCOLOR, TVC_LINE, RGB(0, 0, 0));
    Render();
    int middle = HeaderHeight() + RowHeight() / 2;
    EXPECT_EQ(Pixel(7, middle), RGB(0, 0, 0)) << "the minus/plus bar of the button";
    EXPECT_EQ(Pixel(7, middle - 2), RGB(0, 0, 0)) << "collapsed: plus";
    bool ink = false;
    for (int x = 22; x < 100 && !ink; ++x)
        for (int y = HeaderHeight(); y < HeaderHeight() + RowHeight() && !ink; ++y)
            ink = Pixel(x, y) != static_cast<COLORREF>(Send(TVM_GETCOLOR, 0));
    EXPECT_TRUE(ink) << "the label's text";
    Expand(parent, TVE_EXPAND);
    Render();
    EXPECT_NE(Pixel(7, middle - 2), RGB(0, 0, 0)) << "expanded: minus";
}

TEST_F(TreeListPaintTest, DisabledControlLeavesTheColourSlotsAlone)
{
    Send(TVM_SETEXTENDEDSTYLE, 0, TVS_EX_GRIDLINES_TL);
    AddColumn("name", 150);
    AddColumn("value", 100);
    HTREEITEM parent = Insert("parent");
    Insert("child", parent);
    Select(parent);
    SetFocus(m_parent);
    const COLORREF marks[] = { RGB(250, 0, 0), RGB(0, 250, 0), RGB(0, 0, 250), RGB(250, 0, 250) };
    const int slots[] = { TVC_FRAME, TVC_LINE, TVC_BOX, TVC_BK };
    for (int i = 0; i < 4; ++i)
        Send(TVM_SETCOLOR, static_cast<WPARAM>(slots[i]), static_cast<LPARAM>(marks[i]));
    auto shown = [&](COLORREF mark) {
        for (int y = HeaderHeight(); y < HeaderHeight() + 2 * RowHeight(); ++y)
            for (int x = 0; x < 250; ++x)
                if (Pixel(x, y) == mark)
                    return true;
        return false;
    };
    Render();
    for (COLORREF mark : marks)
        ASSERT_TRUE(shown(mark)) << "enabled, every slot shows: " << std::hex << mark;
    EnableWindow(m_tree, FALSE);
    Render();
    for (COLORREF mark : marks)
        EXPECT_FALSE(shown(mark)) << std::hex << mark;
}

TEST_F(TreeListTest, WhatTheControlOwnsGoesWithItAndNothingElse)
{
    HWND own = reinterpret_cast<HWND>(Send(TVM_GETTOOLTIPS));
    ASSERT_NE(own, nullptr);
    HWND given = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, m_parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(Send(TVM_SETTOOLTIPS, reinterpret_cast<WPARAM>(given))), own);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    DestroyWindow(m_tree);
    m_tree = nullptr;
    EXPECT_TRUE(IsWindow(own)) << "handed back: the caller's";
    EXPECT_FALSE(IsWindow(given)) << "handed in: the control's";
    EXPECT_FALSE(ImageList_Destroy(images)) << "the normal image list went with the control";
    DestroyWindow(own);
}

TEST_F(TreeListTest, WideTextsAndLowWindows)
{
    HTREEITEM wideItem = Insert(std::string(9000, 'W').c_str());
    RECT r;
    ASSERT_TRUE(ItemRect(wideItem, TRUE, r));
    EXPECT_GT(r.right - r.left, 0xFFFF) << "widths beyond 16 bits";

    Make(TVS_HASBUTTONS, 300, 10);
    AddColumn("taller than the control", 100);
    EXPECT_EQ(Send(TVM_GETVISIBLECOUNT), 0);
}

TEST_F(TreeListTest, ItemRectanglesAndColumnWidthsFromTheHeader)
{
    AddColumn("name", 100);
    AddColumn("value", 100);
    HTREEITEM a = Insert("a");
    HTREEITEM b = Insert("a rather longer label than the column");
    RECT row, text, none;
    ASSERT_TRUE(ItemRect(a, FALSE, row));
    EXPECT_EQ(row.top, HeaderHeight());
    EXPECT_EQ(row.bottom - row.top, RowHeight());
    ASSERT_TRUE(ItemRect(b, TRUE, text));
    EXPECT_EQ(text.top, HeaderHeight() + RowHeight());
    EXPECT_EQ(text.left, Send(TVM_GETINDENT)) << "a top-level label one indent in, with lines at root";
    EXPECT_GT(text.right, 100) << "wider than its column";
    EXPECT_FALSE(ItemRect(reinterpret_cast<HTREEITEM>(77), FALSE, none));

    HeaderNotify(HDN_TRACKA, 0, 60);
    EXPECT_EQ(ColumnWidth(0), 60);
    TVHITTESTINFO hit = {};
    hit.pt = { 70, HeaderHeight() + 1 };
    Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags >> 24, 1u) << "column 1 starts where column 0 now ends";
    SetFocus(m_parent);
    Clear();
    HeaderNotify(HDN_ENDTRACKA, 0, 80);
    EXPECT_EQ(GetFocus(), m_tree) << "the control takes the focus back";
    HeaderNotify(HDN_DIVIDERDBLCLICKA, 0);
    EXPECT_GE(ColumnWidth(0), text.right) << "the longest label fits";
    SetFocus(m_parent);
    EXPECT_EQ(NoteCodes({ NM_SETFOCUS, NM_KILLFOCUS }), (Codes{ NM_SETFOCUS, NM_KILLFOCUS }));
}
