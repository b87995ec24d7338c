// Off-line model picker: chooses the device type when CONFIG runs without a connected device.
#ifndef ZENTIL_APP_OFFLINE_PICKER_H
#define ZENTIL_APP_OFFLINE_PICKER_H

#include <windows.h>

INT_PTR CALLBACK OfflineModeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
