// USB id dialogs: the vendor and product ids of the configured device and of the calibration device.
#include "app/hid_id_dialogs.h"

#include <stdio.h>

#include "app/main_window.h"
#include "kit/shared_records.h"
#include "kit/texts.h"
#include "resource.h"

// What one of the two dialogs edits: its controls, its group text and its pair of ids.
struct HidIdDialog {
    int groupId;
    int vendorFieldId;
    int productFieldId;
    UINT groupTextId;
    WORD* vendorId;
    WORD* productId;
};

static const HidIdDialog DEVICE_HID_ID_DIALOG = {
    IDC_DEVICE_HID_ID_GROUP,   IDC_DEVICE_HID_ID_VENDOR, IDC_DEVICE_HID_ID_PRODUCT,
    IDS_HID_ID_SETTING_DEVICE, &g_deviceVendorId,        &g_deviceProductId,
};
static const HidIdDialog CALIBRATOR_HID_ID_DIALOG = {
    IDC_CALIBRATOR_HID_ID_GROUP,   IDC_CALIBRATOR_HID_ID_VENDOR, IDC_CALIBRATOR_HID_ID_PRODUCT,
    IDS_HID_ID_SETTING_CALIBRATOR, &g_calibratorVendorId,        &g_calibratorProductId,
};

static int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a hexadecimal number as "%x" does (blanks, a sign and a 0x prefix allowed, stopping at
// the first other character) into *id, keeping its low 16 bits however many digits it has.
// A text with no hexadecimal digit leaves *id as it was.
static void ParseHexId(const char* text, WORD* id)
{
    unsigned value = 0;
    int negative = 0;
    int digits = 0;
    while (*text == ' ' || *text == '\t') text++;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && HexDigitValue(text[2]) >= 0) text += 2;
    for (; HexDigitValue(*text) >= 0; text++, digits++) value = value * 16 + (unsigned)HexDigitValue(*text);
    if (digits == 0) return;
    if (negative) value = 0u - value;
    *id = (WORD)(value & 0xFFFF);
}

static void ShowHexId(HWND dialog, int fieldId, WORD id)
{
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "0x%X", (unsigned)id);
    SetDlgItemTextA(dialog, fieldId, g_textBuffer);
}

static void ReadHexId(HWND dialog, int fieldId, WORD* id)
{
    g_textBuffer[0] = 0;
    GetDlgItemTextA(dialog, fieldId, g_textBuffer, HID_ID_TEXT_LIMIT);
    ParseHexId(g_textBuffer, id);
}

// The one design of both dialogs: ids shown as 0x%X, OK stores them and ends with 1, Esc or the
// close box ends with 2 and changes nothing.
static INT_PTR RunHidIdDialog(const HidIdDialog& ids, HWND dialog, UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_INITDIALOG:
        ShowHexId(dialog, ids.vendorFieldId, *ids.vendorId);
        ShowHexId(dialog, ids.productFieldId, *ids.productId);
        SetDialogItemText(dialog, ids.groupId, ids.groupTextId);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            ReadHexId(dialog, ids.vendorFieldId, ids.vendorId);
            ReadHexId(dialog, ids.productFieldId, ids.productId);
            EndDialog(dialog, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        break;
    default:
        break;
    }
    return 0;
}

INT_PTR CALLBACK DeviceHidIdDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunHidIdDialog(DEVICE_HID_ID_DIALOG, dialog, message, wParam);
}

INT_PTR CALLBACK CalibratorHidIdDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunHidIdDialog(CALIBRATOR_HID_ID_DIALOG, dialog, message, wParam);
}
