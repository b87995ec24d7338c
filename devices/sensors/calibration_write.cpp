// The calibration write: one feature report with the value, no reply awaited, no EEPROM store.
#include "devices/sensors/calibration_write.h"

#include <stdio.h>
#include <string.h>

#include "kit/fixed_point.h"
#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "resource.h"

// Off-line the slot's list index may name a device that is long gone, so nothing is sent and the
// failure path runs, as for the fan command.
int SendCalibrationValue(HWND dialog, WORD value)
{
    int result = 0;
    if (g_deviceConnected == 1) {
        OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
        memset(g_featureOut, 0, FEATURE_REPORT_SIZE);
        g_featureOut[1] = CMD_WRITE_CALIBRATION;
        g_featureOut[2] = HIBYTE(value);
        g_featureOut[3] = LOBYTE(value);
        result = SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
        CloseHidSlot(HID_SLOT_DEVICE);
    }
    if (result == 1) {
        ShowMessage(dialog, IDS_CALIBRATION_WRITTEN, IDS_SENSORS_CAPTION_SET_INFO, MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    ShowMessage(dialog, IDS_CALIBRATION_WRITE_ERROR, IDS_SENSORS_CAPTION_SET_INFO, MB_OK | MB_ICONERROR);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return 0;
}

int WriteCalibrationFromField(HWND dialog, int controlId, WORD* value)
{
    int number;
    GetDlgItemTextA(dialog, controlId, g_textBuffer, FIELD_TEXT_LIMIT);
    if (sscanf(g_textBuffer, "%d", &number) == 1) *value = (WORD)number;
    return SendCalibrationValue(dialog, *value);
}
