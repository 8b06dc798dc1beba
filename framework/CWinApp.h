// The application object: one static instance whose InitInstance runs the program.
#pragma once
#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Does the program's work; the process ends when it returns.
    virtual BOOL InitInstance();

    // Called by the entry point: runs InitInstance and gives the exit code.
    int Start(HINSTANCE instance);

    static CWinApp* GetApp();
    // The module whose resources the program uses.
    static HINSTANCE ResourceHandle();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
};
