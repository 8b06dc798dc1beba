// The program's icon in the notification area, and the record of what was last sent
// to the shell for it (the shell's tray cannot be read back).
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

class TrayIcon {
public:
    enum Action { Add = NIM_ADD, Modify = NIM_MODIFY, Delete = NIM_DELETE };

    static const UINT kIconId = 128;
    static const UINT kCallbackMessage = 101;   // WM_TRAYNOTIFY
    static const size_t kTipChars = 127;
    static const size_t kBalloonTitleChars = 63;
    static const size_t kBalloonTextChars = 255;
    static const UINT kBalloonTimeoutMs = 10000;

    void Attach(HWND owner) { m_owner = owner; }

    // Sends the icon record to the shell; returns the shell's answer. An icon added
    // speaks the shell's version 4 where the shell has it: the keyboard reaches it, and
    // its notifications carry the icon id and the anchor point (see the control window).
    BOOL Notify(Action action, const std::string& tip, HICON icon);

    // A balloon from the icon (NIIF_WARNING, NIIF_INFO); only an icon that is there
    // can show one. Returns the shell's answer.
    BOOL ShowBalloon(const std::string& title, const std::string& text, DWORD infoFlags);

    // The tip the shell was last given, and whether the icon is there by our account.
    const std::string& Tip() const { return m_tip; }
    bool IsShown() const { return m_shown; }
    const std::string& BalloonText() const { return m_balloonText; }
    DWORD BalloonFlags() const { return m_balloonFlags; }
    int BalloonCount() const { return m_balloonCount; }

    // The size of the shell's icon record in the layout the program uses (504 bytes
    // on 32-bit Windows).
    static DWORD RecordSize();

private:
    HWND m_owner = nullptr;
    std::string m_tip;
    bool m_shown = false;
    std::string m_balloonText;
    DWORD m_balloonFlags = 0;
    int m_balloonCount = 0;     // balloons the shell took
};
