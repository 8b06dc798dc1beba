// The lexical rules by which TinyXML (legacy encoding) reads a document, over the raw
// bytes: where a name, an entity, an attribute or a node ends. The file's bytes end at
// the first zero byte, as TinyXML reads them. No Windows headers: it is fuzzed natively.
#pragma once
#include <string>

class XmlScan {
public:
    static const size_t npos = std::string::npos;

    explicit XmlScan(const std::string& bytes);

    size_t Size() const { return m_size; }
    char At(size_t pos) const { return pos < m_size ? m_bytes[pos] : '\0'; }
    bool StartsWith(size_t pos, const char* text, bool ignoreCase = false) const;

    size_t SkipSpace(size_t pos) const;
    // End of the name at `pos`, or npos where no name starts.
    size_t NameEnd(size_t pos) const;
    // End of the text that stops at `stop` (one of its characters), entities read as
    // TinyXML reads them; npos where an entity is malformed or the bytes end first.
    size_t TextEnd(size_t pos, char stop) const;

    struct Attribute {
        size_t valueBegin;   // the value's bytes, without its quotes
        size_t valueEnd;
        char quote;          // '"', '\'' or 0 for a value without quotes
        size_t end;          // just after the attribute
    };
    // The attribute whose name starts at `pos` (blanks before it are skipped); false
    // where TinyXML would stop with an error.
    bool ReadAttribute(size_t pos, Attribute& attribute) const;

    // End of the node that starts with "<" at `pos`, for nodes other than elements
    // (declaration, comment, CDATA, unknown); npos where TinyXML would stop.
    size_t OtherNodeEnd(size_t pos) const;
    // Whether the "<" at `pos` starts an element.
    bool StartsElement(size_t pos) const;

private:
    size_t EntityEnd(size_t pos) const;
    size_t DeclarationEnd(size_t pos) const;
    size_t Find(size_t pos, const char* text) const;

    const std::string& m_bytes;
    size_t m_size;
};
