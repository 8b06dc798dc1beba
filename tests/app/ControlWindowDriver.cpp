#include "tests/app/ControlWindowDriver.h"

ControlWindowDriver::ControlWindowDriver(const std::vector<std::string>& databases)
{
    InstallServerWith(m_dir, m_service, databases);
    m_runner = std::make_unique<DialogRunner>();
    m_runner->TrayClick(WM_LBUTTONUP);
}

ControlWindowDriver::~ControlWindowDriver()
{
    m_runner.reset();
    m_service.Remove();
}
