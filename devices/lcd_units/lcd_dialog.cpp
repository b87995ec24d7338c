// LCD dialog engine: opening, tick checks, the guarded Read and Write, settings files, Default,
// owner-drawn pictogram lists and closing, done once for every LCD dialog by walking its descriptor.
#include "devices/lcd_units/lcd_dialog.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "devices/lcd_units/guarded_transfer.h"
#include "devices/sensors/calibration_write.h"
#include "kit/fixed_point.h"
#include "kit/settings_file.h"
#include "kit/shared_records.h"
#include "kit/texts.h"
#include "resource.h"

// The descriptor of the dialog that is open: the guarded transfer calls back with the window only.
// Dialogs are modal and one is open at a time.
static const LcdUnit* s_openUnit;

static const char DIGITS_FORMAT[] = "%0*u";
static const char NUMBER_FORMAT[] = "%u";

// ---- Values and fields

static WORD* Words(const LcdUnit* unit)
{
    return unit->values->words;
}

static const LcdField* FindField(const LcdUnit* unit, int controlId)
{
    for (int i = 0; i < unit->fieldCount; i++) {
        if (unit->fields[i].field.controlId == controlId) return &unit->fields[i];
    }
    return NULL;
}

static const LcdField* FieldOfRegister(const LcdUnit* unit, int registerIndex)
{
    for (int i = 0; i < unit->fieldCount; i++) {
        if (unit->fields[i].field.registerIndex == registerIndex) return &unit->fields[i];
    }
    return NULL;
}

// A field's text as the value it shows; a "%d" text that holds no number keeps the last value.
static WORD ParseField(const ModelField* field, char* text, WORD last)
{
    int number;
    if (field->coding == CODING_TENTHS) return (WORD)ParseTenths(text);
    if (field->coding == CODING_HUNDREDTHS) return (WORD)ParseHundredths(text);
    return sscanf(text, "%d", &number) == 1 ? (WORD)number : last;
}

// A field the tick leaves unchecked holds whatever was typed: its number is taken in 32 bits and
// held to the register's range rather than wrapped ("4000" tenths of a degree are 32767).
static WORD ParseUncheckedField(const ModelField* field, char* text, WORD last)
{
    int number;
    if (field->coding == CODING_TENTHS) number = ParseWideTenths(text);
    else if (sscanf(text, "%d", &number) != 1) return last;
    int low = field->coding == CODING_UNSIGNED ? 0 : SHRT_MIN;
    int high = field->coding == CODING_UNSIGNED ? USHRT_MAX : SHRT_MAX;
    return (WORD)(number < low ? low : number > high ? high : number);
}

static WORD TakeField(HWND dialog, const LcdUnit* unit, const ModelField* field)
{
    const LcdField* entry = FindField(unit, field->controlId);
    GetDlgItemTextA(dialog, field->controlId, g_textBuffer, FIELD_TEXT_LIMIT);
    if (entry && entry->unchecked) return ParseUncheckedField(field, g_textBuffer, Words(unit)[field->registerIndex]);
    return ParseField(field, g_textBuffer, Words(unit)[field->registerIndex]);
}

// A signed field that no tick keeps in range may hold any number: beyond a signed word it
// saturates rather than wrapping. A text without a number keeps the last value.
static WORD TakeUncheckedSignedField(HWND dialog, const LcdUnit* unit, const ModelField* field)
{
    int number;
    GetDlgItemTextA(dialog, field->controlId, g_textBuffer, FIELD_TEXT_LIMIT);
    if (sscanf(g_textBuffer, "%d", &number) != 1) return Words(unit)[field->registerIndex];
    if (number < -32768) number = -32768;
    if (number > 32767) number = 32767;
    return (WORD)number;
}

static WORD TakeLcdField(HWND dialog, const LcdUnit* unit, const LcdField* entry)
{
    if (entry->unchecked && entry->field.coding == CODING_SIGNED) return TakeUncheckedSignedField(dialog, unit, &entry->field);
    return TakeField(dialog, unit, &entry->field);
}

// A text into a field as it stands, its value remembered as the field's last value.
static void PutFieldText(HWND dialog, const LcdUnit* unit, const ModelField* field, const char* text)
{
    SetDlgItemTextA(dialog, field->controlId, text);
    Words(unit)[field->registerIndex] = TakeField(dialog, unit, field);
}

static void ShowField(HWND dialog, const ModelField* field, WORD value)
{
    switch (field->coding) {
    case CODING_SIGNED: sprintf(g_textBuffer, "%d", (int)(SHORT)value); break;
    case CODING_TENTHS: FormatTenths((SHORT)value); break;
    case CODING_HUNDREDTHS: FormatHundredths((SHORT)value); break;
    default: sprintf(g_textBuffer, "%d", (int)value); break;
    }
    SetDlgItemTextA(dialog, field->controlId, g_textBuffer);
}

