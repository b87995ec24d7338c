// Analog output groups: an output's kind (current or voltage), the two radios that choose it, the
// unit labels that follow it and the upper bound of its output Lo, output Hi and initial value.
#ifndef ZENTIL_DEVICES_SENSORS_ANALOG_OUTPUTS_H
#define ZENTIL_DEVICES_SENSORS_ANALOG_OUTPUTS_H

#include <windows.h>

// OutputKind, one register per output: 0 current (0..20.0 mA); any other value reads as voltage
// (0..10.0 V), and the dialogs always write 1.
const WORD OUTPUT_KIND_CURRENT = 0;
const WORD OUTPUT_KIND_VOLTAGE = 1;
const int OUTPUT_VOLTAGE_MAX_TENTHS = 100;
const int OUTPUT_CURRENT_MAX_TENTHS = 200;
const int MAX_ANALOG_OUTPUTS = 2;

// Registers of the analog-output models: initial values, input ranges, kinds, output ranges.
const int REG_INITIAL_VALUE_1 = 8;
const int REG_INITIAL_VALUE_2 = 9;
const int REG_INPUT_LOW_1 = 52;
const int REG_INPUT_HIGH_1 = 53;
const int REG_INPUT_LOW_2 = 54;
const int REG_INPUT_HIGH_2 = 55;
const int REG_OUTPUT_KIND_1 = 68;
const int REG_OUTPUT_KIND_2 = 69;
const int REG_OUTPUT_LOW_1 = 92;
const int REG_OUTPUT_HIGH_1 = 93;
const int REG_OUTPUT_LOW_2 = 94;
const int REG_OUTPUT_HIGH_2 = 95;

// One output of a dialog: its radios, kind register, three bounded fields and their labels.
struct AnalogOutput {
    int currentId, voltageId;
    int kindRegister;
    int lowId, highId, initialId;
    int lowLabelId, highLabelId, initialLabelId;
    UINT openingLowTextId, openingHighTextId;  // 0: the unit texts; else written at opening while voltage
};

WORD OutputKindOfWord(WORD word);
WORD OutputKindOfFileField(const char* field);
const char* OutputKindFileText(WORD kind);
int OutputHighBound(WORD kind);
int IsOutputField(const AnalogOutput* output, int controlId);
void ShowOutputKind(HWND dialog, const AnalogOutput* output, WORD kind);
void WriteOpeningOutputLabels(HWND dialog, const AnalogOutput* output, WORD kind);

#endif
