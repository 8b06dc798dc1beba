// The stand-in client library loaded as the program loads it, against a real stand-in
// server process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "StandinServer.h"
#include "standins/wire/PipeChannel.h"

namespace {

using CreateFn = int(WINAPI*)(int*);
using InitUserFn = int(WINAPI*)(int, const BYTE*);
using FreeHandlerFn = int(WINAPI*)(int);
using OpenDbFn = int(WINAPI*)(int, int, const char*, BYTE);
using DescriptionFn = int(WINAPI*)(int, int, BYTE**, int*);
using DefineKeyFn = int(WINAPI*)(int, int, int, int);
using FindRecFn = int(WINAPI*)(int, int, int, int, BYTE**);
using FindListFn = int(WINAPI*)(int, int, int, const BYTE*, BYTE**, int*, int*);
using WriteFn = int(WINAPI*)(int, int, int, int, const BYTE*);
using CountFn = int(WINAPI*)(int, int, int, int*);
using BeginFn = int(WINAPI*)(int, const char*, int, int);
using EndFn = int(WINAPI*)(int, BYTE);
using FreePtrFn = int(WINAPI*)(void*);

const char kData[] =
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n"
    "<veldbdata>\n"
    "  <database number=\"19\" name=\"SYSDB\">\n"
    "    <record name=\"dbuser\">\n"
    "      <field name=\"userid\" type=\"l\" key=\"unique\"/>\n"
    "      <field name=\"NAME\" type=\"c\" length=\"32\" key=\"unique\" scrambled=\"yes\"/>\n"
    "      <field name=\"PSW\" type=\"c\" length=\"32\" scrambled=\"yes\"/>\n"
    "      <field name=\"enabled\" type=\"c\" length=\"1\"/>\n"
    "      <row userid=\"1\" NAME=\"ADMIN\" PSW=\"TITOK\" enabled=\"1\"/>\n"
    "      <row userid=\"2\" NAME=\"VENDÉG\" PSW=\"X\" enabled=\"2\"/>\n"
    "    </record>\n"
    "    <record name=\"extfunc\">\n"
    "      <field name=\"fncid\" type=\"l\" key=\"unique\"/>\n"
    "      <field name=\"dllid\" type=\"l\" key=\"dup\"/>\n"
    "      <field name=\"Name\" type=\"c\" length=\"20\"/>\n"
    "      <row fncid=\"1\" dllid=\"1\" Name=\"Küld\"/>\n"
    "      <row fncid=\"2\" dllid=\"2\" Name=\"Számol\"/>\n"
    "      <row fncid=\"3\" dllid=\"1\" name=\"Fogad\"/>\n"
    "    </record>\n"
    "  </database>\n"
    "  <database number=\"7\" name=\"BROKEN\" description=\"0300ff\"/>\n"
    "  <fail call=\"GetCount\" status=\"10099\"/>\n"
    "</veldbdata>\n";

const int kUsers = 10000, kFunctions = 10001;

int Word(const BYTE* block, int offset)
{
    return block[offset] | block[offset + 1] << 8;
}

int Long(const BYTE* record, int offset)
{
    int value;
    memcpy(&value, record + offset, 4);
    return value;
}

class Standins : public testing::Test {
protected:
    void SetUp() override
    {
        library = LoadLibraryA(StandinServer::LibraryPath().c_str());
        ASSERT_NE(nullptr, library);
        ASSERT_TRUE(server.Start(kData));
    }
    void TearDown() override { FreeLibrary(library); }

    template <class Fn>
    Fn Bind(const char* name)
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    }

    // A new handle and InitUserEx with these settings; the status.
    int Login(const char* user, const char* password, int& handle, const std::string& service = "")
    {
        EXPECT_EQ(0, Bind<CreateFn>("_CreateDbHandler@4")(&handle));
        BYTE settings[251] = {};
        settings[0] = 251;
        settings[4] = 4;
        strcpy(reinterpret_cast<char*>(settings + 8), user);
        strcpy(reinterpret_cast<char*>(settings + 72), ".");
        strcpy(reinterpret_cast<char*>(settings + 104), (service.empty() ? server.PipeName() : service).c_str());
        strcpy(reinterpret_cast<char*>(settings + 211), password);
        return Bind<InitUserFn>("_InitUserEx@8")(handle, settings);
    }

