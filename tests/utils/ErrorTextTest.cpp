// Texts of errors, their fallbacks and arguments; text ids of code ranges and the fatal codes.
#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>

#include "utils/DbDescError.h"
#include "utils/ErrorText.h"
#include "utils/VelExceptDateTime.h"
#include "utils/VelExceptSys.h"
#include "utils/VelExceptTrans.h"
#include "utils/VelFileExcept.h"
#include "utils/VelVectorExcept.h"

namespace {

// The system's own text of a code, asked of the system directly; empty when it has none.
std::string SystemText(DWORD code)
{
    char text[1024] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    return std::string(text, n);
}

const std::string kMissingResource = SystemText(ERROR_RESOURCE_NAME_NOT_FOUND);

// Loads nothing for the ids it is given, as a module with an empty text would; and
// without a text id for the codes it is given.
class EmptyTextExcept : public VelExceptBase {
public:
    EmptyTextExcept(int code, const ErrPos& pos, std::set<unsigned> empty, std::set<int> noId = {})
        : VelExceptBase(code, pos), m_empty(std::move(empty)), m_noId(std::move(noId)) {}
    std::string LoadText(unsigned short id, HMODULE module, const std::string& language) const override
    {
        return m_empty.count(id) ? std::string() : VelExceptBase::LoadText(id, module, language);
    }
    unsigned short GetTextId(int code) const override
    {
        return m_noId.count(code) ? 0 : VelExceptBase::GetTextId(code);
    }

private:
    std::set<unsigned> m_empty;
    std::set<int> m_noId;
};

std::string Formatted(const char* text, const StrVector& args) { return VelExceptBaseArg(text, args).what(); }

TEST(ExceptionText, GivenTextOrTheCodesTextFromTheStringTable)
{
    EXPECT_STREQ("Kész szöveg", VelExceptBase("Kész szöveg", VEL_ERRPOS("f")).what());
    EXPECT_STREQ("own text", VelExceptBase(5, "own text", ErrPos("a.cpp", "f", 1)).what());
    EXPECT_STREQ("Test error five", VelExceptBase(5).what());
    ASSERT_FALSE(kMissingResource.empty());
    EXPECT_EQ(kMissingResource, VelExceptBase(6).what());
}

TEST(ExceptionText, EmptyTextFallsBackStepByStep)
{
    // To the missing-text message with the position...
    EXPECT_EQ("No text for 5 in (anonymous namespace)::EmptyTextExcept at file a.cpp, function Run, line 7",
              std::string(EmptyTextExcept(5, ErrPos("a.cpp", "Run", 7), { 20005 }).what()));
    // ...to "Unknown error!" where the missing-text message has no text id...
    EXPECT_STREQ("Unknown error!", EmptyTextExcept(5, ErrPos("b.cpp", "Go", 3), { 20005 }, { 22 }).what());
    // ...and to the fixed text where that message is empty too, with or without a position.
    EXPECT_EQ("Error text for ErrorCode 5 is missing! Exception: (anonymous namespace)::EmptyTextExcept, "
              "ErrPos: file b.cpp, function Go, line 3",
              std::string(EmptyTextExcept(5, ErrPos("b.cpp", "Go", 3), { 20005, 20022 }).what()));
    EXPECT_EQ("Error text for ErrorCode 5 is missing! Exception: (anonymous namespace)::EmptyTextExcept, "
              "ErrPos: ", std::string(EmptyTextExcept(5, ErrPos(), { 20005, 20022 }).what()));
    // Without text or text id: the text of code 1 and the code.
    EXPECT_STREQ("General error (-1)", VelExceptBase("").what());
    EXPECT_STREQ("General error (42)", EmptyTextExcept(42, ErrPos(), {}, { 42 }).what());
    EXPECT_STREQ("Unknown error! (42)", EmptyTextExcept(42, ErrPos(), {}, { 42, 1 }).what());
}

TEST(ExceptionText, ErrPosOneLineMultiLineEmptyAndCut)
{
    VelExceptBase e(1, ErrPos("veldbctrlDlg.cpp", "NULL", 120));
    EXPECT_EQ("file        veldbctrlDlg.cpp\r\nfunction    NULL\r\nline        120", e.FormatErrPos(true));
    EXPECT_EQ("", VelExceptBase(1).FormatErrPos(true));
    // A long position is cut at the buffer.
    std::string text = VelExceptBase(1, ErrPos(std::string(600, 'f').c_str(), "NULL", 1)).FormatErrPos(false);
    EXPECT_EQ(259u, text.size());
    EXPECT_EQ("file ff", text.substr(0, 7));
}

TEST(ExceptionArgs, PlaceholdersThenPercentSThenTheTail)
{
    EXPECT_EQ("Copy a to b", std::string(VelExceptBaseArg(7, StrVector{ "a", "b" }).what()));
    EXPECT_EQ("b before a", Formatted("%2 before %1", { "a", "b" }));
    EXPECT_EQ("Only first here\r\n (second, third)", Formatted("Only %s here", { "first", "second", "third" }));
    EXPECT_EQ("Plain text\r\n (one)", Formatted("Plain text", { "one" }));
    // An argument holding "%s" is not filled again; used arguments are not left over.
    EXPECT_EQ("[%s] and [b]", Formatted("[%s] and [%s]", { "%s", "b" }));
    EXPECT_EQ("x and %s", Formatted("%1 and %s", { "x" }));
    StrVector v;
    v.Append(-12).Append(static_cast<const char*>(nullptr)).Append(std::string("s"));
    EXPECT_EQ((StrVector{ "-12", "", "s" }), v);
}

TEST(ExceptionArgs, SubstitutionEscapesOddPlaceholdersAndKeepsLeftoversInOrder)
{
    struct Case { const char* text; StrVector args; const char* result; StrVector leftover; };
    const Case cases[] = {
        { "100%% %%1=%1 %q", { "A" }, "100% %1=A %q", {} },
        { "50%", { "x" }, "50", { "x" } },                 // a trailing percent ends the text
        { "a %5 c", { "x" }, "a  c", { "x" } },            // a placeholder without an argument is dropped
        { "%2", { "a", "b", "c" }, "b", { "a", "c" } },
    };
    for (const Case& c : cases) {
        StrVector leftover;
        EXPECT_EQ(c.result, velutils::SubstituteArgs(c.text, c.args, leftover)) << c.text;
        EXPECT_EQ(c.leftover, leftover) << c.text;
    }
}

TEST(TextIds, RangeEndsClassRangesAndTheSecondaryText)
{
    const std::pair<int, int> root[] = { { 249, 20249 }, { 250, 20250 }, { 299, 20299 }, { 300, 22 }, { -1, 22 } };
    for (const auto& c : root)
        EXPECT_EQ(c.second, VelExceptBase(c.first).GetOwnTextId()) << c.first;
    EXPECT_EQ(20005, VelFileExcept(720, StrVector()).GetTextId(5));
    EXPECT_EQ(20651, velDate::VelExceptDateTime(651, StrVector()).GetOwnTextId());
    EXPECT_EQ(22, VelExceptTrans(700, StrVector()).GetOwnTextId());
    EXPECT_STREQ("Secondary text x", VelExceptBaseArg(260, StrVector{ "x" }).what());
    EXPECT_STREQ("File C:\\a.txt cannot be opened", VelFileExcept(720, StrVector{ "C:\\a.txt" }).what());
}

TEST(Fatality, RootCodesAndTheFiftyFatalClientLibraryStatuses)
{
    for (int code : { 1, 2, 3, 4, 8, 9, 300, -1 })
        EXPECT_TRUE(VelExceptBase(code).IsFatal()) << code;
    EXPECT_FALSE(VelExceptBase(5).IsFatal());
    EXPECT_FALSE(VelVectorExcept().IsFatal()) << "17 is not among the fatal codes";
    EXPECT_FALSE(VelExceptBase(260).IsFatal());

    // Each range's ends, and the codes beside them.
    const int fatal[] = { 9999, 10001, 10003, 10004, 10006, 10012, 10018, 10021, 10030, 10037, 10039,
                          10042, 10053, 10055, 10057, 10065, 10070, 10074 };
    const int survivable[] = { 0, 10000, 10002, 10005, 10019, 10020, 10038, 10040, 10041, 10054,
                               10056, 10058, 10064, 10066, 10069, 10071, 10073 };
    for (int code : fatal)
        EXPECT_TRUE(DbDescError(code, StrVector()).IsFatal()) << code;
    for (int code : survivable)
        EXPECT_FALSE(DbDescError(code, StrVector()).IsFatal()) << code;
    int count = 0;
    for (int code = 10000; code <= 10073; ++code)
        count += DbDescError(code, StrVector()).IsFatal() ? 1 : 0;
    EXPECT_EQ(50, count);
}

TEST(ClientLibraryText, RangesMapToTheirResourcesOrComposeLikeTheRoot)
{
    EXPECT_STREQ("Library status 10001", DbDescError(10001, StrVector()).what());
    EXPECT_STREQ("Client error 2001", DbDescError(2001, StrVector()).what());
    EXPECT_STREQ("Other library status", DbDescError(12345, StrVector()).what());
    // A server status without a text of its own reads as any other server status.
    EXPECT_STREQ("Other library status", DbDescError(10002, StrVector()).what());
    // A client code without a text: the root's composition (text id 22, also missing).
    EXPECT_EQ(kMissingResource, DbDescError(2003, StrVector()).what());
    // A socket error with and without a system text.
    EXPECT_EQ(SystemText(10061) + "ErrCode: WSA-10061.", DbDescError(-10000 - 10061, StrVector()).what());
    EXPECT_STREQ("Unknown WSA error! ErrCode: WSA-19999.", DbDescError(-10000 - 19999, StrVector()).what());
}

TEST(SystemText, KnownCodesArgumentsAndAnUnknownCode)
{
    const std::string denied = SystemText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(denied.empty());
    EXPECT_EQ(denied, velutils::SysErrText(ERROR_ACCESS_DENIED));
    VelExceptSys withArgs(ERROR_FILE_NOT_FOUND, ErrPos("d.cpp", "NULL", 1), StrVector{ "veldbsrv.exe" });
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND) + "\r\n (veldbsrv.exe)", withArgs.what());

    // A code that no message table knows: the lookup's failure and the original code.
    const DWORD unknown = 0x2000ABCD;
    std::string text;
    DWORD failure = 0;
    ASSERT_FALSE(velutils::SystemMessageText(unknown, "", text, failure));
    ASSERT_NE(unknown, failure);
    const std::string failureText = SystemText(failure);
    ASSERT_FALSE(failureText.empty());
    VelExceptSys e(static_cast<int>(unknown), StrVector());
    const std::string code = std::to_string(static_cast<int>(unknown));
    const std::string expected = failureText + "\r\n (Original error code: " + code + ")";
    EXPECT_EQ(expected, e.what());
    EXPECT_EQ(expected, std::string(e.what()));   // the note is added once
    EXPECT_EQ(failureText + " (" + code + ")", velutils::SysErrText(unknown));
}

