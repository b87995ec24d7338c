// Analog-output transmitters and the two-channel output module end to end: opened through CONFIG
// (or the off-line picker), the simulated device on the wire, real settings files, in the edition
// this program was built as.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/edition.h"
#include "app/main_window.h"
#include "devices/sensors/sensor_dialogs.h"
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
const WORD KIND_1_SEED = 2;            // any nonzero kind is voltage
const WORD KIND_2_SEED = 0;

// One bounded (or read-only) field: what a seeded device shows, what the user types and the
// device then gets, the texts at opening and on Default, and an entry the tick pulls back.
struct FieldRow {
    int id;
    int reg;
    WORD seed;
    const char* shown;
    const char* typed;
    WORD written;
    const char* atOpening;
    const char* onDefault;
    const char* outOfRange;  // null: read-only, never checked
    const char* bound;
};

// An analog output group.
struct OutputRow {
    int group, current, voltage, low, high, initial, lowLabel, highLabel, initialLabel;
};

struct LabelRow {
    int id;
    const wchar_t* english;
    const wchar_t* czech;
};

struct AoutCase {
    const char* name;         // device name and trace
    const char* designation;  // settings-file header
    const wchar_t* button;    // designation in "Read X" and in the mismatch message
    int templateId;
    DLGPROC proc;
    int pickerId;
    int read, write, open, save, byDefault, cancel, text;
    const char* openingText;
    const char* defaultText;
    std::vector<FieldRow> fields;
    std::vector<OutputRow> outputs;
    std::vector<std::pair<int, WORD>> fixed;               // registers every Write stores
    std::vector<std::pair<int, std::string>> savedLines;   // further file lines as opened
    std::vector<LabelRow> labels;                          // written at opening
    const wchar_t* openingRange1[2];                       // English output 1 range labels at opening
};

// The control ids of the TDO dialog's template and of DMO's, which is the same dialog.
struct TdoTemplateIds {
    int read, write, open, save, byDefault, cancel, text;
    int contrast, offsetTemperature, offsetHumidity;
    int inputLow1, inputHigh1, inputLow2, inputHigh2;
    OutputRow output1, output2;
    int measureGroup, temperatureLabel, humidityLabel, lcdGroup, contrastLabel, textGroup;
    int inputLow1Label, inputHigh1Label, inputLow2Label, inputHigh2Label;
};

// The output rows every two-output case shares: output 1 voltage as seeded, output 2 current.
std::vector<FieldRow> OutputFieldRows(const OutputRow& o1, const OutputRow* o2)
{
    std::vector<FieldRow> rows = {
        {o1.low, 92, 5, "0.5", "1.0", 10, "0.0", "0.0", "10.1", "10.0"},
        {o1.high, 93, 95, "9.5", "10.0", 100, "10.0", "10.0", "10.1", "10.0"},
        {o1.initial, 8, 33, "3.3", "2.5", 25, "0.0", "0.0", "-0.1", "0.0"},
    };
    if (o2) {
        rows.push_back({o2->low, 94, 40, "4.0", "4.0", 40, "0.0", "0.0", "-1", "0.0"});
        rows.push_back({o2->high, 95, 200, "20.0", "9.5", 95, "10.0", "10.0", "10.1", "10.0"});
        rows.push_back({o2->initial, 9, 150, "15.0", "2.0", 20, "0.0", "0.0", "11", "10.0"});
    }
    return rows;
}

AoutCase TdoLikeCase(const char* name, const wchar_t* button, int templateId, DLGPROC proc, int pickerId,
                     const char* defaultText, const TdoTemplateIds& c)
{
    AoutCase m = {name, name, button, templateId, proc, pickerId, c.read, c.write, c.open, c.save, c.byDefault,
                  c.cancel, c.text, "                ", defaultText};
    m.fields = {
        {c.contrast, 33, 92, "12", "30", 110, "30", "30", "46", "45"},
        {c.offsetTemperature, 76, (WORD)-15, "-1.5", "1,5", 15, "0.0", "0.0", "25", "20.0"},
        {c.offsetHumidity, 77, 25, "2.5", "-2.0", (WORD)-20, "0.0", "0.0", "-20.1", "-20.0"},
        {c.inputLow1, 52, (WORD)-123, "-12.3", "-50.0", 0xFE0C, "0.0", "0.0", "-50.1", "-50.0"},
        {c.inputHigh1, 53, 456, "45.6", "200.0", 2000, "50.0", "50.0", "200.1", "200.0"},
        {c.inputLow2, 54, 100, "10.0", "0.5", 5, "0.0", "0.0", "-0.1", "0.0"},
        {c.inputHigh2, 55, 999, "99.9", "100.0", 1000, "100.0", "100.0", "100.1", "100.0"},
    };
    std::vector<FieldRow> outputs = OutputFieldRows(c.output1, &c.output2);
    m.fields.insert(m.fields.end(), outputs.begin(), outputs.end());
    m.outputs = {c.output1, c.output2};
    m.labels = {
        {c.measureGroup, L"Measure value, offset", L"Posuv měřené hodnoty"},
        {c.temperatureLabel, L"Temperature [°C]", L"Teplota [°C]"},
        {c.humidityLabel, L"Humidity [%RH]", L"Vlhkost [%RH]"},
        {c.lcdGroup, L"LCD setting", L"Nastavení LCD"},
        {c.contrastLabel, L"Contrast", L"Kontrast"},
        {c.textGroup, L"Text string", L"Textové pole"},
        {c.output1.group, L"Output 1", L"Výstup 1"},
        {c.output2.group, L"Output 2", L"Výstup 2"},
        {c.output1.current, L"Current", L"Proud"},
        {c.output2.voltage, L"Voltage", L"Napětí"},
        {c.inputLow1Label, L"Input Lo [°C]", L"Vstup Lo [°C]"},
        {c.inputHigh1Label, L"Input Hi [°C]", L"Vstup Hi [°C]"},
        {c.inputLow2Label, L"Input Lo [%RH]", L"Vstup Lo [%RH]"},
        {c.inputHigh2Label, L"Input Hi [%RH]", L"Vstup Hi [%RH]"},
    };
    return m;
}

