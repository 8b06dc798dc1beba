// The service's image path as the Service Control Manager gives it: the executable,
// possibly quoted, possibly followed by arguments. No Windows headers: it is fuzzed natively.
#pragma once
#include <string>

class ImagePath {
public:
    // Drive and directory, with its trailing separator, of the executable that an
    // image path starts: quotes and service arguments are not part of it.
    static std::string DirectoryOf(const std::string& imagePath);

    // The executable's own path inside an image path.
    static std::string ExecutablePart(const std::string& imagePath);
};
