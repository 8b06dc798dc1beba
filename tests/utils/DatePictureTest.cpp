// Locale pictures to our formats and back, the short time picture and the filter by kind.
#include <gtest/gtest.h>

#include "utils/DatePicture.h"

using namespace velDate;

TEST(DatePicture, PicturesToFormatsLongestTokenFirstAndBack)
{
    EXPECT_EQ("%Yy", PictureToFormat("yyyyy")) << "the four-letter token, then a lone y that is no token";
    EXPECT_EQ("'%#de' %#H", PictureToFormat("'de' H")) << "quotes are no literal markers";
    const std::string picture = "dddd ddd dd d MMMM MMM MM M yyyy yy HH H hh h mm m ss s tt t";
    const std::string format = "%A %a %d %#d %B %b %m %#m %Y %y %H %#H %I %#I %M %#M %S %#S %p %#p";
    EXPECT_EQ(format, PictureToFormat(picture));
    EXPECT_EQ(picture, FormatToPicture(format));
    EXPECT_EQ("%j %x yyyy", FormatToPicture("%j %x %Y")) << "characters outside the table are copied";
}

TEST(DatePicture, ShortTimePictureLosesTheSeconds)
{
    // Seconds behind another separator are not the locale's form: left alone.
    const char* const cases[][3] = { { "H:mm:ss", ":", "H:mm" }, { "H.mm.s", ".", "H.mm" },
        { "h:mm:ss tt", ":", "h:mm tt" }, { "HH:mm", ":", "HH:mm" },
        { "HH:mm ss", ":", "HH:mm ss" } };
    for (const auto& c : cases)
        EXPECT_EQ(c[2], ShortTimePicture(c[0], c[1])) << c[0];
}

// The chosen kinds with their separators; the trailing text only when asked.
TEST(DatePicture, FilterKeepsTheChosenKinds)
{
    const unsigned yearMonth = KindYear | KindMonth, date = yearMonth | KindDay, hourMinute = KindHour | KindMinute;
    struct Case { const char* text; unsigned kinds; DateSide side; bool trailing; const char* result; };
    const Case cases[] = {
        { "dddd, MMMM dd, yyyy", yearMonth, DateSide::Picture, false, "MMMM yyyy" },
        { "dd. MM. yyyy", yearMonth, DateSide::Picture, false, "MM. yyyy" },
        { "H:mm:ss", KindHour | KindSecond, DateSide::Picture, false, "H:ss" },
        { "%#H:%M:%S", hourMinute, DateSide::Format, false, "%#H:%M" },
        { "%Y. %m. %d.", yearMonth, DateSide::Format, false, "%Y. %m" },
        { "yyyy. MM. dd.", date, DateSide::Picture, false, "yyyy. MM. dd" },
        { "yyyy. MM. dd.", date, DateSide::Picture, true, "yyyy. MM. dd." },
        { "H:mm:ss", hourMinute, DateSide::Picture, true, "H:mm:" },
        { "H:mm:ss", KindYear, DateSide::Picture, true, "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, FilterByKind(c.text, c.kinds, c.side, c.trailing)) << c.text << " " << c.kinds;
}