const TdoTemplateIds TDO_TEMPLATE = {
    IDC_TDO_READ, IDC_TDO_WRITE, IDC_TDO_OPEN, IDC_TDO_SAVE, IDC_TDO_DEFAULT, IDC_TDO_CANCEL, IDC_TDO_TEXT,
    IDC_TDO_CONTRAST, IDC_TDO_OFFSET_TEMPERATURE, IDC_TDO_OFFSET_HUMIDITY,
    IDC_TDO_INPUT_LOW_1, IDC_TDO_INPUT_HIGH_1, IDC_TDO_INPUT_LOW_2, IDC_TDO_INPUT_HIGH_2,
    {IDC_TDO_OUTPUT_1_GROUP, IDC_TDO_CURRENT_1, IDC_TDO_VOLTAGE_1, IDC_TDO_OUTPUT_LOW_1, IDC_TDO_OUTPUT_HIGH_1,
     IDC_TDO_INITIAL_1, IDC_TDO_OUTPUT_LOW_1_LABEL, IDC_TDO_OUTPUT_HIGH_1_LABEL, IDC_TDO_INITIAL_1_LABEL},
    {IDC_TDO_OUTPUT_2_GROUP, IDC_TDO_CURRENT_2, IDC_TDO_VOLTAGE_2, IDC_TDO_OUTPUT_LOW_2, IDC_TDO_OUTPUT_HIGH_2,
     IDC_TDO_INITIAL_2, IDC_TDO_OUTPUT_LOW_2_LABEL, IDC_TDO_OUTPUT_HIGH_2_LABEL, IDC_TDO_INITIAL_2_LABEL},
    IDC_TDO_MEASURE_GROUP, IDC_TDO_TEMPERATURE_LABEL, IDC_TDO_HUMIDITY_LABEL, IDC_TDO_LCD_GROUP,
    IDC_TDO_CONTRAST_LABEL, IDC_TDO_TEXT_GROUP,
    IDC_TDO_INPUT_LOW_1_LABEL, IDC_TDO_INPUT_HIGH_1_LABEL, IDC_TDO_INPUT_LOW_2_LABEL, IDC_TDO_INPUT_HIGH_2_LABEL,
};

const TdoTemplateIds DMO_TEMPLATE = {
    IDC_DMO_READ, IDC_DMO_WRITE, IDC_DMO_OPEN, IDC_DMO_SAVE, IDC_DMO_DEFAULT, IDC_DMO_CANCEL, IDC_DMO_TEXT,
    IDC_DMO_CONTRAST, IDC_DMO_OFFSET_TEMPERATURE, IDC_DMO_OFFSET_HUMIDITY,
    IDC_DMO_INPUT_LOW_1, IDC_DMO_INPUT_HIGH_1, IDC_DMO_INPUT_LOW_2, IDC_DMO_INPUT_HIGH_2,
    {IDC_DMO_OUTPUT_1_GROUP, IDC_DMO_CURRENT_1, IDC_DMO_VOLTAGE_1, IDC_DMO_OUTPUT_LOW_1, IDC_DMO_OUTPUT_HIGH_1,
     IDC_DMO_INITIAL_1, IDC_DMO_OUTPUT_LOW_1_LABEL, IDC_DMO_OUTPUT_HIGH_1_LABEL, IDC_DMO_INITIAL_1_LABEL},
    {IDC_DMO_OUTPUT_2_GROUP, IDC_DMO_CURRENT_2, IDC_DMO_VOLTAGE_2, IDC_DMO_OUTPUT_LOW_2, IDC_DMO_OUTPUT_HIGH_2,
     IDC_DMO_INITIAL_2, IDC_DMO_OUTPUT_LOW_2_LABEL, IDC_DMO_OUTPUT_HIGH_2_LABEL, IDC_DMO_INITIAL_2_LABEL},
    IDC_DMO_MEASURE_GROUP, IDC_DMO_TEMPERATURE_LABEL, IDC_DMO_HUMIDITY_LABEL, IDC_DMO_LCD_GROUP,
    IDC_DMO_CONTRAST_LABEL, IDC_DMO_TEXT_GROUP,
    IDC_DMO_INPUT_LOW_1_LABEL, IDC_DMO_INPUT_HIGH_1_LABEL, IDC_DMO_INPUT_LOW_2_LABEL, IDC_DMO_INPUT_HIGH_2_LABEL,
};

const OutputRow TQSRO_OUTPUT_1 = {IDC_TQSRO_OUTPUT_1_GROUP, IDC_TQSRO_CURRENT_1, IDC_TQSRO_VOLTAGE_1,
                                  IDC_TQSRO_OUTPUT_LOW_1, IDC_TQSRO_OUTPUT_HIGH_1, IDC_TQSRO_INITIAL_1,
                                  IDC_TQSRO_OUTPUT_LOW_1_LABEL, IDC_TQSRO_OUTPUT_HIGH_1_LABEL, IDC_TQSRO_INITIAL_1_LABEL};
const OutputRow TQSRO_OUTPUT_2 = {IDC_TQSRO_OUTPUT_2_GROUP, IDC_TQSRO_CURRENT_2, IDC_TQSRO_VOLTAGE_2,
                                  IDC_TQSRO_OUTPUT_LOW_2, IDC_TQSRO_OUTPUT_HIGH_2, IDC_TQSRO_INITIAL_2,
                                  IDC_TQSRO_OUTPUT_LOW_2_LABEL, IDC_TQSRO_OUTPUT_HIGH_2_LABEL, IDC_TQSRO_INITIAL_2_LABEL};
const OutputRow TYSO_OUTPUT_1 = {IDC_TYSO_OUTPUT_1_GROUP, IDC_TYSO_CURRENT_1, IDC_TYSO_VOLTAGE_1,
                                 IDC_TYSO_OUTPUT_LOW_1, IDC_TYSO_OUTPUT_HIGH_1, IDC_TYSO_INITIAL_1,
                                 IDC_TYSO_OUTPUT_LOW_1_LABEL, IDC_TYSO_OUTPUT_HIGH_1_LABEL, IDC_TYSO_INITIAL_1_LABEL};
const OutputRow LO2_OUTPUT_1 = {IDC_LO2_OUTPUT_1_GROUP, IDC_LO2_CURRENT_1, IDC_LO2_VOLTAGE_1,
                                IDC_LO2_OUTPUT_LOW_1, IDC_LO2_OUTPUT_HIGH_1, IDC_LO2_INITIAL_1,
                                IDC_LO2_OUTPUT_LOW_1_LABEL, IDC_LO2_OUTPUT_HIGH_1_LABEL, IDC_LO2_INITIAL_1_LABEL};
const OutputRow LO2_OUTPUT_2 = {IDC_LO2_OUTPUT_2_GROUP, IDC_LO2_CURRENT_2, IDC_LO2_VOLTAGE_2,
                                IDC_LO2_OUTPUT_LOW_2, IDC_LO2_OUTPUT_HIGH_2, IDC_LO2_INITIAL_2,
                                IDC_LO2_OUTPUT_LOW_2_LABEL, IDC_LO2_OUTPUT_HIGH_2_LABEL, IDC_LO2_INITIAL_2_LABEL};
const OutputRow GQU2_OUTPUT_1 = {IDC_GQU2_OUTPUT_1_GROUP, IDC_GQU2_CURRENT_1, IDC_GQU2_VOLTAGE_1,
                                 IDC_GQU2_OUTPUT_LOW_1, IDC_GQU2_OUTPUT_HIGH_1, IDC_GQU2_INITIAL_1,
                                 IDC_GQU2_OUTPUT_LOW_1_LABEL, IDC_GQU2_OUTPUT_HIGH_1_LABEL, IDC_GQU2_INITIAL_1_LABEL};
