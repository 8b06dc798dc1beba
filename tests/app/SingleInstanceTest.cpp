// Two real copies of veldbctrl.exe in one session: the second shows the first one's window and ends.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/app/ControlWindowDriver.h"
#include "tests/catalog/ClientSettingsKey.h"

namespace {

std::string Program() { return "\"" + BuildDirectory() + "veldbctrl.exe\""; }

TEST(SingleInstance, SecondStartOpensTheFirstWindowAndEnds)
{
    ProgramProcess first;
    ASSERT_TRUE(first.Start(Program()));
    HWND window = first.WaitInTray();
    ASSERT_TRUE(window);

    ProgramProcess second;
    ASSERT_TRUE(second.Start(Program()));
    ASSERT_TRUE(second.WaitEnded());
    EXPECT_EQ(0u, second.ExitCode());
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_FALSE(TrayIconExists(window));        // the icon gives way to the window
    EXPECT_TRUE(first.Exit());                   // it still runs
}

// A second start while the window is open, also during a login, brings the window
// forward and leaves the tree as it is: the databases are not listed again.
TEST(SingleInstance, SecondStartWithTheWindowOpenKeepsTheTree)
{
    ClientSettingsKey settings("KONYVELES", "veldbsrv");
    ControlWindowDriver window({ "konyveles", "raktar" });
    for (int start = 0; start < 3; ++start)
        window.SecondStart();
    window.WaitPosted();
    EXPECT_EQ(2u, window.Children(window.DatabasesRoot()).size());
    HTREEITEM modules = window.Modules("konyveles");
    window.PressRight(modules);
    ASSERT_TRUE(window.WaitForLogin());
    window.SecondStart();
    window.WaitPosted();
    ASSERT_TRUE(window.AnswerLogin("", "", "", false));
    EXPECT_EQ(2u, window.Children(window.DatabasesRoot()).size());
    EXPECT_EQ(modules, window.Modules("konyveles"));
    EXPECT_TRUE(IsWindowVisible(window.Dlg().GetSafeHwnd()));
}

}  // namespace
