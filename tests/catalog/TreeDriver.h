// Drives a window that lists the databases of a velsrv.xml as an operator does: keys on the
// tree, typing into the login dialog. The host says which tree it is and runs work on its thread.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "treelist/CTreeListCtrl.h"

class ConfigDir;
class ServiceFixture;

class TreeDriver {
public:
    virtual ~TreeDriver() = default;

    HTREEITEM DatabasesRoot();
    HTREEITEM ParametersRoot();
    HTREEITEM Database(const std::string& name);
    HTREEITEM Modules(const std::string& database);   // its "Kiegészítő modulok" node

    // Selects the node and presses Right (expand) or Left (collapse); does not wait.
    void PressRight(HTREEITEM node) { Press(node, VK_RIGHT); }
    void PressLeft(HTREEITEM node) { Press(node, VK_LEFT); }
    // Runs nothing on the window's thread: returns once it is free again.
    void WaitIdle() { OnUi([] {}); }

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
    bool Bold(HTREEITEM item);
    COLORREF CellColour(HTREEITEM item, int column, bool background);
    std::map<HTREEITEM, std::string> LoadedNodes();

protected:
    virtual HWND Window() = 0;
    virtual void OnUi(const std::function<void()>& work) = 0;
    // Read on the window's thread only.
    virtual CTreeListCtrl& Tree() = 0;
    virtual HTREEITEM DatabasesRootOnUi() = 0;
    virtual const std::map<HTREEITEM, std::string>& ModulesOnUi() = 0;

private:
    template <class T>
    T ReadOnUi(const std::function<T()>& read)
    {
        T value{};
        OnUi([&] { value = read(); });
        return value;
    }
    void Press(HTREEITEM node, WPARAM key);
    bool HasState(HTREEITEM item, UINT state);

    std::string m_offeredDatabase;
};

// A velsrv.xml in `dir` that lists the databases in this order, and the stand-in
// server registered as the service, with its program in that directory.
void InstallServerWith(ConfigDir& dir, ServiceFixture& service, const std::vector<std::string>& databases);
