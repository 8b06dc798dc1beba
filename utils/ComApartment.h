// The calling thread in a single-threaded COM apartment while the owner lives: a screen
// reader's calls on the windows' accessibility objects then arrive on the thread that
// runs the windows, through its message loop.
#pragma once
#include <objbase.h>

namespace velutils {

class ComApartment {
public:
    ComApartment() : m_entered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (m_entered)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_entered;
};

}  // namespace velutils
