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
        return config.WriteValue(name, value);
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

TEST_F(ConfigWrite, DatabaseAttributeOfItsOwnElement)
{
    dir.Write(kLocked);
    EXPECT_EQ(0, Set("databases/konyv", "dbstart", "0"));
    std::string expected = kLocked;
    expected.replace(expected.find("1700000000"), 10, "0");
    EXPECT_EQ(expected, dir.Read());
}

// Files as people write them by hand: every byte but the lock's value is kept.
TEST_F(ConfigWrite, EveryOtherByteIsKept)
{
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {
        { "<?xml version='1.0' encoding='windows-1250'?>\r\n<serverparams>\r\n\t<velsrv dbhome=\"C:\\&#337;rs\xe9g\\\""
          "   net_lock = 'true'\r\n\t\tx='\"q\"'></velsrv>\n<!--  keep  me  -->\r"
          "<databases>\n<konyv reglmgrname=\"\xdcgyf\xe9l &amp; t\xe1rsa\"/>text   with\t\tblanks</databases></serverparams>",
          "<?xml version='1.0' encoding='windows-1250'?>\r\n<serverparams>\r\n\t<velsrv dbhome=\"C:\\&#337;rs\xe9g\\\""
          "   net_lock = 'false'\r\n\t\tx='\"q\"'></velsrv>\n<!--  keep  me  -->\r"
          "<databases>\n<konyv reglmgrname=\"\xdcgyf\xe9l &amp; t\xe1rsa\"/>text   with\t\tblanks</databases></serverparams>" },
        { "<serverparams><velsrv net_lock=\"&#116;rue\" dbhome=\"&#x41;\"/><databases/></serverparams>",
          "<serverparams><velsrv net_lock=\"false\" dbhome=\"&#x41;\"/><databases/></serverparams>" },
        { "<serverparams><velsrv net_lock=1><!--a--></velsrv><databases/></serverparams>\n\n",
          "<serverparams><velsrv net_lock=false><!--a--></velsrv><databases/></serverparams>\n\n" },
        { "<serverparams>\n<velsrv\n  dbhome='x'\n/>\n<databases/></serverparams>",
          "<serverparams>\n<velsrv\n  dbhome='x' net_lock=\"false\"\n/>\n<databases/></serverparams>" },
        { "<serverparams><velsrv/><databases/></serverparams>",
          "<serverparams><velsrv net_lock=\"false\"/><databases/></serverparams>" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        dir.Write(c.before);
        EXPECT_EQ(0, Set("velsrv", "net_lock", "false"));
        EXPECT_EQ(c.after, dir.Read());
    }
}

TEST_F(ConfigWrite, WriteThatWouldChangeMoreIsRefused)
{
    dir.Write(kLocked);
    VelServerConfig config(dir.Path(), "velsrv");
    EXPECT_EQ(kFailure, config.WriteValue("net_lock", "a\rb"));   // read back as "a\nb"
    EXPECT_EQ(kLocked, dir.Read());
    EXPECT_EQ(0, config.WriteValue("net_lock", "<\"&'>"));
    std::string value;
    EXPECT_EQ(0, VelServerConfig(dir.Path(), "velsrv").GetValue("net_lock", value));
    EXPECT_EQ("<\"&'>", value);
    // Whatever follows "a=" is read as its value.
    const std::string noValue = "<serverparams><velsrv a=\t></velsrv><databases/></serverparams>";
    dir.Write(noValue);
    EXPECT_EQ(kFailure, Set("velsrv", "net_lock", "true"));
    EXPECT_EQ(noValue, dir.Read());
    EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names());
}

TEST_F(ConfigWrite, FileKeepsItsAttributes)
{
    dir.Write(kLocked);
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesA(dir.FilePath().c_str(), kept));
    EXPECT_EQ(0, Set("velsrv", "net_lock", "false"));
    EXPECT_EQ(kUnlocked, dir.Read());
    EXPECT_EQ(kept, GetFileAttributesA(dir.FilePath().c_str()) & (kept | FILE_ATTRIBUTE_READONLY));
}

TEST_F(ConfigWrite, NothingIsWrittenWhereNothingIsFound)
{
    dir.Write(kLocked);
    EXPECT_EQ(kFailure, Set("databases/Raktar", "dbstart", "0"));
    EXPECT_EQ(kFailure, Set("databases", "net_lock", "false"));
    EXPECT_EQ(kLocked, dir.Read());
}

TEST_F(ConfigWrite, ReadOnlyFileIsLeftAsItWasWithOrWithoutTheAttribute)
{
    dir.Write(kLocked);
    ASSERT_TRUE(SetFileAttributesA(dir.FilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    VelServerConfig config(dir.Path(), "velsrv");
    EXPECT_EQ(kFailure, config.WriteValue("net_lock", "false"));
    std::string value;
    EXPECT_EQ(0, config.GetValue("net_lock", value));
    EXPECT_EQ("true", value) << "the object keeps what the file holds";

    EXPECT_EQ(kLocked, dir.Read());
    EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names());
    EXPECT_TRUE(GetFileAttributesA(dir.FilePath().c_str()) & FILE_ATTRIBUTE_READONLY);

    // An absent attribute stays absent.
    SetFileAttributesA(dir.FilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    dir.Write(Config(""));
    ASSERT_TRUE(SetFileAttributesA(dir.FilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    VelServerConfig absent(dir.Path(), "velsrv");
    EXPECT_EQ(kFailure, absent.WriteValue("net_lock", "true"));
    value = "untouched";
    EXPECT_EQ(kFailure, absent.GetValue("net_lock", value));
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
    EXPECT_EQ(kFailure, config.WriteValue("net_lock", "false"));
    EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names());
    held.Reset();
    EXPECT_EQ(kLocked, dir.Read());
}

TEST_F(ConfigWrite, FileRemovedAfterLoadingIsNotCreatedAgain)
{
    dir.Write(kLocked);
    VelServerConfig config(dir.Path(), "velsrv");
    ASSERT_EQ(0, config.Read());
    ASSERT_TRUE(DeleteFileA(dir.FilePath().c_str()));
    EXPECT_EQ(kFailure, config.WriteValue("net_lock", "false"));
    EXPECT_TRUE(dir.Names().empty());
}
