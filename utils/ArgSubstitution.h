// The %N placeholders of error texts. No Windows headers: it is fuzzed natively.
#pragma once
#include <string>

#include "utils/StrVector.h"

namespace velutils {

// Replaces %1..%9 by args, "%%" by "%"; `leftover` gets the arguments no %N named.
std::string SubstituteArgs(const std::string& text, const StrVector& args, StrVector& leftover);

}  // namespace velutils