const OutputRow GQU2_OUTPUT_2 = {IDC_GQU2_OUTPUT_2_GROUP, IDC_GQU2_CURRENT_2, IDC_GQU2_VOLTAGE_2,
                                 IDC_GQU2_OUTPUT_LOW_2, IDC_GQU2_OUTPUT_HIGH_2, IDC_GQU2_INITIAL_2,
                                 IDC_GQU2_OUTPUT_LOW_2_LABEL, IDC_GQU2_OUTPUT_HIGH_2_LABEL, IDC_GQU2_INITIAL_2_LABEL};

AoutCase TqsroCase()
{
    AoutCase m = {"TQSRO", "TQSRO", L"TQSRO", IDD_TQSRO, TQSRODlgProc, IDC_OFFLINE_TQSRO, IDC_TQSRO_READ,
                  IDC_TQSRO_WRITE, IDC_TQSRO_OPEN, IDC_TQSRO_SAVE, IDC_TQSRO_DEFAULT, IDC_TQSRO_CANCEL,
                  IDC_TQSRO_TEXT, "                ", "TQSRO Dolvan    "};
    m.fields = {
        {IDC_TQSRO_CONTRAST, 33, 92, "12", "30", 110, "30", "30", "46", "45"},
        {IDC_TQSRO_OFFSET_LIGHT, 76, (WORD)-123, "-123", "150", 150, "0", "0", "250", "200"},
        {IDC_TQSRO_INPUT_LOW_1, 52, 1234, "1234", "0", 0, "0", "0", "70000", "65535"},
        {IDC_TQSRO_INPUT_HIGH_1, 53, 40000, "40000", "65535", 65535, "500", "500", "-1", "0"},
        {IDC_TQSRO_INPUT_LOW_2, 54, 0, nullptr, nullptr, 0, "0", "0", nullptr, nullptr},
        {IDC_TQSRO_INPUT_HIGH_2, 55, 0, nullptr, nullptr, 0, "1", "1", nullptr, nullptr},
    };
    std::vector<FieldRow> outputs = OutputFieldRows(TQSRO_OUTPUT_1, &TQSRO_OUTPUT_2);
    m.fields.insert(m.fields.end(), outputs.begin(), outputs.end());
    m.outputs = {TQSRO_OUTPUT_1, TQSRO_OUTPUT_2};
    m.fixed = {{54, 0}, {55, 1}};
    m.labels = {
        {IDC_TQSRO_MEASURE_GROUP, L"Measure value, offset", L"Posuv měřené hodnoty"},
        {IDC_TQSRO_LIGHT_LABEL, L"Ambien light [lx]", L"Osvětlení [lx]"},
        {IDC_TQSRO_TRANSPARENCY_LABEL, L"Transparency correction", L"Korekce Transparence"},
        {IDC_TQSRO_LCD_GROUP, L"LCD Setting", L"Nastavení LCD"},
        {IDC_TQSRO_CONTRAST_LABEL, L"Contrast", L"Kontrast"},
        {IDC_TQSRO_TEXT_GROUP, L"Text string", L"Textové pole"},
        {IDC_TQSRO_OUTPUT_1_GROUP, L"Output 1", L"Výstup 1"},
        {IDC_TQSRO_OUTPUT_2_GROUP, L"Output 2", L"Výstup 2"},
        {IDC_TQSRO_VOLTAGE_1, L"Voltage", L"Napětí"},
        {IDC_TQSRO_CURRENT_2, L"Current", L"Proud"},
        {IDC_TQSRO_INPUT_LOW_1_LABEL, L"Input Lo [lx]", L"Vstup Lo [lx]"},
        {IDC_TQSRO_INPUT_HIGH_1_LABEL, L"Input Hi [lx]", L"Vstup Hi [lx]"},
        {IDC_TQSRO_INPUT_LOW_2_LABEL, L"Input Lo PIR", L"Vstup Lo PIR"},
        {IDC_TQSRO_INPUT_HIGH_2_LABEL, L"Input Hi PIR", L"Vstup Hi PIR"},
    };
    m.openingRange1[0] = L"Output Lo  [V]";
    m.openingRange1[1] = L"Output Hi  [V]";
    return m;
}

AoutCase TysoCase()
{
    AoutCase m = {"TYSO", "TYSO", L"TYSO", IDD_TYSO, TYSODlgProc, IDC_OFFLINE_TYSO, IDC_TYSO_READ, IDC_TYSO_WRITE,
                  IDC_TYSO_OPEN, IDC_TYSO_SAVE, IDC_TYSO_DEFAULT, IDC_TYSO_CANCEL, IDC_TYSO_TEXT, "Dolvan TYSO     ",
                  "TYSO Dolvan     "};
    m.fields = {
        {IDC_TYSO_CONTRAST, 33, 92, "12", "30", 110, "30", "30", "46", "45"},
        {IDC_TYSO_OFFSET_SPEED, 82, (WORD)-123, "-1.23", "0.55", 55, "0.00", "0.00", "25", "20.0"},
        {IDC_TYSO_INPUT_LOW_1, 52, 150, "1.50", "2.5", 250, "0.00", "0.00", "-0.1", "0.0"},
        {IDC_TYSO_INPUT_HIGH_1, 53, 1000, "10.00", "327.6", 32760, "10.00", "10.00", "650.0", "327.6"},
    };
    std::vector<FieldRow> outputs = OutputFieldRows(TYSO_OUTPUT_1, nullptr);
    m.fields.insert(m.fields.end(), outputs.begin(), outputs.end());
    m.outputs = {TYSO_OUTPUT_1};
    m.labels = {
        {IDC_TYSO_MEASURE_GROUP, L"Measure value, offset", L"Posuv měřené hodnoty"},
        {IDC_TYSO_SPEED_LABEL, L"Speed [m/s]", L"Rychlost [m/s]"},
        {IDC_TYSO_LCD_GROUP, L"LCD Setting", L"Nastavení LCD"},
        {IDC_TYSO_CONTRAST_LABEL, L"Contrast", L"Kontrast"},
        {IDC_TYSO_TEXT_GROUP, L"Text string", L"Textové pole"},
        {IDC_TYSO_OUTPUT_1_GROUP, L"Output 1", L"Výstup 1"},
        {IDC_TYSO_CURRENT_1, L"Current", L"Proud"},
        {IDC_TYSO_VOLTAGE_1, L"Voltage", L"Napětí"},
        {IDC_TYSO_INPUT_LOW_1_LABEL, L"Input Lo [m/s]", L"Vstup Lo [m/s]"},
        {IDC_TYSO_INPUT_HIGH_1_LABEL, L"Input Hi [m/s]", L"Vstup Hi [m/s]"},
    };
    return m;
}

