// Model dialog skeleton: the binding tables a sensor or transmitter dialog declares, and the one
// procedure that opens, ticks, reads, writes, loads, saves, defaults and closes any of them.
#ifndef ZENTIL_DEVICES_SENSORS_MODEL_DIALOG_H
#define ZENTIL_DEVICES_SENSORS_MODEL_DIALOG_H

#include <windows.h>

#include "kit/digital_output.h"
#include "kit/state_combos.h"
#include "devices/sensors/analog_outputs.h"

// Shared register core.
const int REG_LCD_SETTING = 33;
const int REG_TEXT_STRING = 40;
const int TEXT_STRING_REGISTERS = 8;
const int TEXT_STRING_CHARS = 16;
const int REG_NETWORK_ADDRESS = 48;
const int REG_BAUD_PARITY = 49;
const int REG_OFFSET_1 = 76;
const int REG_OFFSET_2 = 77;
const WORD CONTRAST_BIAS = 80;
const WORD CONTRAST_WORD_NO_LCD = 110;
const WORD DEFAULT_BAUD_PARITY = 4;  // 19200 Bd, no parity
const int BAUD_RATE_COUNT = 7;
const int PARITY_COUNT = 3;
const int MAX_MODEL_FIELDS = 24;
const int END_OF_LIST = -1;
const int NO_REGISTER = -2;  // a field the dialog keeps for itself, in no register and no file line

// How an edit field's text maps to its register.
enum FieldCoding {
    CODING_UNSIGNED = 0,    // "%d" text, unsigned word (plus the field's bias in the register)
    CODING_SIGNED = 1,      // "%d" text, signed word
    CODING_TENTHS = 2,      // FormatTenths / ParseTenths
    CODING_HUNDREDTHS = 3,  // FormatHundredths / ParseHundredths
};

// Which kit check keeps the field within its bounds on every tick.
enum FieldCheck {
    CHECK_UNSIGNED = 0,
    CHECK_SIGNED = 1,
    CHECK_TENTHS = 2,
    CHECK_THOUSANDTHS = 3,  // bounds in thousandths, text with three decimals
};

// What Write does with register 33.
enum ContrastWordRule {
    CONTRAST_FROM_FIELD = 0,  // a field binds it (with CONTRAST_BIAS)
    CONTRAST_UNTOUCHED = 1,   // left as read
    CONTRAST_NO_LCD = 2,      // CONTRAST_WORD_NO_LCD on every Write
};

// How the baud and parity combo boxes show a value and how the file's register-49 field loads.
enum NetworkStyle {
    NETWORK_SELECT_ENTRY = 0,  // CB_SETCURSEL by index; file field of 1, 4 or 5-6 characters
    NETWORK_ENTRY_TEXT = 1,    // entry text into the edit part; file field "0p0b" or "b"
};

// One bounded edit field.
struct ModelField {
    int controlId;
    int registerIndex;
    BYTE coding;
    BYTE check;
    int low;
    int high;
    WORD bias;                // added on the way into the register, taken off on the way out
    const char* defaultText;  // at opening and on Default
    BYTE openingOnly;         // 1: Default leaves the field's text as it is
    BYTE defaultOnly;         // 1: opening leaves the field's text as it is
    BYTE readOnly;            // 1: shown and saved as its default; Read, Open and Write pass it by
};

// A model's own drop-down list whose index is a register (the input signal of T1CGA).
struct ModelChoice {
    int controlId;
    int registerIndex;
    const UINT* entryTextIds;
    int entryCount;
    int defaultIndex;
};

// A check box that shows one bit of a flags register; the fields it names are enabled only while
// the bit is set. The dialog keeps the whole word, so the other bits go back to the device as read.
struct ModelFlag {
    int controlId;
    int registerIndex;
    WORD bit;
    const int* enabledIds;  // END_OF_LIST-terminated
    BYTE fileHoldsValue;    // its file line: 0 "1" or "0", the bit alone; 1 the bit's value ("4") or "0"
};

