// TinyXML parses nested elements recursively: a file nested a few thousand levels deep
// runs the stack out. This refuses, before TinyXML sees them, files nested deeper than
// any real configuration and files absurdly large. No Windows headers: it is fuzzed natively.
#pragma once
#include <string>

class XmlDepthGuard {
public:
    static const size_t kMaxBytes = 16 * 1024 * 1024;
    static const int kMaxDepth = 64;

    // Whether TinyXML may parse `bytes` (legacy encoding): no larger than kMaxBytes, and
    // no element reached deeper than kMaxDepth elements as TinyXML reads it.
    static bool Accepts(const std::string& bytes);
};
