// Each screen scale in a process of its own, as Wine reads the DPI (the registry's
// LogPixels) when a process starts: this program is started again at 96, 120, 144 and
// 192 DPI and runs the AtScale tests there. Its output shows which tests passed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tests/app/dpi/ScaleTable.h"
#include "utils/UniqueHandle.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const DWORD kChildTimeoutMs = 120000;

// The DPI of the processes started from now on; the old setting is back when it goes.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        m_key.Receive(), nullptr);
        DWORD size = sizeof m_old;
        m_had = RegQueryValueExA(m_key.Get(), "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_old), &size)
                == ERROR_SUCCESS;
        Set(dpi);
    }
    ~LogPixels()
    {
        if (m_had)
            Set(m_old);
        else
            RegDeleteValueA(m_key.Get(), "LogPixels");
    }

private:
    void Set(DWORD dpi)
    {
        RegSetValueExA(m_key.Get(), "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }

    velutils::RegKey m_key;
    DWORD m_old = 96;
    bool m_had = false;
};

struct ChildRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;
    std::set<std::string> passed;      // "Suite.Name" of each "[       OK ]" line
};

std::set<std::string> PassedTests(const std::string& output)
{
    const std::string mark = "[       OK ] ";
    std::set<std::string> passed;
    for (size_t at = output.find(mark); at != std::string::npos; at = output.find(mark, at + 1)) {
        const size_t begin = at + mark.size();
        passed.insert(output.substr(begin, output.find(' ', begin) - begin));
    }
    return passed;
}

// This program again, at `dpi`, running the AtScale tests; its output read to the end.
ChildRun RunAtDpi(UINT dpi)
{
    LogPixels scale(dpi);
    SetEnvironmentVariableA(kScaleVariable, std::to_string(dpi).c_str());
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    velutils::KernelHandle readEnd, writeEnd;
    CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0);
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string line = std::string("\"") + path + "\" --gtest_filter=AtScale.*";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info = {};
    ChildRun run;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableA(kScaleVariable, nullptr);
    writeEnd.Reset();
    if (!started) {
        run.output = "the run could not start: " + std::to_string(GetLastError());
        return run;
    }
    velutils::KernelHandle process(info.hProcess), thread(info.hThread);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        run.output.append(buffer, read);
    if (WaitForSingleObject(process.Get(), kChildTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(process.Get(), 1);
    GetExitCodeProcess(process.Get(), &run.exitCode);
    run.passed = PassedTests(run.output);
    return run;
}

}  // namespace

TEST(ScaledRuns, EachDpiShowsEveryTextWholeAtItsSizes)
{
    const std::set<std::string> tests = { "AtScale.ControlWindowTreeAndIconsFollowTheDpi",
                                          "AtScale.LoginAndWrongPasswordBoxShowEveryTextWhole" };
    for (const Scale& scale : kScales) {
        const ChildRun run = RunAtDpi(scale.dpi);
        EXPECT_EQ(0u, run.exitCode) << scale.dpi << " DPI:\n" << run.output;
        EXPECT_EQ(tests, run.passed) << scale.dpi << " DPI:\n" << run.output;
        printf("at %u DPI: %u of %u tests passed\n", scale.dpi, static_cast<unsigned>(run.passed.size()),
               static_cast<unsigned>(tests.size()));
    }
}
