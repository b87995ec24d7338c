// Dialog procedures of the LCD room units, for the device-type table.
#ifndef ZENTIL_DEVICES_LCD_UNITS_LCD_DIALOGS_H
#define ZENTIL_DEVICES_LCD_UNITS_LCD_DIALOGS_H

#include <windows.h>

#include "devices/lcd_units/unit_bitmaps.h"

INT_PTR CALLBACK KDG1KYDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The bitmap handles the KDG1KY dialog holds while it is open (for checks of their release).
const UnitBitmapTable* KDG1KYBitmapTable();

INT_PTR CALLBACK DMG1KYDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DMG1ADlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RMG1ADlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
const UnitBitmapTable* DMG1KYBitmapTable();
const UnitBitmapTable* DMG1ABitmapTable();
const UnitBitmapTable* RMG1ABitmapTable();

#endif
