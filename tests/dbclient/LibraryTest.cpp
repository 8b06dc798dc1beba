// The database client against the real stand-in pair: veldbcli.dll bound by the process's own
// table (on the PATH the parent test gives). Runs only as such a child.
#include <gtest/gtest.h>

#include <random>

#include "SecretScan.h"
#include "StandinServer.h"
#include "Thrown.h"
#include "dbclient/TRdmLogin.h"
#include "dbclient/VelConn.h"
#include "utils/DbDescError.h"
#include "utils/ModalBoxAnswerer.h"
#include "tests/utils/WindowText.h"

namespace {

const char kData[] = R"(<?xml version="1.0" encoding="windows-1250"?>
<veldbdata>
  <database number="19" name="SYSDB">
    <record name="dbuser"><field name="userid" type="l" key="unique"/>
      <field name="NAME" type="c" length="32" key="unique" scrambled="yes"/>
      <field name="PSW" type="c" length="32" scrambled="yes"/><field name="enabled" type="c" length="1"/>
      <row userid="1" NAME="ADMIN" PSW="ADMIN" enabled="1"/><row userid="2" NAME="VENDEG" PSW="VENDEG" enabled="2"/>
    </record>
    <record name="tablespace">
      <field name="dbid" type="l" key="unique"/><field name="name" type="c" length="32" key="unique"/>
      <field name="tspname" type="c" length="32" key="dup"/><field name="vermajor" type="l"/>
      <field name="verminor" type="l"/><field name="versub" type="l"/><field name="verbuild" type="l"/>
      <row dbid="19" name="SYSDB" tspname="SYS" vermajor="3" verminor="1"/>
      <row dbid="7" name="DATA" tspname="DATA" vermajor="1" verminor="2" versub="3" verbuild="4"/>
    </record>
    <record name="tables"><field name="tableid" type="l" key="unique"/><field name="id" type="l" key="dup"/>
      <field name="tabname" type="c" length="32"/>
      <row tableid="701" id="7" tabname="everytype"/><row tableid="801" id="8" tabname="everytype"/></record>
    <record name="fields">
      <field name="tableid" type="l" key="dup"/><field name="tabname" type="c" length="32"/>
      <field name="fldname" type="c" length="32"/><field name="sqltype" type="l"/>
      <field name="length" type="s"/><field name="precision" type="s"/>
      <row tableid="701" tabname="EVERYTYPE" fldname="DBL" sqltype="8" length="15" precision="2"/>
      <row tableid="701" tabname="EVERYTYPE" fldname="NOSUCH" sqltype="4"/>
      <row tableid="701" tabname="NOTABLE" fldname="DBL" sqltype="4"/>
      <row tableid="801" tabname="EVERYTYPE" fldname="DBL" sqltype="4" length="4"/>
    </record>
    <record name="fileblobs"><field name="fb_alias" type="c" length="32" key="unique"/><field name="fb_id" type="l"/>
      <row fb_alias="KEP" fb_id="5"/></record>
  </database>
  <database number="7" name="DATA">
    <record name="everytype">
      <field name="id" type="l" key="unique"/><field name="ch" type="c" length="1"/>
      <field name="uch" type="c" length="1" unsigned="yes"/><field name="text" type="c" length="8" key="dup"/>
      <field name="sh" type="s"/><field name="ush" type="s" unsigned="yes"/><field name="reg" type="i"/>
      <field name="ulng" type="l" unsigned="yes"/><field name="addr" type="d"/><field name="flt" type="f"/>
      <field name="dbl" type="F"/>
      <row id="1" ch="65" text="one" sh="-3" ush="65533" reg="-7" ulng="4294967295" addr="9" flt="0.5" dbl="-1.25"/>
      <row id="2" text="two"/>
    </record>
  </database>
  <database number="8" name="BROKEN" description="030000040000"/>
</veldbdata>
)";

// The same data on a server that leaves the user check to the client.
std::string OpenDoorData()
{
    std::string xml = kData;
    xml.replace(xml.find("<veldbdata>"), 11, "<veldbdata logincheck=\"off\">");
    return xml;
}

class LibraryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!GetEnvironmentVariableA("VELDB_DBCLIENT_CHILD", nullptr, 0))
            GTEST_SKIP() << "runs as a child of StandinPair";
        ASSERT_TRUE(server.Start(kData));
        Serve("SYSDB", server);
        Serve("DATA", server);
    }
    void TearDown() override
    {
        VelConn::DeleteSettings("SYSDB");
        VelConn::DeleteSettings("DATA");
    }
    static void Serve(const char* database, const StandinServer& by)
    {
        ClientSettings s = {};
        CopyFixedText(s.service, by.PipeName());
        ASSERT_TRUE(VelConn::WriteSettings(database, s));
    }
    StandinServer server;
};

using LibraryLogin = LibraryFixture;
using LibraryTables = LibraryFixture;
using NoFindList = LibraryFixture;
using NoFreeDbHandler = LibraryFixture;

TEST_F(LibraryLogin, SucceedsUpperCasedAndAgainOnTheSameConnection)
{
    VelConn conn;
    ASSERT_TRUE(conn.Login("sysdb", "admin", "admin", false));
    EXPECT_EQ(1, conn.UserId());
    EXPECT_EQ("ADMIN", conn.User());
    EXPECT_EQ("SYSDB", conn.Database());
    EXPECT_EQ(1, server.Count("connections"));
    EXPECT_EQ("ADMIN", conn.UserNameById(1));
    EXPECT_EQ("", conn.UserNameById(99));
    // The second login starts from a new handle and nothing read on the old one.
    Thrown again = ThrownBy([&] { EXPECT_TRUE(conn.Login("SYSDB", "admin", "admin", false)); });
    EXPECT_EQ(0, again.code) << again.what;
    EXPECT_EQ("VENDEG", conn.UserNameById(2));
    EXPECT_EQ(2, server.Count("OpenDbExA"));
    EXPECT_EQ(1, server.Count("connections"));
    conn.Disconnect();
    EXPECT_EQ(0, server.Count("connections"));
}

// Unknown, disabled (enabled 2) and wrong password: refused by the library, and by the
// connection's own check where the server admits everybody. Without the dialog an
// unknown user of the own check is refused without a box.
TEST_F(LibraryLogin, RefusedByTheLibraryOrByTheUserCheck)
{
    StandinServer openDoor;
    ASSERT_TRUE(openDoor.Start(OpenDoorData()));
    const std::pair<const char*, const char*> cases[] = {
        { "NOBODY", "Ismeretlen felhasználónév!" }, { "VENDEG", "A felhasználó tiltott!" },
        { "ADMIN", "Nem megfelelő jelszó!" } };
    for (const StandinServer* by : { &server, &openDoor }) {
        Serve("SYSDB", *by);
        for (const auto& c : cases) {
            std::string shown;
            ModalBoxAnswerer box("", IDOK, [&](HWND b) { shown = Joined(ChildTexts(b)); });
            VelConn conn;
            EXPECT_FALSE(conn.Login("SysDb", c.first, "vendeg", false)) << c.first;
            bool silent = by == &openDoor && c.first == std::string("NOBODY");
            EXPECT_EQ(!silent, box.Answered()) << c.first;
            if (silent)
                continue;
            EXPECT_NE(std::string::npos, shown.find(std::string(c.first) + "/***@SYSDB")) << shown;
            EXPECT_NE(std::string::npos, shown.find(c.second)) << shown;
        }
    }
    EXPECT_EQ(0, server.Count("connections"));
    EXPECT_EQ(0, openDoor.Count("connections"));
}

TEST_F(LibraryLogin, MissingSettingsAndServerFailures)
{
    VelConn conn;
    Thrown unknown = ThrownBy([&] { conn.Login("NOWHERE", "admin", "admin", false); });
    EXPECT_EQ(10039, unknown.code);
    EXPECT_EQ("NOWHERE", unknown.arg);
    server.Query("fail OpenDbExA 10071");
    EXPECT_EQ(10071, ErrorCode([&] { conn.Login("SYSDB", "admin", "admin", false); }));
    EXPECT_EQ(0, server.Count("connections"));       // the half-made connection ended
    server.Query("fail OpenDbExA 0");
    server.Kill();
    Thrown gone = ThrownBy([&] { conn.Login("SYSDB", "admin", "admin", false); });
    EXPECT_EQ(10071, gone.code) << "logged in without a server";
    EXPECT_NE(std::string::npos, gone.what.find("nem érhető el")) << gone.what;
    EXPECT_FALSE(conn.IsConnected());
    EXPECT_EQ(VelConn::InvalidHandle, conn.Handle());
}

