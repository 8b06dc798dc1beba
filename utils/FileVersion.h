// The file version of a component, as its version resource states it.
#pragma once
#include <cstdint>
#include <string>

class FileVersion {
public:
    // Looks the file up by name in the search order for loadable modules. A file that
    // is missing or has no version information fails; every part then reads 0xFFFFFFFF.
    bool Read(const char* fileName);

    // "major.minor.build.revision." (with the closing full stop).
    std::string ToString() const;

    uint32_t major = 0xFFFFFFFF;
    uint32_t minor = 0xFFFFFFFF;
    uint32_t build = 0xFFFFFFFF;
    uint32_t revision = 0xFFFFFFFF;
};
