#include "treelist/AccessLock.h"

namespace treelist {

bool AccessLock::Create()
{
    m_semaphore.Reset(CreateSemaphoreA(nullptr, 0, 1, nullptr));
    return static_cast<bool>(m_semaphore);
}

void AccessLock::Enter()
{
    if (InterlockedIncrement(&m_waiters) > 1)
        WaitForSingleObject(m_semaphore.Get(), INFINITE);
    m_owner = GetCurrentThreadId();
}

void AccessLock::Leave()
{
    m_owner = 0;
    if (InterlockedDecrement(&m_waiters) > 0)
        ReleaseSemaphore(m_semaphore.Get(), 1, nullptr);
}

void AccessLock::Acquire()
{
    if (!m_semaphore)
        return;
    if (HeldByThisThread()) {
        ++m_depth;
        return;
    }
    Enter();
    m_depth = 1;
}

void AccessLock::Release()
{
    if (!m_semaphore || !HeldByThisThread())
        return;
    if (--m_depth > 0)
        return;
    Leave();
}

bool AccessLock::HeldByThisThread() const
{
    return m_depth > 0 && m_owner == GetCurrentThreadId();
}

int AccessLock::Suspend()
{
    if (!m_semaphore || !HeldByThisThread())
        return 0;
    int depth = m_depth;
    m_depth = 0;
    Leave();
    return depth;
}

void AccessLock::Resume(int depth)
{
    if (!m_semaphore || depth == 0)
        return;
    Enter();
    m_depth = depth;
}

}  // namespace treelist