void Type(HWND control, const std::string& text)
{
    SetFocus(control);
    for (char c : text)
        SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// A password refused by the connection's own check (the server admits everybody) brings
// the dialog back with what was typed; the right one then logs in. Meanwhile another
// connection comes and goes without touching this login's dialog.
TEST_F(LibraryLogin, DialogDrivenByKeystrokes)
{
    StandinServer openDoor;
    ASSERT_TRUE(openDoor.Start(OpenDoorData()));
    Serve("SYSDB", openDoor);
    std::vector<std::string> names{ "sysdb", "data" };
    ModalBoxAnswerer user({
        { "Bejelentkezés", [](HWND d) {
              std::vector<std::string> labels;
              for (int id : { int(TRdmLogin::UserLabelId), int(TRdmLogin::PasswordLabelId),
                              int(TRdmLogin::DatabaseLabelId), IDOK, IDCANCEL })
                  labels.push_back(Text(d, id));
              EXPECT_EQ((std::vector<std::string>{ "Felhasználó:", "Jelszó:", "Adatbázis:", "Rendben", "Mégse" }),
                        labels);
              EXPECT_EQ(ES_PASSWORD, GetWindowLongA(GetDlgItem(d, TRdmLogin::PasswordEditId), GWL_STYLE) & ES_PASSWORD);
              EXPECT_EQ(WS_EX_TOPMOST, GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_TOPMOST);
              HWND combo = GetDlgItem(d, TRdmLogin::DatabaseComboId);
              EXPECT_EQ(2, SendMessageA(combo, CB_GETCOUNT, 0, 0));
              EXPECT_EQ("SYSDB", Text(d, TRdmLogin::DatabaseComboId));
              EXPECT_TRUE(Enabled(d, TRdmLogin::DatabaseComboId));
              EXPECT_FALSE(Enabled(d, IDOK));
              Type(GetDlgItem(d, TRdmLogin::UserEditId), "admin");
              EXPECT_EQ("ADMIN", Text(d, TRdmLogin::UserEditId));
              EXPECT_FALSE(Enabled(d, IDOK));
              Type(GetDlgItem(d, TRdmLogin::PasswordEditId), "wrong0123456789xyz");
              EXPECT_TRUE(Enabled(d, IDOK));
              { VelConn other; }
              Click(d, IDOK);
          } },
        { "", [](HWND box) { Click(box, IDOK); } },
        { "Bejelentkezés", [](HWND d) {
              EXPECT_EQ("ADMIN", Text(d, TRdmLogin::UserEditId));     // what was typed
              EXPECT_EQ("WRONG0123456789", Text(d, TRdmLogin::PasswordEditId));
              HWND password = GetDlgItem(d, TRdmLogin::PasswordEditId);
              SendMessageA(password, EM_SETSEL, 0, -1);
              Type(password, "Admin");
              Click(d, IDOK);
          } },
    });
    VelConn conn;
    Thrown thrown = ThrownBy([&] { EXPECT_TRUE(conn.Login("sysdb", "", "", true, "", nullptr, true, &names)); });
    EXPECT_EQ(0, thrown.code) << thrown.what;
    EXPECT_TRUE(user.Answered());
    EXPECT_EQ(1, conn.UserId());
    EXPECT_EQ(2, openDoor.Count("InitUserEx"));
}

TEST_F(LibraryLogin, DialogCancelledWithoutChoiceOrNotShownWithoutDatabases)
{
    LoginTexts texts;
    texts.caption = "Belépés";
    ModalBoxAnswerer user({ { "Belépés", [](HWND d) {
                                 EXPECT_FALSE(Enabled(d, TRdmLogin::DatabaseComboId));
                                 EXPECT_TRUE(Enabled(d, IDOK));      // all three given, database listed
                                 Click(d, IDCANCEL);
                             } },
                            { "Belépés", [](HWND d) { Click(d, IDCANCEL); } } });
    VelConn conn;
    EXPECT_FALSE(conn.Login("data", "admin", "admin", true, "", &texts, false));
    EXPECT_EQ(1u, user.Taken());
    // No database to offer: OK could never be pressed, so the settings are missing.
    std::vector<std::string> none;
    Thrown empty = ThrownBy([&] { conn.Login("data", "admin", "admin", true, "", &texts, true, &none); });
    EXPECT_EQ(10039, empty.code);
    EXPECT_NE(std::string::npos, empty.what.find("HKLM\\software\\veldbclients")) << empty.what;
    EXPECT_EQ(1u, user.Taken()) << "a dialog that cannot be confirmed was shown";
    EXPECT_EQ(0, server.Count("InitUserEx"));
}

// Random letters and digits, so that no copy of them stands in the program's image.
std::string RandomPassword()
{
    const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    static std::mt19937 random(GetTickCount() ^ GetCurrentProcessId());
    std::string password(12, '\0');
    for (char& c : password)
        c = letters[random() % (sizeof letters - 1)];
    return password;
}

// The form the server stores: each byte rotated right by its key digit.
std::string ScrambledCopy(const std::string& text)
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        int n = VelConn::NameKey[i % 8] - '0';
        out[i] = static_cast<char>(n ? (c >> n) | (c << (8 - n)) : c);
    }
    return out;
}

