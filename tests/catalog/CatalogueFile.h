// A stand-in data file with one "SYSDB" catalogue: its users and external libraries' tables.
#pragma once
#include <string>
#include <vector>

class CatalogueFile {
public:
    // The one user every catalogue has: "ADMIN" with password "ADMIN".
    // The server's dictionary has one field for "Name" and "name" (names are upper-cased),
    // so a library is named by its file.
    void Library(int dllid, const std::string& file);
    void Function(int fncid, int dllid, const std::string& name);
    void Trigger(int dllid, int fncid, int tableid, int mode, int enabled);
    void Job(const std::string& action, const std::string& name, const std::string& interval, int enabled);
    void Table(int tableid, int tablespaceId, const std::string& name);
    void Tablespace(int dbid, const std::string& name);

    // Catalogues of older servers: "jobs" without "job_enabled".
    bool jobEnabledField = true;
    // A catalogue that lacks one of its tables.
    std::string missingTable;
    // A server that admits every user and leaves the check against "dbuser" to the client.
    bool serverChecksLogins = true;

    std::string Xml() const;
    // Writes the file (code page 1250, as the literals are); returns its path.
    std::string Write(const std::string& path) const;

private:
    std::string Record(const std::string& name, const std::string& fields,
                       const std::vector<std::string>& rows) const;

    std::vector<std::string> m_libraries, m_functions, m_triggers, m_jobs, m_tables, m_tablespaces;
};
