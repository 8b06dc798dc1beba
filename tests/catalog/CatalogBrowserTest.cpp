// Expanding a database's "Kiegészítő modulok" against the stand-in server.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "dbclient/VelConn.h"
#include "tests/catalog/CatalogWindow.h"
#include "tests/catalog/CatalogueFile.h"
#include "tests/catalog/ClientSettingsKey.h"
#include "StandinServer.h"

namespace {

const COLORREF kTrigger = RGB(220, 240, 220);
const COLORREF kJob = RGB(220, 220, 240);
const COLORREF kMethod = RGB(220, 220, 220);

// One server per database, with the client settings that lead its logins there.
struct DatabaseServer {
    DatabaseServer(const ConfigDir& dir, const std::string& database, const CatalogueFile& catalogue,
                   DWORD timeoutMs = 0)
        : started(server.StartFile(catalogue.Write(dir.FilePath((database + ".xml").c_str())))),
          settings(database, server.PipeName(), timeoutMs)
    {
        EXPECT_TRUE(started);
    }
    StandinServer server;
    bool started;
    ClientSettingsKey settings;
};

class Catalog : public ::testing::Test {
protected:
    void Open(const std::vector<std::string>& databases = { "konyveles" })
    {
        window = std::make_unique<CatalogWindow>(databases);
        ASSERT_TRUE(window->Modules(databases.front()));
    }
    void TearDown() override
    {
        for (const ShownError& e : shown.Take())
            ADD_FAILURE() << "shown: " << e.mainText << "\n" << e.detail;
        window.reset();
    }

    // Expands the database's modules node and logs in as the operator would: the dialog
    // offers the node's database, and only `other` is picked from the list.
    void ExpandAndLogin(const std::string& database = "konyveles", const std::string& other = "")
    {
        window->PressRight(window->Modules(database));
        ASSERT_TRUE(window->AnswerLogin("admin", "admin", other));
        EXPECT_EQ("KONYVELES", window->OfferedDatabase());
    }

    // The catalogue of most tests, one library with one plain method, and its rows.
    static CatalogueFile OneMethod()
    {
        CatalogueFile catalogue;
        catalogue.Library(1, "naplo.dll");
        catalogue.Function(12, 1, "Osszesit");
        return catalogue;
    }
    const std::vector<std::string> oneMethodRows = { "Method: naplo.dll::Osszesit=-1.-1.-1.-1.",
                                                     "  Description=external stored procedure" };

    // The one box the program showed since the last look, with its error code.
    ShownError OneError(int code)
    {
        std::vector<ShownError> errors = shown.Take();
        EXPECT_EQ(1u, errors.size());
        if (errors.empty())
            return ShownError();
        EXPECT_NE(std::string::npos, errors[0].detail.find("ErrCode:\t" + std::to_string(code))) << errors[0].detail;
        return errors[0];
    }

