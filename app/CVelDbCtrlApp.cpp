#include "app/CVelDbCtrlApp.h"

#include <commctrl.h>

#include "app/CVelDbCtrlDlg.h"
#include "app/SingleInstance.h"
#include "utils/ComApartment.h"

BOOL CVelDbCtrlApp::InitInstance()
{
    // A second start (the Startup folder and a double-click, say) opens the first
    // copy's window instead of putting up an icon of its own.
    SingleInstance instance;
    if (instance.ClaimOrHandOver() != SingleInstance::Outcome::First)
        return FALSE;

    // The header and tooltip classes of the tree-list come from the common controls.
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES };
    InitCommonControlsEx(&controls);
    velutils::ComApartment com;

    CVelDbCtrlDlg dlg(&instance);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    instance.Publish(nullptr);
    return FALSE;
}
