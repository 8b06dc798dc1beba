#include "app/CVelDbCtrlDlg.h"

#include "res/resource.h"

CVelDbCtrlDlg::CVelDbCtrlDlg() : CDialog(IDD_CONTROL_DIALOG) {}

CVelDbCtrlDlg::~CVelDbCtrlDlg() = default;
