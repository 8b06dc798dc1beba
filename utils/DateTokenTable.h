// The tokens of the locale's date and time pictures ("yyyy", "MM", "H" ...) and the
// specifiers of our "%" format notation they stand for, in the order they are tried.
#pragma once
#include <string>
#include <vector>

namespace velDate {

// What a token stands for; FilterByKind keeps tokens by these bits.
enum DateKind : unsigned {
    KindYear = 1,
    KindMonth = 2,
    KindDay = 4,
    KindHour = 8,
    KindMinute = 16,
    KindSecond = 32,
    KindAmPm = 64,
};

// Which column of the table a text is written in.
enum class DateSide { Picture, Format };

class DateTokenTable {
public:
    struct Entry {
        const char* picture;
        const char* format;
        unsigned kind;
    };

    // Built on first use, kept until the process ends.
    static const DateTokenTable& Instance();

    // The first entry whose `side` text stands at `pos` of `text`, or null.
    const Entry* Match(const std::string& text, size_t pos, DateSide side) const;

    const std::vector<Entry>& Entries() const { return m_entries; }

    static const char* TextOf(const Entry& entry, DateSide side)
    {
        return side == DateSide::Picture ? entry.picture : entry.format;
    }

private:
    DateTokenTable();
    std::vector<Entry> m_entries;
};

}  // namespace velDate
