#include "app/StatusChangeWatch.h"

StatusChangeWatch::OwnCommand::OwnCommand(StatusChangeWatch& watch, ServiceStatus target)
    : m_watch(watch)
{
    m_watch.m_expecting = true;
    m_watch.m_commandRunning = true;
    m_watch.m_target = target;
}

// A stop may block for two minutes: the grace time counts from its end.
StatusChangeWatch::OwnCommand::~OwnCommand()
{
    m_watch.m_commandRunning = false;
    m_watch.m_commandEnded = GetTickCount();
}

StatusChangeWatch::Change StatusChangeWatch::Observe(ServiceStatus status)
{
    if (!m_seen) {                      // the status found at start-up is no news
        m_seen = true;
        m_last = status;
        return Change::None;
    }
    ServiceStatus previous = m_last;
    m_last = status;
    if (IsOwnChange(status) || status == previous)
        return Change::None;
    if (previous == ServiceStatus::Running)
        return status == ServiceStatus::Stopped ? Change::Stopped : Change::Unavailable;
    return status == ServiceStatus::Running ? Change::Running : Change::None;
}

bool StatusChangeWatch::IsOwnChange(ServiceStatus status)
{
    if (!m_expecting)
        return false;
    if (status == m_target) {
        m_expecting = m_commandRunning;
        return true;
    }
    if (m_commandRunning || GetTickCount() - m_commandEnded < kOwnChangeMs)
        return true;
    m_expecting = false;
    return false;
}
