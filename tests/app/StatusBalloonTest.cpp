// Tray balloons while the program polls the real service: a word when the server stops or comes
// back on its own, none for the program's own commands or at start-up.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "res/resource.h"
#include "tests/app/AppTestSupport.h"

namespace {

const char kStoppedText[] =
    "A veldbsrv szolgáltatás leállt, nem ennek a programnak a parancsára. Az adatbázisok nem érhetők el.";
const char kRunningText[] = "A veldbsrv szolgáltatás ismét fut.";

class StatusBalloon : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(service.Install(StandinServicePath()));
        ASSERT_TRUE(service.Start());
        ASSERT_TRUE(service.WaitForState(SERVICE_RUNNING));
        runner = std::make_unique<DialogRunner>(true);
        // The timer shows the status within about a second.
        ASSERT_TRUE(WaitForTip("\nA kiszolgáló fut", 2500));
    }

    TestDlg& Dlg() { return runner->Dlg(); }
    int Balloons() { return Dlg().ReadOnUi<int>([&] { return Dlg().m_tray.BalloonCount(); }); }
    std::string BalloonText() { return Dlg().ReadOnUi<std::string>([&] { return Dlg().m_tray.BalloonText(); }); }
    DWORD BalloonFlags() { return Dlg().ReadOnUi<DWORD>([&] { return Dlg().m_tray.BalloonFlags(); }); }

    bool WaitForTip(const std::string& status, DWORD timeoutMs = 5000)
    {
        std::string tip = "veldbsrv control client" + status;
        return WaitFor([&] { return Dlg().Tip() == tip; }, timeoutMs);
    }

    // Two more ticks: time for a balloon that should not come.
    void LetItPoll() { Sleep(2200); }

    ServiceFixture service;
    std::unique_ptr<DialogRunner> runner;
};

// The server's own changes are told even right after the program's commands.
TEST_F(StatusBalloon, NoneForTheProgramsOwnCommandsAndOneForEachChangeFromOutside)
{
    runner->Command(ID_SERVER_STOP);
    ASSERT_TRUE(WaitForTip("\nA kiszolgáló áll"));
    runner->Command(ID_SERVER_START);
    ASSERT_TRUE(WaitForTip("\nA kiszolgáló fut"));
    runner->Command(ID_SERVER_RESTART);
    LetItPoll();
    EXPECT_TRUE(WaitForTip("\nA kiszolgáló fut"));
    EXPECT_EQ(0, Balloons());

    ASSERT_TRUE(service.Stop());
    ASSERT_TRUE(WaitFor([&] { return Balloons() == 1; }));
    EXPECT_EQ(kStoppedText, BalloonText());
    EXPECT_EQ(DWORD(NIIF_WARNING), BalloonFlags());

    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(WaitFor([&] { return Balloons() == 2; }));
    EXPECT_EQ(kRunningText, BalloonText());
    EXPECT_EQ(DWORD(NIIF_INFO), BalloonFlags());

    service.Remove();                                   // stopped and deleted: unavailable
    ASSERT_TRUE(WaitForTip("\nA szolgáltatás nem elérhető"));
    LetItPoll();
    EXPECT_EQ(3, Balloons());
    EXPECT_EQ(DWORD(NIIF_WARNING), BalloonFlags());
}

}  // namespace
