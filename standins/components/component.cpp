// Stand-in for a component of the server system that the control program only reports
// the version of: an empty program or library with a version resource.
#include <windows.h>

#ifdef COMPONENT_PROGRAM
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
#endif
