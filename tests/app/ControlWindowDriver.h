// The control window over a velsrv.xml of its own, opened from the tray, driven through TreeDriver.
#pragma once
#include <atomic>
#include <memory>

#include "tests/app/AppTestSupport.h"
#include "tests/catalog/TreeDriver.h"
#include "tests/config/ConfigDir.h"

class ControlWindowDriver : public TreeDriver {
public:
    // The databases of velsrv.xml, in file order.
    explicit ControlWindowDriver(const std::vector<std::string>& databases);
    // The service registered in a server directory without velsrv.xml; the window hidden.
    ControlWindowDriver();
    ~ControlWindowDriver() override;

    TestDlg& Dlg() { return m_runner->Dlg(); }
    DialogRunner& Runner() { return *m_runner; }
    const ConfigDir& ServerDir() const { return m_dir; }

    // Returns once the window's thread has handled every message posted to it so far.
    void WaitPosted();
    // What a second start of the program sends to the running copy.
    void SecondStart();

protected:
    HWND Window() override { return m_runner->Hwnd(); }
    void OnUi(const std::function<void()>& work) override { Dlg().RunOnUi(work); }
    CTreeListCtrl& Tree() override { return Dlg().m_tree; }
    HTREEITEM DatabasesRootOnUi() override { return Dlg().m_params.DatabasesRoot(); }
    const std::map<HTREEITEM, std::string>& ModulesOnUi() override { return Dlg().m_modules; }

private:
    ConfigDir m_dir;
    ServiceFixture m_service;
    std::unique_ptr<DialogRunner> m_runner;
    std::atomic<bool> m_posted{ false };
    std::function<void()> m_markPosted;
};
