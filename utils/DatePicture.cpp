#include "utils/DatePicture.h"

#include <cstring>

namespace velDate {

namespace {

std::string Convert(const std::string& text, DateSide from)
{
    const DateTokenTable& table = DateTokenTable::Instance();
    const DateSide to = from == DateSide::Picture ? DateSide::Format : DateSide::Picture;
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        const DateTokenTable::Entry* entry = table.Match(text, pos, from);
        if (entry) {
            out += DateTokenTable::TextOf(*entry, to);
            pos += std::strlen(DateTokenTable::TextOf(*entry, from));
        } else {
            out += text[pos++];
        }
    }
    return out;
}

}  // namespace

std::string PictureToFormat(const std::string& picture)
{
    return Convert(picture, DateSide::Picture);
}

std::string FormatToPicture(const std::string& format)
{
    return Convert(format, DateSide::Format);
}

// Literal text belongs to the token before it: it goes out with the next kept token
// only when no dropped token came between.
std::string FilterByKind(const std::string& text, unsigned kindMask, DateSide side, bool keepTrailing)
{
    const DateTokenTable& table = DateTokenTable::Instance();
    std::string out;
    std::string literal;
    bool collecting = true;       // no dropped token since the last kept one
    bool keptAny = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const DateTokenTable::Entry* entry = table.Match(text, pos, side);
        if (!entry) {
            if (collecting)
                literal += text[pos];
            ++pos;
            continue;
        }
        const char* token = DateTokenTable::TextOf(*entry, side);
        if (entry->kind & kindMask) {
            out += literal + token;
            literal.clear();
            collecting = true;
            keptAny = true;
        } else {
            collecting = false;
        }
        pos += std::strlen(token);
    }
    if (keepTrailing && keptAny)
        out += literal;
    return out;
}

std::string ShortTimePicture(const std::string& timePicture, const std::string& timeSeparator)
{
    const char* seconds = timePicture.find("ss") != std::string::npos ? "ss" : "s";
    if (timePicture.find(seconds) == std::string::npos)
        return timePicture;
    std::string withSeparator = timeSeparator + seconds;
    size_t at = timePicture.find(withSeparator);
    if (at == std::string::npos)
        return timePicture;
    std::string shortPicture = timePicture;
    shortPicture.erase(at, withSeparator.size());
    return shortPicture;
}

}  // namespace velDate