    int Open(int handle, int db = 19)
    {
        return Bind<OpenDbFn>("_OpenDbExA@16")(handle, db, "SYSDB", 0);
    }

    int FindRec(int handle, int recordType, int keyField, const void* key, int keyLength, BYTE* buffer)
    {
        EXPECT_EQ(0, Bind<DefineKeyFn>("_DefineKey@16")(handle, 19, recordType, keyField));
        memcpy(buffer, key, static_cast<size_t>(keyLength));
        return Bind<FindRecFn>("_FindRec@20")(handle, 19, recordType, keyLength, &buffer);
    }

    HMODULE library = nullptr;
    StandinServer server;
};

TEST_F(Standins, DescriptionBlockOfTheDictionary)
{
    int handle = 0;
    ASSERT_EQ(0, Login("ADMIN", "TITOK", handle));
    EXPECT_EQ(0, Open(handle));
    EXPECT_EQ(10020, Open(handle));
    BYTE* block = nullptr;
    int size = 0;
    ASSERT_EQ(0, Bind<DescriptionFn>("_GetDbDescription@16")(handle, 19, &block, &size));
    // Two record types, seven fields; one file per record type; no sets, sorts or keys.
    int counts[7] = { Word(block, 8), Word(block, 10), Word(block, 12), Word(block, 14), Word(block, 16),
                      Word(block, 18), Word(block, 20) };
    EXPECT_EQ(2, counts[0]);
    EXPECT_EQ(2, counts[1]);
    EXPECT_EQ(7, counts[2]);
    EXPECT_EQ(0, counts[3] + counts[4] + counts[5] + counts[6]);
    const int records = 22 + 2 * 60, fields = records + 2 * 12, names = fields + 7 * 20;
    EXPECT_EQ(69, Word(block, records + 2));            // dbuser: 4 + 32 + 32 + 1 bytes
    EXPECT_EQ(4, Word(block, records + 12 + 6));        // extfunc's first field
    const BYTE* name = block + fields + 20;             // dbuser's NAME
    EXPECT_EQ('u', name[0]);
    EXPECT_EQ('c', name[1]);
    EXPECT_EQ(32, Word(name, 2));
    EXPECT_EQ(4, Word(name, 14));
    const BYTE* fncName = block + fields + 6 * 20;      // extfunc's Name
    EXPECT_EQ(8, Word(fncName, 14));
    EXPECT_EQ(1, Word(fncName, 16));
    std::string text(reinterpret_cast<const char*>(block) + names, static_cast<size_t>(size - names));
    EXPECT_EQ("dbuser\nextfunc\nuserid\nNAME\nPSW\nenabled\nfncid\ndllid\nName\n", text);
    Bind<FreePtrFn>("_FreePtr@4")(block);

    // A test's own block comes as it stands.
    ASSERT_EQ(0, Open(handle, 7));
    ASSERT_EQ(0, Bind<DescriptionFn>("_GetDbDescription@16")(handle, 7, &block, &size));
    ASSERT_EQ(3, size);
    EXPECT_EQ(0xFF, block[2]);
    Bind<FreePtrFn>("_FreePtr@4")(block);
}

TEST_F(Standins, LoginRefusals)
{
    int handle = 0;
    EXPECT_EQ(10014, Login("NOBODY", "TITOK", handle));
    EXPECT_EQ(10008, Open(handle));                     // nothing without a login
    EXPECT_EQ(10067, Login("VENDÉG", "X", handle));
    EXPECT_EQ(10068, Login("ADMIN", "titok", handle));
    EXPECT_EQ(10014, Login("admin", "TITOK", handle));
    EXPECT_EQ(0, Login("ADMIN", "TITOK", handle));
    EXPECT_EQ(0, Open(handle));
}

TEST_F(Standins, FindByScrambledNameAndByNumber)
{
    int handle = 0;
    ASSERT_EQ(0, Login("ADMIN", "TITOK", handle));
    ASSERT_EQ(0, Open(handle));
    BYTE record[69] = {};
    const BYTE admin[] = { 0xA0, 0x44, 0x53, 0x92, 0xC9 };    // "ADMIN" under the user-name key
    ASSERT_EQ(0, FindRec(handle, kUsers, 1, admin, 5, record));
    EXPECT_EQ(1, Long(record, 0));
    EXPECT_EQ(1, record[68]);
    EXPECT_EQ(10002, FindRec(handle, kUsers, 1, "ADMIN", 5, record));
    int three = 3, nine = 9;
    BYTE function[28] = {};
    ASSERT_EQ(0, FindRec(handle, kFunctions, 1000, &three, 4, function));
    EXPECT_STREQ("Fogad", reinterpret_cast<char*>(function + 8));
    EXPECT_EQ(10002, FindRec(handle, kFunctions, 1000, &nine, 4, function));
}

