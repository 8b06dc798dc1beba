// The control window without a mouse: the popup menu from the keyboard, and the tray
// icon's keyboard and version 4 notifications.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "res/resource.h"
#include "tests/app/ControlWindowDriver.h"

namespace {

// The tray's notification as a version 4 shell sends it: the icon's id above the
// message, the icon's anchor in wParam.
void TrayNotify(HWND window, UINT message, bool post = false, WPARAM anchor = 0)
{
    LPARAM what = MAKELPARAM(message, TrayIcon::kIconId);
    post ? PostMessageA(window, CVelDbCtrlDlg::WM_TRAYNOTIFY, anchor, what)
         : SendMessageA(window, CVelDbCtrlDlg::WM_TRAYNOTIFY, anchor, what);
}

// Pressed and released, with Shift held around them when asked.
void PressKeys(std::initializer_list<WORD> keys, bool shift = false)
{
    std::vector<INPUT> input;
    auto add = [&](WORD key, DWORD flags) {
        input.push_back(INPUT{ INPUT_KEYBOARD, {} });
        input.back().ki = KEYBDINPUT{ key, 0, flags, 0, 0 };
    };
    if (shift)
        add(VK_SHIFT, 0);
    for (WORD key : keys) {
        add(key, 0);
        add(key, KEYEVENTF_KEYUP);
    }
    if (shift)
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

class KeyboardAccess : public ::testing::Test {
protected:
    HWND Window() { return window.Dlg().GetSafeHwnd(); }
    HWND Tree() { return window.Dlg().m_tree.GetSafeHwnd(); }
    DWORD Thread() { return GetWindowThreadProcessId(Window(), nullptr); }

    // The window in front with the keyboard in the tree, as it opens.
    bool FocusInTree()
    {
        HWND focus = nullptr;
        window.Dlg().RunOnUi([&] {
            SetForegroundWindow(Window());
            focus = GetFocus();
        });
        return focus == Tree();
    }
    // The popup menu's top left corner once it shows; far off when it does not.
    POINT MenuAt()
    {
        RECT r = { -9999, -9999, 0, 0 };
        WaitFor([&] { return GetWindowRect(FindPopupMenu(Thread()), &r) != FALSE; });
        return POINT{ r.left, r.top };
    }
    bool CloseMenu(bool escape = true)
    {
        HWND menu = FindPopupMenu(Thread());
        if (escape && menu)
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return WaitFor([&] { return FindPopupMenu(Thread()) == nullptr; });
    }
    size_t Databases() { return window.Children(window.DatabasesRoot()).size(); }

    ControlWindowDriver window{ { "konyveles", "raktar", "proba" } };
};

// The Apps key and Shift+F10 on the tree open the popup menu below the caret's label;
// Up, Up, Enter chooses "Hálózat zárolva", which writes the lock and moves its check mark.
TEST_F(KeyboardAccess, ContextKeysOpenTheMenuAtTheCaretAndItsCommandsWork)
{
    ASSERT_TRUE(FocusInTree());
    RECT label = {};
    window.Dlg().RunOnUi([&] { window.Dlg().m_tree.GetItemRect(window.Dlg().m_tree.GetRootItem(), &label, TRUE); });
    MapWindowPoints(Tree(), nullptr, reinterpret_cast<POINT*>(&label), 2);
    bool locked = window.Dlg().NetLocked();

    PressKeys({ VK_APPS });
    POINT at = MenuAt();
    EXPECT_EQ(label.left, at.x);
    EXPECT_EQ(label.bottom, at.y);
    PressKeys({ VK_UP, VK_UP, VK_RETURN });
    EXPECT_TRUE(CloseMenu(false));
    EXPECT_TRUE(WaitFor([&] { return window.Dlg().NetLocked() != locked; }));

    ASSERT_TRUE(FocusInTree());
    PressKeys({ VK_F10 }, true);
    EXPECT_EQ(label.left, MenuAt().x);
    EXPECT_TRUE(CloseMenu());
    // An older shell's right click on the icon opens the same menu.
    PostMessageA(Window(), CVelDbCtrlDlg::WM_TRAYNOTIFY, TrayIcon::kIconId, WM_RBUTTONUP);
    EXPECT_NE(-9999, MenuAt().x);
    EXPECT_TRUE(CloseMenu());
}

// Enter and Esc are real key presses: they reach the tree, which has the focus, through
// the window's own message loop.
TEST_F(KeyboardAccess, EnterAndEscapeHideToTheTray)
{
    for (WORD key : { VK_RETURN, VK_ESCAPE }) {
        window.Runner().TrayClick(WM_LBUTTONUP);
        ASSERT_TRUE(FocusInTree());
        PressKeys({ key });
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(Window()) && TrayIconExists(Window()); })) << key;
    }
}

// Enter or Space on the icon (NIN_KEYSELECT) and a click of a version 4 shell (the button's
// release, then NIN_SELECT) open the window once; the icon's WM_CONTEXTMENU shows the
// menu at the icon's anchor, while the release before it does nothing.
TEST_F(KeyboardAccess, TrayKeyboardAndVersion4ClicksActOnce)
{
    const size_t listed = Databases();
    ASSERT_EQ(3u, listed);
    for (UINT click : { UINT(NIN_KEYSELECT), UINT(WM_LBUTTONUP) }) {
        window.Runner().Hide();
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(Window()) && TrayIconExists(Window()); }));
        TrayNotify(Window(), click);
        TrayNotify(Window(), NIN_SELECT);
        EXPECT_TRUE(IsWindowVisible(Window()));
        EXPECT_FALSE(TrayIconExists(Window()));
        EXPECT_EQ(listed, Databases()) << click;
    }

    window.Runner().Hide();
    TrayNotify(Window(), WM_RBUTTONUP, true);
    Sleep(300);
    EXPECT_EQ(nullptr, FindPopupMenu(Thread()));
    CloseMenu();
    TrayNotify(Window(), WM_CONTEXTMENU, true, MAKEWPARAM(200, 150));
    POINT at = MenuAt();
    EXPECT_EQ(200, at.x);
    EXPECT_EQ(150, at.y);
    EXPECT_TRUE(CloseMenu());
}

}  // namespace
