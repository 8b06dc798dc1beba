// What the control window shows from the versions and velsrv.xml, on the real tree-list.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/app/ControlWindowDriver.h"
#include "utils/VelDateTime.h"

namespace {

using Rows = std::vector<std::string>;

std::string Config(const std::string& velsrv, const std::string& databases = std::string())
{
    return "<?xml version=\"1.0\" ?>\n<serverparams>\n    <velsrv " + velsrv + " />\n    <databases>\n"
         + databases + "    </databases>\n</serverparams>\n";
}

// The window over a server directory whose velsrv.xml each test writes.
class WindowContent : public ::testing::Test {
protected:
    TestDlg& Dlg() { return window.Dlg(); }
    void OpenFromTray() { window.Runner().TrayClick(WM_LBUTTONUP); }
    void OpenFromMenu() { window.Runner().Command(ID_OPEN_CONTROL); }
    void Hide() { window.Runner().Hide(); }
    void Copy(const std::string& from, const char* name) { CopyFileA(from.c_str(), server.FilePath(name).c_str(), 0); }

    std::string Value(ParameterView::Row row)
    {
        return window.Text(window.Children(window.ParametersRoot()).at(row), 1);
    }
    Rows Databases() { return window.Rows(window.DatabasesRoot()); }
    void SetNetLockCheck(bool checked) { Dlg().m_menu.CheckMenuItem(ID_NET_LOCK, checked ? MF_CHECKED : MF_UNCHECKED); }

