// The modal windows the main window opens, by template and procedure.
#include "app/dialog_routes.h"

#include "app/hid_id_dialogs.h"
#include "app/main_window.h"
#include "app/offline_picker.h"
#include "resource.h"
#include "tools/ain_auto_calibration.h"
#include "tools/analog_output_writer.h"
#include "tools/aout_auto_calibration.h"
#include "tools/bootloader.h"
#include "tools/live_data.h"

const DialogRoute OFFLINE_PICKER_ROUTE = {IDD_OFFLINE, OfflineModeDlgProc};
const DialogRoute DEVICE_HID_ID_ROUTE = {IDD_DEVICE_HID_ID, DeviceHidIdDlgProc};
const DialogRoute CALIBRATOR_HID_ID_ROUTE = {IDD_CALIBRATOR_HID_ID, CalibratorHidIdDlgProc};
const DialogRoute LIVE_DATA_ROUTE = {IDD_LIVE_DATA, LiveDataDlgProc};
const DialogRoute ANALOG_OUTPUT_WRITE_ROUTE = {IDD_AO_WRITE, AnalogOutputWriteDlgProc};
const DialogRoute AOUT_CALIBRATION_ROUTE = {IDD_AOUT_CAL, AoutAutoCalibrationDlgProc};
const DialogRoute AIN_CALIBRATION_ROUTE = {IDD_AIN_CAL, AinAutoCalibrationDlgProc};
const DialogRoute BOOTLOADER_ROUTE = {IDD_BOOTLOADER, BootloaderDlgProc};

// Opens a modal dialog from its template with creation parameter 0; -1 when it cannot open.
INT_PTR RunModalDialog(HWND owner, int templateId, DLGPROC dialogProc)
{
    if (templateId == 0 || dialogProc == NULL) return -1;
    return DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(templateId), owner, dialogProc, 0);
}

INT_PTR RunDialogRoute(HWND owner, const DialogRoute& route)
{
    return RunModalDialog(owner, route.templateId, route.dialogProc);
}
