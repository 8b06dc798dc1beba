// The connection's parts that need no server: scrambling, the client settings in the
// real registry, and a login without the library. The tests against the stand-in pair
// run in child processes of this program that find veldbcli.dll on their PATH, so that
// the process's own binding is the one under test; each child's report shows that it ran
// the tests it was started for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

#include "dbclient/VelConn.h"
#include "StandinServer.h"
#include "Thrown.h"
#include "utils/DbDescError.h"

namespace {

const char kKey[] = "software\\veldbclients\\";

// How many tests a child's report lists (all its filter selected) and how many of them
// ran to their end, not skipped.
std::pair<int, int> ReportedTests(const std::string& path)
{
    std::ifstream in(path);
    std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int listed = 0, completed = 0;
    for (size_t at = xml.find("<testcase "); at != std::string::npos; at = xml.find("<testcase ", at + 1)) {
        std::string tag = xml.substr(at, xml.find('>', at) - at);
        ++listed;
        if (tag.find(" status=\"run\"") != std::string::npos && tag.find(" result=\"completed\"") != std::string::npos)
            ++completed;
    }
    return { listed, completed };
}

// Runs this program's tests matching `filter` in a child with `libraryDir` first on its
// PATH; the child must pass and its report must show every test it selects run.
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
    std::pair<int, int> tests = ReportedTests(report);
    EXPECT_GT(tests.first, 0) << filter << " ran no test";
    EXPECT_EQ(tests.first, tests.second) << filter << ": tests skipped or not run to their end";
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
    std::string scrambled = VelConn::Scramble(all);
    EXPECT_EQ(all.size(), scrambled.size());
    EXPECT_NE(all, scrambled);
    EXPECT_EQ(all, VelConn::Unscramble(scrambled));
}

class Registry : public ::testing::Test {
protected:
    void TearDown() override
    {
        VelConn::DeleteSettings("DBC_TEST_A");
        VelConn::DeleteSettings("DBC_TEST_B");
    }
};

TEST_F(Registry, RecordReadAtItsOffsets)
{
    velutils::RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kKey) + "DBC_TEST_A").c_str(), 0,
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
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(&s);
    EXPECT_EQ(251u, *reinterpret_cast<const uint32_t*>(raw));
    EXPECT_EQ(4u, *reinterpret_cast<const uint32_t*>(raw + 4));
    EXPECT_STREQ(std::string(31, 'u').c_str(), reinterpret_cast<const char*>(raw + 8));
    char computer[16] = "";
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    EXPECT_STREQ(computer, reinterpret_cast<const char*>(raw + 40));
    EXPECT_EQ(0, raw[72]);                         // the long server name left empty
    EXPECT_STREQ("pipe1", reinterpret_cast<const char*>(raw + 104));
    EXPECT_EQ(0, raw[136]);
    EXPECT_EQ(0, raw[168]);                        // openmode missing
    EXPECT_EQ(0x34, raw[200]);
    EXPECT_EQ(0, raw[201]);
    EXPECT_EQ(GetCurrentProcessId(), *reinterpret_cast<const uint32_t*>(raw + 203));
    EXPECT_EQ(0x01020304u, *reinterpret_cast<const uint32_t*>(raw + 207));
    EXPECT_EQ(0, raw[211]);
    EXPECT_EQ(0u, *reinterpret_cast<const uint32_t*>(raw + 243));
    EXPECT_EQ(77u, *reinterpret_cast<const uint32_t*>(raw + 247));
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
    EXPECT_STREQ("Pipe-B", back.service);
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
    EXPECT_FALSE(VelConn::ReadSettings("DBC_TEST_A", back));
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

TEST(StandinPair, WithTheLibraryAndOlderOnes)
{
    std::string standins = StandinServer::BuildDirectory() + "standins";
    ExpectChildRuns("Library*", standins);
    ExpectChildRuns("NoFindList.*", standins + "\\nofindlist");
    ExpectChildRuns("NoFreeDbHandler.*", standins + "\\nofreedbhandler");
}

}  // namespace