AoutCase Lo2Case()
{
    AoutCase m = {"L-O2", "LO2", L"LO2", IDD_LO2, LO2DlgProc, IDC_OFFLINE_LO2, IDC_LO2_READ, IDC_LO2_WRITE,
                  IDC_LO2_OPEN, IDC_LO2_SAVE, IDC_LO2_DEFAULT, IDC_LO2_CANCEL, IDC_LO2_TEXT, "LO2 Dolvan s.r.o",
                  "LO2 Dolvan s.r.o"};
    m.fields = {
        {IDC_LO2_INPUT_LOW_1, 52, 5, "5", "1", 1, "10", "10", "0", "1"},
        {IDC_LO2_INPUT_HIGH_1, 53, 20000, "20000", "15000", 15000, "100", "100", "20001", "20000"},
        {IDC_LO2_INPUT_LOW_2, 54, 7, "7", "20000", 20000, "10", "10", "-5", "1"},
        {IDC_LO2_INPUT_HIGH_2, 55, 100, "100", "2", 2, "100", "100", "99999", "20000"},
    };
    std::vector<FieldRow> outputs = OutputFieldRows(LO2_OUTPUT_1, &LO2_OUTPUT_2);
    m.fields.insert(m.fields.end(), outputs.begin(), outputs.end());
    m.outputs = {LO2_OUTPUT_1, LO2_OUTPUT_2};
    m.labels = {
        {IDC_LO2_TEXT_GROUP, L"Text string", L"Textové pole"},
        {IDC_LO2_OUTPUT_1_GROUP, L"Output 1", L"Výstup 1"},
        {IDC_LO2_OUTPUT_2_GROUP, L"Output 2", L"Výstup 2"},
        {IDC_LO2_CURRENT_1, L"Current", L"Proud"},
        {IDC_LO2_VOLTAGE_2, L"Voltage", L"Napětí"},
        {IDC_LO2_INPUT_LOW_1_LABEL, L"Input Lo [Hz]", L"Vstup Lo [Hz]"},
        {IDC_LO2_INPUT_HIGH_1_LABEL, L"Input Hi [Hz]", L"Vstup Hi [Hz]"},
        {IDC_LO2_INPUT_LOW_2_LABEL, L"Input Lo [Hz]", L"Vstup Lo [Hz]"},
        {IDC_LO2_INPUT_HIGH_2_LABEL, L"Input Hi [Hz]", L"Vstup Hi [Hz]"},
    };
    return m;
}

AoutCase Gqu2Case()
{
    AoutCase m = {"GQU2", "GQU2", L"GQU2", IDD_GQU2, GQU2DlgProc, IDC_OFFLINE_GQU2, IDC_GQU2_READ, IDC_GQU2_WRITE,
                  IDC_GQU2_OPEN, IDC_GQU2_SAVE, IDC_GQU2_DEFAULT, IDC_GQU2_CANCEL, IDC_GQU2_TEXT, "G-QU2  Dolvan  ",
                  "G-QU2  Dolvan  "};
    m.fields = {
        {IDC_GQU2_ADDRESS, 48, 17, "17", "254", 254, "1", "1", "0", "1"},
        {IDC_GQU2_TIMEOUT, 50, 500, "500", "65535", 65535, "1000", "1000", "70000", "65535"},
        {IDC_GQU2_INPUT_LOW_1, 52, (WORD)-123, "-123", "-32768", 0x8000, "0", "0", "-40000", "-32768"},
        {IDC_GQU2_INPUT_HIGH_1, 53, 2000, "2000", "32767", 0x7FFF, "1000", "1000", "40000", "32767"},
        {IDC_GQU2_INPUT_LOW_2, 54, 5, "5", "-1", 0xFFFF, "0", "0", "-32769", "-32768"},
        {IDC_GQU2_INPUT_HIGH_2, 55, 7, "7", "0", 0, "1000", "1000", "32768", "32767"},
    };
    std::vector<FieldRow> outputs = OutputFieldRows(GQU2_OUTPUT_1, &GQU2_OUTPUT_2);
    m.fields.insert(m.fields.end(), outputs.begin(), outputs.end());
    m.outputs = {GQU2_OUTPUT_1, GQU2_OUTPUT_2};
    m.fixed = {{51, 2000}};
    m.savedLines = {{39, "0"}, {49, "4"}};
    m.labels = {
        {IDC_GQU2_TEXT_GROUP, L"Text string", L"Textové pole"},
        {IDC_GQU2_NETWORK_GROUP, L"Network setting", L"Síťové nastavení"},
        {IDC_GQU2_ADDRESS_LABEL, L"Address", L"Adresa"},
        {IDC_GQU2_BAUD_LABEL, L"Baud rate", L"Rychlost"},
        {IDC_GQU2_SAFETY_GROUP, L"Safety mode", L"Safety režim"},
        {IDC_GQU2_SAFETY_ACTIVE, L"Active", L"Ativovat"},
        {IDC_GQU2_TIMEOUT_LABEL, L"TimeOut [ms]", L"TimeOut [ms]"},
        {IDC_GQU2_OUTPUT_1_GROUP, L"Output 1", L"Výstup 1"},
        {IDC_GQU2_OUTPUT_2_GROUP, L"Output 2", L"Výstup 2"},
        {IDC_GQU2_CURRENT_2, L"Current", L"Proud"},
        {IDC_GQU2_VOLTAGE_1, L"Voltage", L"Napětí"},
        {IDC_GQU2_INPUT_LOW_1_LABEL, L"Input Lo", L"Vstup Lo"},
        {IDC_GQU2_INPUT_HIGH_1_LABEL, L"Input Hi", L"Vstup Hi"},
        {IDC_GQU2_INPUT_LOW_2_LABEL, L"Input Lo", L"Vstup Lo"},
        {IDC_GQU2_INPUT_HIGH_2_LABEL, L"Input Hi", L"Vstup Hi"},
    };
    return m;
}

std::vector<AoutCase> MakeCases()
{
    std::vector<AoutCase> cases;
    cases.push_back(TdoLikeCase("TDO", L"TDO", IDD_TDO, TDODlgProc, IDC_OFFLINE_TDO, "TDO Dolvan s.r.o", TDO_TEMPLATE));
    cases.push_back(TdoLikeCase("DMO", L"DMO", IDD_DMO, DMODlgProc, IDC_OFFLINE_DMO, "DMO Dolvan s.r.o", DMO_TEMPLATE));
    cases.push_back(TqsroCase());
    cases.push_back(TysoCase());
    cases.push_back(Lo2Case());
    cases.push_back(Gqu2Case());
    return cases;
}

const std::vector<AoutCase>& Cases()
{
    static const std::vector<AoutCase> cases = MakeCases();
    return cases;
}

const AoutCase& FindCase(const char* name)
{
    for (const AoutCase& m : Cases())
        if (strcmp(m.name, name) == 0) return m;
    return Cases()[0];
}

void PrintTo(const AoutCase& model, std::ostream* os)
{
    *os << model.name;
}

std::wstring ItemTextW(HWND dialog, int id)
{
    return GetText(GetDlgItem(dialog, id));
}

