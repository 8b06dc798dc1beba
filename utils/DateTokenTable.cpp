#include "utils/DateTokenTable.h"

#include <cstring>

namespace velDate {

DateTokenTable::DateTokenTable()
    // Longer tokens first: "MMMM" must win over "MM" and "M".
    : m_entries{
          { "yyyy", "%Y", KindYear },   { "MMMM", "%B", KindMonth },  { "MMM", "%b", KindMonth },
          { "dddd", "%A", KindDay },    { "ddd", "%a", KindDay },     { "yy", "%y", KindYear },
          { "MM", "%m", KindMonth },    { "dd", "%d", KindDay },      { "HH", "%H", KindHour },
          { "hh", "%I", KindHour },     { "mm", "%M", KindMinute },   { "ss", "%S", KindSecond },
          { "tt", "%p", KindAmPm },     { "M", "%#m", KindMonth },    { "d", "%#d", KindDay },
          { "H", "%#H", KindHour },     { "h", "%#I", KindHour },     { "m", "%#M", KindMinute },
          { "s", "%#S", KindSecond },   { "t", "%#p", KindAmPm },
      }
{
}

const DateTokenTable& DateTokenTable::Instance()
{
    static const DateTokenTable table;
    return table;
}

const DateTokenTable::Entry* DateTokenTable::Match(const std::string& text, size_t pos, DateSide side) const
{
    for (const Entry& entry : m_entries) {
        const char* token = TextOf(entry, side);
        if (text.compare(pos, std::strlen(token), token) == 0)
            return &entry;
    }
    return nullptr;
}

}  // namespace velDate
