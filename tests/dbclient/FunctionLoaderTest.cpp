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

TEST(FunctionLoader, WithoutTheLibraryEveryCallFailsWithItsName)
{
    FunctionLoader loader("no-such-veldbcli.dll");
    EXPECT_FALSE(loader.IsLoaded());
    EXPECT_EQ("pfCreateDbHandler", MissingName(loader, FunctionLoader::CreateDbHandler));
    EXPECT_EQ("pfFirstRec", MissingName(loader, FunctionLoader::FirstRec));
    EXPECT_EQ("pfOpenDbExA", MissingName(loader, FunctionLoader::OpenDbExA));
    EXPECT_EQ("pfFreePtr", MissingName(loader, FunctionLoader::FreePtr));
}

TEST(FunctionLoader, NamesOfTheOddEntries)
{
    FunctionLoader loader("no-such-veldbcli.dll");
    EXPECT_EQ("pfReindex", MissingName(loader, FunctionLoader::Reindex8));
    EXPECT_EQ("pfReindex", MissingName(loader, FunctionLoader::Reindex4));
    EXPECT_EQ("pfGetLockList", MissingName(loader, FunctionLoader::GetRecLocks));
    EXPECT_EQ("pfWriteDbLog", MissingName(loader, FunctionLoader::WriteDbLog));
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

TEST(FunctionLoader, TheProcessTableIsBoundAtStartUp)
{
    // No veldbcli.dll beside the tests: the process's table stays unbound, quietly.
    EXPECT_FALSE(FunctionLoader::Instance().IsLoaded());
    EXPECT_EQ("pfCreateDbHandler", MissingName(FunctionLoader::Instance(), FunctionLoader::CreateDbHandler));
}

}  // namespace
