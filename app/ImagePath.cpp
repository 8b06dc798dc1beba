#include "app/ImagePath.h"

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ".exe" in any case at `at`, followed by the end or a blank.
bool EndsExeName(const std::string& path, size_t at)
{
    static const char kExe[] = ".exe";
    if (at + 4 > path.size())
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (LowerAscii(path[at + i]) != kExe[i])
            return false;
    return at + 4 == path.size() || path[at + 4] == ' ' || path[at + 4] == '\t';
}

}  // namespace

std::string ImagePath::ExecutablePart(const std::string& imagePath)
{
    if (!imagePath.empty() && imagePath[0] == '"') {
        size_t close = imagePath.find('"', 1);
        return imagePath.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    for (size_t at = 0; at < imagePath.size(); ++at)
        if (EndsExeName(imagePath, at))
            return imagePath.substr(0, at + 4);
    return imagePath;
}

std::string ImagePath::DirectoryOf(const std::string& imagePath)
{
    std::string exe = ExecutablePart(imagePath);
    size_t dirStart = (exe.size() >= 2 && exe[1] == ':') ? 2 : 0;
    size_t lastSeparator = exe.find_last_of("\\/");
    if (lastSeparator == std::string::npos || lastSeparator < dirStart)
        return exe.substr(0, dirStart);
    return exe.substr(0, lastSeparator + 1);
}
