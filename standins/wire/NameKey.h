// The user-name key: the server keeps user names and passwords in "dbuser" with each
// byte rotated right by the key digit of its position.
#pragma once
#include <string>

namespace standin {

std::string Scramble(const std::string& text);
std::string Unscramble(const std::string& text);

}  // namespace standin
