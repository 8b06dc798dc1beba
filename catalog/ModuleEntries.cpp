#include "catalog/ModuleEntries.h"

#include "dbclient/RdmTable.h"
#include "treelist/TreeListMessages.h"

namespace {

const int kNoTable = -1;
const int kListBeforeFirst = RdmTable::BeforeFirst;
const char kEnabled = 1;

const char* YesNo(bool yes)
{
    return yes ? "YES" : "NO";
}

}  // namespace

const char* ModuleEntries::ModeText(int mode)
{
    static const char* const texts[] = {
        "BEFORE INSERT", "REPLACE INSERT", "AFTER INSERT", "BEFORE UPDATE", "REPLACE UPDATE", "AFTER UPDATE",
        "BEFORE DELETE", "REPLACE DELETE", "AFTER DELETE", "USER LOGON", "USER LOGOFF",
    };
    if (mode < 0 || mode >= static_cast<int>(sizeof texts / sizeof texts[0]))
        return "";
    return texts[mode];
}

void ModuleEntries::AddModuleEntry(HTREEITEM parent, Kind kind, const std::string& label, RdmTable& tables,
                                   RdmTable& triggerlist, RdmTable& tablespace, RdmTable& jobs,
                                   const std::string& version)
{
    HTREEITEM last = nullptr;
    switch (kind) {
    case Trigger:
        last = AddTrigger(parent, label, tables, triggerlist, tablespace, version);
        break;
    case Job:
        last = AddJobs(parent, label, jobs, version);
        break;
    case Method:
        last = AddMethod(parent, label, version);
        break;
    }
    // Its detail rows shown; expanding an entry row notifies the owner, who ignores it.
    if (last)
        m_tree.Expand(last, TVE_EXPAND);
}

HTREEITEM ModuleEntries::AddTrigger(HTREEITEM parent, const std::string& label, RdmTable& tables,
                                    RdmTable& triggerlist, RdmTable& tablespace, const std::string& version)
{
    HTREEITEM entry = AddEntryRow(parent, "Trigger: " + label, version, TriggerColour);
    long tableId = triggerlist.Field("tableid").AsNumber();
    if (tableId != kNoTable)
        AddObjectRows(entry, tableId, tables, tablespace);
    AddRow(entry, "Mode", ModeText(static_cast<signed char>(triggerlist.Field("mode").AsChar())));
    AddRow(entry, "Enabled", YesNo(triggerlist.Field("enabled").AsChar() == kEnabled));
    return entry;
}

// "On object" rows: the trigger's table with the name of its tablespace.
void ModuleEntries::AddObjectRows(HTREEITEM entry, long tableId, RdmTable& tables, RdmTable& tablespace)
{
    tables.Field("tableid").SetNumber(tableId);
    if (!tables.FindList("tableid", kListBeforeFirst))
        return;
    while (tables.NextOfList()) {
        tablespace.Field("dbid").SetNumber(tables.Field("id").AsNumber());
        if (tablespace.FindList("dbid", kListBeforeFirst) && tablespace.NextOfList())
            AddRow(entry, "On object", tablespace.Field("name").AsText() + "." + tables.Field("tabname").AsText());
    }
}

HTREEITEM ModuleEntries::AddJobs(HTREEITEM parent, const std::string& label, RdmTable& jobs,
                                 const std::string& version)
{
    HTREEITEM entry = nullptr;
    bool hasEnabled = jobs.HasField("job_enabled", true);
    while (jobs.NextOfList()) {
        entry = AddEntryRow(parent, "Job: " + label, version, JobColour);
        AddRow(entry, "Name", jobs.Field("job_name").AsText());
        std::string interval;
        jobs.Field("job_intervall").CopyAsText(interval);
        AddRow(entry, "Timing", "every " + interval + "s");
        // Catalogues without the field know only enabled jobs.
        AddRow(entry, "Enabled", YesNo(!hasEnabled || jobs.Field("job_enabled").AsChar() == kEnabled));
    }
    return entry;
}

HTREEITEM ModuleEntries::AddMethod(HTREEITEM parent, const std::string& label, const std::string& version)
{
    HTREEITEM entry = AddEntryRow(parent, "Method: " + label, version, MethodColour);
    AddRow(entry, "Description", "external stored procedure");
    return entry;
}

HTREEITEM ModuleEntries::AddEntryRow(HTREEITEM parent, const std::string& text, const std::string& version,
                                     COLORREF colour)
{
    HTREEITEM entry = AddRow(parent, text.c_str(), version);
    ColourRow(entry, colour);
    return entry;
}

HTREEITEM ModuleEntries::AddRow(HTREEITEM parent, const char* label, const std::string& value)
{
    HTREEITEM item = m_tree.InsertItem(label, parent, TVI_LAST);
    m_tree.SetItemText(item, 1, value.c_str());
    return item;
}

// Every column of the row, in the background colour with black text.
void ModuleEntries::ColourRow(HTREEITEM item, COLORREF background)
{
    int row = static_cast<int>(m_tree.SendMessage(TVM_GETITEMROW, 0, reinterpret_cast<LPARAM>(item)));
    HWND header = reinterpret_cast<HWND>(m_tree.SendMessage(TVM_GETHEADER, 0, 0));
    int columns = header ? Header_GetItemCount(header) : 0;
    for (int column = 0; column < columns; ++column)
        m_tree.SetCellColors(row, column, background, RGB(0, 0, 0));
}
