// Device types: the model table, the name tests that pick a type, and the firmware rule.
#include "app/device_types.h"

#include "devices/controllers/aout_controller_dialogs.h"
#include "devices/controllers/controller_dialogs.h"
#include "devices/lcd_units/lcd_dialogs.h"
#include "devices/sensors/sensor_dialogs.h"
#include "link/transfer_engines.h"
#include "resource.h"

BYTE g_deviceType = DEVICE_TYPE_TDO;
char g_deviceNameText[19] = "  ";
char g_firmwareText[11] = "  ";

// Codes with a model. A dialog procedure joins its row when the model's dialog is built.
static const DeviceTypeInfo DEVICE_TYPES[] = {
    {DEVICE_TYPE_TDO, "TDO", IDD_TDO, TDODlgProc, 2, "00.00.24", CALIBRATION_AOUT},
    {DEVICE_TYPE_TDG, "TDG", IDD_TDG, TDGDlgProc, 3, "00.00.08", CALIBRATION_NONE},
    {DEVICE_TYPE_DMO, "DMO", IDD_DMO, DMODlgProc, 1259, "00.00.24", CALIBRATION_AOUT},
    {DEVICE_TYPE_GQU2, "GQU2", IDD_GQU2, GQU2DlgProc, 5, "00.00.10", CALIBRATION_AOUT},
    {DEVICE_TYPE_LO2, "LO2", IDD_LO2, LO2DlgProc, 6, "00.00.03", CALIBRATION_AOUT},
    {DEVICE_TYPE_TKDG, "TKDG", IDD_TKDG, TKDGDlgProc, 1260, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_KDG, "KDG", IDD_KDG, KDGDlgProc, 8, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_TKRG, "TKRG", IDD_TKRG, TKRGDlgProc, 9, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_KRG, "KRG", IDD_KRG, KRGDlgProc, 7, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_TYSO, "TYSO", IDD_TYSO, TYSODlgProc, 11, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_TYSG, "TYSG", IDD_TYSG, TYSGDlgProc, 12, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_TQSRO, "TQSRO", IDD_TQSRO, TQSRODlgProc, 15, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_TQSRG, "TQSRG", IDD_TQSRG, TQSRGDlgProc, 10, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_DMG1A, "DMG1A", IDD_DMG1A, DMG1ADlgProc, 13, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_RMG1A, "RMG1A", IDD_RMG1A, RMG1ADlgProc, 14, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_DMG1K, "DMG1K", 0, NULL, 0, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_RMG1K, "RMG1K", 0, NULL, 0, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_DMG1T, "DMG1T", IDD_DMG1T, DMG1TDlgProc, 18, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_RMG1T, "RMG1T", 0, NULL, 0, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_GHE3HU3, "G-HE3HU3", 0, NULL, 0, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_GQKE1, "G-QKE1", IDD_GQKE1, GQKE1DlgProc, 20, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_DMG9A, "DMG9A", IDD_DMG9A, DMG9ADlgProc, 21, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_RMG9A, "RMG9A", 0, NULL, 0, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_TODG, "TODG", IDD_TODG, TODGDlgProc, 22, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_ODG, "ODG", IDD_ODG, ODGDlgProc, 23, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_TORG, "TORG", IDD_TORG, TORGDlgProc, 28, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_ORG, "ORG", IDD_ORG, ORGDlgProc, 29, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_NRDG, "NRDG", IDD_NRDG, NRDGDlgProc, 24, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_TNTDG, "TNTDG", IDD_TNTDG, TNTDGDlgProc, 25, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_TNTRG, "TNTRG", IDD_TNTRG, TNTRGDlgProc, 27, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_DMG1KY, "DMG1KY", IDD_DMG1KY, DMG1KYDlgProc, 26, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_LBDMG1K, "LB-DMG", IDD_LBDMG1K, LBDMG1KDlgProc, 31, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_LBRMG1K, "LB-RMG", IDD_LBRMG1K, LBRMG1KDlgProc, 32, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_LBKDG1K, "LB-KDG", IDD_LBKDG1K, LBKDG1KDlgProc, 30, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_LBKDG1KS, "LB-KDG-S", IDD_LBKDG1KS, LBKDG1KSDlgProc, 34, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_LBODG1K, "LB-ODG", IDD_LBODG1K, LBODG1KDlgProc, 33, "00.00.00", CALIBRATION_NONE},
    {DEVICE_TYPE_LBDMO, "LB-DMO", IDD_LBDMO, LBDMODlgProc, 35, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_LBRMO, "LB-RMO", IDD_LBRMO, LBRMODlgProc, 39, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_LBKDO, "LB-KDO", IDD_LBKDO, LBKDODlgProc, 36, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_LBKDOS, "LB-KDO-S", IDD_LBKDOS, LBKDOSDlgProc, 38, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_LBODO, "LB-ODO", IDD_LBODO, LBODODlgProc, 37, "00.00.00", CALIBRATION_AOUT},
    {DEVICE_TYPE_T1CGA, "T1cGA", IDD_T1CGA, T1CGADlgProc, 40, "00.00.00", CALIBRATION_AIN},
    {DEVICE_TYPE_KDG1KY, "KDG1KY", IDD_KDG1KY, KDG1KYDlgProc, 41, "00.00.00", CALIBRATION_NONE},
};

