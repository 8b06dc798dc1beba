// The names and pictures of one locale that date and time texts are made of, read once
// with GetLocaleInfoA and kept for the rest of the run.
#pragma once
#include <windows.h>

#include <string>

namespace velDate {

class LocaleData {
public:
    // The "C" record: English names and US pictures.
    LocaleData();
    virtual ~LocaleData() = default;

    // The record of a locale, read on first use (LOCALE_USER_DEFAULT: the user's).
    // Fields the locale does not give keep their defaults.
    static const LocaleData& For(LCID locale = LOCALE_USER_DEFAULT);

    // Reads every field of `locale`. A field that cannot be read keeps its value, or,
    // with `throwOnFailure`, a VelExceptSys with the system's code is thrown.
    void Read(LCID locale, bool throwOnFailure);

    std::string name;
    std::string abbrDayNames[7];      // from Sunday, as tm_wday counts
    std::string dayNames[7];
    std::string abbrMonthNames[12];
    std::string monthNames[12];
    std::string shortAm;              // first character of each designator
    std::string shortPm;
    std::string am;
    std::string pm;
    bool amPmPrecedes = false;        // the designator stands before the time
    std::string dateSeparator;
    std::string timeSeparator;
    std::string shortDatePicture;
    std::string shortDateFormat;
    std::string longDatePicture;
    std::string longDateFormat;
    std::string yearMonthPicture;
    std::string yearMonthFormat;
    std::string shortTimePicture;     // the time picture without seconds
    std::string shortTimeFormat;
    std::string timePicture;          // with seconds
    std::string timeFormat;
    unsigned short firstDayOfWeek = 7;   // 1 = Monday ... 7 = Sunday

private:
    bool ReadField(LCID locale, LCTYPE type, std::string& field, bool throwOnFailure);
    void ReadNames(LCID locale, bool throwOnFailure);
    void ReadPictures(LCID locale, bool throwOnFailure);
    void DeriveFormats();
};

}  // namespace velDate
