#include "utils/ArgSubstitution.h"

#include <vector>

namespace velutils {

std::string SubstituteArgs(const std::string& text, const StrVector& args, StrVector& leftover)
{
    std::vector<bool> used(args.size(), false);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 == text.size())
            break;                                  // a trailing % ends the text
        char next = text[++i];
        if (next == '%') {
            out += '%';
        } else if (next >= '1' && next <= '9') {
            size_t index = next - '1';
            if (index < args.size()) {              // a %N without an argument is dropped
                out += args[index];
                used[index] = true;
            }
        } else {
            out += c;
            out += next;
        }
    }
    for (size_t a = 0; a < args.size(); ++a)
        if (!used[a])
            leftover.push_back(args[a]);
    return out;
}

}  // namespace velutils