// A register Write always stores with the same value, whatever was read or loaded.
struct FixedRegister {
    int registerIndex;  // END_OF_LIST ends a list
    WORD value;
};

// Controls that only newer firmware serves: the gate value is 10 x E + F of the firmware version
// "AB.CD.EF" (its last two-digit group). Below the threshold the ids are hidden at opening and the
// device is read at once or not at all; at or above it nothing is hidden or read until Read.
struct ModelFirmwareGate {
    int threshold;
    const int* hiddenIds;  // END_OF_LIST-terminated
    BYTE readsBelow;       // 1: the automatic read runs below the threshold
};

// Two fields of the table whose high value must exceed the low one; the high value yields. Signed
// fields are compared as signed words, the others as unsigned words.
struct ModelOrderedPair {
    int lowId;
    int highId;
    UINT messageId;  // the information message shown with a correction
    UINT captionId;
};

// A button that sends its value field to the device at once with the calibration write. The value
// field is a field of the table in no register and outside the tick order.
struct ModelCalibration {
    int buttonId;
    int valueId;
};

// The dialog's own copy of a state sequence; it lives for the whole run.
struct ModelStateValues {
    WORD connection;                  // 0 or 1
    SHORT count;                      // the number of states, as EnableStateCombos reads it
    WORD patterns[STATES_PER_MODE];   // the entry of each state's combo
};

// A switch that steps through up to 16 states: two radios connect it (register written 0 or 1),
// a combo of " 0" .. "16" gives the number of states, and one combo per state picks a pattern.
struct ModelStateSequence {
    ModelStateValues* values;
    int noId, yesId;
    int connectionRegister;
    int countLabelId;  // takes the focus after a pattern is picked
    int countId;
    int countRegister;
    const int* patternIds;  // STATES_PER_MODE combos, state 1 first
    int firstPatternRegister;
    const UINT* patternTextIds;
    int patternCount;
};

// A field whose upper bound is another field's value minus one; it is not checked while the
// other field has the keyboard focus (its value is still being typed).
struct ModelBoundBelow {
    int controlId;
    int limitId;
};

// A control and the edition text written into it at opening.
struct ControlLabel {
    int controlId;
    UINT textId;
};

// The dialog's own values; they live for the whole run, one record per model.
struct ModelValues {
    WORD fields[MAX_MODEL_FIELDS];  // as shown (the contrast without its bias)
    WORD baudParity;                // low byte baud index, high byte parity
    WORD choice;
    WORD flags;                     // the whole word of the model's flags register
    WORD outputKinds[MAX_ANALOG_OUTPUTS];
};

// Everything a network-transmitter style dialog is made of.
struct ModelDialog {
    const char* designation;     // settings-file header and letter check ("G-QKE1", "T1cGA")
    ModelValues* values;
    const ModelField* fields;    // fieldCount entries
    int fieldCount;
    const int* tickOrder;        // control ids, END_OF_LIST-terminated; a field left out has no tick check
    const int* fileOrder;        // registers of Open and Save, END_OF_LIST-terminated
    const ModelChoice* choice;   // null when the model has none
    BYTE contrastRule;
    BYTE networkStyle;
    BYTE readsAtOpening;
    int textId;
    const char* openingText;     // may be longer than 16 characters: only 16 are kept
    const char* defaultText;
    int baudId;                  // 0: no network port (no address or baud; registers 48 and 49 untouched)
    int parityId;                // 0: no parity combo box
    const UINT* parityTextIds;   // PARITY_COUNT texts
    int readId, writeId, openId, saveId, defaultId, cancelId;
    UINT readTextId, writeTextId;  // "Read TDG", "Write TDG"
    UINT mismatchTextId;           // "TDG device is not compatible with selected file."
    const ControlLabel* labels;    // groups and static texts, {0, 0}-terminated
    const ModelFlag* flag;         // null when the model has none
    const int* hiddenIds;          // controls hidden at every opening, END_OF_LIST-terminated; may be null
    const int* offlineDisabledIds;         // disabled off-line besides Read and Write; may be null
    const ModelFirmwareGate* gate;         // null: readsAtOpening alone decides the read at opening
    const ModelOrderedPair* orderedPair;   // null when the model has none
    UINT wrongSizeTextId;                  // message for a file of the wrong size; 0: "File is damaged"
    const ModelCalibration* calibration;   // null when the model has none
    const DigitalOutput* digitalOutput;  // r50 and r51 through the digital-output rule; null when none
    const ModelStateSequence* states;    // null when the model has none
    const ModelBoundBelow* boundBelow;   // null when no field's bound follows another field
    const AnalogOutput* outputs;   // outputCount analog output groups; null when the model has none
    int outputCount;
    const FixedRegister* fixedRegisters;  // stored on every Write; may be null
    BYTE baudOwnsRegister;         // 1: the baud index is the whole register 49 (no parity byte)
    UINT tickMs;                   // the tick's period; 0: DIALOG_TICK_MS
    BYTE selectsDefaultBaud;       // 1: opening and Default select the baud and parity entries of 19200 Bd,
                                   // no parity, rather than writing their texts
};

