// LCD room controllers end to end: each model is a row of one table and runs through CONFIG (or
// the off-line picker) with the simulated controller on the wire, in the edition this program was
// built as.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/main_window.h"
#include "devices/controllers/controller_dialogs.h"
#include "devices/lcd_units/unit_bitmaps.h"
#include "devices/sensors/model_dialog.h"
#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/lcd_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

namespace {

const int MODES = 4;
const int STATES = 16;
const int SYMBOLS = 64;
const int COLORS = 7;
const int BARGRAPHS = 4;
const int BITMAPS_PER_OPENING = 1 + COLORS + BARGRAPHS + SYMBOLS;  // 76
const char MISSING_PICTOGRAM_MODULE[] = "zentil-ctrl-missing.dll";  // lacks pictogram code 40
const char MISSING_HIGH_CODE_MODULE[] = "zentil-lcd-missing.dll";   // lacks pictogram code 100

// A bounded field of the tick table: its control, its register, its bounds as the field shows
// them and a text beyond each bound.
struct TickRow {
    int id;
    int registerIndex;
    const char* low;
    const char* high;
    const char* below;
    const char* above;
};

struct Bargraph {
    int comboId;
    int kindId;
    int labelId;
    int registerIndex;
    int opening;
};

struct ColorCombo {
    int id;
    int registerIndex;
    int shift;
    int opening;
};

// One LCD room controller: how the tests find and drive its dialog.
struct Controller {
    const char* model;  // device name, settings-file designation
    const wchar_t* caption;
    BYTE type;
    int templateId;
    DLGPROC dialogProc;
    const UnitBitmapTable* (*bitmaps)();
    int offlineButton;
    int read, write, open, save, defaults, cancel;
    int text, address, baud, parity, activeTime, menu;
    int dualState, pwm, steps, frequency, period, set;
    int calibrationValue, calibrationButton;  // 0: none
    int connection[MODES], states[MODES], statesLabel[MODES], firstSymbol[MODES];
    std::vector<ColorCombo> colors;
    int colorFocus;
    std::vector<Bargraph> bargraphs;
    std::vector<int> hidden;
    const char* openingText;
    const char* defaultText16;  // what Write and Save keep of the Default text
    std::vector<TickRow> ticks;  // in the tick's order
    std::vector<std::pair<int, const char*>> openingTexts;  // other fields at opening and Default
    std::vector<std::pair<int, const char*>> unchecked;     // fields the tick leaves alone: id, a wild text
    std::map<int, std::string> defaultFile;  // value fields of the file Save writes after Default
    // The seeded device: register values and the texts the controls then show.
    std::map<int, WORD> seed;
    std::vector<std::pair<int, const char*>> shown;
    std::map<int, WORD> defaultWords;  // registers Default then Write stores (with the text)
    const wchar_t* mismatchEnglish;
    const wchar_t* mismatchCzech;
};

std::wstring Edition(const wchar_t* english, const wchar_t* czech)
{
    return EditionText(english, czech);
}

// The value fields every controller file holds after Default, and the mode lines.
std::map<int, std::string> CommonDefaultFile(int dayLine)
{
    std::map<int, std::string> fields = {
        {dayLine, "30"}, {38, "10"},     {35, "5s"},    {37, "13107"}, {39, "0"},     {48, "1"},
        {49, "0004"},    {50, "00001"},  {51, "65534"}, {76, "0.0"},   {8, "0.0"},
        {52, "-5.0"},    {53, "5.0"},    {56, "20"},    {57, "30"},    {68, "00001"},
    };
    for (int k = 0; k < MODES; k++) {
        fields[84 + 2 * k] = "0";
        fields[85 + 2 * k] = "00";
    }
    for (int r = 92; r <= 155; r++) fields[r] = "00";
    return fields;
}

std::vector<Controller> MakeControllers()
{
    std::vector<Controller> rows;
    {
        Controller c;
        c.model = "LBKDG1K";
        c.caption = L"LB-KDG";
        c.type = DEVICE_TYPE_LBKDG1K;
        c.templateId = IDD_LBKDG1K;
        c.dialogProc = LBKDG1KDlgProc;
        c.bitmaps = LBKDG1KBitmapTable;
        c.offlineButton = IDC_OFFLINE_LB_KDG;
        c.read = IDC_LBKDG1K_READ;
        c.write = IDC_LBKDG1K_WRITE;
        c.open = IDC_LBKDG1K_OPEN;
        c.save = IDC_LBKDG1K_SAVE;
        c.defaults = IDC_LBKDG1K_DEFAULT;
        c.cancel = IDC_LBKDG1K_CANCEL;
        c.text = IDC_LBKDG1K_TEXT;
        c.address = IDC_LBKDG1K_ADDRESS;
        c.baud = IDC_LBKDG1K_BAUD;
        c.parity = IDC_LBKDG1K_PARITY;
        c.activeTime = IDC_LBKDG1K_ACTIVE_TIME;
        c.menu = IDC_LBKDG1K_MENU_DISABLE;
        c.dualState = IDC_LBKDG1K_DUALSTATE;
        c.pwm = IDC_LBKDG1K_PWM;
        c.steps = IDC_LBKDG1K_STEPS;
        c.frequency = IDC_LBKDG1K_FREQUENCY;
        c.period = IDC_LBKDG1K_PERIOD;
        c.set = IDC_LBKDG1K_SET;
        c.calibrationValue = IDC_LBKDG1K_CALIBRATION_VALUE;
        c.calibrationButton = IDC_LBKDG1K_CALIBRATION_WRITE;
        int connection[] = {IDC_LBKDG1K_MODE1_CONNECTION, IDC_LBKDG1K_MODE2_CONNECTION, IDC_LBKDG1K_MODE3_CONNECTION,
                            IDC_LBKDG1K_MODE4_CONNECTION};
        int states[] = {IDC_LBKDG1K_MODE1_STATES, IDC_LBKDG1K_MODE2_STATES, IDC_LBKDG1K_MODE3_STATES,
                        IDC_LBKDG1K_MODE4_STATES};
        int labels[] = {IDC_LBKDG1K_MODE1_STATES_LABEL, IDC_LBKDG1K_MODE2_STATES_LABEL, IDC_LBKDG1K_MODE3_STATES_LABEL,
                        IDC_LBKDG1K_MODE4_STATES_LABEL};
        int symbols[] = {IDC_LBKDG1K_MODE1_SYMBOL1, IDC_LBKDG1K_MODE2_SYMBOL1, IDC_LBKDG1K_MODE3_SYMBOL1,
                         IDC_LBKDG1K_MODE4_SYMBOL1};
        memcpy(c.connection, connection, sizeof connection);
        memcpy(c.states, states, sizeof states);
        memcpy(c.statesLabel, labels, sizeof labels);
        memcpy(c.firstSymbol, symbols, sizeof symbols);
        c.colors = {
            {IDC_LBKDG1K_COLOR_TEMPERATURE, 36, 0, 2}, {IDC_LBKDG1K_COLOR_HUMIDITY, 36, 4, 2},
            {IDC_LBKDG1K_COLOR_CO2, 36, 8, 2},         {IDC_LBKDG1K_COLOR_SYMBOL1, 37, 0, 3},
            {IDC_LBKDG1K_COLOR_SYMBOL2, 37, 4, 3},     {IDC_LBKDG1K_COLOR_SYMBOL3, 37, 8, 3},
            {IDC_LBKDG1K_COLOR_SYMBOL4, 37, 12, 3},
        };
        c.colorFocus = IDC_LBKDG1K_COLOR_TEMPERATURE_LABEL;
        c.bargraphs = {
            {IDC_LBKDG1K_TEMPERATURE_BARGRAPH, IDC_LBKDG1K_TEMPERATURE_KIND, IDC_LBKDG1K_TEMPERATURE_BARGRAPH_LABEL, 68, 1},
            {IDC_LBKDG1K_HUMIDITY_BARGRAPH, IDC_LBKDG1K_HUMIDITY_KIND, IDC_LBKDG1K_HUMIDITY_BARGRAPH_LABEL, 69, 2},
            {IDC_LBKDG1K_CO2_BARGRAPH, IDC_LBKDG1K_CO2_KIND, IDC_LBKDG1K_CO2_BARGRAPH_LABEL, 73, 3},
        };
        c.hidden = {IDC_LBKDG1K_CALIBRATION_GROUP,   IDC_LBKDG1K_CALIBRATION_VALUE_LABEL, IDC_LBKDG1K_CALIBRATION_VALUE,
                    IDC_LBKDG1K_CALIBRATION_WRITE,   IDC_LBKDG1K_SWITCHING_GROUP,         IDC_LBKDG1K_SWITCHING_LOW_LABEL,
                    IDC_LBKDG1K_SWITCHING_HIGH_LABEL, IDC_LBKDG1K_SWITCHING_LOW,         IDC_LBKDG1K_SWITCHING_HIGH};
        c.openingText = "Dolvan LB-KDG   ";
        c.defaultText16 = "LB-KDG Dolvan   ";
        c.ticks = {
            {IDC_LBKDG1K_DAY, 34, "0", "100", "", "101"},
            {IDC_LBKDG1K_NIGHT, 38, "0", "100", "", "150"},
            {IDC_LBKDG1K_ADDRESS, 48, "1", "254", "0", "255"},
            {IDC_LBKDG1K_OFFSET_TEMPERATURE, 76, "-20.0", "20.0", "-20.1", "20.1"},
            {IDC_LBKDG1K_OFFSET_HUMIDITY, 77, "-20.0", "20.0", "-25", "20.06"},
            {IDC_LBKDG1K_OFFSET_CO2, 81, "-2000", "2000", "-2001", "2001"},
            {IDC_LBKDG1K_TEMPERATURE_REQ, 8, "-20.0", "200.0", "-20.1", "200.1"},
            {IDC_LBKDG1K_TEMPERATURE_HIGH, 53, "-20.0", "200.0", "-30", "300"},
            {IDC_LBKDG1K_TEMPERATURE_LOW, 52, "-20.0", "200.0", "-20,5", "200,5"},
            {IDC_LBKDG1K_HUMIDITY_REQ, 9, "-100", "100", "-101", "101"},
            {IDC_LBKDG1K_HUMIDITY_HIGH, 55, "-100", "100", "-200", "200"},
            {IDC_LBKDG1K_HUMIDITY_LOW, 54, "-100", "100", "-101", "101"},
            {IDC_LBKDG1K_CO2_REQ, 13, "0", "5000", "-1", "5001"},
            {IDC_LBKDG1K_CO2_HIGH, 63, "0", "5000", "-1", "5001"},
            {IDC_LBKDG1K_CO2_LOW, 62, "0", "5000", "-1", "5001"},
            {IDC_LBKDG1K_INDICATION_HIGH, 65, "0", "5000", "-1", "5001"},
            {IDC_LBKDG1K_INDICATION_LOW, 64, "0", "5000", "-1", "5001"},
        };
        c.openingTexts = {
            {IDC_LBKDG1K_DAY, "30"},           {IDC_LBKDG1K_NIGHT, "10"},        {IDC_LBKDG1K_ADDRESS, "1"},
            {IDC_LBKDG1K_OFFSET_TEMPERATURE, "0.0"}, {IDC_LBKDG1K_OFFSET_HUMIDITY, "0.0"}, {IDC_LBKDG1K_OFFSET_CO2, "0"},
            {IDC_LBKDG1K_TEMPERATURE_REQ, "0.0"}, {IDC_LBKDG1K_TEMPERATURE_LOW, "-5.0"}, {IDC_LBKDG1K_TEMPERATURE_HIGH, "5.0"},
            {IDC_LBKDG1K_HUMIDITY_REQ, "40"},  {IDC_LBKDG1K_HUMIDITY_LOW, "20"},   {IDC_LBKDG1K_HUMIDITY_HIGH, "80"},
            {IDC_LBKDG1K_CO2_REQ, "1000"},     {IDC_LBKDG1K_CO2_LOW, "800"},       {IDC_LBKDG1K_CO2_HIGH, "2000"},
            {IDC_LBKDG1K_INDICATION_LOW, "1000"}, {IDC_LBKDG1K_INDICATION_HIGH, "2000"},
            {IDC_LBKDG1K_SWITCHING_LOW, "20"}, {IDC_LBKDG1K_SWITCHING_HIGH, "30"}, {IDC_LBKDG1K_CALIBRATION_VALUE, "400"},
            {IDC_LBKDG1K_STEPS, "2"},          {IDC_LBKDG1K_FREQUENCY, "--"},      {IDC_LBKDG1K_PERIOD, "--"},
        };
        c.unchecked = {{IDC_LBKDG1K_SWITCHING_LOW, "-99999"},
                       {IDC_LBKDG1K_SWITCHING_HIGH, "99999"},
                       {IDC_LBKDG1K_CALIBRATION_VALUE, "abc"},
                       {IDC_LBKDG1K_TEXT, "A text much longer than sixteen"}};
        c.defaultFile = CommonDefaultFile(33);
        for (auto field : std::map<int, std::string>{{36, "00546"}, {81, "0"},     {9, "40"},     {54, "20"},  {77, "0.0"},
                                                     {55, "80"},    {13, "1000"},  {62, "800"},   {63, "2000"},
                                                     {64, "1000"},  {65, "2000"},  {69, "01026"}, {73, "01027"}})
            c.defaultFile[field.first] = field.second;
        c.seed = {
            {8, 215},   {52, (WORD)-55}, {53, 305},  {9, (WORD)-5}, {54, 25},   {55, 75},  {13, 1200},
            {62, 500},  {63, 3000},      {64, 900},  {65, 2500},    {76, (WORD)-15}, {77, (WORD)-5},
            {81, (WORD)-150}, {34, 40},  {38, 5},    {56, (WORD)-3}, {57, 45},  {48, 17},
            {68, 0x0400}, {69, 0x0403},  {73, 0x0801}, {36, 0xF222},
        };
        c.shown = {
            {IDC_LBKDG1K_TEMPERATURE_REQ, "21.5"}, {IDC_LBKDG1K_TEMPERATURE_LOW, "-5.5"}, {IDC_LBKDG1K_TEMPERATURE_HIGH, "30.5"},
            {IDC_LBKDG1K_HUMIDITY_REQ, "-5"},      {IDC_LBKDG1K_HUMIDITY_LOW, "25"},      {IDC_LBKDG1K_HUMIDITY_HIGH, "75"},
            {IDC_LBKDG1K_CO2_REQ, "1200"},         {IDC_LBKDG1K_CO2_LOW, "500"},          {IDC_LBKDG1K_CO2_HIGH, "3000"},
            {IDC_LBKDG1K_INDICATION_LOW, "900"},   {IDC_LBKDG1K_INDICATION_HIGH, "2500"},
            {IDC_LBKDG1K_OFFSET_TEMPERATURE, "-1.5"}, {IDC_LBKDG1K_OFFSET_HUMIDITY, "-0.5"}, {IDC_LBKDG1K_OFFSET_CO2, "-150"},
            {IDC_LBKDG1K_DAY, "40"},               {IDC_LBKDG1K_NIGHT, "5"},              {IDC_LBKDG1K_SWITCHING_LOW, "-3"},
            {IDC_LBKDG1K_SWITCHING_HIGH, "45"},    {IDC_LBKDG1K_ADDRESS, "17"},
        };
        c.defaultWords = {{36, 0x0222}, {37, 0x3333}, {13, 1000}, {81, 0}, {73, 0x0403}, {34, 30}, {33, FILLER_BASE + 33}};
        c.mismatchEnglish = L"LBKDG1K device is not compatible with selected file.";
        c.mismatchCzech = L"Konfigurační soubor není určen pro zařízení LBKDG1K";
        rows.push_back(c);
    }
    {
        Controller c = rows[0];
        c.model = "LBDMG1K";
        c.caption = L"LB-DMG";
        c.type = DEVICE_TYPE_LBDMG1K;
        c.templateId = IDD_LBDMG1K;
        c.dialogProc = LBDMG1KDlgProc;
        c.bitmaps = LBDMG1KBitmapTable;
        c.offlineButton = IDC_OFFLINE_LB_DMG;
        c.read = IDC_LBDMG1K_READ;
        c.write = IDC_LBDMG1K_WRITE;
        c.open = IDC_LBDMG1K_OPEN;
        c.save = IDC_LBDMG1K_SAVE;
        c.defaults = IDC_LBDMG1K_DEFAULT;
        c.cancel = IDC_LBDMG1K_CANCEL;
        c.text = IDC_LBDMG1K_TEXT;
        c.address = IDC_LBDMG1K_ADDRESS;
        c.baud = IDC_LBDMG1K_BAUD;
        c.parity = IDC_LBDMG1K_PARITY;
        c.activeTime = IDC_LBDMG1K_ACTIVE_TIME;
        c.menu = IDC_LBDMG1K_MENU_DISABLE;
        c.dualState = IDC_LBDMG1K_DUALSTATE;
        c.pwm = IDC_LBDMG1K_PWM;
        c.steps = IDC_LBDMG1K_STEPS;
        c.frequency = IDC_LBDMG1K_FREQUENCY;
        c.period = IDC_LBDMG1K_PERIOD;
        c.set = IDC_LBDMG1K_SET;
        c.calibrationValue = 0;
        c.calibrationButton = 0;
        int connection[] = {IDC_LBDMG1K_MODE1_CONNECTION, IDC_LBDMG1K_MODE2_CONNECTION, IDC_LBDMG1K_MODE3_CONNECTION,
                            IDC_LBDMG1K_MODE4_CONNECTION};
        int states[] = {IDC_LBDMG1K_MODE1_STATES, IDC_LBDMG1K_MODE2_STATES, IDC_LBDMG1K_MODE3_STATES,
                        IDC_LBDMG1K_MODE4_STATES};
        int labels[] = {IDC_LBDMG1K_MODE1_STATES_LABEL, IDC_LBDMG1K_MODE2_STATES_LABEL, IDC_LBDMG1K_MODE3_STATES_LABEL,
                        IDC_LBDMG1K_MODE4_STATES_LABEL};
        int symbols[] = {IDC_LBDMG1K_MODE1_SYMBOL1, IDC_LBDMG1K_MODE2_SYMBOL1, IDC_LBDMG1K_MODE3_SYMBOL1,
                         IDC_LBDMG1K_MODE4_SYMBOL1};
        memcpy(c.connection, connection, sizeof connection);
        memcpy(c.states, states, sizeof states);
        memcpy(c.statesLabel, labels, sizeof labels);
        memcpy(c.firstSymbol, symbols, sizeof symbols);
        c.colors = {
            {IDC_LBDMG1K_COLOR_TEMPERATURE, 36, 0, 2}, {IDC_LBDMG1K_COLOR_HUMIDITY, 36, 4, 2},
            {IDC_LBDMG1K_COLOR_SYMBOL1, 37, 0, 3},     {IDC_LBDMG1K_COLOR_SYMBOL2, 37, 4, 3},
            {IDC_LBDMG1K_COLOR_SYMBOL3, 37, 8, 3},     {IDC_LBDMG1K_COLOR_SYMBOL4, 37, 12, 3},
        };
        c.colorFocus = IDC_LBDMG1K_COLOR_TEMPERATURE_LABEL;
        c.bargraphs = {
            {IDC_LBDMG1K_TEMPERATURE_BARGRAPH, IDC_LBDMG1K_TEMPERATURE_KIND, IDC_LBDMG1K_TEMPERATURE_BARGRAPH_LABEL, 68, 1},
            {IDC_LBDMG1K_HUMIDITY_BARGRAPH, IDC_LBDMG1K_HUMIDITY_KIND, IDC_LBDMG1K_HUMIDITY_BARGRAPH_LABEL, 69, 2},
        };
        c.hidden = {IDC_LBDMG1K_SWITCHING_GROUP, IDC_LBDMG1K_SWITCHING_LOW_LABEL, IDC_LBDMG1K_SWITCHING_HIGH_LABEL,
                    IDC_LBDMG1K_SWITCHING_LOW, IDC_LBDMG1K_SWITCHING_HIGH};
        c.openingText = "Dolvan LB-DMG   ";
        c.defaultText16 = "LB-DMG  Dolvan  ";
        c.ticks = {
            {IDC_LBDMG1K_DAY, 34, "0", "100", "", "101"},
            {IDC_LBDMG1K_NIGHT, 38, "0", "100", "", "150"},
            {IDC_LBDMG1K_ADDRESS, 48, "1", "254", "0", "255"},
            {IDC_LBDMG1K_OFFSET_TEMPERATURE, 76, "-20.0", "20.0", "-20.1", "20.1"},
            {IDC_LBDMG1K_OFFSET_HUMIDITY, 77, "-20.0", "20.0", "-25", "20.06"},
            {IDC_LBDMG1K_TEMPERATURE_REQ, 8, "-20.0", "200.0", "-20.1", "200.1"},
            {IDC_LBDMG1K_TEMPERATURE_HIGH, 53, "-20.0", "200.0", "-30", "300"},
            {IDC_LBDMG1K_TEMPERATURE_LOW, 52, "-20.0", "200.0", "-20,5", "200,5"},
            {IDC_LBDMG1K_HUMIDITY_REQ, 9, "-100", "100", "-101", "101"},
            {IDC_LBDMG1K_HUMIDITY_HIGH, 55, "-100", "100", "-200", "200"},
            {IDC_LBDMG1K_HUMIDITY_LOW, 54, "-100", "100", "-101", "101"},
        };
        c.openingTexts = {
            {IDC_LBDMG1K_DAY, "30"},           {IDC_LBDMG1K_NIGHT, "10"},        {IDC_LBDMG1K_ADDRESS, "1"},
            {IDC_LBDMG1K_OFFSET_TEMPERATURE, "0.0"}, {IDC_LBDMG1K_OFFSET_HUMIDITY, "0.0"},
            {IDC_LBDMG1K_TEMPERATURE_REQ, "0.0"}, {IDC_LBDMG1K_TEMPERATURE_LOW, "-5.0"}, {IDC_LBDMG1K_TEMPERATURE_HIGH, "5.0"},
            {IDC_LBDMG1K_HUMIDITY_REQ, "40"},  {IDC_LBDMG1K_HUMIDITY_LOW, "20"},   {IDC_LBDMG1K_HUMIDITY_HIGH, "80"},
            {IDC_LBDMG1K_SWITCHING_LOW, "20"}, {IDC_LBDMG1K_SWITCHING_HIGH, "30"},
            {IDC_LBDMG1K_STEPS, "2"},          {IDC_LBDMG1K_FREQUENCY, "--"},      {IDC_LBDMG1K_PERIOD, "--"},
        };
        c.unchecked = {{IDC_LBDMG1K_SWITCHING_LOW, "-99999"},
                       {IDC_LBDMG1K_SWITCHING_HIGH, "99999"},
                       {IDC_LBDMG1K_TEXT, "A text much longer than sixteen"}};
        c.defaultFile = CommonDefaultFile(34);
        for (auto field : std::map<int, std::string>{{36, "00034"}, {77, "0.0"}, {9, "40"}, {54, "20"}, {55, "80"},
                                                     {69, "01026"}})
            c.defaultFile[field.first] = field.second;
        c.seed = {
            {8, 215},   {52, (WORD)-55}, {53, 305},  {9, (WORD)-5}, {54, 25},   {55, 75},
            {76, (WORD)-15}, {77, (WORD)-5}, {34, 40}, {38, 5},    {56, (WORD)-3}, {57, 45},  {48, 17},
            {68, 0x0400}, {69, 0x0403},  {36, 0xF722},
        };
        c.shown = {
            {IDC_LBDMG1K_TEMPERATURE_REQ, "21.5"}, {IDC_LBDMG1K_TEMPERATURE_LOW, "-5.5"}, {IDC_LBDMG1K_TEMPERATURE_HIGH, "30.5"},
            {IDC_LBDMG1K_HUMIDITY_REQ, "-5"},      {IDC_LBDMG1K_HUMIDITY_LOW, "25"},      {IDC_LBDMG1K_HUMIDITY_HIGH, "75"},
            {IDC_LBDMG1K_OFFSET_TEMPERATURE, "-1.5"}, {IDC_LBDMG1K_OFFSET_HUMIDITY, "-0.5"},
            {IDC_LBDMG1K_DAY, "40"},               {IDC_LBDMG1K_NIGHT, "5"},              {IDC_LBDMG1K_SWITCHING_LOW, "-3"},
            {IDC_LBDMG1K_SWITCHING_HIGH, "45"},    {IDC_LBDMG1K_ADDRESS, "17"},
        };
        c.defaultWords = {{36, 0x0022}, {37, 0x3333}, {69, 0x0402}, {34, 30}, {33, FILLER_BASE + 33}, {13, FILLER_BASE + 13}};
        c.mismatchEnglish = L"LBDMG1K device is not compatible with selected file.";
        c.mismatchCzech = L"Konfigurační soubor není určen pro zařízení LBDMG1K";
        rows.push_back(c);
    }
    {
        Controller c = rows[0];
        c.model = "LBRMG1K";
        c.caption = L"LB-RMG";
        c.type = DEVICE_TYPE_LBRMG1K;
        c.templateId = IDD_LBRMG1K;
        c.dialogProc = LBRMG1KDlgProc;
        c.bitmaps = LBRMG1KBitmapTable;
        c.offlineButton = IDC_OFFLINE_LB_RMG;
        c.read = IDC_LBRMG1K_READ;
        c.write = IDC_LBRMG1K_WRITE;
        c.open = IDC_LBRMG1K_OPEN;
        c.save = IDC_LBRMG1K_SAVE;
        c.defaults = IDC_LBRMG1K_DEFAULT;
        c.cancel = IDC_LBRMG1K_CANCEL;
        c.text = IDC_LBRMG1K_TEXT;
        c.address = IDC_LBRMG1K_ADDRESS;
        c.baud = IDC_LBRMG1K_BAUD;
        c.parity = IDC_LBRMG1K_PARITY;
        c.activeTime = IDC_LBRMG1K_ACTIVE_TIME;
        c.menu = IDC_LBRMG1K_MENU_DISABLE;
        c.dualState = IDC_LBRMG1K_DUALSTATE;
        c.pwm = IDC_LBRMG1K_PWM;
        c.steps = IDC_LBRMG1K_STEPS;
        c.frequency = IDC_LBRMG1K_FREQUENCY;
        c.period = IDC_LBRMG1K_PERIOD;
        c.set = IDC_LBRMG1K_SET;
        c.calibrationValue = 0;
        c.calibrationButton = 0;
        for (int k = 0; k < MODES; k++) {
            int base = IDC_LBRMG1K_MODE1_GROUP + 37 * k;
            c.connection[k] = base + 2;
            c.statesLabel[k] = base + 3;
            c.states[k] = base + 4;
            c.firstSymbol[k] = base + 21;
        }
        c.colors = {
            {IDC_LBRMG1K_COLOR_TEMPERATURE, 36, 0, 2}, {IDC_LBRMG1K_COLOR_REQUESTED, 36, 4, 2},
            {IDC_LBRMG1K_COLOR_BARGRAPH, 36, 8, 2},    {IDC_LBRMG1K_COLOR_SYMBOL1, 37, 0, 3},
            {IDC_LBRMG1K_COLOR_SYMBOL2, 37, 4, 3},     {IDC_LBRMG1K_COLOR_SYMBOL3, 37, 8, 3},
            {IDC_LBRMG1K_COLOR_SYMBOL4, 37, 12, 3},
        };
        c.colorFocus = IDC_LBRMG1K_COLOR_TEMPERATURE_LABEL;
        c.bargraphs = {
            {IDC_LBRMG1K_TEMPERATURE_BARGRAPH, IDC_LBRMG1K_TEMPERATURE_KIND, IDC_LBRMG1K_TEMPERATURE_BARGRAPH_LABEL, 68, 1},
        };
        c.hidden = {IDC_LBRMG1K_SWITCHING_GROUP, IDC_LBRMG1K_SWITCHING_LOW_LABEL, IDC_LBRMG1K_SWITCHING_HIGH_LABEL,
                    IDC_LBRMG1K_SWITCHING_LOW, IDC_LBRMG1K_SWITCHING_HIGH};
        c.openingText = "Dolvan LB-RMG   ";
        c.defaultText16 = "LB-RMG  Dolvan  ";
        c.ticks = {
            {IDC_LBRMG1K_DAY, 34, "0", "100", "", "101"},
            {IDC_LBRMG1K_NIGHT, 38, "0", "100", "", "150"},
            {IDC_LBRMG1K_ADDRESS, 48, "1", "254", "0", "255"},
            {IDC_LBRMG1K_OFFSET_TEMPERATURE, 76, "-20.0", "20.0", "-25.0", "20.1"},
            {IDC_LBRMG1K_TEMPERATURE_REQ, 8, "-20.0", "200.0", "-20.1", "250.0"},
            {IDC_LBRMG1K_TEMPERATURE_HIGH, 53, "-20.0", "200.0", "-30", "300"},
            {IDC_LBRMG1K_TEMPERATURE_LOW, 52, "-20.0", "200.0", "-20,5", "200,5"},
        };
        c.openingTexts = {
            {IDC_LBRMG1K_DAY, "30"},           {IDC_LBRMG1K_NIGHT, "10"},        {IDC_LBRMG1K_ADDRESS, "1"},
            {IDC_LBRMG1K_OFFSET_TEMPERATURE, "0.0"},
            {IDC_LBRMG1K_TEMPERATURE_REQ, "0.0"}, {IDC_LBRMG1K_TEMPERATURE_LOW, "-5.0"}, {IDC_LBRMG1K_TEMPERATURE_HIGH, "5.0"},
            {IDC_LBRMG1K_SWITCHING_LOW, "20"}, {IDC_LBRMG1K_SWITCHING_HIGH, "30"},
            {IDC_LBRMG1K_STEPS, "2"},          {IDC_LBRMG1K_FREQUENCY, "--"},      {IDC_LBRMG1K_PERIOD, "--"},
        };
        c.unchecked = {{IDC_LBRMG1K_SWITCHING_LOW, "-99999"},
                       {IDC_LBRMG1K_SWITCHING_HIGH, "99999"},
                       {IDC_LBRMG1K_TEXT, "A text much longer than sixteen"}};
        c.defaultFile = CommonDefaultFile(34);
        c.defaultFile[36] = "00546";
        c.seed = {
            {8, 215}, {52, (WORD)-55}, {53, 305}, {76, (WORD)-15}, {34, 40}, {38, 5}, {56, (WORD)-3}, {57, 45},
            {48, 17}, {68, 0x0400},    {36, 0xF222},
        };
        c.shown = {
            {IDC_LBRMG1K_TEMPERATURE_REQ, "21.5"}, {IDC_LBRMG1K_TEMPERATURE_LOW, "-5.5"}, {IDC_LBRMG1K_TEMPERATURE_HIGH, "30.5"},
            {IDC_LBRMG1K_OFFSET_TEMPERATURE, "-1.5"}, {IDC_LBRMG1K_DAY, "40"},          {IDC_LBRMG1K_NIGHT, "5"},
            {IDC_LBRMG1K_SWITCHING_LOW, "-3"},     {IDC_LBRMG1K_SWITCHING_HIGH, "45"},  {IDC_LBRMG1K_ADDRESS, "17"},
        };
        c.defaultWords = {{36, 0x0222}, {37, 0x3333}, {68, 1}, {9, FILLER_BASE + 9}, {77, FILLER_BASE + 77}};
        c.mismatchEnglish = L"LBRMG1K device is not compatible with selected file.";
        c.mismatchCzech = L"Konfigurační soubor není určen pro zařízení LBRMG1K";
        rows.push_back(c);
    }
    {
        Controller c = rows[0];
        c.model = "LBODG1K";
        c.caption = L"LB-ODG";
        c.type = DEVICE_TYPE_LBODG1K;
        c.templateId = IDD_LBODG1K;
        c.dialogProc = LBODG1KDlgProc;
        c.bitmaps = LBODG1KBitmapTable;
        c.offlineButton = IDC_OFFLINE_LB_ODG;
        c.read = IDC_LBODG1K_READ;
        c.write = IDC_LBODG1K_WRITE;
        c.open = IDC_LBODG1K_OPEN;
        c.save = IDC_LBODG1K_SAVE;
        c.defaults = IDC_LBODG1K_DEFAULT;
        c.cancel = IDC_LBODG1K_CANCEL;
        c.text = IDC_LBODG1K_TEXT;
        c.address = IDC_LBODG1K_ADDRESS;
        c.baud = IDC_LBODG1K_BAUD;
        c.parity = IDC_LBODG1K_PARITY;
        c.activeTime = IDC_LBODG1K_ACTIVE_TIME;
        c.menu = IDC_LBODG1K_MENU_DISABLE;
        c.dualState = IDC_LBODG1K_DUALSTATE;
        c.pwm = IDC_LBODG1K_PWM;
        c.steps = IDC_LBODG1K_STEPS;
        c.frequency = IDC_LBODG1K_FREQUENCY;
        c.period = IDC_LBODG1K_PERIOD;
        c.set = IDC_LBODG1K_SET;
        c.calibrationValue = 0;
        c.calibrationButton = 0;
        for (int k = 0; k < MODES; k++) {
            int base = IDC_LBODG1K_MODE1_GROUP + 37 * k;
            c.connection[k] = base + 2;
            c.statesLabel[k] = base + 3;
            c.states[k] = base + 4;
            c.firstSymbol[k] = base + 21;
        }
        c.colors = {
            {IDC_LBODG1K_COLOR_TEMPERATURE, 36, 0, 2}, {IDC_LBODG1K_COLOR_HUMIDITY, 36, 4, 2},
            {IDC_LBODG1K_COLOR_TVOC, 36, 8, 2},        {IDC_LBODG1K_COLOR_SYMBOL1, 37, 0, 3},
            {IDC_LBODG1K_COLOR_SYMBOL2, 37, 4, 3},     {IDC_LBODG1K_COLOR_SYMBOL3, 37, 8, 3},
            {IDC_LBODG1K_COLOR_SYMBOL4, 37, 12, 3},
        };
        c.colorFocus = IDC_LBODG1K_COLOR_TEMPERATURE_LABEL;
        c.bargraphs = {
            {IDC_LBODG1K_TEMPERATURE_BARGRAPH, IDC_LBODG1K_TEMPERATURE_KIND, IDC_LBODG1K_TEMPERATURE_BARGRAPH_LABEL, 68, 1},
            {IDC_LBODG1K_HUMIDITY_BARGRAPH, IDC_LBODG1K_HUMIDITY_KIND, IDC_LBODG1K_HUMIDITY_BARGRAPH_LABEL, 69, 2},
            {IDC_LBODG1K_TVOC_BARGRAPH, IDC_LBODG1K_TVOC_KIND, IDC_LBODG1K_TVOC_BARGRAPH_LABEL, 71, 3},
        };
        c.hidden = {IDC_LBODG1K_SWITCHING_GROUP, IDC_LBODG1K_SWITCHING_LOW_LABEL, IDC_LBODG1K_SWITCHING_HIGH_LABEL,
                    IDC_LBODG1K_SWITCHING_LOW, IDC_LBODG1K_SWITCHING_HIGH};
        c.openingText = "Dolvan LB-ODG   ";
        c.defaultText16 = "LB-ODG Dolvan   ";
        c.ticks = {
            {IDC_LBODG1K_DAY, 34, "0", "100", "", "101"},
            {IDC_LBODG1K_NIGHT, 38, "0", "100", "", "150"},
            {IDC_LBODG1K_ADDRESS, 48, "1", "254", "0", "255"},
            {IDC_LBODG1K_OFFSET_TEMPERATURE, 76, "-20.0", "20.0", "-20.1", "20.1"},
            {IDC_LBODG1K_OFFSET_HUMIDITY, 77, "-20.0", "20.0", "-25", "20.06"},
            {IDC_LBODG1K_TEMPERATURE_REQ, 8, "-20.0", "200.0", "-20.1", "200.1"},
            {IDC_LBODG1K_TEMPERATURE_HIGH, 53, "-20.0", "200.0", "-30", "300"},
            {IDC_LBODG1K_TEMPERATURE_LOW, 52, "-20.0", "200.0", "-20,5", "200,5"},
            {IDC_LBODG1K_HUMIDITY_REQ, 9, "-100", "100", "-101", "101"},
            {IDC_LBODG1K_HUMIDITY_HIGH, 55, "-100", "100", "-200", "200"},
            {IDC_LBODG1K_HUMIDITY_LOW, 54, "-100", "100", "-101", "101"},
            {IDC_LBODG1K_TVOC_REQ, 11, "0", "30000", "-1", "30001"},
            {IDC_LBODG1K_TVOC_HIGH, 59, "0", "30000", "-5", "40000"},
            {IDC_LBODG1K_TVOC_LOW, 58, "0", "30000", "-1", "30001"},
        };
        c.openingTexts = {
            {IDC_LBODG1K_DAY, "30"},           {IDC_LBODG1K_NIGHT, "10"},        {IDC_LBODG1K_ADDRESS, "1"},
            {IDC_LBODG1K_OFFSET_TEMPERATURE, "0.0"}, {IDC_LBODG1K_OFFSET_HUMIDITY, "0.0"},
            {IDC_LBODG1K_TEMPERATURE_REQ, "0.0"}, {IDC_LBODG1K_TEMPERATURE_LOW, "-5.0"}, {IDC_LBODG1K_TEMPERATURE_HIGH, "5.0"},
            {IDC_LBODG1K_HUMIDITY_REQ, "40"},  {IDC_LBODG1K_HUMIDITY_LOW, "20"},   {IDC_LBODG1K_HUMIDITY_HIGH, "80"},
            {IDC_LBODG1K_TVOC_REQ, "500"},     {IDC_LBODG1K_TVOC_LOW, "0"},        {IDC_LBODG1K_TVOC_HIGH, "2000"},
            {IDC_LBODG1K_SWITCHING_LOW, "20"}, {IDC_LBODG1K_SWITCHING_HIGH, "30"},
            {IDC_LBODG1K_STEPS, "2"},          {IDC_LBODG1K_FREQUENCY, "--"},      {IDC_LBODG1K_PERIOD, "--"},
        };
        c.unchecked = {{IDC_LBODG1K_SWITCHING_LOW, "-99999"},
                       {IDC_LBODG1K_SWITCHING_HIGH, "99999"},
                       {IDC_LBODG1K_TEXT, "A text much longer than sixteen"}};
        c.defaultFile = CommonDefaultFile(33);
        for (auto field : std::map<int, std::string>{{36, "00546"}, {77, "0.0"}, {9, "40"},    {54, "20"},   {55, "80"},
                                                     {11, "500"},   {58, "0"},   {59, "2000"}, {69, "01026"}, {71, "01027"}})
            c.defaultFile[field.first] = field.second;
        c.seed = {
            {8, 215},   {52, (WORD)-55}, {53, 305},  {9, (WORD)-5}, {54, 25},   {55, 75},  {11, 1500},
            {58, 100},  {59, 25000},     {76, (WORD)-15}, {77, (WORD)-5}, {34, 40}, {38, 5},
            {56, (WORD)-3}, {57, 45},    {48, 17},   {68, 0x0400},  {69, 0x0403}, {71, 0x0801}, {36, 0xF222},
        };
        c.shown = {
            {IDC_LBODG1K_TEMPERATURE_REQ, "21.5"}, {IDC_LBODG1K_TEMPERATURE_LOW, "-5.5"}, {IDC_LBODG1K_TEMPERATURE_HIGH, "30.5"},
            {IDC_LBODG1K_HUMIDITY_REQ, "-5"},      {IDC_LBODG1K_HUMIDITY_LOW, "25"},      {IDC_LBODG1K_HUMIDITY_HIGH, "75"},
            {IDC_LBODG1K_TVOC_REQ, "1500"},        {IDC_LBODG1K_TVOC_LOW, "100"},         {IDC_LBODG1K_TVOC_HIGH, "25000"},
            {IDC_LBODG1K_OFFSET_TEMPERATURE, "-1.5"}, {IDC_LBODG1K_OFFSET_HUMIDITY, "-0.5"},
            {IDC_LBODG1K_DAY, "40"},               {IDC_LBODG1K_NIGHT, "5"},              {IDC_LBODG1K_SWITCHING_LOW, "-3"},
            {IDC_LBODG1K_SWITCHING_HIGH, "45"},    {IDC_LBODG1K_ADDRESS, "17"},
        };
        c.defaultWords = {{11, 500},   {58, 0},      {59, 2000}, {71, 0x0403}, {36, 0x0222},
                          {37, 0x3333}, {34, 30}, {33, FILLER_BASE + 33}, {13, FILLER_BASE + 13}, {73, FILLER_BASE + 73}};
        c.mismatchEnglish = L"LBODG1K device is not compatible with selected file.";
        c.mismatchCzech = L"Konfigurační soubor není určen pro zařízení LBODG1K";
        rows.push_back(c);
    }
    return rows;
}

const std::vector<Controller>& Controllers()
{
    static const std::vector<Controller> rows = MakeControllers();
    return rows;
}

// ---- Driving the dialog

int ItemCount(HWND dialog, int id)
{
    return (int)SendMessageW(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0);
}

std::wstring Entry(HWND dialog, int id, int index)
{
    wchar_t text[64] = L"";
    SendMessageW(GetDlgItem(dialog, id), CB_GETLBTEXT, index, (LPARAM)text);
    return text;
}

// Which of a mode's 16 state combos are enabled, as 1 and 0.
std::string EnabledStates(HWND dialog, int firstId)
{
    std::string states;
    for (int s = 0; s < STATES; s++) states += IsWindowEnabled(GetDlgItem(dialog, firstId + s)) ? '1' : '0';
    return states;
}

std::string FileWithFields(const char* designation, const std::map<int, std::string>& fields, const char* text16)
{
    return ExpectedSettingsFile(designation, std::vector<std::pair<int, std::string>>(fields.begin(), fields.end()), text16);
}

// ---- The simulated controller

// Every register distinguishable; the model's own ones as its row seeds them, the modes with
// codes across the list, the text with an accented letter.
std::map<int, WORD> SeededRegisters(const Controller& c)
{
    std::map<int, WORD> seed;
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) seed[r] = (WORD)(FILLER_BASE + r);
    const char* text = "Zimn\xED zahrada 12";
    for (int i = 0; i < 8; i++) seed[40 + i] = (WORD)((BYTE)text[2 * i] << 8 | (BYTE)text[2 * i + 1]);
    seed[35] = 65;       // beyond the list
    seed[37] = 0x7123;   // symbol 4's nibble names no colour
    seed[39] = 2;        // menu word with another bit
    seed[49] = 0x0109;   // parity " odd", a baud of no entry
    seed[50] = 99;       // 100 steps ...
    seed[51] = 9;        // ... of prescaler 10: 32 kHz
    int connections[] = {1, 0, 1, 0}, states[] = {3, 16, 0, 17};
    for (int k = 0; k < MODES; k++) {
        seed[84 + 2 * k] = (WORD)connections[k];
        seed[85 + 2 * k] = (WORD)states[k];
    }
    for (int s = 0; s < MODES * STATES; s++) seed[92 + s] = (WORD)((s * 5) % SYMBOLS);
    seed[92] = 63;
    for (const auto& entry : c.seed) seed[entry.first] = entry.second;
    return seed;
}

