#include "config/VelServerConfig.h"

#include <tinyxml.h>

#include "config/ReplacingSave.h"

namespace {

const char kFileName[] = "velsrv.xml";
const char kDatabasesPrefix[] = "databases";   // followed by "/" and the database's name
const size_t kPrefixLength = sizeof kDatabasesPrefix - 1;

// Single-byte, character by character: names in the file are plain lower-case ASCII.
std::string ToLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool IsDatabaseSection(const std::string& section)
{
    return section.size() > kPrefixLength && ToLower(section.substr(0, kPrefixLength)) == kDatabasesPrefix
        && section[kPrefixLength] == '/';
}

}  // namespace

struct VelServerConfig::Document {
    TiXmlDocument xml;
    bool loaded = false;
    TiXmlElement* server = nullptr;        // in xml, while loaded
    TiXmlElement* databases = nullptr;
};

VelServerConfig::VelServerConfig(const std::string& directory, const std::string& section)
    : m_path(directory + kFileName),
      m_section(ToLower(section.empty() ? std::string("velsrv") : section)),
      m_document(std::make_shared<Document>())
{
}

VelServerConfig::VelServerConfig(const VelServerConfig& other, const std::string& section)
    : m_path(other.m_path),
      m_section(ToLower(section.empty() ? std::string("velsrv") : section)),
      m_document(other.m_document)
{
}

VelServerConfig::~VelServerConfig() = default;

int VelServerConfig::Load()
{
    Document& doc = *m_document;
    doc.loaded = false;
    doc.server = nullptr;
    doc.databases = nullptr;
    if (!doc.xml.LoadFile(m_path.c_str(), TIXML_ENCODING_LEGACY))
        return Failure;
    TiXmlElement* root = doc.xml.FirstChildElement("serverparams");
    if (!root)
        return Failure;
    TiXmlElement* server = root->FirstChildElement("velsrv");
    TiXmlElement* databases = root->FirstChildElement("databases");
    if (!server || !databases)
        return Failure;
    doc.server = server;
    doc.databases = databases;
    doc.loaded = true;
    return Success;
}

int VelServerConfig::EnsureLoaded()
{
    return m_document->loaded ? Success : Load();
}

TiXmlElement* VelServerConfig::Server() const
{
    return m_document->server;
}

TiXmlElement* VelServerConfig::Databases() const
{
    return m_document->databases;
}

int VelServerConfig::GetValue(const std::string& name, std::string& value)
{
    int result = EnsureLoaded();
    if (result != Success)
        return result;
    const TiXmlElement* element = FindSection();
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

int VelServerConfig::SetValue(const std::string& name, const std::string& value)
{
    int result = EnsureLoaded();
    if (result != Success)
        return result;
    TiXmlElement* element = FindSection();
    if (!element)
        return Failure;
    const std::string key = ToLower(name);
    const std::string* old = element->Attribute(key);
    const bool existed = old != nullptr;
    const std::string oldValue = existed ? *old : std::string();
    element->SetAttribute(key, value);
    if (Save() == Success)
        return Success;
    // Not written: the document goes back to what the file holds.
    if (existed)
        element->SetAttribute(key, oldValue);
    else
        element->RemoveAttribute(key);
    return Failure;
}

int VelServerConfig::GetDatabaseNames(std::vector<std::string>& names)
{
    int result = EnsureLoaded();
    if (result != Success)
        return result;
    for (const TiXmlElement* db = Databases()->FirstChildElement(); db; db = db->NextSiblingElement())
        names.push_back(db->ValueStr());
    return Success;
}

// "databases/<name>": the database element of exactly that name (the section is lower
// case, so only lower-case names are found); "velsrv": the server element.
TiXmlElement* VelServerConfig::FindSection() const
{
    if (IsDatabaseSection(m_section))
        return Databases()->FirstChildElement(m_section.substr(kPrefixLength + 1));
    if (m_section == "velsrv")
        return Server();
    return nullptr;
}

int VelServerConfig::Save() const
{
    return SaveDocumentReplacing(m_document->xml, m_path) ? Success : Failure;
}
