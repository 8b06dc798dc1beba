// What the control window shows: the version report, the server's parameters and its
// databases from velsrv.xml, and the network-lock switch, on the real tree-list.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/config/ConfigDir.h"
#include "utils/VelDateTime.h"

namespace {

std::string Config(const std::string& velsrv, const std::string& databases = std::string())
{
    return "<?xml version=\"1.0\" ?>\n<serverparams>\n    <velsrv " + velsrv + " />\n    <databases>\n"
         + databases + "    </databases>\n</serverparams>\n";
}

class WindowContent : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(service.Install(server.Path() + "veldbsrv.exe"));
        runner = std::make_unique<DialogRunner>();
        ASSERT_TRUE(runner->Hwnd());
    }
    void TearDown() override { runner.reset(); }

    TestDlg& Dlg() { return runner->Dlg(); }

    void Copy(const std::string& from, const char* name) { CopyFileA(from.c_str(), server.FilePath(name).c_str(), FALSE); }
    void OpenFromTray() { runner->TrayClick(WM_LBUTTONUP); }
    void OpenFromMenu() { runner->Command(ID_OPEN_CONTROL); }
    void Hide() { runner->Hide(); }

    // The tree's and the menu's messages reach the window's thread.
    CTreeListCtrl& Tree() { return Dlg().m_tree; }
    std::string Text(HTREEITEM item, int column)
    {
        const char* text = Tree().GetItemText(item, column);
        return text ? text : "<none>";
    }
    HTREEITEM Child(HTREEITEM parent, int index)
    {
        HTREEITEM item = parent == TVI_ROOT ? Tree().GetRootItem() : Tree().GetChildItem(parent);
        for (int i = 0; i < index && item; ++i)
            item = Tree().GetNextSiblingItem(item);
        return item;
    }
    HTREEITEM Root(int index) { return Child(TVI_ROOT, index); }
    HTREEITEM Databases() { return Root(2); }
    std::string Value(ParameterView::Row row) { return Text(Child(Root(1), row), 1); }
    // Label and value of each child of `parent`, as "label=value".
    std::vector<std::string> Rows(HTREEITEM parent)
    {
        std::vector<std::string> rows;
        for (HTREEITEM i = Tree().GetChildItem(parent); i; i = Tree().GetNextSiblingItem(i))
            rows.push_back(Text(i, 0) + "=" + Text(i, 1));
        return rows;
    }
    bool Bold(HTREEITEM item) { return (Tree().GetItemState(item, TVIS_BOLD) & TVIS_BOLD) != 0; }
    bool NetLockChecked() { return (Dlg().m_menu.GetMenuState(ID_NET_LOCK, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    void SetNetLockCheck(bool checked) { Dlg().m_menu.CheckMenuItem(ID_NET_LOCK, checked ? MF_CHECKED : MF_UNCHECKED); }

    // The server directory: the service's image path points into it.
    ConfigDir server;
    ServiceFixture service;
    std::unique_ptr<DialogRunner> runner;
};

TEST_F(WindowContent, BranchesAndParameterRowsInOrderWithTheirValues)
{
    server.Write(Config("archivehome=\"C:\\arch\xEDv\\\" dbhome=\"D:\\db\\\" synctimeout=\"sok\" "
                                      "allowsameuid=\"false\" clientchecktimeout=\"5000\" listen_on_port=\"6510\" "
                                      "state=\"1\" debuglog=\"5\" net_lock=\"1\""));
    OpenFromTray();
    const char* const rootLabels[] = { "Verzió információk", "Szerver paraméterek", "Adatbázisok" };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rootLabels[i], Text(Root(i), 0));
        EXPECT_EQ("", Text(Root(i), 1));
        EXPECT_TRUE(Bold(Root(i))) << rootLabels[i];
    }
    EXPECT_EQ(nullptr, Root(3));
    // No client library beside the tests: the connection count is not known.
    const std::vector<std::string> expected = {
        "Kiszolgáló helye=" + server.Path(), "Archiválási alapkönyvtár=C:\\arch\xEDv\\",
        "Adatbázis alapkönyvtár=D:\\db\\", "Logolási szint=[all][tranasactions]",
        "Szinkronizációs időtúllépési határ=sok ms", "Bejelentkezés azonos néven=támogatott",
        "Kliens állapot lekérdezési időhatár=5000 ms", "Párhuzamos kapcsolatok max. száma=",
        "Port=6510", "Kiszolgáló zárolt=IGEN", "Hálózat zárolt=IGEN",
    };
    EXPECT_EQ(expected, Rows(Root(1)));
    for (int row = 0; row < ParameterView::RowCount; ++row)
        EXPECT_FALSE(Bold(Child(Root(1), row))) << row;
    Hide();
    server.Write(Config("allowsameuid=\"0\" state=\"0\""));
    OpenFromTray();
    EXPECT_EQ("tiltott", Value(ParameterView::AllowSameUid));
    EXPECT_EQ("NEM", Value(ParameterView::ServerLocked));
}

