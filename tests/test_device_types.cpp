// Device names to types and the firmware rule.
#include <gtest/gtest.h>

#include <string.h>

#include "app/device_types.h"

static void SetDeviceName(const char* name)
{
    memset(g_deviceNameText, ' ', 18);
    memcpy(g_deviceNameText + 2, name, strlen(name));
    g_deviceNameText[18] = 0;
}

static void SetFirmware(const char* text)
{
    memset(g_firmwareText, ' ', 10);
    memcpy(g_firmwareText + 2, text, strlen(text));
    g_firmwareText[10] = 0;
}

struct NameCase {
    const char* name;
    int expected;  // -1: the type stays as it was
};

TEST(DeviceTypes, EveryNameTestRow)
{
    static const NameCase CASES[] = {
        {"TDO", 0},        {"TDOXYZ", 0},       {"TDG", 1},          {"TKDG", 5},        {"TKRG", 7},
        {"TODG", 24},      {"TORG", 26},        {"TYSO", 9},         {"TYSG", 10},       {"TQSRG", 12},
        {"TQSRO", 11},     {"TNTDxx", 29},      {"TNTR", 30},        {"T1cGA", 48},      {"T1CGA", -1},
        {"DMO", 2},        {"DMG1A", 13},       {"DMG1KY", 31},      {"DMG1K ", 16},     {"DMG1T", 18},
        {"DMG9A", 22},     {"GQU2", 3},         {"G-HE3HU3", 20},    {"G-QKE1", 21},     {"L-O2", 4},
        {"LO2", -1},       {"LBDMG1K", 32},     {"LBDMO", 37},       {"LBRMG1K", 33},    {"LBRMO", 38},
        {"LBKDG1KS", 35},  {"LBKDG1K ", 34},    {"LBKDOS", 40},      {"LBKDO ", 39},     {"LBODG1K", 36},
        {"LBODO", 41},     {"KDG ", 6},         {"KDG1KY", 49},      {"KDGX", -1},       {"KRG", 8},
        {"ODG", 25},       {"ORG", 27},         {"RMG1A", 15},       {"RMG1K", 17},      {"RMG1T", 19},
        {"RMG9A", 23},     {"NRDG", 28},        {"XYZ", -1},         {"tdo", -1},        {"", -1},
    };
    for (const NameCase& c : CASES) {
        SCOPED_TRACE(c.name);
        g_deviceType = 42;  // a code no name gives
        SetDeviceName(c.name);
        IdentifyDeviceType();
        EXPECT_EQ(g_deviceType, c.expected < 0 ? 42 : c.expected);
    }
}

TEST(DeviceTypes, UnknownNameKeepsTheLastType)
{
    g_deviceType = DEVICE_TYPE_TDO;
    SetDeviceName("QQQ");
    IdentifyDeviceType();
    EXPECT_EQ(g_deviceType, DEVICE_TYPE_TDO);
    g_deviceType = DEVICE_TYPE_NRDG;
    IdentifyDeviceType();
    EXPECT_EQ(g_deviceType, DEVICE_TYPE_NRDG);
}

struct FirmwareCase {
    int type;
    const char* firmware;
    int expected;
};

TEST(DeviceTypes, FirmwareRule)
{
    static const FirmwareCase CASES[] = {
        {0, "00.00.24", 1},  {0, "00.00.23", 0},  {0, "01.00.00", 1},  {0, "b0.00.24", 1},  {0, "b0.00.23", 0},
        {2, "00.00.24", 1},  {1, "00.00.08", 1},  {1, "00.00.07", 0},  {3, "00.00.10", 1},  {3, "00.00.1 ", 0},
        {4, "00.00.03", 1},  {4, "00.00.02", 0},  {49, "00.00.00", 1}, {0, "        ", 0},  {49, "        ", 0},
        {14, "99.99.99", 0}, {42, "99.99.99", 0}, {47, "99.99.99", 0}, {50, "99.99.99", 0}, {0, "00.01.00", 1},
        {0, "00.00.3", 1},   {16, "00.00.00", 1}, {3, "00.0.10", 0},
    };
    for (const FirmwareCase& c : CASES) {
        SCOPED_TRACE(std::to_string(c.type) + " " + c.firmware);
        g_deviceType = (BYTE)c.type;
        SetFirmware(c.firmware);
        EXPECT_EQ(CheckFirmwareVersion(), c.expected);
    }
    // Every named code passes with 01.00.00.
    SetFirmware("01.00.00");
    for (int code = 0; code < 50; code++) {
        if (!FindDeviceTypeInfo(code)) continue;
        g_deviceType = (BYTE)code;
        EXPECT_EQ(CheckFirmwareVersion(), 1) << code;
    }
}
