// The release's installer under Wine: silent installs and uninstalls, the program started by
// its logon entry.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "utils/UniqueHandle.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\veldbctrl";

// The installer sits in the 64-bit view of the registry on 64-bit Windows.
bool OpenMachineKey(const char* key, velutils::RegKey& opened)
{
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_64KEY, opened.Receive()) == ERROR_SUCCESS;
}

// A text value, or "<none>" where there is no such text.
std::string ReadValue(const char* key, const char* name)
{
    velutils::RegKey opened;
    char text[1024] = "";
    DWORD size = sizeof text - 1, type = 0;
    if (!OpenMachineKey(key, opened) ||
        RegQueryValueExA(opened.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "<none>";
    return text;
}

bool KeyExists(const char* key)
{
    velutils::RegKey opened;
    return OpenMachineKey(key, opened);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

DWORD RunToEnd(const std::string& commandLine)
{
    ProgramProcess process;
    if (!process.Start(commandLine) || !process.WaitEnded(60000))
        return DWORD(-1);
    return process.ExitCode();
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* setup = getenv("VELDB_SETUP");
        ASSERT_TRUE(setup && Exists(setup)) << "VELDB_SETUP: the installer that scripts/package built";
        m_setup = setup;
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        m_temp = temp;
    }

    // A directory of the test's own, empty but for what the test puts there.
    std::string FreshDirectory(const std::string& name)
    {
        std::string dir = m_temp + name;
        for (const char* file : { "veldbctrl.exe", "veldbctrl-uninstall.exe", "veldbsrv.exe" })
            DeleteFileA((dir + "\\" + file).c_str());
        RemoveDirectoryA(dir.c_str());
        return dir;
    }

    // The logon entry and the uninstall entry for a program installed in `dir`.
    void ExpectInstalledIn(const std::string& dir)
    {
        EXPECT_TRUE(Exists(dir + "\\veldbctrl.exe"));
        EXPECT_TRUE(Exists(dir + "\\veldbctrl-uninstall.exe"));
        EXPECT_EQ(Quoted(dir + "\\veldbctrl.exe"), ReadValue(kRunKey, "veldbctrl"));
        const std::vector<std::string> entry = { ReadValue(kUninstallKey, "DisplayVersion"),
                                                 ReadValue(kUninstallKey, "DisplayName"),
                                                 ReadValue(kUninstallKey, "UninstallString") };
        const std::string uninstaller = Quoted(dir + "\\veldbctrl-uninstall.exe");
        EXPECT_EQ((std::vector<std::string>{ "3.1.1.45", "veldbctrl", uninstaller }), entry);
    }

    // The uninstaller hands its work to a copy of itself and returns at once.
    bool UninstallFrom(const std::string& dir)
    {
        ProgramProcess uninstaller;
        if (!uninstaller.Start(Quoted(dir + "\\veldbctrl-uninstall.exe") + " /S"))
            return false;
        return WaitFor([&] {
            return !Exists(dir + "\\veldbctrl.exe") && !Exists(dir + "\\veldbctrl-uninstall.exe") &&
                   !KeyExists(kUninstallKey) && ReadValue(kRunKey, "veldbctrl") == "<none>";
        }, 30000);
    }

    std::string m_setup;
    std::string m_temp;
};

TEST_F(Installer, BesideTheInstalledServer)
{
    std::string dir = FreshDirectory("veldb server");
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(StandinServicePath().c_str(), (dir + "\\veldbsrv.exe").c_str(), FALSE));
    ServiceFixture service;
    ASSERT_TRUE(service.Install(Quoted(dir + "\\veldbsrv.exe")));
    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(service.WaitForState(SERVICE_RUNNING));

    // A directory given on the command line does not move it away from the server.
    ASSERT_EQ(0u, RunToEnd(Quoted(m_setup) + " /S /D=" + m_temp + "elsewhere"));
    ExpectInstalledIn(dir);
    EXPECT_FALSE(Exists(m_temp + "elsewhere"));

    // Started as at logon, the program controls the server it was put beside.
    std::string logon = ReadValue(kRunKey, "veldbctrl");
    ProgramProcess program;
    ASSERT_TRUE(program.Start(logon));
    HWND window = program.WaitInTray();
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, ID_SERVER_STOP, 0);
    EXPECT_TRUE(service.WaitForState(SERVICE_STOPPED, 15000));
    PostMessageA(window, WM_COMMAND, ID_SERVER_START, 0);
    EXPECT_TRUE(service.WaitForState(SERVICE_RUNNING, 15000));

    // The running copy is ended; the server and its directory stay.
    ASSERT_TRUE(UninstallFrom(dir));
    EXPECT_TRUE(program.WaitEnded(5000));
    EXPECT_TRUE(Exists(dir + "\\veldbsrv.exe"));
}

TEST_F(Installer, IntoAChosenDirectoryWithoutTheService)
{
    ASSERT_EQ(0u, ServiceFixture().State()) << "the service must not be installed";
    std::string dir = FreshDirectory("veldbctrl chosen");
    ASSERT_EQ(0u, RunToEnd(Quoted(m_setup) + " /S /D=" + dir));
    ExpectInstalledIn(dir);
    ASSERT_TRUE(UninstallFrom(dir));
    EXPECT_TRUE(WaitFor([&] { return !Exists(dir); }));
}

}  // namespace
