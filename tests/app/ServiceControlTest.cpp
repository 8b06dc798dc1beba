// The server service through the real Service Control Manager, with the stand-in
// service registered as "veldbsrv".
#include <gtest/gtest.h>

#include "app/ImagePath.h"
#include "app/ServiceControl.h"
#include "tests/app/AppTestSupport.h"
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
            lastError = e.what();
            return e.GetErrCode();
        }
        return 0;
    }

    std::string lastError;
};

TEST_F(ServiceControlTest, StatusFollowsTheService)
{
    EXPECT_EQ(ServiceStatus::Unavailable, ServiceControl::QueryStatus("veldbsrv"));
    ASSERT_TRUE(service.Install(StandinServicePath()));
    EXPECT_EQ(ServiceStatus::Stopped, ServiceControl::QueryStatus("veldbsrv"));
    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(service.WaitForState(SERVICE_RUNNING));
    EXPECT_EQ(ServiceStatus::Running, ServiceControl::QueryStatus("veldbsrv"));
}

TEST_F(ServiceControlTest, StartPendingCountsAsNotRunning)
{
    ASSERT_TRUE(service.Install(StandinServicePath() + " --start-pending"));
    service.Start();
    ASSERT_TRUE(service.WaitForState(SERVICE_START_PENDING));
    EXPECT_EQ(ServiceStatus::Stopped, ServiceControl::QueryStatus("veldbsrv"));
}

TEST_F(ServiceControlTest, StartAsksTheManagerWithoutWaiting)
{
    ASSERT_TRUE(service.Install(StandinServicePath()));
    ServiceControl::Start("veldbsrv");
    EXPECT_TRUE(service.WaitForState(SERVICE_RUNNING));
}

TEST_F(ServiceControlTest, StartOfAMissingServiceDoesNothing)
{
    ServiceControl::Start("veldbsrv");
    EXPECT_EQ(ServiceStatus::Unavailable, ServiceControl::QueryStatus("veldbsrv"));
}

TEST_F(ServiceControlTest, StopOfAStoppedServiceReturnsAtOnce)
{
    ASSERT_TRUE(service.Install(StandinServicePath()));
    EXPECT_EQ(0, StopError());
}

TEST_F(ServiceControlTest, StopOfAMissingServiceThrowsTheSystemCode)
{
    EXPECT_EQ(ERROR_SERVICE_DOES_NOT_EXIST, StopError());
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

TEST_F(ServiceControlTest, StopWithoutAServerProcessThrows2AndSendsNoStop)
{
    InstallRunning(ServiceFixture::CopyOfStandin("othersrv.exe"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, StopError());
    EXPECT_NE(std::string::npos, lastError.find("(veldbsrv.exe)")) << lastError;
    Sleep(300);
    EXPECT_EQ(SERVICE_RUNNING, service.State());
}

TEST_F(ServiceControlTest, ProcessWhoseNameBeginsWithTheServerNameCounts)
{
    InstallRunning(ServiceFixture::CopyOfStandin("veldbsrv.exe-copy.exe"));
    DWORD pid = ServiceControl::FindProcessId("VELDBSRV.EXE");
    EXPECT_EQ(service.ProcessId(), pid);
    EXPECT_EQ(0, StopError());
    EXPECT_TRUE(service.WaitForState(SERVICE_STOPPED));
}

TEST_F(ServiceControlTest, FindProcessIdWithoutMatch)
{
    EXPECT_EQ(0u, ServiceControl::FindProcessId("no-such-process-name.exe"));
    EXPECT_EQ(GetCurrentProcessId(), ServiceControl::FindProcessId("test_app"));
}

TEST_F(ServiceControlTest, ImagePathAsRegistered)
{
    std::string path;
    EXPECT_FALSE(ServiceControl::QueryImagePath("veldbsrv", path));
    std::string quoted = "\"" + StandinServicePath() + "\" --stop-delay 10";
    ASSERT_TRUE(service.Install(quoted));
    ASSERT_TRUE(ServiceControl::QueryImagePath("veldbsrv", path));
    EXPECT_EQ(quoted, path);
}

TEST(ServerDirectory, PlainQuotedAndWithArguments)
{
    EXPECT_EQ("D:\\srv\\bin\\", ImagePath::DirectoryOf("D:\\srv\\bin\\veldbsrv.exe"));
    EXPECT_EQ("C:\\Program Files\\veldb\\",
              ImagePath::DirectoryOf("\"C:\\Program Files\\veldb\\veldbsrv.exe\" -x"));
    EXPECT_EQ("C:\\veldb\\bin\\", ImagePath::DirectoryOf("C:\\veldb\\bin\\veldbsrv.exe -x -y"));
    EXPECT_EQ("C:\\Program Files\\veldb\\",
              ImagePath::DirectoryOf("C:\\Program Files\\veldb\\veldbsrv.EXE"));
}

TEST(ServerDirectory, OddPaths)
{
    EXPECT_EQ("C:", ImagePath::DirectoryOf("C:veldbsrv.exe"));
    EXPECT_EQ("", ImagePath::DirectoryOf("veldbsrv.exe"));
    EXPECT_EQ("\\\\host\\share\\", ImagePath::DirectoryOf("\\\\host\\share\\veldbsrv.exe"));
    EXPECT_EQ("C:\\a\\", ImagePath::DirectoryOf("\"C:\\a\\veldbsrv.exe"));
    EXPECT_EQ("C:\\a.exe.d\\", ImagePath::DirectoryOf("C:\\a.exe.d\\veldbsrv.exe"));
}

}  // namespace
