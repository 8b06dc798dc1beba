// The control window over one database, "proba", whose catalogue a stand-in server
// serves; and what depends on the DPI in it, read from the real windows.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "StandinServer.h"
#include "tests/app/ControlWindowDriver.h"
#include "tests/catalog/ClientSettingsKey.h"
#include "tests/config/ConfigDir.h"

class ScaledWindow {
public:
    ScaledWindow();

    ControlWindowDriver& Window() { return *m_window; }
    TestDlg& Dlg() { return m_window->Dlg(); }
    HWND Hwnd() { return Dlg().GetSafeHwnd(); }
    bool ServerStarted() const { return m_started; }

    // The tree font's height and width.
    std::pair<LONG, LONG> TreeFont();
    std::vector<int> ColumnWidths();
    // Sides of the window's big and small icons.
    std::pair<int, int> WindowIconSides();
    // The labels of the rows shown that do not fit the first column or their row.
    std::vector<std::string> CutLabels();
    // Each heading's text, followed by " (cut)" when it does not fit its column.
    std::vector<std::string> Headings();

    // The side of an icon's image, and whether it has an alpha channel.
    static std::pair<int, bool> IconOf(HICON icon);

private:
    ConfigDir m_data;
    StandinServer m_server;
    bool m_started;
    ClientSettingsKey m_settings;
    std::unique_ptr<ControlWindowDriver> m_window;
};
