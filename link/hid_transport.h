// HID transport: the device list, the three handle slots, the report buffers and the command codes.
#ifndef ZENTIL_LINK_HID_TRANSPORT_H
#define ZENTIL_LINK_HID_TRANSPORT_H

#include <windows.h>

// Handle slots; every operation that touches a device takes one as its last argument.
enum HidSlot {
    HID_SLOT_SCRATCH = 0,
    HID_SLOT_DEVICE = 1,
    HID_SLOT_CALIBRATOR = 2,
};
const int HID_SLOT_COUNT = 3;

const int MAX_HID_DEVICES = 10;
const USHORT VENDOR_USAGE_PAGE = 0xFF00;
const USHORT VENDOR_USAGE = 1;
const int FEATURE_REPORT_SIZE = 9;
const int DATA_REPORT_SIZE = 64;
const int PRODUCT_STRING_MAX_CHARS = 128;
// A device that never answers must not freeze the window: reads and writes give up after this.
const DWORD HID_REPORT_TIMEOUT_MS = 1000;

const DWORD REPORT_MAGIC = 0x5D2E7A41;

// Command codes (byte 1 of a feature report).
const BYTE CMD_FILE_PARAMETERS = 0x00;
const BYTE CMD_BOOT_START = 0x55;
const BYTE CMD_SELECT_SIGNAL = 0xA0;  // 0xA0..0xA7: signal n = code - 0xA0
const BYTE CMD_SELECT_SIGNAL_NONE = 0xAF;
const BYTE CMD_READ_BLOCK = 0xC0;
const BYTE CMD_WRITE_BLOCK = 0xC1;
const BYTE CMD_CONFIG_BEGIN = 0xC8;
const BYTE CMD_CONFIG_END = 0xC9;
const BYTE CMD_ENTER_BOOT = 0xCA;
const BYTE CMD_READ_STRINGS = 0xCC;
const BYTE CMD_STORE_EEPROM = 0xCD;
const BYTE CMD_JUMPER_QUERY = 0xCE;
const BYTE CMD_ACTIVATE = 0xCF;
const BYTE CMD_WRITE_CALIBRATION = 0xF0;

// Reply status: byte 2, or the big-endian word of bytes 5 (high) and 6 (low).
const BYTE STATUS_READY = 0xAA;
const BYTE STATUS_PACKET_ACK = 0xAD;
const WORD STATUS_MENU_ACTIVE = 0xB000;

// One listed interface: the platform's detail record, whose DevicePath is what is opened.
typedef struct _SP_DEVICE_INTERFACE_DETAIL_DATA_A* HidPathRecord;

// The last transport call that failed, with its Windows error (kept for diagnosis, never shown).
struct HidFailure {
    const char* operation;
    DWORD error;
};

extern HANDLE g_hidHandles[HID_SLOT_COUNT];
extern int g_hidPathCount;
extern HidPathRecord g_hidPaths[MAX_HID_DEVICES];
extern int g_hidSlotListIndex[HID_SLOT_COUNT];
extern BYTE g_featureOut[FEATURE_REPORT_SIZE];
extern BYTE g_featureIn[FEATURE_REPORT_SIZE];
extern BYTE g_outputReport[DATA_REPORT_SIZE];
extern BYTE g_inputReport[DATA_REPORT_SIZE];
extern HidFailure g_hidLastFailure;

int EnumerateHidDevices();
void ResetHidDeviceList();
void FreeHidDeviceList();
int FindHidDeviceById(WORD vendorId, WORD productId, int count, int slot);
int OpenHidDeviceById(WORD vendorId, WORD productId, int count, int slot);
int OpenHidPath(int listIndex, int slot);
void CloseHidSlot(int slot);
int SetHidFeature(BYTE* report, int length, int slot);
int GetHidFeature(BYTE* report, int length, int slot);
int ReadHidReport(BYTE* buffer, int length, DWORD* bytesRead, int slot);
int WriteHidReport(BYTE* buffer, int length, DWORD* bytesWritten, int slot);
void GetHidProductString(char* destination, int maxChars, int slot);

void PrepareFeatureCommand(BYTE command, BYTE parameter, DWORD value);
void PrepareFeatureCommandEx(BYTE command, BYTE parameter, BYTE parameter2, BYTE parameter3, DWORD value);

#endif
