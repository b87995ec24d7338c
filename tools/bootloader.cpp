// Bootloader window: firmware download through the device's bootloader, and its HW information.
#include "tools/bootloader.h"

#include <stdio.h>
#include <string.h>

#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "tools/firmware_parsers.h"

BYTE g_bootState = BOOT_STATE_IDLE;
BYTE g_bootNextState = BOOT_STATE_IDLE;
DWORD g_bootCounter = 0;
BYTE g_bootDivider = 0;
BYTE g_bootInfoOnly = 0;
WORD g_flashSizeKb = 0;
DWORD g_pagesLeft = 0;
BYTE g_packetsLeft = 0;
WORD g_pageNumber = 0;
BYTE g_downloadFileReady = 0;
char g_fileTypeLetter = 0;
BYTE* g_imageCursor = NULL;

static const BYTE CHAR_CR = 13;
static const int INFO_PLATFORM_OFFSET = 1;   // BootInfoReport fields: offset and length
static const int INFO_PLATFORM_CHARS = 16;
static const int INFO_HW_VERSION_OFFSET = 17;
static const int INFO_HW_VERSION_CHARS = 8;
static const int INFO_BOOT_VERSION_OFFSET = 25;
static const int INFO_BOOT_VERSION_CHARS = 8;
static const char INFO_BLANKS[] = "                    ";  // twenty blanks over a cleared field
static const BYTE FLASH_SIZE_UNIT_SHIFT = 10;            // the flash size comes in 1024-byte units

// Length of the firmware file's text, kept for the memory-image header compares of a download.
static DWORD s_fileTextLength = 0;
// Ticks spent in the current erase or acknowledgement poll.
static DWORD s_pollTicks = 0;

static const int BOOT_BUTTON_IDS[] = {IDC_BOOT_OPEN_FILE, IDC_BOOT_DOWNLOAD, IDC_BOOT_HW_INFO, IDCANCEL, 0};
static const int BOOT_INFO_TEXT_IDS[] = {IDC_BOOT_PLATFORM, IDC_BOOT_HW_VERSION, IDC_BOOT_BOOT_VERSION, 0};

struct BootLabel {
    int controlId;
    UINT textId;
};

static const BootLabel BOOT_LABELS[] = {
    {IDC_BOOT_OPEN_FILE, IDS_BOOT_OPEN_FILE},
    {IDC_BOOT_GROUP_PLATFORM, IDS_BOOT_GROUP_PLATFORM},
    {IDC_BOOT_GROUP_HW_VERSION, IDS_BOOT_GROUP_HW_VERSION},
    {IDC_BOOT_GROUP_BOOT_VERSION, IDS_BOOT_GROUP_BOOT_VERSION},
    {IDC_BOOT_STATUS, IDS_BOOT_STATUS_NO_FILE},
};

// One field of the BootInfoReport and the control that shows it.
struct BootInfoField {
    int controlId;
    int reportOffset;
    int chars;
};

static const BootInfoField BOOT_INFO_FIELDS[] = {
    {IDC_BOOT_PLATFORM, INFO_PLATFORM_OFFSET, INFO_PLATFORM_CHARS},
    {IDC_BOOT_HW_VERSION, INFO_HW_VERSION_OFFSET, INFO_HW_VERSION_CHARS},
    {IDC_BOOT_BOOT_VERSION, INFO_BOOT_VERSION_OFFSET, INFO_BOOT_VERSION_CHARS},
};

// The number of 128-byte pages sent for an image: one more than the whole pages after the boot
// area, so an image that ends on a page boundary gets an extra page as it always did.
DWORD CountImagePages(DWORD imageLength)
{
    return (imageLength - BOOT_AREA_SIZE) / FLASH_PAGE_SIZE + 1;
}

// An image can be sent only if it reaches past the boot area and its last page ends inside the
// image buffer; anything else would send nothing meaningful or read past the buffer.
int IsImageLengthSendable(DWORD imageLength)
{
    if (imageLength < BOOT_AREA_SIZE) return 0;
    return BOOT_AREA_SIZE + CountImagePages(imageLength) * FLASH_PAGE_SIZE <= (DWORD)FILE_BUFFER_SIZE;
}

