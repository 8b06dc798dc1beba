// Tells the service's changes of state that the operator should hear of from the ones
// this program's own start, stop and restart commands made, and from the first status
// seen at start-up.
#pragma once
#include <windows.h>

#include "app/ServiceControl.h"

class StatusChangeWatch {
public:
    enum class Change { None, Stopped, Unavailable, Running };

    // How long after an own command returned its changes still count as its own.
    static const DWORD kOwnChangeMs = 60000;

    // Held while an own command runs: until the service reaches `target`, or for
    // kOwnChangeMs after the command returned, changes are taken as the command's.
    class OwnCommand {
    public:
        OwnCommand(StatusChangeWatch& watch, ServiceStatus target);
        ~OwnCommand();
        OwnCommand(const OwnCommand&) = delete;
        OwnCommand& operator=(const OwnCommand&) = delete;

    private:
        StatusChangeWatch& m_watch;
    };

    // One poll's status; says which change, if any, came about on its own.
    Change Observe(ServiceStatus status);

private:
    bool IsOwnChange(ServiceStatus status);

    bool m_seen = false;
    ServiceStatus m_last = ServiceStatus::Unavailable;
    bool m_expecting = false;
    bool m_commandRunning = false;
    ServiceStatus m_target = ServiceStatus::Unavailable;
    DWORD m_commandEnded = 0;
};