int AddController(const Controller& c, const std::map<int, WORD>& seed)
{
    int id = SimAddDevice(c.model, "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (const auto& entry : seed) device->registers[entry.first] = entry.second;
    device->jumperFitted = true;
    return id;
}

// The program with a scenario of many steps on the wire.
int RunLongProgram(const std::function<void()>& scenario)
{
    return RunProgram(scenario, 60000);
}

bool WaitConnected(const Controller& c)
{
    return WaitUntil([] { return g_deviceConnected == 1; }, 10000) &&
           WaitUntil([&] { return strncmp(g_deviceNameText + 2, c.model, strlen(c.model)) == 0; }, 5000);
}

// CONFIG with the controller connected; the dialog once it is on the screen.
HWND OpenConfig(const Controller& c)
{
    PostClick(g_configButton);
    return WaitForDialogWithControl(ThisProcess(), c.read, 30000);  // it shows itself after the read
}

// CONFIG without a device: the picker's button of the model.
HWND OpenOffline(const Controller& c, bool expectNoDeviceBox)
{
    if (expectNoDeviceBox)
        ExpectMessageBox(ThisProcess(), Edition(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         Edition(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION, 10000);
    PostClick(g_configButton);
    HWND picker = WaitForDialogWithControl(ThisProcess(), c.offlineButton);
    if (!picker) return nullptr;
    Click(picker, c.offlineButton);
    return WaitForDialogWithControl(ThisProcess(), c.read, 10000);
}

std::vector<HBITMAP> LiveBitmaps(const UnitBitmapTable* table)
{
    std::vector<HBITMAP> handles;
    auto add = [&](HBITMAP handle) {
        if (handle) handles.push_back(handle);
    };
    add(table->mask);
    for (HBITMAP handle : table->colors) add(handle);
    for (HBITMAP handle : table->bargraphs) add(handle);
    for (HBITMAP handle : table->symbols) add(handle);
    return handles;
}

// The tick's range messages, seen the moment each box is made on the UI thread: which of the
// fields stand at their bound then, and the box. A box comes right after its field is corrected
// and before any later field is looked at, so the snapshots show the order of the checks.
struct TickWatch {
    HWND dialog;
    std::vector<int> ids;
    std::vector<std::string> bounds;
    std::vector<std::string> snapshots;
    std::vector<HWND> boxes;
};
TickWatch* s_tickWatch;

LRESULT CALLBACK WatchTickBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && s_tickWatch) {
        const CREATESTRUCTW* create = ((const CBT_CREATEWNDW*)lParam)->lpcs;
        if (create->hwndParent == s_tickWatch->dialog && !(create->style & WS_CHILD)) {
            std::string snapshot;
            for (size_t m = 0; m < s_tickWatch->ids.size(); m++) {
                char text[32] = "";
                GetDlgItemTextA(s_tickWatch->dialog, s_tickWatch->ids[m], text, sizeof text);
                snapshot += s_tickWatch->bounds[m] == text ? '1' : '0';
            }
            s_tickWatch->snapshots.push_back(snapshot);
            s_tickWatch->boxes.push_back((HWND)wParam);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class LcdControllers : public ::testing::TestWithParam<size_t> {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
        ResetProgramRecords();
    }
    void TearDown() override
    {
        SimResetDevices();
        ResetProgramRecords();
    }
    const Controller& Row() const { return Controllers()[GetParam()]; }
};
class LcdControllerOpening : public LcdControllers {};
class LcdControllerDevice : public LcdControllers {};
class LcdControllerMenu : public LcdControllers {};
class LcdControllerFailures : public LcdControllers {};
class LcdControllerWords : public LcdControllers {};
class LcdControllerTicks : public LcdControllers {};
class LcdControllerFiles : public LcdControllers {};

std::string RowName(const ::testing::TestParamInfo<size_t>& info)
{
    return Controllers()[info.param].model;
}

// The opening values, lists and states every opening shows (off-line, or after a refused read).
void ExpectOpeningValues(const Controller& c, HWND dialog)
{
    EXPECT_EQ(ItemText(dialog, c.text), c.openingText);
    for (const auto& field : c.openingTexts) EXPECT_EQ(ItemText(dialog, field.first), field.second) << field.first;
    EXPECT_EQ(ItemText(dialog, c.activeTime), "5s");
    EXPECT_EQ(ItemCount(dialog, c.activeTime), 12);
    EXPECT_EQ(ItemText(dialog, c.baud), "19200Bd");
    EXPECT_EQ(ItemText(dialog, c.parity), "none");
    EXPECT_FALSE(IsChecked(dialog, c.menu));
    EXPECT_TRUE(IsChecked(dialog, c.dualState));
    EXPECT_FALSE(IsChecked(dialog, c.pwm));
    EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, c.steps)));
    EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, c.set)));
    for (const ColorCombo& color : c.colors) {
        EXPECT_EQ(ItemCount(dialog, color.id), COLORS) << color.id;
        EXPECT_EQ(Selected(dialog, color.id), color.opening) << color.id;
    }
    for (const Bargraph& bar : c.bargraphs) {
        EXPECT_EQ(ItemCount(dialog, bar.comboId), BARGRAPHS) << bar.comboId;
        EXPECT_EQ(Selected(dialog, bar.comboId), bar.opening) << bar.comboId;
    }
    for (int k = 0; k < MODES; k++) {
        EXPECT_EQ(ItemCount(dialog, c.states[k]), 17);
        EXPECT_EQ(Selected(dialog, c.states[k]), 0);
        EXPECT_EQ(ItemCount(dialog, c.connection[k]), 2);
        EXPECT_EQ(Entry(dialog, c.connection[k], 0), Edition(L"LCD none", L"LCD nesvázán"));
        EXPECT_EQ(Entry(dialog, c.connection[k], 1), L"Symbol " + std::to_wstring(k + 1));
        EXPECT_EQ(Selected(dialog, c.connection[k]), 0);
        EXPECT_EQ(EnabledStates(dialog, c.firstSymbol[k]), std::string(STATES, '0'));
        for (int s = 0; s < STATES; s++) {
            EXPECT_EQ(ItemCount(dialog, c.firstSymbol[k] + s), SYMBOLS);
            EXPECT_EQ(Selected(dialog, c.firstSymbol[k] + s), 0);
        }
    }
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Rows, LcdControllerOpening, ::testing::Range<size_t>(0, Controllers().size()), RowName);
INSTANTIATE_TEST_SUITE_P(Rows, LcdControllerDevice, ::testing::Range<size_t>(0, Controllers().size()), RowName);
INSTANTIATE_TEST_SUITE_P(Rows, LcdControllerMenu, ::testing::Range<size_t>(0, Controllers().size()), RowName);
INSTANTIATE_TEST_SUITE_P(Rows, LcdControllerFailures, ::testing::Range<size_t>(0, Controllers().size()), RowName);
INSTANTIATE_TEST_SUITE_P(Rows, LcdControllerWords, ::testing::Range<size_t>(0, Controllers().size()), RowName);
INSTANTIATE_TEST_SUITE_P(Rows, LcdControllerTicks, ::testing::Range<size_t>(0, Controllers().size()), RowName);
INSTANTIATE_TEST_SUITE_P(Rows, LcdControllerFiles, ::testing::Range<size_t>(0, Controllers().size()), RowName);

