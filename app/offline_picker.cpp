// Off-line model picker: chooses the device type when CONFIG runs without a connected device.
#include "app/offline_picker.h"

#include "app/device_types.h"

// The model whose picker button has this id; -1 for any other command.
static int FindCodeOfButton(int buttonId)
{
    for (int code = 0; code < DEVICE_TYPE_CODE_COUNT; code++) {
        const DeviceTypeInfo* info = FindDeviceTypeInfo(code);
        if (info != NULL && info->offlineButtonId != 0 && info->offlineButtonId == buttonId) return code;
    }
    return -1;
}

// A button sets its model's code and ends the picker with 1. The TDO button carries the id of
// IDCANCEL, so Esc chooses TDO too: the picker cannot be left without a model.
INT_PTR CALLBACK OfflineModeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        int code = FindCodeOfButton(LOWORD(wParam));
        if (code >= 0) {
            g_deviceType = (BYTE)code;
            EndDialog(dialog, 1);
        }
    }
    return 0;
}
