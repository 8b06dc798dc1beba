// Service image paths of any content: the directory is always the start of the
// executable's path, and that path is a piece of the image path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ImagePath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string imagePath(reinterpret_cast<const char*>(data), size);
    std::string exe = ImagePath::ExecutablePart(imagePath);
    std::string directory = ImagePath::DirectoryOf(imagePath);
    if (exe.compare(0, directory.size(), directory) != 0 || imagePath.find(exe) == std::string::npos)
        std::abort();
    return 0;
}