// ---- Opening

// Off-line through the picker, three times: the caption, the opening values and lists, Read, Write
// and the calibration write disabled, exactly the listed controls hidden, the 76 bitmaps live while
// open and released at each close. Esc and IDOK do nothing; Cancel and the close box end it.
TEST_P(LcdControllerOpening, OfflineOpeningsThroughThePicker)
{
    const Controller& c = Row();
    EXPECT_EQ(FindDeviceTypeInfo(c.type)->templateId, c.templateId);
    EXPECT_EQ(FindDeviceTypeInfo(c.type)->dialogProc, c.dialogProc);
    RunLongProgram([&] {
        for (int opening = 0; opening < 3; opening++) {
            SCOPED_TRACE(opening);
            HWND dialog = OpenOffline(c, opening == 0);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(GetText(dialog), c.caption);
            ExpectOpeningValues(c, dialog);
            EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, c.read)));
            EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, c.write)));
            if (c.calibrationButton) { EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, c.calibrationButton))); }
            std::vector<int> hidden;
            for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (!IsWindowVisible(child)) hidden.push_back(GetDlgCtrlID(child));
            std::vector<int> expectedHidden = c.hidden;
            std::sort(hidden.begin(), hidden.end());
            std::sort(expectedHidden.begin(), expectedHidden.end());
            EXPECT_EQ(hidden, expectedHidden);

            std::vector<HBITMAP> live = LiveBitmaps(c.bitmaps());
            EXPECT_EQ(live.size(), (size_t)BITMAPS_PER_OPENING);
            for (HBITMAP handle : live) EXPECT_EQ(GetObjectType(handle), (DWORD)OBJ_BITMAP);
            HWND state = GetDlgItem(dialog, c.firstSymbol[3] + 15);
            for (int k = 0; k < SYMBOLS; k++)
                EXPECT_EQ((HBITMAP)SendMessageW(state, CB_GETITEMDATA, k, 0), c.bitmaps()->symbols[k]);

            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            RunOnUiThread([&] {
                MSG key = {dialog, WM_KEYDOWN, VK_ESCAPE, 0};
                IsDialogMessageW(dialog, &key);
            });
            WaitForPostedMessages();
            EXPECT_TRUE(IsWindow(dialog));
            if (opening == 1) PostMessageW(dialog, WM_CLOSE, 0, 0);
            else Click(dialog, c.cancel);
            EXPECT_TRUE(MainWindowBack());
            EXPECT_FALSE(IsWindow(dialog));
            EXPECT_TRUE(LiveBitmaps(c.bitmaps()).empty());
            for (HBITMAP handle : live) EXPECT_EQ(GetObjectType(handle), 0u) << "a bitmap was kept";
        }
    });
}