static void EnableControls(HWND dialog, const int* ids, BOOL enable)
{
    for (; *ids; ids++) EnableWindow(GetDlgItem(dialog, *ids), enable);
}

static void ShowBootStatus(HWND dialog, UINT textId)
{
    SetDialogItemText(dialog, IDC_BOOT_STATUS, textId);
}

// Shows a status text that carries one number (page number, remaining time).
static void ShowBootStatusNumber(HWND dialog, UINT textId, int number)
{
    WCHAR format[EDITION_TEXT_MAX_CHARS];
    WCHAR text[EDITION_TEXT_MAX_CHARS];
    LoadEditionText(textId, format, EDITION_TEXT_MAX_CHARS);
    _snwprintf(text, EDITION_TEXT_MAX_CHARS - 1, format, number);
    text[EDITION_TEXT_MAX_CHARS - 1] = 0;
    SetWindowTextW(GetDlgItem(dialog, IDC_BOOT_STATUS), text);
}

// States 3, 4, 5 and 11 act on every ninth tick: 1 when this tick is one of them.
static int IsBootDividerDue()
{
    if (g_bootDivider > 0) {
        g_bootDivider--;
        return 0;
    }
    g_bootDivider = BOOT_DIVIDER_RELOAD;
    return 1;
}

// Ends a run that failed: the state is idle before the box opens (its loop keeps ticking), the
// device slot is closed on every exit, and the window closes once the box is answered.
static void FailBootRun(HWND dialog, UINT textId)
{
    switch (g_bootState) {
    case BOOT_STATE_CHECK_BOOTLOADER:
    case BOOT_STATE_READ_INFO:
    case BOOT_STATE_FILE_PARAMETERS:
    case BOOT_STATE_WAIT_ERASE:
    case BOOT_STATE_SEND_PACKET:
    case BOOT_STATE_WAIT_ACK:
        g_deviceConnected = 0;
        break;
    default:
        break;
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    g_bootState = BOOT_STATE_IDLE;
    ShowBootStatus(dialog, textId);
    ShowMessage(dialog, textId, IDS_BOOT_CAPTION_BOOT_INFO, MB_ICONSTOP);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

static void StepIdle(HWND dialog)
{
    EnableControls(dialog, BOOT_BUTTON_IDS, TRUE);
}

static void StepDelay(HWND dialog)
{
    if (g_bootCounter > 0) {
        g_bootCounter--;
        return;
    }
    g_bootState = g_bootNextState;
}

// Asks the application to restart into its bootloader. Results are not looked at: a device
// that already runs its bootloader is picked up by the next state all the same.
static void StepEnterBoot(HWND dialog)
{
    int count = EnumerateHidDevices();
    if (count > 0 && FindHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE) &&
        OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE)) {
        PrepareFeatureCommand(CMD_ENTER_BOOT, 0, REPORT_MAGIC);
        SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    g_bootCounter = BOOT_START_TRIES;
    g_bootDivider = BOOT_DIVIDER_RELOAD;
    g_bootState = BOOT_STATE_START_BOOT;
    ShowBootStatus(dialog, IDS_BOOT_STATUS_INIT);
}

// Looks for the bootloader on a fresh device list and starts the boot sequence; an attempt that
// does not get that far ends quietly and the next one comes nine ticks later.
static void StepStartBoot(HWND dialog)
{
    char product[PRODUCT_STRING_MAX_CHARS + 1];
    int count;
    if (!IsBootDividerDue()) return;
    if (--g_bootCounter == 0) {
        FailBootRun(dialog, IDS_BOOT_ERROR_AFTER_RESET);
        return;
    }
    FreeHidDeviceList();
    ResetHidDeviceList();
    count = EnumerateHidDevices();
    if (count == 0) return;
    // The list was rebuilt after the restart: keep the index found now, which the file
    // parameters state reopens.
    if (!FindHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE)) return;
    if (!OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE)) return;
    product[0] = 0;
    GetHidProductString(product, PRODUCT_STRING_MAX_CHARS, HID_SLOT_DEVICE);
    PrepareFeatureCommand(CMD_BOOT_START, 0, REPORT_MAGIC);
    if (product[0] < 'A' || product[0] > 'Z' || SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) != 1) {
        CloseHidSlot(HID_SLOT_DEVICE);
        return;
    }
    ShowBootStatus(dialog, IDS_BOOT_STATUS_ACTIVE);
    g_bootCounter = BOOT_CHECK_TRIES;
    g_bootDivider = BOOT_DIVIDER_RELOAD;
    g_bootState = BOOT_STATE_CHECK_BOOTLOADER;
}

