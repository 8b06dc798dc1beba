// The database client over the stand-in pair's pipe: a login without the dialog (to
// "SYSDB" open and the user checked), and list searches of 10, 1,000 and 100,000 rows
// stepped through with next of list, reading two fields per row. The library's own time
// is measured by calling its FindList entry directly for the same key; the rest of a
// search and the stepping are the program's own layer. Every figure is the median of
// repeated runs, with the lowest and highest run beside it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dbclient/ClientLibrary.h"
#include "dbclient/FunctionLoader.h"
#include "dbclient/VelConn.h"
#include "StandinServer.h"
#include "utils/UniqueHandle.h"

namespace {

const int kGroups[] = { 10, 1000, 100000 };
const int kRuns[] = { 101, 31, 11 };

double Now()
{
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median, lowest and highest of the runs.
struct Spread {
    double median, low, high;
};

Spread Of(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    return { runs[runs.size() / 2], runs.front(), runs.back() };
}

std::string Text(const Spread& s, double scale, const char* format)
{
    char buffer[96];
    std::string f = std::string(format) + " (" + format + ".." + format + ")";
    snprintf(buffer, sizeof buffer, f.c_str(), s.median * scale, s.low * scale, s.high * scale);
    return buffer;
}

std::string DataXml()
{
    std::string xml = R"(<?xml version="1.0" encoding="windows-1250"?><veldbdata><database number="19" name="SYSDB">
<record name="dbuser"><field name="userid" type="l" key="unique"/>
<field name="NAME" type="c" length="32" key="unique" scrambled="yes"/><field name="PSW" type="c" length="32" scrambled="yes"/>
<field name="enabled" type="c" length="1"/><row userid="1" NAME="ADMIN" PSW="ADMIN" enabled="1"/></record>
<record name="tablespace"><field name="dbid" type="l" key="unique"/><field name="name" type="c" length="32" key="unique"/>
<field name="vermajor" type="l"/><field name="verminor" type="l"/><field name="versub" type="l"/>
<field name="verbuild" type="l"/><row dbid="19" name="SYSDB" vermajor="1"/></record>
<record name="rows"><field name="id" type="l" key="unique"/><field name="grp" type="l" key="dup"/>
<field name="name" type="c" length="16"/>
)";
    int id = 0;
    for (int g = 0; g < 3; ++g)
        for (int i = 0; i < kGroups[g]; ++i, ++id)
            xml += "<row id=\"" + std::to_string(id) + "\" grp=\"" + std::to_string(g) + "\" name=\"row" +
                   std::to_string(id) + "\"/>\n";
    return xml + "</record></database></veldbdata>\n";
}

// The library's FindList alone, as the table calls it, freed at once.
double RawFindList(int handle, int recType, int grp)
{
    auto defineKey = FunctionLoader::Instance().Checked<veldbcli::DefineKeyFn>(FunctionLoader::DefineKey);
    auto findList = FunctionLoader::Instance().Checked<veldbcli::FindListFn>(FunctionLoader::FindList);
    auto freePtr = FunctionLoader::Instance().Checked<veldbcli::FreePtrFn>(FunctionLoader::FreePtr);
    double start = Now();
    defineKey(handle, 19, recType, (recType - 10000) * 1000 + 1);
    BYTE* data = nullptr;
    int total = 0, size = 0;
    findList(handle, 19, recType, reinterpret_cast<const BYTE*>(&grp), &data, &total, &size);
    freePtr(data);
    return Now() - start;
}

void TimeLogins()
{
    std::vector<double> runs;
    for (int i = 0; i < 21; ++i) {
        double start = Now();
        VelConn conn;
        conn.Login("SYSDB", "admin", "admin", false);
        conn.Disconnect();
        runs.push_back(Now() - start);
    }
    printf("login (no dialog, SYSDB opened, user checked) + disconnect: %s ms\n",
           Text(Of(runs), 1, "%.2f").c_str());
}

// One group: per run the library's search alone, the program's search, and the steps
// through its rows reading a number and a short text.
void TimeGroup(RdmTable& rows, int handle, int group)
{
    std::vector<double> raw, search, stepping, own, share;
    long long checksum = 0;
    for (int r = 0; r < kRuns[group]; ++r) {
        double library = RawFindList(handle, rows.RecordType(), group);
        rows.Field("grp").SetNumber(group);
        double t0 = Now();
        rows.FindList("grp", RdmTable::BeforeFirst);
        double t1 = Now();
        while (rows.NextOfList())
            checksum += rows.Field("id").AsNumber() + static_cast<long long>(rows.Field("name").AsText().size());
        double t2 = Now();
        raw.push_back(library);
        search.push_back(t1 - t0);
        stepping.push_back(t2 - t1);
        own.push_back(t2 - t0 - library);
        share.push_back(100.0 * (t2 - t0 - library) / (t2 - t0));
    }
    double perRow = 1e6 / kGroups[group];
    printf("%6d rows, %d runs: search %s ms (library alone %s ms), stepping %s ns/row, program's layer %s ms "
           "= %s%% of search and stepping (checksum %lld)\n",
           kGroups[group], kRuns[group], Text(Of(search), 1, "%.3f").c_str(), Text(Of(raw), 1, "%.3f").c_str(),
           Text(Of(stepping), perRow, "%.0f").c_str(), Text(Of(own), 1, "%.3f").c_str(),
           Text(Of(share), 1, "%.0f").c_str(), checksum);
}

void RunBench()
{
    StandinServer server;
    double started = Now();
    bool up = server.Start(DataXml());
    printf("server start with %d rows: %.0f ms\n", kGroups[0] + kGroups[1] + kGroups[2] + 1, Now() - started);
    if (!up) {
        printf("the stand-in server did not start\n");
        return;
    }
    ClientSettings s = {};
    CopyFixedText(s.service, server.PipeName());
    VelConn::WriteSettings("SYSDB", s);
    TimeLogins();
    VelConn conn;
    conn.Login("SYSDB", "admin", "admin", false);
    DbDesc sys = conn.Descriptions().GetDbByName("SYSDB");
    RdmTable rows(sys, "rows");
    for (int g = 0; g < 3; ++g)
        TimeGroup(rows, conn.Handle(), g);
    VelConn::DeleteSettings("SYSDB");
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (FunctionLoader::Instance().IsLoaded()) {
        RunBench();
        return 0;
    }
    // Bind the stand-in library the way the program does: found on the search path.
    std::string path = StandinServer::BuildDirectory() + "standins;";
    char old[8192] = "";
    GetEnvironmentVariableA("PATH", old, sizeof old);
    SetEnvironmentVariableA("PATH", (path + old).c_str());
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\"";
    for (int i = 1; i < argc; ++i)
        command += std::string(" ") + argv[i];
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return 1;
    velutils::KernelHandle process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
    return 0;
}