// A resource module without pictogram 40: the opening ends with -1 and no message, the main window
// comes back and nothing stays loaded. Without pictogram 100, which no controller shows, it opens.
TEST_P(LcdControllerOpening, MissingPictogramEndsTheOpening)
{
    const Controller& c = Row();
    HMODULE missing = LoadLibraryA(MISSING_PICTOGRAM_MODULE);
    HMODULE highMissing = LoadLibraryA(MISSING_HIGH_CODE_MODULE);
    ASSERT_NE(missing, nullptr);
    ASSERT_NE(highMissing, nullptr);
    RunLongProgram([&] {
        ExpectMessageBox(ThisProcess(), Edition(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         Edition(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION, 10000);
        HINSTANCE program = g_hInstance;
        g_hInstance = missing;
        PostClick(g_configButton);
        HWND picker = WaitForDialogWithControl(ThisProcess(), c.offlineButton);
        ASSERT_NE(picker, nullptr);
        Click(picker, c.offlineButton);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
        EXPECT_TRUE(MainWindowBack());
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_EQ(WaitForDialogWithControl(ThisProcess(), c.read, 0), nullptr);
        EXPECT_TRUE(LiveBitmaps(c.bitmaps()).empty());

        g_hInstance = highMissing;
        HWND dialog = OpenOffline(c, false);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(LiveBitmaps(c.bitmaps()).size(), (size_t)BITMAPS_PER_OPENING);
        Click(dialog, c.cancel);
        EXPECT_TRUE(MainWindowBack());
        g_hInstance = program;
    });
    FreeLibrary(missing);
    FreeLibrary(highMissing);
}

// ---- With the controller on the wire

// The automatic read after the labels (kinds read replace the opening captions), every coding
// shown; a Write without edits returns every register as read; the handlers change their words
// and the focus; Write then stores what they set; the calibration command sends its value.
TEST_P(LcdControllerDevice, ReadShowsWriteReturnsAndHandlers)
{
    const Controller& c = Row();
    std::map<int, WORD> seed = SeededRegisters(c);
    int deviceId = AddController(c, seed);
    RunLongProgram([&] {
        ASSERT_TRUE(WaitConnected(c));
        size_t mark = Mark(deviceId);
        HWND dialog = OpenConfig(c);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP + BEGIN_STEP + ReadEngineSteps() + END_STEP);
        EXPECT_EQ(CountOpenHandles(deviceId), 0);

        EXPECT_EQ(GetTextUtf8(GetDlgItem(dialog, c.text)), "Zimní zahrada 12");
        for (const auto& field : c.shown) EXPECT_EQ(ItemText(dialog, field.first), field.second) << field.first;
        EXPECT_EQ(Selected(dialog, c.activeTime), CB_ERR);
        EXPECT_EQ(Selected(dialog, c.baud), CB_ERR);
        EXPECT_EQ(ItemText(dialog, c.parity), " odd");
        EXPECT_TRUE(IsChecked(dialog, c.menu));
        for (const ColorCombo& color : c.colors) {
            int nibble = (seed[color.registerIndex] >> color.shift) & 0xF;
            EXPECT_EQ(Selected(dialog, color.id), nibble < COLORS ? nibble : CB_ERR) << color.id;
        }
        const std::wstring KINDS[] = {Edition(L"None", L"Žádný"), Edition(L"Relative", L"Relativní"),
                                      Edition(L"Absolut", L"Absolutní"), Edition(L"Constant", L"Konstantní")};
        for (const Bargraph& bar : c.bargraphs) {
            int kind = seed[bar.registerIndex] & 3;
            EXPECT_EQ(Selected(dialog, bar.comboId), kind);
            EXPECT_EQ(GetText(GetDlgItem(dialog, bar.kindId)), KINDS[kind]);
        }
        const char* ENABLED[] = {"1110000000000000", "1111111111111111", "0000000000000000", "0000000000000000"};
        for (int k = 0; k < MODES; k++) {
            SCOPED_TRACE(k);
            EXPECT_EQ(Selected(dialog, c.connection[k]), (int)seed[84 + 2 * k]);
            EXPECT_EQ(Selected(dialog, c.states[k]), k == 3 ? CB_ERR : (int)seed[85 + 2 * k]);
            EXPECT_EQ(EnabledStates(dialog, c.firstSymbol[k]), ENABLED[k]);
            for (int s = 0; s < STATES; s++) EXPECT_EQ(Selected(dialog, c.firstSymbol[k] + s), seed[92 + 16 * k + s]);
        }
        EXPECT_TRUE(IsChecked(dialog, c.pwm));
        EXPECT_EQ(ItemText(dialog, c.steps), "100");
        EXPECT_EQ(ItemText(dialog, c.frequency), "32000.000000");
        EXPECT_EQ(ItemText(dialog, c.period), "0.031250");

        mark = Mark(deviceId);
        Click(dialog, c.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP + BEGIN_STEP + WriteEngineSteps() + END_STEP);
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), seed[r]) << "register " << r;
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));

        // Handlers: a colour nibble, a bargraph kind with its upper bits, the menu bit, the active
        // time, a mode's states and one of its codes; each with its focus.
        std::map<int, WORD> expected = seed;
        const ColorCombo& second = c.colors[1];
        EXPECT_EQ(SelectEntryAndTakeFocus(dialog, second.id, 6), GetDlgItem(dialog, c.colorFocus));
        expected[second.registerIndex] = (WORD)((seed[second.registerIndex] & ~(0xF << second.shift)) | (6 << second.shift));
        const Bargraph& bar = c.bargraphs.back();
        EXPECT_EQ(SelectEntryAndTakeFocus(dialog, bar.comboId, 2), GetDlgItem(dialog, bar.labelId));
        expected[bar.registerIndex] = (WORD)((seed[bar.registerIndex] & ~3) | 2);
        EXPECT_EQ(GetText(GetDlgItem(dialog, bar.kindId)), KINDS[2]);
        Click(dialog, c.menu);
        WaitForPostedMessages();
        expected[39] = 3;
        EXPECT_TRUE(IsChecked(dialog, c.menu));
        SelectEntry(dialog, c.activeTime, 0);
        expected[35] = 5;
        SelectEntry(dialog, c.states[2], 5);
        expected[89] = 5;
        EXPECT_EQ(EnabledStates(dialog, c.firstSymbol[2]), "1111100000000000");
        EXPECT_EQ(EnabledStates(dialog, c.firstSymbol[1]), ENABLED[1]);
        EXPECT_EQ(SelectEntryAndTakeFocus(dialog, c.firstSymbol[3] + 15, 33), GetDlgItem(dialog, c.statesLabel[3]));
        expected[155] = 33;
        SelectEntry(dialog, c.connection[3], 1);
        expected[90] = 1;
        SelectEntry(dialog, c.parity, 2);
        expected[49] = 0x0209;
        RunOnUiThread([&] { SetDlgItemTextA(dialog, c.text, "\xC8" "erven\xFD text 123456"); });
        const char* PACKED = "\xC8" "erven\xFD text 123";
        for (int i = 0; i < 8; i++) expected[40 + i] = (WORD)((BYTE)PACKED[2 * i] << 8 | (BYTE)PACKED[2 * i + 1]);
        TypeInto(dialog, c.ticks[0].id, "7");
        expected[c.ticks[0].registerIndex] = 7;
        mark = Mark(deviceId);
        Click(dialog, c.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 3));
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), expected[r]) << "register " << r;

        // Default, then Write: the model's default words and the first 16 characters of its text.
        Click(dialog, c.defaults);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.text).substr(0, 16) == c.defaultText16; }));
        Click(dialog, c.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 4));
        for (const auto& word : c.defaultWords) EXPECT_EQ(DeviceRegister(deviceId, word.first), word.second) << word.first;
        for (int i = 0; i < 8; i++) {
            WORD packed = (WORD)((BYTE)c.defaultText16[2 * i] << 8 | (BYTE)c.defaultText16[2 * i + 1]);
            EXPECT_EQ(DeviceRegister(deviceId, 40 + i), packed) << 40 + i;
        }

        // The hidden calibration command: its value as typed, its low 16 bits beyond a word.
        if (c.calibrationButton) {
            std::vector<std::vector<BYTE>> sent;
            for (const char* value : {"400", "70000"}) {
                RunOnUiThread([&] { SetDlgItemTextA(dialog, c.calibrationValue, value); });
                mark = Mark(deviceId);
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(c.calibrationButton, BN_CLICKED), 0);
                ExpectMessageBox(ThisProcess(), Edition(L"Calibration data write", L"Kalibrační data zapsána"),
                                 L"SET info", MB_ICONINFORMATION);
                std::vector<SimEvent> events = SimGetEvents(deviceId);
                for (size_t k = mark; k < events.size(); k++)
                    if (events[k].kind == SIM_EVENT_SET_FEATURE && !events[k].failed) sent.push_back(events[k].bytes);
            }
            ASSERT_EQ(sent.size(), 2u);
            EXPECT_EQ(sent[0], (std::vector<BYTE>{0, 0xF0, 0x01, 0x90, 0, 0, 0, 0, 0}));
            EXPECT_EQ(sent[1], (std::vector<BYTE>{0, 0xF0, 0x11, 0x70, 0, 0, 0, 0, 0}));
            // Refused: the error, the dialog closes, the connection stays.
            SimAddFault(deviceId, {SIM_FAULT_SET_FEATURE, 0, 1, CMD_WRITE_CALIBRATION, -1});
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(c.calibrationButton, BN_CLICKED), 0);
            ExpectMessageBox(ThisProcess(), Edition(L"Calibration data write error", L"Chyba při zápisu kalbračních dat"),
                             L"SET info", MB_ICONERROR);
            EXPECT_TRUE(MainWindowBack());
            EXPECT_FALSE(IsWindow(dialog));
            EXPECT_EQ(g_deviceConnected, 1);
        } else {
            Click(dialog, c.cancel);
            EXPECT_TRUE(MainWindowBack());
        }
    });
}

