// Program-wide records: the instance, the connection and its USB ids, the dialog results, the
// scratch text, the file image buffer and its counters. Every folder below app/ takes them from here.
#ifndef ZENTIL_KIT_SHARED_RECORDS_H
#define ZENTIL_KIT_SHARED_RECORDS_H

#include <windows.h>

// Every control text, formatted number, settings value and file path passes through g_textBuffer.
// It holds a whole path as the file choosers return it (MAX_PATH characters and the terminator),
// so a chosen path is never cut or run past the buffer.
const int TEXT_BUFFER_SIZE = MAX_PATH + 1;
// The settings-file image and every file read whole (firmware files included) live here.
const int FILE_BUFFER_SIZE = 520000;

extern char g_textBuffer[TEXT_BUFFER_SIZE];
extern char g_settingsFile[FILE_BUFFER_SIZE];
extern int g_fileLength;      // result of the last whole-file read or write, kept by the callers
extern char* g_fileCursor;    // position in g_settingsFile, set by the callers before a transfer

// The single timer of every window and dialog, and the results with which dialogs end.
const UINT_PTR TICK_TIMER_ID = 1;
const int DEVICE_DIALOG_RESULT = 1005;
const int TOOL_DIALOG_RESULT = 2;

const int PRODUCT_STRING_AUTODETECT_CHARS = 24;

// Compiled-in USB ids; the Setting menu changes them until the program ends.
const WORD DEFAULT_DEVICE_VENDOR_ID = 0x04D8;
const WORD DEFAULT_DEVICE_PRODUCT_ID = 0xFD22;
const WORD DEFAULT_CALIBRATOR_VENDOR_ID = 0x04D8;
const WORD DEFAULT_CALIBRATOR_PRODUCT_ID = 0xFD23;

extern HINSTANCE g_hInstance;
extern BYTE g_deviceConnected;
extern char g_productString[PRODUCT_STRING_AUTODETECT_CHARS + 1];
extern WORD g_deviceVendorId, g_deviceProductId;
extern WORD g_calibratorVendorId, g_calibratorProductId;
// The digits of the connected device's firmware version "AB.CD.EF" as numbers, A first; model
// dialogs gate controls on E and F.
extern BYTE g_firmwareDigits[6];

#endif
