// The bytes of velsrv.xml and the document TinyXML reads from them: the section and
// database lookups, and the edit of one attribute that keeps every other byte.
// No Windows headers: it is fuzzed natively.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TiXmlBase;
class TiXmlDocument;
class TiXmlElement;

class ConfigDocument {
public:
    ConfigDocument();
    ~ConfigDocument();
    ConfigDocument(const ConfigDocument&) = delete;
    ConfigDocument& operator=(const ConfigDocument&) = delete;

    // Parses `bytes` as TinyXML's LoadFile reads a file. False, with nothing parsed, for
    // bytes the depth guard refuses, bytes TinyXML cannot read, and a document without
    // "serverparams" holding "velsrv" and "databases".
    bool Parse(const std::string& bytes);
    bool Parsed() const { return m_server != nullptr; }

    // "velsrv" or "databases/<name>" (any case before the slash); null for any other
    // section or a database not there. Names are compared exactly.
    TiXmlElement* FindSection(const std::string& section) const;
    TiXmlElement* Databases() const { return m_databases; }

    // The loaded bytes with the attribute `name` of `element` set to `value`: only the
    // bytes of its value change, or, where it is absent, the attribute is inserted last
    // into the element's start tag. False where the attribute's bytes cannot be found.
    bool EditAttribute(const TiXmlElement& element, const std::string& name, const std::string& value,
                       std::string& edited) const;

    // Whether `edited` reads as the loaded document with only that attribute set: every
    // node, name and value the same, in the same order.
    bool ReadsAsEdit(const std::string& edited, const TiXmlElement& element, const std::string& name,
                     const std::string& value) const;

private:
    void Clear();
    size_t OffsetOf(const TiXmlBase& node) const;
    bool AttributeEnd(const TiXmlElement& element, size_t& end) const;

    std::string m_bytes;
    std::vector<size_t> m_lineStarts;      // offset in m_bytes of each line TinyXML counts
    std::unique_ptr<TiXmlDocument> m_xml;
    TiXmlElement* m_server = nullptr;      // in m_xml, while loaded
    TiXmlElement* m_databases = nullptr;
};
