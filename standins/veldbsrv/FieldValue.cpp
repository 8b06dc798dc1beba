#include "standins/veldbsrv/FieldValue.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "standins/wire/NameKey.h"

namespace {

const uint16_t kUnsigned = 4;

template <class T>
void Put(std::string& image, size_t offset, T value)
{
    memcpy(&image[offset], &value, sizeof value);
}

template <class T>
T Get(const char* at)
{
    T value;
    memcpy(&value, at, sizeof value);
    return value;
}

template <class T>
int Order(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

size_t BoundedLength(const char* text, size_t max)
{
    const void* zero = memchr(text, 0, max);
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : max;
}

}  // namespace

void WriteFieldText(const StandinField& field, const char* text, std::string& image)
{
    bool isUnsigned = field.flags & kUnsigned;
    switch (field.type) {
    case 'c':
        if (field.length == 1) {
            image[field.offset] = static_cast<char>(atoi(text));
        } else {
            std::string value(text, BoundedLength(text, field.length - 1u));
            if (field.scrambled)
                value = standin::Scramble(value);
            memcpy(&image[field.offset], value.data(), value.size());
        }
        break;
    case 's':
        Put(image, field.offset, static_cast<int16_t>(strtol(text, nullptr, 10)));
        break;
    case 'i': case 'l': case 'd':
        Put(image, field.offset, static_cast<uint32_t>(isUnsigned || field.type == 'd'
                                                           ? strtoul(text, nullptr, 10) : strtol(text, nullptr, 10)));
        break;
    case 'f':
        Put(image, field.offset, static_cast<float>(strtod(text, nullptr)));
        break;
    case 'F':
        Put(image, field.offset, strtod(text, nullptr));
        break;
    default:
        break;
    }
}

int CompareFieldValue(const StandinField& field, const char* a, const char* b)
{
    bool isUnsigned = field.flags & kUnsigned;
    switch (field.type) {
    case 'c':
        if (field.length == 1)
            return Order(static_cast<unsigned char>(*a), static_cast<unsigned char>(*b));
        return strncmp(a, b, field.length);
    case 's':
        return isUnsigned ? Order(Get<uint16_t>(a), Get<uint16_t>(b)) : Order(Get<int16_t>(a), Get<int16_t>(b));
    case 'i': case 'l':
        return isUnsigned ? Order(Get<uint32_t>(a), Get<uint32_t>(b)) : Order(Get<int32_t>(a), Get<int32_t>(b));
    case 'd':
        return Order(Get<uint32_t>(a), Get<uint32_t>(b));
    case 'f':
        return Order(Get<float>(a), Get<float>(b));
    case 'F':
        return Order(Get<double>(a), Get<double>(b));
    default:
        return memcmp(a, b, field.length);
    }
}

long long FieldNumber(const StandinField& field, const std::string& image)
{
    const char* at = image.data() + field.offset;
    bool isUnsigned = field.flags & kUnsigned;
    switch (field.type) {
    case 'c':
        return field.length == 1 ? static_cast<signed char>(*at) : atoll(FieldText(field, image).c_str());
    case 's':
        return isUnsigned ? Get<uint16_t>(at) : Get<int16_t>(at);
    case 'i': case 'l':
        return isUnsigned ? static_cast<long long>(Get<uint32_t>(at)) : Get<int32_t>(at);
    case 'd':
        return Get<uint32_t>(at);
    default:
        return 0;
    }
}

std::string FieldText(const StandinField& field, const std::string& image)
{
    const char* at = image.data() + field.offset;
    return std::string(at, BoundedLength(at, field.length));
}
