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
const WORD FILLER_BASE = 1000;  // registers the dialog does not own hold 1000 + r

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

void Click(HWND dialog, int id)
{
    PostClick(GetDlgItem(dialog, id));
}

bool Checked(HWND dialog, int id)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_BLOCK, 5000, &state);
    return state == BST_CHECKED;
}

int Selected(HWND dialog, int id)
{
    return (int)SendMessageW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
}

int Count(HWND dialog, int id)
{
    return (int)SendMessageW(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0);
}

// A list choice as the user makes it: the selection, then the notification.
void SelectEntry(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    DWORD_PTR result;
    SendMessageTimeoutW(combo, CB_SETCURSEL, index, 0, SMTO_BLOCK, 5000, &result);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    WaitForPostedMessages();
}

std::string TempPath(const std::string& name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "zentil_aoctrl_" + std::to_string(GetCurrentProcessId()) + "_" + name;
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

// Presses OK on every message box until `settled` holds, the dialog is enabled again and no box
// has come for a while (range messages of several fields stack, as the tick goes on under each).
void DismissMessageBoxes(HWND dialog, const std::function<bool()>& settled)
{
    DWORD start = GetTickCount();
    DWORD quietSince = start;
    while (GetTickCount() - start < 15000) {
        bool pressed = false;
        for (HWND window : FindTopWindows(ThisProcess(), L"#32770")) {
            if (!IsMessageBoxWindow(window)) continue;
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            quietSince = GetTickCount();
            pressed = true;
            break;
        }
        if (!pressed && settled() && IsWindowEnabled(dialog) && GetTickCount() - quietSince >= 500) return;
        Sleep(30);
    }
    ADD_FAILURE() << "the message boxes did not settle";
}

int CountCommands(int deviceId, BYTE command)
{
    int count = 0;
    for (const auto& bytes : TranscriptBytes(deviceId, SIM_EVENT_SET_FEATURE))
        if (bytes.size() > 1 && bytes[1] == command) count++;
    return count;
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

WORD DeviceRegister(int deviceId, int r)
{
    SimLock lock;
    return SimGetDevice(deviceId)->eeprom[r];
}

void SetDeviceRegister(int deviceId, int r, WORD value)
{
    SimLock lock;
    SimGetDevice(deviceId)->registers[r] = value;
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

bool WaitForStoredWrite(int deviceId, int storesBefore)
{
    return WaitUntil([&] { return CountCommands(deviceId, CMD_STORE_EEPROM) >= storesBefore + 3; }, 8000);
}

// Opens the model's dialog through CONFIG with the device connected and waits for its read.
HWND OpenConnected(const CtrlCase& m)
{
    if (!WaitUntil([] { return g_deviceConnected == 1; }, 10000)) return nullptr;
    PostClick(g_configButton);
    HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read, 10000);
    if (!dialog) return nullptr;
    if (!WaitUntil([&] { return ItemText(dialog, m.text) == "Hello World 1234"; }, 8000)) return nullptr;
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
    EXPECT_EQ(Checked(dialog, o.voltage), voltage);
    EXPECT_EQ(Checked(dialog, o.current), !voltage);
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
            EXPECT_TRUE(Checked(dialog, m.inputTemperature));
            EXPECT_FALSE(Checked(dialog, m.inputHumidity));
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
        HWND dialog = OpenConnected(m);
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