HMODULE Self() { return GetModuleHandleA(nullptr); }

TEST(ResourceText, FoundLongAndWithAmpersandsKeptOrStripped)
{
    std::string text = velutils::LoadResText(30001, nullptr, Self(), false, false);
    ASSERT_EQ(400u, text.size()) << "a long text grows the buffer";
    EXPECT_EQ("000,001,", text.substr(0, 8));
    EXPECT_EQ("099,", text.substr(396));
    EXPECT_EQ("A &B Cancel", velutils::LoadResText(30000, nullptr, Self(), false, true));
    EXPECT_EQ("A &&B &Cancel", velutils::LoadResText(30000, nullptr, Self(), false, false));
}

TEST(ResourceText, MissingTextGivesTheDefaultOrNamesTheFailureOrThrows)
{
    EXPECT_EQ(kMissingResource + " (31000)", velutils::LoadResText(31000, nullptr, Self(), false, false));
    try {
        velutils::LoadResText(31000, "fallback", Self(), true, false);
        FAIL() << "no exception";
    } catch (const VelExceptSys& e) {
        EXPECT_EQ(ERROR_RESOURCE_NAME_NOT_FOUND, e.GetErrCode());
    }
    // kernel32 has no such string: the program's own table answers, also for a language's module.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ("Test error five", velutils::LoadResText(20005, "x", kernel, false, false));
    velutils::RegisterTextModule("xx-TEST", kernel);
    EXPECT_EQ("Test error five", velutils::LoadResText(20005, "x", nullptr, false, false, "xx-TEST"));
    EXPECT_EQ(kernel, velutils::TextModuleFor("xx-TEST"));
    velutils::RegisterTextModule("xx-TEST", nullptr);
    EXPECT_EQ(nullptr, velutils::TextModuleFor("xx-TEST"));
}

TEST(ResourceText, LanguagesAndRunTimeLibraryErrors)
{
    EXPECT_EQ("hu-HU", velutils::DefaultLanguage());
    EXPECT_EQ(MAKELANGID(LANG_HUNGARIAN, SUBLANG_DEFAULT), velutils::LanguageId(""));
    EXPECT_EQ(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), velutils::LanguageId("en-US"));
    EXPECT_EQ(LANG_USER_DEFAULT, velutils::LanguageId("no-SUCH"));
    EXPECT_EQ("Érvénytelen argumentum", velutils::ErrnoText(22));   // with a resource
    EXPECT_EQ("Illegel sequence of bytes", velutils::ErrnoText(42));
    EXPECT_EQ("Unknown error", velutils::ErrnoText(999));
    errno = 13;
    int value = 0;
    EXPECT_EQ("Permission denied", velutils::CurrentErrnoText(&value));
    EXPECT_EQ(13, value) << "the current one is stored";
}

}  // namespace
