// Renders our "%" date and time formats ("%Y. %m. %d.", "%#H:%M:%S") with a locale's
// names, without the platform's own date formatting.
#pragma once
#include <string>

#include "utils/LocaleData.h"
#include "utils/VelDateTime.h"

namespace velDate {

// Empty for an empty format or a value that is not valid. Unknown specifiers render
// as nothing; the hour, minute, second and AM/PM specifiers render as nothing for a
// value without a time part.
std::string FormatDateTime(const VelDateTime& value, const std::string& format,
                           const LocaleData& locale = LocaleData::For());

}  // namespace velDate
