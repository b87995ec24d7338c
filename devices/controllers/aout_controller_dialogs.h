// The analog-output room controller dialogs and the LBKDG1KS dialog, as the model table names them.
#ifndef ZENTIL_DEVICES_CONTROLLERS_AOUT_CONTROLLER_DIALOGS_H
#define ZENTIL_DEVICES_CONTROLLERS_AOUT_CONTROLLER_DIALOGS_H

#include <windows.h>

#include "devices/lcd_units/unit_bitmaps.h"

INT_PTR CALLBACK LBKDODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBKDOSDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBDMODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBRMODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBODODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LBKDG1KSDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The bitmap tables of the dialogs with pictures, for the tests that watch their release.
const UnitBitmapTable* LBKDOBitmapTable();
const UnitBitmapTable* LBDMOBitmapTable();
const UnitBitmapTable* LBRMOBitmapTable();
const UnitBitmapTable* LBODOBitmapTable();

#endif
