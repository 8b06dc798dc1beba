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
#include <utility>
#include <vector>

#include "utils/ComPtr.h"
#include "utils/UniqueHandle.h"

// One child of an object as a reader reads it (id 0: the object itself).
struct AccessibleRow {
    std::string name, value, description, action;
    LONG role = 0, state = 0;
    RECT location = {};
};

using HeardEvent = std::pair<DWORD, LONG>;     // the event and the child id

class ReaderThread {
public:
    ReaderThread();
    ~ReaderThread();

    // Runs `work` on the reader's thread and waits, serving this thread's messages.
    void Run(const std::function<void()>& work);
    // From now on the client area's events of `window` are heard.
    void Listen(HWND window);
    // What was heard since the last call, once everything raised before it has arrived.
    std::vector<HeardEvent> Heard();

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD);
    // Raises a marker and waits for it; what came before it is taken (into `heard`).
    bool HeardUpToMarker(std::vector<HeardEvent>* heard, DWORD timeoutMs);

    velutils::KernelHandle m_wake;
    std::function<void()> m_work;
    std::atomic<bool> m_busy{ false }, m_stop{ false };
    velutils::WinEventHook m_hook;      // the reader thread's own
    std::thread m_thread;
    HWND m_window = nullptr;
    std::mutex m_lock;
    std::vector<HeardEvent> m_heard;
};

// To be used on the reader's thread.
velutils::ComPtr<IAccessible> ObjectOf(HWND window, LONG id = OBJID_CLIENT);
VARIANT ChildId(LONG id);
AccessibleRow ReadRow(IAccessible* object, LONG id);
// The children as AccessibleChildren gives them (through the object's IEnumVARIANT).
std::vector<VARIANT> Children(IAccessible* object);
std::vector<LONG> ChildIds(IAccessible* object);
// The state bits a tree's reader announces, by name ("expanded selected ...").
std::string StateText(LONG state);
