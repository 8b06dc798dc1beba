// How an exception's message is composed: given texts, the string table, the system
// message table, and each fallback when a piece is missing.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "utils/ErrorText.h"
#include "utils/VelExceptBase.h"

namespace {

const std::string kMissingResource = velutils::SysErrText(ERROR_RESOURCE_NAME_NOT_FOUND);

// Loads nothing for the ids it is given, as a module with an empty text would.
class EmptyTextExcept : public VelExceptBase {
public:
    EmptyTextExcept(int code, const ErrPos& pos, std::set<unsigned> empty, bool noIdFor22 = false)
        : VelExceptBase(code, pos), m_empty(std::move(empty)), m_noIdFor22(noIdFor22) {}
    std::string LoadText(unsigned short id, HMODULE module, const std::string& language) const override
    {
        return m_empty.count(id) ? std::string() : VelExceptBase::LoadText(id, module, language);
    }
    unsigned short GetTextId(int code) const override
    {
        return (m_noIdFor22 && code == 22) ? 0 : VelExceptBase::GetTextId(code);
    }

private:
    std::set<unsigned> m_empty;
    bool m_noIdFor22;
};

class NoTextIdExcept : public VelExceptBase {
public:
    NoTextIdExcept(int code, std::set<int> without) : VelExceptBase(code), m_without(std::move(without)) {}
    unsigned short GetTextId(int code) const override
    {
        return m_without.count(code) ? 0 : VelExceptBase::GetTextId(code);
    }

private:
    std::set<int> m_without;
};

TEST(ExceptionText, GivenTextIsReturnedAsItIsEvenWithACode)
{
    VelExceptBase e("Kész szöveg", VEL_ERRPOS("f"));
    EXPECT_STREQ("Kész szöveg", e.what());
    EXPECT_EQ(-1, e.GetErrCode());
    EXPECT_STREQ("own text", VelExceptBase(5, "own text", ErrPos("a.cpp", "f", 1)).what());
}

TEST(ExceptionText, CodeTextFromTheStringTableOrTheLookupFailure)
{
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
    EXPECT_STREQ("Unknown error!", EmptyTextExcept(5, ErrPos("b.cpp", "Go", 3), { 20005 }, true).what());
    // ...and to the fixed text where that message is empty too, with or without a position.
    EXPECT_EQ("Error text for ErrorCode 5 is missing! Exception: (anonymous namespace)::EmptyTextExcept, "
              "ErrPos: file b.cpp, function Go, line 3",
              std::string(EmptyTextExcept(5, ErrPos("b.cpp", "Go", 3), { 20005, 20022 }).what()));
    EXPECT_EQ("Error text for ErrorCode 5 is missing! Exception: (anonymous namespace)::EmptyTextExcept, "
              "ErrPos: ", std::string(EmptyTextExcept(5, ErrPos(), { 20005, 20022 }).what()));
}

TEST(ExceptionText, WithoutTextOrTextIdTheTextOfCodeOneAndTheCode)
{
    EXPECT_STREQ("General error (-1)", VelExceptBase("").what());
    EXPECT_STREQ("General error (42)", NoTextIdExcept(42, { 42 }).what());
    EXPECT_STREQ("Unknown error! (42)", NoTextIdExcept(42, { 42, 1 }).what());
}

TEST(ErrPosText, OneLineMultiLineEmptyAndCut)
{
    VelExceptBase e(1, ErrPos("veldbctrlDlg.cpp", "NULL", 120));
    EXPECT_EQ("file veldbctrlDlg.cpp, function NULL, line 120", e.FormatErrPos(false));
    EXPECT_EQ("file        veldbctrlDlg.cpp\r\nfunction    NULL\r\nline        120", e.FormatErrPos(true));
    EXPECT_EQ("", VelExceptBase(1).FormatErrPos(true));
    // A long position is cut at the buffer.
    std::string text = VelExceptBase(1, ErrPos(std::string(600, 'f').c_str(), "NULL", 1)).FormatErrPos(false);
    EXPECT_EQ(259u, text.size());
    EXPECT_EQ("file ff", text.substr(0, 7));
}

}  // namespace
