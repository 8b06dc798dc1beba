// Rendering dates and times with a locale's names and pictures, checked against the
// platform's own date formatting where both should agree.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "utils/DateTimeFormat.h"
#include "utils/LocaleData.h"
#include "utils/VelDateTime.h"
#include "utils/VelExceptSys.h"

using namespace velDate;

namespace {

const LCID kEnglish = 0x0409;

SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

// What the platform itself writes for a picture.
std::string PlatformDate(LCID locale, const SYSTEMTIME& t, const char* picture)
{
    char buffer[128] = "";
    EXPECT_GT(GetDateFormatA(locale, 0, &t, picture, buffer, sizeof buffer), 0);
    return buffer;
}

std::string PlatformDateTime(LCID locale, const SYSTEMTIME& t)
{
    char date[128] = "";
    char time[128] = "";
    EXPECT_GT(GetDateFormatA(locale, DATE_SHORTDATE, &t, nullptr, date, sizeof date), 0);
    EXPECT_GT(GetTimeFormatA(locale, 0, &t, nullptr, time, sizeof time), 0);
    return std::string(date) + " " + time;
}

std::string Render(const VelDateTime& value, const std::string& format, LCID locale = LOCALE_USER_DEFAULT)
{
    return FormatDateTime(value, format, LocaleData::For(locale));
}

}  // namespace

// Its pictures and names are checked where they are rendered below.
TEST(LocaleData, HungarianUserLocaleReadOnce)
{
    const LocaleData& hu = LocaleData::For();
    EXPECT_EQ("hu-HU", hu.name);
    EXPECT_EQ(1, hu.firstDayOfWeek);
    EXPECT_EQ(&hu, &LocaleData::For(GetUserDefaultLCID())) << "one record per locale";
}

TEST(LocaleData, UnreadableLocaleKeepsTheDefaultsOrThrows)
{
    LocaleData data;
    const LCID noSuchLocale = 0x7777;
    data.Read(noSuchLocale, false);
    EXPECT_EQ("C", data.name);
    EXPECT_EQ("HH:mm:ss", data.timePicture);
    EXPECT_EQ("December", data.monthNames[11]);
    EXPECT_THROW(data.Read(noSuchLocale, true), VelExceptSys);
}

TEST(DateTimeText, DayAndMonthNamesOnEveryWeekday)
{
    for (LCID locale : { static_cast<LCID>(LOCALE_USER_DEFAULT), kEnglish }) {
        for (int day = 1; day <= 7; ++day) {
            SYSTEMTIME t = MakeSystemTime(2024, 1 + day, day, 10, 0, 0);   // Feb 1 .. Aug 7
            VelDateTime value = VelDateTime::FromSystemTime(t);
            EXPECT_EQ(PlatformDate(locale, t, "dddd"), Render(value, "%A", locale)) << day;
            EXPECT_EQ(PlatformDate(locale, t, "ddd"), Render(value, "%a", locale)) << day;
            EXPECT_EQ(PlatformDate(locale, t, "MMMM"), Render(value, "%B", locale)) << day;
            EXPECT_EQ(PlatformDate(locale, t, "MMM"), Render(value, "%b", locale)) << day;
        }
    }
}

TEST(DateTimeText, NumbersWithAndWithoutLeadingZeros)
{
    VelDateTime value(2007, 3, 5, 8, 4, 9);
    EXPECT_EQ("05", Render(value, "%d"));
    EXPECT_EQ("5", Render(value, "%#d"));
    EXPECT_EQ("03 3 2007 07 7", Render(value, "%m %#m %Y %y %#y"));
    EXPECT_EQ("064 64", Render(value, "%j %#j"));
    EXPECT_EQ("08 8 04 4 09 9", Render(value, "%H %#H %M %#M %S %#S"));
    EXPECT_EQ("0045", Render(VelDateTime(45, 1, 1), "%Y"));
    EXPECT_EQ("%5%", Render(value, "%%%#d%%"));
    EXPECT_EQ("505", Render(value, "%#d%d")) << "the # flag holds for one specifier only";
}

TEST(DateTimeText, TwelveHourClockShowsTwelveAtNoonAndMidnight)
{
    const LocaleData& en = LocaleData::For(kEnglish);
    EXPECT_EQ("12:05 PM", FormatDateTime(VelDateTime(2024, 5, 1, 12, 5, 0), "%I:%M %p", en));
    EXPECT_EQ("12:05 AM", FormatDateTime(VelDateTime(2024, 5, 1, 0, 5, 0), "%I:%M %p", en));
    EXPECT_EQ("01:05 PM", FormatDateTime(VelDateTime(2024, 5, 1, 13, 5, 0), "%I:%M %p", en));
    EXPECT_EQ("11 A", FormatDateTime(VelDateTime(2024, 5, 1, 11, 59, 59), "%#I %#p", en));
    EXPECT_EQ("12 P", FormatDateTime(VelDateTime(2024, 5, 1, 12, 0, 0), "%#I %#p", en));
    SYSTEMTIME noon = MakeSystemTime(2024, 5, 1, 12, 5, 7);
    char platform[64] = "";
    GetTimeFormatA(kEnglish, 0, &noon, nullptr, platform, sizeof platform);
    EXPECT_EQ(platform, FormatDateTime(VelDateTime::FromSystemTime(noon), en.timeFormat, en));
}

