// String resources with their fallbacks, and the texts of run-time library errors.
#include <gtest/gtest.h>

#include <string>

#include "utils/ErrorText.h"
#include "utils/VelExceptSys.h"

namespace {

HMODULE Self()
{
    return GetModuleHandleA(nullptr);
}

TEST(ResourceText, LongTextGrowsTheBuffer)
{
    std::string text = velutils::LoadResText(30001, nullptr, Self(), false, false);
    ASSERT_EQ(400u, text.size());
    EXPECT_EQ("000,001,", text.substr(0, 8));
    EXPECT_EQ("099,", text.substr(396));
}

TEST(ResourceText, FoundTextWithAmpersandsKeptOrStripped)
{
    EXPECT_EQ("A &B Cancel", velutils::LoadResText(30000, nullptr, Self(), false, true));
    EXPECT_EQ("A &&B &Cancel", velutils::LoadResText(30000, nullptr, Self(), false, false));
    EXPECT_EQ("Érvénytelen argumentum", velutils::LoadResText(20308, "x", Self(), false, false));   // code page 1250
}

TEST(ResourceText, MissingTextGivesTheDefaultOrNamesTheFailureOrThrows)
{
    EXPECT_EQ("fallback", velutils::LoadResText(31000, "fallback", Self(), false, false));
    std::string expected = velutils::SysErrText(ERROR_RESOURCE_NAME_NOT_FOUND) + " (31000)";
    EXPECT_EQ(expected, velutils::LoadResText(31000, nullptr, Self(), false, false));
    try {
        velutils::LoadResText(31000, "fallback", Self(), true, false);
        FAIL() << "no exception";
    } catch (const VelExceptSys& e) {
        EXPECT_EQ(ERROR_RESOURCE_NAME_NOT_FOUND, e.GetErrCode());
    }
}

TEST(ResourceText, ModuleOrLanguageModuleWithoutTheTextFallsBackToTheProgram)
{
    // kernel32 has no such string: the program's own table answers.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ("Test error five", velutils::LoadResText(20005, "x", kernel, false, false));
    velutils::RegisterTextModule("xx-TEST", kernel);
    EXPECT_EQ("Test error five", velutils::LoadResText(20005, "x", nullptr, false, false, "xx-TEST"));
    EXPECT_EQ(kernel, velutils::TextModuleFor("xx-TEST"));
    velutils::RegisterTextModule("xx-TEST", nullptr);
    EXPECT_EQ(nullptr, velutils::TextModuleFor("xx-TEST"));
}

TEST(Language, DefaultIsTheUsersLocale)
{
    EXPECT_EQ("hu-HU", velutils::DefaultLanguage());
    EXPECT_EQ(MAKELANGID(LANG_HUNGARIAN, SUBLANG_DEFAULT), velutils::LanguageId(""));
    EXPECT_EQ(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), velutils::LanguageId("en-US"));
    EXPECT_EQ(LANG_USER_DEFAULT, velutils::LanguageId("no-SUCH"));
}

TEST(ErrnoText, KnownNumbersWithAndWithoutResourceAndTheCurrentOne)
{
    EXPECT_EQ("Érvénytelen argumentum", velutils::ErrnoText(22));
    EXPECT_EQ("No such file or directory", velutils::ErrnoText(2));
    EXPECT_EQ("Illegel sequence of bytes", velutils::ErrnoText(42));
    EXPECT_EQ("Unknown error", velutils::ErrnoText(999));
    // The current one is stored.
    errno = 13;
    int value = 0;
    EXPECT_EQ("Permission denied", velutils::CurrentErrnoText(&value));
    EXPECT_EQ(13, value);
}

}  // namespace
