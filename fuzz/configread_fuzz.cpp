// velsrv.xml of any content: the depth guard must refuse every file TinyXML would read
// deeper than the guard's limit, and the lookups must hold on whatever loads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tinyxml.h>
#include <utility>
#include <vector>

#include "config/ConfigDocument.h"
#include "config/XmlDepthGuard.h"

namespace {

int ElementDepth(const TiXmlNode& root)
{
    int deepest = 0;
    std::vector<std::pair<const TiXmlNode*, int>> open = { { &root, 0 } };
    while (!open.empty()) {
        auto [node, depth] = open.back();
        open.pop_back();
        if (node->ToElement() && ++depth > deepest)
            deepest = depth;
        for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
            open.emplace_back(child, depth);
    }
    return deepest;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!XmlDepthGuard::Accepts(bytes))
        return 0;
    TiXmlDocument plain;
    plain.Parse(bytes.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    // The guard counts elements whose content is read; one without content (or whose
    // start tag fails) may sit one level below the deepest of them.
    if (ElementDepth(plain) > XmlDepthGuard::kMaxDepth + 1)
        std::abort();                      // the guard let through what it must refuse

    ConfigDocument document;
    if (!document.Parse(bytes))
        return 0;
    const TiXmlElement* server = document.FindSection("VelSrv");
    if (!server || server != document.FindSection("velsrv") || document.FindSection("databases"))
        std::abort();
    for (const TiXmlElement* db = document.Databases()->FirstChildElement(); db; db = db->NextSiblingElement()) {
        const TiXmlElement* found = document.FindSection("DATABASES/" + db->ValueStr());
        if (found && (found->ValueStr() != db->ValueStr() || found->Parent() != document.Databases()))
            std::abort();
        if (db->ValueStr() == Lower(db->ValueStr()) && !found)
            std::abort();
        for (const TiXmlAttribute* a = db->FirstAttribute(); a; a = a->Next())
            if (db->Attribute(a->NameTStr()) == nullptr)
                std::abort();
    }
    return 0;
}
