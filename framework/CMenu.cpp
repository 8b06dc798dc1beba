#include "framework/CMenu.h"

#include "framework/CWinApp.h"

BOOL CMenu::LoadMenu(UINT id)
{
    m_menu.Reset(::LoadMenuA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(id)));
    return m_menu ? TRUE : FALSE;
}

BOOL CMenu::DestroyMenu()
{
    BOOL had = m_menu ? TRUE : FALSE;
    m_menu.Reset();
    return had;
}

HMENU CMenu::GetSubMenu(int position) const
{
    return m_menu ? ::GetSubMenu(m_menu.Get(), position) : nullptr;
}

UINT CMenu::EnableMenuItem(UINT id, UINT enable)
{
    return ::EnableMenuItem(m_menu.Get(), id, enable | MF_BYCOMMAND);
}

UINT CMenu::CheckMenuItem(UINT id, UINT check)
{
    return ::CheckMenuItem(m_menu.Get(), id, check | MF_BYCOMMAND);
}

UINT CMenu::GetMenuState(UINT id, UINT flags) const
{
    return ::GetMenuState(m_menu.Get(), id, flags | MF_BYCOMMAND);
}
