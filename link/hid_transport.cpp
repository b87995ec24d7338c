// HID transport: the only code that calls SetupDi*, HidD_*, HidP_* and the device handles' file calls.
#include "link/hid_transport.h"

#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

HANDLE g_hidHandles[HID_SLOT_COUNT] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
int g_hidPathCount = 0;
HidPathRecord g_hidPaths[MAX_HID_DEVICES] = {};
int g_hidSlotListIndex[HID_SLOT_COUNT] = {};
BYTE g_featureOut[FEATURE_REPORT_SIZE] = {};
BYTE g_featureIn[FEATURE_REPORT_SIZE] = {};
BYTE g_outputReport[DATA_REPORT_SIZE] = {};
BYTE g_inputReport[DATA_REPORT_SIZE] = {};
HidFailure g_hidLastFailure = {"", 0};

static const DWORD HID_ATTRIBUTES_SIZE = 12;
static const int PRODUCT_STRING_BUFFER_BYTES = 256;

// Keeps the failing call's name and error for diagnosis; nothing is shown or written.
static void NoteHidFailure(const char* operation)
{
    g_hidLastFailure.operation = operation;
    g_hidLastFailure.error = GetLastError();
}

static int IsValidSlot(int slot)
{
    return slot >= 0 && slot < HID_SLOT_COUNT;
}

// Opens a device path the way every slot is opened: read/write, shared, blocking.
static HANDLE OpenDevicePath(const char* path)
{
    HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) NoteHidFailure("CreateFileA");
    return handle;
}

// Closes the slot's handle if it holds one and marks it closed.
void CloseHidSlot(int slot)
{
    if (!IsValidSlot(slot)) return;
    if (g_hidHandles[slot] != INVALID_HANDLE_VALUE) {
        CloseHandle(g_hidHandles[slot]);
        g_hidHandles[slot] = INVALID_HANDLE_VALUE;
    }
}

// Tells whether the open handle's top-level collection is the vendor-defined one of our devices.
static int IsVendorCollection(HANDLE handle)
{
    PHIDP_PREPARSED_DATA preparsed = NULL;
    HIDP_CAPS caps;
    int ours = 0;

    if (!HidD_GetPreparsedData(handle, &preparsed)) {
        NoteHidFailure("HidD_GetPreparsedData");
        goto done;
    }
    if (HidP_GetCaps(preparsed, &caps) != HIDP_STATUS_SUCCESS) {
        NoteHidFailure("HidP_GetCaps");
        goto done;
    }
    ours = caps.UsagePage == VENDOR_USAGE_PAGE && caps.Usage == VENDOR_USAGE;
done:
    if (preparsed) HidD_FreePreparsedData(preparsed);
    return ours;
}

