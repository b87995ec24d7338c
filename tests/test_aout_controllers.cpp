// Analog-output room controllers (LBKDO, LBKDOS, LBDMO, LBRMO, LBODO) and LBKDG1KS end to end:
// opened through CONFIG (or the off-line picker), the simulated device on the wire, real settings
// files, in the edition this program was built as.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/edition.h"
#include "app/main_window.h"
#include "devices/controllers/aout_controller_dialogs.h"
#include "devices/lcd_units/unit_bitmaps.h"
#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

namespace {

const wchar_t RANGE_TEXT[] = L"Hodnota mimo rozsah";
const wchar_t RANGE_CAPTION[] = L"Nastavená hodnota";

struct OutputIds {
    int current, voltage, low, high, initial, lowLabel, highLabel, initialLabel;
};

// A field the tick keeps in bounds (or, with `bound` null, one it never checks).
struct BoundRow {
    int id;
    const char* entry;
    const char* bound;
};

struct CtrlCase {
    const char* label;        // the model as the program shows it
    const char* designation;  // settings-file header
    int templateId;
    DLGPROC proc;
    int pickerId;
    int read, write, open, save, byDefault, cancel, text;
    const char* defaultText;
    OutputIds out[2];
    int inputTemperature, inputHumidity;  // 0: output 1 has no input choice
    int inputLowLabel, inputHighLabel;
    const wchar_t* openingInputLow[2];  // English, Czech
    std::vector<int> colorIds;
    int bargraphId, bargraphNameId;
    const UnitBitmapTable* (*bitmaps)();
    int bitmapCount;
    std::vector<int> hiddenIds;
    int calibrationButton;
    std::map<int, WORD> defaults;  // the registers a Write after Default stores
    std::vector<std::pair<int, std::string>> defaultFile;
    std::vector<BoundRow> bounds;  // in tick order
};

int Count(HWND dialog, int id)
{
    return (int)SendMessageW(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0);
}

// The registers every analog-output controller's Default gives its two outputs, the temperature
// offset and output 1's input range.
std::map<int, WORD> OutputDefaults(std::map<int, WORD> more)
{
    std::map<int, WORD> registers = {{8, 0},  {9, 0},  {52, 0},  {53, 500}, {68, 1}, {69, 1},
                                     {76, 0}, {92, 0}, {93, 100}, {94, 0},  {95, 100}};
    registers.insert(more.begin(), more.end());
    return registers;
}

std::vector<std::pair<int, std::string>> OutputDefaultLines(std::vector<std::pair<int, std::string>> more)
{
    std::vector<std::pair<int, std::string>> lines = {{8, "0.0"},  {9, "0.0"},   {52, "0.0"}, {53, "50.0"},
                                                      {76, "0.0"}, {92, "0.0"},  {93, "10.0"}, {94, "0.0"},
                                                      {95, "10.0"}, {69, "1"}};
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// The LCD group's registers and lines after Default, with the model's colour word.
std::map<int, WORD> LcdDefaults(WORD colors)
{
    return {{34, 30}, {38, 10}, {35, 5}, {36, colors}, {39, 0}, {56, 20}, {57, 30}};
}

std::vector<std::pair<int, std::string>> LcdDefaultLines(const char* colors)
{
    return {{34, "30"}, {38, "10"}, {35, "5s"}, {36, colors}, {37, colors}, {39, "0"}, {56, "20"}, {57, "30"}};
}

template <typename T>
std::vector<T> Join(std::vector<T> a, const std::vector<T>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::map<int, WORD> Join(std::map<int, WORD> a, const std::map<int, WORD>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

// Output fields: voltage bounds at opening.
std::vector<BoundRow> OutputBounds(const OutputIds& o1, const OutputIds& o2)
{
    return {{o1.low, "10.1", "10.0"}, {o1.high, "-0.1", "0.0"}, {o1.initial, "25", "10.0"},
            {o2.low, "-1", "0.0"},    {o2.high, "10.5", "10.0"}, {o2.initial, "11", "10.0"}};
}

CtrlCase LbkdoCase()
{
    CtrlCase m = {"LB-KDO", "LBKDO", IDD_LBKDO, LBKDODlgProc, IDC_OFFLINE_LB_KDO, IDC_LBKDO_READ, IDC_LBKDO_WRITE,
                  IDC_LBKDO_OPEN, IDC_LBKDO_SAVE, IDC_LBKDO_DEFAULT, IDC_LBKDO_CANCEL, IDC_LBKDO_TEXT,
                  "LB-KDO  Dolvan    "};
    m.out[0] = {IDC_LBKDO_CURRENT_1, IDC_LBKDO_VOLTAGE_1, IDC_LBKDO_OUTPUT_LOW_1, IDC_LBKDO_OUTPUT_HIGH_1,
                IDC_LBKDO_INITIAL_1, IDC_LBKDO_OUTPUT_LOW_1_LABEL, IDC_LBKDO_OUTPUT_HIGH_1_LABEL, IDC_LBKDO_INITIAL_1_LABEL};
    m.out[1] = {IDC_LBKDO_CURRENT_2, IDC_LBKDO_VOLTAGE_2, IDC_LBKDO_OUTPUT_LOW_2, IDC_LBKDO_OUTPUT_HIGH_2,
                IDC_LBKDO_INITIAL_2, IDC_LBKDO_OUTPUT_LOW_2_LABEL, IDC_LBKDO_OUTPUT_HIGH_2_LABEL, IDC_LBKDO_INITIAL_2_LABEL};
    m.inputTemperature = IDC_LBKDO_INPUT_TEMPERATURE;
    m.inputHumidity = IDC_LBKDO_INPUT_HUMIDITY;
    m.inputLowLabel = IDC_LBKDO_INPUT_LOW_1_LABEL;
    m.inputHighLabel = IDC_LBKDO_INPUT_HIGH_1_LABEL;
    m.openingInputLow[0] = L"Input Lo [°C]";
    m.openingInputLow[1] = L"Vstup Lo [°C]";
    m.colorIds = {IDC_LBKDO_COLOR_TEMPERATURE, IDC_LBKDO_COLOR_HUMIDITY, IDC_LBKDO_COLOR_CO2};
    m.bitmaps = LBKDOBitmapTable;
    m.bitmapCount = 8;
    m.hiddenIds = {IDC_LBKDO_CALIBRATION_GROUP, IDC_LBKDO_CALIBRATION_LABEL, IDC_LBKDO_CALIBRATION_VALUE,
                   IDC_LBKDO_CALIBRATION_WRITE, IDC_LBKDO_SWITCH_GROUP, IDC_LBKDO_SWITCH_LOW_LABEL,
                   IDC_LBKDO_SWITCH_HIGH_LABEL, IDC_LBKDO_SWITCH_LOW, IDC_LBKDO_SWITCH_HIGH};
    m.calibrationButton = IDC_LBKDO_CALIBRATION_WRITE;
    m.defaults = Join(OutputDefaults({{77, 0}, {81, 0}, {54, 400}, {55, 1600}, {64, 1000}, {65, 2000}}), LcdDefaults(0x222));
    m.defaultFile = Join(OutputDefaultLines({{77, "0.0"}, {81, "0"}, {54, "400"}, {55, "1600"}, {64, "1000"},
                                             {65, "2000"}, {68, "10"}}),
                         LcdDefaultLines("00546"));
    m.bounds = Join(std::vector<BoundRow>{{IDC_LBKDO_DAY, "101", "100"},
                                          {IDC_LBKDO_NIGHT, "-1", "0"},
                                          {IDC_LBKDO_OFFSET_TEMPERATURE, "20.1", "20.0"},
                                          {IDC_LBKDO_OFFSET_HUMIDITY, "-25", "-20.0"},
                                          {IDC_LBKDO_OFFSET_CO2, "-2500", "-2000"},
                                          {IDC_LBKDO_INPUT_LOW_1, "-50.1", "-50.0"},
                                          {IDC_LBKDO_INPUT_HIGH_1, "200.1", "200.0"},
                                          {IDC_LBKDO_INPUT_LOW_2, "-5", "0"},
                                          {IDC_LBKDO_INPUT_HIGH_2, "10000", "9999"},
                                          {IDC_LBKDO_INDICATION_LOW, "70000", nullptr},
                                          {IDC_LBKDO_SWITCH_HIGH, "-40000", nullptr}},
                    OutputBounds(m.out[0], m.out[1]));
    return m;
}

CtrlCase LbkdosCase()
{
    CtrlCase m = {"LB-KDO-S", "LBKDOS", IDD_LBKDOS, LBKDOSDlgProc, IDC_OFFLINE_LB_KDO_S, IDC_LBKDOS_READ,
                  IDC_LBKDOS_WRITE, IDC_LBKDOS_OPEN, IDC_LBKDOS_SAVE, IDC_LBKDOS_DEFAULT, IDC_LBKDOS_CANCEL,
                  IDC_LBKDOS_TEXT, "LB-KDOS Dolvan    "};
    m.out[0] = {IDC_LBKDOS_CURRENT_1, IDC_LBKDOS_VOLTAGE_1, IDC_LBKDOS_OUTPUT_LOW_1, IDC_LBKDOS_OUTPUT_HIGH_1,
                IDC_LBKDOS_INITIAL_1, IDC_LBKDOS_OUTPUT_LOW_1_LABEL, IDC_LBKDOS_OUTPUT_HIGH_1_LABEL,
                IDC_LBKDOS_INITIAL_1_LABEL};
    m.out[1] = {IDC_LBKDOS_CURRENT_2, IDC_LBKDOS_VOLTAGE_2, IDC_LBKDOS_OUTPUT_LOW_2, IDC_LBKDOS_OUTPUT_HIGH_2,
                IDC_LBKDOS_INITIAL_2, IDC_LBKDOS_OUTPUT_LOW_2_LABEL, IDC_LBKDOS_OUTPUT_HIGH_2_LABEL,
                IDC_LBKDOS_INITIAL_2_LABEL};
    m.inputTemperature = IDC_LBKDOS_INPUT_TEMPERATURE;
    m.inputHumidity = IDC_LBKDOS_INPUT_HUMIDITY;
    m.inputLowLabel = IDC_LBKDOS_INPUT_LOW_1_LABEL;
    m.inputHighLabel = IDC_LBKDOS_INPUT_HIGH_1_LABEL;
    m.openingInputLow[0] = L"Input Lo [°C]";
    m.openingInputLow[1] = L"Vstup Lo [°C]";
    m.hiddenIds = {IDC_LBKDOS_CALIBRATION_GROUP, IDC_LBKDOS_CALIBRATION_LABEL, IDC_LBKDOS_CALIBRATION_VALUE,
                   IDC_LBKDOS_CALIBRATION_WRITE, IDC_LBKDOS_SWITCH_GROUP, IDC_LBKDOS_SWITCH_LOW_LABEL,
                   IDC_LBKDOS_SWITCH_HIGH_LABEL, IDC_LBKDOS_SWITCH_LOW, IDC_LBKDOS_SWITCH_HIGH};
    m.calibrationButton = IDC_LBKDOS_CALIBRATION_WRITE;
    m.defaults = OutputDefaults({{77, 0}, {81, 0}, {54, 400}, {55, 1600}, {64, 1000}, {65, 2000}, {39, 0}, {56, 20}, {57, 30}});
    m.defaultFile = OutputDefaultLines({{77, "0.0"}, {81, "0"}, {54, "400"}, {55, "1600"}, {64, "1000"}, {65, "2000"},
                                        {68, "10"}, {39, "0"}, {56, "20"}, {57, "30"}});
    m.bounds = Join(std::vector<BoundRow>{{IDC_LBKDOS_OFFSET_TEMPERATURE, "-20.1", "-20.0"},
                                          {IDC_LBKDOS_OFFSET_HUMIDITY, "25", "20.0"},
                                          {IDC_LBKDOS_OFFSET_CO2, "2500", "2000"},
                                          {IDC_LBKDOS_INPUT_LOW_1, "-60", "-50.0"},
                                          {IDC_LBKDOS_INPUT_HIGH_1, "201", "200.0"},
                                          {IDC_LBKDOS_INPUT_LOW_2, "12000", "9999"},
                                          {IDC_LBKDOS_INPUT_HIGH_2, "-1", "0"},
                                          {IDC_LBKDOS_INDICATION_HIGH, "-70000", nullptr}},
                    OutputBounds(m.out[0], m.out[1]));
    return m;
}

CtrlCase LbdmoCase()
{
    CtrlCase m = {"LB-DMO", "LBDMO", IDD_LBDMO, LBDMODlgProc, IDC_OFFLINE_LB_DMO, IDC_LBDMO_READ, IDC_LBDMO_WRITE,
                  IDC_LBDMO_OPEN, IDC_LBDMO_SAVE, IDC_LBDMO_DEFAULT, IDC_LBDMO_CANCEL, IDC_LBDMO_TEXT,
                  "LB-DMO  Dolvan    "};
    m.out[0] = {IDC_LBDMO_CURRENT_1, IDC_LBDMO_VOLTAGE_1, IDC_LBDMO_OUTPUT_LOW_1, IDC_LBDMO_OUTPUT_HIGH_1,
                IDC_LBDMO_INITIAL_1, IDC_LBDMO_OUTPUT_LOW_1_LABEL, IDC_LBDMO_OUTPUT_HIGH_1_LABEL, IDC_LBDMO_INITIAL_1_LABEL};
    m.out[1] = {IDC_LBDMO_CURRENT_2, IDC_LBDMO_VOLTAGE_2, IDC_LBDMO_OUTPUT_LOW_2, IDC_LBDMO_OUTPUT_HIGH_2,
                IDC_LBDMO_INITIAL_2, IDC_LBDMO_OUTPUT_LOW_2_LABEL, IDC_LBDMO_OUTPUT_HIGH_2_LABEL, IDC_LBDMO_INITIAL_2_LABEL};
    m.inputLowLabel = IDC_LBDMO_INPUT_LOW_1_LABEL;
    m.inputHighLabel = IDC_LBDMO_INPUT_HIGH_1_LABEL;
    m.openingInputLow[0] = L"Input Lo [°C]";
    m.openingInputLow[1] = L"Vstup Lo [°C]";
    m.colorIds = {IDC_LBDMO_COLOR_TEMPERATURE, IDC_LBDMO_COLOR_HUMIDITY};
    m.bitmaps = LBDMOBitmapTable;
    m.bitmapCount = 8;
    m.hiddenIds = {IDC_LBDMO_SWITCH_GROUP, IDC_LBDMO_SWITCH_LOW_LABEL, IDC_LBDMO_SWITCH_HIGH_LABEL,
                   IDC_LBDMO_SWITCH_LOW, IDC_LBDMO_SWITCH_HIGH};
    m.defaults = Join(OutputDefaults({{77, 0}, {54, 0}, {55, 1000}}), LcdDefaults(0x22));
    m.defaultFile = Join(OutputDefaultLines({{77, "0.0"}, {54, "0.0"}, {55, "100.0"}, {68, "1"}}), LcdDefaultLines("00034"));
    m.bounds = Join(std::vector<BoundRow>{{IDC_LBDMO_DAY, "-1", "0"},
                                          {IDC_LBDMO_NIGHT, "150", "100"},
                                          {IDC_LBDMO_OFFSET_TEMPERATURE, "-20.5", "-20.0"},
                                          {IDC_LBDMO_OFFSET_HUMIDITY, "30", "20.0"},
                                          {IDC_LBDMO_INPUT_LOW_1, "-99", "-50.0"},
                                          {IDC_LBDMO_INPUT_HIGH_1, "250", "200.0"},
                                          {IDC_LBDMO_INPUT_LOW_2, "-0.5", "0.0"},
                                          {IDC_LBDMO_INPUT_HIGH_2, "120.5", "100.0"},
                                          {IDC_LBDMO_SWITCH_LOW, "99999", nullptr}},
                    OutputBounds(m.out[0], m.out[1]));
    return m;
}

CtrlCase LbrmoCase()
{
    CtrlCase m = {"LB-RMO", "LBRMO", IDD_LBRMO, LBRMODlgProc, IDC_OFFLINE_LB_RMO, IDC_LBRMO_READ, IDC_LBRMO_WRITE,
                  IDC_LBRMO_OPEN, IDC_LBRMO_SAVE, IDC_LBRMO_DEFAULT, IDC_LBRMO_CANCEL, IDC_LBRMO_TEXT,
                  "LB-RMO  Dolvan    "};
    m.out[0] = {IDC_LBRMO_CURRENT_1, IDC_LBRMO_VOLTAGE_1, IDC_LBRMO_OUTPUT_LOW_1, IDC_LBRMO_OUTPUT_HIGH_1,
                IDC_LBRMO_INITIAL_1, IDC_LBRMO_OUTPUT_LOW_1_LABEL, IDC_LBRMO_OUTPUT_HIGH_1_LABEL, IDC_LBRMO_INITIAL_1_LABEL};
    m.out[1] = {IDC_LBRMO_CURRENT_2, IDC_LBRMO_VOLTAGE_2, IDC_LBRMO_OUTPUT_LOW_2, IDC_LBRMO_OUTPUT_HIGH_2,
                IDC_LBRMO_INITIAL_2, IDC_LBRMO_OUTPUT_LOW_2_LABEL, IDC_LBRMO_OUTPUT_HIGH_2_LABEL, IDC_LBRMO_INITIAL_2_LABEL};
    m.inputLowLabel = IDC_LBRMO_INPUT_LOW_1_LABEL;
    m.inputHighLabel = IDC_LBRMO_INPUT_HIGH_1_LABEL;
    m.openingInputLow[0] = L"Input Lo [°C]";
    m.openingInputLow[1] = L"Vstup Lo [°C]";
    m.colorIds = {IDC_LBRMO_COLOR_TEMPERATURE, IDC_LBRMO_COLOR_REQUESTED, IDC_LBRMO_COLOR_BARGRAPH};
    m.bargraphId = IDC_LBRMO_BARGRAPH;
    m.bargraphNameId = IDC_LBRMO_BARGRAPH_KIND;
    m.bitmaps = LBRMOBitmapTable;
    m.bitmapCount = 12;
    m.hiddenIds = {IDC_LBRMO_SWITCH_GROUP, IDC_LBRMO_SWITCH_LOW_LABEL, IDC_LBRMO_SWITCH_HIGH_LABEL,
                   IDC_LBRMO_SWITCH_LOW, IDC_LBRMO_SWITCH_HIGH};
    m.defaults = Join(OutputDefaults({{15, 0}, {66, (WORD)-50}, {67, 50}, {54, (WORD)-50}, {55, 50}, {75, 1}}),
                      LcdDefaults(0x222));
    m.defaultFile = Join(OutputDefaultLines({{15, "0.0"}, {66, "-5.0"}, {67, "5.0"}, {54, "-5.0"}, {55, "5.0"},
                                             {75, "00001"}, {68, "1"}}),
                         LcdDefaultLines("00546"));
    m.bounds = Join(std::vector<BoundRow>{{IDC_LBRMO_DAY, "200", "100"},
                                          {IDC_LBRMO_NIGHT, "-3", "0"},
                                          {IDC_LBRMO_OFFSET_TEMPERATURE, "21", "20.0"},
                                          {IDC_LBRMO_REQUESTED, "-25.0", "-20.0"},
                                          {IDC_LBRMO_HIGH_LIMIT, "200.1", "200.0"},
                                          {IDC_LBRMO_LOW_LIMIT, "-21", "-20.0"},
                                          {IDC_LBRMO_INPUT_LOW_1, "-51", "-50.0"},
                                          {IDC_LBRMO_INPUT_HIGH_1, "300", "200.0"}},
                    OutputBounds(m.out[0], m.out[1]));
    return m;
}

CtrlCase LbodoCase()
{
    CtrlCase m = {"LB-ODO", "LBODO", IDD_LBODO, LBODODlgProc, IDC_OFFLINE_LB_ODO, IDC_LBODO_READ, IDC_LBODO_WRITE,
                  IDC_LBODO_OPEN, IDC_LBODO_SAVE, IDC_LBODO_DEFAULT, IDC_LBODO_CANCEL, IDC_LBODO_TEXT,
                  "LB-ODO  Dolvan    "};
    m.out[0] = {IDC_LBODO_CURRENT_1, IDC_LBODO_VOLTAGE_1, IDC_LBODO_OUTPUT_LOW_1, IDC_LBODO_OUTPUT_HIGH_1,
                IDC_LBODO_INITIAL_1, IDC_LBODO_OUTPUT_LOW_1_LABEL, IDC_LBODO_OUTPUT_HIGH_1_LABEL, IDC_LBODO_INITIAL_1_LABEL};
    m.out[1] = {IDC_LBODO_CURRENT_2, IDC_LBODO_VOLTAGE_2, IDC_LBODO_OUTPUT_LOW_2, IDC_LBODO_OUTPUT_HIGH_2,
                IDC_LBODO_INITIAL_2, IDC_LBODO_OUTPUT_LOW_2_LABEL, IDC_LBODO_OUTPUT_HIGH_2_LABEL, IDC_LBODO_INITIAL_2_LABEL};
    m.inputTemperature = IDC_LBODO_INPUT_TEMPERATURE;
    m.inputHumidity = IDC_LBODO_INPUT_HUMIDITY;
    m.inputLowLabel = IDC_LBODO_INPUT_LOW_1_LABEL;
    m.inputHighLabel = IDC_LBODO_INPUT_HIGH_1_LABEL;
    m.openingInputLow[0] = L"Input Lo";
    m.openingInputLow[1] = L"Vstup Lo";
    m.colorIds = {IDC_LBODO_COLOR_TEMPERATURE, IDC_LBODO_COLOR_HUMIDITY, IDC_LBODO_COLOR_VOC};
    m.bitmaps = LBODOBitmapTable;
    m.bitmapCount = 8;
    m.hiddenIds = {IDC_LBODO_SWITCH_GROUP, IDC_LBODO_SWITCH_LOW_LABEL, IDC_LBODO_SWITCH_HIGH_LABEL,
                   IDC_LBODO_SWITCH_LOW, IDC_LBODO_SWITCH_HIGH};
    m.defaults = Join(OutputDefaults({{77, 0}, {54, 400}, {55, 1600}}), LcdDefaults(0x222));
    m.defaultFile = Join(OutputDefaultLines({{77, "0.0"}, {54, "400"}, {55, "1600"}, {68, "10"}}), LcdDefaultLines("00546"));
    m.bounds = Join(std::vector<BoundRow>{{IDC_LBODO_DAY, "101", "100"},
                                          {IDC_LBODO_NIGHT, "-1", "0"},
                                          {IDC_LBODO_OFFSET_TEMPERATURE, "22", "20.0"},
                                          {IDC_LBODO_OFFSET_HUMIDITY, "-22", "-20.0"},
                                          {IDC_LBODO_INPUT_LOW_1, "-50.5", "-50.0"},
                                          {IDC_LBODO_INPUT_HIGH_1, "2000", "200.0"},
                                          {IDC_LBODO_INPUT_LOW_2, "-1", "0"},
                                          {IDC_LBODO_INPUT_HIGH_2, "12000", "9999"}},
                    OutputBounds(m.out[0], m.out[1]));
    return m;
}

const std::vector<CtrlCase>& Cases()
{
    static const std::vector<CtrlCase> cases = {LbkdoCase(), LbkdosCase(), LbdmoCase(), LbrmoCase(), LbodoCase()};
    return cases;
}

const CtrlCase& FindCase(const char* designation)
{
    for (const CtrlCase& m : Cases())
        if (strcmp(m.designation, designation) == 0) return m;
    return Cases()[0];
}

void PrintTo(const CtrlCase& m, std::ostream* os)
{
    *os << m.designation;
}

std::string CaseName(const ::testing::TestParamInfo<CtrlCase>& info)
{
    return info.param.designation;
}

// The feature commands the device got from event `from` on, as "C1 C1 ...".
std::string CommandsSince(int deviceId, size_t from)
{
    std::string text;
    std::vector<SimEvent> events = SimGetEvents(deviceId);
    for (size_t k = from; k < events.size(); k++) {
        if (events[k].kind != SIM_EVENT_SET_FEATURE || events[k].failed || events[k].bytes.size() < 2) continue;
        char step[4];
        snprintf(step, sizeof step, "%02X ", events[k].bytes[1]);
        text += step;
    }
    return text;
}

size_t EventCount(int deviceId)
{
    return SimGetEvents(deviceId).size();
}

// A device of the model whose every register is 1000 + r, but for the model's own registers,
// which hold their Default values (so nothing read is out of range).
int AddFilledDevice(const CtrlCase& m)
{
    int id = SimAddDevice(SimDeviceNameOfModel(m.label), "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = (WORD)(FILLER_BASE + r);
    for (const auto& entry : m.defaults) device->registers[entry.first] = entry.second;
    const char* text = "Hello World 1234";
    for (int i = 0; i < 8; i++) device->registers[40 + i] = (WORD)((BYTE)text[2 * i] << 8 | (BYTE)text[2 * i + 1]);
    device->jumperFitted = true;
    return id;
}

// Opens the model's dialog through CONFIG with the device connected and waits for its read.
HWND OpenConnected(const CtrlCase& m, int deviceId)
{
    if (!WaitUntil([] { return g_deviceConnected == 1; }, 10000)) return nullptr;
    PostClick(g_configButton);
    HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read, 10000);
    if (!dialog) return nullptr;
    if (!WaitWhileDeviceTalks(deviceId, [&] { return ItemText(dialog, m.text) == "Hello World 1234"; })) return nullptr;
    if (!WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; })) return nullptr;
    return dialog;
}

HWND OpenOffline(const CtrlCase& m)
{
    ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                     EditionText(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION, 10000);
    PostClick(g_configButton);
    HWND picker = WaitForDialogWithControl(ThisProcess(), m.pickerId);
    if (!picker) return nullptr;
    Click(picker, m.pickerId);
    return WaitForDialogWithControl(ThisProcess(), m.read);
}

void ExpectOutputLabels(HWND dialog, const OutputIds& o, bool voltage, bool initialValue)
{
    EXPECT_EQ(GetText(GetDlgItem(dialog, o.lowLabel)),
              voltage ? EditionText(L"Output Lo [V]", L"Výstup Lo [V]") : EditionText(L"Output Lo [mA]", L"Výstup Lo [mA]"));
    EXPECT_EQ(GetText(GetDlgItem(dialog, o.highLabel)),
              voltage ? EditionText(L"Output Hi [V]", L"Výstup Hi [V]") : EditionText(L"Output Hi [mA]", L"Výstup Hi [mA]"));
    std::wstring initial = initialValue ? EditionText(L"Initial value", L"Inicializační hodnota")
                           : voltage    ? EditionText(L"Safety val. [V]", L"Safety hod. [V]")
                                        : EditionText(L"Safety val. [mA]", L"Safety hod. [mA]");
    EXPECT_EQ(GetText(GetDlgItem(dialog, o.initialLabel)), initial);
    EXPECT_EQ(IsChecked(dialog, o.voltage), voltage);
    EXPECT_EQ(IsChecked(dialog, o.current), !voltage);
}

class AoutControllers : public ::testing::TestWithParam<CtrlCase> {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};


}  // namespace

// Off-line through the picker: the opening state (buttons, hidden groups, kinds, labels, lists
// and their pictures), Default and Save byte for byte, then Cancel: 1005, the main window back
// and every picture released.
TEST_P(AoutControllers, OfflineOpeningDefaultSaveAndClose)
{
    const CtrlCase& m = GetParam();
    std::string path = TempPath(std::string(m.designation) + ".dlc");
    DeleteFileA(path.c_str());
    std::vector<HBITMAP> loaded;
    RunProgram([&] {
        HWND dialog = OpenOffline(m);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetTextUtf8(dialog), m.label);
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.read)));
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.write)));
        if (m.calibrationButton) {
            EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.calibrationButton)));
        }
        for (int id : m.hiddenIds) EXPECT_FALSE(IsShown(GetDlgItem(dialog, id))) << "control " << id;
        EXPECT_EQ(ItemText(dialog, m.text), "                ");
        for (const OutputIds& o : m.out) ExpectOutputLabels(dialog, o, true, true);
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.inputLowLabel)), EditionText(m.openingInputLow[0], m.openingInputLow[1]));
        if (m.inputTemperature) {
            EXPECT_TRUE(IsChecked(dialog, m.inputTemperature));
            EXPECT_FALSE(IsChecked(dialog, m.inputHumidity));
        }
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.read)), EditionText(L"Read ", L"Načíst ") + std::wstring(m.designation, m.designation + strlen(m.designation)));
        for (int id : m.colorIds) {
            EXPECT_EQ(Count(dialog, id), 7) << "colour combo " << id;
            EXPECT_EQ(Selected(dialog, id), 2) << "colour combo " << id;
        }
        if (m.bargraphId) {
            EXPECT_EQ(Count(dialog, m.bargraphId), 4);
            EXPECT_EQ(Selected(dialog, m.bargraphId), 1);
            EXPECT_EQ(GetText(GetDlgItem(dialog, m.bargraphNameId)), EditionText(L"Bargraph", L"Bargraf"));
        }
        if (m.bitmaps) {
            const UnitBitmapTable* table = m.bitmaps();
            loaded.push_back(table->mask);
            loaded.insert(loaded.end(), table->colors, table->colors + COLOR_BITMAP_COUNT);
            loaded.insert(loaded.end(), table->bargraphs, table->bargraphs + BARGRAPH_BITMAP_COUNT);
            loaded.erase(std::remove(loaded.begin(), loaded.end(), (HBITMAP) nullptr), loaded.end());
            EXPECT_EQ((int)loaded.size(), m.bitmapCount);
            for (HBITMAP handle : loaded) EXPECT_EQ(GetObjectType(handle), (DWORD)OBJ_BITMAP);
            for (int id : m.colorIds)
                for (int k = 0; k < 7; k++)
                    EXPECT_EQ((HBITMAP)SendMessageW(GetDlgItem(dialog, id), CB_GETITEMDATA, k, 0), table->colors[k]);
        }
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));

        Click(dialog, m.byDefault);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        for (const OutputIds& o : m.out) ExpectOutputLabels(dialog, o, true, false);
        if (m.bargraphId) {
            EXPECT_EQ(GetText(GetDlgItem(dialog, m.bargraphNameId)), EditionText(L"Relative", L"Relativní"));
        }
        if (strcmp(m.designation, "LBRMO") == 0) {
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBRMO_INPUT_LOW_2) == "-5.0"; }));
        }
        Click(dialog, m.save);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        char text16[17] = {};
        memcpy(text16, m.defaultText, 16);
        EXPECT_EQ(ReadFileBytes(path), ExpectedSettingsFile(m.designation, m.defaultFile, text16));

        // Esc does nothing; Cancel ends the dialog.
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        WaitForPostedMessages();
        EXPECT_TRUE(IsWindow(dialog));
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(WaitUntil([] { return IsShown(g_mainWindow); })) << "main window not back";
    }, 30000);
    for (HBITMAP handle : loaded) EXPECT_EQ(GetObjectType(handle), 0u) << "a picture was kept";
    DeleteFileA(path.c_str());
}

