// The connection without a server. The tests against the stand-in pair run in children of this
// program finding veldbcli.dll on their PATH, so that the process's own binding is under test.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "dbclient/ClientLibrary.h"
#include "dbclient/FunctionLoader.h"
#include "dbclient/VelConn.h"
#include "StandinServer.h"
#include "Thrown.h"
#include "utils/DbDescError.h"

namespace {

// How many tests a child's report lists, and how many of them ran to their end, not skipped.
std::pair<int, int> ListedAndCompleted(const std::string& report)
{
    std::ifstream in(report);
    std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::pair<int, int> counts(0, 0);
    for (size_t at = xml.find("<testcase "); at != std::string::npos; at = xml.find("<testcase ", at + 1)) {
        std::string tag = xml.substr(at, xml.find('>', at) - at);
        ++counts.first;
        counts.second += tag.find(" status=\"run\" result=\"completed\"") != std::string::npos;
    }
    return counts;
}

// Runs this program's tests matching `filter` in a child with `libraryDir` first on its
// PATH; the child must pass and its report must show each test the filter selects run
// (the report lists every test the filter selects).
void ExpectChildRuns(const std::string& filter, const std::string& libraryDir)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string report = std::string(temp) + "dbclient-child-" + std::to_string(GetCurrentProcessId()) + ".xml";
    DeleteFileA(report.c_str());
    char oldPath[8192] = "";
    GetEnvironmentVariableA("PATH", oldPath, sizeof oldPath);
    SetEnvironmentVariableA("PATH", (libraryDir + ";" + oldPath).c_str());
    SetEnvironmentVariableA("VELDB_DBCLIENT_CHILD", "1");
    std::string command = "\"" + std::string(self) + "\" --gtest_filter=" + filter + " --gtest_output=xml:" + report;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("PATH", oldPath);
    SetEnvironmentVariableA("VELDB_DBCLIENT_CHILD", nullptr);
    ASSERT_TRUE(started) << command;
    velutils::KernelHandle process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(process.Get(), 300000);
    DWORD code = 998;
    GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(0u, code) << filter;
    const std::pair<int, int> counts = ListedAndCompleted(report);
    EXPECT_GT(counts.first, 0) << filter << " ran no test";
    EXPECT_EQ(counts.first, counts.second) << filter << ": tests skipped or not run to their end";
    DeleteFileA(report.c_str());
}

TEST(Scrambling, KnownPairsAndEveryByteRoundTrips)
{
    EXPECT_EQ(std::string("\xA0\x42\xD0"), VelConn::Scramble("ABC"));      // right by 1, 8, 2
    EXPECT_EQ(std::string("\x80\x01\x40\x02\x20\x04\x10\x08\x80"),
              VelConn::Scramble(std::string("\x01\x01\x01\x01\x01\x01\x01\x01\x01", 9)));
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(all, VelConn::Unscramble(VelConn::Scramble(all)));
}

class Registry : public ::testing::Test {
protected:
    void TearDown() override
    {
        VelConn::DeleteSettings("DBC_TEST_A");
        VelConn::DeleteSettings("DBC_TEST_B");
    }
};

TEST_F(Registry, RecordReadFromTheKey)
{
    velutils::RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "software\\veldbclients\\DBC_TEST_A", 0,
                                             nullptr, 0, KEY_WRITE, nullptr, key.Receive(), nullptr));
    auto text = [&](const char* name, const std::string& value) {
        RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    };
    auto number = [&](const char* name, DWORD value) {
        RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    };
    text("service", "pipe1");
    text("server", std::string(32, 'x'));          // 32 characters: ignored
    text("defaultuser", std::string(31, 'u'));
    number("useblob", 0x1234);                     // low byte only
    number("timeout", 0x01020304);
    number("regowlpages", 77);
    ClientSettings s;
    ASSERT_TRUE(VelConn::ReadSettings("DBC_TEST_A", s));
    char computer[16] = "";
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    // The packed fields copied out, as a reference cannot bind to them.
    const uint32_t numbers[] = { s.size, s.version, s.useBlob, s.useLock, s.processId, s.timeout, s.regDbPages,
                                 s.regOwlPages };
    EXPECT_EQ((std::vector<uint32_t>{ 251, 4, 0x34, 0, GetCurrentProcessId(), 0x01020304, 0, 77 }),
              std::vector<uint32_t>(std::begin(numbers), std::end(numbers)));
    const std::vector<std::string> texts = { s.user, s.computer, s.server, s.service, s.reserved, s.openMode,
                                             s.password };
    EXPECT_EQ((std::vector<std::string>{ std::string(31, 'u'), computer, "", "pipe1", "", "", "" }), texts);
    EXPECT_FALSE(VelConn::ReadSettings("DBC_TEST_NONE", s));
    EXPECT_EQ(0u, s.size);
}

