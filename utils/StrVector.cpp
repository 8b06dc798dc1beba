#include "utils/StrVector.h"

StrVector& StrVector::Append(const std::string& text)
{
    push_back(text);
    return *this;
}

StrVector& StrVector::Append(const char* text)
{
    push_back(text ? text : "");
    return *this;
}

StrVector& StrVector::Append(long long value)
{
    push_back(std::to_string(value));
    return *this;
}
