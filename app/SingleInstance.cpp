#include "app/SingleInstance.h"

namespace {

const DWORD kRetryMs = 100;

}  // namespace

std::string SingleInstance::RecordName()
{
    char user[256] = "";
    DWORD size = sizeof user;
    if (!GetUserNameA(user, &size))
        user[0] = '\0';
    return std::string("Local\\veldbctrl.instance.") + user;
}

UINT SingleInstance::ShowMessage()
{
    static const UINT message = RegisterWindowMessageA("veldbctrl.ShowControlWindow");
    return message;
}

SingleInstance::Outcome SingleInstance::ClaimOrHandOver(DWORD waitMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        bool existed = false;
        // Without the record there is no way to coordinate: better two icons than none.
        if (!Open(existed) || !existed)
            return Outcome::First;
        if (HandOver())
            return Outcome::HandedOver;
        // The other copy is still starting, or ending: once it has gone, the record
        // goes with the last handle to it and this start becomes the first.
        Close();
        if (GetTickCount() - start >= waitMs)
            return Outcome::NoWindow;
        Sleep(kRetryMs);
    }
}

void SingleInstance::Publish(HWND window)
{
    if (!m_view)
        return;
    auto* record = static_cast<Record*>(m_view.Get());
    InterlockedExchange(&record->window, static_cast<LONG>(reinterpret_cast<LONG_PTR>(window)));
}

bool SingleInstance::Open(bool& existed)
{
    std::string name = RecordName();
    m_mapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Record),
                                       name.c_str()));
    existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (!m_mapping)
        return false;
    m_view.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(Record)));
    if (!m_view) {
        m_mapping.Reset();
        return false;
    }
    return true;
}

void SingleInstance::Close()
{
    m_view.Reset();
    m_mapping.Reset();
}

// Lets the running copy come to the foreground and asks it to open its window.
bool SingleInstance::HandOver()
{
    auto* record = static_cast<Record*>(m_view.Get());
    LONG value = InterlockedCompareExchange(&record->window, 0, 0);
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(value));
    if (!window || !IsWindow(window))
        return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    AllowSetForegroundWindow(processId);
    return PostMessageA(window, ShowMessage(), 0, 0) != FALSE;
}