TEST(DateTimeText, WeekdayAndWeekNumbers)
{
    // 2023-01-01 was a Sunday; 2024-01-01 a Monday.
    EXPECT_EQ("00 01 00", Render(VelDateTime(2023, 1, 1), "%w %U %W"));
    EXPECT_EQ("01 01 01", Render(VelDateTime(2023, 1, 2), "%w %U %W"));
    EXPECT_EQ("01 00 01", Render(VelDateTime(2024, 1, 1), "%w %U %W"));
    EXPECT_EQ("06 00 00", Render(VelDateTime(2022, 1, 1), "%w %U %W"));
    EXPECT_EQ("2 52 53", Render(VelDateTime(2024, 12, 31), "%#w %U %W"));
}

TEST(DateTimeText, LocaleFormatsAsSpecifiers)
{
    VelDateTime value(2024, 2, 29, 7, 3, 1);
    EXPECT_EQ("2024. 02. 29.", Render(value, "%x"));
    EXPECT_EQ("7:03:01", Render(value, "%X"));
    EXPECT_EQ("7:03", Render(value, "%#X"));
    EXPECT_EQ("2024. 02. 29. 7:03:01", Render(value, "%c"));
    EXPECT_EQ("2024. 02. 29. 7:03", Render(value, "%C"));
    SYSTEMTIME t = MakeSystemTime(2024, 2, 29, 7, 3, 1);
    char longDate[128] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, longDate, sizeof longDate);
    EXPECT_EQ(longDate, Render(value, "%#x"));
    EXPECT_EQ(std::string(longDate) + " 7:03:01", Render(value, "%#c"));
    EXPECT_EQ("2/29/2024 7:03:01 AM", Render(value, "%c", kEnglish));
}

TEST(DateTimeText, UnknownSpecifiersEmptyFormatsAndMissingParts)
{
    VelDateTime value(2024, 6, 15, 14, 30, 0);
    EXPECT_EQ("<>", Render(value, "<%Q>"));
    EXPECT_EQ("<>", Render(value, "<%#Q>"));
    EXPECT_EQ("", Render(value, ""));
    EXPECT_EQ("ab", Render(value, "ab%"));
    EXPECT_EQ("ab", Render(value, "ab%#"));

    VelDateTime dateOnly(2024, 6, 15);
    EXPECT_FALSE(dateOnly.HasTime());
    EXPECT_EQ("15 [::] []", Render(dateOnly, "%d [%H:%I:%M%S] [%p%#p]"));
    EXPECT_EQ("", Render(VelDateTime(), "%Y"));
}

TEST(VelDateTime, ValuesOutsideTheCalendarAreNotValid)
{
    EXPECT_FALSE(VelDateTime().IsValid());
    EXPECT_FALSE(VelDateTime(2023, 2, 29).IsValid());
    EXPECT_TRUE(VelDateTime(2024, 2, 29).IsValid());
    EXPECT_FALSE(VelDateTime(2024, 13, 1).IsValid());
    EXPECT_FALSE(VelDateTime(2024, 1, 1, 24, 0, 0).IsValid());
    EXPECT_EQ("", VelDateTime(2024, 4, 31, 1, 0, 0).Text(false, true));
}

TEST(VelDateTime, TextIsTheShortOrLongDateAndTheTime)
{
    SYSTEMTIME t = MakeSystemTime(2021, 11, 8, 9, 7, 5);
    VelDateTime value = VelDateTime::FromSystemTime(t);
    EXPECT_EQ(PlatformDateTime(LOCALE_USER_DEFAULT, t), value.Text(false, true));
    EXPECT_EQ("2021. 11. 08. 9:07", value.Text(false, false));
    EXPECT_EQ(PlatformDateTime(kEnglish, t), value.Text(false, true, kEnglish));
    EXPECT_EQ(PlatformDate(LOCALE_USER_DEFAULT, t, LocaleData::For().longDatePicture.c_str()) + " 9:07:05",
              value.Text(true, true));
}

TEST(VelDateTime, StartTimeIsTheLocalTimeInTheUsersForms)
{
    for (long long seconds : { 0LL, 86399LL, 951782400LL, 1700000000LL, 4102444800LL }) {
        // The platform's own way to local time and text, to compare with.
        ULARGE_INTEGER ticks;
        ticks.QuadPart = (static_cast<ULONGLONG>(seconds) + 11644473600ULL) * 10000000ULL;
        FILETIME utc = { ticks.LowPart, ticks.HighPart };
        SYSTEMTIME utcTime, localTime;
        ASSERT_TRUE(FileTimeToSystemTime(&utc, &utcTime));
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &localTime));
        EXPECT_EQ(PlatformDateTime(LOCALE_USER_DEFAULT, localTime), StartTimeText(seconds)) << seconds;
    }
}

TEST(VelDateTime, StartTimeWithoutLocalTimeIsEmpty)
{
    EXPECT_EQ("", StartTimeText(-1));
    EXPECT_EQ("", StartTimeText(-86400LL * 365));
    EXPECT_EQ("", StartTimeText(LLONG_MIN));
    EXPECT_EQ("", StartTimeText(LLONG_MAX));
    EXPECT_EQ("", StartTimeText(32535215999LL + 2 * 86400));   // past the year 3000
    EXPECT_FALSE(VelDateTime::FromUnixTime(-1).IsValid());
}
