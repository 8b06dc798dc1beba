// Access to the server's configuration file velsrv.xml for one task: the server's
// parameters (section "velsrv") or one database's settings ("databases/<name>").
// Reports by result code and never throws or shows anything.
#pragma once
#include <memory>
#include <string>
#include <vector>

class ConfigDocument;

class VelServerConfig {
public:
    enum Result : int {
        Success = 0,
        Failure = 10059,   // file missing, unreadable or malformed; element or attribute not there; not written
    };

    // `directory` ends in a path separator (or is empty: the current directory). An
    // empty section means "velsrv". Nothing is read yet.
    VelServerConfig(const std::string& directory, const std::string& section);
    // Another section of the same file, in the document `other` has read (or reads): a
    // task that reads many sections parses the file once.
    VelServerConfig(const VelServerConfig& other, const std::string& section);
    virtual ~VelServerConfig();

    VelServerConfig(const VelServerConfig&) = delete;
    VelServerConfig& operator=(const VelServerConfig&) = delete;

    // Reads and parses the file; every other operation does so once when it must.
    int Read();
    // `value` gets the attribute's text; an empty attribute counts as absent.
    int GetValue(const std::string& name, std::string& value);
    // Sets the attribute and writes the file, in which nothing else changes: every other
    // byte is kept. Success only when the file was written and reads back as it should.
    int WriteValue(const std::string& name, const std::string& value);
    // Appends the names of the databases, as written, in document order.
    int GetDatabaseNames(std::vector<std::string>& names);

private:
    int EnsureRead();
    bool Save(const std::string& name, const std::string& value);

    std::string m_path;
    std::string m_section;
    std::shared_ptr<ConfigDocument> m_document;   // the file as read, shared by sibling sections
};
