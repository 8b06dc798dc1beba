#include "tests/catalog/CatalogueFile.h"

#include <fstream>

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string Attr(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + Escaped(value) + "\"";
}

std::string Attr(const char* name, int value) { return Attr(name, std::to_string(value)); }

std::string Field(const char* name, const char* type, int length = 0, const char* key = nullptr)
{
    std::string field = std::string("<field name=\"") + name + "\" type=\"" + type + "\"";
    if (length)
        field += Attr("length", length);
    if (key)
        field += Attr("key", key);
    return field + "/>";
}

}  // namespace

void CatalogueFile::Library(int dllid, const std::string& file)
{
    m_libraries.push_back(Attr("dllid", dllid) + Attr("Name", file));
}

void CatalogueFile::Function(int fncid, int dllid, const std::string& name)
{
    m_functions.push_back(Attr("fncid", fncid) + Attr("dllid", dllid) + Attr("Name", name));
}

void CatalogueFile::Trigger(int dllid, int fncid, int tableid, int mode, int enabled)
{
    m_triggers.push_back(Attr("dllid", dllid) + Attr("fncid", fncid) + Attr("tableid", tableid)
                         + Attr("mode", mode) + Attr("enabled", enabled));
}

void CatalogueFile::Job(const std::string& action, const std::string& name, const std::string& interval, int enabled)
{
    std::string row = Attr("job_action", action) + Attr("job_name", name) + Attr("job_intervall", interval);
    if (jobEnabledField)
        row += Attr("job_enabled", enabled);
    m_jobs.push_back(row);
}

void CatalogueFile::Table(int tableid, int tablespaceId, const std::string& name)
{
    m_tables.push_back(Attr("tableid", tableid) + Attr("id", tablespaceId) + Attr("tabname", name));
}

void CatalogueFile::Tablespace(int dbid, const std::string& name)
{
    m_tablespaces.push_back(Attr("dbid", dbid) + Attr("name", name));
}

std::string CatalogueFile::Record(const std::string& name, const std::string& fields,
                                  const std::vector<std::string>& rows) const
{
    if (name == missingTable)
        return "";
    std::string xml = "  <record name=\"" + name + "\">" + fields + "\n";
    for (const std::string& row : rows)
        xml += "   <row" + row + "/>\n";
    return xml + "  </record>\n";
}

std::string CatalogueFile::Xml() const
{
    std::string jobFields = Field("job_action", "c", 80, "dup") + Field("job_name", "c", 32)
        + Field("job_intervall", "c", 16);
    if (jobEnabledField)
        jobFields += Field("job_enabled", "c", 1);
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<veldbdata";
    xml += serverChecksLogins ? ">\n" : " logincheck=\"off\">\n";
    xml += " <database number=\"19\" name=\"SYSDB\">\n";
    xml += Record("dbuser",
                  Field("userid", "l", 0, "unique")
                      + "<field name=\"NAME\" type=\"c\" length=\"32\" key=\"unique\" scrambled=\"yes\"/>"
                      + "<field name=\"PSW\" type=\"c\" length=\"32\" scrambled=\"yes\"/>" + Field("enabled", "c", 1),
                  { " userid=\"1\" NAME=\"ADMIN\" PSW=\"ADMIN\" enabled=\"1\"" });
    xml += Record("extdll", Field("dllid", "l", 0, "unique") + Field("Name", "c", 200),
                  m_libraries);
    xml += Record("extfunc", Field("fncid", "l", 0, "dup") + Field("dllid", "l", 0, "dup") + Field("Name", "c", 32),
                  m_functions);
    xml += Record("triggerlist",
                  Field("dllid", "l", 0, "dup") + Field("fncid", "l") + Field("tableid", "l") + Field("mode", "c", 1)
                      + Field("enabled", "c", 1),
                  m_triggers);
    xml += Record("jobs", jobFields, m_jobs);
    xml += Record("tables", Field("tableid", "l", 0, "dup") + Field("id", "l") + Field("tabname", "c", 32), m_tables);
    xml += Record("tablespace", Field("dbid", "l", 0, "dup") + Field("name", "c", 32, "unique"), m_tablespaces);
    return xml + " </database>\n</veldbdata>\n";
}

std::string CatalogueFile::Write(const std::string& path) const
{
    std::ofstream(path, std::ios::binary) << Xml();
    return path;
}
