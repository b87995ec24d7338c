// LCD dialog engine: the descriptor an LCD room unit or room controller dialog declares, and the
// one procedure that opens, ticks, reads, writes, loads, saves, defaults, draws and closes any of them.
#ifndef ZENTIL_DEVICES_LCD_UNITS_LCD_DIALOG_H
#define ZENTIL_DEVICES_LCD_UNITS_LCD_DIALOG_H

#include <windows.h>

#include "devices/lcd_units/unit_bitmaps.h"
#include "devices/sensors/model_dialog.h"
#include "kit/digital_output.h"
#include "kit/state_combos.h"
#include "link/transfer_engines.h"

const int LCD_END = -1;
const int MAX_LCD_MODES = 4;
const int QUICK_ACCESS_BUTTONS = 2;
const WORD BARGRAPH_KIND_MASK = 0x0003;
const WORD BARGRAPH_SHOW_REQUESTED = 0x0400;
const WORD COLOR_NIBBLE_MASK = 0x000F;

// An edit field: the skeleton's field record, and whether the tick leaves it unchecked.
struct LcdField {
    ModelField field;
    BYTE unchecked;
};

// A register word the dialog keeps beside its fields, with its value at opening and on Default.
struct LcdWord {
    int registerIndex;
    WORD value;
};

// The LCD active-time list: entry i is (i + 1) x step seconds.
struct LcdActiveTime {
    int controlId;
    int registerIndex;
    const UINT* entryTextIds;
    int entryCount;
    WORD step;
};

// The quick-access buttons: entry i of either list stands for code entryCodes[i]; an entry that
// names a mode (entryModes[i] >= 0) falls back to entry 0 while that mode has no states.
struct LcdQuickAccess {
    int controlIds[QUICK_ACCESS_BUTTONS];
    int registers[QUICK_ACCESS_BUTTONS];
    const UINT* entryTextIds;
    const WORD* entryCodes;
    const int* entryModes;
    int entryCount;
    const UINT* emptyModeTextIds;  // per mode
    WORD shownOnlyCode;            // a code of no entry whose text is still shown (0: none)
    UINT shownOnlyTextId;
};

// A check box of the menu flags: one bit of its word, or the whole word (mask 0: 1 or 0).
// With `showsWholeWord` the box is checked while any bit of the word is set, and a click inverts
// the mask's bits only.
struct LcdFlag {
    int controlId;
    int registerIndex;
    WORD mask;
    BYTE showsWholeWord;
};

// A colour combo box: the nibble at `shift` of its colour word.
struct LcdColor {
    int controlId;
    int registerIndex;
    BYTE shift;
};

// A bargraph: kind combo, radio pair (corrected / requested value), kind text beside it and the
// label that takes the focus. Its opening label is written only while the word holds that kind.
struct LcdBargraph {
    int comboId;
    int registerIndex;
    int correctionId;
    int requestedId;
    int kindTextId;
    int labelId;
    WORD openingKind;
    UINT openingKindTextId;
};

// A mode: its LCD position, its number of states and its 16 pictogram state combo boxes.
struct LcdMode {
    int connectionId;
    int connectionRegister;
    int statesId;
    int statesRegister;
    int statesLabelId;
    int firstSymbolId;
    int symbolStep;
    int firstSymbolRegister;
};

// How a register's settings-file line is written (and read back with "%d" unless said).
enum LcdFileForm {
    LCD_FILE_FIELD_TEXT = 0,  // the edit field's text as it stands
    LCD_FILE_ACTIVE_TIME,     // the active-time combo's text; read back by its first characters
    LCD_FILE_ONE_DIGIT,
    LCD_FILE_TWO_DIGITS,
    LCD_FILE_FIVE_DIGITS,
    LCD_FILE_BAUD_PARITY,     // "0p0b"; read back by the register-49 rule
    LCD_FILE_PICTOGRAM,       // two digits below 100, three from 100
    LCD_FILE_TEXT_STRING,     // lines 40-47, two characters each
    LCD_FILE_OUTPUT,          // a digital-output register, five digits
};

struct LcdFileLine {
    int registerIndex;
    BYTE form;
    int fieldRegister;  // a field-text line that carries another register's field (0: its own)
};

// The 16 lines of one mode's pictogram codes, from register `first`, each of form `form`.
#define LCD_STATE_FILE_LINES(first, form)                                                                \
    {first, form}, {first + 1, form}, {first + 2, form}, {first + 3, form}, {first + 4, form},            \
        {first + 5, form}, {first + 6, form}, {first + 7, form}, {first + 8, form}, {first + 9, form},   \
        {first + 10, form}, {first + 11, form}, {first + 12, form}, {first + 13, form}, {first + 14, form}, \
        {first + 15, form}

// The dialog's own values, state of its model's source file for the whole run: one working word
// per register it owns (a field's is its last value), the calibration value and its bitmaps.
struct LcdValues {
    WORD words[DEVICE_REGISTER_COUNT];
    DigitalOutputValues output;  // r50 and r51
    WORD calibration;
    UnitBitmapTable bitmaps;
};

// Everything an LCD dialog is made of.
struct LcdUnit {
    const char* designation;  // settings-file header and check
    LcdValues* values;
    const LcdField* fields;
    int fieldCount;
    const int* tickOrder;  // control ids, LCD_END-terminated
    const LcdWord* words;  // LCD_END-terminated
    int textId;
    const char* openingText;
    const char* defaultText;
    int baudId;
    int parityId;
    const LcdActiveTime* activeTime;  // null: no active-time list
    const LcdQuickAccess* quickAccess;  // null: no quick-access buttons
    const LcdFlag* flags;  // {0}-terminated
    const LcdColor* colors;  // {0}-terminated
    int colorFocusId;
    const LcdBargraph* bargraphs;  // {0}-terminated; a bargraph without radios has correctionId 0
    const UINT* kindTextIds;       // BARGRAPH_BITMAP_COUNT texts
    const LcdMode* modes;
    int modeCount;
    const UINT* positionTextIds;
    int positionCount;
    BYTE exclusivePositions;  // one LCD position serves at most one mode
    UINT positionTakenTextId;
    const LcdFileLine* fileLines;  // LCD_END-terminated
    const int* hiddenIds;          // LCD_END-terminated; may be null
    const DigitalOutput* output;   // null: no digital output
    int firstCommandId, lastCommandId;
    int readId, writeId, openId, saveId, defaultId, cancelId;
    UINT readTextId, writeTextId, mismatchTextId;
    const ControlLabel* labels;  // {0, 0}-terminated
    BYTE labelsBeforeRead;       // 1: the labels are written before the automatic read
    int calibrationFieldId;      // the calibration value (in no register); 0: none
    const char* calibrationDefault;
    int calibrationButtonId;     // sends the calibration value
    BYTE baudOwnsRegister;        // 1: register 49 is the baud index alone (no parity byte)
    // Per mode, the text of its own LCD position: each connection list is then entry 0 of
    // positionTextIds and the mode's own position. Null: every mode lists every position.
    const UINT* ownPositionTextIds;
    const int* offlineDisabledIds;  // disabled off-line besides Read and Write; LCD_END-terminated; may be null
};

// The active time a settings-file text gives by its first characters ("5s", "10s" ... "60s"); any
// other first character keeps `current`.
WORD ActiveTimeOfFileText(const char* text, WORD current);

INT_PTR RunLcdDialogMessage(const LcdUnit* unit, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
