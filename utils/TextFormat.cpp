#include "utils/TextFormat.h"

#include <cstdio>
#include <vector>

namespace velutils {

std::string FormatBoundedV(size_t bufferSize, const char* format, va_list args)
{
    if (bufferSize == 0 || !format)
        return std::string();
    std::vector<char> buffer(bufferSize);
    int n = vsnprintf(buffer.data(), bufferSize, format, args);
    if (n < 0)
        return std::string();
    return std::string(buffer.data());
}

std::string FormatBounded(size_t bufferSize, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatBoundedV(bufferSize, format, args);
    va_end(args);
    return text;
}

}  // namespace velutils
