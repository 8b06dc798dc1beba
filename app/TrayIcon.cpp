#include "app/TrayIcon.h"

#include <cstddef>
#include <cstring>

namespace {

void CopyText(char* field, size_t chars, const std::string& text)
{
    size_t n = text.size() < chars ? text.size() : chars;
    memcpy(field, text.data(), n);
}

}  // namespace

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
        // A version 4 shell shows the standard tip only when asked to.
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
        data.uCallbackMessage = kCallbackMessage;
        data.hIcon = icon;
        CopyText(data.szTip, kTipChars, tip);
    }
    BOOL result = Shell_NotifyIconA(action, &data);
    if (action == Add && result) {
        data.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconA(NIM_SETVERSION, &data);
    }
    if (action != Delete)
        m_tip = tip.substr(0, kTipChars);
    if (action == Delete)
        m_shown = false;
    else if (result)
        m_shown = true;
    else if (action == Modify)
        m_shown = false;    // the shell no longer has it
    return result;
}

BOOL TrayIcon::ShowBalloon(const std::string& title, const std::string& text, DWORD infoFlags)
{
    if (!m_shown)
        return FALSE;
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof data);
    data.cbSize = RecordSize();
    data.hWnd = m_owner;
    data.uID = kIconId;
    data.uFlags = NIF_INFO;
    CopyText(data.szInfoTitle, kBalloonTitleChars, title);
    CopyText(data.szInfo, kBalloonTextChars, text);
    data.uTimeout = kBalloonTimeoutMs;
    data.dwInfoFlags = infoFlags;
    BOOL shown = Shell_NotifyIconA(NIM_MODIFY, &data);
    if (shown) {
        m_balloonText = text.substr(0, kBalloonTextChars);
        m_balloonFlags = infoFlags;
        ++m_balloonCount;
    }
    return shown;
}
