#include "dbclient/FieldText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fieldtext {

namespace {

template <class T>
T Load(const uint8_t* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template <class T>
void Store(uint8_t* p, T value)
{
    std::memcpy(p, &value, sizeof value);
}

// Into the text itself, digit by digit: no allocation for a number.
void AssignDecimal(long long value, std::string& text)
{
    char buffer[24];
    char* end = buffer + sizeof buffer;
    char* p = end;
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *--p = '-';
    text.assign(p, static_cast<size_t>(end - p));
}

// An integer field's value, of the width and signedness the text form shows.
bool IntegerValue(const DictField& field, const uint8_t* p, long long& value)
{
    bool isUnsigned = field.IsUnsigned();
    switch (field.type) {
    case 's': value = isUnsigned ? static_cast<long long>(Load<uint16_t>(p)) : Load<int16_t>(p); return true;
    case 'i': value = Load<int32_t>(p); return true;
    case 'l': value = isUnsigned ? static_cast<long long>(Load<uint32_t>(p)) : Load<int32_t>(p); return true;
    case 'd': value = Load<uint32_t>(p); return true;
    default: return false;
    }
}

size_t CharactersLength(const DictField& field, const uint8_t* p)
{
    const void* zero = std::memchr(p, 0, field.length);
    return zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p) : field.length;
}

// Into the text itself: no temporary holds the value.
void AssignCharacters(const DictField& field, const uint8_t* p, std::string& text)
{
    if (field.length == 1) {
        if (p[0] != 0 || field.IsUnsigned())
            text.assign(1, static_cast<char>(p[0]));
        return;
    }
    text.assign(reinterpret_cast<const char*>(p), CharactersLength(field, p));
}

// A number takes its type's width even where the field's length says less.
bool Fits(const DictField& field, size_t imageSize, size_t offset)
{
    size_t width = field.length;
    switch (field.type) {
    case 's': width = width < 2 ? 2 : width; break;
    case 'i': case 'l': case 'd': case 'f': width = width < 4 ? 4 : width; break;
    case 'F': width = width < 8 ? 8 : width; break;
    default: break;
    }
    return offset <= imageSize && width <= imageSize - offset;
}

// Integers of any width from text; what does not parse is 0.
long long ParseInteger(const std::string& text, bool isUnsigned)
{
    if (isUnsigned && !text.empty() && text[0] != '-')
        return static_cast<long long>(std::strtoull(text.c_str(), nullptr, 10));
    return std::strtoll(text.c_str(), nullptr, 10);
}

void WriteCharacter(const DictField& field, const std::string& text, uint8_t* p)
{
    if (field.length == 1) {
        p[0] = text.empty() ? 0 : static_cast<uint8_t>(text[0]);
        return;
    }
    std::memset(p, 0, field.length);
    if (field.length == 0)
        return;
    size_t n = text.size() < field.length - 1u ? text.size() : field.length - 1u;
    std::memcpy(p, text.data(), n);
}

}  // namespace

Result Read(const DictField& field, const uint8_t* image, size_t imageSize, size_t offset, std::string& text)
{
    text.clear();
    if (field.type == 'g' || field.type == 'k')
        return Result::NotConvertible;
    if (!image || !Fits(field, imageSize, offset))
        return Result::OutOfImage;
    const uint8_t* p = image + offset;
    long long integer = 0;
    if (IntegerValue(field, p, integer)) {
        AssignDecimal(integer, text);
        return Result::Ok;
    }
    switch (field.type) {
    case 'c': AssignCharacters(field, p, text); break;
    case 'f': text = NumberText(Load<float>(p), true); break;
    case 'F': text = NumberText(Load<double>(p), false); break;
    default: break;
    }
    return Result::Ok;
}

Result ReadInteger(const DictField& field, const uint8_t* image, size_t imageSize, size_t offset, long long& value)
{
    value = 0;
    if (field.type != 's' && field.type != 'i' && field.type != 'l' && field.type != 'd')
        return Result::NotConvertible;
    if (!image || !Fits(field, imageSize, offset))
        return Result::OutOfImage;
    IntegerValue(field, image + offset, value);
    return Result::Ok;
}

Result CharactersEqual(const DictField& field, const uint8_t* image, size_t imageSize, size_t offset,
                       const char* text, size_t length, bool& equal)
{
    equal = false;
    if (field.type != 'c' || field.length < 2)
        return Result::NotConvertible;
    if (!image || !Fits(field, imageSize, offset))
        return Result::OutOfImage;
    const uint8_t* p = image + offset;
    equal = CharactersLength(field, p) == length && std::memcmp(p, text, length) == 0;
    return Result::Ok;
}

Result Write(const DictField& field, const std::string& text, uint8_t* image, size_t imageSize, size_t offset)
{
    if (field.type == 'g' || field.type == 'k')
        return Result::NotConvertible;
    if (!image || !Fits(field, imageSize, offset))
        return Result::OutOfImage;
    uint8_t* p = image + offset;
    long long whole = ParseInteger(text, field.IsUnsigned() || field.type == 'd');
    switch (field.type) {
    case 'c': WriteCharacter(field, text, p); break;
    case 's': Store(p, static_cast<uint16_t>(whole)); break;
    case 'i': case 'l': case 'd': Store(p, static_cast<uint32_t>(whole)); break;
    case 'f': Store(p, static_cast<float>(std::strtod(text.c_str(), nullptr))); break;
    case 'F': Store(p, std::strtod(text.c_str(), nullptr)); break;
    default: break;
    }
    return Result::Ok;
}

std::string NumberText(double value, bool asFloat)
{
    char buffer[64];
    if (std::isnan(value) || std::isinf(value)) {
        std::snprintf(buffer, sizeof buffer, "%g", value);
        return buffer;
    }
    for (int digits = 6; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
        double back = std::strtod(buffer, nullptr);
        bool same = asFloat ? static_cast<float>(back) == static_cast<float>(value) : back == value;
        if (same)
            break;
    }
    return buffer;
}

}  // namespace fieldtext