// On the wire: the read at opening is the 12 block reads; Default then Write is the jumper query,
// the 12 blocks and the three stores, nothing else, and stores exactly the model's registers:
// every other register goes back as read.
TEST_P(AoutControllers, ReadAndWriteExactlyTheirRegisters)
{
    const CtrlCase& m = GetParam();
    int deviceId = AddFilledDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        // The identification at connection, then the read at opening.
        EXPECT_EQ(CommandsSince(deviceId, 0), "CC C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 ");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        for (const OutputIds& o : m.out) ExpectOutputLabels(dialog, o, true, false);
        size_t before = EventCount(deviceId);
        Click(dialog, m.byDefault);
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0));
        EXPECT_EQ(CommandsSince(deviceId, before), "CE C1 C1 C1 C1 C1 C1 C1 C1 C1 C1 C1 C1 CD CD CD ");
        char text16[17] = {};
        memcpy(text16, m.defaultText, 16);
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
            WORD expected = (WORD)(FILLER_BASE + r);
            if (m.defaults.count(r)) expected = m.defaults.at(r);
            if (r >= 40 && r <= 47) expected = (WORD)((BYTE)text16[2 * (r - 40)] << 8 | (BYTE)text16[2 * (r - 40) + 1]);
            EXPECT_EQ(DeviceRegister(deviceId, r), expected) << "register " << r;
        }
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}

