// printf-style formatting into a buffer of a fixed size: a longer result is cut there.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <string>

namespace velutils {

std::string FormatBounded(size_t bufferSize, const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));

std::string FormatBoundedV(size_t bufferSize, const char* format, va_list args);

}  // namespace velutils
