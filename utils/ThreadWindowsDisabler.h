// Disables the top-level windows of the calling thread while a task-modal box is shown,
// and enables again exactly those it disabled.
#pragma once
#include <windows.h>

#include <vector>

namespace velutils {

class ThreadWindowsDisabler {
public:
    ThreadWindowsDisabler() = default;
    ~ThreadWindowsDisabler();
    ThreadWindowsDisabler(const ThreadWindowsDisabler&) = delete;
    ThreadWindowsDisabler& operator=(const ThreadWindowsDisabler&) = delete;

    // False when the thread's windows could not be enumerated (GetLastError tells why).
    bool DisableAll();
    void EnableAgain();

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM windows);

    std::vector<HWND> m_disabled;
};

}  // namespace velutils
