#include "standins/wire/NameKey.h"

namespace standin {

namespace {

const char kNameKey[] = "18273645";

unsigned char RotateRight(unsigned char b, int n)
{
    n %= 8;
    return n ? static_cast<unsigned char>((b >> n) | (b << (8 - n))) : b;
}

std::string Rotate(const std::string& text, bool right)
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        int n = kNameKey[i % 8] - '0';
        out[i] = static_cast<char>(RotateRight(static_cast<unsigned char>(out[i]), right ? n : 8 - n % 8));
    }
    return out;
}

}  // namespace

std::string Scramble(const std::string& text)
{
    return Rotate(text, true);
}

std::string Unscramble(const std::string& text)
{
    return Rotate(text, false);
}

}  // namespace standin
