#include "tests/app/ControlWindowDriver.h"

#include "app/SingleInstance.h"

ControlWindowDriver::ControlWindowDriver(const std::vector<std::string>& databases)
{
    InstallServerWith(m_dir, m_service, databases);
    m_runner = std::make_unique<DialogRunner>();
    m_runner->TrayClick(WM_LBUTTONUP);
}

ControlWindowDriver::ControlWindowDriver()
{
    m_service.Install(m_dir.Path() + "veldbsrv.exe");
    m_runner = std::make_unique<DialogRunner>();
}

ControlWindowDriver::~ControlWindowDriver()
{
    m_runner.reset();
    m_service.Remove();
}

void ControlWindowDriver::WaitPosted()
{
    m_posted = false;
    m_markPosted = [this] { m_posted = true; };
    PostMessageA(m_runner->Hwnd(), TestDlg::kRunMessage, 0, reinterpret_cast<LPARAM>(&m_markPosted));
    WaitFor([this] { return m_posted.load(); });
}

void ControlWindowDriver::SecondStart() { SendMessageA(m_runner->Hwnd(), SingleInstance::ShowMessage(), 0, 0); }