    ShownErrors shown;            // no test leaves a box open; each takes what it expects
    ConfigDir data;
    std::unique_ptr<CatalogWindow> window;
};

TEST_F(Catalog, OnlyTheModulesNodeOfADatabaseLogsIn)
{
    CatalogueFile catalogue;
    catalogue.Library(1, "naplo.dll");
    catalogue.Function(10, 1, "Mentes");
    DatabaseServer db(data, "KONYVELES", catalogue);
    Open();
    HTREEITEM databases = window->DatabasesRoot();
    HTREEITEM database = window->Database("konyveles");
    std::vector<HTREEITEM> misplaced;
    window->Dlg().RunOnUi([&] {
        CTreeListCtrl& tree = window->Dlg().m_tree;
        HTREEITEM firstRow = tree.GetChildItem(database);
        for (HTREEITEM parent : { databases, tree.GetRootItem(), firstRow }) {
            HTREEITEM node = tree.InsertItem("Kiegészítő modulok", parent);
            tree.InsertItem("", node);
            misplaced.push_back(node);
        }
    });
    for (HTREEITEM node : { databases, database, window->ParametersRoot(), misplaced[0], misplaced[1], misplaced[2] })
        window->PressRight(node);
    window->WaitIdle();
    EXPECT_FALSE(window->WaitForLogin(500));
    EXPECT_EQ(0, db.server.Count("InitUserEx"));
    EXPECT_TRUE(window->LoadedNodes().empty());
    for (HTREEITEM node : misplaced)
        EXPECT_EQ(std::vector<std::string>{ "=" }, window->Rows(node));
}

TEST_F(Catalog, ListsTriggersJobsAndMethodsWithTheirDetails)
{
    Open();
    CatalogueFile catalogue;
    catalogue.Library(1, "VELDB.dll");                                    // beside the program
    catalogue.Library(2, window->ServerDir().FilePath());                // a file without a version
    catalogue.Library(3, "ures.dll");                                     // no functions
    const std::tuple<int, int, const char*> functions[] = { { 10, 1, "Mentes" }, { 11, 1, "Torles" },
        { 12, 1, "Osszesit" }, { 13, 1, "Kilep" }, { 20, 2, "Ejjel" }, { 21, 2, "Takarit" } };
    for (const auto& [id, library, name] : functions)
        catalogue.Function(id, library, name);
    // The third trigger's function is gone; the last one's table's tablespace is.
    const int triggers[][5] = { { 1, 10, 5, 2, 1 }, { 1, 11, -1, 11, 0 }, { 1, 99, -1, 0, 1 },
                                { 1, 11, 6, 6, 1 }, { 1, 13, -1, 10, 1 }, { 2, 21, 7, -1, 1 } };
    for (const auto& t : triggers)
        catalogue.Trigger(t[0], t[1], t[2], t[3], t[4]);
    catalogue.Job("VELDB.dll::Mentes", "mentés", "3600", 0);
    catalogue.Job(window->ServerDir().FilePath() + "::Ejjel", "első", "60", 1);
    catalogue.Job(window->ServerDir().FilePath() + "::Ejjel", "második", "120", 1);
    const std::tuple<int, int, const char*> tables[] = { { 5, 20, "vevok" }, { 6, 20, "szamlak" },
                                                        { 6, 21, "szamlak_regi" }, { 7, 99, "arva" } };
    for (const auto& [id, tablespace, name] : tables)
        catalogue.Table(id, tablespace, name);
    catalogue.Tablespace(20, "FO");
    catalogue.Tablespace(21, "ARCHIV");
    DatabaseServer db(data, "KONYVELES", catalogue);
    HTREEITEM modules = window->Modules("konyveles");
    ExpandAndLogin();

    const std::string naplo = "=8.2.0.11.";
    const std::string idozito = "=-1.-1.-1.-1.";
    const std::string noVersion = window->ServerDir().FilePath();
    std::vector<std::string> expected = {
        "Trigger: VELDB.dll::Mentes" + naplo, "  On object=FO.vevok", "  Mode=AFTER INSERT", "  Enabled=YES",
        "Trigger: VELDB.dll::Torles" + naplo, "  Mode=", "  Enabled=NO",
        "Trigger: VELDB.dll::Torles" + naplo, "  On object=FO.szamlak", "  On object=ARCHIV.szamlak_regi",
        "  Mode=BEFORE DELETE", "  Enabled=YES",
        "Trigger: VELDB.dll::Kilep" + naplo, "  Mode=USER LOGOFF", "  Enabled=YES",
        "Job: VELDB.dll::Mentes" + naplo, "  Name=mentés", "  Timing=every 3600s", "  Enabled=NO",
        "Method: VELDB.dll::Osszesit" + naplo, "  Description=external stored procedure",
        "Trigger: " + noVersion + "::Takarit" + idozito, "  Mode=", "  Enabled=YES",
        "Job: " + noVersion + "::Ejjel" + idozito, "  Name=első", "  Timing=every 60s", "  Enabled=YES",
        "Job: " + noVersion + "::Ejjel" + idozito, "  Name=második", "  Timing=every 120s", "  Enabled=YES",
    };
    EXPECT_EQ(expected, window->Rows(modules));
    EXPECT_EQ((std::map<HTREEITEM, std::string>{ { modules, "KONYVELES" } }), window->LoadedNodes());
    EXPECT_EQ(0, db.server.Count("connections"));

    std::vector<HTREEITEM> entries = window->Children(modules);
    ASSERT_EQ(9u, entries.size());
    const COLORREF colours[] = { kTrigger, kTrigger, kTrigger, kTrigger, kJob, kMethod, kTrigger, kJob, kJob };
    COLORREF plain = window->CellColour(window->Database("konyveles"), 1, true);
    for (size_t i = 0; i < entries.size(); ++i) {
        for (int column = 0; column < 2; ++column) {
            EXPECT_EQ(colours[i], window->CellColour(entries[i], column, true)) << i << "/" << column;
            EXPECT_EQ(0u, window->CellColour(entries[i], column, false)) << i << "/" << column;
        }
        HTREEITEM detail = window->Children(entries[i]).front();
        EXPECT_EQ(plain, window->CellColour(detail, 0, true)) << i;
        EXPECT_EQ(i != 7, window->Expanded(entries[i])) << i;   // of two jobs only the second
    }

    // Loaded once: collapsing and expanding again asks nobody.
    long logins = db.server.Count("InitUserEx");
    window->PressLeft(modules);
    window->PressRight(modules);
    window->WaitIdle();
    EXPECT_FALSE(window->WaitForLogin(500));
    EXPECT_EQ(logins, db.server.Count("InitUserEx"));
    EXPECT_EQ(expected.size(), window->Rows(modules).size());
}

// A cancelled login keeps the placeholder; the next expansion asks again. The server
// admits the user there, the catalogue's own check refuses the password: the box, the
// dialog once more, and the right password lists the modules.
TEST_F(Catalog, CancelledOrRefusedLoginAsksAgainAndTheRightOneLogsIn)
{
    CatalogueFile catalogue = OneMethod();
    catalogue.serverChecksLogins = false;
    DatabaseServer db(data, "KONYVELES", catalogue);
    Open();
    HTREEITEM modules = window->Modules("konyveles");
    window->PressRight(modules);
    ASSERT_TRUE(window->AnswerLogin("admin", "admin", "", false));
    EXPECT_EQ(std::vector<std::string>{ "=" }, window->Rows(modules));
    EXPECT_TRUE(window->LoadedNodes().empty());

    window->PressLeft(modules);
    window->PressRight(modules);
    ASSERT_TRUE(window->TypeLogin("admin", "rossz"));
    std::string refusal = window->AnswerRefusal();
    EXPECT_NE(std::string::npos, refusal.find("ADMIN/***@KONYVELES|")) << refusal;
    EXPECT_NE(std::string::npos, refusal.find("Nem megfelelő jelszó!")) << refusal;
    ASSERT_TRUE(window->AnswerLogin("admin", "admin"));
    EXPECT_EQ(oneMethodRows, window->Rows(modules));
    EXPECT_EQ(0, db.server.Count("connections"));
}

// The other database's catalogue is an older one, whose jobs lack their enabled field:
// they are enabled.
TEST_F(Catalog, AnotherDatabaseChosenInTheDialogIsListedUnderTheExpandedNode)
{
    CatalogueFile books = OneMethod(), stock;
    stock.jobEnabledField = false;
    stock.Library(1, "keszlet.dll");
    stock.Function(30, 1, "Leltar");
    stock.Job("keszlet.dll::Leltar", "éjjel", "86400", 0);
    DatabaseServer first(data, "KONYVELES", books);
    DatabaseServer second(data, "RAKTAR", stock);
    Open({ "konyveles", "raktar" });
    ExpandAndLogin("konyveles", "RAKTAR");
    HTREEITEM modules = window->Modules("konyveles");
    EXPECT_EQ((std::vector<std::string>{ "Job: keszlet.dll::Leltar=-1.-1.-1.-1.", "  Name=éjjel",
                                         "  Timing=every 86400s", "  Enabled=YES" }),
              window->Rows(modules));
    EXPECT_EQ((std::map<HTREEITEM, std::string>{ { modules, "RAKTAR" } }), window->LoadedNodes());
    EXPECT_EQ(0, first.server.Count("InitUserEx"));
}

// A catalogue table missing, or the server failing part-way: one box, the rows read
// before it stay, and the node counts as loaded.
TEST_F(Catalog, FailedReadingIsShownOnceAndKeepsWhatWasRead)
{
    CatalogueFile noJobs = OneMethod(), twoLibraries = OneMethod();
    noJobs.missingTable = "jobs";
    twoLibraries.Library(2, "idozito.dll");
    twoLibraries.Function(20, 2, "Ejjel");
    struct Case {
        const CatalogueFile& catalogue;
        const char* failure;
        int code;
        std::vector<std::string> rows;
    };
    // Part-way: the first library's triggers, functions and its function's jobs, then no more.
    const Case cases[] = { { noJobs, nullptr, 2002, {} },
                           { twoLibraries, "fail FindList 10071 after 3", 10071, oneMethodRows } };
    for (const Case& c : cases) {
        DatabaseServer db(data, "KONYVELES", c.catalogue);
        if (c.failure) {
            ASSERT_EQ("ok", db.server.Query(c.failure));
        }
        Open();
        ExpandAndLogin();
        OneError(c.code);
        HTREEITEM modules = window->Modules("konyveles");
        EXPECT_EQ(c.rows, window->Rows(modules));
        EXPECT_EQ(1u, window->LoadedNodes().count(modules));
        EXPECT_EQ(0, db.server.Count("connections"));
    }
}

TEST_F(Catalog, WithoutClientSettingsTheirAbsenceIsShownInsteadOfTheDialog)
{
    std::vector<std::string> registered;
    VelConn::ListDatabases(registered);
    ASSERT_TRUE(registered.empty()) << registered.front();
    Open();
    HTREEITEM modules = window->Modules("konyveles");
    window->PressRight(modules);
    window->WaitIdle();
    if (HWND login = window->WaitForLogin(500)) {
        ADD_FAILURE() << "a login dialog without a database to choose";
        PostMessageA(login, WM_COMMAND, IDCANCEL, 0);
    }
    window->WaitIdle();
    ShownError missing = OneError(10039);
    EXPECT_NE(std::string::npos, missing.mainText.find("KONYVELES adatbázishoz (HKLM\\software\\veldbclients)"))
        << missing.mainText;
    EXPECT_EQ(std::vector<std::string>{ "=" }, window->Rows(modules));
}

// A server that stops answering ends the login in one box once the client settings'
// time-out has passed.
TEST_F(Catalog, HungServerEndsInOneBoxAfterTheTimeout)
{
    DatabaseServer db(data, "KONYVELES", OneMethod(), 1000);
    Open();
    HTREEITEM modules = window->Modules("konyveles");
    window->PressRight(modules);
    ASSERT_TRUE(window->WaitForLogin());
    ASSERT_TRUE(db.server.Suspend());
    ASSERT_TRUE(window->TypeLogin("admin", "admin"));
    // Without a time-out the window's thread would wait as long as the server hangs.
    std::vector<ShownError> errors;
    bool ended = WaitFor([&] { return !(errors = shown.Take()).empty(); }, 20000);
    db.server.Resume();
    ASSERT_TRUE(ended) << "the program waits for the hung server";
    window->WaitIdle();
    ASSERT_EQ(1u, errors.size() + shown.Take().size());
    EXPECT_NE(std::string::npos, errors[0].detail.find("ErrCode:\t10071")) << errors[0].detail;
    EXPECT_EQ(std::vector<std::string>{ "=" }, window->Rows(modules));
    EXPECT_TRUE(window->LoadedNodes().empty());
}

}  // namespace