// The device's own menu refuses the read at opening (one box, opening values kept); a Write then
// reads the device inside its bracket first, so registers the dialog does not own go back as the
// device holds them. A refused Write sends nothing.
TEST_P(LcdControllerMenu, MenuRefusalThenWriteReadsFirst)
{
    const Controller& c = Row();
    std::map<int, WORD> seed = SeededRegisters(c);
    int deviceId = AddController(c, seed);
    SetStatusWord(deviceId, STATUS_MENU_ACTIVE);
    RunLongProgram([&] {
        ASSERT_TRUE(WaitConnected(c));
        size_t mark = Mark(deviceId);
        PostClick(g_configButton);
        ExpectMessageBox(ThisProcess(),
                         Edition(L"Data can not be read, menu is active.",
                                 L"Nelze načíst data pokud je aktivní uživatelské menu."),
                         L"SET info", MB_ICONINFORMATION, 10000);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), c.read, 10000);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP);
        ExpectOpeningValues(c, dialog);
        EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, c.read)));
        EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, c.write)));

        mark = Mark(deviceId);
        Click(dialog, c.write);
        ExpectMessageBox(ThisProcess(),
                         Edition(L"Data can not be write, menu is active.",
                                 L"Nelze zapsat data pokud je aktivní uživatelské menu."),
                         L"SET info", MB_ICONINFORMATION);
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP);

        SetStatusWord(deviceId, 0);
        mark = Mark(deviceId);
        Click(dialog, c.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(Features(deviceId, mark),
                  STATUS_STEP + BEGIN_STEP + ReadEngineSteps() + WriteEngineSteps() + END_STEP);
        WORD registers[SIM_REGISTER_COUNT];
        memcpy(registers, g_deviceRegisters, sizeof registers);
        SendMessageW(dialog, WM_MODEL_FACTORY_SETTINGS, 0, (LPARAM)registers);  // the opening values
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
            WORD expected = registers[r];
            if (r >= 40 && r <= 47) expected = (WORD)((BYTE)c.openingText[2 * (r - 40)] << 8 | (BYTE)c.openingText[2 * (r - 40) + 1]);
            EXPECT_EQ(DeviceRegister(deviceId, r), expected) << "register " << r;
        }
        EXPECT_EQ(DeviceRegister(deviceId, 0), seed[0]);
        EXPECT_EQ(DeviceRegister(deviceId, 33), seed[33]);
        Click(dialog, c.cancel);
        EXPECT_TRUE(MainWindowBack());
    });
}

