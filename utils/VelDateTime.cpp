#include "utils/VelDateTime.h"

#include "utils/DateTimeFormat.h"
#include "utils/LocaleData.h"

namespace velDate {

namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return (month == 2 && IsLeapYear(year)) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1
        && day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second)
{
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

// Whether `local` is `universal` moved by the zone's daylight-saving offset.
bool IsDaylightOffset(const SYSTEMTIME& universal, const SYSTEMTIME& local)
{
    TIME_ZONE_INFORMATION zone = {};
    FILETIME u, l;
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID || zone.DaylightDate.wMonth == 0
        || zone.DaylightBias == 0 || !SystemTimeToFileTime(&universal, &u) || !SystemTimeToFileTime(&local, &l))
        return false;
    ULARGE_INTEGER a = { { u.dwLowDateTime, u.dwHighDateTime } }, b = { { l.dwLowDateTime, l.dwHighDateTime } };
    long long minutes = (static_cast<long long>(b.QuadPart) - static_cast<long long>(a.QuadPart)) / 600000000LL;
    return minutes == -(zone.Bias + zone.DaylightBias);
}

}  // namespace

VelDateTime::VelDateTime(int year, int month, int day)
{
    if (!IsValidDate(year, month, day))
        return;
    m_valid = true;
    m_year = year;
    m_month = month;
    m_day = day;
}

VelDateTime::VelDateTime(int year, int month, int day, int hour, int minute, int second)
    : VelDateTime(year, month, day)
{
    if (!m_valid || !IsValidTime(hour, minute, second)) {
        m_valid = false;
        return;
    }
    m_hasTime = true;
    m_hour = hour;
    m_minute = minute;
    m_second = second;
}

VelDateTime VelDateTime::FromSystemTime(const SYSTEMTIME& time)
{
    return VelDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

VelDateTime VelDateTime::FromUnixTime(long long seconds)
{
    // The system's own zone rules. The C run time's localtime would follow a TZ variable
    // in the environment, and read one in any other syntax than its own as UTC.
    const long long kLastSecond = 32535215999LL;   // 3000-12-31 23:59:59 UTC
    const ULONGLONG kEpochSeconds = 11644473600ULL;  // 1601-01-01 to 1970-01-01
    if (seconds < 0 || seconds > kLastSecond)
        return VelDateTime();
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (static_cast<ULONGLONG>(seconds) + kEpochSeconds) * 10000000ULL;
    FILETIME utc = { ticks.LowPart, ticks.HighPart };
    SYSTEMTIME universal = {}, local = {};
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return VelDateTime();
    VelDateTime result = FromSystemTime(local);
    result.m_daylight = IsDaylightOffset(universal, local) ? 1 : 0;
    return result;
}

int VelDateTime::DayOfWeek() const
{
    // Sakamoto's rule for the Gregorian calendar.
    static const int offsets[12] = { 0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4 };
    if (!m_valid)
        return 0;
    int y = m_month < 3 ? m_year - 1 : m_year;
    return (y + y / 4 - y / 100 + y / 400 + offsets[m_month - 1] + m_day) % 7;
}

int VelDateTime::DayOfYear() const
{
    if (!m_valid)
        return 0;
    int days = m_day;
    for (int month = 1; month < m_month; ++month)
        days += DaysInMonth(m_year, month);
    return days;
}

std::string VelDateTime::Text(bool longDate, bool withSeconds, LCID locale) const
{
    if (!m_valid)
        return std::string();
    const LocaleData& data = LocaleData::For(locale);
    const std::string& date = longDate ? data.longDateFormat : data.shortDateFormat;
    const std::string& time = withSeconds ? data.timeFormat : data.shortTimeFormat;
    return FormatDateTime(*this, date, data) + " " + FormatDateTime(*this, time, data);
}

std::string StartTimeText(long long secondsSince1970)
{
    return VelDateTime::FromUnixTime(secondsSince1970).Text(false, true);
}

}  // namespace velDate
