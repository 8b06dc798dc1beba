// A screen reader's side of a window: its accessibility object read, and its WinEvents
// heard, on a thread of the reader's own (COM's multithreaded apartment), while the
// thread that runs the test serves its windows' messages.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "utils/ComPtr.h"

// One child of an object as a reader reads it (id 0: the object itself).
struct AccessibleRow {
    LONG id = 0;
    std::string name, value, description, action;
    LONG role = 0, state = 0;
    RECT location = {};
};

struct HeardEvent {
    DWORD event;
    LONG child;
    bool operator==(const HeardEvent& other) const { return event == other.event && child == other.child; }
};

class ReaderThread {
public:
    ReaderThread();
    ~ReaderThread();
    ReaderThread(const ReaderThread&) = delete;
    ReaderThread& operator=(const ReaderThread&) = delete;

    // Runs `work` on the reader's thread and waits, serving this thread's messages.
    void Run(const std::function<void()>& work);

    // From now on the client area's events of `window` are heard.
    void Listen(HWND window);
    // What was heard since the last call, once everything raised before it has arrived.
    std::vector<HeardEvent> Heard();

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD);
    void Loop();

    std::thread m_thread;
    HANDLE m_wake;
    std::function<void()> m_work;
    std::atomic<bool> m_busy{ false };
    std::atomic<bool> m_stop{ false };
    HWINEVENTHOOK m_hook = nullptr;
    HWND m_window = nullptr;
    std::mutex m_lock;
    std::vector<HeardEvent> m_heard;
};

// To be used on the reader's thread.
velutils::ComPtr<IAccessible> ClientObject(HWND window);
std::string Narrow(BSTR text);
AccessibleRow ReadRow(IAccessible* object, LONG id);
// The children through the object's IEnumVARIANT, as child ids.
std::vector<LONG> ChildIds(IAccessible* object);
std::string RoleText(LONG role);
// The state bits a tree's reader announces, by name ("expanded selected ...").
std::string StateText(LONG state);
