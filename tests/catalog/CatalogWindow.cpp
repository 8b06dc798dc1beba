#include "tests/catalog/CatalogWindow.h"

#include <commctrl.h>

#include "res/resource.h"

namespace {

const UINT kRunMessage = WM_APP + 77;

}  // namespace

CatalogDlg::CatalogDlg(const std::string& serverDir)
    : CDialog(IDD_CONTROL_DIALOG), m_params(m_tree, m_menu), m_catalog(m_tree, m_modules), m_serverDir(serverDir) {}

void CatalogDlg::RunOnUi(const std::function<void()>& work)
{
    SendMessage(kRunMessage, 0, reinterpret_cast<LPARAM>(&work));
}

BOOL CatalogDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT client;
    GetClientRect(&client);
    m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, client, this, IDC_TREELIST);
    m_tree.InsertColumn(0, "", 0, 300);
    m_tree.InsertColumn(1, "", 0, 200);
    m_params.Build();
    m_params.FillDatabases(m_serverDir);
    started = true;
    return TRUE;
}

bool CatalogDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const auto* notify = reinterpret_cast<const NMTREEVIEWA*>(lParam);
    if (msg == kRunMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
    } else if (msg == WM_NOTIFY && notify->hdr.idFrom == IDC_TREELIST && notify->hdr.code == TVN_ITEMEXPANDEDA) {
        m_catalog.OnItemExpanded(*notify, m_params.DatabasesRoot());
    } else {
        return CDialog::OnWndMsg(msg, wParam, lParam, result);
    }
    result = 0;
    return true;
}

CatalogWindow::CatalogWindow(const std::vector<std::string>& databases) : m_dlg(m_dir.Path())
{
    InstallServerWith(m_dir, m_service, databases);
    m_thread = std::thread([this] { m_dlg.DoModal(); });
    WaitFor([this] { return m_dlg.started.load(); });
}

CatalogWindow::~CatalogWindow()
{
    if (m_dlg.GetSafeHwnd())
        PostMessageA(m_dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    m_thread.join();
    m_service.Remove();
}
