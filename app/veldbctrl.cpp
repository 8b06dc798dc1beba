// The one application object of veldbctrl.exe.
#include "app/CVelDbCtrlApp.h"

CVelDbCtrlApp theApp;
