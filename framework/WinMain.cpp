// The program's entry point: the one application object does the rest.
#include "framework/CWinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = CWinApp::GetApp();
    return app ? app->Start(instance) : 1;
}
