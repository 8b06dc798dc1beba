// A menu loaded from the resources; destroyed with its object.
#pragma once
#include <windows.h>

#include "utils/UniqueHandle.h"

class CMenu {
public:
    BOOL LoadMenu(UINT id);
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_menu.Get(); }
    HMENU GetSubMenu(int position) const;

    // Items addressed by command id, anywhere in the menu and its submenus.
    UINT EnableMenuItem(UINT id, UINT enable);
    UINT CheckMenuItem(UINT id, UINT check);
    UINT GetMenuState(UINT id, UINT flags) const;

private:
    velutils::MenuHandle m_menu;
};
