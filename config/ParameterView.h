// The "Szerver paraméterek" and "Adatbázisok" branches of the control window: the
// server's parameters and one node per database, as the configuration file has them.
#pragma once
#include <string>

#include "config/VelServerConfig.h"
#include "framework/CMenu.h"
#include "treelist/CTreeListCtrl.h"

class ParameterView {
public:
    enum Row {
        ServerDir, ArchiveHome, DbHome, DebugLog, SyncTimeout, AllowSameUid, ClientCheck,
        MaxConnections, Port, ServerLocked, NetLocked, RowCount
    };

    ParameterView(CTreeListCtrl& tree, CMenu& menu) : m_tree(tree), m_menu(menu) {}

    // Appends both branches with their labels only; the tree was just emptied.
    void Build();
    // Sets the parameter values and the network-lock check mark of the menu.
    void FillParameters(const std::string& serverDir);
    // Appends one node per database under "Adatbázisok", which has no children yet.
    void FillDatabases(const std::string& serverDir);

    HTREEITEM DatabasesRoot() const { return m_databases; }

    // "[all][append/update/delete]..." for a "debuglog" bit mask; "[no]" for 0.
    static std::string DebugLogText(long long mask);
    // Leading blanks, an optional sign and the leading digits; no digits read as 0.
    static long long LeadingNumber(const std::string& text);
    // The largest number of parallel client connections the client library reports;
    // empty when it cannot tell.
    static std::string MaxConnectionsText();

private:
    HTREEITEM AppendLabelRow(HTREEITEM parent, unsigned labelId, bool bold = false);
    void SetRowValue(Row row, const std::string& value);
    void AppendDatabase(const VelServerConfig& file, const std::string& name);

    CTreeListCtrl& m_tree;
    CMenu& m_menu;
    HTREEITEM m_parameters = nullptr;
    HTREEITEM m_databases = nullptr;
    HTREEITEM m_rows[RowCount] = {};
};
