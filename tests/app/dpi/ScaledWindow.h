// The control window over one database, "proba", whose catalogue a stand-in server
// serves; and what depends on the DPI in it, read from the real windows.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "StandinServer.h"
#include "tests/app/ControlWindowDriver.h"
#include "tests/catalog/ClientSettingsKey.h"
#include "tests/config/ConfigDir.h"

struct TreeFontSize {
    LONG height;
    LONG width;
};

class ScaledWindow {
public:
    ScaledWindow();

    ControlWindowDriver& Window() { return *m_window; }
    TestDlg& Dlg() { return m_window->Dlg(); }
    HWND Hwnd() { return Dlg().GetSafeHwnd(); }
    bool ServerStarted() const { return m_started; }

    TreeFontSize TreeFont();
    std::vector<int> ColumnWidths();
    // Sides of the window's big and small icons.
    SIZE WindowIconSides();
    // The labels of the rows shown that do not fit the first column or their row.
    std::vector<std::string> CutLabels();
    // Each heading that does not fit its column, with the sizes.
    std::vector<std::string> CutHeadings();

    // The side of an icon's image and whether it has colours of 32 bits.
    static int IconSide(HICON icon);
    static bool HasAlpha(HICON icon);

private:
    ConfigDir m_data;
    StandinServer m_server;
    bool m_started;
    ClientSettingsKey m_settings;
    std::unique_ptr<ControlWindowDriver> m_window;
};