// Reads the bootloader's status and its flash size.
static void StepCheckBootloader(HWND dialog)
{
    if (!IsBootDividerDue()) return;
    if (GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) != 1) {
        FailBootRun(dialog, IDS_BOOT_ERROR_CRC_COMMUNICATION);
        return;
    }
    if (g_featureIn[2] != STATUS_READY) {
        FailBootRun(dialog, IDS_BOOT_ERROR_CRC);
        return;
    }
    ShowBootStatus(dialog, IDS_BOOT_STATUS_ACTIVE);
    g_flashSizeKb = (WORD)(g_featureIn[3] | (g_featureIn[4] << 8));
    g_bootCounter = BOOT_INFO_TRIES;
    g_bootDivider = BOOT_DIVIDER_RELOAD;
    g_bootState = BOOT_STATE_READ_INFO;
}

static void ShowBootInfo(HWND dialog)
{
    for (const BootInfoField& field : BOOT_INFO_FIELDS) {
        char text[INFO_PLATFORM_CHARS + 3] = "  ";
        memcpy(text + 2, g_inputReport + field.reportOffset, field.chars);
        text[2 + field.chars] = 0;
        SetDlgItemTextA(dialog, field.controlId, text);
    }
}

// Reads the BootInfoReport. A read that the transport gave up on for want of an answer counts as
// an attempt without a valid report, so a silent bootloader ends as "not responding".
static void StepReadInfo(HWND dialog)
{
    DWORD bytesRead = 0;
    if (!IsBootDividerDue()) return;
    if (--g_bootCounter == 0) {
        FailBootRun(dialog, IDS_BOOT_ERROR_NOT_RESPONDING);
        return;
    }
    if (ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &bytesRead, HID_SLOT_DEVICE) != 1) {
        if (g_hidLastFailure.error == ERROR_OPERATION_ABORTED) return;
        FailBootRun(dialog, IDS_BOOT_ERROR_INFO_READ);
        return;
    }
    if (g_inputReport[1] < 'A' || g_inputReport[1] > 'Z') return;
    ShowBootInfo(dialog);
    ShowBootStatus(dialog, IDS_BOOT_STATUS_INFO_READ);
    if (g_bootInfoOnly) {
        ShowBootStatus(dialog, IDS_BOOT_STATUS_INFO_AVAILABLE);
        g_bootCounter = BOOT_RESET_STEPS;
        g_bootDivider = BOOT_DIVIDER_RELOAD;
        g_bootState = BOOT_STATE_WAIT_RESET;
        return;
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    g_bootState = BOOT_STATE_CHECK_FILE;
}

// Compares a header text of the memory-image file with a field of the BootInfoReport. The text
// ends at CR or `stop`; one that runs past the report's field is a mismatch.
static int MatchesBootInfo(DWORD fileOffset, int reportOffset, int fieldChars, BYTE stop)
{
    for (int i = 0;; i++) {
        DWORD position = fileOffset + (DWORD)i;
        if (position >= s_fileTextLength) return 1;
        BYTE c = (BYTE)g_settingsFile[position];
        if (c == CHAR_CR || c == stop) return 1;
        if (i >= fieldChars || c != g_inputReport[reportOffset + i]) return 0;
    }
}