TEST_F(WindowContent, ColumnHeadings)
{
    HWND header = FindWindowExA(Tree().GetSafeHwnd(), nullptr, WC_HEADERA, nullptr);
    ASSERT_TRUE(header);
    ASSERT_EQ(2, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    const char* const titles[] = { "Tulajdonság", "Érték" };
    const int widths[] = { 300, 200 };
    for (int i = 0; i < 2; ++i) {
        char text[64] = "";
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item)));
        EXPECT_STREQ(titles[i], text);
        EXPECT_EQ(widths[i], item.cxy);
    }
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
        EXPECT_EQ(c.checkedAfter, NetLockChecked()) << c.attribute;
        Hide();
    }
}

// A missing file (as one too deep or too large to read) shows no box.
TEST_F(WindowContent, MissingFileShowsOnlyTheRowsThatAreAlwaysSet)
{
    ShownErrors shown;
    SetNetLockCheck(true);
    OpenFromTray();
    EXPECT_EQ(server.Path(), Value(ParameterView::ServerDir));
    EXPECT_EQ("", Value(ParameterView::DbHome));
    EXPECT_EQ("", Value(ParameterView::DebugLog));
    EXPECT_EQ("NEM", Value(ParameterView::ServerLocked));
    EXPECT_EQ("NEM", Value(ParameterView::NetLocked));
    EXPECT_TRUE(NetLockChecked());
    EXPECT_TRUE(Rows(Databases()).empty());
    EXPECT_TRUE(shown.Take().empty());
}

TEST_F(WindowContent, DatabaseNodesWithTheirSettings)
{
    server.Write(Config("", "        <konyveles regdbpath=\"C:\\k\xF6nyv\\\" reglmgrname=\"K1\" "
                                          "regcompdatafname=\"k.par\" regdbpages=\"4096\" regowlpages=\"1024\" "
                                          "archivepath=\"C:\\a\\\" dbstart=\"0\" />\n"
                                          "        <!-- egy megjegyzés -->\n"
                                          "        <ures />\n"
                                          "        <Nagy regdbpath=\"x\" />\n"
                                          "        <db dbstart=\"-5\" />\n"));
    OpenFromTray();
    std::vector<std::string> databases = Rows(Databases());
    EXPECT_EQ((std::vector<std::string>{ "konyveles=", "ures=", "Nagy=", "db=" }), databases);

    HTREEITEM konyveles = Child(Databases(), 0);
    EXPECT_TRUE(Bold(konyveles));
    std::vector<std::string> rows = Rows(konyveles);
    // The start time as the date and time tests check it.
    const std::vector<std::string> expected = {
        "Adatbázis helye=C:\\k\xF6nyv\\", "Session ID=K1", "Paraméter fájl=k.par", "Adatcache méret=4096",
        "Tranzakció cache méret=1024", "Archiválási útvonal=C:\\a\\", "Elindítva=" + velDate::StartTimeText(0),
        "Kiegészítő modulok=",
    };
    EXPECT_EQ(expected, rows);
    EXPECT_FALSE(Bold(Child(konyveles, 0)));
    HTREEITEM modules = Child(konyveles, 7);
    EXPECT_TRUE(Bold(modules));
    EXPECT_EQ(std::vector<std::string>{ "=" }, Rows(modules));   // the placeholder

    // Without attributes, and with a capital letter (its settings cannot be read).
    EXPECT_EQ(std::vector<std::string>{ "Kiegészítő modulok=" }, Rows(Child(Databases(), 1)));
    EXPECT_EQ(std::vector<std::string>{ "Kiegészítő modulok=" }, Rows(Child(Databases(), 2)));
    // A start time that cannot be converted stays empty.
    EXPECT_EQ("Elindítva=", Rows(Child(Databases(), 3)).at(0));
}