// A device of the model with every register distinguishable from what the dialog writes, the
// model's fields seeded in range and output 1 voltage (as 2), output 2 current.
int AddSeededDevice(const AoutCase& model)
{
    int id = SimAddDevice(model.name, "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = (WORD)(FILLER_BASE + r);
    const char* text = "Hello World 1234";
    for (int i = 0; i < 8; i++) device->registers[40 + i] = (WORD)((BYTE)text[2 * i] << 8 | (BYTE)text[2 * i + 1]);
    for (const FieldRow& row : model.fields)
        if (row.shown) device->registers[row.reg] = row.seed;
    device->registers[68] = KIND_1_SEED;
    if (model.outputs.size() > 1) device->registers[69] = KIND_2_SEED;
    device->jumperFitted = true;
    return id;
}

// Whether a progress window is up over the model dialog (which may use the same control id).
bool ProgressShown(HWND modelDialog, int textId)
{
    for (HWND window : FindTopWindows(ThisProcess(), L"#32770"))
        if (window != modelDialog && GetDlgItem(window, textId)) return true;
    return false;
}

bool WaitForRead(HWND dialog)
{
    return WaitUntil([&] { return !ProgressShown(dialog, IDC_READ_PROGRESS_TEXT); });
}

// The unit texts of an output's three labels, by kind; a model's own English range texts right
// after opening where it has them.
void ExpectUnitLabels(HWND dialog, const OutputRow& o, bool voltage, bool initialValueLabel,
                      const wchar_t* const* openingRange = nullptr)
{
    if (voltage && openingRange && openingRange[0]) {
        EXPECT_EQ(ItemTextW(dialog, o.lowLabel), EditionText(openingRange[0], L"Výstup Lo [V]"));
        EXPECT_EQ(ItemTextW(dialog, o.highLabel), EditionText(openingRange[1], L"Výstup Hi [V]"));
    } else if (voltage) {
        EXPECT_EQ(ItemTextW(dialog, o.lowLabel), EditionText(L"Output Lo [V]", L"Výstup Lo [V]"));
        EXPECT_EQ(ItemTextW(dialog, o.highLabel), EditionText(L"Output Hi [V]", L"Výstup Hi [V]"));
    } else {
        EXPECT_EQ(ItemTextW(dialog, o.lowLabel), EditionText(L"Output Lo [mA]", L"Výstup Lo [mA]"));
        EXPECT_EQ(ItemTextW(dialog, o.highLabel), EditionText(L"Output Hi [mA]", L"Výstup Hi [mA]"));
    }
    if (initialValueLabel) {
        EXPECT_EQ(ItemTextW(dialog, o.initialLabel), EditionText(L"Initial value", L"Inicializační hodnota"));
    } else if (voltage) {
        EXPECT_EQ(ItemTextW(dialog, o.initialLabel), EditionText(L"Safety val. [V]", L"Safety hod. [V]"));
    } else {
        EXPECT_EQ(ItemTextW(dialog, o.initialLabel), EditionText(L"Safety val. [mA]", L"Safety hod. [mA]"));
    }
    EXPECT_EQ(IsChecked(dialog, o.voltage), voltage);
    EXPECT_EQ(IsChecked(dialog, o.current), !voltage);
}

const FieldRow* FindRow(const AoutCase& m, int reg)
{
    for (const FieldRow& row : m.fields)
        if (row.reg == reg) return &row;
    return nullptr;
}

// What a Write after typing every row's entry leaves in register r.
WORD ExpectedAfterWrite(const AoutCase& m, int r)
{
    for (const auto& fixed : m.fixed)
        if (fixed.first == r) return fixed.second;
    const FieldRow* row = FindRow(m, r);
    if (row && row->outOfRange) return row->written;
    if (row) return row->seed;
    if (r == 68) return 1;
    if (r == 69 && m.outputs.size() > 1) return 0;
    if (r == 40) return 'A' << 8 | 'B';
    if (r == 41) return 'C' << 8 | 'D';
    if (r == 42) return 'E' << 8;
    if (r > 42 && r <= 47) return 0;
    return (WORD)(FILLER_BASE + r);
}

class AnalogOutputDialogs : public ::testing::TestWithParam<AoutCase> {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

std::string CaseName(const ::testing::TestParamInfo<AoutCase>& info)
{
    std::string name;
    for (const char* p = info.param.name; *p; p++)
        if (isalnum((unsigned char)*p)) name += *p;
    return name;
}

// Opens the model's dialog through CONFIG with its seeded device and waits for the read.
HWND OpenConnectedDialog(const AoutCase& m, int deviceId)
{
    if (!WaitUntil([] { return g_deviceConnected == 1; }, 10000)) return nullptr;
    PostClick(g_configButton);
    HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read, 10000);
    if (!dialog) return nullptr;
    if (!WaitWhileDeviceTalks(deviceId, [&] { return ItemText(dialog, m.text) == "Hello World 1234"; })) return nullptr;
    if (!WaitForRead(dialog)) return nullptr;
    return dialog;
}

}  // namespace

// CONFIG with a device: the read at opening, every register shown with its coding, the kinds
// (2 reads as voltage), the labels, then a Write that puts back exactly the registers the model
// owns: every other register, the network registers of a model without a port included, stays.
TEST_P(AnalogOutputDialogs, ConfigReadsShowsAndWritesBack)
{
    const AoutCase& m = GetParam();
    SCOPED_TRACE(m.name);
    int deviceId = AddSeededDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m, deviceId);
        ASSERT_NE(dialog, nullptr) << "nothing read";
        EXPECT_EQ(GetTextUtf8(dialog), m.designation);
        EXPECT_EQ(CountFeatureCommands(deviceId, CMD_READ_BLOCK, -1), 12);
        for (const FieldRow& row : m.fields) {
            EXPECT_EQ(ItemText(dialog, row.id), row.shown ? row.shown : row.atOpening) << "register " << row.reg;
        }
        ExpectUnitLabels(dialog, m.outputs[0], true, true, m.openingRange1);
        if (m.outputs.size() > 1) ExpectUnitLabels(dialog, m.outputs[1], false, true);
        std::wstring designation = m.button;
        EXPECT_EQ(ItemTextW(dialog, m.read), EditionText(L"Read ", L"Načíst ") + designation);
        EXPECT_EQ(ItemTextW(dialog, m.write), EditionText(L"Write ", L"Zapsat ") + designation);
        EXPECT_EQ(ItemTextW(dialog, m.open), EditionText(L"Setting Open", L"Otevřít Nastavení"));
        EXPECT_EQ(ItemTextW(dialog, m.save), EditionText(L"Setting Save", L"Uložit Nastavení"));
        EXPECT_EQ(ItemTextW(dialog, m.byDefault), EditionText(L"Default", L"Přednastavení"));
        EXPECT_EQ(ItemTextW(dialog, m.cancel), L"Cancel");
        for (const LabelRow& label : m.labels) {
            EXPECT_EQ(ItemTextW(dialog, label.id), EditionText(label.english, label.czech)) << "control " << label.id;
        }
        ExpectLabelsFit(dialog);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));

        for (const FieldRow& row : m.fields)
            if (row.outOfRange) TypeInto(dialog, row.id, row.typed);
        TypeInto(dialog, m.text, "ABCDE");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0, dialog)) << "no complete write";
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
            EXPECT_EQ(DeviceRegister(deviceId, r), ExpectedAfterWrite(m, r)) << "register " << r;
            EXPECT_EQ(DeviceRegister(deviceId, r, true), ExpectedAfterWrite(m, r)) << "EEPROM register " << r;
        }

        // A Read relabels each initial value with its kind's safety text.
        SetDeviceRegister(deviceId, 68, 0);
        Click(dialog, m.read);
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, m.outputs[0].current); }, 8000));
        EXPECT_TRUE(WaitForRead(dialog));
        ExpectUnitLabels(dialog, m.outputs[0], false, false);
        if (m.outputs.size() > 1) ExpectUnitLabels(dialog, m.outputs[1], false, false);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(g_mainWindow) != FALSE; })) << "main window not back";
    }, 40000);
}

