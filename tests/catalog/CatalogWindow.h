// The control window over a velsrv.xml of its own, opened from the tray so that its
// databases are listed, and driven as an operator does: keys on the tree, typing into
// the login dialog.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/app/AppTestSupport.h"
#include "tests/config/ConfigDir.h"

class CatalogWindow {
public:
    // The databases of velsrv.xml, in file order.
    explicit CatalogWindow(const std::vector<std::string>& databases);
    ~CatalogWindow();

    TestDlg& Dlg() { return m_runner->Dlg(); }
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
    // Returns once the window's thread has handled every message posted to it so far.
    void WaitPosted();
    // What a second start of the program sends to the running copy.
    void SecondStart();

    // The login dialog, when it appears within the time.
    HWND WaitForLogin(DWORD timeoutMs = 5000);
    // Types user and password over what the fields hold, and when `other` is given, its
    // first letter into the database list; then presses Enter (or Escape). False when
    // the dialog did not come, or would not take Enter.
    bool TypeLogin(const std::string& user, const std::string& password, const std::string& other = "",
                   bool ok = true);
    // The same, and waits for the work to finish.
    bool AnswerLogin(const std::string& user, const std::string& password, const std::string& other = "",
                     bool ok = true);
    // The texts of the box of a refused login (joined by "|"), once it is closed with
    // Enter; empty when no box came.
    std::string AnswerRefusal();
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
    std::unique_ptr<DialogRunner> m_runner;
    std::string m_offeredDatabase;
    std::atomic<bool> m_posted{ false };
    std::function<void()> m_markPosted;
};
