// Factory settings of a simulated device: the register image its model's dialog gives on Default,
// so that a demo device opens in CONFIG with sensible values and no range message.
#include "sim/sim_device.h"

#include <string.h>

#include "app/device_types.h"
#include "devices/sensors/model_dialog.h"

// Models whose device name differs from the label the program shows for them.
static const char* const NAME_OF_LABEL[][2] = {
    {"LO2", "L-O2"},          {"L-O2", "L-O2"},         {"T1CGA", "T1cGA"},     {"LB-DMG", "LBDMG1K"},
    {"LB-RMG", "LBRMG1K"},    {"LB-KDG", "LBKDG1K "},   {"LB-KDG-S", "LBKDG1KS"}, {"LB-ODG", "LBODG1K"},
    {"LB-DMO", "LBDMO"},      {"LB-RMO", "LBRMO"},      {"LB-KDO", "LBKDO "},   {"LB-KDO-S", "LBKDOS"},
    {"LB-ODO", "LBODO"},      {"KDG", "KDG "},          {"DMG1K", "DMG1K "},
};

const char* SimDeviceNameOfModel(const char* label)
{
    for (size_t i = 0; i < sizeof(NAME_OF_LABEL) / sizeof(NAME_OF_LABEL[0]); i++)
        if (_stricmp(label, NAME_OF_LABEL[i][0]) == 0) return NAME_OF_LABEL[i][1];
    return label;
}

// The model the program would identify from the device's name; the program's own records that
// the identification uses are put back afterwards.
const DeviceTypeInfo* SimFindModelOfName(const char* name)
{
    char savedName[sizeof(g_deviceNameText)];
    BYTE savedType = g_deviceType;
    memcpy(savedName, g_deviceNameText, sizeof(savedName));
    memset(g_deviceNameText, ' ', 2);
    strncpy(g_deviceNameText + 2, name, 16);
    g_deviceNameText[18] = 0;
    g_deviceType = 0xFF;
    IdentifyDeviceType();
    const DeviceTypeInfo* info = FindDeviceTypeInfo(g_deviceType);
    memcpy(g_deviceNameText, savedName, sizeof(savedName));
    g_deviceType = savedType;
    return info;
}

bool SimPutFactorySettings(int id)
{
    WORD image[SIM_REGISTER_COUNT] = {};
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    if (!device) return false;
    const DeviceTypeInfo* info = SimFindModelOfName(device->name);
    if (!info || !info->dialogProc) return false;
    if (!info->dialogProc(NULL, WM_MODEL_FACTORY_SETTINGS, 0, (LPARAM)image)) return false;
    memcpy(device->registers, image, sizeof(image));
    memcpy(device->eeprom, image, sizeof(image));
    return true;
}
