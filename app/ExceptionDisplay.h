// How a caught failure is shown to the operator.
#pragma once
#include <string>

#include "utils/VelExceptBase.h"

// The exception's text, its error code and throw position, in the program's message box.
void ShowCaughtException(const VelExceptBase& e);

// A failure that is not of the family: code 1 at the handler's position, in a plain box.
void ShowOtherException(const ErrPos& handler);

// Tests see what would be shown instead of a modal box; the program never sets it.
using ExceptionDisplayHook = void (*)(const std::string& caption, const std::string& mainText,
                                      const std::string& detail);
void SetExceptionDisplayHook(ExceptionDisplayHook hook);

// The detail text: "Additional datas:", "ErrCode:" with the code, the position lines.
std::string ExceptionDetailText(const VelExceptBase& e);