// Checks the image against the flash size and, for a memory-image file, the HW platform and version.
static void StepCheckFile(HWND dialog)
{
    if (((DWORD)g_flashSizeKb << FLASH_SIZE_UNIT_SHIFT) < (DWORD)g_fileLength) {
        FailBootRun(dialog, IDS_BOOT_ERROR_FLASH_SMALLER);
        return;
    }
    if (g_fileTypeLetter == BOOT_FILE_MEMORY_IMAGE) {
        if (!MatchesBootInfo(IMAGE_PLATFORM_OFFSET, INFO_PLATFORM_OFFSET, INFO_PLATFORM_CHARS, ' ')) {
            FailBootRun(dialog, IDS_BOOT_ERROR_PLATFORM);
            return;
        }
        if (!MatchesBootInfo(IMAGE_HW_VERSION_OFFSET, INFO_HW_VERSION_OFFSET, INFO_HW_VERSION_CHARS, 'x')) {
            FailBootRun(dialog, IDS_BOOT_ERROR_HW_VERSION);
            return;
        }
    }
    ShowBootStatus(dialog, IDS_BOOT_STATUS_CHECK_DONE);
    g_bootState = BOOT_STATE_FILE_PARAMETERS;
}

// Announces the file type to the bootloader found after the restart, then waits for the erase.
static void StepFileParameters(HWND dialog)
{
    PrepareFeatureCommand(CMD_FILE_PARAMETERS, 0, (BYTE)g_fileTypeLetter);
    if (OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE) != 1 ||
        SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) != 1) {
        FailBootRun(dialog, IDS_BOOT_ERROR_FILE_PARAMETERS);
        return;
    }
    s_pollTicks = 0;
    g_bootCounter = BOOT_ERASE_DELAY_TICKS;
    g_bootNextState = BOOT_STATE_WAIT_ERASE;
    g_bootState = BOOT_STATE_DELAY;
}

static void StepWaitErase(HWND dialog)
{
    if (GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) != 1) {
        FailBootRun(dialog, IDS_BOOT_ERROR_ERASE);
        return;
    }
    if (g_featureIn[2] != STATUS_READY) {
        if (++s_pollTicks >= BOOT_ERASE_POLL_LIMIT) FailBootRun(dialog, IDS_BOOT_ERROR_ERASE);
        return;
    }
    g_imageCursor = g_flashImage + BOOT_AREA_SIZE;
    g_pagesLeft = CountImagePages((DWORD)g_fileLength);
    g_packetsLeft = BOOT_PACKETS_PER_PAGE;
    g_pageNumber = 0;
    ShowBootStatus(dialog, IDS_BOOT_STATUS_ERASED);
    g_bootState = BOOT_STATE_SEND_PACKET;
}

// Sends the next 32 image bytes; bytes past the image's end go out as zeros, not as leftovers
// of an earlier file. Bytes 33-63 of the report are not written.
static void StepSendPacket(HWND dialog)
{
    DWORD bytesWritten = 0;
    DWORD offset = (DWORD)(g_imageCursor - g_flashImage);
    for (DWORD i = 0; i < BOOT_PACKET_SIZE; i++) {
        g_outputReport[1 + i] = offset + i < (DWORD)g_fileLength ? g_imageCursor[i] : 0;
    }
    g_imageCursor += BOOT_PACKET_SIZE;
    if (WriteHidReport(g_outputReport, DATA_REPORT_SIZE, &bytesWritten, HID_SLOT_DEVICE) != 1) {
        FailBootRun(dialog, IDS_BOOT_ERROR_DATA_WRITE);
        return;
    }
    s_pollTicks = 0;
    g_bootState = BOOT_STATE_WAIT_ACK;
}

