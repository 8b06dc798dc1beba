// The control window: a hidden dialog beside the tray icon.
#pragma once
#include "framework/CDialog.h"
#include "treelist/CTreeListCtrl.h"

class CVelDbCtrlDlg : public CDialog {
public:
    CVelDbCtrlDlg();
    ~CVelDbCtrlDlg() override;

    CTreeListCtrl m_tree;
};
