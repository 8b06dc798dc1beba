#include "app/VersionReport.h"

#include "framework/ResText.h"
#include "res/resource.h"
#include "utils/FileVersion.h"

namespace {

struct Component {
    unsigned labelId;
    const char* fileName;
    bool optional;
};

const Component kComponents[] = {
    { IDS_VER_SERVER, "veldbsrv.exe", false },
    { IDS_VER_ENGINE, "VELDB.dll", false },
    { IDS_VER_CLIENT, "Veldbcli.dll", false },
    { IDS_VER_LINK, "VelDbLink.dll", true },
    { IDS_VER_CONTROL, "veldbctrl.exe", false },
    { IDS_VER_MONITOR, "VelMonitor.exe", false },
    { IDS_VER_ARCHIVER, "VelArchiver.exe", false },
};

}  // namespace

HTREEITEM VersionReport::Build()
{
    m_root = m_tree.InsertItem(FormatResString(IDS_VERSION_INFO), TVI_ROOT, TVI_LAST);
    m_tree.SetItemState(m_root, 0, TVIS_BOLD, TVIS_BOLD);
    for (const Component& c : kComponents)
        AddVersionRow(c.labelId, c.fileName, c.optional);
    return m_root;
}

void VersionReport::AddVersionRow(unsigned labelId, const char* fileName, bool optional)
{
    FileVersion version;
    if (version.Read(fileName)) {
        HTREEITEM row = m_tree.InsertItem(FormatResString(labelId), m_root, TVI_LAST);
        m_tree.SetItemText(row, 1, version.ToString().c_str());
    } else if (!optional) {
        HTREEITEM row = m_tree.InsertItem(FormatResString(labelId), m_root, TVI_LAST);
        m_tree.SetItemText(row, 1, FormatResString(IDS_NOT_AVAILABLE));
    }
}