// Waits for the packet's acknowledgement and counts packets into pages; the page text counts
// from 0 and the last page gives the success text instead.
static void StepWaitAck(HWND dialog)
{
    if (GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) != 1) {
        FailBootRun(dialog, IDS_BOOT_ERROR_PAGE_ACK);
        return;
    }
    if (g_featureIn[2] != STATUS_PACKET_ACK) {
        if (++s_pollTicks >= BOOT_ACK_POLL_LIMIT) FailBootRun(dialog, IDS_BOOT_ERROR_PAGE_ACK);
        return;
    }
    g_packetsLeft--;
    g_bootState = BOOT_STATE_SEND_PACKET;
    if (g_packetsLeft > 0) return;
    g_pagesLeft--;
    g_packetsLeft = BOOT_PACKETS_PER_PAGE;
    if (g_pagesLeft > 0) {
        ShowBootStatusNumber(dialog, IDS_BOOT_STATUS_PAGE, g_pageNumber);
        g_pageNumber++;
        return;
    }
    g_bootState = BOOT_STATE_WAIT_RESET;
    g_bootCounter = BOOT_RESET_STEPS;
    g_bootDivider = BOOT_DIVIDER_RELOAD;
    ShowBootStatus(dialog, IDS_BOOT_STATUS_SUCCESS);
    // The reset wait runs on under this box; the window may end while it is shown.
    ShowMessage(dialog, IDS_BOOT_STATUS_SUCCESS, IDS_BOOT_CAPTION_BOOT_INFO, MB_ICONINFORMATION);
}

// Counts the device's restart down; HW Info then goes idle, a download ends the window.
static void StepWaitReset(HWND dialog)
{
    if (!IsBootDividerDue()) return;
    ShowBootStatusNumber(dialog, IDS_BOOT_STATUS_WAIT_RESET, (int)(g_bootCounter * BOOT_RESET_STEP_MS));
    if (--g_bootCounter > 0) return;
    CloseHidSlot(HID_SLOT_DEVICE);
    g_bootState = BOOT_STATE_IDLE;
    if (g_bootInfoOnly) {
        ShowBootStatus(dialog, IDS_BOOT_STATUS_RESET_DONE);
        return;
    }
    g_deviceConnected = 0;
    KillTimer(dialog, TICK_TIMER_ID);
    EndDialog(dialog, TOOL_DIALOG_RESULT);
}

typedef void (*BootStep)(HWND dialog);

// One step per state, indexed by BootState.
static const BootStep BOOT_STEPS[] = {
    StepIdle,           StepDelay,       StepEnterBoot,      StepStartBoot,  StepCheckBootloader, StepReadInfo,
    StepCheckFile,      StepFileParameters, StepWaitErase,   StepSendPacket, StepWaitAck,         StepWaitReset,
};

static void RunBootTick(HWND dialog)
{
    if (g_bootState < sizeof(BOOT_STEPS) / sizeof(BOOT_STEPS[0])) BOOT_STEPS[g_bootState](dialog);
}

// Refuses a chosen file: nothing is offered for download until a file is read and parsed whole.
static void RefuseFirmwareFile(HWND dialog, UINT textId)
{
    ShowBootStatus(dialog, IDS_BOOT_STATUS_NO_FILE);
    ShowMessage(dialog, textId, IDS_BOOT_CAPTION_FILE_ERROR, MB_ICONSTOP);
}