// Every checked field out of range at once: each comes back as its bound, in the tick's order,
// with the range message; the fields the tick never checks keep what was typed.
TEST_P(AoutControllers, TickKeepsEachFieldWithinItsBounds)
{
    const CtrlCase& m = GetParam();
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        RunOnUiThread([&] {
            for (const BoundRow& row : m.bounds) SetDlgItemTextA(dialog, row.id, row.entry);
        });
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(box.text, RANGE_TEXT);
        EXPECT_EQ(box.caption, RANGE_CAPTION);
        auto bounded = [&] {
            for (const BoundRow& row : m.bounds)
                if (row.bound && ItemText(dialog, row.id) != row.bound) return false;
            return true;
        };
        DismissMessageBoxes(dialog, bounded);
        for (const BoundRow& row : m.bounds)
            EXPECT_EQ(ItemText(dialog, row.id), row.bound ? row.bound : row.entry) << "control " << row.id;
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

INSTANTIATE_TEST_SUITE_P(Models, AoutControllers, ::testing::ValuesIn(Cases()), CaseName);

namespace {

class AoutControllerDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

class AoutControllerFiles : public AoutControllerDevice {};

// A text string as the 16 characters of its file lines, zeros after its end.
std::string Text16(const char* text)
{
    std::string bytes(16, '\0');
    memcpy(&bytes[0], text, strnlen(text, 16));
    return bytes;
}

void PostButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

bool WaitWrite(int deviceId, int* stores)
{
    bool done = WaitForStoredWrite(deviceId, *stores);
    *stores += 1;
    return done;
}

// Opens a settings file in the dialog through its Open button.
void OpenFile(HWND dialog, int openId, const std::string& path)
{
    Click(dialog, openId);
    ChooseFile(dialog, path);
}

}  // namespace

// LBKDO's byte-coded r68: humidity with current shows the %RH and mA labels and the humidity and
// current bounds; a signal click keeps the input byte, an input click the signal byte.
TEST_F(AoutControllerDevice, LbkdoKindBytesFollowTheirRadios)
{
    const CtrlCase& m = FindCase("LBKDO");
    int deviceId = AddFilledDevice(m);
    SetDeviceRegister(deviceId, 68, 0x0100);
    SetDeviceRegister(deviceId, 69, 0);
    SetDeviceRegister(deviceId, 92, 150);  // 15.0 mA
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(IsChecked(dialog, IDC_LBKDO_INPUT_HUMIDITY));
        EXPECT_FALSE(IsChecked(dialog, IDC_LBKDO_INPUT_TEMPERATURE));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_LBKDO_INPUT_LOW_1_LABEL)), EditionText(L"Input Lo [%RH]", L"Vstup Lo [%RH]"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_LBKDO_INPUT_HIGH_1_LABEL)), EditionText(L"Input Hi [%RH]", L"Vstup Hi [%RH]"));
        ExpectOutputLabels(dialog, m.out[0], false, false);
        ExpectOutputLabels(dialog, m.out[1], false, false);
        EXPECT_EQ(ItemText(dialog, IDC_LBKDO_OUTPUT_LOW_1), "15.0");
        TypeInto(dialog, IDC_LBKDO_INPUT_HIGH_1, "150.0");
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBKDO_INPUT_HIGH_1) == "100.0"; }));

        int stores = 0;
        Click(dialog, IDC_LBKDO_VOLTAGE_1);
        DismissMessageBoxes(dialog, [&] { return ItemText(dialog, IDC_LBKDO_OUTPUT_LOW_1) == "10.0"; });
        ExpectOutputLabels(dialog, m.out[0], true, false);
        Click(dialog, m.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 68), 0x0101);
        EXPECT_EQ(DeviceRegister(deviceId, 69), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 92), 100);
        EXPECT_EQ(DeviceRegister(deviceId, 53), 1000);

        Click(dialog, IDC_LBKDO_INPUT_TEMPERATURE);
        EXPECT_TRUE(WaitUntil([&] {
            return GetText(GetDlgItem(dialog, IDC_LBKDO_INPUT_LOW_1_LABEL)) == EditionText(L"Input Lo [°C]", L"Vstup Lo [°C]");
        }));
        Click(dialog, m.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 68), 0x0001);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 40000);
}

