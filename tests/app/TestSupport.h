// Test support that needs no control window.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// The build tree the tests run from ("...\\build\\x86_64\\"), with its trailing separator.
inline std::string BuildDirectory()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir.erase(dir.find_last_of("\\/"));           // the program's own folder: tests or bench
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string StandinServicePath();

// Registers "veldbsrv" with a binary path; removes it (stopping it first) when destroyed.
class ServiceFixture {
public:
    ~ServiceFixture();
    bool Install(const std::string& binaryPath);
    bool Start();
    bool Stop();                      // the stop control, as another administrator sends it
    DWORD State() const;              // 0 when the service cannot be queried
    DWORD ProcessId() const;
    bool WaitForState(DWORD state, DWORD timeoutMs = 10000) const;
    void Remove();

    // A copy of the stand-in under another file name, in the temporary directory.
    static std::string CopyOfStandin(const std::string& fileName);

private:
    bool m_installed = false;
};

// An error box as the operator saw it: the program's own ("Error occured:") or the
// system's ("Error", with no detail).
struct ShownError {
    std::string caption;
    std::string mainText;
    std::string detail;
    bool ownerlessTopmost;     // shown without an owner window, above all others
};

// While it lives, every error box of this process is read and closed with OK as soon
// as it shows, so that the code that showed it goes on.
class ShownErrors {
public:
    ShownErrors();
    ~ShownErrors();

    // Those open now included.
    std::vector<ShownError> Take();

private:
    void AnswerOpenBoxes();

    std::mutex m_lock;
    std::vector<ShownError> m_shown;
    std::atomic<bool> m_stop{ false };
    std::thread m_watcher;
};

// A visible top-level window of the thread with that class or caption, or null.
HWND FindThreadWindow(DWORD threadId, const char* className, const char* caption = nullptr);

HWND FindPopupMenu(DWORD threadId);

// What the process holds. Where the system does not count (Wine answers 0), GDI
// objects and kernel handles are measured by probing: a large batch of new ones fills
// every free slot of the table first, so its highest slot grows with what is held.
struct ResourceUse {
    DWORD gdi;
    DWORD user;      // counted only where the system counts (Windows)
    DWORD handles;
};
ResourceUse MeasureResources();