void Wipe(std::string& text) { SecureZeroMemory(&text[0], text.size()); }

struct PasswordReads {
    static void Watch(HWND field)
    {
        count = 0;
        original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_GETTEXT)
            ++count;
        return CallWindowProcA(original, window, msg, wParam, lParam);
    }
    static inline int count = 0;
    static inline WNDPROC original = nullptr;
};

// After a login and a refused one, without and with the dialog, no copy of a password
// (typed or scrambled) is left anywhere in the process but in the library's own memory.
TEST_F(LibraryLogin, PasswordsLeaveNoCopies)
{
    std::string right = RandomPassword(), wrong = RandomPassword();
    std::string rightStored = ScrambledCopy(right), wrongStored = ScrambledCopy(wrong);
    const std::pair<const char*, const std::string*> forms[] = {
        { "typed right", &right }, { "stored right", &rightStored }, { "typed wrong", &wrong },
        { "stored wrong", &wrongStored } };
    std::string path = server.DataFile() + ".secret";
    {
        std::string xml = OpenDoorData();
        xml.reserve(xml.size() + 64);            // no copy left behind by a reallocation
        xml.replace(xml.find("PSW=\"ADMIN\"") + 5, 5, right);
        velutils::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.Get(), xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr);
        Wipe(xml);
    }
    StandinServer secret;
    ASSERT_TRUE(secret.StartFile(path));
    Serve("SYSDB", secret);
    auto standinHeap = reinterpret_cast<HANDLE(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("veldbcli.dll"), "StandinHeap")));
    ASSERT_TRUE(standinHeap);
    SecretScan scan(standinHeap());
    for (const auto& form : forms)
        scan.Own(*form.second);
    auto copies = [&](const char* when) {
        for (const auto& form : forms)
            EXPECT_EQ(0u, scan.Count(*form.second)) << when << ": " << form.first;
    };
    {
        VelConn conn;
        ASSERT_TRUE(conn.Login("SYSDB", "ADMIN", right, false));
        copies("logged in");
        ModalBoxAnswerer box("", IDOK);
        EXPECT_FALSE(conn.Login("SYSDB", "ADMIN", wrong, false));
        EXPECT_TRUE(box.Answered());
    }
    copies("after a refused login");
    std::vector<std::string> names{ "SYSDB" };
    // Until OK the password stands only in its field: no keystroke reads it out.
    auto typing = [](const std::string& password) {
        return [&password](HWND d) {
            Type(GetDlgItem(d, TRdmLogin::UserEditId), "ADMIN");
            PasswordReads::Watch(GetDlgItem(d, TRdmLogin::PasswordEditId));
            Type(GetDlgItem(d, TRdmLogin::PasswordEditId), password);
        };
    };
    auto confirming = [&copies](HWND d) {
        EXPECT_EQ(0, PasswordReads::count) << "keystrokes read the password out";
        copies("typed into the dialog");
        Click(d, IDOK);
    };
    {
        ModalBoxAnswerer user({ { "Bejelentkezés", typing(right) }, { "Bejelentkezés", confirming } });
        VelConn conn;
        EXPECT_TRUE(conn.Login("SYSDB", "", "", true, "", nullptr, true, &names));
        copies("logged in through the dialog");
    }
    {
        ModalBoxAnswerer user({ { "Bejelentkezés", typing(wrong) }, { "Bejelentkezés", confirming },
                          { "", [](HWND box) { Click(box, IDOK); } },
                          { "Bejelentkezés", [](HWND d) { Click(d, IDCANCEL); } } });
        VelConn conn;
        EXPECT_FALSE(conn.Login("SYSDB", "", "", true, "", nullptr, true, &names));
        EXPECT_TRUE(user.Answered());
    }
    copies("after a refused login through the dialog");
    for (const auto& form : forms)
        Wipe(*const_cast<std::string*>(form.second));
}

