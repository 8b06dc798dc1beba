// Arguments of the argument-carrying exceptions: %N placeholders, then "%s" markers,
// then a bracketed tail for what is left.
#include <gtest/gtest.h>

#include "utils/ErrorText.h"
#include "utils/VelExceptBaseArg.h"

namespace {

std::string Formatted(const char* text, const StrVector& args)
{
    return VelExceptBaseArg(text, args).what();
}

TEST(ExceptionArgs, NumberedPlaceholdersTakeTheirArguments)
{
    EXPECT_EQ("Copy a to b", std::string(VelExceptBaseArg(7, StrVector{ "a", "b" }).what()));
    EXPECT_EQ("b before a", Formatted("%2 before %1", { "a", "b" }));
}

TEST(ExceptionArgs, GivenTextTakesItsArgumentsToo)
{
    EXPECT_EQ("Kész: x", Formatted("Kész: %1", { "x" }));
}

TEST(ExceptionArgs, LeftoverArgumentsFillPercentSInOrder)
{
    EXPECT_EQ("Bad value 7, expected 9", std::string(VelExceptBaseArg(9, StrVector{ "7", "9" }).what()));
}

TEST(ExceptionArgs, ThreeLeftoversAndOnePercentS)
{
    EXPECT_EQ("Only first here\r\n (second, third)", Formatted("Only %s here", { "first", "second", "third" }));
}

TEST(ExceptionArgs, LeftoversWithoutMarkersGoToTheTail)
{
    EXPECT_EQ("Plain text\r\n (one)", Formatted("Plain text", { "one" }));
}

TEST(ExceptionArgs, AnArgumentHoldingPercentSIsNotFilledAgain)
{
    EXPECT_EQ("[%s] and [b]", Formatted("[%s] and [%s]", { "%s", "b" }));
}

TEST(ExceptionArgs, UsedArgumentsAreNotLeftOver)
{
    EXPECT_EQ("x and %s", Formatted("%1 and %s", { "x" }));
}

TEST(SubstituteArgs, EscapesAndOddPlaceholders)
{
    StrVector args{ "A" };
    StrVector leftover;
    EXPECT_EQ("100% %1=A %q", velutils::SubstituteArgs("100%% %%1=%1 %q", args, leftover));
    EXPECT_TRUE(leftover.empty());
}

TEST(SubstituteArgs, TrailingPercentEndsTheText)
{
    StrVector leftover;
    EXPECT_EQ("50", velutils::SubstituteArgs("50%", StrVector{ "x" }, leftover));
    ASSERT_EQ(1u, leftover.size());
    EXPECT_EQ("x", leftover[0]);
}

TEST(SubstituteArgs, PlaceholderWithoutArgumentIsDropped)
{
    StrVector leftover;
    EXPECT_EQ("a  c", velutils::SubstituteArgs("a %5 c", StrVector{ "x" }, leftover));
    EXPECT_EQ(1u, leftover.size());
}

TEST(SubstituteArgs, LeftoversKeepTheirOrder)
{
    StrVector leftover;
    velutils::SubstituteArgs("%2", StrVector{ "a", "b", "c" }, leftover);
    ASSERT_EQ(2u, leftover.size());
    EXPECT_EQ("a", leftover[0]);
    EXPECT_EQ("c", leftover[1]);
}

TEST(StrVectorAppend, IntegersAsDecimalText)
{
    StrVector v;
    v.Append(-12).Append(static_cast<const char*>(nullptr)).Append(std::string("s"));
    ASSERT_EQ(3u, v.size());
    EXPECT_EQ("-12", v[0]);
    EXPECT_EQ("", v[1]);
    EXPECT_EQ("s", v[2]);
}

}  // namespace