// Keeps every checked field within its bounds, in the dialog's order, then the output's steps
// (left alone while the user types them, except for Write).
static void CheckFields(HWND dialog, int evenWithFocus)
{
    const LcdUnit* unit = s_openUnit;
    for (const int* id = unit->tickOrder; *id != LCD_END; id++) {
        const LcdField* entry = FindField(unit, *id);
        if (!entry || entry->unchecked) continue;
        const ModelField* field = &entry->field;
        switch (field->check) {
        case CHECK_SIGNED: ValidateSignedField(dialog, *id, (SHORT)field->high, (SHORT)field->low); break;
        case CHECK_TENTHS: ValidateTenthsField(dialog, *id, (SHORT)field->high, (SHORT)field->low); break;
        case CHECK_THOUSANDTHS: ValidateThousandthsField(dialog, *id, (WORD)field->high, (WORD)field->low); break;
        default: ValidateUnsignedField(dialog, *id, (WORD)field->high, (WORD)field->low); break;
        }
    }
    if (unit->output) CheckOutputSteps(dialog, unit->output, evenWithFocus);
}

static void CheckLcdFields(HWND dialog)
{
    CheckFields(dialog, 0);
}

static void CheckLcdFieldsForWrite(HWND dialog)
{
    CheckFields(dialog, 1);
}

static int SymbolRegister(const LcdMode* mode, int state)
{
    return mode->firstSymbolRegister + state;
}

static int SymbolControl(const LcdMode* mode, int state)
{
    return mode->firstSymbolId + state * mode->symbolStep;
}

// Calls `visit` for every register the dialog owns besides its fields.
template <typename Visit>
static void ForEachOwnedWord(const LcdUnit* unit, Visit visit)
{
    for (const LcdWord* word = unit->words; word->registerIndex != LCD_END; word++) visit(word->registerIndex);
    for (int m = 0; m < unit->modeCount; m++) {
        const LcdMode* mode = &unit->modes[m];
        visit(mode->connectionRegister);
        visit(mode->statesRegister);
        for (int s = 0; s < STATES_PER_MODE; s++) visit(SymbolRegister(mode, s));
    }
}

// ---- Showing the values in the lists, check boxes and radios

// Selects a list entry; a value that names no entry leaves the box without a selection (some
// combo boxes keep their old selection when asked for an index beyond the list).
static void SelectEntry(HWND dialog, int controlId, int index)
{
    LRESULT count = SendDlgItemMessageA(dialog, controlId, CB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) index = -1;
    SendDlgItemMessageA(dialog, controlId, CB_SETCURSEL, (WPARAM)index, 0);
}

// A code the list has no entry for, but that the unit knows, shows its text all the same.
static void ShowShownOnlyQuickAccess(HWND dialog, const LcdQuickAccess* quick, int button, WORD code)
{
    if (quick->shownOnlyTextId && code == quick->shownOnlyCode) {
        SetDialogItemText(dialog, quick->controlIds[button], quick->shownOnlyTextId);
    }
}

// A quick-access code shows its entry's text; a code of no entry leaves the box as it is.
static void ShowQuickAccess(HWND dialog, const LcdUnit* unit, int button)
{
    const LcdQuickAccess* quick = unit->quickAccess;
    if (!quick) return;
    WORD code = Words(unit)[quick->registers[button]];
    for (int i = 0; i < quick->entryCount; i++) {
        if (quick->entryCodes[i] == code) SetDialogItemText(dialog, quick->controlIds[button], quick->entryTextIds[i]);
    }
    ShowShownOnlyQuickAccess(dialog, quick, button, code);
}

static BOOL IsFlagShownSet(const LcdFlag* flag, WORD word)
{
    if (flag->showsWholeWord) return word != 0;
    return flag->mask ? (word & flag->mask) != 0 : word != 0;
}

static void ShowFlags(HWND dialog, const LcdUnit* unit)
{
    for (const LcdFlag* flag = unit->flags; flag->controlId; flag++) {
        BOOL set = IsFlagShownSet(flag, Words(unit)[flag->registerIndex]);
        CheckDlgButton(dialog, flag->controlId, set ? BST_CHECKED : BST_UNCHECKED);
    }
}

static void ShowColors(HWND dialog, const LcdUnit* unit)
{
    for (const LcdColor* color = unit->colors; color->controlId; color++) {
        SelectEntry(dialog, color->controlId, (Words(unit)[color->registerIndex] >> color->shift) & COLOR_NIBBLE_MASK);
    }
}

