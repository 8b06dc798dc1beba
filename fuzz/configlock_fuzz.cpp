// The network-lock edit on velsrv.xml of any content: wherever the edit can be made it
// must read back as the same document with only the lock changed, and keep every byte
// before the lock's value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tinyxml.h>

#include "config/ConfigDocument.h"

namespace {

void CheckEdit(const ConfigDocument& document, const std::string& bytes, const TiXmlElement* element,
               const std::string& value)
{
    std::string edited;
    if (!element || !document.EditAttribute(*element, "net_lock", value, edited))
        return;
    if (!document.ReadsAsEdit(edited, *element, "net_lock", value))
        std::abort();
    size_t same = 0;
    while (same < bytes.size() && same < edited.size() && bytes[same] == edited[same])
        ++same;
    size_t tail = 0;
    while (tail < bytes.size() - same && tail < edited.size() - same
           && bytes[bytes.size() - 1 - tail] == edited[edited.size() - 1 - tail])
        ++tail;
    // Only one run of bytes differs, no longer than the value with its quotes, escaped.
    if (edited.size() - same - tail > value.size() + 2 + std::string(" net_lock=").size())
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ConfigDocument document;
    if (!document.Parse(bytes))
        return 0;
    const char* value = size % 2 ? "true" : "false";
    CheckEdit(document, bytes, document.FindSection("velsrv"), value);
    CheckEdit(document, bytes, document.Databases()->FirstChildElement(), value);
    return 0;
}
