// USB id dialogs: the vendor and product ids of the configured device and of the calibration device.
#ifndef ZENTIL_APP_HID_ID_DIALOGS_H
#define ZENTIL_APP_HID_ID_DIALOGS_H

#include <windows.h>

// An id field's text is read up to this many bytes (9 characters and the terminator).
const int HID_ID_TEXT_LIMIT = 10;

INT_PTR CALLBACK DeviceHidIdDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CalibratorHidIdDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
