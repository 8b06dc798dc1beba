#include "utils/LocaleData.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "utils/DatePicture.h"
#include "utils/VelExceptSys.h"

namespace velDate {

namespace {

const char* const kDays[7] = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
const char* const kMonths[12] = { "January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December" };

std::string FirstCharacter(const std::string& text)
{
    return text.empty() ? std::string() : text.substr(0, 1);
}

std::mutex g_recordsLock;
std::map<LCID, std::unique_ptr<LocaleData>> g_records;

}  // namespace

LocaleData::LocaleData()
    : name("C"),
      am("AM"),
      pm("PM"),
      dateSeparator("/"),
      timeSeparator(":"),
      shortDatePicture("MM/dd/yy"),
      longDatePicture("dddd, MMMM dd, yyyy"),
      yearMonthPicture("MMMM, yyyy"),
      shortTimePicture("HH:mm"),
      timePicture("HH:mm:ss")
{
    for (int i = 0; i < 7; ++i) {
        dayNames[i] = kDays[i];
        abbrDayNames[i] = std::string(kDays[i], 3);
    }
    for (int i = 0; i < 12; ++i) {
        monthNames[i] = kMonths[i];
        abbrMonthNames[i] = std::string(kMonths[i], 3);
    }
    shortAm = FirstCharacter(am);
    shortPm = FirstCharacter(pm);
    DeriveFormats();
}

const LocaleData& LocaleData::For(LCID locale)
{
    LCID key = ConvertDefaultLocale(locale);
    std::lock_guard<std::mutex> lock(g_recordsLock);
    std::unique_ptr<LocaleData>& record = g_records[key];
    if (!record) {
        auto fresh = std::make_unique<LocaleData>();
        fresh->Read(key, false);
        record = std::move(fresh);
    }
    return *record;
}

void LocaleData::Read(LCID locale, bool throwOnFailure)
{
    ReadField(locale, LOCALE_SNAME, name, throwOnFailure);
    ReadNames(locale, throwOnFailure);
    ReadPictures(locale, throwOnFailure);
    DeriveFormats();
}

bool LocaleData::ReadField(LCID locale, LCTYPE type, std::string& field, bool throwOnFailure)
{
    int size = GetLocaleInfoA(locale, type, nullptr, 0);
    if (size > 0) {
        std::vector<char> buffer(size);
        if (GetLocaleInfoA(locale, type, buffer.data(), size) > 0) {
            field = buffer.data();
            return true;
        }
    }
    if (throwOnFailure)
        throw VelExceptSys(static_cast<int>(GetLastError()), VEL_ERRPOS("LocaleData::Read"), StrVector());
    return false;
}

void LocaleData::ReadNames(LCID locale, bool throwOnFailure)
{
    // The locale's day constants begin on Monday; our arrays on Sunday.
    for (int i = 0; i < 7; ++i) {
        ReadField(locale, LOCALE_SDAYNAME1 + i, dayNames[(i + 1) % 7], throwOnFailure);
        ReadField(locale, LOCALE_SABBREVDAYNAME1 + i, abbrDayNames[(i + 1) % 7], throwOnFailure);
    }
    for (int i = 0; i < 12; ++i) {
        ReadField(locale, LOCALE_SMONTHNAME1 + i, monthNames[i], throwOnFailure);
        ReadField(locale, LOCALE_SABBREVMONTHNAME1 + i, abbrMonthNames[i], throwOnFailure);
    }
    ReadField(locale, LOCALE_S1159, am, throwOnFailure);
    ReadField(locale, LOCALE_S2359, pm, throwOnFailure);
    shortAm = FirstCharacter(am);
    shortPm = FirstCharacter(pm);
    std::string position;
    if (ReadField(locale, LOCALE_ITIMEMARKPOSN, position, throwOnFailure))
        amPmPrecedes = position == "1";
}

void LocaleData::ReadPictures(LCID locale, bool throwOnFailure)
{
    ReadField(locale, LOCALE_SDATE, dateSeparator, throwOnFailure);
    ReadField(locale, LOCALE_STIME, timeSeparator, throwOnFailure);
    ReadField(locale, LOCALE_SSHORTDATE, shortDatePicture, throwOnFailure);
    ReadField(locale, LOCALE_SLONGDATE, longDatePicture, throwOnFailure);
    ReadField(locale, LOCALE_SYEARMONTH, yearMonthPicture, throwOnFailure);
    if (ReadField(locale, LOCALE_STIMEFORMAT, timePicture, throwOnFailure))
        shortTimePicture = ShortTimePicture(timePicture, timeSeparator);
    std::string firstDay;
    if (ReadField(locale, LOCALE_IFIRSTDAYOFWEEK, firstDay, throwOnFailure))
        firstDayOfWeek = static_cast<unsigned short>(std::atoi(firstDay.c_str()) + 1);
}

void LocaleData::DeriveFormats()
{
    shortDateFormat = PictureToFormat(shortDatePicture);
    longDateFormat = PictureToFormat(longDatePicture);
    yearMonthFormat = PictureToFormat(yearMonthPicture);
    shortTimeFormat = PictureToFormat(shortTimePicture);
    timeFormat = PictureToFormat(timePicture);
}

}  // namespace velDate
