#include "app/CVelDbCtrlApp.h"

#include <commctrl.h>

#include "app/CVelDbCtrlDlg.h"

BOOL CVelDbCtrlApp::InitInstance()
{
    // The header and tooltip classes of the tree-list come from the common controls.
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES };
    InitCommonControlsEx(&controls);

    CVelDbCtrlDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
