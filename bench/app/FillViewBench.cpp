// The time from a left click on the tray icon to a filled tree, for a velsrv.xml with
// 20, 100 and 500 databases of seven settings each, and where that time goes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "config/ParameterView.h"
#include "tests/app/AppTestSupport.h"

namespace {

const int kRounds = 9;

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string ServerDirectory()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "veldbctrl-fill-bench\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void WriteConfig(const std::string& dir, int databases)
{
    std::ofstream out(dir + "velsrv.xml", std::ios::binary);
    out << "<?xml version=\"1.0\" ?>\n<serverparams>\n    <velsrv archivehome=\"C:\\a\\\" dbhome=\"C:\\d\\\" "
           "debuglog=\"13\" synctimeout=\"30000\" allowsameuid=\"0\" clientchecktimeout=\"5000\" "
           "listen_on_port=\"6510\" state=\"0\" net_lock=\"false\" />\n    <databases>\n";
    for (int i = 0; i < databases; ++i)
        out << "        <db" << i << " regdbpath=\"C:\\d\\db" << i << "\\\" reglmgrname=\"S" << i
            << "\" regcompdatafname=\"db" << i << ".par\" regdbpages=\"4096\" regowlpages=\"1024\" "
               "archivepath=\"C:\\a\\db" << i << "\\\" dbstart=\"1764921600\" />\n";
    out << "    </databases>\n</serverparams>\n";
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main()
{
    std::string dir = ServerDirectory();
    ServiceFixture service;
    if (!service.Install(dir + "veldbsrv.exe")) {
        fprintf(stderr, "cannot register the service\n");
        return 1;
    }
    DialogRunner runner;
    TestDlg& dlg = runner.Dlg();
    printf("%-10s %12s %12s %14s %14s\n", "databases", "click (ms)", "rebuild", "parameters", "databases");
    for (int databases : { 20, 100, 500 }) {
        WriteConfig(dir, databases);
        std::vector<double> click, rebuild, parameters, fill;
        for (int round = 0; round < kRounds; ++round) {
            dlg.RunOnUi([&] {
                double start = Now();
                SendMessageA(runner.Hwnd(), CVelDbCtrlDlg::WM_TRAYNOTIFY, TrayIcon::kIconId, WM_LBUTTONUP);
                click.push_back(Now() - start);
            });
            // The same steps one by one, to see where the time goes.
            dlg.RunOnUi([&] {
                double t0 = Now();
                ShowWindow(runner.Hwnd(), SW_HIDE);
                double t1 = Now();
                ShowWindow(runner.Hwnd(), SW_SHOW);      // empties and rebuilds the tree
                double t2 = Now();
                dlg.m_params.FillParameters(dlg.m_strServerDir);
                double t3 = Now();
                dlg.m_params.FillDatabases(dlg.m_strServerDir);
                double t4 = Now();
                (void)t0;
                (void)t1;
                rebuild.push_back(t2 - t1);
                parameters.push_back(t3 - t2);
                fill.push_back(t4 - t3);
            });
            SendMessageA(runner.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        printf("%-10d %12.1f %12.1f %14.1f %14.1f\n", databases, Median(click), Median(rebuild),
               Median(parameters), Median(fill));
    }
    DeleteFileA((dir + "velsrv.xml").c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
