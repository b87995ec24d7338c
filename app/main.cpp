// Program entry: prepare the state, create the main window, run the message loop.
#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitProgramState(instance);
    if (!CreateMainWindow()) return 0;
    return RunMessageLoop();
}
