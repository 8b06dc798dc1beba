// Dates and times in a locale's forms, checked against the platform's own where both should agree.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "utils/DateTimeFormat.h"
#include "utils/LocaleData.h"
#include "utils/VelDateTime.h"
#include "utils/VelExceptSys.h"

using namespace velDate;

namespace {

const LCID kEnglish = 0x0409, kUser = LOCALE_USER_DEFAULT;

SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return { WORD(year), WORD(month), 0, WORD(day), WORD(hour), WORD(minute), WORD(second), 0 };
}

// What the platform itself writes for a picture (DATE_LONGDATE without one).
std::string PlatformDate(LCID locale, const SYSTEMTIME& t, const char* picture)
{
    char buffer[128] = "";
    EXPECT_GT(GetDateFormatA(locale, picture ? 0 : DATE_LONGDATE, &t, picture, buffer, sizeof buffer), 0);
    return buffer;
}

// Its short date and time.
std::string PlatformDateTime(LCID locale, const SYSTEMTIME& t)
{
    char date[128] = "", time[128] = "";
    EXPECT_GT(GetDateFormatA(locale, DATE_SHORTDATE, &t, nullptr, date, sizeof date), 0);
    EXPECT_GT(GetTimeFormatA(locale, 0, &t, nullptr, time, sizeof time), 0);
    return std::string(date) + " " + time;
}

std::string Render(const VelDateTime& value, const std::string& format, LCID locale = kUser)
{
    return FormatDateTime(value, format, LocaleData::For(locale));
}

}  // namespace

TEST(LocaleData, HungarianUserLocaleReadOnceAndAnUnreadableOne)
{
    const LocaleData& hu = LocaleData::For();
    EXPECT_EQ("hu-HU", hu.name);
    EXPECT_EQ(1, hu.firstDayOfWeek);
    EXPECT_EQ(&hu, &LocaleData::For(GetUserDefaultLCID())) << "one record per locale";
    // Its pictures and names are checked where they are rendered below.
    LocaleData data;
    const LCID noSuchLocale = 0x7777;
    data.Read(noSuchLocale, false);
    EXPECT_EQ("C", data.name);
    EXPECT_EQ("HH:mm:ss", data.timePicture);
    EXPECT_EQ("December", data.monthNames[11]);
    EXPECT_THROW(data.Read(noSuchLocale, true), VelExceptSys);
}

