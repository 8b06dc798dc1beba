#include "tests/app/dpi/ScaledRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "utils/UniqueHandle.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const DWORD kChildTimeoutMs = 120000;

// The DPI of the processes started from now on; the old setting (96 when there was
// none) is back when it goes.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi)
    {
        if (RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr, &m_old,
                         &m_size) != ERROR_SUCCESS)
            m_old = 96;
        Set(dpi);
    }
    ~LogPixels() { Set(m_old); }

private:
    static void Set(DWORD dpi)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }

    DWORD m_old = 96, m_size = sizeof m_old;
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

}  // namespace

ScaledRun ScaledRun::Start(UINT dpi, const std::string& filter)
{
    LogPixels scale(dpi);
    SetEnvironmentVariableA(kScaleVariable, std::to_string(dpi).c_str());
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    velutils::KernelHandle readEnd, writeEnd;
    CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0);
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string line = std::string("\"") + path + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info = {};
    ScaledRun run;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableA(kScaleVariable, nullptr);
    writeEnd.Reset();
    if (!started) {
        run.output = "the run could not start: " + std::to_string(GetLastError());
        return run;
    }
    velutils::KernelHandle process(info.hProcess), thread(info.hThread);
    char buffer[4096];
    for (DWORD read = 0; ReadFile(readEnd.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0;)
        run.output.append(buffer, read);
    if (WaitForSingleObject(process.Get(), kChildTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(process.Get(), 1);
    GetExitCodeProcess(process.Get(), &run.exitCode);
    run.passed = PassedTests(run.output);
    return run;
}

UINT ScaledRun::DpiOfThisRun()
{
    const char* dpi = getenv(kScaleVariable);
    return dpi ? static_cast<UINT>(atoi(dpi)) : 0;
}

void ScaledRun::ExpectRan(UINT dpi, const std::set<std::string>& tests) const
{
    EXPECT_EQ(0u, exitCode) << dpi << " DPI:\n" << output;
    EXPECT_EQ(tests, passed) << dpi << " DPI:\n" << output;
    printf("at %u DPI: %u of %u tests passed\n", dpi, static_cast<unsigned>(passed.size()),
           static_cast<unsigned>(tests.size()));
}
