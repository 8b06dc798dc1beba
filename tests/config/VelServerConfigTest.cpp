// Reading velsrv.xml; every way the file can fail must give 10059 and never throw.
#include <gtest/gtest.h>

#include "ConfigDir.h"
#include "config/VelServerConfig.h"

#include <string>
#include <vector>

namespace {

const int kFailure = 10059;

const char kConfig[] =
    "<?xml version=\"1.0\" encoding=\"windows-1250\" ?>\r\n"
    "<!-- serverparams -->\r\n"
    "<serverparams>\r\n"
    "    <velsrv dbhome=\"C:\\Adatbázis\\\" debuglog=\"8 \" net_lock=\"\" Port=\"7000\" state=\"TRUE\" />\r\n"
    "    <databases>\r\n"
    "        <!-- first the books -->\r\n"
    "        <konyv regdbpath=\"D:\\könyv\" dbstart=\"0\" regowlpages=\"\" />\r\n"
    "        <Raktar regdbpath=\"D:\\raktar\" />\r\n"
    "        <ures />\r\n"
    "        <konyv regdbpath=\"D:\\second\" />\r\n"
    "    </databases>\r\n"
    "</serverparams>\r\n";

std::string Value(const ConfigDir& dir, const std::string& section, const std::string& name, int expected = 0)
{
    VelServerConfig config(dir.Path(), section);
    std::string value = "untouched";
    EXPECT_EQ(expected, config.GetValue(name, value)) << section << " " << name;
    return value;
}

class ConfigRead : public ::testing::Test {
protected:
    void SetUp() override { dir.Write(kConfig); }
    ConfigDir dir;
};

}  // namespace

// Section and name are taken in lower case; an attribute empty or with capitals in the
// file counts as absent; a section that finds no element leaves the value untouched.
TEST_F(ConfigRead, ValuesOfTheServerAndOfItsDatabases)
{
    struct Case { const char* section; const char* name; const char* value; int result; };
    const Case cases[] = {
        { "velsrv", "dbhome", "C:\\Adatbázis\\", 0 }, { "velsrv", "debuglog", "8 ", 0 }, { "VelSrv", "STATE", "TRUE", 0 },
        { "", "state", "TRUE", 0 }, { "velsrv", "net_lock", "", kFailure }, { "velsrv", "archivehome", "", kFailure },
        { "velsrv", "port", "", kFailure }, { "databases/konyv", "regdbpath", "D:\\könyv", 0 },
        { "databases/konyv", "dbstart", "0", 0 }, { "databases/Raktar", "regdbpath", "untouched", kFailure },
        { "databases", "regdbpath", "untouched", kFailure }, { "databases/", "regdbpath", "untouched", kFailure },
        { "databasesXkonyv", "regdbpath", "untouched", kFailure }, { "serverparams", "dbhome", "untouched", kFailure },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, Value(dir, c.section, c.name, c.result)) << c.section << " " << c.name;
}

TEST_F(ConfigRead, DatabaseNamesInOrderAsWrittenAppendedAndNoneForComments)
{
    VelServerConfig config(dir.Path(), "velsrv");
    std::vector<std::string> names = { "earlier" };
    EXPECT_EQ(0, config.GetDatabaseNames(names));
    EXPECT_EQ((std::vector<std::string>{ "earlier", "konyv", "Raktar", "ures", "konyv" }), names);
}

TEST_F(ConfigRead, EmptyDirectoryMeansTheCurrentDirectory)
{
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    std::string value;
    int result = VelServerConfig("", "velsrv").GetValue("debuglog", value);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(0, result);
    EXPECT_EQ("8 ", value);
}