// A failure at each guarded step of the automatic read: the step's message (the engine's own for
// the engine, and no end of the configuration mode), the connection dropped, the dialog closed.
TEST_P(LcdControllerFailures, GuardedReadFailures)
{
    const Controller& c = Row();
    const std::wstring COMMUNICATION = Edition(L"Device communication error", L"Chyba komunikace se zařízením");
    struct Case {
        const char* name;
        SimFault fault;
        std::wstring text;
        int ends;  // CMD_CONFIG_END commands that went through
    };
    const Case CASES[] = {
        {"status query", {SIM_FAULT_GET_FEATURE, 0, -1, -1, -1}, COMMUNICATION, 0},
        {"configuration begin", {SIM_FAULT_SET_FEATURE, 0, -1, CMD_CONFIG_BEGIN, -1}, COMMUNICATION, 0},
        {"engine", {SIM_FAULT_SET_FEATURE, 0, -1, CMD_READ_BLOCK, 5}, L"", 0},
        {"configuration end", {SIM_FAULT_SET_FEATURE, 0, -1, CMD_CONFIG_END, -1}, COMMUNICATION, 0},
    };
    for (const Case& k : CASES) {
        SCOPED_TRACE(k.name);
        SimResetDevices();
        ResetProgramRecords();
        int deviceId = AddController(c, SeededRegisters(c));
        RunLongProgram([&] {
            ASSERT_TRUE(WaitConnected(c));
            SimAddFault(deviceId, k.fault);
            PostClick(g_configButton);
            MessageBoxRecord box;
            ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, 10000));
            HWND dialog = box.owner;
            if (GetDlgItem(dialog, c.read) == nullptr) dialog = GetWindow(dialog, GW_OWNER);
            ASSERT_NE(GetDlgItem(dialog, c.read), nullptr);
            if (!k.text.empty()) { EXPECT_EQ(box.text, k.text); }
            EXPECT_EQ(box.icon, (UINT)MB_ICONERROR);
            EXPECT_EQ(g_deviceConnected, 0);
            EXPECT_EQ(ItemText(dialog, c.address), "1") << "nothing read is shown";
            AnswerMessageBox(box);
            EXPECT_TRUE(MainWindowBack());
            EXPECT_FALSE(IsWindow(dialog));
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
            EXPECT_EQ(CountFeatureCommands(deviceId, CMD_CONFIG_END), k.ends);
            EXPECT_EQ(CountOpenHandles(deviceId), 0);
        });
    }
}