// Every pair shows the bit of its own word, whatever was clicked.
static void ShowBargraphRadios(HWND dialog, const LcdUnit* unit)
{
    for (const LcdBargraph* bar = unit->bargraphs; bar->comboId; bar++) {
        if (!bar->correctionId) continue;
        BOOL requested = (Words(unit)[bar->registerIndex] & BARGRAPH_SHOW_REQUESTED) != 0;
        CheckDlgButton(dialog, bar->correctionId, requested ? BST_UNCHECKED : BST_CHECKED);
        CheckDlgButton(dialog, bar->requestedId, requested ? BST_CHECKED : BST_UNCHECKED);
    }
}

static void ShowBargraphKind(HWND dialog, const LcdUnit* unit, const LcdBargraph* bar)
{
    int kind = Words(unit)[bar->registerIndex] & BARGRAPH_KIND_MASK;
    SelectEntry(dialog, bar->comboId, kind);
    SetDialogItemText(dialog, bar->kindTextId, unit->kindTextIds[kind]);
}

static void ShowBargraphs(HWND dialog, const LcdUnit* unit)
{
    for (const LcdBargraph* bar = unit->bargraphs; bar->comboId; bar++) ShowBargraphKind(dialog, unit, bar);
    ShowBargraphRadios(dialog, unit);
}

// The state combo boxes of a mode follow its number of states.
static void EnableModeStates(HWND dialog, const LcdUnit* unit, const LcdMode* mode)
{
    int ids[STATES_PER_MODE];
    for (int s = 0; s < STATES_PER_MODE; s++) ids[s] = SymbolControl(mode, s);
    EnableStateCombos(dialog, ids, (SHORT)Words(unit)[mode->statesRegister]);
}

static void ShowModes(HWND dialog, const LcdUnit* unit)
{
    for (int m = 0; m < unit->modeCount; m++) {
        const LcdMode* mode = &unit->modes[m];
        SelectEntry(dialog, mode->connectionId, Words(unit)[mode->connectionRegister]);
        SelectEntry(dialog, mode->statesId, (SHORT)Words(unit)[mode->statesRegister]);
        EnableModeStates(dialog, unit, mode);
        for (int s = 0; s < STATES_PER_MODE; s++) {
            SelectEntry(dialog, SymbolControl(mode, s), (SHORT)Words(unit)[SymbolRegister(mode, s)]);
        }
    }
}

// The active time as a list entry: (value / step) - 1; a value outside the list leaves no selection.
static void ShowActiveTimeEntry(HWND dialog, const LcdUnit* unit)
{
    const LcdActiveTime* active = unit->activeTime;
    if (!active) return;
    SelectEntry(dialog, active->controlId, Words(unit)[active->registerIndex] / active->step - 1);
}

// The baud entry of register 49: its low byte, or the whole word where it holds the baud alone
// (a word beyond the list then selects nothing).
static int BaudEntryOfWord(const LcdUnit* unit, WORD word)
{
    return unit->baudOwnsRegister ? (int)word : (int)LOBYTE(word);
}

static WORD TakeBaudEntry(const LcdUnit* unit, WORD word, int entry)
{
    if (unit->baudOwnsRegister) return (WORD)entry;
    return (WORD)((word & 0xFF00) | (entry & 0xFF));
}

// Every value that a list, check box or radio shows (the edit fields are shown by their callers).
static void ShowChoices(HWND dialog, const LcdUnit* unit, int activeTimeAsEntry)
{
    WORD baudParity = Words(unit)[REG_BAUD_PARITY];
    if (activeTimeAsEntry) ShowActiveTimeEntry(dialog, unit);
    SelectEntry(dialog, unit->baudId, BaudEntryOfWord(unit, baudParity));
    if (unit->parityId) SelectEntry(dialog, unit->parityId, HIBYTE(baudParity));
    for (int b = 0; b < QUICK_ACCESS_BUTTONS; b++) ShowQuickAccess(dialog, unit, b);
    ShowFlags(dialog, unit);
    ShowColors(dialog, unit);
    ShowBargraphs(dialog, unit);
    ShowModes(dialog, unit);
}

// ---- Opening, Default and the copy steps

static void FillNumberCombo(HWND dialog, int controlId, int count)
{
    for (int i = 0; i < count; i++) {
        sprintf(g_textBuffer, "%d", i);
        SendDlgItemMessageA(dialog, controlId, CB_ADDSTRING, 0, (LPARAM)g_textBuffer);
    }
    SelectEntry(dialog, controlId, 0);
}

// A mode's LCD positions: every position of the design, or "none" and the mode's own position.
static void FillConnectionCombo(HWND dialog, const LcdUnit* unit, int modeIndex)
{
    int controlId = unit->modes[modeIndex].connectionId;
    if (!unit->ownPositionTextIds) {
        FillTextCombo(dialog, controlId, unit->positionTextIds, unit->positionCount);
        return;
    }
    const UINT own[] = {unit->positionTextIds[0], unit->ownPositionTextIds[modeIndex]};
    FillTextCombo(dialog, controlId, own, sizeof(own) / sizeof(own[0]));
}

