// The application object: runs the control window modally; the process ends with it.
#pragma once
#include "framework/CWinApp.h"

class CVelDbCtrlApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
