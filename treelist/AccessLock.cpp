#include "treelist/AccessLock.h"

namespace treelist {

bool AccessLock::Create()
{
    m_semaphore.Reset(CreateSemaphoreA(nullptr, 1, 1, nullptr));
    return static_cast<bool>(m_semaphore);
}

void AccessLock::Acquire()
{
    if (!m_semaphore)
        return;
    if (HeldByThisThread()) {
        ++m_depth;
        return;
    }
    WaitForSingleObject(m_semaphore.Get(), INFINITE);
    m_owner = GetCurrentThreadId();
    m_depth = 1;
}

void AccessLock::Release()
{
    if (!m_semaphore || !HeldByThisThread())
        return;
    if (--m_depth > 0)
        return;
    m_owner = 0;
    ReleaseSemaphore(m_semaphore.Get(), 1, nullptr);
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
    m_owner = 0;
    ReleaseSemaphore(m_semaphore.Get(), 1, nullptr);
    return depth;
}

void AccessLock::Resume(int depth)
{
    if (!m_semaphore || depth == 0)
        return;
    WaitForSingleObject(m_semaphore.Get(), INFINITE);
    m_owner = GetCurrentThreadId();
    m_depth = depth;
}

}  // namespace treelist
