// The program's icons at the sizes the system asks for: the tray's at the small-icon size
// of the tray's DPI, the window's caption and task-switcher icons at its own DPI. Made
// anew when the DPI changes; a new set replaces the old one only after the window and the
// tray have taken its icons.
#pragma once
#include <windows.h>

#include "utils/DpiScale.h"
#include "utils/UniqueHandle.h"

class ProgramIcons {
public:
    enum Tray { Application, Running, Stopped, Unavailable, TrayCount };

    // `tray`: the DPI of the notification area; `window`: the window's.
    void Load(HINSTANCE module, velutils::DpiScale tray, velutils::DpiScale window);

    HICON TrayIcon(Tray which) const { return m_tray[which].Get(); }
    HICON Big() const { return m_big.Get(); }
    HICON Small() const { return m_small.Get(); }
    // Which of the tray's icons `icon` is; Application where it is none of them.
    Tray Which(HICON icon) const;

private:
    static HICON LoadAt(HINSTANCE module, UINT id, int side);

    velutils::IconHandle m_tray[TrayCount];
    velutils::IconHandle m_big;
    velutils::IconHandle m_small;
};
