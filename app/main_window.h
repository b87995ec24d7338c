// Main window: entry state, the connection state machine, the buttons and the menu.
#ifndef ZENTIL_APP_MAIN_WINDOW_H
#define ZENTIL_APP_MAIN_WINDOW_H

#include <windows.h>

#include "kit/shared_records.h"

enum MainState {
    MAIN_STATE_IDLE = 0,
    MAIN_STATE_STOPPED = 1,
    MAIN_STATE_DELAY = 3,
    MAIN_STATE_READ_IDENT = 4,
    MAIN_STATE_AUTODETECT = 6,
};

const UINT MAIN_TICK_MS = 10;
const DWORD CONNECT_DELAY_TICKS = 30;

extern HWND g_mainWindow;
extern HWND g_hidIdField, g_deviceField, g_firmwareField;
extern HWND g_startButton, g_stopButton, g_configButton, g_dataButton;
extern MSG g_msg;
extern BYTE g_mainState, g_mainNextState;
extern DWORD g_mainDelay;

void InitProgramState(HINSTANCE instance);
int CreateMainWindow();
int RunMessageLoop();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
