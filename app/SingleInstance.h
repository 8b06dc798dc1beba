// One control program per user and session. The first start holds a small named record
// (session-local, named after the user) with its control window; a later start finds
// that window, asks it to open as a click on its tray icon would, and ends.
#pragma once
#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

class SingleInstance {
public:
    enum class Outcome {
        First,        // run: nobody else holds the record (or it cannot be made at all)
        HandedOver,   // the running copy was asked to open its window: end quietly
        NoWindow      // a copy holds the record but showed no window in time: end quietly
    };

    // Claims the record, or hands over to the copy that holds it. A copy that is still
    // starting or just ending gets up to waitMs to publish its window or let go.
    Outcome ClaimOrHandOver(DWORD waitMs = 10000);

    // Makes the control window known to later starts; null when it is gone.
    void Publish(HWND window);

    // The message a later start posts to the running copy's control window.
    static UINT ShowMessage();

    // "Local\veldbctrl.instance.<user>"
    static std::string RecordName();

private:
    struct Record {
        volatile LONG window;   // window handles are 32-bit values on 64-bit Windows too
    };

    bool Open(bool& existed);
    void Close();
    bool HandOver();

    velutils::KernelHandle m_mapping;
    velutils::MappedView m_view;
};
