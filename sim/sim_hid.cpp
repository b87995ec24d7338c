// The simulated hid.dll: answers the program's HidD_*/HidP_* calls and, by redirecting its
// import table, its SetupDi* calls, from the device server named in ZENTIL_SIM_PIPE. The device
// paths it lists are named pipes, so the program's own CreateFileA/ReadFile/WriteFile are real.
#include <windows.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "sim/sim_protocol.h"

static void GetPipeBase(char* base, DWORD size)
{
    DWORD length = GetEnvironmentVariableA(SIM_PIPE_ENV, base, size);
    if (length == 0 || length >= size) snprintf(base, size, "%s", SIM_DEFAULT_PIPE_BASE);
}

// One request to the server; FALSE when it cannot be reached or refused the call.
static BOOL CallServer(DWORD operation, DWORD device, const void* data, DWORD length, SimReply* reply)
{
    char base[128], name[160];
    SimRequest request;
    DWORD count = 0;
    GetPipeBase(base, sizeof(base));
    snprintf(name, sizeof(name), "\\\\.\\pipe\\%s", base);
    ZeroMemory(&request, sizeof(request));
    request.operation = operation;
    request.device = device;
    if (length > SIM_PAYLOAD_BYTES) length = SIM_PAYLOAD_BYTES;
    request.length = length;
    if (data && length) memcpy(request.data, data, length);
    ZeroMemory(reply, sizeof(*reply));
    DWORD error = GetLastError();
    // The server keeps one instance listening. Two callers woken by the same free instance race
    // for it, and the loser finds the pipe busy again: it waits for the next instance. A pipe
    // that does not exist (no server) fails at once.
    HANDLE pipe;
    for (;;) {
        pipe = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (pipe != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PIPE_BUSY) break;
        if (!WaitNamedPipeA(name, NMPWAIT_WAIT_FOREVER) && GetLastError() != ERROR_SEM_TIMEOUT &&
            GetLastError() != ERROR_PIPE_BUSY)
            break;
    }
    BOOL called = FALSE;
    if (pipe != INVALID_HANDLE_VALUE) {
        DWORD mode = PIPE_READMODE_MESSAGE;
        called = SetNamedPipeHandleState(pipe, &mode, NULL, NULL) &&
                 TransactNamedPipe(pipe, &request, 12 + length, reply, sizeof(*reply), &count, NULL);
        CloseHandle(pipe);
    }
    SetLastError(error);
    return called && count >= 8 && reply->ok;
}

// The simulated device behind a handle: its pipe name ends in -dev<id>.
static BOOL DeviceOfHandle(HANDLE handle, DWORD* device)
{
    BYTE buffer[sizeof(FILE_NAME_INFO) + 520];
    FILE_NAME_INFO* info = (FILE_NAME_INFO*)buffer;
    char name[260];
    const char* mark;
    if (handle == INVALID_HANDLE_VALUE || handle == NULL) return FALSE;
    ZeroMemory(buffer, sizeof(buffer));
    if (!GetFileInformationByHandleEx(handle, FileNameInfo, info, sizeof(buffer) - sizeof(WCHAR))) return FALSE;
    int chars = (int)(info->FileNameLength / sizeof(WCHAR));
    int length = WideCharToMultiByte(CP_ACP, 0, info->FileName, chars, name, sizeof(name) - 1, NULL, NULL);
    name[length] = 0;
    mark = strstr(name, SIM_DEVICE_PIPE_MARK);
    if (!mark) return FALSE;
    *device = (DWORD)strtoul(mark + strlen(SIM_DEVICE_PIPE_MARK), NULL, 10);
    return TRUE;
}

// Whether the device still serves this handle (a dropped connection fails every later call).
static BOOL HandleAlive(HANDLE handle)
{
    DWORD device;
    return DeviceOfHandle(handle, &device);
}

// One call about the device behind a handle. The questions asked right after an open also fail
// when the device dropped that open meanwhile (the server settles the device before answering).
static BOOL CallDevice(HANDLE handle, DWORD operation, const void* data, DWORD length, SimReply* reply)
{
    DWORD device;
    if (!DeviceOfHandle(handle, &device)) return FALSE;
    if (!CallServer(operation, device, data, length, reply)) return FALSE;
    if (operation == SIM_OP_SET_FEATURE || operation == SIM_OP_GET_FEATURE) return TRUE;
    return HandleAlive(handle);
}

// ---- HID class functions

struct SimPreparsed {
    DWORD magic;
    USHORT usagePage;
    USHORT usage;
};
static const DWORD PREPARSED_MAGIC = 0x5A454E54;

extern "C" void __stdcall HidD_GetHidGuid(LPGUID guid)
{
    static const GUID HID_GUID = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
    *guid = HID_GUID;
}

