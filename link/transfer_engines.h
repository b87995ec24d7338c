// Register image and the read/write engines that move it to and from the device in 12 blocks.
#ifndef ZENTIL_LINK_TRANSFER_ENGINES_H
#define ZENTIL_LINK_TRANSFER_ENGINES_H

#include <windows.h>

const int DEVICE_REGISTER_COUNT = 184;
const int REGISTER_BLOCK_COUNT = 12;
// Ticks of the dialogs' single timer (TICK_TIMER_ID): the engines and most model dialogs, and the
// LCD room-controller dialogs.
const UINT DIALOG_TICK_MS = 20;
const UINT FAST_DIALOG_TICK_MS = 5;
const DWORD RW_START_DELAY_TICKS = 15;
const DWORD RW_STEP_DELAY_TICKS = 2;
const int EEPROM_STORE_STEPS = 3;

// One tick of a progress window performs the action of the state it finds.
enum TransferState {
    TRANSFER_IDLE = 0,
    TRANSFER_DELAY = 1,
    TRANSFER_READ_COMMAND = 2,    // 2..13: send read block n = state - 1
    TRANSFER_READ_DATA = 14,      // 14..25: read the report of block n = state - 13
    TRANSFER_WRITE_COMMAND = 34,  // 34..45: send write block n = state - 33
    TRANSFER_WRITE_DATA = 46,     // 46..57: write the report of block n = state - 45
    TRANSFER_STORE = 58,          // 58..60: store step s = state - 58
    TRANSFER_JUMPER_QUERY = 61,
    TRANSFER_JUMPER_REPLY = 62,
};

extern WORD g_deviceRegisters[DEVICE_REGISTER_COUNT];
// 1 while the image holds what a completed read run took from the connected device; cleared on
// connect, disconnect, a new device type and every failed transfer.
extern BYTE g_registerImageRead;
extern BYTE g_rwState;
extern BYTE g_rwNextState;
extern DWORD g_rwDelay;

// First register and register count of block n (1..12).
int GetBlockFirstRegister(int block);
int GetBlockRegisterCount(int block);

// Progress windows (templates IDD_READ_PROGRESS, IDD_WRITE_PROGRESS); both always end with 2.
INT_PTR CALLBACK ReadProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WriteProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
