// What the control window shows: the version report, the server's parameters and its
// databases from velsrv.xml, and the network-lock switch, on the real tree-list.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/app/AppTestSupport.h"

namespace {

// A server directory of its own: the service's image path points into it.
class ServerDirectory {
public:
    ServerDirectory()
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + "veldbctrl-view-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~ServerDirectory()
    {
        for (const std::string& name : m_files)
            DeleteFileA((m_path + name).c_str());
        RemoveDirectoryA(m_path.c_str());
    }
    const std::string& Path() const { return m_path; }

    void Write(const std::string& name, const std::string& content)
    {
        std::ofstream(m_path + name, std::ios::binary) << content;
        m_files.push_back(name);
    }
    void Copy(const std::string& from, const std::string& name)
    {
        CopyFileA(from.c_str(), (m_path + name).c_str(), FALSE);
        m_files.push_back(name);
    }
    void Remove(const std::string& name) { DeleteFileA((m_path + name).c_str()); }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(m_path + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string m_path;
    std::vector<std::string> m_files;
};

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

    void OpenFromTray()
    {
        SendMessageA(runner->Hwnd(), CVelDbCtrlDlg::WM_TRAYNOTIFY, TrayIcon::kIconId, WM_LBUTTONUP);
    }
    void Hide() { SendMessageA(runner->Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

    std::string Text(HTREEITEM item, int column)
    {
        std::string text = "<none>";
        Dlg().RunOnUi([&] {
            const char* t = Dlg().m_tree.GetItemText(item, column);
            if (t)
                text = t;
        });
        return text;
    }
    std::string Value(ParameterView::Row row)
    {
        HTREEITEM item = nullptr;
        Dlg().RunOnUi([&] { item = Dlg().m_params.RowItem(row); });
        return Text(item, 1);
    }
    // Label and value of each child of `parent`, as "label=value".
    std::vector<std::string> Rows(HTREEITEM parent)
    {
        std::vector<HTREEITEM> items;
        Dlg().RunOnUi([&] {
            for (HTREEITEM i = Dlg().m_tree.GetChildItem(parent); i; i = Dlg().m_tree.GetNextSiblingItem(i))
                items.push_back(i);
        });
        std::vector<std::string> rows;
        for (HTREEITEM i : items)
            rows.push_back(Text(i, 0) + "=" + Text(i, 1));
        return rows;
    }
    HTREEITEM Databases()
    {
        HTREEITEM root = nullptr;
        Dlg().RunOnUi([&] { root = Dlg().m_params.DatabasesRoot(); });
        return root;
    }
    HTREEITEM Child(HTREEITEM parent, int index)
    {
        HTREEITEM item = nullptr;
        Dlg().RunOnUi([&] {
            item = Dlg().m_tree.GetChildItem(parent);
            for (int i = 0; i < index && item; ++i)
                item = Dlg().m_tree.GetNextSiblingItem(item);
        });
        return item;
    }
    bool Bold(HTREEITEM item)
    {
        UINT state = 0;
        Dlg().RunOnUi([&] { state = Dlg().m_tree.GetItemState(item, TVIS_BOLD); });
        return (state & TVIS_BOLD) != 0;
    }
    bool NetLockChecked()
    {
        UINT state = 0;
        Dlg().RunOnUi([&] { state = Dlg().m_menu.GetMenuState(ID_NET_LOCK, MF_BYCOMMAND); });
        return (state & MF_CHECKED) != 0;
    }
    void SetNetLockCheck(bool checked)
    {
        Dlg().RunOnUi([&] { Dlg().m_menu.CheckMenuItem(ID_NET_LOCK, checked ? MF_CHECKED : MF_UNCHECKED); });
    }

    ServerDirectory server;
    ServiceFixture service;
    std::unique_ptr<DialogRunner> runner;
};

TEST_F(WindowContent, DebugLogLevels)
{
    const std::pair<const char*, const char*> cases[] = {
        { "0", "[no]" },
        { "3", "[all][append/update/delete]" },
        { "8", "[logon/logoff] " },
        { "1024", "" },
        { " +5x", "[all][tranasactions]" },
        { "abc", "[no]" },
    };
    for (const auto& c : cases) {
        server.Write("velsrv.xml", Config(std::string("debuglog=\"") + c.first + "\""));
        OpenFromTray();
        EXPECT_EQ(c.second, Value(ParameterView::DebugLog)) << c.first;
        Hide();
    }
}

TEST_F(WindowContent, ParameterValuesAsTheFileHasThem)
{
    server.Write("velsrv.xml", Config("archivehome=\"C:\\arch\xEDv\\\" dbhome=\"D:\\db\\\" synctimeout=\"sok\" "
                                      "allowsameuid=\"false\" clientchecktimeout=\"5000\" listen_on_port=\"6510\" "
                                      "state=\"1\""));
    OpenFromTray();
    EXPECT_EQ(server.Path(), Value(ParameterView::ServerDir));
    EXPECT_EQ("C:\\arch\xEDv\\", Value(ParameterView::ArchiveHome));
    EXPECT_EQ("D:\\db\\", Value(ParameterView::DbHome));
    EXPECT_EQ("sok ms", Value(ParameterView::SyncTimeout));
    EXPECT_EQ("támogatott", Value(ParameterView::AllowSameUid));
    EXPECT_EQ("5000 ms", Value(ParameterView::ClientCheck));
    EXPECT_EQ("6510", Value(ParameterView::Port));
    EXPECT_EQ("IGEN", Value(ParameterView::ServerLocked));
    // No client library beside the tests: the number is not known.
    EXPECT_EQ("", Value(ParameterView::MaxConnections));
    Hide();
    server.Write("velsrv.xml", Config("allowsameuid=\"0\" state=\"0\""));
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
        server.Write("velsrv.xml", Config(c.attribute));
        SetNetLockCheck(c.checkedBefore);
        OpenFromTray();
        EXPECT_EQ(c.row, Value(ParameterView::NetLocked)) << c.attribute;
        EXPECT_EQ(c.checkedAfter, NetLockChecked()) << c.attribute;
        Hide();
    }
}

// A file nested thousands of levels deep reads as a missing one: no crash, no box.
TEST_F(WindowContent, MissingOrTooDeepFileShowsOnlyTheRowsThatAreAlwaysSet)
{
    std::string deep;
    for (int i = 0; i < 25000; ++i)
        deep += "<a>";
    ShownErrors shown;
    for (const std::string& content : { std::string(), Config("dbhome=\"x\" net_lock=\"false\"", deep) }) {
        if (!content.empty())
            server.Write("velsrv.xml", content);
        SetNetLockCheck(true);
        OpenFromTray();
        EXPECT_EQ(server.Path(), Value(ParameterView::ServerDir));
        EXPECT_EQ("", Value(ParameterView::DbHome));
        EXPECT_EQ("", Value(ParameterView::DebugLog));
        EXPECT_EQ("NEM", Value(ParameterView::ServerLocked));
        EXPECT_EQ("NEM", Value(ParameterView::NetLocked));
        EXPECT_TRUE(NetLockChecked());
        EXPECT_TRUE(Rows(Databases()).empty());
        Hide();
    }
    EXPECT_TRUE(shown.Take().empty());
}

TEST_F(WindowContent, DatabaseNodesWithTheirSettings)
{
    server.Write("velsrv.xml", Config("", "        <konyveles regdbpath=\"C:\\k\xF6nyv\\\" reglmgrname=\"K1\" "
                                          "regcompdatafname=\"k.par\" regdbpages=\"4096\" regowlpages=\"1024\" "
                                          "archivepath=\"C:\\a\\\" dbstart=\"0\" />\n"
                                          "        <!-- egy megjegyzés -->\n"
                                          "        <ures />\n"
                                          "        <Nagy regdbpath=\"x\" />\n"));
    OpenFromTray();
    std::vector<std::string> databases = Rows(Databases());
    ASSERT_EQ(3u, databases.size());
    EXPECT_EQ("konyveles=", databases[0]);
    EXPECT_EQ("ures=", databases[1]);
    EXPECT_EQ("Nagy=", databases[2]);

    HTREEITEM konyveles = Child(Databases(), 0);
    EXPECT_TRUE(Bold(konyveles));
    std::vector<std::string> rows = Rows(konyveles);
    const std::vector<std::string> expected = {
        "Adatbázis helye=C:\\k\xF6nyv\\", "Session ID=K1", "Paraméter fájl=k.par", "Adatcache méret=4096",
        "Tranzakció cache méret=1024", "Archiválási útvonal=C:\\a\\", "Elindítva=1970. 01. 01. 0:00:00",
        "Kiegészítő modulok=",
    };
    EXPECT_EQ(expected, rows);
    HTREEITEM modules = Child(konyveles, 7);
    EXPECT_TRUE(Bold(modules));
    EXPECT_EQ(std::vector<std::string>{ "=" }, Rows(modules));   // the placeholder

    // Without attributes, and with a capital letter (its settings cannot be read).
    EXPECT_EQ(std::vector<std::string>{ "Kiegészítő modulok=" }, Rows(Child(Databases(), 1)));
    EXPECT_EQ(std::vector<std::string>{ "Kiegészítő modulok=" }, Rows(Child(Databases(), 2)));
}

TEST_F(WindowContent, StartTimeThatCannotBeConvertedIsEmpty)
{
    server.Write("velsrv.xml", Config("", "        <db dbstart=\"-5\" />\n"));
    OpenFromTray();
    EXPECT_EQ("Elindítva=", Rows(Child(Databases(), 0)).at(0));
}

TEST_F(WindowContent, OpeningFromTheMenuFillsNoValuesAndEachShowingRebuilds)
{
    server.Write("velsrv.xml", Config("dbhome=\"D:\\db\\\"", "        <db />\n"));
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_OPEN_CONTROL, 0);
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
    UINT count = 0;
    Dlg().RunOnUi([&] { count = Dlg().m_tree.GetCount(); });
    EXPECT_EQ(1u + 6u + 1u + 11u + 1u + 1u + 2u, count);   // versions (none found) and the rest
}

TEST_F(WindowContent, NetworkLockCommandWritesTheFileAndMovesTheCheckMark)
{
    server.Write("velsrv.xml", Config("dbhome=\"x\""));
    SetNetLockCheck(false);
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_OPEN_CONTROL, 0);   // derives the server directory
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_NET_LOCK, 0);
    EXPECT_TRUE(NetLockChecked());
    EXPECT_EQ(Config("dbhome=\"x\" net_lock=\"true\""), server.Read("velsrv.xml"));
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_NET_LOCK, 0);
    EXPECT_FALSE(NetLockChecked());
    EXPECT_EQ(Config("dbhome=\"x\" net_lock=\"false\""), server.Read("velsrv.xml"));
}