TEST(DateTimeText, Specifiers)
{
    const VelDateTime march(2007, 3, 5, 8, 4, 9), leap(2024, 2, 29, 7, 3, 1), june(2024, 6, 15, 14, 30, 0);
    const char* const week = "%w %U %W";
    struct Case { VelDateTime value; const char* format; LCID locale; const char* text; };
    const Case cases[] = {
        // Numbers with and without leading zeros; the # flag holds for one specifier only.
        { march, "%#d%d", kUser, "505" },
        { march, "%m %#m %Y %y %#y", kUser, "03 3 2007 07 7" }, { march, "%j %#j", kUser, "064 64" },
        { march, "%H %#H %M %#M %S %#S", kUser, "08 8 04 4 09 9" }, { march, "%%%#d%%", kUser, "%5%" },
        { VelDateTime(45, 1, 1), "%Y", kUser, "0045" },
        // The twelve-hour clock shows twelve at noon and midnight.
        { VelDateTime(2024, 5, 1, 12, 5, 0), "%I:%M %p", kEnglish, "12:05 PM" },
        { VelDateTime(2024, 5, 1, 0, 5, 0), "%I:%M %p", kEnglish, "12:05 AM" },
        { VelDateTime(2024, 5, 1, 13, 5, 0), "%I:%M %p", kEnglish, "01:05 PM" },
        { VelDateTime(2024, 5, 1, 11, 59, 59), "%#I %#p", kEnglish, "11 A" },
        { VelDateTime(2024, 5, 1, 12, 0, 0), "%#I %#p", kEnglish, "12 P" },
        // Weekday and week numbers: 2023-01-01 was a Sunday, 2024-01-01 a Monday.
        { VelDateTime(2023, 1, 1), week, kUser, "00 01 00" }, { VelDateTime(2024, 1, 1), week, kUser, "01 00 01" },
        { VelDateTime(2023, 1, 2), week, kUser, "01 01 01" }, { VelDateTime(2022, 1, 1), week, kUser, "06 00 00" },
        { VelDateTime(2024, 12, 31), "%#w %U %W", kUser, "2 52 53" },
        { leap, "%x", kUser, "2024. 02. 29." }, { leap, "%X", kUser, "7:03:01" }, { leap, "%#X", kUser, "7:03" },
        { leap, "%c", kUser, "2024. 02. 29. 7:03:01" }, { leap, "%C", kUser, "2024. 02. 29. 7:03" },
        { leap, "%c", kEnglish, "2/29/2024 7:03:01 AM" },
        // Unknown specifiers, empty formats and missing parts.
        { june, "<%Q>", kUser, "<>" }, { june, "ab%", kUser, "ab" },
        { VelDateTime(2024, 6, 15), "%d [%H:%I:%M%S] [%p%#p]", kUser, "15 [::] []" },
        { VelDateTime(), "%Y", kUser, "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, Render(c.value, c.format, c.locale)) << c.format;
}

TEST(DateTimeText, NamesAndFormatsAsThePlatformWritesThem)
{
    for (LCID locale : { kUser, kEnglish }) {
        for (int day = 1; day <= 7; ++day) {
            SYSTEMTIME t = MakeSystemTime(2024, 1 + day, day, 10, 0, 0);   // Feb 1 .. Aug 7, every weekday
            VelDateTime value = VelDateTime::FromSystemTime(t);
            const std::string names = Render(value, "%A|%a|%B|%b", locale);
            EXPECT_EQ(PlatformDate(locale, t, "dddd|ddd|MMMM|MMM"), names) << day;
        }
    }
    SYSTEMTIME leap = MakeSystemTime(2024, 2, 29, 7, 3, 1);
    EXPECT_EQ(PlatformDate(kUser, leap, nullptr), Render(VelDateTime::FromSystemTime(leap), "%#x"));
    EXPECT_EQ(PlatformDate(kUser, leap, nullptr) + " 7:03:01", Render(VelDateTime::FromSystemTime(leap), "%#c"));
}

TEST(VelDateTime, TextIsTheShortOrLongDateAndTheTimeOfValidValuesOnly)
{
    SYSTEMTIME t = MakeSystemTime(2021, 11, 8, 9, 7, 5);
    VelDateTime value = VelDateTime::FromSystemTime(t);
    EXPECT_EQ(PlatformDateTime(kUser, t), value.Text(false, true));
    EXPECT_EQ("2021. 11. 08. 9:07", value.Text(false, false));
    EXPECT_EQ(PlatformDateTime(kEnglish, t), value.Text(false, true, kEnglish));
    EXPECT_EQ(PlatformDate(kUser, t, nullptr) + " 9:07:05", value.Text(true, true));

    const VelDateTime invalid[] = { VelDateTime(), VelDateTime(2023, 2, 29), VelDateTime(2024, 13, 1),
                                    VelDateTime(2024, 1, 1, 24, 0, 0) };
    for (const VelDateTime& v : invalid)
        EXPECT_FALSE(v.IsValid()) << &v - invalid;
    EXPECT_EQ("", VelDateTime(2024, 4, 31, 1, 0, 0).Text(false, true));
}

// The seconds since 1970 in UTC as the calendar has them; the local time by the
// platform's zone rules, in the user's forms. None before 1970 or past the year 3000.
TEST(VelDateTime, StartTimeIsTheLocalTimeInTheUsersForms)
{
    const std::pair<long long, SYSTEMTIME> cases[] = {
        { 0, MakeSystemTime(1970, 1, 1) }, { 86399, MakeSystemTime(1970, 1, 1, 23, 59, 59) },
        { 951782400, MakeSystemTime(2000, 2, 29) }, { 1700000000, MakeSystemTime(2023, 11, 14, 22, 13, 20) },
        { 4102444800, MakeSystemTime(2100, 1, 1) },
    };
    for (const auto& c : cases) {
        SYSTEMTIME local;
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &c.second, &local));
        EXPECT_EQ(PlatformDateTime(kUser, local), StartTimeText(c.first)) << c.first;
    }
    for (long long seconds : { -1LL, -86400LL * 365, LLONG_MIN, LLONG_MAX, 32535215999LL + 2 * 86400 })
        EXPECT_EQ("", StartTimeText(seconds)) << seconds;
    EXPECT_FALSE(VelDateTime::FromUnixTime(-1).IsValid());
}