static void FillTextCombos(HWND dialog, const LcdUnit* unit)
{
    const LcdQuickAccess* quick = unit->quickAccess;
    if (unit->activeTime) {
        FillTextCombo(dialog, unit->activeTime->controlId, unit->activeTime->entryTextIds, unit->activeTime->entryCount);
    }
    FillTextCombo(dialog, unit->baudId, BAUD_RATE_TEXT_IDS, BAUD_RATE_COUNT);
    if (unit->parityId) FillTextCombo(dialog, unit->parityId, PARITY_TEXT_IDS, PARITY_COUNT);
    for (int b = 0; quick && b < QUICK_ACCESS_BUTTONS; b++) {
        FillTextCombo(dialog, quick->controlIds[b], quick->entryTextIds, quick->entryCount);
    }
    for (int m = 0; m < unit->modeCount; m++) FillNumberCombo(dialog, unit->modes[m].statesId, STATES_PER_MODE + 1);
    for (int m = 0; m < unit->modeCount; m++) FillConnectionCombo(dialog, unit, m);
}

// The values and edit texts of opening and Default; the registers and the device are not touched.
static void PutDefaults(HWND dialog, const LcdUnit* unit, const char* text)
{
    for (int i = 0; i < unit->fieldCount; i++) {
        const ModelField* field = &unit->fields[i].field;
        PutFieldText(dialog, unit, field, field->defaultText);
    }
    for (const LcdWord* word = unit->words; word->registerIndex != LCD_END; word++) {
        Words(unit)[word->registerIndex] = word->value;
    }
    for (int m = 0; m < unit->modeCount; m++) {
        const LcdMode* mode = &unit->modes[m];
        Words(unit)[mode->connectionRegister] = 0;
        Words(unit)[mode->statesRegister] = 0;
        for (int s = 0; s < STATES_PER_MODE; s++) Words(unit)[SymbolRegister(mode, s)] = 0;
    }
    SetDlgItemTextA(dialog, unit->textId, text);
    if (unit->output) SelectDualState(dialog, unit->output);
    if (unit->calibrationFieldId) {
        SetDlgItemTextA(dialog, unit->calibrationFieldId, unit->calibrationDefault);
        int number = 0;
        if (sscanf(unit->calibrationDefault, "%d", &number) == 1) unit->values->calibration = (WORD)number;
    }
}

static void FillBitmapCombos(HWND dialog, const LcdUnit* unit, int kind)
{
    const UnitBitmapTable* table = &unit->values->bitmaps;
    if (kind == 0) {
        for (const LcdColor* color = unit->colors; color->controlId; color++) FillColorCombo(table, dialog, color->controlId);
    } else if (kind == 1) {
        for (const LcdBargraph* bar = unit->bargraphs; bar->comboId; bar++) FillBargraphCombo(table, dialog, bar->comboId);
    } else {
        for (int m = 0; m < unit->modeCount; m++) {
            for (int s = 0; s < STATES_PER_MODE; s++) FillSymbolCombo(table, dialog, SymbolControl(&unit->modes[m], s));
        }
    }
}

// Loads the swatches, then the bargraph pictures, then the pictograms and the mask, filling the
// lists of each; 0 at the first bitmap that does not load.
static int LoadAndFillBitmaps(HWND dialog, const LcdUnit* unit)
{
    UnitBitmapTable* table = &unit->values->bitmaps;
    if (!LoadUnitColors(table)) return 0;
    FillBitmapCombos(dialog, unit, 0);
    if (!LoadUnitBargraphs(table)) return 0;
    FillBitmapCombos(dialog, unit, 1);
    if (!LoadUnitBitmaps(table)) return 0;
    FillBitmapCombos(dialog, unit, 2);
    return 1;
}

static void WriteLcdLabels(HWND dialog, const LcdUnit* unit)
{
    WriteControlLabels(dialog, unit->labels);
    if (unit->output) WriteDigitalOutputLabels(dialog, unit->output);
    // A kind text beside a bargraph keeps what the read showed unless its word holds the kind
    // the label names.
    for (const LcdBargraph* bar = unit->bargraphs; bar->comboId; bar++) {
        if ((Words(unit)[bar->registerIndex] & BARGRAPH_KIND_MASK) == bar->openingKind) {
            SetDialogItemText(dialog, bar->kindTextId, bar->openingKindTextId);
        }
    }
    SetDialogItemText(dialog, unit->readId, unit->readTextId);
    SetDialogItemText(dialog, unit->writeId, unit->writeTextId);
    SetDialogItemText(dialog, unit->openId, IDS_SENSORS_SETTING_OPEN);
    SetDialogItemText(dialog, unit->saveId, IDS_SENSORS_SETTING_SAVE);
    SetDialogItemText(dialog, unit->defaultId, IDS_SENSORS_DEFAULT);
}

