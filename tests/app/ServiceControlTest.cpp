// The real Service Control Manager, with the stand-in service registered as "veldbsrv".
#include <gtest/gtest.h>

#include "app/ImagePath.h"
#include "app/ServiceControl.h"
#include "tests/app/TestSupport.h"
#include "utils/UniqueHandle.h"
#include "utils/VelExceptSys.h"

namespace {

class ServiceControlTest : public ::testing::Test {
protected:
    ServiceFixture service;

    void InstallRunning(const std::string& path)
    {
        ASSERT_TRUE(service.Install(path));
        ASSERT_TRUE(service.Start());
        ASSERT_TRUE(service.WaitForState(SERVICE_RUNNING));
    }

    // The error code a stop throws, or 0.
    int StopError(DWORD waitMs = ServiceControl::kStopWaitMs)
    {
        try {
            ServiceControl::Stop("veldbsrv", waitMs);
        } catch (const VelExceptSys& e) {
            return e.GetErrCode();
        }
        return 0;
    }
};

// A start ignores a missing service; a stop of a missing service fails, of a stopped
// one succeeds.
TEST_F(ServiceControlTest, StartAndStopOfAMissingOrStoppedService)
{
    ServiceControl::Start("veldbsrv");
    EXPECT_EQ(ServiceStatus::Unavailable, ServiceControl::QueryStatus("veldbsrv"));
    EXPECT_EQ(ERROR_SERVICE_DOES_NOT_EXIST, StopError());
    ASSERT_TRUE(service.Install(StandinServicePath()));
    EXPECT_EQ(0, StopError());
}

TEST_F(ServiceControlTest, StopWaitsForTheServerProcessToEnd)
{
    InstallRunning(StandinServicePath() + " --stop-delay 1500");
    DWORD pid = ServiceControl::FindProcessId("veldbsrv.exe");
    ASSERT_NE(0u, pid);
    velutils::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    ASSERT_TRUE(process);
    EXPECT_EQ(0, StopError());
    // Returned only once the process was gone.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 0));
    EXPECT_TRUE(service.WaitForState(SERVICE_STOPPED));
}

TEST_F(ServiceControlTest, StopThatTimesOutThrows1053)
{
    InstallRunning(StandinServicePath() + " --ignore-stop");
    EXPECT_EQ(ERROR_SERVICE_REQUEST_TIMEOUT, StopError(300));
    EXPECT_EQ(SERVICE_RUNNING, service.State());
}

TEST_F(ServiceControlTest, ProcessWhoseNameBeginsWithTheServerNameCounts)
{
    InstallRunning(ServiceFixture::CopyOfStandin("veldbsrv.exe-copy.exe"));
    EXPECT_EQ(service.ProcessId(), ServiceControl::FindProcessId("VELDBSRV.EXE"));
    EXPECT_EQ(0, StopError());
    EXPECT_TRUE(service.WaitForState(SERVICE_STOPPED));
}

TEST(ServerDirectory, PlainQuotedWithArgumentsAndOdd)
{
    const std::pair<const char*, const char*> cases[] = {
        { "C:\\veldb\\bin\\veldbsrv.exe -x -y", "C:\\veldb\\bin\\" },
        { "C:\\Program Files\\veldb\\veldbsrv.EXE", "C:\\Program Files\\veldb\\" }, { "C:veldbsrv.exe", "C:" },
        { "veldbsrv.exe", "" }, { "\\\\host\\share\\veldbsrv.exe", "\\\\host\\share\\" },
        { "\"C:\\a\\veldbsrv.exe", "C:\\a\\" }, { "C:\\a.exe.d\\veldbsrv.exe", "C:\\a.exe.d\\" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, ImagePath::DirectoryOf(c.first)) << c.first;
}

}  // namespace
