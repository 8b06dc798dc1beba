// Text ids of the classes' code ranges, fatality, and the database client's texts.
#include <gtest/gtest.h>

#include "utils/DbDescError.h"
#include "utils/ErrorText.h"
#include "utils/VelExceptDateTime.h"
#include "utils/VelExceptTrans.h"
#include "utils/VelFileExcept.h"
#include "utils/VelVectorExcept.h"

namespace {

// Where the ranges end, and a class's own range beside the root's.
TEST(TextIds, RangeEndsAndClassRanges)
{
    const std::pair<int, int> root[] = { { 249, 20249 }, { 250, 20250 }, { 299, 20299 }, { 300, 22 }, { -1, 22 } };
    for (const auto& c : root)
        EXPECT_EQ(c.second, VelExceptBase(c.first).GetOwnTextId()) << c.first;
    EXPECT_EQ(20005, VelFileExcept(720, StrVector()).GetTextId(5));
    EXPECT_EQ(20651, velDate::VelExceptDateTime(651, StrVector()).GetOwnTextId());
    EXPECT_EQ(22, VelExceptTrans(700, StrVector()).GetOwnTextId());
}

TEST(TextIds, SecondaryRangeTextIsComposed)
{
    EXPECT_STREQ("Secondary text x", VelExceptBaseArg(260, StrVector{ "x" }).what());
    EXPECT_STREQ("File C:\\a.txt cannot be opened", VelFileExcept(720, StrVector{ "C:\\a.txt" }).what());
}

TEST(Fatality, RootCodes)
{
    for (int code : { 1, 2, 3, 4, 8, 9 })
        EXPECT_TRUE(VelExceptBase(code).IsFatal()) << code;
    EXPECT_FALSE(VelExceptBase(5).IsFatal());
    EXPECT_FALSE(VelVectorExcept().IsFatal()) << "17 is not among the fatal codes";
    EXPECT_FALSE(VelExceptBase(260).IsFatal());
    EXPECT_TRUE(VelExceptBase(300).IsFatal());
    EXPECT_TRUE(VelExceptBase(-1).IsFatal());
    EXPECT_FALSE(VelExceptBase(260).IsOutsideSecondaryRange());
    EXPECT_TRUE(VelExceptBase(5).IsOutsideSecondaryRange());
}

TEST(Fatality, ClientLibraryStatusesFiftyOfThemFatal)
{
    const int fatal[] = { 10001, 10003, 10004, 10006, 10012, 10018, 10021, 10030, 10037, 10039,
                          10042, 10053, 10055, 10057, 10065, 10070 };
    const int survivable[] = { 10000, 10002, 10005, 10019, 10020, 10038, 10040, 10041, 10054,
                               10056, 10058, 10064, 10066, 10069, 10071, 10073 };
    for (int code : fatal)
        EXPECT_TRUE(DbDescError(code, StrVector()).IsFatal()) << code;
    for (int code : survivable)
        EXPECT_FALSE(DbDescError(code, StrVector()).IsFatal()) << code;
    EXPECT_FALSE(DbDescError(0, StrVector()).IsFatal());
    EXPECT_TRUE(DbDescError(9999, StrVector()).IsFatal());
    EXPECT_TRUE(DbDescError(10074, StrVector()).IsFatal());
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
    EXPECT_EQ(velutils::SysErrText(ERROR_RESOURCE_NAME_NOT_FOUND), DbDescError(2003, StrVector()).what());
}

TEST(ClientLibraryText, SocketErrorWithAndWithoutSystemText)
{
    const int wsa = 10061;   // connection refused
    std::string system;
    DWORD failure = 0;
    ASSERT_TRUE(velutils::SystemMessageText(wsa, "", system, failure));
    EXPECT_EQ(system + "ErrCode: WSA-10061.", DbDescError(-10000 - wsa, StrVector()).what());
    EXPECT_STREQ("Unknown WSA error! ErrCode: WSA-19999.", DbDescError(-10000 - 19999, StrVector()).what());
}

}  // namespace
