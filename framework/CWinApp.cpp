#include "framework/CWinApp.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Start(HINSTANCE instance)
{
    m_hInstance = instance;
    // The program's work runs inside InitInstance (its modal window has its own loop).
    InitInstance();
    return 0;
}

CWinApp* CWinApp::GetApp()
{
    return g_app;
}

HINSTANCE CWinApp::ResourceHandle()
{
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandleA(nullptr);
}