static void OpenLcdDialog(HWND dialog, const LcdUnit* unit)
{
    s_openUnit = unit;
    FillTextCombos(dialog, unit);
    PutDefaults(dialog, unit, unit->openingText);
    for (const int* id = unit->hiddenIds; id && *id != LCD_END; id++) ShowWindow(GetDlgItem(dialog, *id), SW_HIDE);
    if (!LoadAndFillBitmaps(dialog, unit)) {
        EndDialog(dialog, -1);  // WM_DESTROY releases what did load
        return;
    }
    ShowChoices(dialog, unit, 1);
    SetTimer(dialog, TICK_TIMER_ID, FAST_DIALOG_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
    if (unit->labelsBeforeRead) WriteLcdLabels(dialog, unit);
    if (g_deviceConnected == 0) {
        EnableWindow(GetDlgItem(dialog, unit->readId), FALSE);
        EnableWindow(GetDlgItem(dialog, unit->writeId), FALSE);
        for (const int* id = unit->offlineDisabledIds; id && *id != LCD_END; id++) EnableWindow(GetDlgItem(dialog, *id), FALSE);
    } else {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(unit->readId, BN_CLICKED), (LPARAM)GetDlgItem(dialog, unit->readId));
    }
    if (!unit->labelsBeforeRead) WriteLcdLabels(dialog, unit);
    // On screen now, not when the dialog's queue first runs empty: a tick that finds a value read
    // out of range may come first, and its message must come over the dialog.
    ShowWindow(dialog, SW_SHOW);
}

// Read's copy step: the image into the values and every control.
static void ShowLcdRegisters(HWND dialog)
{
    const LcdUnit* unit = s_openUnit;
    WORD* words = Words(unit);
    for (int i = 0; i < unit->fieldCount; i++) {
        const ModelField* field = &unit->fields[i].field;
        words[field->registerIndex] = (WORD)(g_deviceRegisters[field->registerIndex] - field->bias);
        ShowField(dialog, field, words[field->registerIndex]);
    }
    ForEachOwnedWord(unit, [&](int r) { words[r] = g_deviceRegisters[r]; });
    ShowRegisterTextString(dialog, unit->textId);
    ShowChoices(dialog, unit, 1);
    if (unit->output) LoadOutputRegisters(dialog, unit->output, g_deviceRegisters);
}

// Write's copy step: the fields and values into the image.
static void TakeLcdRegisters(HWND dialog)
{
    const LcdUnit* unit = s_openUnit;
    WORD* words = Words(unit);
    for (int i = 0; i < unit->fieldCount; i++) {
        const ModelField* field = &unit->fields[i].field;
        words[field->registerIndex] = TakeLcdField(dialog, unit, &unit->fields[i]);
        g_deviceRegisters[field->registerIndex] = (WORD)(words[field->registerIndex] + field->bias);
    }
    ForEachOwnedWord(unit, [&](int r) { g_deviceRegisters[r] = words[r]; });
    if (unit->output) StoreOutputRegisters(unit->output, g_deviceRegisters);
    TakeRegisterTextString(dialog, unit->textId);
}

// ---- Settings files

// A number in `digits` digits with leading zeros when it fits, else its plain decimal form; both
// read back with "%d".
static void FormatDigits(WORD value, int digits)
{
    static const unsigned LIMITS[] = {1, 10, 100, 1000, 10000, 100000};
    if (value < LIMITS[digits]) sprintf(g_textBuffer, DIGITS_FORMAT, digits, (unsigned)value);
    else sprintf(g_textBuffer, NUMBER_FORMAT, (unsigned)value);
}

WORD ActiveTimeOfFileText(const char* text, WORD current)
{
    char tens = text[0];
    char next = tens ? text[1] : 0;
    if (tens >= '1' && tens <= '4') return (WORD)((tens - '0') * 10 + (next == '0' ? 0 : 5));
    if (tens == '5') return next == 's' ? 5 : next == '0' ? 50 : 55;
    if (tens == '6') return 60;
    return current;
}

static void LoadActiveTime(const LcdUnit* unit, const char* field)
{
    WORD* value = &Words(unit)[unit->activeTime->registerIndex];
    *value = ActiveTimeOfFileText(field, *value);
}

static void LoadFileWord(const LcdUnit* unit, int registerIndex, const char* field)
{
    int number;
    if (sscanf(field, "%d", &number) == 1) Words(unit)[registerIndex] = (WORD)number;
}

// The field whose text a field-text line carries.
static const LcdField* FieldOfLine(const LcdUnit* unit, const LcdFileLine* line)
{
    return FieldOfRegister(unit, line->fieldRegister ? line->fieldRegister : line->registerIndex);
}

