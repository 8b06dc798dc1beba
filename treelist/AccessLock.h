// The control's access semaphore used as a lock of count 1. A waiter count in front of it
// keeps the uncontended case out of the kernel (every message takes the lock). Handlers
// on the window's own thread may nest (a child window can call back while a handler
// holds the lock), and Suspend lets it go entirely while the owner is notified.
#pragma once
#include <windows.h>

#include "utils/UniqueHandle.h"

namespace treelist {

class AccessLock {
public:
    bool Create();
    void Acquire();
    void Release();
    bool HeldByThisThread() const;

    // Gives the lock up whatever the nesting depth; Resume takes it back.
    int Suspend();
    void Resume(int depth);

private:
    void Enter();
    void Leave();

    velutils::KernelHandle m_semaphore;
    volatile LONG m_waiters = 0;
    volatile DWORD m_owner = 0;
    int m_depth = 0;
};

// Holds the lock for one handler.
class LockScope {
public:
    explicit LockScope(AccessLock& lock) : m_lock(lock) { m_lock.Acquire(); }
    ~LockScope() { m_lock.Release(); }
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

private:
    AccessLock& m_lock;
};

// Lets the lock go for the duration of a call out of the control.
class UnlockScope {
public:
    explicit UnlockScope(AccessLock& lock) : m_lock(lock), m_depth(lock.Suspend()) {}
    ~UnlockScope() { m_lock.Resume(m_depth); }
    UnlockScope(const UnlockScope&) = delete;
    UnlockScope& operator=(const UnlockScope&) = delete;

private:
    AccessLock& m_lock;
    int m_depth;
};

}  // namespace treelist
