// The message box shows its texts whole: measured word-wrapped, grown up to the work
// area, the detail scrolling past it, and laid out again at a new DPI.
#include <gtest/gtest.h>

#include <string>

#include "ModalBoxAnswerer.h"
#include "TextFit.h"
#include "res/resource.h"
#include "utils/DpiScale.h"
#include "utils/UniqueHandle.h"
#include "utils/VelMsgBox.h"

using velutils::_FontInf;
using velutils::_TextInfo;

namespace {

HMODULE TemplateDll()
{
    static velutils::ModuleHandle dll = [] {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string dir(path);
        dir.erase(dir.find_last_of('\\') + 1);
        return velutils::ModuleHandle(LoadLibraryA((dir + "velmsgbox_template.dll").c_str()));
    }();
    return dll.Get();
}

SIZE SizeOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return SIZE{ r.right - r.left, r.bottom - r.top };
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

RECT WorkArea(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
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
    size_t textLines = 0;
    LONG_PTR detailStyle = 0;
    bool inside = false;
    ModalBoxAnswerer answer("Hosszú", IDOK, [&](HWND dlg) {
        ExpectTextsWhole(dlg);
        textLines = EditLines(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT)).size();
        detailStyle = GetWindowLongPtrA(GetDlgItem(dlg, IDC_VELMSGBOX_DETAIL), GWL_STYLE);
        RECT rect = {};
        GetWindowRect(dlg, &rect);
        inside = Inside(rect, WorkArea(dlg));
    });
    _FontInf emphasis("", 14, _FontInf::Bold, RGB(164, 0, 0), _FontInf::KeepCharSet);
    box.Show(nullptr, "Hosszú", _TextInfo(text, emphasis), _TextInfo(detail), MB_OK | MB_ICONHAND);
    EXPECT_GT(textLines, 1u);
    EXPECT_TRUE(inside);
    EXPECT_TRUE(detailStyle & WS_VSCROLL) << "the detail scrolls";
    EXPECT_TRUE(detailStyle & WS_TABSTOP) << "and the keyboard reaches it";
}

// Windows tells the box when it moves to a monitor of another DPI: margins, buttons,
// icon and fonts follow.
TEST_F(MessageBoxTexts, FollowADpiChange)
{
    SIZE button96 = {}, button192 = {}, icon192 = {};
    POINT wanted = {}, got = {};      // where Windows suggested the box, and where it went
    LOGFONTA text96 = {}, text192 = {};
    auto fontOf = [](HWND window) {
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font;
    };
    ModalBoxAnswerer answer("Nagyítás", IDOK, [&](HWND dlg) {
        button96 = SizeOf(GetDlgItem(dlg, IDOK));
        text96 = fontOf(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT));
        RECT suggested = {};
        GetWindowRect(dlg, &suggested);
        OffsetRect(&suggested, -20, -10);
        SendMessageA(dlg, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        wanted = POINT{ suggested.left, suggested.top };
        RECT now = {};
        GetWindowRect(dlg, &now);
        got = POINT{ now.left, now.top };
        button192 = SizeOf(GetDlgItem(dlg, IDOK));
        icon192 = SizeOf(GetDlgItem(dlg, IDC_VELMSGBOX_ICON));
        text192 = fontOf(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT));
        ExpectTextsWhole(dlg);
    });
    _FontInf emphasis("", 14, _FontInf::Bold, RGB(164, 0, 0), _FontInf::KeepCharSet);
    box.Show(nullptr, "Nagyítás", _TextInfo("Hiba történt a mentés közben", emphasis),
             _TextInfo("ErrCode:\t10059\nfile\tconfig/VelServerConfig.cpp"), MB_OK | MB_ICONHAND);
    EXPECT_EQ(75, button96.cx);
    EXPECT_EQ(25, button96.cy);
    EXPECT_EQ(wanted.x, got.x);
    EXPECT_EQ(wanted.y, got.y);
    EXPECT_EQ(150, button192.cx);
    EXPECT_EQ(50, button192.cy);
    EXPECT_EQ(64, icon192.cx);
    EXPECT_EQ(-MulDiv(14, 192, 72), text192.lfHeight);
    EXPECT_EQ(-MulDiv(14, 96, 72), text96.lfHeight);
}