static void LoadFileLine(HWND dialog, const LcdUnit* unit, const LcdFileLine* line, const char* field)
{
    const LcdField* entry = FieldOfLine(unit, line);
    switch (line->form) {
    case LCD_FILE_FIELD_TEXT:
        if (entry) PutFieldText(dialog, unit, &entry->field, field);
        break;
    case LCD_FILE_ACTIVE_TIME:
        SetDlgItemTextA(dialog, unit->activeTime->controlId, field);
        LoadActiveTime(unit, field);
        break;
    case LCD_FILE_BAUD_PARITY:
        Words(unit)[line->registerIndex] = ParseBaudParityField(field, unit->parityId != 0, NETWORK_SELECT_ENTRY);
        break;
    case LCD_FILE_TEXT_STRING:
        LoadFileTextString(dialog, unit->textId);
        break;
    case LCD_FILE_OUTPUT:
        // A field with no number keeps the value.
        if (line->registerIndex == REG_OUTPUT_STEPS) {
            unit->values->output.steps = TakeOutputFileValue(field, unit->values->output.steps);
        } else {
            unit->values->output.prescaler = TakeOutputFileValue(field, unit->values->output.prescaler);
        }
        break;
    default:
        LoadFileWord(unit, line->registerIndex, field);
        break;
    }
}

// "Setting Open": the file into the controls and values; the image changes on the next Write.
static void LoadLcdSettingsFile(HWND dialog, const LcdUnit* unit)
{
    char field[SETTINGS_VALUE_WIDTH + 1];
    if (!ReadModelSettingsFile(dialog, unit->designation, unit->mismatchTextId, 0)) return;
    for (const LcdFileLine* line = unit->fileLines; line->registerIndex != LCD_END; line++) {
        GetSettingsField(SettingsLineOffset(line->registerIndex), field);
        LoadFileLine(dialog, unit, line, field);
    }
    ShowChoices(dialog, unit, 0);
    if (unit->output) ShowDigitalOutput(dialog, unit->output);
}

// The file text of one line, in g_textBuffer; 0 for the text string, which has its own columns.
static int FormatFileLine(HWND dialog, const LcdUnit* unit, const LcdFileLine* line)
{
    WORD value = Words(unit)[line->registerIndex];
    const LcdField* entry = FieldOfLine(unit, line);
    switch (line->form) {
    case LCD_FILE_FIELD_TEXT:
        g_textBuffer[0] = 0;
        if (entry) GetDlgItemTextA(dialog, entry->field.controlId, g_textBuffer, FIELD_TEXT_LIMIT);
        return 1;
    case LCD_FILE_ACTIVE_TIME:
        GetDlgItemTextA(dialog, unit->activeTime->controlId, g_textBuffer, FIELD_TEXT_LIMIT);
        return 1;
    case LCD_FILE_ONE_DIGIT: FormatDigits(value, 1); return 1;
    case LCD_FILE_TWO_DIGITS: FormatDigits(value, 2); return 1;
    case LCD_FILE_FIVE_DIGITS: FormatDigits(value, 5); return 1;
    case LCD_FILE_PICTOGRAM: FormatDigits(value, value < 100 ? 2 : 3); return 1;
    case LCD_FILE_OUTPUT:
        FormatOutputFileValue(line->registerIndex == REG_OUTPUT_STEPS ? unit->values->output.steps
                                                                      : unit->values->output.prescaler,
                              g_textBuffer);
        return 1;
    case LCD_FILE_BAUD_PARITY:
        // "0p0b" while both indexes are single digits; any other word as its decimal number.
        if (LOBYTE(value) <= 9 && HIBYTE(value) <= 9) sprintf(g_textBuffer, "0%d0%d", HIBYTE(value), LOBYTE(value));
        else sprintf(g_textBuffer, NUMBER_FORMAT, (unsigned)value);
        return 1;
    default:
        SaveFileTextString(dialog, unit->textId);
        return 0;
    }
}

// "Setting Save": every line of the model's file from its controls and values, then the file.
static void SaveLcdSettingsFile(HWND dialog, const LcdUnit* unit)
{
    char header[SETTINGS_HEADER_SIZE + 1];
    snprintf(header, sizeof header, "  %-14.14s", unit->designation);
    InitSettingsFileTemplate(header);
    for (const LcdFileLine* line = unit->fileLines; line->registerIndex != LCD_END; line++) {
        if (FormatFileLine(dialog, unit, line)) PutSettingsField(SettingsLineOffset(line->registerIndex), g_textBuffer);
    }
    WriteModelSettingsFile(dialog);
}

// ---- Selections and clicks

static int SelectedEntry(HWND dialog, int controlId)
{
    return (int)SendDlgItemMessageA(dialog, controlId, CB_GETCURSEL, 0, 0);
}

static void FocusControl(HWND dialog, int controlId)
{
    SetFocus(GetDlgItem(dialog, controlId));
}

