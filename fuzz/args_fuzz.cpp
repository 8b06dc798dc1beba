// Error-text templates and their arguments: the template, then the arguments, each
// ended by a zero byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "utils/ArgSubstitution.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    size_t end = bytes.find('\0');
    std::string text = bytes.substr(0, end);
    StrVector args;
    while (end != std::string::npos && args.size() < 12) {
        size_t next = bytes.find('\0', end + 1);
        args.push_back(bytes.substr(end + 1, next == std::string::npos ? std::string::npos : next - end - 1));
        end = next;
    }
    StrVector leftover;
    std::string out = velutils::SubstituteArgs(text, args, leftover);
    if (leftover.size() > args.size())
        std::abort();
    if (text.find('%') == std::string::npos && (out != text || leftover.size() != args.size()))
        std::abort();
    return 0;
}
