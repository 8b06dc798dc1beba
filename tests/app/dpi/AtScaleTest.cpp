// Each screen scale in a process of its own, as Wine reads the DPI (the registry's
// LogPixels) when a process starts: ScaledRuns starts this program again at 96, 120, 144
// and 192 DPI to run the AtScale tests there, where the control window, the login dialog
// and the message box after a wrong password show every text whole at the sizes of that DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "res/resource.h"
#include "tests/app/dpi/ScaleTable.h"
#include "tests/app/dpi/ScaledWindow.h"
#include "tests/utils/TextFit.h"
#include "utils/DpiScale.h"

namespace {

std::pair<int, int> SizeOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return { r.right - r.left, r.bottom - r.top };
}

class AtScale : public ::testing::Test {
protected:
    void SetUp() override
    {
        scale = ScaledRun::RowOfThisRun(kScales);
        if (!scale)
            GTEST_SKIP() << "run by ScaledRuns, at the DPI it starts the run with";
        ASSERT_EQ(scale->dpi, velutils::DpiScale::OfSystem().Dpi()) << "the process runs at the DPI of its run";
        window = std::make_unique<ScaledWindow>();
        ASSERT_TRUE(window->ServerStarted());
    }

    const Scale* scale = nullptr;
    std::unique_ptr<ScaledWindow> window;
};

}  // namespace

TEST_F(AtScale, ControlWindowTreeAndIconsFollowTheDpi)
{
    TestDlg& dlg = window->Dlg();
    // The versions and the parameters open: the longest labels.
    dlg.RunOnUi([&] {
        dlg.m_tree.Expand(dlg.m_hVersionRoot, TVE_EXPAND);
        dlg.m_tree.Expand(dlg.m_tree.GetPrevSiblingItem(dlg.m_params.DatabasesRoot()), TVE_EXPAND);
    });
    EXPECT_EQ(std::make_pair(scale->fontHeight, scale->fontWidth), window->TreeFont());
    EXPECT_EQ((std::vector<int>{ scale->propertyColumn, scale->valueColumn }), window->ColumnWidths());
    EXPECT_EQ((std::vector<std::string>{ "Tulajdonság", "Érték" }), window->Headings());
    const std::vector<std::string> cut = window->CutLabels();
    if (scale->dpi == 96) {
        EXPECT_EQ(kCutAt96, cut);
    }
    for (const std::string& label : cut)
        EXPECT_NE(kCutAt96.end(), std::find(kCutAt96.begin(), kCutAt96.end(), label)) << label;

    EXPECT_EQ(std::make_pair(scale->bigIcon, scale->smallIcon), window->WindowIconSides());
    HICON tray = dlg.ReadOnUi<HICON>([&] { return dlg.m_hIconCurrent; });
    EXPECT_EQ(std::make_pair(scale->smallIcon, true), ScaledWindow::IconOf(tray));
}

TEST_F(AtScale, LoginAndWrongPasswordBoxShowEveryTextWhole)
{
    ControlWindowDriver& catalog = window->Window();
    catalog.PressRight(catalog.Modules("proba"));
    HWND login = catalog.WaitForLogin();
    ASSERT_TRUE(login);
    for (HWND control = GetWindow(login, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        EXPECT_TRUE(FitsItsControl(control));

    ASSERT_TRUE(catalog.AnswerLogin("admin", "rossz"));
    const DWORD thread = GetWindowThreadProcessId(window->Hwnd(), nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindThreadWindow(thread, nullptr, "")) != nullptr; }));
    EXPECT_EQ(std::vector<std::string>{ "Nem megfelelő jelszó!" }, EditLines(GetDlgItem(box, IDC_VELMSGBOX_DETAIL)));
    EXPECT_TRUE(ShowsWhole(GetDlgItem(box, IDC_VELMSGBOX_DETAIL)));
    EXPECT_TRUE(ShowsWhole(GetDlgItem(box, IDC_VELMSGBOX_TEXT)));
    EXPECT_TRUE(FitsItsControl(GetDlgItem(box, IDOK)));
    EXPECT_EQ(std::make_pair(scale->buttonWidth, scale->buttonHeight), SizeOf(GetDlgItem(box, IDOK)));
    EXPECT_EQ(scale->bigIcon, SizeOf(GetDlgItem(box, IDC_VELMSGBOX_ICON)).first);

    // OK, and the dialog asks again: cancelled.
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND again = catalog.WaitForLogin();
    ASSERT_TRUE(again);
    PostMessageA(again, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(again); }));
    catalog.WaitIdle();
}

TEST(ScaledRuns, EachDpiShowsEveryTextWholeAtItsSizes)
{
    const std::set<std::string> tests = { "AtScale.ControlWindowTreeAndIconsFollowTheDpi",
                                          "AtScale.LoginAndWrongPasswordBoxShowEveryTextWhole" };
    for (const Scale& scale : kScales)
        ScaledRun::Start(scale.dpi, "AtScale.*").ExpectRan(scale.dpi, tests);
}
