// The rows of one additional module under a database's "Kiegészítő modulok" node: an
// entry row in its kind's colour (trigger, job or method) with its detail rows.
#pragma once
#include <string>

#include "treelist/CTreeListCtrl.h"

class RdmTable;

class ModuleEntries {
public:
    enum Kind { Trigger = 1, Job = 2, Method = 3 };

    static const COLORREF TriggerColour = RGB(220, 240, 220);
    static const COLORREF JobColour = RGB(220, 220, 240);
    static const COLORREF MethodColour = RGB(220, 220, 220);

    explicit ModuleEntries(CTreeListCtrl& tree) : m_tree(tree) {}

    // Appends the entries of one function: a trigger from the current "triggerlist" row,
    // the jobs of the list search just made on "jobs", or a plain method. The entry row
    // appended last is expanded.
    void AddModuleEntry(HTREEITEM parent, Kind kind, const std::string& label, RdmTable& tables,
                        RdmTable& triggerlist, RdmTable& tablespace, RdmTable& jobs, const std::string& version);

    // "BEFORE INSERT" ... "USER LOGOFF" for 0 to 10; empty for any other mode.
    static const char* ModeText(int mode);

private:
    HTREEITEM AddTrigger(HTREEITEM parent, const std::string& label, RdmTable& tables, RdmTable& triggerlist,
                         RdmTable& tablespace, const std::string& version);
    HTREEITEM AddJobs(HTREEITEM parent, const std::string& label, RdmTable& jobs, const std::string& version);
    HTREEITEM AddMethod(HTREEITEM parent, const std::string& label, const std::string& version);
    void AddObjectRows(HTREEITEM entry, long tableId, RdmTable& tables, RdmTable& tablespace);

    HTREEITEM AddEntryRow(HTREEITEM parent, const std::string& text, const std::string& version, COLORREF colour);
    HTREEITEM AddRow(HTREEITEM parent, const char* label, const std::string& value);
    void ColourRow(HTREEITEM item, COLORREF background);

    CTreeListCtrl& m_tree;
};
