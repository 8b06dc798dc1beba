// Conversions between the locale's date and time pictures ("dddd, MMMM dd, yyyy") and
// our "%" formats ("%A, %B %d, %Y"). Quotes in a picture have no special meaning.
#pragma once
#include <string>

#include "utils/DateTokenTable.h"

namespace velDate {

std::string PictureToFormat(const std::string& picture);
std::string FormatToPicture(const std::string& format);

// Keeps the tokens whose kind is in `kindMask` ("dd. MM. yyyy" with the year and the
// month gives "MM. yyyy"): literal text goes with the token before it and is dropped
// with it. The literal text after the last kept token is appended when `keepTrailing`
// is set.
std::string FilterByKind(const std::string& text, unsigned kindMask, DateSide side, bool keepTrailing = false);

// The time picture without its seconds: the separator and the "ss" (or "s") behind it
// are taken out. A picture without seconds comes back unchanged.
std::string ShortTimePicture(const std::string& timePicture, const std::string& timeSeparator);

}  // namespace velDate
