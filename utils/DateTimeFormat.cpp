#include "utils/DateTimeFormat.h"

#include "utils/TextFormat.h"

namespace velDate {

namespace {

class Renderer {
public:
    Renderer(const VelDateTime& value, const LocaleData& locale, bool nested)
        : m_value(value), m_locale(locale), m_nested(nested) {}

    std::string Render(const std::string& format) const;

private:
    std::string Specifier(char c, bool noZeros) const;
    std::string Number(int value, int width, bool noZeros) const;
    std::string TimeNumber(int value, bool noZeros) const;
    std::string AmPm(bool shortForm) const;
    std::string Nested(const std::string& format) const;
    std::string DateAndTime(bool longDate, const std::string& time) const;
    std::string TimeZoneName() const;
    int Hour12() const;
    int WeekFromSunday() const;
    int WeekFromMonday() const;

    const VelDateTime& m_value;
    const LocaleData& m_locale;
    bool m_nested;                 // inside %x, %X, %c or %C: those are not expanded again
};

std::string Renderer::Render(const std::string& format) const
{
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        bool noZeros = false;
        if (i + 1 < format.size() && format[i + 1] == '#') {
            noZeros = true;
            ++i;
        }
        if (++i >= format.size())
            break;
        out += Specifier(format[i], noZeros);
    }
    return out;
}

std::string Renderer::Specifier(char c, bool noZeros) const
{
    switch (c) {
    case '%': return "%";
    case 'A': return m_locale.dayNames[m_value.DayOfWeek()];
    case 'a': return m_locale.abbrDayNames[m_value.DayOfWeek()];
    case 'B': return m_locale.monthNames[m_value.Month() - 1];
    case 'b': return m_locale.abbrMonthNames[m_value.Month() - 1];
    case 'd': return Number(m_value.Day(), 2, noZeros);
    case 'm': return Number(m_value.Month(), 2, noZeros);
    case 'Y': return Number(m_value.Year(), 4, noZeros);
    case 'y': return Number(m_value.Year() % 100, 2, noZeros);
    case 'j': return Number(m_value.DayOfYear(), 3, noZeros);
    case 'H': return TimeNumber(m_value.Hour(), noZeros);
    case 'I': return TimeNumber(Hour12(), noZeros);
    case 'M': return TimeNumber(m_value.Minute(), noZeros);
    case 'S': return TimeNumber(m_value.Second(), noZeros);
    case 'p': return AmPm(noZeros);
    case 'w': return Number(m_value.DayOfWeek(), 2, noZeros);
    case 'U': return Number(WeekFromSunday(), 2, noZeros);
    case 'W': return Number(WeekFromMonday(), 2, noZeros);
    case 'x': return Nested(noZeros ? m_locale.longDateFormat : m_locale.shortDateFormat);
    case 'X': return Nested(noZeros ? m_locale.shortTimeFormat : m_locale.timeFormat);
    case 'c': return DateAndTime(noZeros, m_locale.timeFormat);
    case 'C': return DateAndTime(noZeros, m_locale.shortTimeFormat);
    case 'z': return TimeZoneName();
    default: return std::string();
    }
}

std::string Renderer::Number(int value, int width, bool noZeros) const
{
    return velutils::FormatBounded(16, "%0*d", noZeros ? 1 : width, value);
}

std::string Renderer::TimeNumber(int value, bool noZeros) const
{
    return m_value.HasTime() ? Number(value, 2, noZeros) : std::string();
}

std::string Renderer::AmPm(bool shortForm) const
{
    if (!m_value.HasTime())
        return std::string();
    bool morning = m_value.Hour() < 12;
    if (shortForm)
        return morning ? m_locale.shortAm : m_locale.shortPm;
    return morning ? m_locale.am : m_locale.pm;
}

std::string Renderer::Nested(const std::string& format) const
{
    return m_nested ? std::string() : Renderer(m_value, m_locale, true).Render(format);
}

std::string Renderer::DateAndTime(bool longDate, const std::string& time) const
{
    if (m_nested)
        return std::string();
    return Nested(longDate ? m_locale.longDateFormat : m_locale.shortDateFormat) + " " + Nested(time);
}

std::string Renderer::TimeZoneName() const
{
    TIME_ZONE_INFORMATION zone = {};
    DWORD current = GetTimeZoneInformation(&zone);
    if (current == TIME_ZONE_ID_INVALID)
        return std::string();
    bool daylight = m_value.Daylight() >= 0 ? m_value.Daylight() == 1 : current == TIME_ZONE_ID_DAYLIGHT;
    const WCHAR* name = daylight ? zone.DaylightName : zone.StandardName;
    char buffer[sizeof zone.StandardName] = "";
    if (!WideCharToMultiByte(CP_ACP, 0, name, -1, buffer, sizeof buffer, nullptr, nullptr))
        return std::string();
    return buffer;
}

// A 12-hour clock shows 12 for midnight and noon, never 0.
int Renderer::Hour12() const
{
    int hour = m_value.Hour() % 12;
    return hour == 0 ? 12 : hour;
}

// Weeks begin on Sunday; days before the year's first Sunday are in week 0.
int Renderer::WeekFromSunday() const
{
    return (m_value.DayOfYear() + 6 - m_value.DayOfWeek()) / 7;
}

// Weeks begin on Monday; days before the year's first Monday are in week 0.
int Renderer::WeekFromMonday() const
{
    return (m_value.DayOfYear() + 6 - (m_value.DayOfWeek() + 6) % 7) / 7;
}

}  // namespace

std::string FormatDateTime(const VelDateTime& value, const std::string& format, const LocaleData& locale)
{
    if (!value.IsValid())
        return std::string();
    return Renderer(value, locale, false).Render(format);
}

}  // namespace velDate
