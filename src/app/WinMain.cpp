#include <windows.h>

#include "app/Win32CardSwitchApp.h"

// The one application object, made before start-up and gone at exit.
static quorvel::CardSwitchApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    theApp.Start();
    return theApp.ExitStatus();
}
