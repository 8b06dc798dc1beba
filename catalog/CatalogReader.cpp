#include "catalog/CatalogReader.h"

#include "app/FileVersion.h"
#include "dbclient/DbDesc.h"

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
      m_tablespace(sysDb, "tablespace"),
      m_libraryFile(&LibraryFileField(sysDb))
{
}

// "extdll" has "Name" (the library's name) and "name" (its file), which the dictionary
// holds in upper case alike: a lookup by name finds the first, so the file is read
// through the second field of that name when there is one.
RdmFld& CatalogReader::LibraryFileField(DbDesc& sysDb)
{
    const DbDictionary& dictionary = sysDb.Dictionary();
    int record = m_extdll.RecordType() - DbDesc::RecordTypeBase;
    int fieldCount = dictionary.RecordTypes().at(record).fieldCount;
    bool seenFirst = false;
    for (int i = 0; i < fieldCount; ++i) {
        const DictField* field = dictionary.FieldOf(record, i);
        if (!field || !DictNamesEqual(field->name, "name"))
            continue;
        if (seenFirst) {
            m_secondName.reset(new RdmFld(sysDb, m_extdll.Name(), field->name, record * 1000 + i, &m_extdll.Record()));
            return *m_secondName;
        }
        seenFirst = true;
    }
    return m_extdll.Field("name");
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
    version.Read(m_libraryFile->AsText().c_str());
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
