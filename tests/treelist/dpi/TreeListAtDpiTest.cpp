// Each screen scale in a process of its own: TreeListScaledRuns starts this program again
// at 96, 120, 144 and 192 DPI to run the TreeListAtDpi tests there: the control's sizes at
// that DPI, and at each other DPI it is told of.
#include "tests/treelist/TreeListFixture.h"

#include <cstdlib>

#include "tests/app/dpi/ScaledRun.h"
#include "utils/DpiScale.h"
#include "utils/UniqueHandle.h"

namespace {

// The sizes at 96 DPI and the same sizes at 120, 144 and 192 DPI, written out.
struct Sizes {
    UINT dpi;
    int indent, checkBox;
    int buttonLeft, buttonSide;     // the expand button's box in a top-level row
    int rowPad, minRowHeight, labelPad, minColumnWidth;
    int dragWidth, editorWidth;     // at most / at least
    int headerHeight;               // the menu bar's, as Wine gives it
};

const Sizes kSizes[] = {
    { 96, 19, 16, 3, 9, 2, 10, 2, 16, 240, 32, 19 },
    { 120, 24, 20, 4, 11, 3, 13, 3, 20, 300, 40, 24 },
    { 144, 29, 24, 5, 14, 3, 15, 3, 24, 360, 48, 28 },
    { 192, 38, 32, 6, 18, 4, 20, 4, 32, 480, 64, 37 },
};

const COLORREF kBoxColour = RGB(1, 2, 3);

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

class TreeListAtDpi : public TreeListTest {
protected:
    void SetUp() override
    {
        at = ScaledRun::RowOfThisRun(kSizes);
        if (!at)
            GTEST_SKIP() << "run by TreeListScaledRuns, at the DPI it starts the run with";
        TreeListTest::SetUp();
        Make(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_CHECKBOXES | TVS_EDITLABELS, 1600, 700);
        AddColumn("Tulajdonság", 100);
        AddColumn("Érték", 100);
        Send(TVM_SETCOLOR, TVC_BOX, kBoxColour);
        const char* labels[] = { "Kiszolgáló helye", "Adatbázisok", "Verzió információk" };
        for (const char* label : labels) {
            HTREEITEM parent = Insert(label);
            SetText(Insert("Kiegészítő modulok", parent), 1, "Mentés, Visszatöltés");
            SetText(Insert("ő", Insert("Párhuzamos kapcsolatok max. száma", parent)), 1, "WWWWWWWW");
            SetText(parent, 1, "C:\\veldb\\bin\\");
        }
        longItem = Insert(std::string(30, 'W').c_str());
        Expand(RowItem(0), TVE_EXPAND);
        Expand(RowItem(2), TVE_EXPAND);
        Select(Insert("a"));
        SetFocus(m_tree);
        m_checkTree = true;
    }

    // The editor of the caret's label, and its width.
    HWND Edit() const { return reinterpret_cast<HWND>(Send(TVM_EDITLABELA, 0, Ptr(Caret()))); }
    static int Width(HWND window)
    {
        RECT r = {};
        GetWindowRect(window, &r);
        return r.right - r.left;
    }

    // Left edge and side of the expand button of the first row, by the colour of its box.
    std::pair<int, int> ButtonBox() const
    {
        RECT client = {};
        GetClientRect(m_tree, &client);
        const std::vector<COLORREF> pixels = Render();
        const int y = HeaderHeight() + RowHeight() / 2;
        int left = -1, right = -1;
        for (int x = 0; x < Send(TVM_GETINDENT); ++x)
            if ((pixels[y * client.right + x] & 0xFFFFFF) == RGB(3, 2, 1)) {   // DIB pixels are BGR
                left = left < 0 ? x : left;
                right = x;
            }
        return { left, right - left + 1 };
    }

    // The columns take their best widths, as after a double click on their dividers.
    void FitColumns() const
    {
        HeaderNotify(HDN_DIVIDERDBLCLICKA, 0);
        HeaderNotify(HDN_DIVIDERDBLCLICKA, 1);
    }

    // Each text of the rows that its cell does not show whole, measured in the tree's font,
    // once the columns took their best widths.
    std::vector<std::string> CutTexts(int pad) const
    {
        FitColumns();
        std::vector<std::string> cut;
        velutils::MemoryDc dc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(dc.Get(), reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc.Get(), &tm);
        const int edges[] = { 0, ColumnWidth(0), ColumnWidth(0) + ColumnWidth(1) };
        for (int row = 0; HTREEITEM item = RowItem(row); ++row) {
            RECT label;
            ItemRect(item, TRUE, label);
            for (int column = 0; column < 2; ++column) {
                const std::string text = Text(item, column);
                SIZE size = {};
                GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
                const int left = column == 0 ? label.left : edges[1];
                if (left + pad + size.cx + pad > edges[column + 1] || tm.tmHeight > RowHeight())
                    cut.push_back(text);
            }
        }
        SelectObject(dc.Get(), old);
        return cut;
    }