// One reading of the file serves an object and its siblings for their life, whichever
// reads first; a new object reads the file afresh.
TEST_F(ConfigRead, OneReadingForAnObjectAndItsSiblings)
{
    VelServerConfig server(dir.Path(), "velsrv");
    VelServerConfig konyv(server, "DATABASES/konyv");
    std::string value;
    ASSERT_EQ(0, konyv.GetValue("regdbpath", value));
    dir.Write("<serverparams><velsrv debuglog=\"1\"/><databases><konyv regdbpath=\"new\"/></databases></serverparams>");
    EXPECT_EQ(0, server.GetValue("debuglog", value));
    EXPECT_EQ("8 ", value);
    EXPECT_EQ(0, VelServerConfig(server, "databases/konyv").GetValue("regdbpath", value));
    EXPECT_EQ("D:\\könyv", value);
    EXPECT_EQ("1", Value(dir, "velsrv", "debuglog"));
}

namespace {

// Each operation of a fresh object on the file as it now is fails, throws nothing, fills
// nothing in and leaves the file as it was.
void ExpectEveryOperationFails(const ConfigDir& dir)
{
    const std::string before = dir.Read();
    VelServerConfig config(dir.Path(), "velsrv");
    std::string value = "untouched";
    std::vector<std::string> names = { "kept" };
    EXPECT_NO_THROW({
        EXPECT_EQ(kFailure, config.Read());
        EXPECT_EQ(kFailure, config.GetValue("dbhome", value));
        EXPECT_EQ(kFailure, config.WriteValue("net_lock", "true"));
        EXPECT_EQ(kFailure, config.GetDatabaseNames(names));
    });
    EXPECT_EQ("untouched", value);
    EXPECT_EQ(std::vector<std::string>{ "kept" }, names);
    EXPECT_TRUE(before == dir.Read()) << "the file changed";
}

}  // namespace

// A missing file; malformed, empty or incomplete files, files without the required
// elements, and files too large or nested too deep: TinyXML reads nested elements
// recursively, so such files must fail before it sees them, however the nesting is dressed.
TEST(ConfigFailure, MissingMalformedIncompleteNestedTooDeepOrTooLarge)
{
    ConfigDir dir;
    ExpectEveryOperationFails(dir);
    EXPECT_TRUE(dir.Names().empty()) << "a failed write creates no file";
    std::string deep = "<serverparams><velsrv dbhome=\"x\"/><databases>", dressed = deep;
    for (int i = 0; i < 20000; ++i) {
        deep += "<a>";
        dressed += "<a b='</a>'><!-- </a> --><![CDATA[</a>]]>&#x</a>x41;";
    }
    const std::string texts[] = {
        "", "<serverparams><velsrv></serverparams>", "<serverparams><velsrv/>", "not xml at all",
        "<serverparams><velsrv a=\"1></velsrv></serverparams>", "<velsrv/><databases/>",
        "<serverparams><databases/></serverparams>", "<serverparams><velsrv/></serverparams>",
        "<!--serverparams--><other><velsrv/><databases/></other>", "<serverparams>velsrv databases</serverparams>",
        deep, dressed, std::string(kConfig) + "<!--" + std::string(17 << 20, ' ') + "-->",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 60));
        dir.Write(text);
        ExpectEveryOperationFails(dir);
    }
}

// Comments named like the elements are not the elements; nesting a real file might have
// is read.
TEST(ConfigFailure, CommentsAndNestingAsARealFileHasThemAreRead)
{
    ConfigDir dir;
    dir.Write("<!--serverparams--><serverparams><!--velsrv--><velsrv dbhome=\"x\"/>"
              "<databases><!--konyv--><konyv regdbpath=\"y\"/></databases></serverparams>");
    EXPECT_EQ("x", Value(dir, "velsrv", "dbhome"));
    EXPECT_EQ("y", Value(dir, "databases/konyv", "regdbpath"));
    std::string nested, closing;
    for (int i = 0; i < 40; ++i) {
        nested += "<level" + std::to_string(i) + " x='1'>";
        closing = "</level" + std::to_string(i) + ">" + closing;
    }
    dir.Write("<serverparams><velsrv/><databases><konyv regdbpath=\"D\">" + nested + closing
              + "</konyv></databases></serverparams>");
    EXPECT_EQ("D", Value(dir, "databases/konyv", "regdbpath"));
}