// LBDMO's whole kind words: 0x0100 shows as voltage and goes back as it was until a radio gives 1;
// 15.0 mA is in range, and becomes 10.0 on the next tick once output 1 is voltage.
TEST_F(AoutControllerDevice, LbdmoWholeKindWordsKeptUntilClicked)
{
    const CtrlCase& m = FindCase("LBDMO");
    int deviceId = AddFilledDevice(m);
    SetDeviceRegister(deviceId, 68, 0x0100);
    SetDeviceRegister(deviceId, 69, 0);
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        ExpectOutputLabels(dialog, m.out[0], true, false);
        ExpectOutputLabels(dialog, m.out[1], false, false);
        int stores = 0;
        Click(dialog, m.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 68), 0x0100);

        Click(dialog, IDC_LBDMO_CURRENT_1);
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, IDC_LBDMO_CURRENT_1); }));
        TypeInto(dialog, IDC_LBDMO_OUTPUT_LOW_1, "15.0");
        WaitForPostedMessages();
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, IDC_LBDMO_VOLTAGE_1);
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBDMO_OUTPUT_LOW_1) == "10.0"; }));
        Click(dialog, m.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 68), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 92), 100);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 40000);
}

// LBRMO: the limits are copied into output 2's input range at the end of every tick, so a Write
// sends 25.0 as both r67 and r55; the bargraph word keeps its upper bits under the kind's choice.
TEST_F(AoutControllerDevice, LbrmoMirrorsTheLimitsAndKeepsBargraphBits)
{
    const CtrlCase& m = FindCase("LBRMO");
    int deviceId = AddFilledDevice(m);
    SetDeviceRegister(deviceId, 75, 0x0402);
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Selected(dialog, IDC_LBRMO_BARGRAPH), 2);
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_LBRMO_BARGRAPH_KIND)), EditionText(L"Absolut", L"Absolutní"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_LBRMO_COLOR_BARGRAPH_LABEL)), L"Bargraf");
        SelectEntry(dialog, IDC_LBRMO_BARGRAPH, 3);
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_LBRMO_BARGRAPH_KIND)), EditionText(L"Constant", L"Konstantní"));
        TypeInto(dialog, IDC_LBRMO_HIGH_LIMIT, "25.0");
        TypeInto(dialog, IDC_LBRMO_LOW_LIMIT, "30.0");  // above the high limit: accepted
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBRMO_INPUT_HIGH_2) == "25.0"; }));
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBRMO_INPUT_LOW_2) == "30.0"; }));
        int stores = 0;
        Click(dialog, m.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_EQ(DeviceRegister(deviceId, 67), 250);
        EXPECT_EQ(DeviceRegister(deviceId, 55), 250);
        EXPECT_EQ(DeviceRegister(deviceId, 66), 300);
        EXPECT_EQ(DeviceRegister(deviceId, 54), 300);
        EXPECT_EQ(DeviceRegister(deviceId, 75), 0x0403);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 40000);
}