extern "C" BOOLEAN __stdcall HidD_GetPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* preparsed)
{
    SimReply reply;
    if (!CallDevice(handle, SIM_OP_CAPS, NULL, 0, &reply)) return FALSE;
    SimPreparsed* data = (SimPreparsed*)LocalAlloc(LPTR, sizeof(SimPreparsed));
    if (!data) return FALSE;
    data->magic = PREPARSED_MAGIC;
    memcpy(&data->usagePage, reply.data, 2);
    memcpy(&data->usage, reply.data + 2, 2);
    *preparsed = (PHIDP_PREPARSED_DATA)data;
    return TRUE;
}

extern "C" BOOLEAN __stdcall HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsed)
{
    SimPreparsed* data = (SimPreparsed*)preparsed;
    if (!data || data->magic != PREPARSED_MAGIC) return FALSE;
    data->magic = 0;
    LocalFree(data);
    return TRUE;
}

extern "C" NTSTATUS __stdcall HidP_GetCaps(PHIDP_PREPARSED_DATA preparsed, PHIDP_CAPS caps)
{
    SimPreparsed* data = (SimPreparsed*)preparsed;
    if (!data || data->magic != PREPARSED_MAGIC) return HIDP_STATUS_INVALID_PREPARSED_DATA;
    ZeroMemory(caps, sizeof(*caps));
    caps->UsagePage = data->usagePage;
    caps->Usage = data->usage;
    caps->InputReportByteLength = 64;
    caps->OutputReportByteLength = 64;
    caps->FeatureReportByteLength = 9;
    return HIDP_STATUS_SUCCESS;
}

extern "C" BOOLEAN __stdcall HidD_GetAttributes(HANDLE handle, PHIDD_ATTRIBUTES attributes)
{
    SimReply reply;
    if (!CallDevice(handle, SIM_OP_ATTRIBUTES, NULL, 0, &reply)) return FALSE;
    memcpy(&attributes->VendorID, reply.data, 2);
    memcpy(&attributes->ProductID, reply.data + 2, 2);
    memcpy(&attributes->VersionNumber, reply.data + 4, 2);
    return TRUE;
}

extern "C" BOOLEAN __stdcall HidD_GetProductString(HANDLE handle, PVOID buffer, ULONG length)
{
    SimReply reply;
    if (!CallDevice(handle, SIM_OP_PRODUCT, NULL, 0, &reply)) return FALSE;
    // As the class driver does: at most length bytes, terminated when there is room.
    ULONG bytes = reply.length;
    if (bytes > length) bytes = length & ~1UL;
    memcpy(buffer, reply.data, bytes);
    if (bytes + 2 <= length) memset((BYTE*)buffer + bytes, 0, 2);
    return TRUE;
}

extern "C" BOOLEAN __stdcall HidD_SetFeature(HANDLE handle, PVOID report, ULONG length)
{
    SimReply reply;
    return CallDevice(handle, SIM_OP_SET_FEATURE, report, length, &reply);
}

extern "C" BOOLEAN __stdcall HidD_GetFeature(HANDLE handle, PVOID report, ULONG length)
{
    SimReply reply;
    if (!CallDevice(handle, SIM_OP_GET_FEATURE, NULL, 0, &reply)) return FALSE;
    ULONG bytes = reply.length < length ? reply.length : length;
    memcpy(report, reply.data, bytes);
    return TRUE;
}

// ---- Device-interface enumeration (reached through the program's redirected imports)

struct SimDeviceSet {
    DWORD magic;
    DWORD count;
    DWORD ids[SIM_MAX_LISTED];
    BYTE detailSizeFaults[SIM_MAX_LISTED];
};
static const DWORD DEVICE_SET_MAGIC = 0x5A534554;

static HDEVINFO WINAPI SimSetupDiGetClassDevsA(const GUID*, PCSTR, HWND, DWORD)
{
    SimReply reply;
    SimDeviceSet* set = (SimDeviceSet*)calloc(1, sizeof(SimDeviceSet));
    if (!set) return INVALID_HANDLE_VALUE;
    set->magic = DEVICE_SET_MAGIC;
    // No server: no devices. A server that answers with an empty reply makes the call fail.
    if (CallServer(SIM_OP_LIST, 0, NULL, 0, &reply)) {
        if (reply.length < 4) {
            free(set);
            SetLastError(ERROR_INVALID_DATA);
            return INVALID_HANDLE_VALUE;
        }
        memcpy(&set->count, reply.data, 4);
        if (set->count > (DWORD)SIM_MAX_LISTED) set->count = SIM_MAX_LISTED;
        memcpy(set->ids, reply.data + 4, 4 * set->count);
        if (reply.length >= 4 + 4 * SIM_MAX_LISTED + set->count)
            memcpy(set->detailSizeFaults, reply.data + 4 + 4 * SIM_MAX_LISTED, set->count);
    }
    return (HDEVINFO)set;
}