// The shared core's fields, as most models bind them.
constexpr ModelField ContrastField(int controlId)
{
    return {controlId, REG_LCD_SETTING, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 45, CONTRAST_BIAS, "30"};
}
constexpr ModelField AddressField(int controlId)
{
    return {controlId, REG_NETWORK_ADDRESS, CODING_UNSIGNED, CHECK_UNSIGNED, 1, 254, 0, "1"};
}
constexpr ModelField OffsetField(int controlId, int registerIndex)
{
    return {controlId, registerIndex, CODING_TENTHS, CHECK_TENTHS, -200, 200, 0, "0.0"};
}

// Output Lo, output Hi or initial value of an analog output: tenths from 0 up to the bound of the
// output's kind (the table's high bound is the voltage one; the tick takes the kind's).
constexpr ModelField OutputField(int controlId, int registerIndex, const char* defaultText)
{
    return {controlId, registerIndex, CODING_TENTHS, CHECK_TENTHS, 0, OUTPUT_VOLTAGE_MAX_TENTHS, 0, defaultText};
}

extern const UINT PARITY_TEXT_IDS[PARITY_COUNT];

// Asked of a model's dialog procedure with no window (hwnd null): put the model's factory settings,
// the values its Default shows, into the register image at lParam (184 words). The program itself
// never sends it; the demo device starts from it. A procedure that knows it answers 1.
const UINT WM_MODEL_FACTORY_SETTINGS = WM_APP + 0x4D;

// Pieces of the skeleton that the LCD dialogs share.
extern const UINT BAUD_RATE_TEXT_IDS[BAUD_RATE_COUNT];
int SettingsLineOffset(int registerIndex);
void FillTextCombo(HWND dialog, int controlId, const UINT* textIds, int count);
void WriteControlLabels(HWND dialog, const ControlLabel* labels);
void ShowRegisterTextString(HWND dialog, int controlId);
void TakeRegisterTextString(HWND dialog, int controlId);
void LoadFileTextString(HWND dialog, int controlId);
void SaveFileTextString(HWND dialog, int controlId);
WORD ParseBaudParityField(const char* field, int hasParity, int networkStyle);
// A field's value shown with its coding, and its text read back ("%d" without a number: `previous`).
void ShowFieldValue(HWND dialog, const ModelField* field, WORD value);
WORD ParseFieldText(const ModelField* field, char* text, WORD previous);
// wrongSizeTextId 0: the usual "File is damaged".
int ReadModelSettingsFile(HWND dialog, const char* designation, UINT mismatchTextId, UINT wrongSizeTextId);
void WriteModelSettingsFile(HWND dialog);

INT_PTR RunModelDialogMessage(const ModelDialog* model, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void CloseModelDialog(HWND dialog);

#endif
