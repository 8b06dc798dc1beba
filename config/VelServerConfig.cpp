#include "config/VelServerConfig.h"

#include <cstdio>
#include <tinyxml.h>

#include "config/ConfigDocument.h"
#include "config/ReplacingSave.h"
#include "config/XmlDepthGuard.h"

namespace {

const char kFileName[] = "velsrv.xml";

// Single-byte, character by character: names in the file are plain lower-case ASCII.
std::string ToLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The whole file; false where it cannot be read or is larger than a configuration can be.
bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes.clear();
    char buffer[65536];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0 && bytes.size() <= XmlDepthGuard::kMaxBytes)
        bytes.append(buffer, read);
    bool complete = !std::ferror(file) && bytes.size() <= XmlDepthGuard::kMaxBytes;
    std::fclose(file);
    return complete;
}

}  // namespace

VelServerConfig::VelServerConfig(const std::string& directory, const std::string& section)
    : m_path(directory + kFileName),
      m_section(ToLower(section.empty() ? std::string("velsrv") : section)),
      m_document(std::make_shared<ConfigDocument>())
{
}

VelServerConfig::VelServerConfig(const VelServerConfig& other, const std::string& section)
    : m_path(other.m_path),
      m_section(ToLower(section.empty() ? std::string("velsrv") : section)),
      m_document(other.m_document)
{
}

VelServerConfig::~VelServerConfig() = default;

int VelServerConfig::Read()
{
    std::string bytes;
    if (!ReadFileBytes(m_path, bytes))
        bytes.clear();                     // nothing stays loaded
    return m_document->Parse(bytes) ? Success : Failure;
}

int VelServerConfig::EnsureRead()
{
    return m_document->Parsed() ? Success : Read();
}

int VelServerConfig::GetValue(const std::string& name, std::string& value)
{
    int result = EnsureRead();
    if (result != Success)
        return result;
    const TiXmlElement* element = m_document->FindSection(m_section);
    if (!element)
        return Failure;
    const std::string* found = element->Attribute(ToLower(name));
    if (found && !found->empty()) {
        value = *found;
        return Success;
    }
    value.clear();
    return Failure;
}

int VelServerConfig::WriteValue(const std::string& name, const std::string& value)
{
    int result = EnsureRead();
    if (result != Success)
        return result;
    return Save(ToLower(name), value) ? Success : Failure;
}

int VelServerConfig::GetDatabaseNames(std::vector<std::string>& names)
{
    int result = EnsureRead();
    if (result != Success)
        return result;
    for (const TiXmlElement* db = m_document->Databases()->FirstChildElement(); db; db = db->NextSiblingElement())
        names.push_back(db->ValueStr());
    return Success;
}

// The new file is read back from the disk before it replaces the old one: it must read
// as the old document with only this attribute set. The document then holds the new file.
bool VelServerConfig::Save(const std::string& name, const std::string& value)
{
    const TiXmlElement* element = m_document->FindSection(m_section);
    std::string edited;
    if (!element || !m_document->EditAttribute(*element, name, value, edited))
        return false;
    ReplacingSave save(m_path);
    std::string written;
    if (!save.Write(edited) || !save.ReadBack(written) || !m_document->ReadsAsEdit(written, *element, name, value)
        || !save.Commit())
        return false;
    return m_document->Parse(written);
}
