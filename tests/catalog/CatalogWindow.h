// The catalogue browser over the databases of a velsrv.xml of its own, hosted as the
// control window hosts it, and driven as an operator does: keys on the tree, typing
// into the login dialog.
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

class CatalogWindow {
public:
    // The databases of velsrv.xml, in file order.
    explicit CatalogWindow(const std::vector<std::string>& databases);
    ~CatalogWindow();

    CatalogDlg& Dlg() { return m_dlg; }
    ServiceFixture& Service() { return m_service; }
    const ConfigDir& ServerDir() const { return m_dir; }

    HTREEITEM DatabasesRoot();
    HTREEITEM ParametersRoot();
    HTREEITEM Database(const std::string& name);
    HTREEITEM Modules(const std::string& database);   // its "Kiegészítő modulok" node

    // Selects the node and presses Right (expand) or Left (collapse); does not wait.
    void PressRight(HTREEITEM node);
    void PressLeft(HTREEITEM node);
    // Runs nothing on the window's thread: returns once it is free again.
    void WaitIdle();

    // The login dialog, when it appears within the time.
    HWND WaitForLogin(DWORD timeoutMs = 5000);
    // Types user and password, and when `other` is given, its first letter into the
    // database list; then presses Enter (or Escape) and waits for the work to finish.
    // False when the dialog did not come, or would not take Enter.
    bool AnswerLogin(const std::string& user, const std::string& password, const std::string& other = "",
                     bool ok = true);
    // The database the last login dialog offered when it opened.
    const std::string& OfferedDatabase() const { return m_offeredDatabase; }

    std::string Text(HTREEITEM item, int column);
    std::vector<HTREEITEM> Children(HTREEITEM parent);
    // Each row under `parent` as "label=value", its children indented by two blanks.
    std::vector<std::string> Rows(HTREEITEM parent, const std::string& indent = "");
    bool Expanded(HTREEITEM item);
    COLORREF CellColour(HTREEITEM item, int column, bool background);
    std::map<HTREEITEM, std::string> LoadedNodes();

private:
    void Press(HTREEITEM node, WPARAM key);

    ConfigDir m_dir;
    ServiceFixture m_service;
    CatalogDlg m_dlg;
    std::thread m_thread;
    std::string m_offeredDatabase;
};
