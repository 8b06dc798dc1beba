// Binding the client library: a missing library or export fails at the call that needs
// it, with the entry's "pf" name.
#include <gtest/gtest.h>

#include <string>

#include "StandinServer.h"
#include "Thrown.h"
#include "dbclient/ClientLibrary.h"
#include "dbclient/FunctionLoader.h"
#include "utils/DbDescError.h"

namespace {

// The "pf" name a call fails with, or "" when the entry is bound.
std::string MissingName(const FunctionLoader& loader, FunctionLoader::Entry entry)
{
    Thrown thrown = ThrownBy([&] { loader.Checked<FARPROC>(entry); });
    EXPECT_EQ(thrown.code ? 10038 : 0, thrown.code);
    return thrown.code && thrown.arg.empty() ? "<no name>" : thrown.arg;
}

// No veldbcli.dll beside the tests: the process's table, bound at start-up, stays
// unbound quietly, and every call fails with its entry's name.
TEST(FunctionLoader, WithoutTheLibraryEveryCallFailsWithItsName)
{
    const FunctionLoader& loader = FunctionLoader::Instance();
    EXPECT_FALSE(loader.IsLoaded());
    const std::pair<FunctionLoader::Entry, const char*> names[] = {
        { FunctionLoader::CreateDbHandler, "pfCreateDbHandler" }, { FunctionLoader::FirstRec, "pfFirstRec" },
        { FunctionLoader::OpenDbExA, "pfOpenDbExA" }, { FunctionLoader::FreePtr, "pfFreePtr" },
        { FunctionLoader::Reindex8, "pfReindex" }, { FunctionLoader::Reindex4, "pfReindex" },
        { FunctionLoader::GetRecLocks, "pfGetLockList" }, { FunctionLoader::WriteDbLog, "pfWriteDbLog" } };
    for (const auto& name : names)
        EXPECT_EQ(name.second, MissingName(loader, name.first));
}

TEST(FunctionLoader, MissingExportFailsOnlyItsOwnCalls)
{
    FunctionLoader loader(StandinServer::NoFindListLibraryPath().c_str());
    ASSERT_TRUE(loader.IsLoaded());
    EXPECT_EQ("", MissingName(loader, FunctionLoader::GetMaxuser));
    EXPECT_EQ("", MissingName(loader, FunctionLoader::FindListOr));
    EXPECT_EQ("pfFindList", MissingName(loader, FunctionLoader::FindList));
}

TEST(FunctionLoader, BoundEntryIsCalledThroughTheTable)
{
    FunctionLoader loader(StandinServer::LibraryPath().c_str());
    auto getMaxuser = loader.Checked<veldbcli::GetMaxuserFn>(FunctionLoader::GetMaxuser);
    int maxUsers = 0;
    SetEnvironmentVariableA("VELDBCLI_MAXUSER", "64");
    EXPECT_EQ(0, getMaxuser(&maxUsers));
    EXPECT_EQ(64, maxUsers);
    SetEnvironmentVariableA("VELDBCLI_MAXUSER", nullptr);
}

}  // namespace
