// Dialog procedures of the room controllers, for the device-type table.
#ifndef ZENTIL_DEVICES_CONTROLLERS_CONTROLLER_DIALOGS_H
#define ZENTIL_DEVICES_CONTROLLERS_CONTROLLER_DIALOGS_H

#include <windows.h>

#include "devices/lcd_units/unit_bitmaps.h"

INT_PTR CALLBACK LBKDG1KDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The bitmap handles the LBKDG1K dialog holds while it is open (for checks of their release).
const UnitBitmapTable* LBKDG1KBitmapTable();

#endif
