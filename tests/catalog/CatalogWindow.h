// The catalogue browser hosted as the control window hosts it, driven through TreeDriver.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "catalog/CatalogBrowser.h"
#include "config/ParameterView.h"
#include "framework/CDialog.h"
#include "tests/app/TestSupport.h"
#include "tests/catalog/TreeDriver.h"
#include "tests/config/ConfigDir.h"

// A dialog with the tree-list, the parameter view's branches with the databases of the
// server directory, and the browser behind the tree's expansion notice.
class CatalogDlg : public CDialog {
public:
    explicit CatalogDlg(const std::string& serverDir);

    // Runs `work` on the dialog's thread while its message loop waits.
    void RunOnUi(const std::function<void()>& work);

    CTreeListCtrl m_tree;
    CMenu m_menu;
    std::map<HTREEITEM, std::string> m_modules;
    ParameterView m_params;
    CatalogBrowser m_catalog;
    std::atomic<bool> started{ false };

protected:
    BOOL OnInitDialog() override;
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::string m_serverDir;
};

// The dialog over the databases of a velsrv.xml of its own, on a thread of its own.
class CatalogWindow : public TreeDriver {
public:
    // The databases of velsrv.xml, in file order.
    explicit CatalogWindow(const std::vector<std::string>& databases);
    ~CatalogWindow() override;

    CatalogDlg& Dlg() { return m_dlg; }
    const ConfigDir& ServerDir() const { return m_dir; }

protected:
    HWND Window() override { return m_dlg.GetSafeHwnd(); }
    void OnUi(const std::function<void()>& work) override { m_dlg.RunOnUi(work); }
    CTreeListCtrl& Tree() override { return m_dlg.m_tree; }
    HTREEITEM DatabasesRootOnUi() override { return m_dlg.m_params.DatabasesRoot(); }
    const std::map<HTREEITEM, std::string>& ModulesOnUi() override { return m_dlg.m_modules; }

private:
    ConfigDir m_dir;
    ServiceFixture m_service;
    CatalogDlg m_dlg;
    std::thread m_thread;
};
