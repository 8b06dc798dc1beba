// Lazy loading of a database's additional modules: the first expansion of its
// "Kiegészítő modulok" node logs in (with the login dialog) and lists what the
// database's "SYSDB" catalogue holds. A loaded node stays so until the tree is rebuilt.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "treelist/CTreeListCtrl.h"

class CatalogBrowser {
public:
    using ModulesMap = std::map<HTREEITEM, std::string>;

    // `modules`: the control window's map of loaded nodes to their databases.
    CatalogBrowser(CTreeListCtrl& tree, ModulesMap& modules) : m_tree(tree), m_modules(modules) {}

    // TVN_ITEMEXPANDED of the tree; `databasesRoot` is the "Adatbázisok" node. Failures
    // are shown in the program's boxes; rows appended before a failure stay.
    void OnItemExpanded(const NMTREEVIEWA& notify, HTREEITEM databasesRoot);

private:
    bool IsUnloadedModulesNode(HTREEITEM node, HTREEITEM databasesRoot) const;
    void LoadRunningLoginDialog(HTREEITEM node, HTREEITEM databasesRoot);
    void MarkLoaded(HTREEITEM node, const std::string& database);

    CTreeListCtrl& m_tree;
    ModulesMap& m_modules;
};