// Off-line through the picker: Read and Write disabled, the opening defaults and labels, every
// field pulled back to its bound, a settings file saved byte for byte, Default, and the file
// loaded back with its kinds.
TEST_P(AnalogOutputDialogs, OfflineBoundsFileDefaultAndLoad)
{
    const AoutCase& m = GetParam();
    SCOPED_TRACE(m.name);
    std::string path = TempPath(std::to_string(m.templateId) + ".dlc");
    DeleteFileA(path.c_str());
    RunProgram([&] {
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         EditionText(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION, 10000);
        PostClick(g_configButton);
        HWND picker = WaitForDialogWithControl(ThisProcess(), m.pickerId);
        ASSERT_NE(picker, nullptr);
        Click(picker, m.pickerId);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.read)));
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.write)));
        EXPECT_EQ(ItemText(dialog, m.text), m.openingText);
        for (const FieldRow& row : m.fields) EXPECT_EQ(ItemText(dialog, row.id), row.atOpening) << "register " << row.reg;
        ExpectUnitLabels(dialog, m.outputs[0], true, true, m.openingRange1);
        if (m.outputs.size() > 1) ExpectUnitLabels(dialog, m.outputs[1], true, true);

        // Every bounded field out of range at once.
        RunOnUiThread([&] {
            for (const FieldRow& row : m.fields)
                if (row.outOfRange) SetDlgItemTextA(dialog, row.id, row.outOfRange);
        });
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(box.text, RANGE_TEXT);
        EXPECT_EQ(box.caption, RANGE_CAPTION);
        auto bounded = [&] {
            for (const FieldRow& row : m.fields)
                if (row.outOfRange && ItemText(dialog, row.id) != row.bound) return false;
            return true;
        };
        DismissMessageBoxes(dialog, bounded);
        for (const FieldRow& row : m.fields) {
            if (row.outOfRange) {
                EXPECT_EQ(ItemText(dialog, row.id), row.bound) << "register " << row.reg;
            }
        }

        // The last output current; the values as typed go into the file.
        const OutputRow& last = m.outputs.back();
        Click(dialog, last.current);
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, last.current); }));
        std::vector<std::pair<int, std::string>> lines = m.savedLines;
        for (const FieldRow& row : m.fields) {
            if (row.outOfRange) TypeInto(dialog, row.id, row.typed);
            lines.push_back({row.reg, row.outOfRange ? row.typed : row.atOpening});
        }
        lines.push_back({68, m.outputs.size() > 1 ? "1" : "0"});
        if (m.outputs.size() > 1) lines.push_back({69, "0"});
        TypeInto(dialog, m.text, "Room 12");
        Click(dialog, m.save);
        ChooseFile(dialog, path);
        const char text16[17] = "Room 12\0\0\0\0\0\0\0\0";
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), ExpectedSettingsFile(m.designation, lines, text16));

        Click(dialog, m.byDefault);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        for (const FieldRow& row : m.fields) EXPECT_EQ(ItemText(dialog, row.id), row.onDefault) << "register " << row.reg;
        for (const OutputRow& o : m.outputs) ExpectUnitLabels(dialog, o, true, false);

        Click(dialog, m.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == "Room 12"; }));
        for (const FieldRow& row : m.fields) {
            EXPECT_EQ(ItemText(dialog, row.id), row.outOfRange ? row.typed : row.atOpening) << "register " << row.reg;
        }
        for (size_t i = 0; i < m.outputs.size(); i++) ExpectUnitLabels(dialog, m.outputs[i], i + 1 < m.outputs.size(), false);
        Sleep(100);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 40000);
    DeleteFileA(path.c_str());
}

// A kind click relabels the output and changes no value; back on voltage, the next tick pulls
// output Lo, output Hi and the initial value down to 10.0, each with the range message. Nothing
// compares output Lo with output Hi.
TEST_P(AnalogOutputDialogs, KindClickRelabelsAndTheTickBounds)
{
    const AoutCase& m = GetParam();
    SCOPED_TRACE(m.name);
    const OutputRow& o = m.outputs[0];
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        TypeInto(dialog, o.high, "7.5");
        Click(dialog, o.current);
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, o.current); }));
        ExpectUnitLabels(dialog, o, false, false);
        if (m.outputs.size() > 1) ExpectUnitLabels(dialog, m.outputs[1], true, true);
        EXPECT_EQ(ItemText(dialog, o.high), "7.5");
        // Output Lo above output Hi is accepted as it is.
        TypeInto(dialog, o.low, "20.0");
        TypeInto(dialog, o.high, "15.0");
        TypeInto(dialog, o.initial, "12.3");
        Sleep(100);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess())) << "20.0 mA is in range";
        EXPECT_EQ(ItemText(dialog, o.low), "20.0");
        Click(dialog, o.voltage);
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        auto bounded = [&] {
            return ItemText(dialog, o.low) == "10.0" && ItemText(dialog, o.high) == "10.0" &&
                   ItemText(dialog, o.initial) == "10.0";
        };
        DismissMessageBoxes(dialog, bounded);
        EXPECT_TRUE(bounded());
        ExpectUnitLabels(dialog, o, true, false);
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

// Files the dialog refuses: unreadable (empty), of the wrong size, or of another model; the
// controls stay as they were.
TEST_P(AnalogOutputDialogs, RefusedFiles)
{
    const AoutCase& m = GetParam();
    SCOPED_TRACE(m.name);
    std::string empty = TempPath(std::string(m.name) + "_empty.dlc");
    std::string shortFile = TempPath(std::string(m.name) + "_short.dlc");
    std::string otherModel = TempPath(std::string(m.name) + "_other.dlc");
    WriteFileBytes(empty, "");
    const FieldRow& first = m.fields[0];
    std::string other = ExpectedSettingsFile(strcmp(m.name, "TDO") == 0 ? "DMO" : "TDO", {{first.reg, "9"}}, "");
    WriteFileBytes(shortFile, ExpectedSettingsFile(m.designation, {{first.reg, "9"}}, "").substr(0, 2607));
    WriteFileBytes(otherModel, other);
    std::wstring mismatch = EditionText((std::wstring(m.button) + L" device is not compatible with selected file.").c_str(),
                                        (L"Konfigurační soubor není určen pro zařízení " + std::wstring(m.button)).c_str());
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        const struct {
            const std::string* path;
            std::wstring text;
        } cases[] = {
            {&empty, EditionText(L"File read error", L"Chyba načteni souboru")},
            {&shortFile, EditionText(L"File is damaged", L"Soubor je poškozený")},
            {&otherModel, mismatch},
        };
        for (const auto& c : cases) {
            Click(dialog, m.open);
            ChooseFile(dialog, *c.path);
            ExpectMessageBox(ThisProcess(), c.text, EditionText(L"File Error", L"Chyba souboru"), MB_ICONERROR);
            EXPECT_EQ(ItemText(dialog, first.id), first.atOpening);
        }
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(empty.c_str());
    DeleteFileA(shortFile.c_str());
    DeleteFileA(otherModel.c_str());
}