// The LCD group: an active time beyond the list (65) or below it (0) leaves the list without a
// selection and goes back unchanged, 7 shows "5s" and stays 7, a choice sets (entry + 1) x 5;
// a colour choice sets its nibble only and moves the focus; the menu word toggles bit 0.
TEST_F(AoutControllerDevice, LcdGroupActiveTimeColoursAndMenuWord)
{
    const CtrlCase& m = FindCase("LBKDO");
    const WORD activeTimes[] = {65, 0, 7};
    for (WORD activeTime : activeTimes) {
        SCOPED_TRACE(activeTime);
        SimResetDevices();
        int deviceId = AddFilledDevice(m);
        SetDeviceRegister(deviceId, 35, activeTime);
        SetDeviceRegister(deviceId, 36, 0xF222);
        SetDeviceRegister(deviceId, 39, 2);
        RunProgram([&] {
            HWND dialog = OpenConnected(m, deviceId);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(Selected(dialog, IDC_LBKDO_ACTIVE_TIME), activeTime == 7 ? 0 : -1);
            EXPECT_TRUE(IsChecked(dialog, IDC_LBKDO_MENU_DISABLE));
            int stores = 0;
            Click(dialog, m.write);
            ASSERT_TRUE(WaitWrite(deviceId, &stores));
            EXPECT_EQ(DeviceRegister(deviceId, 35), activeTime);
            EXPECT_EQ(DeviceRegister(deviceId, 36), 0xF222);
            EXPECT_EQ(DeviceRegister(deviceId, 39), 2);
            if (activeTime == 7) {
                SelectEntry(dialog, IDC_LBKDO_ACTIVE_TIME, 6);
                EXPECT_EQ(SelectEntryAndTakeFocus(dialog, IDC_LBKDO_COLOR_HUMIDITY, 6),
                          GetDlgItem(dialog, IDC_LBKDO_COLOR_TEMPERATURE_LABEL));
                Click(dialog, IDC_LBKDO_MENU_DISABLE);
                WaitForPostedMessages();
                EXPECT_TRUE(IsChecked(dialog, IDC_LBKDO_MENU_DISABLE));
                Click(dialog, m.write);
                ASSERT_TRUE(WaitWrite(deviceId, &stores));
                EXPECT_EQ(DeviceRegister(deviceId, 35), 35);
                EXPECT_EQ(DeviceRegister(deviceId, 36), 0xF262);
                EXPECT_EQ(DeviceRegister(deviceId, 39), 3);
            }
            Click(dialog, m.cancel);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        }, 30000);
    }
}