static SimDeviceSet* DeviceSetOf(HDEVINFO handle)
{
    SimDeviceSet* set = (SimDeviceSet*)handle;
    if (!set || handle == INVALID_HANDLE_VALUE || set->magic != DEVICE_SET_MAGIC) return NULL;
    return set;
}

static BOOL WINAPI SimSetupDiEnumDeviceInterfaces(HDEVINFO handle, PSP_DEVINFO_DATA, const GUID* guid, DWORD index,
                                                  PSP_DEVICE_INTERFACE_DATA data)
{
    SimDeviceSet* set = DeviceSetOf(handle);
    if (!set || !data || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (index >= set->count) {
        SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    if (guid) data->InterfaceClassGuid = *guid;
    data->Flags = SPINT_ACTIVE;
    data->Reserved = (ULONG_PTR)set->ids[index];
    return TRUE;
}

static BOOL WINAPI SimSetupDiGetDeviceInterfaceDetailA(HDEVINFO handle, PSP_DEVICE_INTERFACE_DATA data,
                                                       PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD size,
                                                       PDWORD required, PSP_DEVINFO_DATA)
{
    char base[128], path[200];
    SimDeviceSet* set = DeviceSetOf(handle);
    if (!set || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    GetPipeBase(base, sizeof(base));
    snprintf(path, sizeof(path), "\\\\.\\pipe\\%s%s%lu", base, SIM_DEVICE_PIPE_MARK, (unsigned long)data->Reserved);
    DWORD needed = (DWORD)(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + strlen(path) + 1);
    BYTE fault = SIM_DETAIL_SIZE_ANSWERS;
    for (DWORD i = 0; i < set->count; i++)
        if (set->ids[i] == (DWORD)data->Reserved) fault = set->detailSizeFaults[i];
    if (!detail && fault == SIM_DETAIL_SIZE_SUCCEEDS) {
        if (required) *required = needed;
        return TRUE;
    }
    if (!detail && fault == SIM_DETAIL_SIZE_TOO_SMALL) {
        if (required) *required = 4;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (required) *required = needed;
    if (!detail || size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    strcpy(detail->DevicePath, path);
    return TRUE;
}

static BOOL WINAPI SimSetupDiDestroyDeviceInfoList(HDEVINFO handle)
{
    SimDeviceSet* set = DeviceSetOf(handle);
    if (!set) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    set->magic = 0;
    free(set);
    return TRUE;
}

// Points the program's SetupDi imports at the functions above. The program's imports are bound
// before any DllMain runs, so this is the moment to do it; a native setupapi.dll would also be
// loaded by Wine's own services and break them.
static void RedirectSetupApiImports()
{
    static const struct {
        const char* name;
        void* replacement;
    } REDIRECTS[] = {
        {"SetupDiGetClassDevsA", (void*)SimSetupDiGetClassDevsA},
        {"SetupDiEnumDeviceInterfaces", (void*)SimSetupDiEnumDeviceInterfaces},
        {"SetupDiGetDeviceInterfaceDetailA", (void*)SimSetupDiGetDeviceInterfaceDetailA},
        {"SetupDiDestroyDeviceInfoList", (void*)SimSetupDiDestroyDeviceInfoList},
    };
    BYTE* module = (BYTE*)GetModuleHandleA(NULL);
    IMAGE_DOS_HEADER* dos = (IMAGE_DOS_HEADER*)module;
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(module + dos->e_lfanew);
    IMAGE_DATA_DIRECTORY directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return;
    for (IMAGE_IMPORT_DESCRIPTOR* import = (IMAGE_IMPORT_DESCRIPTOR*)(module + directory.VirtualAddress); import->Name;
         import++) {
        if (_stricmp((const char*)(module + import->Name), "setupapi.dll") != 0) continue;
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(module + import->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(module + import->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME* byName = (IMAGE_IMPORT_BY_NAME*)(module + names->u1.AddressOfData);
            for (size_t i = 0; i < sizeof(REDIRECTS) / sizeof(REDIRECTS[0]); i++) {
                if (strcmp((const char*)byName->Name, REDIRECTS[i].name) != 0) continue;
                DWORD oldProtect;
                VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &oldProtect);
                slots->u1.Function = (ULONG_PTR)REDIRECTS[i].replacement;
                VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), oldProtect, &oldProtect);
            }
        }
    }
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) RedirectSetupApiImports();
    return TRUE;
}
