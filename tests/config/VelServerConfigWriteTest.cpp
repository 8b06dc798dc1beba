// Writing velsrv.xml: a write that cannot complete leaves the file as it was and reports 10059.
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

class ConfigWrite : public ::testing::Test {
protected:
    int Set(const std::string& section, const std::string& name, const std::string& value)
    {
        return VelServerConfig(dir.Path(), section).WriteValue(name, value);
    }
    ConfigDir dir;
};

}  // namespace

TEST_F(ConfigWrite, OnlyTheAttributeChangesAndTheFileKeepsItsAttributes)
{
    dir.Write(kLocked);
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesA(dir.FilePath().c_str(), kept));
    EXPECT_EQ(0, Set("velsrv", "net_lock", "false"));
    EXPECT_EQ(Config(" net_lock=\"false\""), dir.Read());
    EXPECT_EQ(kept, GetFileAttributesA(dir.FilePath().c_str()) & (kept | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, Set("velsrv", "NET_LOCK", "true"));
    EXPECT_EQ(kLocked, dir.Read());
    EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names()) << "no temporary file is left";
    // A database's attribute in its own element; nothing where nothing is found.
    EXPECT_EQ(0, Set("databases/konyv", "dbstart", "0"));
    std::string expected = kLocked;
    expected.replace(expected.find("1700000000"), 10, "0");
    EXPECT_EQ(expected, dir.Read());
    EXPECT_EQ(kFailure, Set("databases/Raktar", "dbstart", "0"));
    EXPECT_EQ(kFailure, Set("databases", "net_lock", "false"));
    EXPECT_EQ(expected, dir.Read());
}

// Files as people write them by hand: every byte but the lock's value (at the @) is kept;
// an absent lock is added at the end of the start tag.
TEST_F(ConfigWrite, EveryOtherByteIsKept)
{
    const struct { const char* text; const char* before; const char* after; } cases[] = {
        { "<?xml version='1.0' encoding='windows-1250'?>\r\n<serverparams>\r\n\t<velsrv dbhome=\"C:\\&#337;rs\xe9g\\\""
          "   net_lock = '@'\r\n\t\tx='\"q\"'></velsrv>\n<!--  keep  me  -->\r<databases>\n"
          "<konyv reglmgrname=\"\xdcgyf\xe9l &amp; t\xe1rsa\"/>text   with\t\tblanks</databases></serverparams>",
          "true", "false" },
        { "<serverparams><velsrv net_lock=\"@\" dbhome=\"&#x41;\"/><databases/></serverparams>", "&#116;rue", "false" },
        { "<serverparams><velsrv net_lock=@><!--a--></velsrv><databases/></serverparams>\n\n", "1", "false" },
        { "<serverparams>\n<velsrv\n  dbhome='x'@\n/>\n<databases/></serverparams>", "", " net_lock=\"false\"" },
        { "<serverparams><velsrv@/><databases/></serverparams>", "", " net_lock=\"false\"" },
    };
    for (const auto& c : cases) {
        std::string before = c.text, after = c.text;
        before.replace(before.find('@'), 1, c.before);
        after.replace(after.find('@'), 1, c.after);
        SCOPED_TRACE(before);
        dir.Write(before);
        EXPECT_EQ(0, Set("velsrv", "net_lock", "false"));
        EXPECT_EQ(after, dir.Read());
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

// A write that cannot complete leaves the file as it was and nothing beside it: a
// read-only file, with the lock or without it (the object keeps what the file holds); a
// file held open by another handle (readable, neither writable nor replaceable); a file
// removed after reading, which is not created again.
TEST_F(ConfigWrite, WriteThatCannotCompleteLeavesTheFileAsItWas)
{
    for (const std::string& text : { kLocked, Config("") }) {
        const bool locked = text == kLocked;
        dir.Write(text);
        ASSERT_TRUE(SetFileAttributesA(dir.FilePath().c_str(), FILE_ATTRIBUTE_READONLY));
        VelServerConfig config(dir.Path(), "velsrv");
        EXPECT_EQ(kFailure, config.WriteValue("net_lock", locked ? "false" : "true"));
        std::string value = "untouched";
        EXPECT_EQ(locked ? 0 : kFailure, config.GetValue("net_lock", value));
        EXPECT_EQ(locked ? "true" : "", value);
        EXPECT_EQ(text, dir.Read());
        EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names());
        EXPECT_TRUE(GetFileAttributesA(dir.FilePath().c_str()) & FILE_ATTRIBUTE_READONLY);
        SetFileAttributesA(dir.FilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    dir.Write(kLocked);
    {
        velutils::FileHandle held(CreateFileA(dir.FilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        VelServerConfig config(dir.Path(), "velsrv");
        std::string value;
        ASSERT_EQ(0, config.GetValue("net_lock", value)) << "the file is still readable";
        EXPECT_EQ(kFailure, config.WriteValue("net_lock", "false"));
        EXPECT_EQ(std::vector<std::string>{ "velsrv.xml" }, dir.Names());
    }
    EXPECT_EQ(kLocked, dir.Read());
    VelServerConfig removed(dir.Path(), "velsrv");
    ASSERT_EQ(0, removed.Read());
    ASSERT_TRUE(DeleteFileA(dir.FilePath().c_str()));
    EXPECT_EQ(kFailure, removed.WriteValue("net_lock", "false"));
    EXPECT_TRUE(dir.Names().empty());
}
