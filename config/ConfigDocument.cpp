#include "config/ConfigDocument.h"

#include <tinyxml.h>

#include "config/XmlDepthGuard.h"
#include "config/XmlScan.h"

namespace {

const char kDatabasesPrefix[] = "databases/";
const size_t kPrefixLength = sizeof kDatabasesPrefix - 1;

bool StartsWithNoCase(const std::string& text, const char* prefix, size_t length)
{
    if (text.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// Line breaks as TinyXML's LoadFile leaves them (CR LF and CR become LF), up to the
// first zero byte; `lineStarts` gets where each line begins in `bytes`.
std::string NormalizeLines(const std::string& bytes, std::vector<size_t>& lineStarts)
{
    std::string text;
    text.reserve(bytes.size());
    lineStarts.assign(1, 0);
    for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        text += c == '\r' ? '\n' : c;
        if (c == '\r' || c == '\n')
            lineStarts.push_back(i + 1);
    }
    return text;
}

// A value as an attribute quoted with `quote` holds it.
std::string Escaped(const std::string& value, char quote)
{
    std::string out;
    for (char c : value) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == quote)
            out += quote == '"' ? "&quot;" : "&apos;";
        else
            out += c;
    }
    return out;
}

bool FitsUnquoted(const std::string& value)
{
    if (value.empty())
        return false;
    for (char c : value)
        if (c == '"' || c == '\'' || c == '&' || c == '<' || c == '>' || c == '/' || c <= ' ')
            return false;
    return true;
}

bool SameAttributes(const TiXmlElement& a, const TiXmlElement& b, const TiXmlElement* target,
                    const std::string& name, const std::string& value)
{
    const TiXmlAttribute* x = a.FirstAttribute();
    const TiXmlAttribute* y = b.FirstAttribute();
    bool set = false;
    for (; x && y; x = x->Next(), y = y->Next()) {
        const bool changed = &a == target && x->NameTStr() == name;
        set = set || changed;
        if (x->NameTStr() != y->NameTStr() || y->ValueStr() != (changed ? value : x->ValueStr()))
            return false;
    }
    if (x)
        return false;
    if (&a != target || set)
        return !y;
    return y && !y->Next() && y->NameTStr() == name && y->ValueStr() == value;
}

bool SameNodes(const TiXmlNode& a, const TiXmlNode& b, const TiXmlElement* target, const std::string& name,
               const std::string& value)
{
    if (a.Type() != b.Type() || a.ValueStr() != b.ValueStr())
        return false;
    if (a.ToElement() && !SameAttributes(*a.ToElement(), *b.ToElement(), target, name, value))
        return false;
    if (a.ToText() && a.ToText()->CDATA() != b.ToText()->CDATA())
        return false;
    if (const TiXmlDeclaration* declaration = a.ToDeclaration()) {
        const TiXmlDeclaration* other = b.ToDeclaration();
        if (std::string(declaration->Version()) != other->Version()
            || std::string(declaration->Encoding()) != other->Encoding()
            || std::string(declaration->Standalone()) != other->Standalone())
            return false;
    }
    const TiXmlNode* x = a.FirstChild();
    const TiXmlNode* y = b.FirstChild();
    for (; x && y; x = x->NextSibling(), y = y->NextSibling())
        if (!SameNodes(*x, *y, target, name, value))
            return false;
    return !x && !y;
}

}  // namespace

ConfigDocument::ConfigDocument() : m_xml(new TiXmlDocument) {}

ConfigDocument::~ConfigDocument() = default;

void ConfigDocument::Clear()
{
    m_server = nullptr;
    m_databases = nullptr;
    m_xml.reset(new TiXmlDocument);
    m_bytes.clear();
    m_lineStarts.clear();
}

bool ConfigDocument::Parse(const std::string& bytes)
{
    Clear();
    if (!XmlDepthGuard::Accepts(bytes))
        return false;
    std::vector<size_t> lineStarts;
    const std::string text = NormalizeLines(bytes, lineStarts);
    m_xml->SetTabSize(1);                  // a column is then a byte of its line
    m_xml->Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    if (m_xml->Error())
        return false;
    TiXmlElement* root = m_xml->FirstChildElement("serverparams");
    TiXmlElement* server = root ? root->FirstChildElement("velsrv") : nullptr;
    TiXmlElement* databases = root ? root->FirstChildElement("databases") : nullptr;
    if (!server || !databases)
        return false;
    m_bytes = bytes;
    m_lineStarts.swap(lineStarts);
    m_server = server;
    m_databases = databases;
    return true;
}

TiXmlElement* ConfigDocument::FindSection(const std::string& section) const
{
    if (!Parsed())
        return nullptr;
    if (section.size() > kPrefixLength && StartsWithNoCase(section, kDatabasesPrefix, kPrefixLength - 1)
        && section[kPrefixLength - 1] == '/')
        return m_databases->FirstChildElement(section.substr(kPrefixLength));
    if (section.size() == 6 && StartsWithNoCase(section, "velsrv", 6))
        return m_server;
    return nullptr;
}

size_t ConfigDocument::OffsetOf(const TiXmlBase& node) const
{
    size_t row = static_cast<size_t>(node.Row() - 1);
    if (node.Row() < 1 || node.Column() < 1 || row >= m_lineStarts.size())
        return XmlScan::npos;
    return m_lineStarts[row] + static_cast<size_t>(node.Column() - 1);
}

// Just after the last attribute of the start tag, or after the name where it has none.
bool ConfigDocument::AttributeEnd(const TiXmlElement& element, size_t& end) const
{
    const XmlScan scan(m_bytes);
    XmlScan::Attribute attribute;
    if (const TiXmlAttribute* last = element.LastAttribute()) {
        // After "name=" with no value TinyXML would take anything inserted as the value.
        if (!scan.ReadAttribute(OffsetOf(*last), attribute) || attribute.valueBegin == attribute.end)
            return false;
        end = attribute.end;
        return true;
    }
    size_t start = OffsetOf(element);
    end = scan.At(start) == '<' ? scan.NameEnd(start + 1) : XmlScan::npos;
    return end != XmlScan::npos;
}

bool ConfigDocument::EditAttribute(const TiXmlElement& element, const std::string& name,
                                   const std::string& value, std::string& edited) const
{
    if (!Parsed())
        return false;
    const TiXmlAttribute* found = element.FirstAttribute();
    while (found && found->NameTStr() != name)
        found = found->Next();
    edited = m_bytes;
    if (!found) {
        size_t end = 0;
        if (!AttributeEnd(element, end))
            return false;
        edited.insert(end, " " + name + "=\"" + Escaped(value, '"') + "\"");
        return true;
    }
    XmlScan::Attribute attribute;
    if (!XmlScan(m_bytes).ReadAttribute(OffsetOf(*found), attribute))
        return false;
    if (attribute.quote != 0)
        edited.replace(attribute.valueBegin, attribute.valueEnd - attribute.valueBegin, Escaped(value, attribute.quote));
    else
        edited.replace(attribute.valueBegin, attribute.valueEnd - attribute.valueBegin,
                       FitsUnquoted(value) ? value : "\"" + Escaped(value, '"') + "\"");
    return true;
}

bool ConfigDocument::ReadsAsEdit(const std::string& edited, const TiXmlElement& element, const std::string& name,
                                 const std::string& value) const
{
    ConfigDocument other;
    return Parsed() && other.Parse(edited) && SameNodes(*m_xml, *other.m_xml, &element, name, value);
}
