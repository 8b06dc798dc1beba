// Texts of Windows error codes, for VelExceptSys and for the free SysErrText.
#include <gtest/gtest.h>

#include "utils/ErrorText.h"
#include "utils/VelExceptSys.h"

namespace {

std::string SystemText(DWORD code)
{
    std::string text;
    DWORD failure = 0;
    EXPECT_TRUE(velutils::SystemMessageText(code, "", text, failure)) << code;
    return text;
}

// A code that no message table knows.
const DWORD kUnknownCode = 0x2000ABCD;

TEST(SystemText, KnownCodeGivesTheSystemTextUnchanged)
{
    std::string text = SystemText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    VelExceptSys e(ERROR_ACCESS_DENIED, StrVector());
    EXPECT_EQ(text, e.what());
    EXPECT_EQ(text, velutils::SysErrText(ERROR_ACCESS_DENIED));
}

TEST(SystemText, ArgumentsFollowTheSystemTextInTheTail)
{
    VelExceptSys e(ERROR_FILE_NOT_FOUND, ErrPos("d.cpp", "NULL", 1), StrVector{ "veldbsrv.exe" });
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND) + "\r\n (veldbsrv.exe)", e.what());
}

TEST(SystemText, UnknownCodeShowsTheLookupFailureAndTheOriginalCode)
{
    std::string text;
    DWORD failure = 0;
    ASSERT_FALSE(velutils::SystemMessageText(kUnknownCode, "", text, failure));
    ASSERT_NE(kUnknownCode, failure);
    std::string failureText = SystemText(failure);

    VelExceptSys e(static_cast<int>(kUnknownCode), StrVector());
    std::string expected = failureText + "\r\n (Original error code: " + std::to_string(static_cast<int>(kUnknownCode)) + ")";
    EXPECT_EQ(expected, e.what());
    EXPECT_EQ(expected, std::string(e.what()));   // the note is added once
    // The free function names both codes.
    EXPECT_EQ(failureText + " (" + std::to_string(kUnknownCode) + ")", velutils::SysErrText(kUnknownCode));
}

}  // namespace
