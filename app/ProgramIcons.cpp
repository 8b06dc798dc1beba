#include "app/ProgramIcons.h"

#include "res/resource.h"

void ProgramIcons::Load(HINSTANCE module, velutils::DpiScale tray, velutils::DpiScale window)
{
    static const UINT ids[TrayCount] = { IDR_MAINFRAME, IDI_RUNNING, IDI_STOPPED, IDI_UNAVAILABLE };
    const int traySide = tray.SystemMetric(SM_CXSMICON);
    for (int i = 0; i < TrayCount; ++i)
        m_tray[i].Reset(LoadAt(module, ids[i], traySide));
    m_big.Reset(LoadAt(module, IDR_MAINFRAME, window.SystemMetric(SM_CXICON)));
    m_small.Reset(LoadAt(module, IDR_MAINFRAME, window.SystemMetric(SM_CXSMICON)));
}

ProgramIcons::Tray ProgramIcons::Which(HICON icon) const
{
    for (int i = 0; i < TrayCount; ++i)
        if (icon && m_tray[i].Get() == icon)
            return static_cast<Tray>(i);
    return Application;
}

// The image of that size from the icon resource (Windows scales the nearest one where
// the resource has none of that size).
HICON ProgramIcons::LoadAt(HINSTANCE module, UINT id, int side)
{
    return static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
}
