// Device types: the model table, the name tests that pick a type, and the firmware rule.
#ifndef ZENTIL_APP_DEVICE_TYPES_H
#define ZENTIL_APP_DEVICE_TYPES_H

#include <windows.h>

enum DeviceType {
    DEVICE_TYPE_TDO = 0,
    DEVICE_TYPE_TDG = 1,
    DEVICE_TYPE_DMO = 2,
    DEVICE_TYPE_GQU2 = 3,
    DEVICE_TYPE_LO2 = 4,
    DEVICE_TYPE_TKDG = 5,
    DEVICE_TYPE_KDG = 6,
    DEVICE_TYPE_TKRG = 7,
    DEVICE_TYPE_KRG = 8,
    DEVICE_TYPE_TYSO = 9,
    DEVICE_TYPE_TYSG = 10,
    DEVICE_TYPE_TQSRO = 11,
    DEVICE_TYPE_TQSRG = 12,
    DEVICE_TYPE_DMG1A = 13,
    DEVICE_TYPE_RMG1A = 15,
    DEVICE_TYPE_DMG1K = 16,
    DEVICE_TYPE_RMG1K = 17,
    DEVICE_TYPE_DMG1T = 18,
    DEVICE_TYPE_RMG1T = 19,
    DEVICE_TYPE_GHE3HU3 = 20,
    DEVICE_TYPE_GQKE1 = 21,
    DEVICE_TYPE_DMG9A = 22,
    DEVICE_TYPE_RMG9A = 23,
    DEVICE_TYPE_TODG = 24,
    DEVICE_TYPE_ODG = 25,
    DEVICE_TYPE_TORG = 26,
    DEVICE_TYPE_ORG = 27,
    DEVICE_TYPE_NRDG = 28,
    DEVICE_TYPE_TNTDG = 29,
    DEVICE_TYPE_TNTRG = 30,
    DEVICE_TYPE_DMG1KY = 31,
    DEVICE_TYPE_LBDMG1K = 32,
    DEVICE_TYPE_LBRMG1K = 33,
    DEVICE_TYPE_LBKDG1K = 34,
    DEVICE_TYPE_LBKDG1KS = 35,
    DEVICE_TYPE_LBODG1K = 36,
    DEVICE_TYPE_LBDMO = 37,
    DEVICE_TYPE_LBRMO = 38,
    DEVICE_TYPE_LBKDO = 39,
    DEVICE_TYPE_LBKDOS = 40,
    DEVICE_TYPE_LBODO = 41,
    DEVICE_TYPE_T1CGA = 48,
    DEVICE_TYPE_KDG1KY = 49,
};
const int DEVICE_TYPE_CODE_COUNT = 50;

// What Tools > Automatic calibration opens for a type.
enum CalibrationKind {
    CALIBRATION_NONE = 0,
    CALIBRATION_AOUT = 1,
    CALIBRATION_AIN = 2,
};

// One model: its configuration dialog and the main window's facts about it.
struct DeviceTypeInfo {
    BYTE code;
    const char* model;        // designation as shown in the picker and the settings-file header
    int templateId;           // 0: no configuration dialog
    DLGPROC dialogProc;       // null while the model's dialog is not part of the program
    int offlineButtonId;      // 0: no picker button
    char firmwareMinimum[9];  // "AB.CD.EF"
    BYTE calibration;
};

extern BYTE g_deviceType;
extern char g_deviceNameText[19];
extern char g_firmwareText[11];

const DeviceTypeInfo* FindDeviceTypeInfo(int code);
int FindDeviceTypeOfName(const char* name);
void IdentifyDeviceType();
int CheckFirmwareVersion();
BYTE GetCalibrationKind(int code);

#endif
