// Writing velsrv.xml: only the one attribute changes, and a write that cannot complete
// leaves the file byte for byte as it was, reports 10059 and leaves nothing behind.
#include <gtest/gtest.h>

#include "ConfigDir.h"
#include "config/VelServerConfig.h"
#include "utils/UniqueHandle.h"

namespace {

const int kFailure = 10059;

// As TinyXML itself writes a document, so that a write must give back every byte.
std::string Config(const std::string& netLock)
{
    return "<?xml version=\"1.0\" encoding=\"windows-1250\" standalone=\"yes\" ?>\r\n"
           "<!-- A kiszolgáló beállításai: ő, ű, č -->\r\n"
           "<serverparams>\r\n"
           "    <velsrv archivehome=\"E:\\Archívum\\\" dbhome=\"C:\\Adatbázis\\\" debuglog=\"8 \""
           + netLock + " listen_on_port=\"7000\" unknown='a &amp; b &lt;c&gt; &quot;d&quot;' />\r\n"
           "    <!-- server notes -->\r\n"
           "    <databases>\r\n"
           "        <!-- first the books -->\r\n"
           "        <konyv regdbpath=\"D:\\Könyvtár\\\" reglmgrname=\"Ügyfél\" dbstart=\"1700000000\" />\r\n"
           "        <Raktar />\r\n"
           "    </databases>\r\n"
           "    <other>some text</other>\r\n"
           "</serverparams>\r\n";
}

const std::string kLocked = Config(" net_lock=\"true\"");
const std::string kUnlocked = Config(" net_lock=\"false\"");

class ConfigWrite : public ::testing::Test {
protected:
    int Set(const std::string& section, const std::string& name, const std::string& value)
    {
        VelServerConfig config(dir.Path(), section);
        return config.SetValue(name, value);
    }
    ConfigDir dir;
};

}  // namespace

TEST_F(ConfigWrite, OnlyTheAttributeChanges)
{
    dir.Write(kLocked);
    EXPECT_EQ(0, Set("velsrv", "net_lock", "false"));
    EXPECT_EQ(kUnlocked, dir.Read());
    EXPECT_EQ(0, Set("velsrv", "NET_LOCK", "true"));
    EXPECT_EQ(kLocked, dir.Read());
    EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names()) << "no temporary file is left";
}

TEST_F(ConfigWrite, AbsentAttributeIsAddedLast)
{
    dir.Write(Config(""));
    EXPECT_EQ(0, Set("velsrv", "net_lock", "true"));
    std::string expected = Config("");
    expected.replace(expected.find(" />"), 3, " net_lock=\"true\" />");
    EXPECT_EQ(expected, dir.Read());
}

TEST_F(ConfigWrite, DatabaseAttributeOfItsOwnElement)
{
    dir.Write(kLocked);
    EXPECT_EQ(0, Set("databases/konyv", "dbstart", "0"));
    std::string expected = kLocked;
    expected.replace(expected.find("1700000000"), 10, "0");
    EXPECT_EQ(expected, dir.Read());
}

TEST_F(ConfigWrite, ValuesSurviveWhereTheLayoutChanges)
{
    dir.Write("<?xml version='1.0' encoding='windows-1250'?>\n<serverparams>\n\t<velsrv dbhome = 'C:\\Ő'"
              " debuglog=\"8 \"\n\t\tnet_lock=\"true\" x='\"q\"'></velsrv>\n<!--  keep  me  -->\n"
              "<databases>\n<konyv reglmgrname=\"Ügyfél &amp; társa\"/></databases></serverparams>");
    ASSERT_EQ(0, Set("velsrv", "net_lock", "false"));
    VelServerConfig server(dir.Path(), "velsrv");
    VelServerConfig book(dir.Path(), "databases/konyv");
    std::string value;
    EXPECT_EQ(0, server.GetValue("dbhome", value));
    EXPECT_EQ("C:\\Ő", value);
    EXPECT_EQ(0, server.GetValue("debuglog", value));
    EXPECT_EQ("8 ", value);
    EXPECT_EQ(0, server.GetValue("net_lock", value));
    EXPECT_EQ("false", value);
    EXPECT_EQ(0, server.GetValue("x", value));
    EXPECT_EQ("\"q\"", value);
    EXPECT_EQ(0, book.GetValue("reglmgrname", value));
    EXPECT_EQ("Ügyfél & társa", value);
    const std::string text = dir.Read();
    EXPECT_NE(std::string::npos, text.find("<!--  keep  me  -->"));
    EXPECT_NE(std::string::npos, text.find("encoding=\"windows-1250\""));
    EXPECT_LT(text.find("dbhome"), text.find("debuglog"));
    EXPECT_LT(text.find("debuglog"), text.find("net_lock"));
}

TEST_F(ConfigWrite, NothingIsWrittenWhereNothingIsFound)
{
    dir.Write(kLocked);
    EXPECT_EQ(kFailure, Set("databases/Raktar", "dbstart", "0"));
    EXPECT_EQ(kFailure, Set("databases", "net_lock", "false"));
    EXPECT_EQ(kLocked, dir.Read());
}

TEST_F(ConfigWrite, ReadOnlyFileIsLeftAsItWas)
{
    dir.Write(kLocked);
    ASSERT_TRUE(SetFileAttributesA(dir.FilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    VelServerConfig config(dir.Path(), "velsrv");
    EXPECT_EQ(kFailure, config.SetValue("net_lock", "false"));
    std::string value;
    EXPECT_EQ(0, config.GetValue("net_lock", value));
    EXPECT_EQ("true", value) << "the object keeps what the file holds";

    EXPECT_EQ(kLocked, dir.Read());
    EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names());
    EXPECT_TRUE(GetFileAttributesA(dir.FilePath().c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(ConfigWrite, AbsentAttributeStaysAbsentWhenTheWriteFails)
{
    dir.Write(Config(""));
    ASSERT_TRUE(SetFileAttributesA(dir.FilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    VelServerConfig config(dir.Path(), "velsrv");
    EXPECT_EQ(kFailure, config.SetValue("net_lock", "true"));
    std::string value = "untouched";
    EXPECT_EQ(kFailure, config.GetValue("net_lock", value));
    EXPECT_EQ("", value);
    EXPECT_EQ(Config(""), dir.Read());
}

TEST_F(ConfigWrite, FileHeldOpenByAnotherHandleIsLeftAsItWas)
{
    dir.Write(kLocked);
    // Readable by others, but neither writable nor replaceable while held.
    velutils::FileHandle held(CreateFileA(dir.FilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    VelServerConfig config(dir.Path(), "velsrv");
    std::string value;
    ASSERT_EQ(0, config.GetValue("net_lock", value)) << "the file is still readable";
    EXPECT_EQ(kFailure, config.SetValue("net_lock", "false"));
    EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names());
    held.Reset();
    EXPECT_EQ(kLocked, dir.Read());
}

TEST_F(ConfigWrite, FileRemovedAfterLoadingIsNotCreatedAgain)
{
    dir.Write(kLocked);
    VelServerConfig config(dir.Path(), "velsrv");
    ASSERT_EQ(0, config.Load());
    ASSERT_TRUE(DeleteFileA(dir.FilePath().c_str()));
    EXPECT_EQ(kFailure, config.SetValue("net_lock", "false"));
    EXPECT_TRUE(dir.Names().empty());
}
