// Dialog procedures of the room controllers, for the device-type table.
#ifndef ZENTIL_DEVICES_CONTROLLERS_CONTROLLER_DIALOGS_H
#define ZENTIL_DEVICES_CONTROLLERS_CONTROLLER_DIALOGS_H

#include <windows.h>

#include "devices/lcd_units/unit_bitmaps.h"

INT_PTR CALLBACK LBDMG1KDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBRMG1KDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBKDG1KDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBODG1KDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The bitmap handles each dialog holds while it is open (for checks of their release).
const UnitBitmapTable* LBDMG1KBitmapTable();
const UnitBitmapTable* LBRMG1KBitmapTable();
const UnitBitmapTable* LBKDG1KBitmapTable();
const UnitBitmapTable* LBODG1KBitmapTable();

#endif
