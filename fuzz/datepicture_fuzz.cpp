// Locale date and time pictures (and our formats) of any content: the first byte picks
// the kinds to keep, the rest is the picture; a zero byte starts the time separator.
#include <cstddef>
#include <cstdint>
#include <string>

#include "utils/DatePicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const unsigned kinds = data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string separator;
    size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        separator = text.substr(zero + 1);
        text.resize(zero);
    }
    velDate::PictureToFormat(text);
    velDate::FormatToPicture(text);
    velDate::FilterByKind(text, kinds, velDate::DateSide::Picture, kinds & 0x80);
    velDate::FilterByKind(text, kinds, velDate::DateSide::Format, kinds & 0x80);
    velDate::ShortTimePicture(text, separator);
    return 0;
}