TEST_F(Standins, ListByKeyAndForcedStatus)
{
    int handle = 0;
    ASSERT_EQ(0, Login("ADMIN", "TITOK", handle));
    ASSERT_EQ(0, Open(handle));
    ASSERT_EQ(0, Bind<DefineKeyFn>("_DefineKey@16")(handle, 19, kFunctions, 1001));
    auto findList = Bind<FindListFn>("_FindList@28");
    int one = 1, five = 5, total = 0, recordSize = 0;
    BYTE* data = nullptr;
    ASSERT_EQ(0, findList(handle, 19, kFunctions, reinterpret_cast<BYTE*>(&one), &data, &total, &recordSize));
    EXPECT_EQ(28, recordSize);
    ASSERT_EQ(56, total);
    EXPECT_STREQ("Küld", reinterpret_cast<char*>(data + 8));
    EXPECT_EQ(3, Long(data, 28));
    Bind<FreePtrFn>("_FreePtr@4")(data);
    EXPECT_EQ(10002, findList(handle, 19, kFunctions, reinterpret_cast<BYTE*>(&five), &data, &total, &recordSize));

    EXPECT_EQ("ok", server.Query("fail FindList 10099"));
    EXPECT_EQ(10099, findList(handle, 19, kFunctions, reinterpret_cast<BYTE*>(&one), &data, &total, &recordSize));
    EXPECT_EQ("ok", server.Query("fail FindList 0"));
    ASSERT_EQ(0, findList(handle, 19, kFunctions, reinterpret_cast<BYTE*>(&one), &data, &total, &recordSize));
    Bind<FreePtrFn>("_FreePtr@4")(data);
    EXPECT_EQ("4", server.Query("count FindList"));
    int count = 0;
    EXPECT_EQ(10099, Bind<CountFn>("_GetCount@16")(handle, 19, kFunctions, &count));   // from the data file
}

TEST_F(Standins, WritesAndTheirRollBack)
{
    int handle = 0;
    ASSERT_EQ(0, Login("ADMIN", "TITOK", handle));
    ASSERT_EQ(0, Open(handle));
    ASSERT_EQ("ok", server.Query("fail GetCount 0"));
    auto count = [&] {
        int n = -1;
        EXPECT_EQ(0, Bind<CountFn>("_GetCount@16")(handle, 19, kFunctions, &n));
        return n;
    };
    auto newRec = Bind<WriteFn>("_NewRec@20");
    BYTE function[28] = {};
    function[0] = 4;
    ASSERT_EQ(0, Bind<BeginFn>("_BeginTransaction@16")(handle, "t", 0, 0));
    EXPECT_EQ(0, newRec(handle, 19, kFunctions, 28, function));
    EXPECT_EQ(4, count());
    EXPECT_EQ(10005, newRec(handle, 19, kFunctions, 28, function));     // "fncid" is unique
    EXPECT_EQ(0, Bind<WriteFn>("_DelRec@20")(handle, 19, kFunctions, 28, function));
    EXPECT_EQ(3, count());
    EXPECT_EQ(0, newRec(handle, 19, kFunctions, 28, function));
    ASSERT_EQ(0, Bind<EndFn>("_EndTransaction@8")(handle, 0));
    EXPECT_EQ(3, count());
}

TEST_F(Standins, ConnectionsCountedUntilFreed)
{
    int first = 0, second = 0;
    ASSERT_EQ(0, Login("ADMIN", "TITOK", first));
    ASSERT_EQ(10068, Login("ADMIN", "NEM", second));
    EXPECT_EQ("2", server.Query("count connections"));
    EXPECT_EQ(0, Bind<FreeHandlerFn>("_FreeDbHandler@4")(second));
    EXPECT_EQ("1", server.Query("count connections"));
    EXPECT_EQ(10009, Open(second));                     // the handle is gone
    EXPECT_EQ(0, Bind<FreeHandlerFn>("_FreeDbHandler@4")(first));
    EXPECT_EQ("0", server.Query("count connections"));
}