static void ShowSettingMessage(HWND dialog, UINT textId)
{
    ShowMessage(dialog, textId, IDS_DOUT_CAPTION_SETTING_VALUE, MB_OK | MB_ICONINFORMATION);
}

// A quick-access entry that names a mode without states falls back to "not active" first.
static void SelectQuickAccess(HWND dialog, const LcdUnit* unit, int button, int entry)
{
    const LcdQuickAccess* quick = unit->quickAccess;
    int mode = quick->entryModes[entry];
    Words(unit)[quick->registers[button]] = quick->entryCodes[entry];
    if (mode >= 0 && Words(unit)[unit->modes[mode].statesRegister] == 0) {
        SelectEntry(dialog, quick->controlIds[button], 0);
        Words(unit)[quick->registers[button]] = quick->entryCodes[0];
        ShowSettingMessage(dialog, quick->emptyModeTextIds[mode]);
    }
}

// With exclusive positions a position another mode holds sends the changed mode back to none.
static void SelectPosition(HWND dialog, const LcdUnit* unit, int modeIndex, int position)
{
    const LcdMode* mode = &unit->modes[modeIndex];
    Words(unit)[mode->connectionRegister] = (WORD)position;
    if (!unit->exclusivePositions || position == 0) return;
    for (int m = 0; m < unit->modeCount; m++) {
        if (m == modeIndex || Words(unit)[unit->modes[m].connectionRegister] != position) continue;
        Words(unit)[mode->connectionRegister] = 0;
        SelectEntry(dialog, mode->connectionId, 0);
        ShowSettingMessage(dialog, unit->positionTakenTextId);
        return;
    }
}

// A list selection of the dialog; 1 when the control is one of its lists.
static int TakeSelection(HWND dialog, const LcdUnit* unit, int controlId)
{
    int entry = SelectedEntry(dialog, controlId);
    WORD* words = Words(unit);
    if (entry == CB_ERR) return 0;
    if (unit->activeTime && controlId == unit->activeTime->controlId) {
        words[unit->activeTime->registerIndex] = (WORD)((entry + 1) * unit->activeTime->step);
        return 1;
    }
    if (controlId == unit->baudId) {
        words[REG_BAUD_PARITY] = TakeBaudEntry(unit, words[REG_BAUD_PARITY], entry);
        return 1;
    }
    if (unit->parityId && controlId == unit->parityId) {
        words[REG_BAUD_PARITY] = (WORD)(((entry & 0xFF) << 8) | (words[REG_BAUD_PARITY] & 0x00FF));
        return 1;
    }
    for (int b = 0; unit->quickAccess && b < QUICK_ACCESS_BUTTONS; b++) {
        if (controlId != unit->quickAccess->controlIds[b]) continue;
        SelectQuickAccess(dialog, unit, b, entry);
        return 1;
    }
    for (const LcdColor* color = unit->colors; color->controlId; color++) {
        if (controlId != color->controlId) continue;
        WORD mask = (WORD)(COLOR_NIBBLE_MASK << color->shift);
        words[color->registerIndex] = (WORD)((words[color->registerIndex] & ~mask) | ((entry << color->shift) & mask));
        FocusControl(dialog, unit->colorFocusId);
        return 1;
    }
    for (const LcdBargraph* bar = unit->bargraphs; bar->comboId; bar++) {
        if (controlId != bar->comboId) continue;
        words[bar->registerIndex] = (WORD)((words[bar->registerIndex] & ~BARGRAPH_KIND_MASK) | (entry & BARGRAPH_KIND_MASK));
        SetDialogItemText(dialog, bar->kindTextId, unit->kindTextIds[entry & BARGRAPH_KIND_MASK]);
        FocusControl(dialog, bar->labelId);
        return 1;
    }
    for (int m = 0; m < unit->modeCount; m++) {
        const LcdMode* mode = &unit->modes[m];
        if (controlId == mode->connectionId) {
            SelectPosition(dialog, unit, m, entry);
            return 1;
        }
        if (controlId == mode->statesId) {
            words[mode->statesRegister] = (WORD)entry;
            EnableModeStates(dialog, unit, mode);
            return 1;
        }
        for (int s = 0; s < STATES_PER_MODE; s++) {
            if (controlId != SymbolControl(mode, s)) continue;
            words[SymbolRegister(mode, s)] = (WORD)entry;
            FocusControl(dialog, mode->statesLabelId);
            return 1;
        }
    }
    return 0;
}

