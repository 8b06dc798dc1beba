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

TEST(ExceptionArgs, NumberedPlaceholdersTakeTheirArgumentsInResourceAndGivenTexts)
{
    EXPECT_EQ("Copy a to b", std::string(VelExceptBaseArg(7, StrVector{ "a", "b" }).what()));
    EXPECT_EQ("b before a", Formatted("%2 before %1", { "a", "b" }));
    EXPECT_EQ("Kész: x", Formatted("Kész: %1", { "x" }));
}

TEST(ExceptionArgs, LeftoversFillPercentSInOrderThenTheTail)
{
    EXPECT_EQ("Bad value 7, expected 9", std::string(VelExceptBaseArg(9, StrVector{ "7", "9" }).what()));
    EXPECT_EQ("Only first here\r\n (second, third)", Formatted("Only %s here", { "first", "second", "third" }));
    EXPECT_EQ("Plain text\r\n (one)", Formatted("Plain text", { "one" }));
    // An argument holding "%s" is not filled again; used arguments are not left over.
    EXPECT_EQ("[%s] and [b]", Formatted("[%s] and [%s]", { "%s", "b" }));
    EXPECT_EQ("x and %s", Formatted("%1 and %s", { "x" }));
}

TEST(SubstituteArgs, EscapesOddPlaceholdersAndLeftovers)
{
    StrVector leftover;
    EXPECT_EQ("100% %1=A %q", velutils::SubstituteArgs("100%% %%1=%1 %q", StrVector{ "A" }, leftover));
    EXPECT_TRUE(leftover.empty());
    // A trailing percent ends the text.
    EXPECT_EQ("50", velutils::SubstituteArgs("50%", StrVector{ "x" }, leftover));
    EXPECT_EQ(StrVector{ "x" }, leftover);
    // A placeholder without an argument is dropped.
    leftover.clear();
    EXPECT_EQ("a  c", velutils::SubstituteArgs("a %5 c", StrVector{ "x" }, leftover));
    EXPECT_EQ(StrVector{ "x" }, leftover);
    // Leftovers keep their order.
    leftover.clear();
    velutils::SubstituteArgs("%2", StrVector{ "a", "b", "c" }, leftover);
    EXPECT_EQ((StrVector{ "a", "c" }), leftover);
}

TEST(StrVectorAppend, IntegersAsDecimalText)
{
    StrVector v;
    v.Append(-12).Append(static_cast<const char*>(nullptr)).Append(std::string("s"));
    EXPECT_EQ((StrVector{ "-12", "", "s" }), v);
}

}  // namespace
