#include "config/XmlScan.h"

#include <cctype>
#include <cstring>

namespace {

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// As TinyXML: every byte above the ASCII letters counts as a letter.
bool IsNameStart(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return c == '_' || (u < 127 ? std::isalpha(u) != 0 : true);
}

bool IsNameChar(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return c == '_' || c == '-' || c == '.' || c == ':' || (u < 127 ? std::isalnum(u) != 0 : true);
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

XmlScan::XmlScan(const std::string& bytes)
    : m_bytes(bytes), m_size(std::strlen(bytes.c_str()))
{
}

bool XmlScan::StartsWith(size_t pos, const char* text, bool ignoreCase) const
{
    for (; *text; ++text, ++pos) {
        char c = At(pos);
        if (c == '\0' || (ignoreCase ? Lower(c) != Lower(*text) : c != *text))
            return false;
    }
    return true;
}

size_t XmlScan::Find(size_t pos, const char* text) const
{
    size_t found = m_bytes.find(text, pos);
    return found < m_size ? found : npos;
}

size_t XmlScan::SkipSpace(size_t pos) const
{
    while (pos < m_size && IsSpace(m_bytes[pos]))
        ++pos;
    return pos;
}

size_t XmlScan::NameEnd(size_t pos) const
{
    if (!IsNameStart(At(pos)))
        return npos;
    while (At(pos) != '\0' && IsNameChar(At(pos)))
        ++pos;
    return pos;
}

// "&#...;" and "&#x...;" are read backwards from the first ";" to the "#" or "x"
// nearest it, so one may span quotes and tags; everything else is one byte.
size_t XmlScan::EntityEnd(size_t pos) const
{
    if (At(pos + 1) != '#' || At(pos + 2) == '\0')
        return pos + 1;
    const bool hex = At(pos + 2) == 'x';
    if (hex && At(pos + 3) == '\0')
        return npos;
    size_t semicolon = Find(pos + (hex ? 3 : 2), ";");
    if (semicolon == npos)
        return npos;
    for (size_t q = semicolon - 1; At(q) != (hex ? 'x' : '#'); --q)
        if (!(hex ? IsHexDigit(At(q)) : (At(q) >= '0' && At(q) <= '9')))
            return npos;
    return semicolon + 1;
}

size_t XmlScan::TextEnd(size_t pos, char stop) const
{
    while (pos < m_size && m_bytes[pos] != stop) {
        pos = m_bytes[pos] == '&' ? EntityEnd(pos) : pos + 1;
        if (pos == npos)
            return npos;
    }
    return pos < m_size ? pos : npos;
}

bool XmlScan::ReadAttribute(size_t pos, Attribute& attribute) const
{
    pos = NameEnd(SkipSpace(pos));
    if (pos == npos || At(pos) == '\0')
        return false;
    pos = SkipSpace(pos);
    if (At(pos) != '=')
        return false;
    pos = SkipSpace(pos + 1);
    char c = At(pos);
    if (c == '\0')
        return false;
    if (c == '"' || c == '\'') {
        size_t close = TextEnd(pos + 1, c);
        if (close == npos)
            return false;
        attribute = { pos + 1, close, c, close + 1 };
        return At(close + 1) != '\0';
    }
    size_t end = pos;
    for (; At(end) != '\0' && !IsSpace(At(end)) && At(end) != '/' && At(end) != '>'; ++end)
        if (At(end) == '"' || At(end) == '\'')
            return false;
    attribute = { pos, end, 0, end };
    return At(end) != '\0';
}

bool XmlScan::StartsElement(size_t pos) const
{
    return At(pos) == '<' && !StartsWith(pos, "<?xml", true) && !StartsWith(pos, "<!") && IsNameStart(At(pos + 1));
}

size_t XmlScan::OtherNodeEnd(size_t pos) const
{
    if (StartsWith(pos, "<?xml", true))
        return DeclarationEnd(pos + 5);
    size_t end = npos;
    if (StartsWith(pos, "<!--")) {
        end = Find(pos + 4, "-->");
        return end == npos ? npos : end + 3;
    }
    if (StartsWith(pos, "<![CDATA[")) {
        end = Find(pos + 9, "]]>");
        return end == npos ? npos : end + 3;
    }
    end = Find(pos, ">");
    return end == npos ? npos : end + 1;
}

// Only values of "version", "encoding" and "standalone" are read as attributes, so only
// their quotes can hide a ">".
size_t XmlScan::DeclarationEnd(size_t pos) const
{
    while (pos < m_size) {
        if (m_bytes[pos] == '>')
            return pos + 1;
        pos = SkipSpace(pos);
        if (pos >= m_size)
            return npos;
        if (StartsWith(pos, "version", true) || StartsWith(pos, "encoding", true)
            || StartsWith(pos, "standalone", true)) {
            Attribute attribute;
            if (!ReadAttribute(pos, attribute))
                return npos;
            pos = attribute.end;
        } else {
            while (pos < m_size && m_bytes[pos] != '>' && !IsSpace(m_bytes[pos]))
                ++pos;
        }
    }
    return npos;
}
