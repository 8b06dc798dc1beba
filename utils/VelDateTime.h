// A calendar date, with or without a time of day, and its text in a locale's forms.
#pragma once
#include <windows.h>

#include <string>

namespace velDate {

class VelDateTime {
public:
    // Not valid: its text is empty.
    VelDateTime() = default;
    // A date without a time part.
    VelDateTime(int year, int month, int day);
    VelDateTime(int year, int month, int day, int hour, int minute, int second);
    virtual ~VelDateTime() = default;

    static VelDateTime FromSystemTime(const SYSTEMTIME& time);
    // Local time of `seconds` since 1970-01-01 00:00 UTC, by the system's zone rules;
    // not valid before 1970 or past the year 3000.
    static VelDateTime FromUnixTime(long long seconds);

    bool IsValid() const { return m_valid; }
    bool HasTime() const { return m_hasTime; }
    int Year() const { return m_year; }
    int Month() const { return m_month; }        // 1..12
    int Day() const { return m_day; }            // 1..31
    int Hour() const { return m_hour; }
    int Minute() const { return m_minute; }
    int Second() const { return m_second; }
    int DayOfWeek() const;                       // 0 = Sunday
    int DayOfYear() const;                       // 1..366
    // 1 daylight saving time, 0 standard time, -1 not known.
    int Daylight() const { return m_daylight; }

    // The locale's long or short date, one blank, and its time with or without
    // seconds; empty when the value is not valid.
    std::string Text(bool longDate, bool withSeconds, LCID locale = LOCALE_USER_DEFAULT) const;

private:
    bool m_valid = false;
    bool m_hasTime = false;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_hour = 0;
    int m_minute = 0;
    int m_second = 0;
    int m_daylight = -1;
};

// The start time of a database ("dbstart": seconds since 1970-01-01 00:00 UTC) as the
// user's short date and time with seconds; empty when no local time can be computed.
std::string StartTimeText(long long secondsSince1970);

}  // namespace velDate
