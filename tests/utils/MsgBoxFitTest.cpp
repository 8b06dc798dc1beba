// The message box shows its texts whole: measured word-wrapped, grown up to the work
// area, the detail scrolling past it, and laid out again at a new DPI.
#include <gtest/gtest.h>

#include <string>

#include "ModalBoxAnswerer.h"
#include "TextFit.h"
#include "res/resource.h"
#include "utils/UniqueHandle.h"
#include "utils/VelMsgBox.h"

using velutils::_FontInf;
using velutils::_TextInfo;

namespace {

HMODULE TemplateDll()
{
    static velutils::ModuleHandle dll(LoadLibraryA("velmsgbox_template.dll"));   // beside the test program
    return dll.Get();
}

std::pair<LONG, LONG> SizeOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return { r.right - r.left, r.bottom - r.top };
}

LONG FontHeight(HWND window)
{
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

void ExpectTextsWhole(HWND box)
{
    EXPECT_TRUE(ShowsWhole(GetDlgItem(box, IDC_VELMSGBOX_TEXT)));
    EXPECT_TRUE(ShowsWhole(GetDlgItem(box, IDC_VELMSGBOX_DETAIL)));
    EXPECT_TRUE(FitsItsControl(GetDlgItem(box, IDOK)));
}

class MessageBoxTexts : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, TemplateDll()) << "velmsgbox_template.dll beside the tests"; }
    velutils::VelMsgBox box{ TemplateDll() };
};

}  // namespace

TEST_F(MessageBoxTexts, LongTextsWrapBetweenWordsAndATallDetailScrollsInsideTheWorkArea)
{
    std::string text, detail;
    for (int i = 0; i < 12; ++i)
        text += "A kiszolgáló nem válaszolt időben, a művelet megszakadt. ";
    for (int i = 0; i < 300; ++i)
        detail += "sor " + std::to_string(i) + ": a részletek egy sora\n";
    ModalBoxAnswerer answer("Hosszú", IDOK, [](HWND dlg) {
        ExpectTextsWhole(dlg);
        EXPECT_GT(EditLines(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT)).size(), 1u);
        MONITORINFO monitor = { sizeof monitor, {}, {}, 0 };
        GetMonitorInfoA(MonitorFromWindow(dlg, MONITOR_DEFAULTTONEAREST), &monitor);
        RECT box = {}, inside = {};
        GetWindowRect(dlg, &box);
        IntersectRect(&inside, &box, &monitor.rcWork);
        EXPECT_TRUE(EqualRect(&inside, &box)) << "the box stays inside the work area";
        const LONG_PTR detailStyle = GetWindowLongPtrA(GetDlgItem(dlg, IDC_VELMSGBOX_DETAIL), GWL_STYLE);
        EXPECT_TRUE(detailStyle & WS_VSCROLL) << "the detail scrolls";
        EXPECT_TRUE(detailStyle & WS_TABSTOP) << "and the keyboard reaches it";
    });
    _FontInf emphasis("", 14, _FontInf::Bold, RGB(164, 0, 0), _FontInf::KeepCharSet);
    box.Show(nullptr, "Hosszú", _TextInfo(text, emphasis), _TextInfo(detail), MB_OK | MB_ICONHAND);
    EXPECT_TRUE(answer.Answered());
}

// Windows tells the box when it moves to a monitor of another DPI: margins, buttons,
// icon and fonts follow.
TEST_F(MessageBoxTexts, FollowADpiChange)
{
    ModalBoxAnswerer answer("Nagyítás", IDOK, [](HWND dlg) {
        EXPECT_EQ((std::pair<LONG, LONG>(75, 25)), SizeOf(GetDlgItem(dlg, IDOK)));
        EXPECT_EQ(-MulDiv(14, 96, 72), FontHeight(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT)));
        RECT suggested = {};
        GetWindowRect(dlg, &suggested);
        OffsetRect(&suggested, -20, -10);
        SendMessageA(dlg, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        RECT now = {};
        GetWindowRect(dlg, &now);
        EXPECT_EQ(suggested.left, now.left) << "the box goes where Windows suggested";
        EXPECT_EQ(suggested.top, now.top);
        EXPECT_EQ((std::pair<LONG, LONG>(150, 50)), SizeOf(GetDlgItem(dlg, IDOK)));
        EXPECT_EQ(64, SizeOf(GetDlgItem(dlg, IDC_VELMSGBOX_ICON)).first);
        EXPECT_EQ(-MulDiv(14, 192, 72), FontHeight(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT)));
        ExpectTextsWhole(dlg);
    });
    _FontInf emphasis("", 14, _FontInf::Bold, RGB(164, 0, 0), _FontInf::KeepCharSet);
    box.Show(nullptr, "Nagyítás", _TextInfo("Hiba történt a mentés közben", emphasis),
             _TextInfo("ErrCode:\t10059\nfile\tconfig/VelServerConfig.cpp"), MB_OK | MB_ICONHAND);
    EXPECT_TRUE(answer.Answered());
}
