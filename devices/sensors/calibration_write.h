// The calibration write: one value sent to the configured device with CMD_WRITE_CALIBRATION, for
// every dialog that offers it (the CO2 sensors, the LCD room units and the room controllers).
#ifndef ZENTIL_DEVICES_SENSORS_CALIBRATION_WRITE_H
#define ZENTIL_DEVICES_SENSORS_CALIBRATION_WRITE_H

#include <windows.h>

// Sends `value` (high byte first) to the device on HID_SLOT_DEVICE, with no EEPROM store after it.
// Success shows "Calibration data write"; failure shows "Calibration data write error" and posts
// WM_CLOSE to `dialog`, which owns both boxes. g_deviceConnected is never changed. 1 on success.
int SendCalibrationValue(HWND dialog, WORD value);

// Reads the edit field `controlId` with "%d" into `*value` (a text without a number keeps the
// value as it was) and sends it with SendCalibrationValue; returns its result.
int WriteCalibrationFromField(HWND dialog, int controlId, WORD* value);

#endif
