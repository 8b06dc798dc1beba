// The cost of one status poll tick of the control window with the server service
// running: median and 99th percentile over 1,000 ticks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/ServiceControl.h"
#include "tests/app/AppTestSupport.h"

namespace {

const int kTicks = 1000;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    double median = samples[samples.size() / 2];
    double p99 = samples[samples.size() * 99 / 100];
    printf("%-28s ticks=%zu median=%.3f ms p99=%.3f ms max=%.3f ms\n", what, samples.size(), median, p99,
           samples.back());
}

// Times `work` kTicks times on the control window's own thread.
std::vector<double> Time(DialogRunner& runner, const std::function<void()>& work)
{
    std::vector<double> samples;
    samples.reserve(kTicks);
    runner.Dlg().RunOnUi([&] {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        for (int i = 0; i < kTicks; ++i) {
            QueryPerformanceCounter(&start);
            work();
            QueryPerformanceCounter(&end);
            samples.push_back(Milliseconds(start, end, frequency));
        }
    });
    return samples;
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
    CVelDbCtrlDlg& dlg = runner.Dlg();
    auto tick = [&] { dlg.PollServiceStatus(); };
    Time(runner, tick);   // warm-up
    Report("poll tick, service running", Time(runner, tick));
    // Where the time goes: the manager's answer, and the shell's.
    Report("  status query alone", Time(runner, [] { ServiceControl::QueryStatus("veldbsrv"); }));
    Report("  icon modify alone", Time(runner, [&] {
        dlg.m_tray.Notify(TrayIcon::Modify, dlg.m_tray.Tip(), dlg.m_hIconCurrent);
    }));
    service.Remove();
    Report("poll tick, not installed", Time(runner, tick));
    return 0;
}