// The tree's expansion notice reaches the catalogue browser: its login dialog comes, and
// cancelled, leaves the placeholder.
TEST_F(WindowContent, OpeningFromTheMenuFillsNoValuesAndEachShowingRebuilds)
{
    server.Write(Config("dbhome=\"D:\\db\\\"", "        <db />\n"));
    OpenFromMenu();
    EXPECT_EQ("", Value(ParameterView::DbHome));
    EXPECT_EQ("", Value(ParameterView::ServerDir));
    EXPECT_TRUE(Rows(Databases()).empty());
    Hide();
    OpenFromTray();
    EXPECT_EQ("D:\\db\\", Value(ParameterView::DbHome));
    EXPECT_EQ(1u, Rows(Databases()).size());
    Hide();
    OpenFromTray();   // rebuilt from scratch, not appended to
    EXPECT_EQ(1u, Rows(Databases()).size());
    EXPECT_EQ(1u + 6u + 1u + 11u + 1u + 1u + 2u, Tree().GetCount());   // versions (none found) and the rest
}

// The check mark moves only when the file was written.
TEST_F(WindowContent, NetworkLockCommandWritesTheFileAndMovesTheCheckMark)
{
    server.Write(Config("dbhome=\"x\""));
    SetNetLockCheck(false);
    OpenFromMenu();   // derives the server directory
    runner->Command(ID_NET_LOCK);
    EXPECT_TRUE(NetLockChecked());
    EXPECT_EQ(Config("dbhome=\"x\" net_lock=\"true\""), server.Read());
    runner->Command(ID_NET_LOCK);
    EXPECT_FALSE(NetLockChecked());
    EXPECT_EQ(Config("dbhome=\"x\" net_lock=\"false\""), server.Read());
    SetFileAttributesA(server.FilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    runner->Command(ID_NET_LOCK);
    EXPECT_FALSE(NetLockChecked());
    SetFileAttributesA(server.FilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Config("dbhome=\"x\" net_lock=\"false\""), server.Read());
}

class VersionReportTest : public WindowContent {
protected:
    void SetUp() override
    {
        WindowContent::SetUp();
        std::string build = BuildDirectory();
        Copy(build + "standins\\veldbsrv.exe", "veldbsrv.exe");
        Copy(build + "standins\\VELDB.dll", "VELDB.dll");
        Copy(build + "standins\\veldbcli.dll", "Veldbcli.dll");
        Copy(build + "veldbctrl.exe", "veldbctrl.exe");
        Copy(build + "standins\\VelMonitor.exe", "VelMonitor.exe");
        Copy(build + "standins\\VelArchiver.exe", "VelArchiver.exe");
        // Found in the search order for modules (the current directory is in it), as
        // beside the program.
        GetCurrentDirectoryA(MAX_PATH, m_previousDirectory);
        ASSERT_TRUE(SetCurrentDirectoryA(server.Path().c_str()));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(m_previousDirectory);
        WindowContent::TearDown();
    }
    std::vector<std::string> Versions() { return Rows(Root(0)); }

private:
    char m_previousDirectory[MAX_PATH] = "";
};

TEST_F(VersionReportTest, SevenComponentsWithTheirVersions)
{
    Copy(BuildDirectory() + "standins\\VELDB.dll", "VelDbLink.dll");
    OpenFromTray();
    const std::vector<std::string> expected = {
        "Hálózati kiszolgáló (veldbsrv)=8.2.0.17.", "Adatbázis szerver (veldb)=8.2.0.11.",
        "Kliens stub (veldbcli)=8.2.0.9.", "Adatkapcsolat (veldblink)=8.2.0.11.",
        "Kontrol program (veldbctrl)=3.1.1.45.", "Monitor program (velmonitor)=2.4.0.3.",
        "Archiváló program (velarchiver)=1.7.2.0.",
    };
    EXPECT_EQ(expected, Versions());
}

TEST_F(VersionReportTest, OptionalMissingAndVersionlessComponents)
{
    DeleteFileA(server.FilePath("VELDB.dll").c_str());
    Copy(BuildDirectory() + "tests\\velnoresources.dll", "VelArchiver.exe");   // no version resource
    OpenFromMenu();
    std::vector<std::string> rows = Versions();
    ASSERT_EQ(6u, rows.size());   // no data link row
    EXPECT_EQ("Adatbázis szerver (veldb)=nem elérhető", rows[1]);
    EXPECT_EQ("Archiváló program (velarchiver)=nem elérhető", rows[5]);
}

TEST_F(VersionReportTest, ReplacedFileShowsItsNewVersionOnTheNextShowing)
{
    OpenFromMenu();
    EXPECT_EQ("Adatbázis szerver (veldb)=8.2.0.11.", Versions().at(1));
    Hide();
    Copy(BuildDirectory() + "standins\\VelMonitor.exe", "VELDB.dll");
    OpenFromMenu();
    EXPECT_EQ("Adatbázis szerver (veldb)=2.4.0.3.", Versions().at(1));
}

}  // namespace
