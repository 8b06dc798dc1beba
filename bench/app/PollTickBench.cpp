// The cost of one status poll tick of the control window (its timer message), with the
// server service running and not installed, and where the time goes: the median of 15
// runs of 100 ticks each, as milliseconds per tick, with the lowest and highest run.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "app/ServiceControl.h"
#include "bench/Spread.h"
#include "tests/app/AppTestSupport.h"

namespace {

const int kRuns = 15;
const int kTicksPerRun = 100;

// Times `work` on the control window's own thread.
void Report(const char* what, DialogRunner& runner, const std::function<void()>& work)
{
    std::vector<double> runs;
    runner.Dlg().RunOnUi([&] {
        work();   // first-use costs out of the way
        for (int run = 0; run < kRuns; ++run) {
            double start = NowMs();
            for (int i = 0; i < kTicksPerRun; ++i)
                work();
            runs.push_back((NowMs() - start) / kTicksPerRun);
        }
    });
    printf("%-30s", what);
    Spread::Of(runs).Print("%.3f");
    printf("\n");
}

}  // namespace

int main()
{
    ServiceFixture service;
    if (!service.Install(StandinServicePath()) || !service.Start() || !service.WaitForState(SERVICE_RUNNING)) {
        fprintf(stderr, "the stand-in service did not start\n");
        return 1;
    }
    DialogRunner runner;
    TestDlg& dlg = runner.Dlg();
    auto tick = [&] { dlg.SendMessage(WM_TIMER, CVelDbCtrlDlg::STATUS_TIMER_ID, 0); };
    printf("ms per tick: median of %d runs of %d ticks (lowest..highest run)\n", kRuns, kTicksPerRun);
    Report("poll tick, service running", runner, tick);
    Report("  status query alone", runner, [] { ServiceControl::QueryStatus("veldbsrv"); });
    Report("  icon modify alone", runner, [&] {
        dlg.m_tray.Notify(TrayIcon::Modify, dlg.m_tray.Tip(), dlg.m_hIconCurrent);
    });
    service.Remove();
    Report("poll tick, not installed", runner, tick);
    return 0;
}