TEST_F(Registry, WriteReadListAndDelete)
{
    ClientSettings s = {};
    CopyFixedText(s.service, "Pipe-B");
    CopyFixedText(s.server, std::string(40, 's'));     // cut to fit
    s.useLock = 1;
    s.regDbPages = 9;
    ASSERT_TRUE(VelConn::WriteSettings("DBC_TEST_A", s));
    CopyFixedText(s.service, "other");
    ASSERT_TRUE(VelConn::WriteSettings("DBC_TEST_B", s));
    ClientSettings back;
    ASSERT_TRUE(VelConn::ReadSettings("DBC_TEST_A", back));
    EXPECT_STREQ(std::string(31, 's').c_str(), back.server);
    EXPECT_EQ(1, back.useLock);
    EXPECT_EQ(9u, back.regDbPages);
    std::vector<std::string> all, byValue;
    VelConn::ListDatabases(all);
    VelConn::ListDatabases(byValue, "service", "PIPE-b");
    EXPECT_NE(all.end(), std::find(all.begin(), all.end(), "DBC_TEST_B"));
    EXPECT_EQ(std::vector<std::string>{ "DBC_TEST_A" }, byValue);
    EXPECT_TRUE(VelConn::DeleteSettings("DBC_TEST_A"));
    EXPECT_FALSE(VelConn::DeleteSettings("DBC_TEST_A"));
}

TEST_F(Registry, LoginWithoutTheLibraryNamesCreateDbHandler)
{
    ClientSettings s = {};
    ASSERT_TRUE(VelConn::WriteSettings("DBC_TEST_A", s));
    VelConn conn;
    Thrown thrown = ThrownBy([&] { conn.Login("dbc_test_a", "admin", "admin", false); });
    EXPECT_EQ(10038, thrown.code) << "no library, yet a login";
    EXPECT_EQ("pfCreateDbHandler", thrown.arg);
    EXPECT_NE(std::string::npos, thrown.what.find("pfCreateDbHandler"));
    EXPECT_FALSE(conn.IsConnected());
}

// The "pf" name a call fails with, or "" when the entry is bound.
std::string MissingName(const FunctionLoader& loader, FunctionLoader::Entry entry)
{
    Thrown thrown = ThrownBy([&] { loader.Checked<FARPROC>(entry); });
    EXPECT_EQ(thrown.code ? 10038 : 0, thrown.code);
    return thrown.code && thrown.arg.empty() ? "<no name>" : thrown.arg;
}

// No veldbcli.dll beside the tests: the process's table, bound at start-up, stays
// unbound quietly, and every call fails with its entry's name. A library without an
// export fails only that export's calls; a bound entry is called through the table.
TEST(FunctionLoader, MissingLibraryOrExportAndABoundEntry)
{
    const FunctionLoader& unbound = FunctionLoader::Instance();
    EXPECT_FALSE(unbound.IsLoaded());
    const std::pair<FunctionLoader::Entry, const char*> names[] = {
        { FunctionLoader::CreateDbHandler, "pfCreateDbHandler" }, { FunctionLoader::Reindex8, "pfReindex" },
        { FunctionLoader::Reindex4, "pfReindex" }, { FunctionLoader::GetRecLocks, "pfGetLockList" },
        { FunctionLoader::WriteDbLog, "pfWriteDbLog" } };
    for (const auto& name : names)
        EXPECT_EQ(name.second, MissingName(unbound, name.first));

    FunctionLoader older(StandinServer::NoFindListLibraryPath().c_str());
    ASSERT_TRUE(older.IsLoaded());
    EXPECT_EQ("", MissingName(older, FunctionLoader::GetMaxuser));
    EXPECT_EQ("", MissingName(older, FunctionLoader::FindListOr));
    EXPECT_EQ("pfFindList", MissingName(older, FunctionLoader::FindList));

    FunctionLoader loader(StandinServer::LibraryPath().c_str());
    auto getMaxuser = loader.Checked<veldbcli::GetMaxuserFn>(FunctionLoader::GetMaxuser);
    int maxUsers = 0;
    SetEnvironmentVariableA("VELDBCLI_MAXUSER", "64");
    EXPECT_EQ(0, getMaxuser(&maxUsers));
    EXPECT_EQ(64, maxUsers);
    SetEnvironmentVariableA("VELDBCLI_MAXUSER", nullptr);
}

TEST(StandinPair, WithTheLibraryAndOlderOnes)
{
    std::string standins = StandinServer::BuildDirectory() + "standins";
    ExpectChildRuns("Library*", standins);
    ExpectChildRuns("NoFindList.*", standins + "\\nofindlist");
    ExpectChildRuns("NoFreeDbHandler.*", standins + "\\nofreedbhandler");
}

}  // namespace