// Words outside every list: combos left empty, nothing read past a field, written back as read.
TEST_P(LcdControllerWords, WordsOutsideEveryList)
{
    const Controller& c = Row();
    std::map<int, WORD> seed = SeededRegisters(c);
    for (int r : {35, 36, 37, 39, 49, 68, 69, 73}) seed[r] = 0xFFFF;
    for (int r = 84; r <= 155; r++) seed[r] = 0xFFFF;
    seed[50] = 0;  // shown as 1 step until the tick corrects it
    int deviceId = AddController(c, seed);
    RunLongProgram([&] {
        ASSERT_TRUE(WaitConnected(c));
        HWND dialog = OpenConfig(c);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(box.text, Edition(L"Number of steps is out of range", L"Hodnota počtu krokù je mimo rozsah"));
        EXPECT_EQ(ItemText(dialog, c.steps), "3");
        AnswerMessageBox(box);
        for (const ColorCombo& color : c.colors) EXPECT_EQ(Selected(dialog, color.id), CB_ERR);
        for (int k = 0; k < MODES; k++) {
            EXPECT_EQ(Selected(dialog, c.connection[k]), CB_ERR);
            EXPECT_EQ(Selected(dialog, c.states[k]), CB_ERR);
            EXPECT_EQ(Selected(dialog, c.firstSymbol[k]), CB_ERR);
            EXPECT_EQ(EnabledStates(dialog, c.firstSymbol[k]), std::string(STATES, '0'));
        }
        EXPECT_EQ(Selected(dialog, c.baud), CB_ERR);
        EXPECT_EQ(Selected(dialog, c.parity), CB_ERR);
        EXPECT_TRUE(IsChecked(dialog, c.menu));
        Click(dialog, c.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        seed[50] = 2;
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), seed[r]) << "register " << r;
        Click(dialog, c.cancel);
        EXPECT_TRUE(MainWindowBack());
    });
}

// ---- The tick

// Every bounded field beyond a bound at once: the tick corrects them in its order, one message
// each (the next comes while the last is open); the bounds themselves pass; the switching limits,
// calibration value and text are never checked; the steps are checked last, not while typed.
TEST_P(LcdControllerTicks, TickTableInOrderAndBounds)
{
    const Controller& c = Row();
    const std::wstring RANGE = L"Hodnota mimo rozsah";
    INT_PTR result = RunDialog(c.templateId, c.dialogProc, [&](HWND dialog) {
        WaitUntil([&] { return GetWindowTextLengthW(GetDlgItem(dialog, c.read)) > 0; });
        for (int pass = 0; pass < 2; pass++) {
            SCOPED_TRACE(pass == 0 ? "above" : "below");
            std::vector<const TickRow*> rows;
            for (const TickRow& row : c.ticks)
                if (*(pass == 0 ? row.above : row.below)) rows.push_back(&row);
            TickWatch watch = {dialog};
            for (const TickRow* row : rows) {
                watch.ids.push_back(row->id);
                watch.bounds.push_back(pass == 0 ? row->high : row->low);
            }
            HHOOK hook = nullptr;
            RunOnUiThread([&] {
                s_tickWatch = &watch;
                hook = SetWindowsHookExW(WH_CBT, WatchTickBoxes, nullptr, GetCurrentThreadId());
                for (const TickRow* row : rows) SetDlgItemTextA(dialog, row->id, pass == 0 ? row->above : row->below);
            });
            bool all = WaitUntil([&] {
                HWND last = nullptr;
                size_t made = 0;
                RunOnUiThread([&] {
                    made = watch.boxes.size();
                    last = made ? watch.boxes.back() : nullptr;
                });
                return made == rows.size() && IsWindowVisible(last);
            });
            RunOnUiThread([&] {
                UnhookWindowsHookEx(hook);
                s_tickWatch = nullptr;
            });
            EXPECT_TRUE(all) << watch.boxes.size() << " messages";
            for (size_t n = 0; n < watch.snapshots.size(); n++) {
                EXPECT_EQ(watch.snapshots[n], std::string(n + 1, '1') + std::string(rows.size() - n - 1, '0')) << "box " << n;
            }
            for (auto box = watch.boxes.rbegin(); box != watch.boxes.rend(); ++box) {
                MessageBoxRecord record;
                record.window = *box;
                EXPECT_EQ(GetText(GetDlgItem(*box, 0xFFFF)), RANGE);
                AnswerMessageBox(record);
            }
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        }
        // Bounds pass and unchecked fields are left alone: the steps check, which runs last, is the
        // first to speak.
        Click(dialog, c.pwm);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.steps) == "3"; }));
        // Typed with the focus held and ticked in the same step of the UI thread: another program
        // on the shared display may take the focus between two steps, and the real tick would
        // then rightly check the field.
        std::string typed;
        RunOnUiThread([&] {
            for (const TickRow& row : c.ticks) SetDlgItemTextA(dialog, row.id, row.low);
            for (const auto& field : c.unchecked) SetDlgItemTextA(dialog, field.first, field.second);
            SetFocus(GetDlgItem(dialog, c.steps));
            SetDlgItemTextA(dialog, c.steps, "70000");
            for (int tick = 0; tick < 3; tick++) SendMessageW(dialog, WM_TIMER, TICK_TIMER_ID, 0);
            typed = ItemText(dialog, c.steps);
        });
        EXPECT_EQ(typed, "70000") << "checked while typed";
        RunOnUiThread([&] { SetFocus(GetDlgItem(dialog, c.text)); });
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(box.text, Edition(L"Number of steps is out of range", L"Hodnota počtu krokù je mimo rozsah"));
        EXPECT_EQ(ItemText(dialog, c.steps), "65536");
        for (const TickRow& row : c.ticks) EXPECT_EQ(ItemText(dialog, row.id), row.low);
        for (const auto& field : c.unchecked) EXPECT_EQ(ItemText(dialog, field.first), field.second);
        AnswerMessageBox(box);
        RunOnUiThread([&] {
            for (const TickRow& row : c.ticks) SetDlgItemTextA(dialog, row.id, row.high);
        });
        Click(dialog, c.dualState);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.frequency) == "--"; }));
        RunOnUiThread([&] { SetDlgItemTextA(dialog, c.steps, "1"); });  // not checked in the dual-state view
        Click(dialog, c.defaults);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.steps) == "2"; }));
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, c.cancel);
    }, nullptr, 60000);
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

