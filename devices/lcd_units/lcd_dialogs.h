// Dialog procedures of the LCD room units, for the device-type table.
#ifndef ZENTIL_DEVICES_LCD_UNITS_LCD_DIALOGS_H
#define ZENTIL_DEVICES_LCD_UNITS_LCD_DIALOGS_H

#include <windows.h>

INT_PTR CALLBACK KDG1KYDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
