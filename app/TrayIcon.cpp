#include "app/TrayIcon.h"

#include <cstddef>
#include <cstring>

static_assert(sizeof(void*) != 4 || offsetof(NOTIFYICONDATAA, hBalloonIcon) == 504,
              "icon record layout of 32-bit Windows");

DWORD TrayIcon::RecordSize()
{
    return static_cast<DWORD>(offsetof(NOTIFYICONDATAA, hBalloonIcon));
}

BOOL TrayIcon::Notify(Action action, const std::string& tip, HICON icon)
{
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof data);
    data.cbSize = RecordSize();
    data.hWnd = m_owner;
    data.uID = kIconId;
    if (action != Delete) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kCallbackMessage;
        data.hIcon = icon;
        size_t n = tip.size() < kTipChars ? tip.size() : kTipChars;
        memcpy(data.szTip, tip.data(), n);
    }
    m_lastResult = Shell_NotifyIconA(action, &data);
    m_lastAction = action;
    if (action != Delete) {
        m_tip = tip.substr(0, kTipChars);
        m_icon = icon;
    }
    if (action == Delete)
        m_shown = false;
    else if (m_lastResult)
        m_shown = true;
    else if (action == Modify)
        m_shown = false;    // the shell no longer has it
    return m_lastResult;
}