    ControlWindowDriver window;
    const ConfigDir& server = window.ServerDir();
};

TEST_F(WindowContent, BranchesAndParameterRowsInOrderWithTheirValues)
{
    server.Write(Config("archivehome=\"C:\\arch\xEDv\\\" dbhome=\"D:\\db\\\" synctimeout=\"sok\" "
                        "allowsameuid=\"false\" clientchecktimeout=\"5000\" listen_on_port=\"6510\" "
                        "state=\"1\" debuglog=\"5\" net_lock=\"1\""));
    OpenFromTray();
    Rows labels;
    for (HTREEITEM root : window.Children(TVI_ROOT)) {
        labels.push_back(window.Text(root, 0) + "=" + window.Text(root, 1));
        EXPECT_TRUE(window.Bold(root)) << labels.back();
    }
    EXPECT_EQ((Rows{ "Verzió információk=", "Szerver paraméterek=", "Adatbázisok=" }), labels);
    // No client library beside the tests: the connection count is not known.
    const Rows expected = {
        "Kiszolgáló helye=" + server.Path(), "Archiválási alapkönyvtár=C:\\arch\xEDv\\",
        "Adatbázis alapkönyvtár=D:\\db\\", "Logolási szint=[all][tranasactions]",
        "Szinkronizációs időtúllépési határ=sok ms", "Bejelentkezés azonos néven=támogatott",
        "Kliens állapot lekérdezési időhatár=5000 ms", "Párhuzamos kapcsolatok max. száma=",
        "Port=6510", "Kiszolgáló zárolt=IGEN", "Hálózat zárolt=IGEN",
    };
    EXPECT_EQ(expected, window.Rows(window.ParametersRoot()));
    for (HTREEITEM row : window.Children(window.ParametersRoot()))
        EXPECT_FALSE(window.Bold(row)) << window.Text(row, 0);
    Hide();
    server.Write(Config("allowsameuid=\"0\" state=\"0\""));
    OpenFromTray();
    EXPECT_EQ("tiltott", Value(ParameterView::AllowSameUid));
    EXPECT_EQ("NEM", Value(ParameterView::ServerLocked));
}

TEST_F(WindowContent, NetworkLockRowAndCheckMark)
{
    struct Case { const char* attribute; bool checkedBefore; const char* row; bool checkedAfter; };
    const Case cases[] = {
        { "net_lock=\"true\"", false, "IGEN", true },
        { "net_lock=\"1\"", false, "IGEN", true },
        { "net_lock=\"TRUE\"", true, "NEM", false },
        { "net_lock=\"yes\"", true, "NEM", false },
        { "net_lock=\"\"", true, "NEM", true },     // empty counts as absent: left alone
        { "", true, "NEM", true },
        { "", false, "NEM", false },
    };
    for (const Case& c : cases) {
        server.Write(Config(c.attribute));
        SetNetLockCheck(c.checkedBefore);
        OpenFromTray();
        EXPECT_EQ(c.row, Value(ParameterView::NetLocked)) << c.attribute;
        EXPECT_EQ(c.checkedAfter, Dlg().NetLocked()) << c.attribute;
        Hide();
    }
}

// A missing file (as one too deep or too large to read) shows no box.
TEST_F(WindowContent, MissingFileShowsOnlyTheRowsThatAreAlwaysSet)
{
    ShownErrors shown;
    OpenFromTray();
    EXPECT_EQ((Rows{ server.Path(), "", "", "NEM", "NEM" }),
              (Rows{ Value(ParameterView::ServerDir), Value(ParameterView::DbHome), Value(ParameterView::DebugLog),
                     Value(ParameterView::ServerLocked), Value(ParameterView::NetLocked) }));
    EXPECT_TRUE(Databases().empty());
    EXPECT_TRUE(shown.Take().empty());
}

// Rows only for the settings a database has; none for a name with a capital letter
// (its settings cannot be read); a start time that cannot be converted stays empty.
TEST_F(WindowContent, DatabaseNodesWithTheirSettings)
{
    server.Write(Config("", "        <konyveles regdbpath=\"C:\\k\xF6nyv\\\" reglmgrname=\"K1\" "
                            "regcompdatafname=\"k.par\" regdbpages=\"4096\" regowlpages=\"1024\" "
                            "archivepath=\"C:\\a\\\" dbstart=\"0\" />\n"
                            "        <!-- egy megjegyzés -->\n        <ures />\n        <Nagy regdbpath=\"x\" />\n"
                            "        <db dbstart=\"-5\" />\n"));
    OpenFromTray();
    // The start time as the date and time tests check it; the modules with their placeholder.
    const Rows expected = {
        "konyveles=", "  Adatbázis helye=C:\\k\xF6nyv\\", "  Session ID=K1", "  Paraméter fájl=k.par",
        "  Adatcache méret=4096", "  Tranzakció cache méret=1024", "  Archiválási útvonal=C:\\a\\",
        "  Elindítva=" + velDate::StartTimeText(0), "  Kiegészítő modulok=", "    =",
        "ures=", "  Kiegészítő modulok=", "    =", "Nagy=", "  Kiegészítő modulok=", "    =",
        "db=", "  Elindítva=", "  Kiegészítő modulok=", "    =",
    };
    EXPECT_EQ(expected, Databases());
    HTREEITEM konyveles = window.Database("konyveles");
    EXPECT_TRUE(window.Bold(konyveles));
    EXPECT_FALSE(window.Bold(window.Children(konyveles).front()));
    EXPECT_TRUE(window.Bold(window.Modules("konyveles")));
}

TEST_F(WindowContent, OpeningFromTheMenuFillsNoValuesAndEachShowingRebuilds)
{
    server.Write(Config("dbhome=\"D:\\db\\\"", "        <db />\n"));
    OpenFromMenu();
    EXPECT_EQ("", Value(ParameterView::DbHome));
    EXPECT_EQ("", Value(ParameterView::ServerDir));
    EXPECT_TRUE(Databases().empty());
    Hide();
    OpenFromTray();   // rebuilt from scratch, not appended to
    EXPECT_EQ(1u + 6u + 1u + 11u + 1u + 1u + 2u, Dlg().m_tree.GetCount());   // versions (none found) and the rest
}

// The check mark moves only when the file was written.
TEST_F(WindowContent, NetworkLockCommandWritesTheFileAndMovesTheCheckMark)
{
    server.Write(Config("dbhome=\"x\""));
    SetNetLockCheck(false);
    OpenFromMenu();   // derives the server directory
    window.Runner().Command(ID_NET_LOCK);
    EXPECT_TRUE(Dlg().NetLocked());
    EXPECT_EQ(Config("dbhome=\"x\" net_lock=\"true\""), server.Read());
    window.Runner().Command(ID_NET_LOCK);
    EXPECT_FALSE(Dlg().NetLocked());
    EXPECT_EQ(Config("dbhome=\"x\" net_lock=\"false\""), server.Read());
    SetFileAttributesA(server.FilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    window.Runner().Command(ID_NET_LOCK);
    EXPECT_FALSE(Dlg().NetLocked());
    SetFileAttributesA(server.FilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The components found in the search order for modules (the current directory is in it),
// as beside the program; each showing reads them again.
TEST_F(WindowContent, VersionReportOfTheComponentsFoundOptionalMissingAndVersionless)
{
    const std::string build = BuildDirectory();
    for (const char* file : { "veldbsrv.exe", "VELDB.dll", "VelMonitor.exe", "VelArchiver.exe" })
        Copy(build + "standins\\" + file, file);
    Copy(build + "standins\\veldbcli.dll", "Veldbcli.dll");
    Copy(build + "standins\\VELDB.dll", "VelDbLink.dll");
    Copy(build + "veldbctrl.exe", "veldbctrl.exe");
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(server.Path().c_str()));
    auto versions = [&] { return window.Rows(window.Children(TVI_ROOT).at(0)); };
    OpenFromTray();
    Rows expected = {
        "Hálózati kiszolgáló (veldbsrv)=8.2.0.17.", "Adatbázis szerver (veldb)=8.2.0.11.",
        "Kliens stub (veldbcli)=8.2.0.9.", "Adatkapcsolat (veldblink)=8.2.0.11.",
        "Kontrol program (veldbctrl)=3.1.1.45.", "Monitor program (velmonitor)=2.4.0.3.",
        "Archiváló program (velarchiver)=1.7.2.0.",
    };
    EXPECT_EQ(expected, versions());
    Hide();
    DeleteFileA(server.FilePath("VELDB.dll").c_str());
    DeleteFileA(server.FilePath("VelDbLink.dll").c_str());
    Copy(build + "tests\\velnoresources.dll", "VelArchiver.exe");   // no version resource
    OpenFromMenu();
    expected.erase(expected.begin() + 3);                               // no data link row
    expected[1] = "Adatbázis szerver (veldb)=nem elérhető";
    expected[5] = "Archiváló program (velarchiver)=nem elérhető";
    EXPECT_EQ(expected, versions());
    SetCurrentDirectoryA(previous);
}

}  // namespace