// A click on a check box or bargraph radio; 1 when it was one.
static int TakeClick(HWND dialog, const LcdUnit* unit, int controlId)
{
    WORD* words = Words(unit);
    for (const LcdFlag* flag = unit->flags; flag->controlId; flag++) {
        if (controlId != flag->controlId) continue;
        WORD* word = &words[flag->registerIndex];
        *word = flag->mask ? (WORD)(*word ^ flag->mask) : (WORD)(*word ? 0 : 1);
        ShowFlags(dialog, unit);
        return 1;
    }
    for (const LcdBargraph* bar = unit->bargraphs; bar->comboId; bar++) {
        if (!bar->correctionId) continue;
        if (controlId == bar->correctionId) words[bar->registerIndex] &= BARGRAPH_KIND_MASK;
        else if (controlId == bar->requestedId) words[bar->registerIndex] |= BARGRAPH_SHOW_REQUESTED;
        else continue;
        ShowBargraphRadios(dialog, unit);
        return 1;
    }
    return 0;
}

static void CloseLcdDialog(HWND dialog)
{
    KillTimer(dialog, TICK_TIMER_ID);
    EndDialog(dialog, DEVICE_DIALOG_RESULT);
}

static void PutLcdDefaults(HWND dialog, const LcdUnit* unit)
{
    PutDefaults(dialog, unit, unit->defaultText);
    ShowChoices(dialog, unit, 1);
}

static void RouteLcdCommand(HWND dialog, const LcdUnit* unit, int controlId, int code)
{
    if (controlId < unit->firstCommandId || controlId > unit->lastCommandId) return;
    if (unit->output && RouteDigitalOutputCommand(dialog, unit->output, controlId, code)) return;
    if (code == CBN_SELCHANGE && TakeSelection(dialog, unit, controlId)) return;
    if (code != BN_CLICKED) return;
    if (TakeClick(dialog, unit, controlId)) return;
    if (controlId == unit->readId) RunGuardedRead(dialog, ShowLcdRegisters);
    else if (controlId == unit->writeId) RunGuardedWrite(dialog, CheckLcdFieldsForWrite, TakeLcdRegisters);
    else if (controlId == unit->openId) LoadLcdSettingsFile(dialog, unit);
    else if (controlId == unit->saveId) SaveLcdSettingsFile(dialog, unit);
    else if (controlId == unit->defaultId) PutLcdDefaults(dialog, unit);
    else if (controlId == unit->cancelId) CloseLcdDialog(dialog);
    else if (unit->calibrationButtonId && controlId == unit->calibrationButtonId) {
        WriteCalibrationFromField(dialog, unit->calibrationFieldId, &unit->values->calibration);
    }
}

// The registers as Default and Write would leave them (the demo device starts from them).
static void PutLcdFactorySettings(const LcdUnit* unit, WORD* registers)
{
    int number = 0;
    for (int i = 0; i < unit->fieldCount; i++) {
        const ModelField* field = &unit->fields[i].field;
        lstrcpynA(g_textBuffer, field->defaultText, FIELD_TEXT_LIMIT);
        registers[field->registerIndex] = (WORD)(ParseField(field, g_textBuffer, (WORD)number) + field->bias);
    }
    for (const LcdWord* word = unit->words; word->registerIndex != LCD_END; word++) {
        registers[word->registerIndex] = word->value;
    }
    if (unit->output) PutOutputFactorySettings(registers);
    BYTE text[TEXT_STRING_CHARS + 1] = {};
    memcpy(text, unit->defaultText, strnlen(unit->defaultText, TEXT_STRING_CHARS));
    for (int i = 0; i < TEXT_STRING_REGISTERS; i++) {
        registers[REG_TEXT_STRING + i] = (WORD)(text[2 * i] * 256 + text[2 * i + 1]);
    }
    for (int m = 0; m < unit->modeCount; m++) {
        const LcdMode* mode = &unit->modes[m];
        registers[mode->connectionRegister] = 0;
        registers[mode->statesRegister] = 0;
        for (int s = 0; s < STATES_PER_MODE; s++) registers[SymbolRegister(mode, s)] = 0;
    }
}

// The message handling every LCD dialog shares; always 0. The owner-draw messages may come
// before WM_INITDIALOG (while the template's controls are made).
INT_PTR RunLcdDialogMessage(const LcdUnit* unit, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MODEL_FACTORY_SETTINGS:
        PutLcdFactorySettings(unit, (WORD*)lParam);
        return 1;
    case WM_MEASUREITEM:
        MeasurePictogramItem((MEASUREITEMSTRUCT*)lParam);
        break;
    case WM_DRAWITEM:
        DrawPictogramItem(&unit->values->bitmaps, (const DRAWITEMSTRUCT*)lParam);
        break;
    case WM_INITDIALOG:
        OpenLcdDialog(dialog, unit);
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) CheckLcdFields(dialog);
        break;
    case WM_COMMAND:
        RouteLcdCommand(dialog, unit, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_CLOSE:
        CloseLcdDialog(dialog);
        break;
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        FreeUnitBitmaps(&unit->values->bitmaps);
        break;
    }
    return 0;
}