INSTANTIATE_TEST_SUITE_P(Models, AnalogOutputDialogs, ::testing::ValuesIn(Cases()), CaseName);

// TDO on the wire: a kind clicked and Write posted before any tick sends the bounded value.
TEST(AnalogOutputWrite, KindClickThenWriteSendsBoundedValues)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const AoutCase& m = FindCase("TDO");
    const OutputRow& o = m.outputs[1];
    int deviceId = AddSeededDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ItemText(dialog, o.high), "20.0");
        RunOnUiThread([&] {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(o.voltage, BN_CLICKED), (LPARAM)GetDlgItem(dialog, o.voltage));
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(m.write, BN_CLICKED), (LPARAM)GetDlgItem(dialog, m.write));
        });
        DismissMessageBoxes(dialog, [&] {
            return ItemText(dialog, o.high) == "10.0" && ItemText(dialog, o.initial) == "10.0";
        });
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0, dialog));
        EXPECT_EQ(DeviceRegister(deviceId, 69, true), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 95, true), 100);
        EXPECT_EQ(DeviceRegister(deviceId, 9, true), 100);
        EXPECT_EQ(DeviceRegister(deviceId, 94, true), 40);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}

// TQSRO: a current output 1 keeps its mA texts at opening; the light offset is pulled back to
// 200 lx; the presence range shows 0 and 1 whatever the device or a file holds, and every Write
// stores 0 and 1; the transparency correction stays hidden at 1.000.
TEST(AnalogOutputTQSRO, PresenceRangeAndOpeningLabels)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const AoutCase& m = FindCase("TQSRO");
    int deviceId = AddSeededDevice(m);
    SetDeviceRegister(deviceId, 68, 0);
    SetDeviceRegister(deviceId, 54, 7);
    SetDeviceRegister(deviceId, 55, 9);
    SetDeviceRegister(deviceId, 76, 250);
    std::string path = TempPath("tqsro_pir.dlc");
    WriteFileBytes(path, ExpectedSettingsFile("TQSRO", {{33, "20"}, {54, "5"}, {55, "6"}, {68, "1"}}, ""));
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRO_OFFSET_LIGHT), "200");
        ExpectUnitLabels(dialog, m.outputs[0], false, true);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRO_INPUT_LOW_2), "0");
        EXPECT_EQ(ItemText(dialog, IDC_TQSRO_INPUT_HIGH_2), "1");
        EXPECT_FALSE(IsShown(GetDlgItem(dialog, IDC_TQSRO_TRANSPARENCY)));
        EXPECT_FALSE(IsShown(GetDlgItem(dialog, IDC_TQSRO_TRANSPARENCY_LABEL)));
        EXPECT_EQ(ItemText(dialog, IDC_TQSRO_TRANSPARENCY), "1.000");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0, dialog));
        EXPECT_EQ(DeviceRegister(deviceId, 54, true), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 55, true), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 76, true), 200);
        EXPECT_EQ(DeviceRegister(deviceId, 68, true), 0);

        Click(dialog, m.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_TQSRO_CONTRAST) == "20"; }));
        ExpectUnitLabels(dialog, m.outputs[0], true, false);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRO_INPUT_LOW_2), "0");
        EXPECT_EQ(ItemText(dialog, IDC_TQSRO_INPUT_HIGH_2), "1");
        SetDeviceRegister(deviceId, 54, 7);
        SetDeviceRegister(deviceId, 55, 9);
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 1, dialog));
        EXPECT_EQ(DeviceRegister(deviceId, 54, true), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 55, true), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 33, true), 100);
        EXPECT_EQ(DeviceRegister(deviceId, 68, true), 1);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
    DeleteFileA(path.c_str());
}

// TYSO: a speed offset of 25 m/s is pulled back to 20.0 and stored as 2000 hundredths; an input
// end beyond 327.6 m/s (the most a signed register holds in hundredths) never wraps.
TEST(AnalogOutputTYSO, HundredthsStayWithinTheirRegisters)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const AoutCase& m = FindCase("TYSO");
    int deviceId = AddSeededDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        TypeInto(dialog, IDC_TYSO_OFFSET_SPEED, "25");
        TypeInto(dialog, IDC_TYSO_INPUT_HIGH_1, "650.0");
        DismissMessageBoxes(dialog, [&] {
            return ItemText(dialog, IDC_TYSO_OFFSET_SPEED) == "20.0" && ItemText(dialog, IDC_TYSO_INPUT_HIGH_1) == "327.6";
        });
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0, dialog));
        EXPECT_EQ(DeviceRegister(deviceId, 82, true), 2000);
        EXPECT_EQ(DeviceRegister(deviceId, 53, true), 32760);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}