TEST_F(WindowContent, NetworkLockThatCannotBeWrittenLeavesFileAndCheckMark)
{
    server.Write("velsrv.xml", Config("net_lock=\"false\""));
    std::string before = server.Read("velsrv.xml");
    SetFileAttributesA((server.Path() + "velsrv.xml").c_str(), FILE_ATTRIBUTE_READONLY);
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_OPEN_CONTROL, 0);
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_NET_LOCK, 0);
    EXPECT_FALSE(NetLockChecked());
    SetFileAttributesA((server.Path() + "velsrv.xml").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(before, server.Read("velsrv.xml"));
}

class VersionReportTest : public WindowContent {
protected:
    void SetUp() override
    {
        WindowContent::SetUp();
        std::string build = BuildDirectory();
        server.Copy(build + "standins\\veldbsrv.exe", "veldbsrv.exe");
        server.Copy(build + "standins\\VELDB.dll", "VELDB.dll");
        server.Copy(build + "standins\\veldbcli.dll", "Veldbcli.dll");
        server.Copy(build + "veldbctrl.exe", "veldbctrl.exe");
        server.Copy(build + "standins\\VelMonitor.exe", "VelMonitor.exe");
        server.Copy(build + "standins\\VelArchiver.exe", "VelArchiver.exe");
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
    std::vector<std::string> Versions()
    {
        HTREEITEM root = nullptr;
        Dlg().RunOnUi([&] { root = Dlg().m_hVersionRoot; });
        EXPECT_EQ("Verzió információk", Text(root, 0));
        EXPECT_TRUE(Bold(root));
        return Rows(root);
    }

private:
    char m_previousDirectory[MAX_PATH] = "";
};

TEST_F(VersionReportTest, SevenComponentsWithTheirVersions)
{
    server.Copy(BuildDirectory() + "standins\\VELDB.dll", "VelDbLink.dll");
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
    server.Remove("VELDB.dll");
    server.Copy(BuildDirectory() + "tests\\velnoresources.dll", "VelArchiver.exe");   // no version resource
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_OPEN_CONTROL, 0);
    std::vector<std::string> rows = Versions();
    ASSERT_EQ(6u, rows.size());   // no data link row
    EXPECT_EQ("Adatbázis szerver (veldb)=nem elérhető", rows[1]);
    EXPECT_EQ("Archiváló program (velarchiver)=nem elérhető", rows[5]);
}

TEST_F(VersionReportTest, ReplacedFileShowsItsNewVersionOnTheNextShowing)
{
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_OPEN_CONTROL, 0);
    EXPECT_EQ("Adatbázis szerver (veldb)=8.2.0.11.", Versions().at(1));
    Hide();
    server.Copy(BuildDirectory() + "standins\\VelMonitor.exe", "VELDB.dll");
    SendMessageA(runner->Hwnd(), WM_COMMAND, ID_OPEN_CONTROL, 0);
    EXPECT_EQ("Adatbázis szerver (veldb)=2.4.0.3.", Versions().at(1));
}

}  // namespace