// The hidden calibration write of LBKDO and LBKDOS: the value's two bytes and zeros, nothing
// else; a refusal shows the error and closes the dialog with the connection kept; off-line
// nothing is sent.
TEST_F(AoutControllerDevice, CalibrationWriteOnTheWire)
{
    const std::pair<const char*, std::pair<int, int>> models[] = {
        {"LBKDO", {IDC_LBKDO_CALIBRATION_VALUE, IDC_LBKDO_CALIBRATION_WRITE}},
        {"LBKDOS", {IDC_LBKDOS_CALIBRATION_VALUE, IDC_LBKDOS_CALIBRATION_WRITE}},
    };
    const std::wstring written = EditionText(L"Calibration data write", L"Kalibrační data zapsána");
    const std::wstring refused = EditionText(L"Calibration data write error", L"Chyba při zápisu kalbračních dat");
    for (const auto& model : models) {
        SCOPED_TRACE(model.first);
        const CtrlCase& m = FindCase(model.first);
        SimResetDevices();
        int deviceId = AddFilledDevice(m);
        RunProgram([&] {
            HWND dialog = OpenConnected(m, deviceId);
            ASSERT_NE(dialog, nullptr);
            size_t before = EventCount(deviceId);
            PostButton(dialog, model.second.second);
            ExpectMessageBox(ThisProcess(), written, L"SET info", MB_ICONINFORMATION);
            EXPECT_EQ(CommandsSince(deviceId, before), "F0 ");
            std::vector<std::vector<BYTE>> sent = TranscriptBytes(deviceId, SIM_EVENT_SET_FEATURE);
            EXPECT_EQ(sent.back(), (std::vector<BYTE>{0x00, 0xF0, 0x01, 0x90, 0, 0, 0, 0, 0}));
            EXPECT_TRUE(IsWindow(dialog));

            SimAddFault(deviceId, {SIM_FAULT_SET_FEATURE, 0, -1, CMD_WRITE_CALIBRATION, -1});
            PostButton(dialog, model.second.second);
            ExpectMessageBox(ThisProcess(), refused, L"SET info", MB_ICONERROR);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
            EXPECT_EQ(g_deviceConnected, 1);
        }, 30000);
    }
    const CtrlCase& m = FindCase("LBKDO");
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        PostButton(dialog, IDC_LBKDO_CALIBRATION_WRITE);
        ExpectMessageBox(ThisProcess(), refused, L"SET info", MB_ICONERROR);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

// Open refuses an empty file, a file of the wrong size and another model's file, in that order,
// and changes nothing. LBKDO compares five letters (an LBKDOS file opens), LBKDOS six.
TEST_F(AoutControllerFiles, RefusalsAndComparedLetters)
{
    std::string empty = TempPath("empty.dlc");
    std::string shortFile = TempPath("short.dlc");
    std::string kdos = TempPath("kdos.dlc");
    std::string kdo = TempPath("kdo.dlc");
    WriteFileBytes(empty, "");
    WriteFileBytes(shortFile, ExpectedSettingsFile("LBKDO", {{76, "1.5"}}, Text16("").c_str()).substr(0, 2607));
    WriteFileBytes(kdos, ExpectedSettingsFile("LBKDOS", {{76, "1.5"}, {68, "01"}}, Text16("KDOS file").c_str()));
    WriteFileBytes(kdo, ExpectedSettingsFile("LBKDO", {{76, "2.5"}}, Text16("KDO file").c_str()));
    const CtrlCase& m = FindCase("LBKDOS");
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        const struct {
            const std::string* path;
            std::wstring text;
        } refusals[] = {
            {&empty, EditionText(L"File read error", L"Chyba načteni souboru")},
            {&shortFile, EditionText(L"File is damaged", L"Soubor je poškozený")},
            {&kdo, EditionText(L"LBKDOS device is not compatible with selected file.",
                               L"Konfigurační soubor není určen pro zařízení LBKDOS")},
        };
        for (const auto& refusal : refusals) {
            OpenFile(dialog, m.open, *refusal.path);
            ExpectMessageBox(ThisProcess(), refusal.text, EditionText(L"File Error", L"Chyba souboru"), MB_ICONERROR);
            EXPECT_EQ(ItemText(dialog, IDC_LBKDOS_OFFSET_TEMPERATURE), "0.0");
        }
        OpenFile(dialog, m.open, kdos);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == "KDOS file"; }));
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);

    const CtrlCase& k = FindCase("LBKDO");
    result = RunDialog(k.templateId, k.proc, [&](HWND dialog) {
        OpenFile(dialog, k.open, kdos);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, k.text) == "KDOS file"; }));
        EXPECT_EQ(ItemText(dialog, IDC_LBKDO_OFFSET_TEMPERATURE), "1.5");
        // "01": current, humidity.
        EXPECT_TRUE(IsChecked(dialog, IDC_LBKDO_INPUT_HUMIDITY));
        ExpectOutputLabels(dialog, k.out[0], false, false);
        Click(dialog, k.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    for (const std::string* path : {&empty, &shortFile, &kdos, &kdo}) DeleteFileA(path->c_str());
}