// GQU2 on the wire: the safety flag read whole (bit 2 checks the box and enables the time-out),
// one click clearing bit 2 alone, the time-out written while disabled, r49 with a parity byte
// kept as read until a baud is chosen (then the whole register), r51 always 2000, the default
// text packed into r40-r47, and the time-out label's template text.
TEST(AnalogOutputGQU2, SafetyModeBaudWordAndFixedParameter)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const AoutCase& m = FindCase("GQU2");
    int deviceId = AddSeededDevice(m);
    SetDeviceRegister(deviceId, 39, 5);
    SetDeviceRegister(deviceId, 49, 0x0104);
    SetDeviceRegister(deviceId, 51, 1234);
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(IsChecked(dialog, IDC_GQU2_SAFETY_ACTIVE));
        EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, IDC_GQU2_TIMEOUT)));
        EXPECT_EQ(ItemText(dialog, IDC_GQU2_BAUD), "19200Bd");
        EXPECT_EQ(ItemTextW(dialog, IDC_GQU2_TIMEOUT_LABEL), L"TimeOut [ms]");
        Click(dialog, IDC_GQU2_SAFETY_ACTIVE);
        EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(GetDlgItem(dialog, IDC_GQU2_TIMEOUT)); }));
        EXPECT_FALSE(IsChecked(dialog, IDC_GQU2_SAFETY_ACTIVE));
        TypeInto(dialog, IDC_GQU2_TIMEOUT, "123");
        Click(dialog, m.byDefault);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_GQU2_TIMEOUT) == "1000"; }));
        TypeInto(dialog, IDC_GQU2_TIMEOUT, "123");
        SetDeviceRegister(deviceId, 39, 5);
        Click(dialog, m.read);
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, IDC_GQU2_SAFETY_ACTIVE); }, 8000));
        EXPECT_TRUE(WaitForRead(dialog));
        Click(dialog, IDC_GQU2_SAFETY_ACTIVE);
        EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(GetDlgItem(dialog, IDC_GQU2_TIMEOUT)); }));
        TypeInto(dialog, IDC_GQU2_TIMEOUT, "123");
        TypeInto(dialog, m.text, "G-QU2  Dolvan  ");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0, dialog));
        EXPECT_EQ(DeviceRegister(deviceId, 39, true), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 49, true), 0x0104);
        EXPECT_EQ(DeviceRegister(deviceId, 50, true), 123);
        EXPECT_EQ(DeviceRegister(deviceId, 51, true), 2000);
        static const WORD TEXT_WORDS[8] = {0x472D, 0x5155, 0x3220, 0x2044, 0x6F6C, 0x7661, 0x6E20, 0x2000};
        for (int i = 0; i < 8; i++) EXPECT_EQ(DeviceRegister(deviceId, 40 + i, true), TEXT_WORDS[i]) << "register " << 40 + i;

        SelectEntry(dialog, IDC_GQU2_BAUD, 3);
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 1, dialog));
        EXPECT_EQ(DeviceRegister(deviceId, 49, true), 0x0003);
        EXPECT_EQ(ItemText(dialog, IDC_GQU2_BAUD), " 9600Bd");
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}

namespace {

struct Gqu2LineCase {
    const char* flagLine;  // line 039 as loaded
    bool active;
    const char* baudLine;  // line 049 as loaded
    const char* shownBaud;
    const char* savedFlag;
    const char* savedBaud;
};

}  // namespace

// GQU2 files: line 039 holds "4" for an active safety mode and loads as the whole flags word (only
// "4" sets it); line 049 holds the baud digit, anything else loads as 19200 Bd; line 051 stays
// empty.
TEST(AnalogOutputGQU2, FlagAndBaudLines)
{
    PrepareTestProcess();
    static const Gqu2LineCase CASES[] = {
        {"4", true, "3", " 9600Bd", "4", "3"},   {"0", false, "6", "57600Bd", "0", "6"},
        {"5", false, "0", " 1200Bd", "0", "0"},  {"", false, "", "19200Bd", "0", "4"},
        {"x", false, "9", "19200Bd", "0", "4"},  {"44", true, "x", "19200Bd", "4", "4"},
    };
    const AoutCase& m = FindCase("GQU2");
    std::string in = TempPath("gqu2_in.dlc");
    std::string out = TempPath("gqu2_out.dlc");
    for (const Gqu2LineCase& c : CASES) {
        SCOPED_TRACE(std::string("\"") + c.flagLine + "\" \"" + c.baudLine + "\"");
        WriteFileBytes(in, ExpectedSettingsFile("GQU2", {{48, "5"}, {39, c.flagLine}, {49, c.baudLine}, {51, "7"}}, ""));
        DeleteFileA(out.c_str());
        g_deviceConnected = 0;
        RunDialog(m.templateId, m.proc, [&](HWND dialog) {
            // A choice made before the load must not survive it.
            SelectEntry(dialog, IDC_GQU2_BAUD, 1);
            if (!c.active) Click(dialog, IDC_GQU2_SAFETY_ACTIVE);
            Click(dialog, m.open);
            ChooseFile(dialog, in);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_GQU2_ADDRESS) == "5"; }));
            EXPECT_EQ(IsChecked(dialog, IDC_GQU2_SAFETY_ACTIVE), c.active);
            EXPECT_EQ(IsEnabled(GetDlgItem(dialog, IDC_GQU2_TIMEOUT)), c.active);
            EXPECT_EQ(ItemText(dialog, IDC_GQU2_BAUD), c.shownBaud);
            Click(dialog, m.save);
            ChooseFile(dialog, out);
            EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(out).size() == 2608; }));
            std::string saved = ReadFileBytes(out);
            if (saved.size() == 2608) {
                EXPECT_EQ(saved.substr(32 + 16 * 39 + 8, 6), (c.savedFlag + std::string(6, ' ')).substr(0, 6));
                EXPECT_EQ(saved.substr(32 + 16 * 49 + 8, 6), (c.savedBaud + std::string(6, ' ')).substr(0, 6));
                EXPECT_EQ(saved.substr(32 + 16 * 51 + 8, 6), std::string(6, ' '));
            }
            Click(dialog, m.cancel);
        });
    }
    DeleteFileA(in.c_str());
    DeleteFileA(out.c_str());
}

// Files of the right size with damaged fields, loaded into a connected dialog and written: an
// empty or lettered kind line is voltage, letters in a tenths field write 0, out-of-range texts
// are bounded by the next tick, an emptied contrast writes the last value shown, and no register
// the model does not own changes.
TEST(AnalogOutputFiles, DamagedFieldsReachNoRegister)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const AoutCase& m = FindCase("TDO");
    int deviceId = AddSeededDevice(m);
    std::string path = TempPath("tdo_damaged.dlc");
    const char damagedText[17] = "\x01\xff\r\n\t\"%s%n ABCDE";
    WriteFileBytes(path, ExpectedSettingsFile("TDO", {{33, "zz"}, {52, "abc"}, {53, "9999"}, {68, ""}, {69, "x"},
                                                      {76, "%n%n"}, {93, "55"}, {9, "-"}}, damagedText));
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m, deviceId);
        ASSERT_NE(dialog, nullptr);
        Click(dialog, m.open);
        ChooseFile(dialog, path);
        DismissMessageBoxes(dialog, [&] {
            return ItemText(dialog, IDC_TDO_INPUT_HIGH_1) == "200.0" && ItemText(dialog, IDC_TDO_OUTPUT_HIGH_1) == "10.0";
        });
        EXPECT_TRUE(IsChecked(dialog, IDC_TDO_VOLTAGE_1));
        EXPECT_TRUE(IsChecked(dialog, IDC_TDO_VOLTAGE_2));
        EXPECT_EQ(ItemText(dialog, IDC_TDO_CONTRAST), "zz");
        EXPECT_EQ(ItemText(dialog, IDC_TDO_INPUT_LOW_1), "abc");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0, dialog));
        EXPECT_EQ(DeviceRegister(deviceId, 33, true), 92);
        EXPECT_EQ(DeviceRegister(deviceId, 52, true), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 53, true), 2000);
        EXPECT_EQ(DeviceRegister(deviceId, 68, true), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 69, true), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 76, true), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 93, true), 100);
        EXPECT_EQ(DeviceRegister(deviceId, 9, true), 0);
        for (int r : {48, 49, 50, 51, 56, 70, 78, 82, 96})
            EXPECT_EQ(DeviceRegister(deviceId, r, true), FILLER_BASE + r) << "register " << r;
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
    DeleteFileA(path.c_str());
}
