// The control window's life, its tray icon and menu, and its status poll, with the
// window run modally on its own thread as the program runs it.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <tuple>

#include "res/resource.h"
#include "tests/app/AppTestSupport.h"

namespace {

const char kBaseTip[] = "veldbsrv control client";

class ControlWindow : public ::testing::Test {
protected:
    TestDlg& Dlg() { return runner.Dlg(); }
    HWND Hwnd() { return runner.Hwnd(); }
    bool Visible() { return IsWindowVisible(Hwnd()) != FALSE; }
    // By the program's account, and as the shell has it.
    bool IconShown() { return Dlg().IconShown() && TrayIconExists(Hwnd()); }

    // The tip's status line, the icon, and the start, stop and restart items greyed (G)
    // or enabled (-).
    void ExpectStatus(const char* line, HICON icon, const char* items)
    {
        EXPECT_EQ(std::string(kBaseTip) + line, Dlg().Tip());
        EXPECT_EQ(icon, Dlg().ReadOnUi<HICON>([&] { return Dlg().m_hIconCurrent; })) << line;
        const UINT ids[] = { ID_SERVER_START, ID_SERVER_STOP, ID_SERVER_RESTART };
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(items[i] == 'G' ? UINT(MF_GRAYED) : 0u,
                      Dlg().m_menu.GetMenuState(ids[i], MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) << line << i;
    }

    void Poll() { runner.Tick(); }

    ServiceFixture service;   // removed once the window has gone
    DialogRunner runner;
};

TEST_F(ControlWindow, PollFollowsTheService)
{
    for (UINT id : { ID_SERVER_START, ID_SERVER_STOP, ID_SERVER_RESTART })
        Dlg().m_menu.EnableMenuItem(id, MF_GRAYED);
    Poll();   // without the service the menu keeps its last state
    ExpectStatus("\nA szolgáltatás nem elérhető", Dlg().m_hIconUnavailable, "GGG");

    ASSERT_TRUE(service.Install(StandinServicePath()));
    Poll();
    ExpectStatus("\nA kiszolgáló áll", Dlg().m_hIconStopped, "-GG");

    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(service.WaitForState(SERVICE_RUNNING));
    Poll();
    ExpectStatus("\nA kiszolgáló fut", Dlg().m_hIconRunning, "G--");

    // Start pending counts as stopped.
    ASSERT_TRUE(service.Install(StandinServicePath() + " --start-pending"));
    service.Start();
    ASSERT_TRUE(service.WaitForState(SERVICE_START_PENDING));
    Poll();
    ExpectStatus("\nA kiszolgáló áll", Dlg().m_hIconStopped, "-GG");
}

// Without a process of the server's name the stop is not even sent.
TEST_F(ControlWindow, FailedStopOfARestartIsShownInTheProgramsBox)
{
    ShownErrors shown;
    ASSERT_TRUE(service.Install(ServiceFixture::CopyOfStandin("othersrv.exe")));
    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(service.WaitForState(SERVICE_RUNNING));

    runner.Command(ID_SERVER_RESTART);
    std::vector<ShownError> errors = shown.Take();
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].mainText.find("(veldbsrv.exe)")) << errors[0].mainText;
    EXPECT_EQ(0u, errors[0].detail.find("Additional datas:\r\nErrCode:\t2\r\nfile\tapp/ServiceControl.cpp\r\n"
                                        "function\tNULL\r\nline\t")) << errors[0].detail;
    Sleep(300);
    EXPECT_EQ(SERVICE_RUNNING, service.State());
}

