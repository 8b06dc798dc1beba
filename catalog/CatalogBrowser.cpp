#include "catalog/CatalogBrowser.h"

#include <string>

#include "catalog/CatalogReader.h"
#include "dbclient/DbDescMap.h"
#include "dbclient/VelConn.h"
#include "framework/ResText.h"
#include "res/resource.h"
#include "utils/ExceptionDisplay.h"

namespace {

const UINT kNowExpanded = 1;            // bit 0 of the action of TVN_ITEMEXPANDED
const char kSysDb[] = "SYSDB";
const int kOpenMode = 0;

}  // namespace

void CatalogBrowser::OnItemExpanded(const NMTREEVIEWA& notify, HTREEITEM databasesRoot)
{
    if (!(notify.action & kNowExpanded))
        return;
    HTREEITEM node = notify.itemNew.hItem;
    if (!IsUnloadedModulesNode(node, databasesRoot))
        return;
    RunShowingFailures([&] { LoadRunningLoginDialog(node, databasesRoot); }, VEL_ERRPOS("NULL"));
}

// A "Kiegészítő modulok" node of a database under "Adatbázisok", not loaded yet.
bool CatalogBrowser::IsUnloadedModulesNode(HTREEITEM node, HTREEITEM databasesRoot) const
{
    // The parameter view labels the node with the same string.
    const std::string modules = FormatResString(IDS_EXT_MODULES);
    const char* text = node ? m_tree.GetItemText(node, 0) : nullptr;
    if (!text || modules.empty() || modules != text)
        return false;
    HTREEITEM database = m_tree.GetParentItem(node);
    if (!database || !databasesRoot || m_tree.GetParentItem(database) != databasesRoot)
        return false;
    return m_modules.find(node) == m_modules.end();
}

// The connection, the descriptions and the tables live for this one expansion; they are
// released (and the connection ended) on every path out of here.
void CatalogBrowser::LoadRunningLoginDialog(HTREEITEM node, HTREEITEM databasesRoot)
{
    const char* text = m_tree.GetItemText(m_tree.GetParentItem(node), 0);
    std::string database = text ? text : "";       // the control's copy may go during the dialog
    VelConn connection;
    DbDescMap descriptions;
    if (!connection.Login(database, "", "", true))
        return;
    // The dialog ran a message loop: the tree may have changed under it.
    if (!IsUnloadedModulesNode(node, databasesRoot))
        return;
    MarkLoaded(node, connection.Database());
    descriptions.SetHandle(connection.Handle());
    descriptions.OpenTablespace(kSysDb, DbDescMap::SysDbNumber, kOpenMode, false);
    DbDesc sysDb = descriptions.GetDbByName("sysdb");
    CatalogReader(m_tree, node, sysDb).AddLibraries();
}

// The placeholder gives way to the content; from now on the node counts as loaded.
void CatalogBrowser::MarkLoaded(HTREEITEM node, const std::string& database)
{
    if (HTREEITEM placeholder = m_tree.GetChildItem(node))
        m_tree.DeleteItem(placeholder);
    m_modules[node] = database;
}
