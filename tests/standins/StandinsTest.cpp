// The stand-in client library loaded as the program loads it, against a stand-in server process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "StandinServer.h"
#include "dbclient/ClientLibrary.h"
#include "dbclient/ClientSettings.h"
#include "standins/wire/PacketWriter.h"
#include "standins/wire/PipeChannel.h"
#include "standins/wire/StandinProtocol.h"

namespace {

const char kData[] = R"(<?xml version="1.0" encoding="windows-1250"?>
<veldbdata>
  <database number="19" name="SYSDB">
    <record name="dbuser">
      <field name="userid" type="l" key="unique"/>
      <field name="NAME" type="c" length="32" key="unique" scrambled="yes"/>
      <field name="PSW" type="c" length="32" scrambled="yes"/><field name="enabled" type="c" length="1"/>
      <row userid="1" NAME="ADMIN" PSW="TITOK" enabled="1"/><row userid="2" NAME="VENDÉG" PSW="X" enabled="2"/>
    </record>
    <record name="extfunc">
      <field name="fncid" type="l" key="unique"/><field name="dllid" type="l" key="dup"/>
      <field name="Name" type="c" length="20"/>
      <row fncid="1" dllid="1" Name="Küld"/><row fncid="2" dllid="2" Name="Számol"/>
      <row fncid="3" dllid="1" name="Fogad"/>
    </record>
  </database>
</veldbdata>
)";

const int kFunctions = 10001;

// Calls the library as the program does, through its exports and its settings record.
class Standins : public testing::Test {
protected:
    void SetUp() override
    {
        library.Reset(LoadLibraryA(StandinServer::LibraryPath().c_str()));
        ASSERT_TRUE(library);
        ASSERT_TRUE(server.Start(kData));
    }

    template <class Fn>
    Fn Bind(const char* name)
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library.Get(), name)));
    }

    // A new handle and InitUserEx with these settings; the status.
    int Login(const char* user, const char* password, int& handle, uint32_t timeoutMs = 0)
    {
        EXPECT_EQ(0, Bind<veldbcli::CreateDbHandlerFn>("_CreateDbHandler@4")(&handle));
        ClientSettings settings = {};
        settings.size = sizeof settings;
        settings.version = 4;
        settings.timeout = timeoutMs;
        CopyFixedText(settings.user, user);
        CopyFixedText(settings.server, ".");
        CopyFixedText(settings.service, server.PipeName());
        CopyFixedText(settings.password, password);
        return Bind<veldbcli::InitUserExFn>("_InitUserEx@8")(handle, &settings);
    }

    int Open(int handle, int db = 19)
    {
        return Bind<veldbcli::OpenDbExAFn>("_OpenDbExA@16")(handle, db, "SYSDB", 0);
    }

    int FindRec(int handle, int recordType, int keyField, const void* key, int keyLength, BYTE* buffer)
    {
        EXPECT_EQ(0, Bind<veldbcli::DefineKeyFn>("_DefineKey@16")(handle, 19, recordType, keyField));
        memcpy(buffer, key, static_cast<size_t>(keyLength));
        return Bind<veldbcli::FindRecFn>("_FindRec@20")(handle, 19, recordType, keyLength, &buffer);
    }

    velutils::ModuleHandle library;
    StandinServer server;
};

// Each connection is served by a thread of its own, made as the client comes, while the
// threads of the ones before may be ending: a few hundred quick connections from four
// clients at once, each a test request, a login and a find of the client's own, must
// each be answered (a lost one shows as 10071 after 5 s) and each get their own rows.
TEST_F(Standins, QuickLoginsFromClientsAtOnceAreEachAnswered)
{
    const int clients = 4, rounds = 250;
    std::atomic<int> wrong{ 0 };
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            for (int i = 0; i < rounds && wrong < 3; ++i) {
                // A request whose client goes without waiting: its thread ends at once.
                standin::PipeChannel hasty;
                if (hasty.Open("\\\\.\\pipe\\" + server.PipeName()))
                    hasty.Send(standin::PacketWriter().Int(standin::Query).Data());
                hasty.Close();
                int handle = 0, id = 1 + (c + i) % 3;
                BYTE function[28] = {};
                if (Login("ADMIN", "TITOK", handle, 5000) != 0 || Open(handle) != 0 ||
                    FindRec(handle, kFunctions, 1000, &id, 4, function) != 0 || memcmp(function, &id, 4) != 0)
                    ++wrong;
                Bind<veldbcli::FreeDbHandlerFn>("_FreeDbHandler@4")(handle);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(0, wrong.load());
    EXPECT_EQ(std::to_string(clients * rounds), server.Query("count InitUserEx"));
    EXPECT_EQ("0", server.Query("count connections"));
}

TEST_F(Standins, DemoDataLogsInAndOpensEveryDatabase)
{
    ASSERT_EQ("ok", server.Query(std::string("load ") + VELDB_DEMO_DATA));
    int handle = 0;
    EXPECT_EQ(10067, Login("VENDEG", "VENDEG", handle));
    EXPECT_EQ(0, Login("OPERATOR", "JELSZO", handle));
    ASSERT_EQ(0, Login("ADMIN", "ADMIN", handle));
    for (int db : { 19, 1, 2, 3, 4 })
        EXPECT_EQ(0, Open(handle, db)) << db;
}

}  // namespace
