// Locale pictures to our formats and back, the short time picture and the filter by kind.
#include <gtest/gtest.h>

#include "utils/DatePicture.h"

using namespace velDate;

TEST(DatePicture, LongestTokenWinsAndSingleLettersDropTheZeros)
{
    EXPECT_EQ("%Y.%m.%d.", PictureToFormat("yyyy.MM.dd."));
    EXPECT_EQ("%#H:%M", PictureToFormat("H:mm"));
    EXPECT_EQ("%Y. %m. %d.", PictureToFormat("yyyy. MM. dd."));
    EXPECT_EQ("%#m/%#d/%Y", PictureToFormat("M/d/yyyy"));
    EXPECT_EQ("%#I:%M:%S %p", PictureToFormat("h:mm:ss tt"));
    EXPECT_EQ("%b %a %I %#p", PictureToFormat("MMM ddd hh t"));
    // Five y: the four-letter token, then a lone y that is no token.
    EXPECT_EQ("%Yy", PictureToFormat("yyyyy"));
    // Quotes are no literal markers.
    EXPECT_EQ("'%#de' %#H", PictureToFormat("'de' H"));
}

TEST(DatePicture, EveryTokenConvertsBothWays)
{
    const std::string picture = "dddd ddd dd d MMMM MMM MM M yyyy yy HH H hh h mm m ss s tt t";
    const std::string format = "%A %a %d %#d %B %b %m %#m %Y %y %H %#H %I %#I %M %#M %S %#S %p %#p";
    EXPECT_EQ(format, PictureToFormat(picture));
    EXPECT_EQ(picture, FormatToPicture(format));
    // Format characters outside the table are copied.
    EXPECT_EQ("%j %x yyyy", FormatToPicture("%j %x %Y"));
    EXPECT_EQ("", PictureToFormat(""));
}

TEST(DatePicture, ShortTimePictureLosesTheSeconds)
{
    EXPECT_EQ("HH:mm", ShortTimePicture("HH:mm:ss", ":"));
    EXPECT_EQ("H:mm", ShortTimePicture("H:mm:ss", ":"));
    EXPECT_EQ("h:mm tt", ShortTimePicture("h:mm:ss tt", ":"));
    EXPECT_EQ("H.mm", ShortTimePicture("H.mm.s", "."));
    EXPECT_EQ("HH:mm", ShortTimePicture("HH:mm", ":"));
    // Seconds behind another separator are not the locale's form: left alone.
    EXPECT_EQ("HH:mm ss", ShortTimePicture("HH:mm ss", ":"));
}

TEST(DatePicture, FilterKeepsTheChosenKindsWithTheirSeparators)
{
    const unsigned yearMonth = KindYear | KindMonth;
    EXPECT_EQ("MMMM yyyy", FilterByKind("dddd, MMMM dd, yyyy", yearMonth, DateSide::Picture));
    EXPECT_EQ("MM. yyyy", FilterByKind("dd. MM. yyyy", yearMonth, DateSide::Picture));
    EXPECT_EQ("H:ss", FilterByKind("H:mm:ss", KindHour | KindSecond, DateSide::Picture));
    EXPECT_EQ("%#H:%M", FilterByKind("%#H:%M:%S", KindHour | KindMinute, DateSide::Format));
    EXPECT_EQ("%Y. %m", FilterByKind("%Y. %m. %d.", KindYear | KindMonth, DateSide::Format));
}

TEST(DatePicture, FilterAppendsTheTrailingTextOnlyWhenAsked)
{
    const unsigned date = KindYear | KindMonth | KindDay;
    EXPECT_EQ("yyyy. MM. dd", FilterByKind("yyyy. MM. dd.", date, DateSide::Picture));
    EXPECT_EQ("yyyy. MM. dd.", FilterByKind("yyyy. MM. dd.", date, DateSide::Picture, true));
    EXPECT_EQ("H:mm:", FilterByKind("H:mm:ss", KindHour | KindMinute, DateSide::Picture, true));
    EXPECT_EQ("", FilterByKind("H:mm:ss", KindYear, DateSide::Picture, true));
}
