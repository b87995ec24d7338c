// Bootloader window: firmware download through the device's bootloader, and its HW information.
#ifndef ZENTIL_TOOLS_BOOTLOADER_H
#define ZENTIL_TOOLS_BOOTLOADER_H

#include <windows.h>

enum BootState {
    BOOT_STATE_IDLE = 0,
    BOOT_STATE_DELAY = 1,
    BOOT_STATE_ENTER_BOOT = 2,
    BOOT_STATE_START_BOOT = 3,
    BOOT_STATE_CHECK_BOOTLOADER = 4,
    BOOT_STATE_READ_INFO = 5,
    BOOT_STATE_CHECK_FILE = 6,
    BOOT_STATE_FILE_PARAMETERS = 7,
    BOOT_STATE_WAIT_ERASE = 8,
    BOOT_STATE_SEND_PACKET = 9,
    BOOT_STATE_WAIT_ACK = 10,
    BOOT_STATE_WAIT_RESET = 11,
};

const UINT BOOT_TICK_MS = 10;
const DWORD BOOT_AREA_SIZE = 4096;   // image bytes before this offset are never sent
const DWORD FLASH_PAGE_SIZE = 128;
const DWORD BOOT_PACKET_SIZE = 32;
const BYTE BOOT_PACKETS_PER_PAGE = 4;
const BYTE BOOT_DIVIDER_RELOAD = 8;  // states 3, 4, 5 and 11 act on every ninth tick
const DWORD BOOT_START_TRIES = 50;
const DWORD BOOT_CHECK_TRIES = 20;
const DWORD BOOT_INFO_TRIES = 5;
const DWORD BOOT_ERASE_DELAY_TICKS = 30;
const DWORD BOOT_RESET_STEPS = 40;
const DWORD BOOT_RESET_STEP_MS = 100;
// The erase and acknowledgement polls give up after these many ticks, so a device that stays
// present but never reports ready cannot hold the window for ever.
const DWORD BOOT_ERASE_POLL_LIMIT = 3000;
const DWORD BOOT_ACK_POLL_LIMIT = 300;
const char BOOT_FILE_HEX = 'h';
const char BOOT_FILE_MEMORY_IMAGE = 'd';

extern BYTE g_bootState;
extern BYTE g_bootNextState;
extern DWORD g_bootCounter;
extern BYTE g_bootDivider;
extern BYTE g_bootInfoOnly;
extern WORD g_flashSizeKb;
extern DWORD g_pagesLeft;
extern BYTE g_packetsLeft;
extern WORD g_pageNumber;
extern BYTE g_downloadFileReady;
extern char g_fileTypeLetter;
extern BYTE* g_imageCursor;

int IsImageLengthSendable(DWORD imageLength);
DWORD CountImagePages(DWORD imageLength);
INT_PTR CALLBACK BootloaderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