// The row of a code with a model, or null (codes 14, 42-47 and above 49).
const DeviceTypeInfo* FindDeviceTypeInfo(int code)
{
    for (size_t i = 0; i < sizeof(DEVICE_TYPES) / sizeof(DEVICE_TYPES[0]); i++) {
        if (DEVICE_TYPES[i].code == code) return &DEVICE_TYPES[i];
    }
    return NULL;
}

// Codes without a model are treated like the analog-output models by the Tools menu.
BYTE GetCalibrationKind(int code)
{
    const DeviceTypeInfo* info = FindDeviceTypeInfo(code);
    return info ? info->calibration : (BYTE)CALIBRATION_AOUT;
}

// One name test: the characters at positions 1.. in the order tested; '!' before a character
// means "anything but it". Position 0 is the row's first character.
struct NameTest {
    const char* pattern;
    BYTE code;
};

static const NameTest NAME_TESTS[] = {
    {"TDO", DEVICE_TYPE_TDO},        {"TDG", DEVICE_TYPE_TDG},         {"TKDG", DEVICE_TYPE_TKDG},
    {"TKRG", DEVICE_TYPE_TKRG},      {"TODG", DEVICE_TYPE_TODG},       {"TORG", DEVICE_TYPE_TORG},
    {"TYSO", DEVICE_TYPE_TYSO},      {"TYSG", DEVICE_TYPE_TYSG},       {"TQSRG", DEVICE_TYPE_TQSRG},
    {"TQSRO", DEVICE_TYPE_TQSRO},    {"TNTD", DEVICE_TYPE_TNTDG},      {"TNTR", DEVICE_TYPE_TNTRG},
    {"T1cGA", DEVICE_TYPE_T1CGA},    {"DMO", DEVICE_TYPE_DMO},         {"DMG1A", DEVICE_TYPE_DMG1A},
    {"DMG1KY", DEVICE_TYPE_DMG1KY},  {"DMG1K!Y", DEVICE_TYPE_DMG1K},   {"DMG1T", DEVICE_TYPE_DMG1T},
    {"DMG9A", DEVICE_TYPE_DMG9A},    {"GQU2", DEVICE_TYPE_GQU2},       {"G-HE3HU3", DEVICE_TYPE_GHE3HU3},
    {"G-QKE1", DEVICE_TYPE_GQKE1},   {"L-O2", DEVICE_TYPE_LO2},        {"LBDMG1K", DEVICE_TYPE_LBDMG1K},
    {"LBDMO", DEVICE_TYPE_LBDMO},    {"LBRMG1K", DEVICE_TYPE_LBRMG1K}, {"LBRMO", DEVICE_TYPE_LBRMO},
    {"LBKDG1KS", DEVICE_TYPE_LBKDG1KS}, {"LBKDG1K!S", DEVICE_TYPE_LBKDG1K},
    {"LBKDOS", DEVICE_TYPE_LBKDOS},  {"LBKDO!S", DEVICE_TYPE_LBKDO},   {"LBODG1K", DEVICE_TYPE_LBODG1K},
    {"LBODO", DEVICE_TYPE_LBODO},    {"KDG ", DEVICE_TYPE_KDG},        {"KDG1", DEVICE_TYPE_KDG1KY},
    {"KRG", DEVICE_TYPE_KRG},        {"ODG", DEVICE_TYPE_ODG},         {"ORG", DEVICE_TYPE_ORG},
    {"RMG1A", DEVICE_TYPE_RMG1A},    {"RMG1K", DEVICE_TYPE_RMG1K},     {"RMG1T", DEVICE_TYPE_RMG1T},
    {"RMG9A", DEVICE_TYPE_RMG9A},    {"NRDG", DEVICE_TYPE_NRDG},
};

// Whether the 16-character name matches a test, position by position.
static int MatchesNameTest(const char* name, const char* pattern)
{
    int position = 0;
    for (const char* p = pattern; *p; p++, position++) {
        if (*p == '!') {
            p++;
            if (name[position] == *p) return 0;
        } else if (name[position] != *p) {
            return 0;
        }
    }
    return 1;
}

// The code a 16-character device name identifies, by the first name test it passes; -1 for none.
int FindDeviceTypeOfName(const char* name)
{
    for (size_t i = 0; i < sizeof(NAME_TESTS) / sizeof(NAME_TESTS[0]); i++) {
        if (MatchesNameTest(name, NAME_TESTS[i].pattern)) return NAME_TESTS[i].code;
    }
    return -1;
}

// Sets g_deviceType from the device name; an unknown name leaves it as it was.
void IdentifyDeviceType()
{
    int code = FindDeviceTypeOfName(g_deviceNameText + 2);
    if (code < 0) return;
    if (g_deviceType != code) g_registerImageRead = 0;  // the image was another model's
    g_deviceType = (BYTE)code;
}

// 1 when g_firmwareText is at least the type's minimum; compared as signed character codes,
// position A counting as equal when it is the letter b.
int CheckFirmwareVersion()
{
    static const int POSITIONS[6] = {0, 1, 3, 4, 6, 7};
    const DeviceTypeInfo* info = FindDeviceTypeInfo(g_deviceType);
    if (!info) return 0;
    for (int i = 0; i < 6; i++) {
        signed char have = (signed char)g_firmwareText[2 + POSITIONS[i]];
        signed char need = (signed char)info->firmwareMinimum[POSITIONS[i]];
        if (i == 0 && have == 'b') continue;
        if (i == 5) return have >= need;
        if (have < need) return 0;
        if (have > need) return 1;
    }
    return 0;
}
