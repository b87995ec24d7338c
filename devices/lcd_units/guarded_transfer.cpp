// Guarded configuration transfer: while the unit's own menu is open nothing is moved, and while the
// image moves the unit is held in its configuration mode.
#include "devices/lcd_units/guarded_transfer.h"

#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"

// Each step opens the device slot for itself; the open is not tested, since a slot that did not
// open makes the feature call fail, and that takes the failure path.
int QueryMenuStatus(WORD* status)
{
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    int received = GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
    CloseHidSlot(HID_SLOT_DEVICE);
    if (received == 1) *status = (WORD)(g_featureIn[5] * 256 + g_featureIn[6]);
    return received;
}

int SendConfigCommand(BYTE command)
{
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    PrepareFeatureCommand(command, 0, REPORT_MAGIC);
    int sent = SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
    CloseHidSlot(HID_SLOT_DEVICE);
    return sent;
}

// The connection is dropped before the box opens; the dialog closes after it as Cancel would.
void ReportCommunicationFailure(HWND dialog)
{
    g_deviceConnected = 0;
    g_registerImageRead = 0;
    ShowMessage(dialog, IDS_LCD_COMMUNICATION_ERROR, IDS_CAPTION_SET_INFO, MB_OK | MB_ICONERROR);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// Status query and CMD_CONFIG_BEGIN; 1 when the device is now in its configuration mode. Only the
// exact menu-open word refuses, with the dialog and the connection left as they are.
static int EnterConfigMode(HWND dialog, UINT refusalTextId)
{
    WORD status = 0;
    if (QueryMenuStatus(&status) != 1) {
        ReportCommunicationFailure(dialog);
        return 0;
    }
    if (status == STATUS_MENU_ACTIVE) {
        ShowMessage(dialog, refusalTextId, IDS_CAPTION_SET_INFO, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (SendConfigCommand(CMD_CONFIG_BEGIN) != 1) {
        ReportCommunicationFailure(dialog);
        return 0;
    }
    return 1;
}

// Runs an engine's progress window; 0 when it failed (it has told the user and dropped the
// connection), and the dialog then closes without CMD_CONFIG_END.
static int RunEngine(HWND dialog, int templateId, DLGPROC engine)
{
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(templateId), dialog, engine, 0);
    if (g_deviceConnected != 0) return 1;
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return 0;
}

static int LeaveConfigMode(HWND dialog)
{
    if (SendConfigCommand(CMD_CONFIG_END) == 1) return 1;
    ReportCommunicationFailure(dialog);
    return 0;
}

void RunGuardedRead(HWND dialog, DialogStep showRegisters)
{
    if (!EnterConfigMode(dialog, IDS_LCD_READ_MENU_ACTIVE)) return;
    if (!RunEngine(dialog, IDD_READ_PROGRESS, ReadProgressDlgProc)) return;
    if (!LeaveConfigMode(dialog)) return;
    showRegisters(dialog);
}

// The registers the dialog does not own go back as the device holds them: an image never read
// from this device (a refused or abandoned read, another device, off-line values) is read first,
// inside the same bracket. A read the user abandons leaves the device as it was.
void RunGuardedWrite(HWND dialog, DialogStep checkFields, DialogStep takeRegisters)
{
    checkFields(dialog);
    if (!EnterConfigMode(dialog, IDS_LCD_WRITE_MENU_ACTIVE)) return;
    if (!g_registerImageRead) {
        if (!RunEngine(dialog, IDD_READ_PROGRESS, ReadProgressDlgProc)) return;
        if (!g_registerImageRead) {
            LeaveConfigMode(dialog);
            return;
        }
    }
    takeRegisters(dialog);
    if (!RunEngine(dialog, IDD_WRITE_PROGRESS, WriteProgressDlgProc)) return;
    LeaveConfigMode(dialog);
}