TEST_F(Standins, ClientsAtOnceEachGetTheirOwnRows)
{
    std::atomic<int> wrong{ 0 };
    std::vector<std::thread> clients;
    for (int c = 0; c < 4; ++c) {
        clients.emplace_back([&, c] {
            int handle = 0;
            if (Login("ADMIN", "TITOK", handle) != 0 || Open(handle) != 0) {
                ++wrong;
                return;
            }
            for (int i = 0; i < 50; ++i) {
                int id = 1 + (c + i) % 3;
                BYTE function[28] = {};
                if (FindRec(handle, kFunctions, 1000, &id, 4, function) != 0 || Long(function, 0) != id)
                    ++wrong;
            }
            Bind<FreeHandlerFn>("_FreeDbHandler@4")(handle);
        });
    }
    for (auto& client : clients)
        client.join();
    EXPECT_EQ(0, wrong.load());
    EXPECT_EQ("0", server.Query("count connections"));
    EXPECT_EQ("4", server.Query("count FreeDbHandler"));
}

TEST_F(Standins, ServerOutOfReach)
{
    int handle = 0;
    EXPECT_EQ(10071, Login("ADMIN", "TITOK", handle, "no-such-veldbsrv"));
    EXPECT_EQ(10071, Open(handle));
    EXPECT_EQ(10071, Bind<FreeHandlerFn>("_FreeDbHandler@4")(handle));

    ASSERT_EQ(0, Login("ADMIN", "TITOK", handle));
    ASSERT_EQ(0, Open(handle));
    server.Kill();
    EXPECT_EQ(10071, Open(handle, 7));
    EXPECT_EQ(10071, Bind<DefineKeyFn>("_DefineKey@16")(handle, 19, kUsers, 0));
    EXPECT_EQ(10071, Bind<FreeHandlerFn>("_FreeDbHandler@4")(handle));
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

TEST_F(Standins, FaultyDataFileRefusedAndTheOldOneServed)
{
    std::string faulty = server.DataFile() + ".faulty";
    FILE* file = fopen(faulty.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    fputs("<veldbdata>\n<database number=\"19\" name=\"SYSDB\">\n<record name=\"dbuser\">\n"
          "<field name=\"NAME\" type=\"c\" length=\"32\"/>\n<row NAME=\"X\" PSW=\"Y\"/>\n"
          "</record></database></veldbdata>\n", file);
    fclose(file);
    std::string answer = server.Query("load " + faulty);
    DeleteFileA(faulty.c_str());
    EXPECT_EQ(0u, answer.find("error: record dbuser has no field PSW (line 5)")) << answer;
    int handle = 0;
    EXPECT_EQ(0, Login("ADMIN", "TITOK", handle));
}

TEST(StandinLibrary, OlderBuildLacksFindList)
{
    HMODULE older = LoadLibraryA(StandinServer::NoFindListLibraryPath().c_str());
    ASSERT_NE(nullptr, older);
    EXPECT_EQ(nullptr, GetProcAddress(older, "_FindList@28"));
    EXPECT_NE(nullptr, GetProcAddress(older, "_FindListOr@28"));
    EXPECT_NE(nullptr, GetProcAddress(older, "_FindRec@20"));
    FreeLibrary(older);
}

// Messages reach the reader whole and in order, however the pipe cuts or joins them.
TEST(StandinWire, MessagesJoinedOrCutByThePipe)
{
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 1 << 20));
    standin::PipeChannel reader(read), writer(write);
    std::string big(200000, 'x');
    big[123456] = 'y';
    std::thread sender([&] {
        writer.Send("first");
        writer.Send("");
        writer.Send(big);
        // A length written byte by byte, then its message.
        const char pieces[] = { 3, 0, 0, 0, 'e', 'n', 'd' };
        for (char piece : pieces) {
            DWORD written = 0;
            WriteFile(write, &piece, 1, &written, nullptr);
            Sleep(1);
        }
        writer.Close();
    });
    std::string message;
    std::vector<std::string> received;
    while (reader.Receive(message))
        received.push_back(message);
    sender.join();
    EXPECT_EQ((std::vector<std::string>{ "first", "", big, "end" }), received);
}

}  // namespace
