// Analog-output room controller engine: the descriptor an analog-output room controller dialog
// declares, and the one procedure that opens, ticks, reads, writes, loads, saves, defaults, draws
// and closes any of them.
#ifndef ZENTIL_DEVICES_CONTROLLERS_AOUT_CONTROLLER_H
#define ZENTIL_DEVICES_CONTROLLERS_AOUT_CONTROLLER_H

#include <windows.h>

#include "devices/lcd_units/lcd_dialog.h"
#include "devices/lcd_units/unit_bitmaps.h"
#include "devices/sensors/analog_outputs.h"
#include "devices/sensors/model_dialog.h"

const int AOUT_END = -1;
const int REG_AOUT_BACKLIGHT_DAY = 34;
const int REG_AOUT_ACTIVE_TIME = 35;
const int REG_AOUT_COLORS = 36;
const int REG_AOUT_COLORS_COPY = 37;  // a settings-file line only: the colour word again
const int REG_AOUT_BACKLIGHT_NIGHT = 38;
const int REG_AOUT_FLAGS = 39;
const int REG_AOUT_BACKLIGHT_SWITCH_LOW = 56;
const int REG_AOUT_BACKLIGHT_SWITCH_HIGH = 57;
const int REG_AOUT_INDICATION_LOW = 64;
const int REG_AOUT_INDICATION_HIGH = 65;
const int REG_AOUT_OFFSET_CO2 = 81;
const int REG_AOUT_REQUESTED_TEMPERATURE = 15;
const int REG_AOUT_TEMPERATURE_LOW = 66;
const int REG_AOUT_TEMPERATURE_HIGH = 67;
const int REG_AOUT_BARGRAPH = 75;
const int AOUT_ACTIVE_TIME_ENTRIES = 12;
const WORD AOUT_ACTIVE_TIME_STEP = 5;

// A register word the dialog keeps beside its fields, with its value at opening and on Default.
struct AoutWord {
    int registerIndex;  // AOUT_END ends a list
    WORD value;
    BYTE keptAtOpening;  // 1: only Default (and Read, Open, the controls) set it
};

// Output 1's input choice. When a dialog has one, r68 is byte-coded: the low byte the signal
// (0 current), the high byte the input (0 temperature, 1 humidity); the input fields are
// bounded by the input.
struct AoutInput {
    int temperatureId, humidityId;
    int lowId, highId;
    int lowLabelId, highLabelId;
};

// A field whose text is copied into another at the end of every tick.
struct AoutMirror {
    int fromId;  // 0 ends a list
    int toId;
};

// The bargraph combo box: the kind in bits 0-1 of its word, the kind's name beside it.
struct AoutBargraph {
    int comboId;
    int registerIndex;
    int nameId;  // shows the kind's name and takes the focus
};

// How a register's settings-file line is written and read back.
enum AoutFileForm {
    AOUT_FILE_FIELD_TEXT = 0,  // the edit field's text as it stands
    AOUT_FILE_ACTIVE_TIME,     // the active-time combo's text; read back by its first characters
    AOUT_FILE_FIVE_DIGITS,     // the word, five digits with leading zeros, read back with "%d"
    AOUT_FILE_COLOR_COPY,      // the colour word again, never read
    AOUT_FILE_NUMBER,          // the word in decimal (one digit for a flag), read back with "%d"
    AOUT_FILE_CARRIED_NUMBER,  // written as AOUT_FILE_NUMBER, never read
    AOUT_FILE_KIND,            // an output kind: one character, or two for a byte-coded r68
    AOUT_FILE_TEXT_STRING,     // lines 40-47, two characters each
};

struct AoutFileLine {
    int registerIndex;  // AOUT_END ends a list
    BYTE form;
};

// The dialog's own values, state of its model's source file for the whole run.
struct AoutValues {
    WORD words[DEVICE_REGISTER_COUNT];  // one per register it owns (a field's is its last value)
    WORD calibration;
    UnitBitmapTable bitmaps;
};

// Everything an analog-output room controller dialog is made of.
struct AoutController {
    const char* designation;  // settings-file header; the letters Open compares
    AoutValues* values;
    const ModelField* fields;
    int fieldCount;
    const int* tickOrder;  // control ids, AOUT_END-terminated
    const AoutWord* words;  // AOUT_END-terminated
    int textId;
    const char* defaultText;  // the opening text is 16 blanks
    const AnalogOutput* outputs;  // two
    const AoutInput* input;       // null: r68 is a whole word, 0 current, any other value voltage
    const LcdActiveTime* activeTime;  // null: no LCD group
    const LcdColor* colors;           // {0}-terminated; may be null
    int colorFocusId;
    int menuId;                       // the menu check box (r39, toggled in bit 0); 0: none
    const AoutBargraph* bargraph;     // null when none
    const AoutMirror* mirrors;        // {0}-terminated; may be null
    const AoutFileLine* fileLines;    // AOUT_END-terminated
    const int* hiddenIds;             // AOUT_END-terminated
    int calibrationFieldId;           // 0: none
    int calibrationButtonId;
    int firstCommandId, lastCommandId;
    int readId, writeId, openId, saveId, defaultId, cancelId;
    UINT readTextId, writeTextId, mismatchTextId;
    const ControlLabel* labels;  // {0, 0}-terminated, written at opening
};

// Field records of the tables.
constexpr ModelField AoutTenthsField(int controlId, int registerIndex, int low, int high, const char* defaultText)
{
    return {controlId, registerIndex, CODING_TENTHS, CHECK_TENTHS, low, high, 0, defaultText};
}
constexpr ModelField AoutUnsignedField(int controlId, int registerIndex, int low, int high, const char* defaultText)
{
    return {controlId, registerIndex, CODING_UNSIGNED, CHECK_UNSIGNED, low, high, 0, defaultText};
}
// A whole number shown signed and kept within unsigned bounds (a negative entry takes the low one).
constexpr ModelField AoutCountField(int controlId, int registerIndex, int high, const char* defaultText)
{
    return {controlId, registerIndex, CODING_SIGNED, CHECK_UNSIGNED, 0, high, 0, defaultText};
}
// A signed whole number; with no tick check when its id is left out of the tick order.
constexpr ModelField AoutSignedField(int controlId, int registerIndex, int low, int high, const char* defaultText)
{
    return {controlId, registerIndex, CODING_SIGNED, CHECK_SIGNED, low, high, 0, defaultText};
}
constexpr ModelField AoutBacklightField(int controlId, int registerIndex, const char* defaultText)
{
    return AoutUnsignedField(controlId, registerIndex, 0, 100, defaultText);
}
// Output 1's input range: its bounds follow the input the dialog's r68 names, or are the
// temperature's when output 1 always follows the temperature.
constexpr ModelField AoutInputField(int controlId, int registerIndex, const char* defaultText)
{
    return AoutTenthsField(controlId, registerIndex, -500, 2000, defaultText);
}

// The texts of the active-time list, "5s" to "60s".
extern const UINT AOUT_ACTIVE_TIME_TEXT_IDS[AOUT_ACTIVE_TIME_ENTRIES];
// The bargraph kinds' names, by BargraphKind.
extern const UINT AOUT_BARGRAPH_KIND_TEXT_IDS[BARGRAPH_BITMAP_COUNT];

INT_PTR RunAoutControllerMessage(const AoutController* unit, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