// Appends every present interface of ours to the device list; returns the list's count.
int EnumerateHidDevices()
{
    GUID hidGuid;
    HDEVINFO infoSet;
    SP_DEVICE_INTERFACE_DATA interfaceData;
    HidPathRecord record = NULL;
    DWORD member;

    HidD_GetHidGuid(&hidGuid);
    infoSet = SetupDiGetClassDevsA(&hidGuid, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (infoSet == INVALID_HANDLE_VALUE) {
        NoteHidFailure("SetupDiGetClassDevsA");
        return g_hidPathCount;
    }
    interfaceData.cbSize = sizeof(interfaceData);

    for (member = 0; g_hidPathCount < MAX_HID_DEVICES; member++) {
        DWORD required = 0;
        if (!SetupDiEnumDeviceInterfaces(infoSet, NULL, &hidGuid, member, &interfaceData)) break;

        // The size query must fail for want of room and name a size that holds the fixed part.
        if (SetupDiGetDeviceInterfaceDetailA(infoSet, &interfaceData, NULL, 0, &required, NULL) ||
            GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
            required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
            NoteHidFailure("SetupDiGetDeviceInterfaceDetailA");
            continue;
        }
        free(record);
        record = (HidPathRecord)calloc(1, required);
        if (!record) continue;
        record->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (!SetupDiGetDeviceInterfaceDetailA(infoSet, &interfaceData, record, required, NULL, NULL)) {
            NoteHidFailure("SetupDiGetDeviceInterfaceDetailA");
            continue;
        }

        CloseHidSlot(HID_SLOT_SCRATCH);
        g_hidHandles[HID_SLOT_SCRATCH] = OpenDevicePath(record->DevicePath);
        if (g_hidHandles[HID_SLOT_SCRATCH] == INVALID_HANDLE_VALUE) continue;

        if (IsVendorCollection(g_hidHandles[HID_SLOT_SCRATCH])) {
            g_hidPaths[g_hidPathCount++] = record;
            record = NULL;  // the list owns it now
        }
        CloseHidSlot(HID_SLOT_SCRATCH);
    }

    free(record);
    SetupDiDestroyDeviceInfoList(infoSet);
    return g_hidPathCount;
}

// Empties the device list: every record released, every entry null, the count 0.
void ResetHidDeviceList()
{
    for (int i = 0; i < MAX_HID_DEVICES; i++) {
        free(g_hidPaths[i]);
        g_hidPaths[i] = NULL;
    }
    g_hidPathCount = 0;
}

// Releases the list after a firmware download; the same as a reset, so a second release is harmless.
void FreeHidDeviceList()
{
    ResetHidDeviceList();
}

// Opens list entry `index` into the slot; 1 when the handle is valid.
int OpenHidPath(int listIndex, int slot)
{
    if (!IsValidSlot(slot)) return 0;
    CloseHidSlot(slot);
    if (listIndex < 0 || listIndex >= MAX_HID_DEVICES || g_hidPaths[listIndex] == NULL) return 0;
    g_hidHandles[slot] = OpenDevicePath(g_hidPaths[listIndex]->DevicePath);
    return g_hidHandles[slot] != INVALID_HANDLE_VALUE;
}

// Searches the first `count` entries for the ids; on a match the handle stays open in the slot
// and the index is returned, else -1 with the slot closed.
static int SearchHidDeviceById(WORD vendorId, WORD productId, int count, int slot)
{
    if (!IsValidSlot(slot)) return -1;
    for (int i = 0; i < count; i++) {
        HIDD_ATTRIBUTES attributes;
        if (!OpenHidPath(i, slot)) break;  // a null entry or a failed open ends the search
        attributes.Size = HID_ATTRIBUTES_SIZE;
        if (HidD_GetAttributes(g_hidHandles[slot], &attributes) && attributes.VendorID == vendorId &&
            attributes.ProductID == productId) {
            return i;
        }
        CloseHidSlot(slot);
    }
    CloseHidSlot(slot);
    return -1;
}

// Finds the first entry with the ids and keeps its index for the slot; the slot is left closed.
int FindHidDeviceById(WORD vendorId, WORD productId, int count, int slot)
{
    int index = SearchHidDeviceById(vendorId, productId, count, slot);
    if (index < 0) return 0;
    g_hidSlotListIndex[slot] = index;
    CloseHidSlot(slot);
    return 1;
}

// Leaves the first entry with the ids open in the slot.
int OpenHidDeviceById(WORD vendorId, WORD productId, int count, int slot)
{
    return SearchHidDeviceById(vendorId, productId, count, slot) >= 0;
}

int SetHidFeature(BYTE* report, int length, int slot)
{
    if (!IsValidSlot(slot)) return 0;
    if (!HidD_SetFeature(g_hidHandles[slot], report, (ULONG)length)) {
        NoteHidFailure("HidD_SetFeature");
        return 0;
    }
    return 1;
}

int GetHidFeature(BYTE* report, int length, int slot)
{
    if (!IsValidSlot(slot)) return 0;
    if (!HidD_GetFeature(g_hidHandles[slot], report, (ULONG)length)) {
        NoteHidFailure("HidD_GetFeature");
        return 0;
    }
    return 1;
}

// ---- Bounded report transfers
// A blocking ReadFile/WriteFile on a device that never answers would freeze the only thread.
// The handles stay synchronous; a watchdog thread cancels the caller's pending call with
// CancelSynchronousIo once HID_REPORT_TIMEOUT_MS have passed (the HID class driver honours it).

static CRITICAL_SECTION s_watchdogLock;
static HANDLE s_watchdogWake = NULL;
static HANDLE s_watchedThread = NULL;
static DWORD s_watchedThreadId = 0;
static int s_watchArmed = 0;
static DWORD s_watchStart = 0;

static DWORD WINAPI WatchdogProc(LPVOID)
{
    for (;;) {
        WaitForSingleObject(s_watchdogWake, INFINITE);
        for (;;) {
            int armed;
            EnterCriticalSection(&s_watchdogLock);
            armed = s_watchArmed;
            if (armed && GetTickCount() - s_watchStart >= HID_REPORT_TIMEOUT_MS) {
                CancelSynchronousIo(s_watchedThread);
                s_watchArmed = 0;
                armed = 0;
            }
            LeaveCriticalSection(&s_watchdogLock);
            if (!armed) break;
            Sleep(5);
        }
    }
    return 0;
}

static int StartWatchdog()
{
    static int started = 0;
    if (started) return 1;
    InitializeCriticalSection(&s_watchdogLock);
    s_watchdogWake = CreateEventA(NULL, FALSE, FALSE, NULL);
    if (!s_watchdogWake) return 0;
    HANDLE thread = CreateThread(NULL, 0, WatchdogProc, NULL, 0, NULL);
    if (!thread) return 0;
    CloseHandle(thread);
    started = 1;
    return 1;
}

static void ArmWatchdog()
{
    if (!StartWatchdog()) return;
    EnterCriticalSection(&s_watchdogLock);
    if (s_watchedThreadId != GetCurrentThreadId()) {
        if (s_watchedThread) CloseHandle(s_watchedThread);
        s_watchedThread = OpenThread(THREAD_TERMINATE, FALSE, GetCurrentThreadId());
        s_watchedThreadId = GetCurrentThreadId();
    }
    s_watchArmed = 1;
    s_watchStart = GetTickCount();
    LeaveCriticalSection(&s_watchdogLock);
    SetEvent(s_watchdogWake);
}

static void DisarmWatchdog()
{
    if (!s_watchdogWake) return;
    EnterCriticalSection(&s_watchdogLock);
    s_watchArmed = 0;
    LeaveCriticalSection(&s_watchdogLock);
}

int ReadHidReport(BYTE* buffer, int length, DWORD* bytesRead, int slot)
{
    BOOL ok;
    DWORD count = 0;
    if (!IsValidSlot(slot)) return 0;
    ArmWatchdog();
    ok = ReadFile(g_hidHandles[slot], buffer, (DWORD)length, &count, NULL);
    if (!ok) NoteHidFailure("ReadFile");
    DisarmWatchdog();
    if (bytesRead) *bytesRead = count;
    return ok ? 1 : 0;
}

int WriteHidReport(BYTE* buffer, int length, DWORD* bytesWritten, int slot)
{
    BOOL ok;
    DWORD count = 0;
    if (!IsValidSlot(slot)) return 0;
    ArmWatchdog();
    ok = WriteFile(g_hidHandles[slot], buffer, (DWORD)length, &count, NULL);
    if (!ok) NoteHidFailure("WriteFile");
    DisarmWatchdog();
    if (bytesWritten) *bytesWritten = count;
    return ok ? 1 : 0;
}

// Copies the product string's low bytes, at most maxChars (capped at 128) characters, always
// terminated at maxChars; a failed fetch leaves the destination as it was.
void GetHidProductString(char* destination, int maxChars, int slot)
{
    WCHAR wide[PRODUCT_STRING_BUFFER_BYTES / sizeof(WCHAR)];
    int i;
    if (!IsValidSlot(slot) || maxChars < 0) return;
    if (maxChars > PRODUCT_STRING_MAX_CHARS) maxChars = PRODUCT_STRING_MAX_CHARS;
    ZeroMemory(wide, sizeof(wide));
    if (!HidD_GetProductString(g_hidHandles[slot], wide, PRODUCT_STRING_BUFFER_BYTES)) {
        NoteHidFailure("HidD_GetProductString");
        return;
    }
    wide[PRODUCT_STRING_MAX_CHARS - 1] = 0;  // the platform promises a terminator; keep it so
    for (i = 0; i < maxChars; i++) {
        destination[i] = (char)(wide[i] & 0xFF);
        if (wide[i] == 0) break;
    }
    destination[maxChars] = 0;
}

// Sets bytes 1-8 of the outgoing feature report for one command; nothing of the last command stays.
void PrepareFeatureCommand(BYTE command, BYTE parameter, DWORD value)
{
    PrepareFeatureCommandEx(command, parameter, 0, 0, value);
}

void PrepareFeatureCommandEx(BYTE command, BYTE parameter, BYTE parameter2, BYTE parameter3, DWORD value)
{
    g_featureOut[0] = 0;
    g_featureOut[1] = command;
    g_featureOut[2] = parameter;
    g_featureOut[3] = parameter2;
    g_featureOut[4] = parameter3;
    g_featureOut[5] = (BYTE)(value & 0xFF);
    g_featureOut[6] = (BYTE)((value >> 8) & 0xFF);
    g_featureOut[7] = (BYTE)((value >> 16) & 0xFF);
    g_featureOut[8] = (BYTE)((value >> 24) & 0xFF);
}