TEST_F(LibraryTables, DescriptionsEnrichedAndOpenedOnce)
{
    VelConn conn;
    ASSERT_TRUE(conn.Login("SYSDB", "admin", "admin", false));
    DbDescMap& map = conn.Descriptions();
    EXPECT_EQ(19, map.GetDbByName("sysdb").Number());
    int opens = server.Count("OpenDbExA");
    EXPECT_TRUE(map.OpenTablespace("SysDb", 19, 0, false));
    EXPECT_EQ(opens, server.Count("OpenDbExA"));
    DbDescMap fresh;                           // "sysdb" by name is number 19
    fresh.SetHandle(conn.Handle());
    EXPECT_TRUE(fresh.Open("sysdb", 0, false));
    EXPECT_EQ(19, fresh.GetDbByName("SYSDB").Number());
    EXPECT_EQ(opens + 1, server.Count("OpenDbExA"));
    ASSERT_TRUE(map.Open("data", 0, false));
    DbDesc data = map.GetDbByName("DATA");
    const DbVersion version = data.Version();
    EXPECT_EQ((std::vector<int>{ 7, 2, 4 }), (std::vector<int>{ data.Number(), version.minor, version.build }));
    // From the rows of "tables" of this database alone: database 8 has a table of the same name.
    const FieldSqlInfo* dbl = data.SqlInfo(data.FieldNumber("everytype", "dbl"));
    ASSERT_NE(nullptr, dbl);
    EXPECT_EQ((std::vector<int>{ 8, 15, 2 }), (std::vector<int>{ dbl->sqlType, dbl->length, dbl->precision }));
    EXPECT_EQ(nullptr, data.SqlInfo(data.FieldNumber("everytype", "id")));
    EXPECT_EQ(5, data.BlobFileId("kep"));
    EXPECT_EQ(2000, ErrorCode([&] { map.GetDbByName("none"); }));
    EXPECT_EQ(2000, ErrorCode([&] { map.GetDbByName(5); }));
    EXPECT_EQ(2004, ErrorCode([&] { map.OpenTablespace("BROKEN", 8, 0, false); }));
    EXPECT_TRUE(map.Remove("data"));
    EXPECT_EQ(1u, map.Count());
}

