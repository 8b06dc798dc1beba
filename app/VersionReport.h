// The "Verzió információk" branch: the installed server components with their file
// versions, read from the files on disk each time it is built.
#pragma once
#include "treelist/CTreeListCtrl.h"

class VersionReport {
public:
    explicit VersionReport(CTreeListCtrl& tree) : m_tree(tree) {}

    // Appends the branch at the top level and returns its item.
    HTREEITEM Build();

private:
    void AddVersionRow(unsigned labelId, const char* fileName, bool optional);

    CTreeListCtrl& m_tree;
    HTREEITEM m_root = nullptr;
};