    int FontHeight(HWND window) const
    {
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
        return std::abs(font.lfHeight);
    }

    void ExpectSizes(const Sizes& sizes)
    {
        SCOPED_TRACE(std::to_string(sizes.dpi) + " DPI");
        EXPECT_EQ(sizes.indent, Send(TVM_GETINDENT));
        int cx = 0, cy = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(Send(TVM_GETIMAGELIST, TVSIL_STATE)), &cx, &cy);
        EXPECT_EQ(std::make_pair(sizes.checkBox, sizes.checkBox), std::make_pair(cx, cy));
        EXPECT_EQ(sizes.checkBox + sizes.rowPad, RowHeight()) << "the check boxes are the tallest part of a row";
        EXPECT_EQ(std::make_pair(sizes.buttonLeft, sizes.buttonSide), ButtonBox());
        EXPECT_EQ(std::vector<std::string>(), CutTexts(sizes.labelPad));

        HWND header = reinterpret_cast<HWND>(Send(TVM_GETHEADER));
        EXPECT_EQ(Send(WM_GETFONT), SendMessageA(header, WM_GETFONT, 0, 0));
        EXPECT_EQ(sizes.headerHeight, HeaderHeight());
        EXPECT_LT(FontHeight(header), HeaderHeight());

        velutils::ImageListHandle drag(reinterpret_cast<HIMAGELIST>(Send(TVM_CREATEDRAGIMAGE, 0, Ptr(longItem))));
        ImageList_GetIconSize(drag.Get(), &cx, &cy);
        EXPECT_EQ(std::make_pair(sizes.dragWidth, RowHeight()), std::make_pair(cx, cy)) << "a long text's image is cut";

        HWND editor = Edit();
        EXPECT_EQ(sizes.editorWidth, Width(editor)) << "a short text's editor";
        EXPECT_EQ(Send(WM_GETFONT), SendMessageA(editor, WM_GETFONT, 0, 0));
        SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    }

    const Sizes* at = nullptr;
    HTREEITEM longItem = nullptr;
};

}  // namespace

TEST_F(TreeListAtDpi, SizesFollowTheDpiOfTheProcess)
{
    ExpectSizes(*at);

    // An owner's font is measured as it is; without the check boxes the text or the least
    // height makes the row.
    Send(TVM_SETIMAGELIST, TVSIL_STATE, 0);
    velutils::FontHandle tiny(CreateFontA(4, 2, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(tiny.Get()), TRUE);
    EXPECT_EQ(at->minRowHeight, RowHeight());
    velutils::FontHandle big(CreateFontA(40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(big.Get()), TRUE);
    EXPECT_EQ(40 + at->rowPad, RowHeight());
    EXPECT_EQ(std::vector<std::string>(), CutTexts(at->labelPad));

    // A new column beside a fixed one as wide as the control: the least width.
    Make(0, 100, 100);
    AddColumn("a", 100);
    AddColumn("b");
    EXPECT_EQ(at->minColumnWidth, ColumnWidth(1));
}

TEST_F(TreeListAtDpi, ToldOfAnotherDpiItRescalesAndKeepsItsTree)
{
    FitColumns();
    const std::vector<COLORREF> painted = Render();
    HWND header = reinterpret_cast<HWND>(Send(TVM_GETHEADER));
    const int font = FontHeight(header);
    for (const Sizes& other : kSizes) {
        if (&other == at)
            continue;
        HWND editor = Edit();
        Send(WM_DPICHANGED, MAKEWPARAM(other.dpi, other.dpi), 0);
        EXPECT_EQ(other.editorWidth, Width(editor)) << "the open editor follows";
        SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
        ExpectSizes(other);
        EXPECT_NEAR(MulDiv(font, other.dpi, at->dpi), FontHeight(header), 1) << other.dpi;
        // The owner sends its font when it follows the change: the control takes the DPI
        // of its window afresh, here the process's.
        Send(WM_SETFONT, 0, TRUE);
        EXPECT_EQ(at->indent, Send(TVM_GETINDENT));
        FitColumns();
        EXPECT_TRUE(painted == Render()) << "back at " << at->dpi << " from " << other.dpi << " DPI, painted as before";
    }
    // Inside a window of a new DPI (Windows 10 on), the control hears of it after its parent.
    Send(WM_DPICHANGED, MAKEWPARAM(at == kSizes ? 192 : 96, at == kSizes ? 192 : 96), 0);
    Send(WM_DPICHANGED_AFTERPARENT);
    EXPECT_EQ(at->indent, Send(TVM_GETINDENT));
}

TEST(TreeListScaledRuns, EachDpiScalesTheControlAndCutsNoText)
{
    const std::set<std::string> tests = { "TreeListAtDpi.SizesFollowTheDpiOfTheProcess",
                                          "TreeListAtDpi.ToldOfAnotherDpiItRescalesAndKeepsItsTree" };
    for (const Sizes& sizes : kSizes)
        ScaledRun::Start(sizes.dpi, "TreeListAtDpi.*").ExpectRan(sizes.dpi, tests);
}
