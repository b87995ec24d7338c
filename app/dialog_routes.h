// The modal windows the main window opens, by template and procedure.
#ifndef ZENTIL_APP_DIALOG_ROUTES_H
#define ZENTIL_APP_DIALOG_ROUTES_H

#include <windows.h>

// A window of the main window's menu or buttons; a null procedure is not part of the program yet.
struct DialogRoute {
    int templateId;
    DLGPROC dialogProc;
};

extern const DialogRoute OFFLINE_PICKER_ROUTE;
extern const DialogRoute DEVICE_HID_ID_ROUTE;
extern const DialogRoute CALIBRATOR_HID_ID_ROUTE;
extern const DialogRoute LIVE_DATA_ROUTE;
extern const DialogRoute ANALOG_OUTPUT_WRITE_ROUTE;
extern const DialogRoute AOUT_CALIBRATION_ROUTE;
extern const DialogRoute AIN_CALIBRATION_ROUTE;
extern const DialogRoute BOOTLOADER_ROUTE;

INT_PTR RunModalDialog(HWND owner, int templateId, DLGPROC dialogProc);
INT_PTR RunDialogRoute(HWND owner, const DialogRoute& route);

#endif