// Open File: reads the chosen file whole and parses it by its extension's first letter. The
// image length, the type letter and the image change only together, when everything succeeded.
static void OpenFirmwareFile(HWND dialog)
{
    static char path[CHOSEN_PATH_SIZE];
    const BYTE* text = (const BYTE*)g_settingsFile;
    DWORD textLength, imageLength = 0;
    size_t pathLength;
    char letter;
    int parsed;

    if (!ChooseOpenFile(path, dialog, FILE_KIND_IMAGE)) return;
    SetDlgItemTextA(dialog, IDC_BOOT_FILE_PATH, path);
    pathLength = strlen(path);
    // Only lower-case "hex" and "dlm" are recognised, by the extension's first letter.
    letter = pathLength >= 3 ? path[pathLength - 3] : 0;
    g_downloadFileReady = 0;

    textLength = (DWORD)ReadWholeFile(path, g_settingsFile);
    if (textLength == 0) {
        RefuseFirmwareFile(dialog, IDS_BOOT_FILE_READ_ERROR);
        return;
    }
    if (letter == BOOT_FILE_HEX) {
        parsed = ParseIntelHexImage(text, textLength, NULL, &imageLength);
    } else if (letter == BOOT_FILE_MEMORY_IMAGE) {
        parsed = ParseMemoryImageFile(text, textLength, NULL, &imageLength);
    } else {
        RefuseFirmwareFile(dialog, IDS_BOOT_FILE_BAD_SUFFIX);
        return;
    }
    if (!parsed) {
        RefuseFirmwareFile(dialog, IDS_BOOT_FILE_CONTENT_ERROR);
        return;
    }
    if (!IsImageLengthSendable(imageLength)) {
        RefuseFirmwareFile(dialog, IDS_BOOT_FILE_IMAGE_SIZE);
        return;
    }
    if (letter == BOOT_FILE_HEX) {
        ParseIntelHexImage(text, textLength, g_flashImage, &imageLength);
    } else {
        ParseMemoryImageFile(text, textLength, g_flashImage, &imageLength);
    }
    g_fileTypeLetter = letter;
    g_fileLength = (int)imageLength;
    s_fileTextLength = textLength;
    g_downloadFileReady = 1;
    ShowBootStatus(dialog, IDS_BOOT_STATUS_FILE_READY);
}

// DownLoad and HW Info: clear the information texts, lock the buttons and start at state 2.
static void StartBootRun(HWND dialog, BYTE infoOnly)
{
    for (const int* id = BOOT_INFO_TEXT_IDS; *id; id++) SetDlgItemTextA(dialog, *id, INFO_BLANKS);
    EnableControls(dialog, BOOT_BUTTON_IDS, FALSE);
    if (!infoOnly && !g_downloadFileReady) {
        // The next idle tick enables the buttons again.
        ShowMessage(dialog, IDS_BOOT_FILE_NOT_CHOSEN, IDS_BOOT_CAPTION_FILE_INFO, MB_ICONEXCLAMATION);
        return;
    }
    g_bootInfoOnly = infoOnly;
    g_bootState = BOOT_STATE_ENTER_BOOT;
}

static void CloseBootWindow(HWND dialog)
{
    g_bootState = BOOT_STATE_IDLE;
    CloseHidSlot(HID_SLOT_DEVICE);
    KillTimer(dialog, TICK_TIMER_ID);
    EndDialog(dialog, TOOL_DIALOG_RESULT);
}

static void InitBootWindow(HWND dialog)
{
    g_downloadFileReady = 0;
    g_bootState = BOOT_STATE_IDLE;
    for (const BootLabel& label : BOOT_LABELS) SetDialogItemText(dialog, label.controlId, label.textId);
    SetTimer(dialog, TICK_TIMER_ID, BOOT_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
}

// The buttons act only while idle; during a run they are disabled, and Esc or the close box
// (which arrive as Cancel) are ignored until the run ends.
static void OnBootCommand(HWND dialog, int controlId)
{
    if (g_bootState != BOOT_STATE_IDLE) return;
    switch (controlId) {
    case IDC_BOOT_OPEN_FILE:
        OpenFirmwareFile(dialog);
        break;
    case IDC_BOOT_DOWNLOAD:
        StartBootRun(dialog, 0);
        break;
    case IDC_BOOT_HW_INFO:
        StartBootRun(dialog, 1);
        break;
    case IDCANCEL:
        CloseBootWindow(dialog);
        break;
    default:
        break;
    }
}

// Dialog procedure of the bootloader window (template 120); always ends with TOOL_DIALOG_RESULT.
INT_PTR CALLBACK BootloaderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitBootWindow(dialog);
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) OnBootCommand(dialog, LOWORD(wParam));
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunBootTick(dialog);
        break;
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        break;
    default:
        break;
    }
    return 0;
}
