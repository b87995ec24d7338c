// Main window: entry state, the connection state machine, the buttons and the menu.
#ifndef ZENTIL_APP_MAIN_WINDOW_H
#define ZENTIL_APP_MAIN_WINDOW_H

#include <windows.h>

enum MainState {
    MAIN_STATE_IDLE = 0,
    MAIN_STATE_STOPPED = 1,
    MAIN_STATE_DELAY = 3,
    MAIN_STATE_READ_IDENT = 4,
    MAIN_STATE_AUTODETECT = 6,
};

const UINT_PTR TICK_TIMER_ID = 1;
const UINT MAIN_TICK_MS = 10;
const DWORD CONNECT_DELAY_TICKS = 30;
const int DEVICE_DIALOG_RESULT = 1005;
const int TOOL_DIALOG_RESULT = 2;
const int PRODUCT_STRING_AUTODETECT_CHARS = 24;

// Compiled-in USB ids; the Setting menu changes them until the program ends.
const WORD DEFAULT_DEVICE_VENDOR_ID = 0x04D8;
const WORD DEFAULT_DEVICE_PRODUCT_ID = 0xFD22;
const WORD DEFAULT_CALIBRATOR_VENDOR_ID = 0x04D8;
const WORD DEFAULT_CALIBRATOR_PRODUCT_ID = 0xFD23;

extern HINSTANCE g_hInstance;
extern HWND g_mainWindow;
extern HWND g_hidIdField, g_deviceField, g_firmwareField;
extern HWND g_startButton, g_stopButton, g_configButton, g_dataButton;
extern MSG g_msg;
extern BYTE g_mainState, g_mainNextState;
extern DWORD g_mainDelay;
extern BYTE g_deviceConnected;
extern char g_productString[PRODUCT_STRING_AUTODETECT_CHARS + 1];
extern WORD g_deviceVendorId, g_deviceProductId;
extern WORD g_calibratorVendorId, g_calibratorProductId;

void InitProgramState(HINSTANCE instance);
int CreateMainWindow();
int RunMessageLoop();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