// A failure escaping any handler is shown: one of the family in the program's box,
// without an owner and above every window; any other in the system's box. The program
// goes on.
TEST_F(ControlWindow, FailuresEscapingAHandlerAreShownAndTheProgramGoesOn)
{
    ShownErrors shown;
    SendMessageA(Hwnd(), TestDlg::kThrowMessage, 0, 0);
    SendMessageA(Hwnd(), TestDlg::kThrowMessage, 1, 0);
    std::vector<ShownError> errors = shown.Take();
    ASSERT_EQ(2u, errors.size());
    EXPECT_EQ("Error occured:", errors[0].caption);
    EXPECT_EQ("thrown on purpose", errors[0].mainText);
    EXPECT_EQ("Additional datas:\r\nErrCode:\t-1\r\nfile\ttest.cpp\r\nfunction\tOnWndMsg\r\nline\t1",
              errors[0].detail);
    EXPECT_TRUE(errors[0].ownerlessTopmost);
    EXPECT_EQ("Error", errors[1].caption);

    Poll();
    EXPECT_EQ(std::string(kBaseTip) + "\nA szolgáltatás nem elérhető", Dlg().Tip());
    EXPECT_FALSE(runner.Ended());
}

// Only the button's release opens the window, and the poll adds no icon while it is
// open; minimise and close hide it to the tray (the low bits of the command masked).
TEST_F(ControlWindow, LeftClickOpensTheWindowAndMinimiseAndCloseHideIt)
{
    runner.TrayClick(WM_LBUTTONDOWN);
    runner.TrayClick(WM_MOUSEMOVE);
    EXPECT_FALSE(Visible());
    for (WPARAM command : { WPARAM(SC_MINIMIZE), WPARAM(SC_CLOSE | 2) }) {
        runner.TrayClick(WM_LBUTTONUP);
        Poll();
        ASSERT_TRUE(Visible());
        EXPECT_FALSE(TrayIconExists(Hwnd()));
        SendMessageA(Hwnd(), WM_SYSCOMMAND, command, 0);
        EXPECT_FALSE(Visible());
        EXPECT_TRUE(IconShown());
        EXPECT_EQ(kBaseTip, Dlg().Tip());
    }
}

TEST_F(ControlWindow, ExitEndsTheModalRunAndRemovesTheIcon)
{
    runner.Command(ID_EXIT);
    EXPECT_TRUE(runner.WaitEnded());
    EXPECT_FALSE(Dlg().m_tray.IsShown());
}

TEST_F(ControlWindow, RestartedShellGetsTheIconBack)
{
    Poll();
    // The shell forgets the icon, as a restarted shell would.
    NOTIFYICONDATAA data = {};
    data.cbSize = TrayIcon::RecordSize();
    data.hWnd = Hwnd();
    data.uID = TrayIcon::kIconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    SendMessageA(Hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconShown());
    EXPECT_EQ(std::string(kBaseTip) + "\nA szolgáltatás nem elérhető", Dlg().Tip());
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    Poll();                                               // the tick brings it back too
    EXPECT_TRUE(IconShown());
}

// Opened from the menu, the window keeps the icon; a service that is gone leaves the
// server directory as it was.
TEST_F(ControlWindow, EachShowingDerivesTheServerDirectoryAgain)
{
    auto serverDir = [&] { return Dlg().ReadOnUi<std::string>([&] { return Dlg().m_strServerDir; }); };
    ASSERT_TRUE(service.Install("\"C:\\Program Files\\veldb\\veldbsrv.exe\" -x"));
    runner.Command(ID_OPEN_CONTROL);
    EXPECT_TRUE(Visible() && IconShown());
    EXPECT_EQ("C:\\Program Files\\veldb\\", serverDir());
    runner.Hide();
    service.Remove();
    runner.Command(ID_OPEN_CONTROL);
    EXPECT_EQ("C:\\Program Files\\veldb\\", serverDir());
}

TEST_F(ControlWindow, TwoThousandTicksLeakNothing)
{
    // GDI objects, user objects and handles used before 2000 ticks, and after them.
    auto ticks = [&] {
        for (int i = 0; i < 20; ++i)   // first-use allocations out of the way
            Poll();
        ResourceUse before = MeasureResources();
        for (int i = 0; i < 2000; ++i)
            Poll();
        ResourceUse after = MeasureResources();
        EXPECT_EQ(std::make_tuple(before.gdi, before.user, before.handles),
                  std::make_tuple(after.gdi, after.user, after.handles));
    };
    ticks();   // the service unavailable
    ASSERT_TRUE(service.Install(StandinServicePath()));
    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(service.WaitForState(SERVICE_RUNNING));
    ticks();
}

}  // namespace