TEST_F(LibraryTables, FindsListsStepsAndWritesThroughTheServer)
{
    VelConn conn;
    ASSERT_TRUE(conn.Login("SYSDB", "admin", "admin", false));
    ASSERT_TRUE(conn.Descriptions().Open("DATA", 0, false));
    DbDesc data = conn.Descriptions().GetDbByName("data");
    EXPECT_EQ(2002, ErrorCode([&] { RdmTable none(data, "nothing"); }));
    RdmTable t(data, "EveryType");
    t.Field("id").SetNumber(1);
    ASSERT_TRUE(t.FindByKey("id"));
    std::vector<std::string> found;
    for (const char* name : { "ch", "text", "ush", "ulng", "dbl" })
        found.push_back(t.Field(name).AsText());
    EXPECT_EQ((std::vector<std::string>{ "A", "one", "65533", "4294967295", "-1.25" }), found);
    EXPECT_EQ(-1, t.Field("ulng").AsNumber());        // the same 32 bits, as the accessor says
    t.Field("id").SetNumber(99);
    EXPECT_FALSE(t.FindByKey("id"));
    t.Field("text").SetText("two");
    ASSERT_TRUE(t.FindList("text", RdmTable::BeforeFirst));      // one record, mode 5
    EXPECT_EQ(0, t.Field("id").AsNumber());
    ASSERT_TRUE(t.NextOfList());
    EXPECT_EQ(2, t.Field("id").AsNumber());
    EXPECT_FALSE(t.NextOfList());
    ASSERT_TRUE(t.GetAllRec(RdmTable::BeforeFirst));
    EXPECT_EQ(2u, t.ListCount());
    t.Field("text").SetText("none");
    EXPECT_FALSE(t.FindList("text", RdmTable::BeforeFirst));     // right after rows were found
    EXPECT_EQ(0u, t.ListCount());
    EXPECT_FALSE(t.NextOfList());
    ASSERT_TRUE(t.StepRecord(RdmTable::Last, ""));
    EXPECT_EQ(2, t.Field("id").AsNumber());

    // A step answered with success but no record is a failure of that entry.
    const char* const steps[] = { "FirstRec", "PrevRec", "NextRec", "LastRec", "ReadCurrentRec" };
    for (int step = RdmTable::First; step <= RdmTable::Current; ++step) {
        server.Query(std::string("empty ") + steps[step]);
        Thrown empty = ThrownBy([&] { t.StepRecord(step, ""); });
        EXPECT_EQ(2007, empty.code) << steps[step];
        EXPECT_NE(std::string::npos, empty.what.find(steps[step])) << empty.what;
        server.Query(std::string("empty ") + steps[step] + " off");
    }

    const std::pair<const char*, const char*> values[] = {
        { "id", "3" }, { "ch", "z" }, { "uch", "\xF5" }, { "text", "három" }, { "sh", "-32768" },
        { "ush", "65535" }, { "reg", "-2147483648" }, { "ulng", "4000000000" }, { "addr", "17" },
        { "flt", "0.1" }, { "dbl", "2.718281828459045" } };
    t.ClearBuffer();
    for (const auto& v : values)
        t.Field(v.first).SetText(v.second);
    t.NewRecord();
    t.ClearBuffer();
    t.Field("id").SetNumber(3);
    ASSERT_TRUE(t.FindByKey("id"));
    for (const auto& v : values)
        EXPECT_EQ(v.second, t.FieldText(v.first)) << v.first;
    EXPECT_EQ(3, t.Count());
    EXPECT_EQ(10005, ErrorCode([&] { t.NewRecord(); })) << "\"id\" is unique";
    // What a transaction wrote and deleted goes when it is rolled back.
    ASSERT_EQ(0, conn.Descriptions().BeginTransaction("t"));
    t.DeleteRecord();
    t.Field("id").SetNumber(4);
    t.NewRecord();
    EXPECT_EQ(3, t.Count());
    ASSERT_EQ(0, conn.Descriptions().EndTransaction(false));
    EXPECT_FALSE(t.FindByKey("id"));
    EXPECT_EQ(3, t.Count());
    t.Field("id").SetNumber(3);
    EXPECT_TRUE(t.FindByKey("id"));
    server.Query("fail FindList 10099");
    Thrown failed = ThrownBy([&] { t.FindList("text", RdmTable::BeforeFirst); });
    EXPECT_EQ(10099, failed.code) << "the status was not passed on";
    EXPECT_NE(std::string::npos, failed.what.find("szerver hibát jelzett")) << failed.what;
    EXPECT_NE(std::string::npos, failed.what.find("DATA.EVERYTYPE")) << failed.what;
}

TEST_F(NoFindList, OnlyTheListSearchFails)
{
    VelConn conn;
    ASSERT_TRUE(conn.Login("SYSDB", "admin", "admin", false));
    DbDesc sys = conn.Descriptions().GetDbByName("SYSDB");
    RdmTable users(sys, "dbuser");
    users.Field("userid").SetNumber(1);
    EXPECT_TRUE(users.FindByKey("userid"));
    Thrown missing = ThrownBy([&] { users.FindList("userid", RdmTable::BeforeFirst); });
    EXPECT_EQ(10038, missing.code);
    EXPECT_EQ("pfFindList", missing.arg);
    EXPECT_TRUE(users.GetAllRec(RdmTable::BeforeFirst));
}

// The cleanup after a failed login cannot end the connection: the operator still sees
// why the login failed.
TEST_F(NoFreeDbHandler, FailedLoginShowsItsOwnError)
{
    server.Query("fail OpenDbExA 10071");
    VelConn conn;
    Thrown thrown = ThrownBy([&] { conn.Login("SYSDB", "admin", "admin", false); });
    EXPECT_EQ(10071, thrown.code) << thrown.what;
    EXPECT_FALSE(conn.IsConnected());
}

}  // namespace
