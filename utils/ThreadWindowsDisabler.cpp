#include "utils/ThreadWindowsDisabler.h"

namespace velutils {

ThreadWindowsDisabler::~ThreadWindowsDisabler()
{
    EnableAgain();
}

bool ThreadWindowsDisabler::DisableAll()
{
    std::vector<HWND> windows;
    SetLastError(ERROR_SUCCESS);
    // FALSE also means "no windows", which is no failure.
    if (!EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&windows))
        && GetLastError() != ERROR_SUCCESS)
        return false;
    for (HWND window : windows)
        if (IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            m_disabled.push_back(window);
        }
    return true;
}

void ThreadWindowsDisabler::EnableAgain()
{
    for (HWND window : m_disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    m_disabled.clear();
}

BOOL CALLBACK ThreadWindowsDisabler::Collect(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

}  // namespace velutils
