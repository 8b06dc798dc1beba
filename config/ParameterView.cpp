#include "config/ParameterView.h"

#include <cctype>
#include <climits>
#include <vector>

#include "config/VelServerConfig.h"
#include "dbclient/ClientLibrary.h"
#include "dbclient/FunctionLoader.h"
#include "framework/ResText.h"
#include "res/resource.h"
#include "utils/DbDescError.h"
#include "utils/VelDateTime.h"

namespace {

const unsigned kRowLabels[ParameterView::RowCount] = {
    IDS_SERVER_DIR, IDS_ARCHIVE_HOME, IDS_DB_HOME, IDS_DEBUG_LOG, IDS_SYNC_TIMEOUT, IDS_ALLOW_SAME_UID,
    IDS_CLIENT_CHECK, IDS_MAX_CONNECTIONS, IDS_PORT, IDS_SERVER_LOCKED, IDS_NET_LOCKED,
};

const char* const kDebugLogLevels[] = {
    "[all]", "[append/update/delete]", "[tranasactions]", "[logon/logoff] ", "[select]",
    "[params]", "[cursor]", "[lock]", "[ddl]", "[performance]",
};

struct DatabaseRow {
    unsigned labelId;
    const char* attribute;
};

const DatabaseRow kDatabaseRows[] = {
    { IDS_DB_PATH, "regdbpath" },         { IDS_DB_SESSION, "reglmgrname" },
    { IDS_DB_PARAM_FILE, "regcompdatafname" }, { IDS_DB_DATA_CACHE, "regdbpages" },
    { IDS_DB_TRANS_CACHE, "regowlpages" }, { IDS_DB_ARCHIVE_PATH, "archivepath" },
    { IDS_DB_STARTED, "dbstart" },
};

bool IsSet(VelServerConfig& config, const char* attribute, std::string& value)
{
    return config.GetValue(attribute, value) == VelServerConfig::Success;
}

const char* YesNo(bool yes)
{
    return FormatResString(yes ? IDS_YES : IDS_NO);
}

}  // namespace

void ParameterView::Build()
{
    m_parameters = AppendLabelRow(TVI_ROOT, IDS_SERVER_PARAMS, true);
    for (int row = 0; row < RowCount; ++row)
        m_rows[row] = AppendLabelRow(m_parameters, kRowLabels[row]);
    m_databases = AppendLabelRow(TVI_ROOT, IDS_DATABASES, true);
}

void ParameterView::FillParameters(const std::string& serverDir)
{
    VelServerConfig config(serverDir, "velsrv");
    std::string value;
    SetRowValue(ServerDir, serverDir);
    if (IsSet(config, "archivehome", value))
        SetRowValue(ArchiveHome, value);
    if (IsSet(config, "dbhome", value))
        SetRowValue(DbHome, value);
    if (IsSet(config, "debuglog", value))
        SetRowValue(DebugLog, DebugLogText(LeadingNumber(value)));
    if (IsSet(config, "synctimeout", value))
        SetRowValue(SyncTimeout, value + " ms");
    if (IsSet(config, "allowsameuid", value))
        SetRowValue(AllowSameUid, FormatResString(value == "0" ? IDS_FORBIDDEN : IDS_SUPPORTED));
    if (IsSet(config, "clientchecktimeout", value))
        SetRowValue(ClientCheck, value + " ms");
    SetRowValue(MaxConnections, MaxConnectionsText());
    if (IsSet(config, "listen_on_port", value))
        SetRowValue(Port, value);
    SetRowValue(ServerLocked, YesNo(IsSet(config, "state", value) && value != "0"));
    if (!IsSet(config, "net_lock", value)) {
        SetRowValue(NetLocked, YesNo(false));           // the check mark keeps its state
        return;
    }
    bool locked = value == "true" || value == "1";
    SetRowValue(NetLocked, YesNo(locked));
    m_menu.CheckMenuItem(ID_NET_LOCK, locked ? MF_CHECKED : MF_UNCHECKED);
}

void ParameterView::FillDatabases(const std::string& serverDir)
{
    std::vector<std::string> names;
    VelServerConfig config(serverDir, "velsrv");
    if (config.GetDatabaseNames(names) != VelServerConfig::Success)
        names.clear();
    for (const std::string& name : names)
        AppendDatabase(config, name);
}

// Each database's settings come from the same reading of the file as its name.
void ParameterView::AppendDatabase(const VelServerConfig& file, const std::string& name)
{
    HTREEITEM node = m_tree.InsertItem(name.c_str(), m_databases, TVI_LAST);
    m_tree.SetItemState(node, 0, TVIS_BOLD, TVIS_BOLD);
    VelServerConfig config(file, "databases/" + name);
    std::string value;
    for (const DatabaseRow& row : kDatabaseRows) {
        if (!IsSet(config, row.attribute, value))
            continue;
        if (row.labelId == IDS_DB_STARTED)
            value = velDate::StartTimeText(LeadingNumber(value));
        HTREEITEM item = AppendLabelRow(node, row.labelId);
        m_tree.SetItemText(item, 1, value.c_str());
    }
    HTREEITEM modules = AppendLabelRow(node, IDS_EXT_MODULES, true);
    m_tree.InsertItem("", modules, TVI_LAST);          // lets the node be expanded
}

HTREEITEM ParameterView::AppendLabelRow(HTREEITEM parent, unsigned labelId, bool bold)
{
    HTREEITEM item = m_tree.InsertItem(FormatResString(labelId), parent, TVI_LAST);
    if (bold)
        m_tree.SetItemState(item, 0, TVIS_BOLD, TVIS_BOLD);
    return item;
}

void ParameterView::SetRowValue(Row row, const std::string& value)
{
    m_tree.SetItemText(m_rows[row], 1, value.c_str());
}

std::string ParameterView::DebugLogText(long long mask)
{
    std::string text = mask == 0 ? "[no]" : "";
    for (unsigned bit = 0; bit < sizeof kDebugLogLevels / sizeof kDebugLogLevels[0]; ++bit)
        if (mask & (1LL << bit))
            text += kDebugLogLevels[bit];
    return text;
}

long long ParameterView::LeadingNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && isdigit(static_cast<unsigned char>(text[i])); ++i) {
        int digit = text[i] - '0';
        if (value > (LLONG_MAX - digit) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;     // saturates instead of wrapping
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::string ParameterView::MaxConnectionsText()
{
    try {
        auto getMaxuser = FunctionLoader::Instance().Checked<veldbcli::GetMaxuserFn>(FunctionLoader::GetMaxuser);
        int maxUsers = 0;
        if (getMaxuser(&maxUsers) == 0)
            return std::to_string(maxUsers);
    } catch (const DbDescError&) {
        // No client library, or one without the entry: the number is not known.
    }
    return std::string();
}