// The 32 MHz output: PWM's start pair, "Set" with its bounds (the lower one divides by the steps
// minus one), the steps check before "Set", the dual-state view keeping its prescaler.
TEST_P(LcdControllerTicks, PwmOutputOn32MHz)
{
    const Controller& c = Row();
    const std::wstring MINIMUM =
        Edition(L"Requested frequency overflow minimal limit of range", L"Hodnota frekvence je menší než minimální hodnota rozsahu");
    const std::wstring MAXIMUM =
        Edition(L"Requested frequency overflow maximal limit of range", L"Hodnota frekvence větší než maximální hodnota rozsahu");
    const std::wstring SETTING = Edition(L"Setting value", L"Nastavená hodnota");
    INT_PTR result = RunDialog(c.templateId, c.dialogProc, [&](HWND dialog) {
        WaitUntil([&] { return GetWindowTextLengthW(GetDlgItem(dialog, c.read)) > 0; });
        Click(dialog, c.pwm);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.frequency) == "162"; }));
        EXPECT_EQ(ItemText(dialog, c.steps), "3");
        EXPECT_EQ(ItemText(dialog, c.period), "6.1728");
        struct Case {
            const char* steps;
            const char* requested;
            const wchar_t* message;
            const char* frequency;
            const char* period;
        };
        const Case CASES[] = {
            {"3", "20000", nullptr, "19975.031211", "0.050062"},
            {"3", "30000", MAXIMUM.c_str(), "19975.031211", "0.050062"},
            {"3", "200", MINIMUM.c_str(), "244.144350", "4.095937"},
            {"100", "1000", nullptr, "1000.000000", "1.000000"},
            {"65536", "1", nullptr, "1.000576", nullptr},
        };
        for (const Case& k : CASES) {
            SCOPED_TRACE(std::string(k.steps) + " steps, " + k.requested);
            TypeInto(dialog, c.steps, k.steps);
            TypeInto(dialog, c.frequency, k.requested);
            Click(dialog, c.set);
            if (k.message) ExpectMessageBox(ThisProcess(), k.message, SETTING, MB_ICONINFORMATION);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.frequency) == k.frequency; }));
            if (k.period) { EXPECT_EQ(ItemText(dialog, c.period), k.period); }
        }
        // Steps of no number: "Set" checks them first (3 steps), so the bound never divides by 0.
        TypeInto(dialog, c.steps, "abc");
        TypeInto(dialog, c.frequency, "100");
        Click(dialog, c.set);
        ExpectMessageBox(ThisProcess(), Edition(L"Number of steps is out of range", L"Hodnota počtu krokù je mimo rozsah"),
                         SETTING, MB_ICONINFORMATION);
        ExpectMessageBox(ThisProcess(), MINIMUM, SETTING, MB_ICONINFORMATION);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.frequency) == "244.144350"; }));
        EXPECT_EQ(ItemText(dialog, c.steps), "3");
        Click(dialog, c.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

// ---- Settings files

// "Default" then Save byte for byte; edits saved, Default, Open brings them back (3 states enabled);
// the three refusals in order change nothing; the register-49 and active-time rules.
TEST_P(LcdControllerFiles, DefaultSaveOpenAndRefusals)
{
    const Controller& c = Row();
    std::string path = TempPath(std::string(c.model).append(".dlc").c_str());
    std::string other = TempPath("other.dlc");
    DeleteFileA(path.c_str());
    const std::wstring FILE_ERROR = Edition(L"File Error", L"Chyba souboru");
    INT_PTR result = RunDialog(c.templateId, c.dialogProc, [&](HWND dialog) {
        WaitUntil([&] { return GetWindowTextLengthW(GetDlgItem(dialog, c.read)) > 0; });
        Click(dialog, c.defaults);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.text).substr(0, 16) == c.defaultText16; }));
        EXPECT_EQ(ItemText(dialog, c.text).size(), 18u);
        for (const Bargraph& bar : c.bargraphs) EXPECT_EQ(Selected(dialog, bar.comboId), bar.opening);
        if (c.bargraphs.size() == 3) {
            EXPECT_EQ(GetText(GetDlgItem(dialog, c.bargraphs[2].kindId)), Edition(L"Constant", L"Konstantní"));
        }
        Click(dialog, c.save);
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), FileWithFields(c.model, c.defaultFile, c.defaultText16));

        // Edits: a mode with 3 states and codes 12, 5, 63, a text with an accented letter.
        SelectEntry(dialog, c.states[1], 3);
        SelectEntry(dialog, c.firstSymbol[1], 12);
        SelectEntry(dialog, c.firstSymbol[1] + 1, 5);
        SelectEntry(dialog, c.firstSymbol[1] + 2, 63);
        SelectEntry(dialog, c.connection[1], 1);
        SelectEntry(dialog, c.activeTime, 2);
        SelectEntry(dialog, c.parity, 2);
        Click(dialog, c.menu);
        WaitForPostedMessages();
        RunOnUiThread([&] { SetDlgItemTextA(dialog, c.text, "ABC\xE9"); });
        Click(dialog, c.save);
        DeleteFileA(path.c_str());
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        std::map<int, std::string> fields = c.defaultFile;
        fields[87] = "03";
        fields[108] = "12";
        fields[109] = "05";
        fields[110] = "63";
        fields[86] = "1";
        fields[35] = "15s";
        fields[49] = "0204";
        fields[39] = "1";
        std::string saved = ReadFileBytes(path);
        EXPECT_EQ(saved, FileWithFields(c.model, fields, std::string("ABC\xE9\0\0\0\0\0\0\0\0\0\0\0\0", 16).c_str()));
        EXPECT_EQ(saved[32 + 16 * 42 + 9], '\0');

        Click(dialog, c.defaults);
        EXPECT_TRUE(WaitUntil([&] { return Selected(dialog, c.states[1]) == 0; }));
        Click(dialog, c.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.text) == "ABC\xC3\xA9"; }));
        EXPECT_EQ(Selected(dialog, c.states[1]), 3);
        EXPECT_EQ(EnabledStates(dialog, c.firstSymbol[1]), "1110000000000000");
        EXPECT_EQ(Selected(dialog, c.firstSymbol[1]), 12);
        EXPECT_EQ(Selected(dialog, c.firstSymbol[1] + 2), 63);
        EXPECT_EQ(Selected(dialog, c.connection[1]), 1);
        EXPECT_EQ(ItemText(dialog, c.activeTime), "15s");
        EXPECT_EQ(ItemText(dialog, c.parity), "even");
        EXPECT_TRUE(IsChecked(dialog, c.menu));

        // Refusals, in order, each leaving the dialog as it is.
        struct Refusal {
            std::string bytes;
            std::wstring text;
        };
        const Controller& neighbour = Controllers()[(GetParam() + 1) % Controllers().size()];
        std::string wrongModel = FileWithFields(neighbour.model, neighbour.defaultFile, neighbour.defaultText16);
        const Refusal REFUSALS[] = {
            {"", Edition(L"File read error", L"Chyba načteni souboru")},
            {saved.substr(0, 2607), Edition(L"File is damaged", L"Soubor je poškozený")},
            {saved + " ", Edition(L"File is damaged", L"Soubor je poškozený")},
            {wrongModel, Edition(c.mismatchEnglish, c.mismatchCzech)},
        };
        for (const Refusal& refusal : REFUSALS) {
            WriteFileBytes(other, refusal.bytes);
            Click(dialog, c.open);
            ChooseFile(dialog, other);
            ExpectMessageBox(ThisProcess(), refusal.text, FILE_ERROR, MB_ICONERROR);
            EXPECT_EQ(ItemText(dialog, c.text), "ABC\xC3\xA9");
            EXPECT_EQ(Selected(dialog, c.states[1]), 3);
        }

        // A header of the same seven letters with anything after them passes; the register-49
        // and active-time rules.
        struct Rule {
            const char* activeTime;
            const char* baudParity;
            const char* shownActive;
            int baud, parity;
        };
        const Rule RULES[] = {
            {"55s", "4", "55s", 4, 0},     {"5s", "0105", "5s", 5, 1},  {"60s", "123456", "60s", 4, 0},
            {"x", "12", "x", 4, 0},        {"10s", "123", "10s", 4, 0}, {"45s", "A", "45s", 4, 0},
        };
        for (const Rule& rule : RULES) {
            SCOPED_TRACE(rule.baudParity);
            std::map<int, std::string> ruled = c.defaultFile;
            ruled[35] = rule.activeTime;
            ruled[49] = rule.baudParity;
            std::string file = FileWithFields(c.model, ruled, c.defaultText16);
            file.replace(9, 7, "S rest ");
            WriteFileBytes(other, file);
            Click(dialog, c.open);
            ChooseFile(dialog, other);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.activeTime) == rule.shownActive; }));
            EXPECT_TRUE(WaitUntil([&] { return Selected(dialog, c.baud) == rule.baud; }));
            EXPECT_EQ(Selected(dialog, c.parity), rule.parity);
        }
        Click(dialog, c.cancel);
    }, nullptr, 60000);
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
    DeleteFileA(other.c_str());
}

// Files with letters, empty and too long fields and values of no list: nothing crashes, a field
// without a number keeps its value, and every value saved again is digits that load back the same.
TEST_P(LcdControllerFiles, BadFileLines)
{
    const Controller& c = Row();
    std::string path = TempPath("bad.dlc");
    std::string saved = TempPath("bad_saved.dlc");
    std::map<int, std::string> fields = c.defaultFile;
    fields[36] = "abc";    // no number: the colours stay
    fields[37] = "";
    fields[39] = "10";     // two digits in a one-digit line
    fields[84] = "256";
    fields[85] = "65535";  // more states than a mode has
    fields[92] = "100";    // no such pictogram
    fields[93] = "x";
    fields[50] = "123456";
    fields[49] = "A";
    WriteFileBytes(path, FileWithFields(c.model, fields, "Bad file        "));
    INT_PTR result = RunDialog(c.templateId, c.dialogProc, [&](HWND dialog) {
        WaitUntil([&] { return GetWindowTextLengthW(GetDlgItem(dialog, c.read)) > 0; });
        Click(dialog, c.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, c.text) == "Bad file        "; }));
        for (const ColorCombo& color : c.colors) EXPECT_EQ(Selected(dialog, color.id), color.opening);
        EXPECT_TRUE(IsChecked(dialog, c.menu));
        EXPECT_EQ(Selected(dialog, c.connection[0]), CB_ERR);
        EXPECT_EQ(Selected(dialog, c.states[0]), CB_ERR);
        EXPECT_EQ(EnabledStates(dialog, c.firstSymbol[0]), std::string(STATES, '0'));
        EXPECT_EQ(Selected(dialog, c.firstSymbol[0]), CB_ERR);
        EXPECT_EQ(Selected(dialog, c.firstSymbol[0] + 1), 0);
        EXPECT_EQ(Selected(dialog, c.baud), 4);
        EXPECT_TRUE(IsChecked(dialog, c.dualState));
        Click(dialog, c.save);
        ChooseFile(dialog, saved);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(saved).size() == 2608; }));
        std::map<int, std::string> expected = fields;
        expected[36] = c.defaultFile.at(36);
        expected[37] = c.defaultFile.at(37);
        expected[93] = "00";
        expected[50] = "00001";
        expected[49] = "0004";
        EXPECT_EQ(ReadFileBytes(saved), FileWithFields(c.model, expected, "Bad file        "));
        Click(dialog, c.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
    DeleteFileA(saved.c_str());
}
