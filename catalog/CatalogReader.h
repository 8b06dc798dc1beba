// One reading of a database's "SYSDB" catalogue: every external library with its
// triggers, jobs and plain methods, appended under the "Kiegészítő modulok" node.
#pragma once
#include <cstdint>
#include <set>
#include <string>

#include "catalog/ModuleEntries.h"
#include "dbclient/RdmTable.h"

class DbDesc;

class CatalogReader {
public:
    // Opens the six catalogue tables; a missing one throws DbDescError 2002.
    CatalogReader(CTreeListCtrl& tree, HTREEITEM modulesNode, DbDesc& sysDb);

    void AddLibraries();

private:
    void AddLibrary();
    void AddTriggers(const std::string& library, const std::string& version);
    void AddFunctions(const std::string& library, const std::string& version);
    void Add(ModuleEntries::Kind kind, const std::string& label, const std::string& version);

    ModuleEntries m_entries;
    HTREEITEM m_node;
    RdmTable m_extdll;
    RdmTable m_extfunc;
    RdmTable m_triggerlist;
    RdmTable m_jobs;
    RdmTable m_tables;
    RdmTable m_tablespace;
    std::set<int32_t> m_shown;      // function ids of the current library already listed
};