// Lines the dialogs write but never read: r37 (the colour word again) and LBKDOS's carried r39;
// a file's kinds reach the device with the next Write; a menu word of 10 or more is saved as its
// plain number and reopens as it was; an unchecked limit beyond a word saturates.
TEST_F(AoutControllerFiles, UnreadLinesKindsMenuWordAndSaturation)
{
    const CtrlCase& m = FindCase("LBKDOS");
    int deviceId = AddFilledDevice(m);
    SetDeviceRegister(deviceId, 39, 5);
    std::string path = TempPath("lines.dlc");
    std::string saved = TempPath("saved.dlc");
    WriteFileBytes(path, ExpectedSettingsFile("LBKDOS", {{39, "7"}, {37, "12345"}, {68, "01"}, {69, "0"}},
                                        Text16("From file").c_str()));
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        OpenFile(dialog, m.open, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == "From file"; }));
        TypeInto(dialog, IDC_LBKDOS_INDICATION_LOW, "70000");
        TypeInto(dialog, IDC_LBKDOS_INDICATION_HIGH, "-70000");
        int stores = 0;
        Click(dialog, m.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 39), 5) << "the carried flag is the read one";
        EXPECT_EQ(DeviceRegister(deviceId, 68), 0x0100);
        EXPECT_EQ(DeviceRegister(deviceId, 69), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 64), 32767);
        EXPECT_EQ(DeviceRegister(deviceId, 65), 0x8000);
        for (int r = 34; r <= 38; r++) EXPECT_EQ(DeviceRegister(deviceId, r), FILLER_BASE + r) << "register " << r;
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);

    const CtrlCase& k = FindCase("LBKDO");
    SimResetDevices();
    deviceId = AddFilledDevice(k);
    SetDeviceRegister(deviceId, 39, 256);
    RunProgram([&] {
        HWND dialog = OpenConnected(k, deviceId);
        ASSERT_NE(dialog, nullptr);
        Click(dialog, k.save);
        ChooseFile(dialog, saved);
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(saved).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(saved).substr(32 + 16 * 39 + 8, 6), "256   ");
        Click(dialog, k.byDefault);
        OpenFile(dialog, k.open, saved);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, k.text) == "Hello World 1234"; }));
        int stores = 0;
        Click(dialog, k.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 39), 256);
        Click(dialog, k.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
    DeleteFileA(path.c_str());
    DeleteFileA(saved.c_str());
}

namespace {

const char MISSING_MASK_MODULE[] = "zentil-aout-missing.dll";  // the program's resources less the mask

class Lbkdg1ks : public AoutControllerDevice {};

WORD Word(const char* pair)
{
    return (WORD)((BYTE)pair[0] << 8 | (BYTE)pair[1]);
}

int AddLbkdg1ksDevice()
{
    int id = SimAddDevice(SimDeviceNameOfModel("LB-KDG-S"), "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = (WORD)(FILLER_BASE + r);
    const std::map<int, WORD> seeded = {{48, 17}, {49, 0x0102}, {50, 1},          {51, 65534}, {64, 800},
                                        {65, 1500}, {76, (WORD)-5}, {77, 25}, {81, (WORD)-150}};
    for (const auto& entry : seeded) device->registers[entry.first] = entry.second;
    const char* text = "Hello World 1234";
    for (int i = 0; i < 8; i++) device->registers[40 + i] = Word(text + 2 * i);
    device->jumperFitted = true;
    return id;
}

}  // namespace

// CONFIG with the device: the read at opening, then the labels; the network combos by index; the
// 32 MHz output: "PWM output" 162 Hz, Set 20000 Hz gives prescaler 533, 3 steps and 1 Hz the
// minimum message and 43689; Write stores its registers and leaves every other one (r33 too).
TEST_F(Lbkdg1ks, ReadLabelsOutputAndWrite)
{
    int deviceId = AddLbkdg1ksDevice();
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000));
        PostClick(g_configButton);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_LBKDG1KS_READ, 10000);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WaitWhileDeviceTalks(deviceId, [&] { return ItemText(dialog, IDC_LBKDG1KS_TEXT) == "Hello World 1234"; }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));
        EXPECT_EQ(GetTextUtf8(dialog), "LB-KDG-S");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_LBKDG1KS_READ)), EditionText(L"Read LB-KDG-S", L"Načíst LB-KDG-S"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_LBKDG1KS_INDICATION_GROUP)),
                  EditionText(L"CO2 indication limit", L"Limity indikace CO2"));
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_ADDRESS), "17");
        EXPECT_EQ(Selected(dialog, IDC_LBKDG1KS_BAUD), 2);
        EXPECT_EQ(Selected(dialog, IDC_LBKDG1KS_PARITY), 1);
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_OFFSET_TEMPERATURE), "-0.5");
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_OFFSET_CO2), "-150");
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_INDICATION_LOW), "800");
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_STEPS), "2");
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_FREQUENCY), "--");
        EXPECT_FALSE(IsShown(GetDlgItem(dialog, IDC_LBKDG1KS_CALIBRATION_WRITE)));

        Click(dialog, IDC_LBKDG1KS_PWM);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBKDG1KS_FREQUENCY) == "162"; }));
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_PERIOD), "6.1728");
        TypeInto(dialog, IDC_LBKDG1KS_FREQUENCY, "20000");
        Click(dialog, IDC_LBKDG1KS_SET);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBKDG1KS_FREQUENCY) == "19975.031211"; }));
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_PERIOD), "0.050062");
        int stores = 0;
        Click(dialog, IDC_LBKDG1KS_WRITE);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 50), 2);
        EXPECT_EQ(DeviceRegister(deviceId, 51), 533);
        const std::map<int, WORD> written = {{48, 17}, {49, 0x0102}, {64, 800}, {65, 1500},
                                             {76, (WORD)-5}, {77, 25}, {81, (WORD)-150}};
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
            if (r == 50 || r == 51 || (r >= 40 && r <= 47)) continue;
            WORD expected = written.count(r) ? written.at(r) : (WORD)(FILLER_BASE + r);
            EXPECT_EQ(DeviceRegister(deviceId, r), expected) << "register " << r;
        }
        EXPECT_EQ(DeviceRegister(deviceId, 40), Word("He"));

        TypeInto(dialog, IDC_LBKDG1KS_FREQUENCY, "1");
        Click(dialog, IDC_LBKDG1KS_SET);
        ExpectMessageBox(ThisProcess(),
                         EditionText(L"Requested frequency overflow minimal limit of range",
                                     L"Hodnota frekvence je menší než minimální hodnota rozsahu"),
                         EditionText(L"Setting value", L"Nastavená hodnota"), MB_ICONINFORMATION);
        Click(dialog, IDC_LBKDG1KS_WRITE);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        EXPECT_EQ(DeviceRegister(deviceId, 51), 43689);
        Click(dialog, IDC_LBKDG1KS_CANCEL);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 40000);
}

