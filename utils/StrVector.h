// A vector of strings with appenders for the kinds of text arguments exceptions carry.
#pragma once
#include <string>
#include <vector>

class StrVector : public std::vector<std::string> {
public:
    StrVector() = default;
    StrVector(std::initializer_list<std::string> items) : std::vector<std::string>(items) {}
    virtual ~StrVector() = default;

    StrVector& Append(const std::string& text);
    StrVector& Append(const char* text);   // null appends an empty string
    StrVector& Append(long long value);    // appended as its decimal text
    StrVector& Append(int value) { return Append(static_cast<long long>(value)); }
    StrVector& Append(unsigned value) { return Append(static_cast<long long>(value)); }
};
