// The fan command of the units with a fan (TNTDG, TNTRG): one feature report, no reply.
#include "devices/sensors/fan_command.h"

#include <string.h>

#include "kit/shared_records.h"
#include "devices/sensors/model_dialog.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "resource.h"

// Starts the fan at once. Off-line the slot's list index may name a device that is long gone,
// so nothing is sent and the failure path runs; a command the device does not take closes the
// dialog.
void SendFanCommand(HWND dialog)
{
    int result = 0;
    if (g_deviceConnected == 1) {
        OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
        memset(g_featureOut, 0, FEATURE_REPORT_SIZE);
        g_featureOut[1] = CMD_ACTIVATE;
        result = SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
        CloseHidSlot(HID_SLOT_DEVICE);
    }
    if (result != 1) {
        ShowMessage(dialog, IDS_SENSORS_COMMAND_WRITE_ERROR, IDS_SENSORS_CAPTION_SET_INFO, MB_OK | MB_ICONERROR);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
}
