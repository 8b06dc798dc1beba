#include "catalog/CatalogReader.h"

#include "utils/FileVersion.h"

namespace {

const int kListBeforeFirst = RdmTable::BeforeFirst;
const char kAllRows[] = "";

}  // namespace

CatalogReader::CatalogReader(CTreeListCtrl& tree, HTREEITEM modulesNode, DbDesc& sysDb)
    : m_entries(tree),
      m_node(modulesNode),
      m_extdll(sysDb, "extdll"),
      m_extfunc(sysDb, "extfunc"),
      m_triggerlist(sysDb, "triggerlist"),
      m_jobs(sysDb, "jobs"),
      m_tables(sysDb, "tables"),
      m_tablespace(sysDb, "tablespace")
{
}

void CatalogReader::AddLibraries()
{
    if (!m_extdll.FindList(kAllRows, kListBeforeFirst))
        return;
    while (m_extdll.NextOfList())
        AddLibrary();
}

void CatalogReader::AddLibrary()
{
    FileVersion version;
    version.Read(m_extdll.Field("name").AsText().c_str());
    std::string versionText = version.ToString();
    std::string library = m_extdll.Field("Name").AsText();
    m_shown.clear();
    AddTriggers(library, versionText);
    AddFunctions(library, versionText);
}

// Each trigger row of the library whose function exists is one entry.
void CatalogReader::AddTriggers(const std::string& library, const std::string& version)
{
    m_triggerlist.Field("dllid").SetNumber(m_extdll.Field("dllid").AsNumber());
    if (!m_triggerlist.FindList("dllid", kListBeforeFirst))
        return;
    while (m_triggerlist.NextOfList()) {
        m_extfunc.Field("fncid").SetNumber(m_triggerlist.Field("fncid").AsNumber());
        if (!m_extfunc.FindList("fncid", kListBeforeFirst) || !m_extfunc.NextOfList())
            continue;
        m_shown.insert(static_cast<int32_t>(m_extfunc.Field("fncid").AsNumber()));
        Add(ModuleEntries::Trigger, library + "::" + m_extfunc.Field("Name").AsText(), version);
    }
}

// A function named by a job is listed as a job (again, if it is a trigger too); any
// other not yet listed is a plain method.
void CatalogReader::AddFunctions(const std::string& library, const std::string& version)
{
    m_extfunc.Field("dllid").SetNumber(m_extdll.Field("dllid").AsNumber());
    if (!m_extfunc.FindList("dllid", kListBeforeFirst))
        return;
    while (m_extfunc.NextOfList()) {
        std::string label = library + "::" + m_extfunc.Field("Name").AsText();
        int32_t function = static_cast<int32_t>(m_extfunc.Field("fncid").AsNumber());
        m_jobs.Field("job_action").SetText(label);
        if (m_jobs.FindList("job_action", kListBeforeFirst)) {
            m_shown.insert(function);
            Add(ModuleEntries::Job, label, version);
        } else if (m_shown.insert(function).second) {
            Add(ModuleEntries::Method, label, version);
        }
    }
}

void CatalogReader::Add(ModuleEntries::Kind kind, const std::string& label, const std::string& version)
{
    m_entries.AddModuleEntry(m_node, kind, label, m_tables, m_triggerlist, m_tablespace, m_jobs, version);
}