// Off-line: Default and Save byte for byte; the register-49 field: "0102" gives " odd" and
// " 4800Bd", a field of one character that is no digit, or of two characters, 19200 Bd without
// parity; eight letters are compared (an LBKDG1K file is refused).
TEST_F(Lbkdg1ks, OfflineFilesAndNetworkField)
{
    std::string path = TempPath("kdgs.dlc");
    std::string network = TempPath("kdgs_network.dlc");
    std::string lcd = TempPath("kdg.dlc");
    WriteFileBytes(lcd, ExpectedSettingsFile("LBKDG1K", {{48, "9"}}, Text16("").c_str()));
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(IDD_LBKDG1KS, LBKDG1KSDlgProc, [&](HWND dialog) {
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; })) << "the opening did not end";
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, IDC_LBKDG1KS_READ)));
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, IDC_LBKDG1KS_CALIBRATION_WRITE)));
        EXPECT_EQ(ItemText(dialog, IDC_LBKDG1KS_TEXT), "Dolvan LB-KDG-S ");
        EXPECT_EQ(Selected(dialog, IDC_LBKDG1KS_BAUD), 4);
        EXPECT_EQ(Selected(dialog, IDC_LBKDG1KS_PARITY), 0);
        Click(dialog, IDC_LBKDG1KS_DEFAULT);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBKDG1KS_TEXT) == "LB-KDG-S Dolvan   "; }));
        Click(dialog, IDC_LBKDG1KS_SAVE);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path),
                  ExpectedSettingsFile("LBKDG1KS",
                                       {{48, "1"}, {49, "0004"}, {50, "00001"}, {51, "65534"}, {64, "1000"}, {65, "2000"},
                                        {76, "0.0"}, {77, "0.0"}, {81, "0"}},
                                       "LB-KDG-S Dolvan "));
        const struct {
            const char* field;
            int baud, parity;
        } rows[] = {{"0102", 2, 1}, {"A", 4, 0}, {"3", 3, 0}, {"12", 4, 0}, {"0206", 6, 2}, {"123456", 4, 0}};
        for (const auto& row : rows) {
            SCOPED_TRACE(row.field);
            WriteFileBytes(network, ExpectedSettingsFile("LBKDG1KS", {{49, row.field}, {48, "9"}}, Text16("Net").c_str()));
            OpenFile(dialog, IDC_LBKDG1KS_OPEN, network);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_LBKDG1KS_TEXT) == "Net"; }));
            EXPECT_EQ(Selected(dialog, IDC_LBKDG1KS_BAUD), row.baud);
            EXPECT_EQ(Selected(dialog, IDC_LBKDG1KS_PARITY), row.parity);
            SetText(GetDlgItem(dialog, IDC_LBKDG1KS_TEXT), L"");
        }
        OpenFile(dialog, IDC_LBKDG1KS_OPEN, lcd);
        ExpectMessageBox(ThisProcess(),
                         EditionText(L"LB-KDG-S device is not compatible with selected file.",
                                     L"Konfigurační soubor není určen pro zařízení LB-KDG-S"),
                         EditionText(L"File Error", L"Chyba souboru"), MB_ICONERROR);
        Click(dialog, IDC_LBKDG1KS_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    for (const std::string* file : {&path, &network, &lcd}) DeleteFileA(file->c_str());
}

// Damaged input: empty or garbage fields in a file, and a device with 0xFFFF in every kind,
// colour, time and flag word, open without a crash and carry their values.
TEST_F(AoutControllerFiles, GarbageFieldsAndAllOnesWords)
{
    std::string path = TempPath("garbage.dlc");
    const char* kinds[] = {"", "1", "x"};
    const CtrlCase& m = FindCase("LBKDO");
    g_deviceConnected = 0;
    for (const char* kind : kinds) {
        SCOPED_TRACE(kind);
        WriteFileBytes(path, ExpectedSettingsFile("LBKDO", {{68, kind}, {69, kind}, {35, "x5s"}, {36, "abc"}, {37, "99999"}, {39, ""}},
                                                  Text16("Garbage").c_str()));
        INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
            OpenFile(dialog, m.open, path);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == "Garbage"; }));
            // Only a '0' inside the field means current or temperature.
            ExpectOutputLabels(dialog, m.out[0], true, false);
            EXPECT_TRUE(IsChecked(dialog, IDC_LBKDO_INPUT_HUMIDITY));
            EXPECT_EQ(Selected(dialog, IDC_LBKDO_COLOR_HUMIDITY), 2);
            Click(dialog, m.cancel);
        });
        EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    }
    DeleteFileA(path.c_str());

    int deviceId = AddFilledDevice(m);
    for (int r : {35, 36, 39, 68, 69}) SetDeviceRegister(deviceId, r, 0xFFFF);
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Selected(dialog, IDC_LBKDO_ACTIVE_TIME), -1);
        EXPECT_EQ(Selected(dialog, IDC_LBKDO_COLOR_TEMPERATURE), -1);
        EXPECT_TRUE(IsChecked(dialog, IDC_LBKDO_INPUT_HUMIDITY));
        ExpectOutputLabels(dialog, m.out[0], true, false);
        int stores = 0;
        Click(dialog, m.write);
        ASSERT_TRUE(WaitWrite(deviceId, &stores));
        for (int r : {35, 36, 39, 68, 69}) EXPECT_EQ(DeviceRegister(deviceId, r), 0xFFFF) << "register " << r;
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}

// A program module without the mask: the dialogs with pictures end at once with -1, no message
// and nothing left loaded; LBKDOS, which has none, opens.
TEST_F(AoutControllerFiles, MissingPictureEndsTheDialog)
{
    HMODULE module = LoadLibraryA(MISSING_MASK_MODULE);
    ASSERT_NE(module, nullptr);
    HINSTANCE program = g_hInstance;
    g_deviceConnected = 0;
    for (const CtrlCase& m : Cases()) {
        SCOPED_TRACE(m.designation);
        g_hInstance = module;
        INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
            if (IsWindow(dialog)) Click(dialog, m.cancel);
        });
        g_hInstance = program;
        EXPECT_EQ(result, m.bitmaps ? -1 : DEVICE_DIALOG_RESULT);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        if (!m.bitmaps) continue;
        const UnitBitmapTable* table = m.bitmaps();
        EXPECT_EQ(table->mask, nullptr);
        for (HBITMAP handle : table->colors) EXPECT_EQ(handle, nullptr);
        for (HBITMAP handle : table->bargraphs) EXPECT_EQ(handle, nullptr);
    }
    FreeLibrary(module);
}

// A write engine that fails shows its own message and the dialog closes, the connection dropped.
TEST_F(AoutControllerDevice, FailedWriteClosesTheDialog)
{
    const CtrlCase& m = FindCase("LBRMO");
    int deviceId = AddFilledDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        SimAddFault(deviceId, {SIM_FAULT_SET_FEATURE, 0, -1, CMD_WRITE_BLOCK, -1});
        Click(dialog, m.write);
        ExpectMessageBox(ThisProcess(), L"Data write pointer error", L"SET info", MB_ICONERROR);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(g_deviceConnected, 0);
        EXPECT_TRUE(WaitUntil([] { return IsShown(g_mainWindow); }));
    }, 30000);
}

// Write runs the tick's checks before it copies: an entry typed after the last tick reaches the
// device bounded, with the range message.
TEST_F(AoutControllerDevice, WriteChecksWhatNoTickHasSeen)
{
    const CtrlCase& m = FindCase("LBKDO");
    int deviceId = AddFilledDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnected(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        RunOnUiThread([&] {
            SetDlgItemTextA(dialog, IDC_LBKDO_OUTPUT_LOW_1, "25.0");
            SetDlgItemTextA(dialog, IDC_LBKDO_OFFSET_CO2, "-2500");
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(m.write, BN_CLICKED), (LPARAM)GetDlgItem(dialog, m.write));
        });
        DismissMessageBoxes(dialog, [&] { return CountFeatureCommands(deviceId, CMD_STORE_EEPROM) >= 3; });
        EXPECT_EQ(DeviceRegister(deviceId, 92), 100);
        EXPECT_EQ(DeviceRegister(deviceId, 81), (WORD)-2000);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}
