// The time from a left click on the tray icon to a filled tree, for a velsrv.xml with
// 20, 100 and 500 databases of seven settings each, and where that time goes: each the
// median of 15 clicks, in milliseconds, with the lowest and highest.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/Spread.h"
#include "config/ParameterView.h"
#include "tests/app/AppTestSupport.h"

namespace {

const int kRounds = 15;

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
    printf("median of %d (lowest..highest), ms\n", kRounds);
    printf("%-10s %24s %24s %24s %24s\n", "databases", "click", "rebuild", "parameters", "databases");
    for (int databases : { 20, 100, 500 }) {
        WriteConfig(dir, databases);
        std::vector<double> click, rebuild, parameters, fill;
        for (int round = 0; round < kRounds; ++round) {
            dlg.RunOnUi([&] {
                double start = NowMs();
                SendMessageA(runner.Hwnd(), CVelDbCtrlDlg::WM_TRAYNOTIFY, TrayIcon::kIconId, WM_LBUTTONUP);
                click.push_back(NowMs() - start);
            });
            // The same steps one by one, to see where the time goes.
            dlg.RunOnUi([&] {
                ShowWindow(runner.Hwnd(), SW_HIDE);
                double t1 = NowMs();
                ShowWindow(runner.Hwnd(), SW_SHOW);      // empties and rebuilds the tree
                double t2 = NowMs();
                dlg.m_params.FillParameters(dlg.m_strServerDir);
                double t3 = NowMs();
                dlg.m_params.FillDatabases(dlg.m_strServerDir);
                double t4 = NowMs();
                rebuild.push_back(t2 - t1);
                parameters.push_back(t3 - t2);
                fill.push_back(t4 - t3);
            });
            SendMessageA(runner.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        printf("%-10d ", databases);
        for (const std::vector<double>* runs : { &click, &rebuild, &parameters, &fill })
            Spread::Of(*runs).Print();
        printf("\n");
    }
    DeleteFileA((dir + "velsrv.xml").c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
