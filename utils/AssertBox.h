// The box in which the message box reports its own failures.
#pragma once
#include <windows.h>

#include <string>

namespace velutils {

// "ASSERT ERROR": `what` (the failing box's caption or texts), the system error code
// and its text, and the source position. Never throws.
void ShowAssertError(const std::string& what, DWORD code, const char* file, int line);

}  // namespace velutils

#define VEL_ASSERT_ERROR(what, code) velutils::ShowAssertError((what), (code), __FILE__, __LINE__)
