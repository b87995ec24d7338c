// Model dialog skeleton: opening, tick checks, Read, Write, settings files, Default and closing,
// done once for every sensor and transmitter dialog by walking the model's binding table.
#include "devices/sensors/model_dialog.h"

#include <stdio.h>
#include <string.h>

#include "devices/sensors/calibration_write.h"
#include "kit/shared_records.h"
#include "kit/fixed_point.h"
#include "kit/settings_file.h"
#include "kit/texts.h"
#include "devices/sensors/model_states.h"
#include "link/transfer_engines.h"
#include "resource.h"

// The leading blank of the four-digit rates keeps the sorted baud list in index order.
const UINT BAUD_RATE_TEXT_IDS[BAUD_RATE_COUNT] = {
    IDS_SENSORS_BAUD_1200,  IDS_SENSORS_BAUD_2400,  IDS_SENSORS_BAUD_4800, IDS_SENSORS_BAUD_9600,
    IDS_SENSORS_BAUD_19200, IDS_SENSORS_BAUD_38400, IDS_SENSORS_BAUD_57600,
};
const UINT PARITY_TEXT_IDS[PARITY_COUNT] = {
    IDS_SENSORS_PARITY_NONE, IDS_SENSORS_PARITY_ODD, IDS_SENSORS_PARITY_EVEN,
};
static const int DEFAULT_BAUD_INDEX = 4;
static const int TEXT_STRING_BYTES = TEXT_STRING_CHARS + 1;  // the text field is read with this limit
static const int TEXT_FILE_COLUMN_1 = SETTINGS_VALUE_OFFSET + 1;  // line bytes of value-field columns 1 and 3
static const int TEXT_FILE_COLUMN_3 = SETTINGS_VALUE_OFFSET + 3;
static const int SIGNED_WORD_MAX = 32767;
static const int UNSIGNED_WORD_MAX = 65535;

// Byte offset of a register's line in the settings-file image.
int SettingsLineOffset(int registerIndex)
{
    return SETTINGS_FIRST_LINE + SETTINGS_LINE_SIZE * registerIndex;
}

static const ModelField* FindFieldByControl(const ModelDialog* model, int controlId)
{
    for (int i = 0; i < model->fieldCount; i++) {
        if (model->fields[i].controlId == controlId) return &model->fields[i];
    }
    return NULL;
}

static int FindFieldIndexByControl(const ModelDialog* model, int controlId)
{
    for (int i = 0; i < model->fieldCount; i++) {
        if (model->fields[i].controlId == controlId) return i;
    }
    return -1;
}

static int FindFieldByRegister(const ModelDialog* model, int registerIndex)
{
    for (int i = 0; i < model->fieldCount; i++) {
        if (model->fields[i].registerIndex == registerIndex) return i;
    }
    return -1;
}

// The analog output whose kind register this is, or -1.
static int FindOutputByKindRegister(const ModelDialog* model, int registerIndex)
{
    for (int i = 0; i < model->outputCount; i++) {
        if (model->outputs[i].kindRegister == registerIndex) return i;
    }
    return -1;
}

// A field of an analog output is bounded by its output's kind; any other by its table entry.
static int FieldHighBound(const ModelDialog* model, const ModelField* field)
{
    for (int i = 0; i < model->outputCount; i++) {
        if (IsOutputField(&model->outputs[i], field->controlId)) return OutputHighBound(model->values->outputKinds[i]);
    }
    return field->high;
}

// Sets an output's kind and shows it (radios and unit labels).
static void SetOutputKind(HWND dialog, const ModelDialog* model, int index, WORD kind)
{
    model->values->outputKinds[index] = kind;
    ShowOutputKind(dialog, &model->outputs[index], kind);
}

// A click on an output's "Current" or "Voltage" radio; 1 when the control is one of them. The
// values stay as typed: the next tick (or Write) bounds them by the new kind.
static int TakeOutputKindClick(HWND dialog, const ModelDialog* model, int controlId)
{
    for (int i = 0; i < model->outputCount; i++) {
        const AnalogOutput* output = &model->outputs[i];
        if (controlId != output->currentId && controlId != output->voltageId) continue;
        SetOutputKind(dialog, model, i, controlId == output->voltageId ? OUTPUT_KIND_VOLTAGE : OUTPUT_KIND_CURRENT);
        return 1;
    }
    return 0;
}

// Opening and Default: every output is a voltage output.
static void PutOutputDefaults(HWND dialog, const ModelDialog* model)
{
    for (int i = 0; i < model->outputCount; i++) SetOutputKind(dialog, model, i, OUTPUT_KIND_VOLTAGE);
}

// Read: each kind register, any nonzero value counting as voltage.
static void ShowOutputKindsOfImage(HWND dialog, const ModelDialog* model)
{
    for (int i = 0; i < model->outputCount; i++) {
        SetOutputKind(dialog, model, i, OutputKindOfWord(g_deviceRegisters[model->outputs[i].kindRegister]));
    }
}

// Write: the kinds as 0 or 1.
static void StoreOutputKinds(const ModelDialog* model, WORD* registers)
{
    for (int i = 0; i < model->outputCount; i++) registers[model->outputs[i].kindRegister] = model->values->outputKinds[i];
}

// Registers that every Write stores with one value, whatever was read or loaded.
static void StoreFixedRegisters(const ModelDialog* model, WORD* registers)
{
    for (const FixedRegister* fixed = model->fixedRegisters; fixed && fixed->registerIndex != END_OF_LIST; fixed++) {
        registers[fixed->registerIndex] = fixed->value;
    }
}

// The flag's settings-file character: the bit alone ("1") or the bit's value ("4"), else "0".
static char FlagFileDigit(const ModelFlag* flag, WORD flags)
{
    if ((flags & flag->bit) == 0) return '0';
    return flag->fileHoldsValue ? (char)('0' + flag->bit) : '1';
}

// A loaded flag line replaces the whole word: exactly the character Save writes for a set flag
// sets the bit, anything else gives a clear word, so a damaged file never sets other bits.
static WORD FlagOfFileField(const ModelFlag* flag, const char* field)
{
    return field[0] != 0 && field[0] == FlagFileDigit(flag, flag->bit) ? flag->bit : 0;
}

// Fills a drop-down list with edition texts in table order and selects entry 0.
void FillTextCombo(HWND dialog, int controlId, const UINT* textIds, int count)
{
    WCHAR text[EDITION_TEXT_MAX_CHARS];
    for (int i = 0; i < count; i++) {
        LoadEditionText(textIds[i], text, EDITION_TEXT_MAX_CHARS);
        SendDlgItemMessageW(dialog, controlId, CB_ADDSTRING, 0, (LPARAM)text);
    }
    SendDlgItemMessageA(dialog, controlId, CB_SETCURSEL, 0, 0);
}

// Puts a text (at most 16 characters kept later) into the text field.
static void ShowTextString(HWND dialog, const ModelDialog* model, const char* text)
{
    SetDlgItemTextA(dialog, model->textId, text);
}

// Registers 40-47, two characters each (high byte first), into the text field.
void ShowRegisterTextString(HWND dialog, int controlId)
{
    char text[TEXT_STRING_BYTES];
    for (int i = 0; i < TEXT_STRING_REGISTERS; i++) {
        text[2 * i] = (char)HIBYTE(g_deviceRegisters[REG_TEXT_STRING + i]);
        text[2 * i + 1] = (char)LOBYTE(g_deviceRegisters[REG_TEXT_STRING + i]);
    }
    text[TEXT_STRING_CHARS] = 0;
    SetDlgItemTextA(dialog, controlId, text);
}

// The text field packed into registers 40-47 (a shorter text leaves zero bytes).
void TakeRegisterTextString(HWND dialog, int controlId)
{
    BYTE text[TEXT_STRING_BYTES];
    GetDlgItemTextA(dialog, controlId, g_textBuffer, TEXT_STRING_BYTES);
    memset(text, 0, TEXT_STRING_BYTES);
    memcpy(text, g_textBuffer, strnlen(g_textBuffer, TEXT_STRING_CHARS));
    for (int i = 0; i < TEXT_STRING_REGISTERS; i++) {
        g_deviceRegisters[REG_TEXT_STRING + i] = (WORD)(text[2 * i] * 256 + text[2 * i + 1]);
    }
}

// The settings file's text string (columns 1 and 3 of lines 40-47) into the text field.
void LoadFileTextString(HWND dialog, int controlId)
{
    char text[TEXT_STRING_BYTES];
    for (int i = 0; i < TEXT_STRING_REGISTERS; i++) {
        text[2 * i] = g_settingsFile[SettingsLineOffset(REG_TEXT_STRING + i) + TEXT_FILE_COLUMN_1];
        text[2 * i + 1] = g_settingsFile[SettingsLineOffset(REG_TEXT_STRING + i) + TEXT_FILE_COLUMN_3];
    }
    text[TEXT_STRING_CHARS] = 0;
    SetDlgItemTextA(dialog, controlId, text);
}

// The text field into columns 1 and 3 of the settings file's lines 40-47.
void SaveFileTextString(HWND dialog, int controlId)
{
    BYTE text[TEXT_STRING_BYTES];
    GetDlgItemTextA(dialog, controlId, g_textBuffer, TEXT_STRING_BYTES);
    memset(text, 0, TEXT_STRING_BYTES);
    memcpy(text, g_textBuffer, strnlen(g_textBuffer, TEXT_STRING_CHARS));
    for (int i = 0; i < TEXT_STRING_REGISTERS; i++) {
        g_settingsFile[SettingsLineOffset(REG_TEXT_STRING + i) + TEXT_FILE_COLUMN_1] = (char)text[2 * i];
        g_settingsFile[SettingsLineOffset(REG_TEXT_STRING + i) + TEXT_FILE_COLUMN_3] = (char)text[2 * i + 1];
    }
}

// Group boxes, labels and buttons in the edition's language, from a {0, 0}-terminated list.
void WriteControlLabels(HWND dialog, const ControlLabel* labels)
{
    for (const ControlLabel* label = labels; label->controlId; label++) {
        SetDialogItemText(dialog, label->controlId, label->textId);
    }
}

// A baud combo that owns the whole register shows an entry's text only when the whole word names
// one; a word with anything in its high byte leaves the combo as it is.
static void ShowWholeBaudWord(HWND dialog, const ModelDialog* model)
{
    WORD word = model->values->baudParity;
    if (word < BAUD_RATE_COUNT) SetDialogItemText(dialog, model->baudId, BAUD_RATE_TEXT_IDS[word]);
}

// Shows the baud/parity word: by list index in the select-entry style (an index beyond the list
// clears the selection), else as the entry's text when the index names one.
static void ShowBaudParity(HWND dialog, const ModelDialog* model)
{
    int baud = LOBYTE(model->values->baudParity);
    int parity = HIBYTE(model->values->baudParity);
    if (model->baudId == 0) return;
    if (model->baudOwnsRegister) {
        ShowWholeBaudWord(dialog, model);
        return;
    }
    if (model->networkStyle == NETWORK_SELECT_ENTRY) {
        SendDlgItemMessageA(dialog, model->baudId, CB_SETCURSEL, baud, 0);
        if (model->parityId) SendDlgItemMessageA(dialog, model->parityId, CB_SETCURSEL, parity, 0);
        return;
    }
    if (baud < BAUD_RATE_COUNT) SetDialogItemText(dialog, model->baudId, BAUD_RATE_TEXT_IDS[baud]);
    if (model->parityId && parity < PARITY_COUNT) {
        SetDialogItemText(dialog, model->parityId, model->parityTextIds[parity]);
    }
}

// Shows a field's value with its coding.
void ShowFieldValue(HWND dialog, const ModelField* field, WORD value)
{
    switch (field->coding) {
    case CODING_SIGNED: sprintf(g_textBuffer, "%d", (int)(short)value); break;
    case CODING_TENTHS: FormatTenths((SHORT)value); break;
    case CODING_HUNDREDTHS: FormatHundredths((SHORT)value); break;
    default: sprintf(g_textBuffer, "%d", (int)value); break;
    }
    SetDlgItemTextA(dialog, field->controlId, g_textBuffer);
}

// A field's text as the value it shows; a "%d" text that holds no number keeps the previous value.
WORD ParseFieldText(const ModelField* field, char* text, WORD previous)
{
    int number;
    switch (field->coding) {
    case CODING_TENTHS: return (WORD)ParseTenths(text);
    case CODING_HUNDREDTHS: return (WORD)ParseHundredths(text);
    default: return sscanf(text, "%d", &number) == 1 ? (WORD)number : previous;
    }
}

// The field's value as shown.
static WORD TakeFieldValue(HWND dialog, const ModelField* field, WORD previous)
{
    GetDlgItemTextA(dialog, field->controlId, g_textBuffer, FIELD_TEXT_LIMIT);
    return ParseFieldText(field, g_textBuffer, previous);
}

// Puts a text into a field unchanged and remembers the value it shows, so that a field emptied
// later writes the last value shown.
static void PutFieldText(HWND dialog, const ModelDialog* model, int index, const char* text)
{
    SetDlgItemTextA(dialog, model->fields[index].controlId, text);
    model->values->fields[index] = TakeFieldValue(dialog, &model->fields[index], model->values->fields[index]);
}

// The upper bound of a field. The field whose bound follows another takes that field's value
// minus one (the other field's value is taken into the dialog's values on the way), but never
// less than its own low bound: a limit at its lowest leaves one value rather than none, so the
// field is corrected once and not on every tick. 0 when the field is not to be checked now.
static int TakeFieldUpperBound(HWND dialog, const ModelDialog* model, const ModelField* field, int evenWithFocus,
                               int* high)
{
    const ModelBoundBelow* link = model->boundBelow;
    *high = FieldHighBound(model, field);
    if (!link || link->controlId != field->controlId) return 1;
    if (!evenWithFocus && GetFocus() == GetDlgItem(dialog, link->limitId)) return 0;
    const ModelField* limit = FindFieldByControl(model, link->limitId);
    WORD* limitValue = &model->values->fields[limit - model->fields];
    *limitValue = TakeFieldValue(dialog, limit, *limitValue);
    int bound = (limit->coding == CODING_UNSIGNED ? (int)*limitValue : (int)(SHORT)*limitValue) - 1;
    *high = bound < field->low ? field->low : bound;
    return 1;
}

// Keeps every bounded field within its bounds, in the model's order, then the digital output's
// number of steps. `evenWithFocus` 1 (on Write) checks also what is still being typed.
static void CheckModelFields(HWND dialog, const ModelDialog* model, int evenWithFocus)
{
    int high;
    for (const int* id = model->tickOrder; *id != END_OF_LIST; id++) {
        const ModelField* field = FindFieldByControl(model, *id);
        if (!field || !TakeFieldUpperBound(dialog, model, field, evenWithFocus, &high)) continue;
        switch (field->check) {
        case CHECK_SIGNED: ValidateSignedField(dialog, *id, (SHORT)high, (SHORT)field->low); break;
        case CHECK_TENTHS: ValidateTenthsField(dialog, *id, (SHORT)high, (SHORT)field->low); break;
        case CHECK_THOUSANDTHS: ValidateThousandthsField(dialog, *id, (WORD)high, (WORD)field->low); break;
        default: ValidateUnsignedField(dialog, *id, (WORD)high, (WORD)field->low); break;
        }
    }
    if (model->digitalOutput) CheckOutputSteps(dialog, model->digitalOutput, evenWithFocus);
}

// A field's value as the ordered-pair rule compares it.
static int TakePairValue(const ModelField* field, WORD value)
{
    return field->coding == CODING_SIGNED ? (int)(SHORT)value : (int)value;
}

// The ordered-pair rule: both fields are read into the dialog's values ("%d"; a text without a
// number keeps the value as it was); a high value not above the low one becomes low + 1, or, when
// the low value leaves no greater one, the pair becomes the greatest value and the one below it.
// The fields are rewritten before the message opens, so the ticks under the box find them in
// order. On a tick the rule waits while the high field has the keyboard focus, so that a value
// can be typed digit by digit; Write applies it whatever has the focus.
static void EnforceOrderedPair(HWND dialog, const ModelDialog* model, int onTick)
{
    const ModelOrderedPair* pair = model->orderedPair;
    if (!pair) return;
    if (onTick && GetFocus() == GetDlgItem(dialog, pair->highId)) return;
    int lowIndex = FindFieldIndexByControl(model, pair->lowId);
    int highIndex = FindFieldIndexByControl(model, pair->highId);
    if (lowIndex < 0 || highIndex < 0) return;
    const ModelField* lowField = &model->fields[lowIndex];
    const ModelField* highField = &model->fields[highIndex];
    WORD* low = &model->values->fields[lowIndex];
    WORD* high = &model->values->fields[highIndex];
    *low = TakeFieldValue(dialog, lowField, *low);
    *high = TakeFieldValue(dialog, highField, *high);
    int lowValue = TakePairValue(lowField, *low);
    if (TakePairValue(highField, *high) > lowValue) return;
    int greatest = highField->coding == CODING_SIGNED ? SIGNED_WORD_MAX : UNSIGNED_WORD_MAX;
    if (lowValue >= greatest) {
        lowValue = greatest - 1;
        *low = (WORD)lowValue;
        ShowFieldValue(dialog, lowField, *low);
    }
    *high = (WORD)(lowValue + 1);
    ShowFieldValue(dialog, highField, *high);
    ShowMessage(dialog, pair->messageId, pair->captionId, MB_OK | MB_ICONINFORMATION);
}

// Shows or hides every control of an END_OF_LIST-terminated list (none for a null list).
static void ShowControlList(HWND dialog, const int* ids, int show)
{
    for (const int* id = ids; id && *id != END_OF_LIST; id++) ShowWindow(GetDlgItem(dialog, *id), show ? SW_SHOW : SW_HIDE);
}

// Enables or disables every control of an END_OF_LIST-terminated list (none for a null list).
static void EnableControlList(HWND dialog, const int* ids, BOOL enable)
{
    for (const int* id = ids; id && *id != END_OF_LIST; id++) EnableWindow(GetDlgItem(dialog, *id), enable);
}

// The last two-digit group of the connected device's firmware version as a number.
static int TakeFirmwareGateValue()
{
    return 10 * g_firmwareDigits[4] + g_firmwareDigits[5];
}

// Whether the connected device is read at opening. Without a gate the model's table says; with one
// the device is read (or not) only below the threshold, after the gated controls are hidden.
static int ApplyFirmwareGate(HWND dialog, const ModelDialog* model)
{
    const ModelFirmwareGate* gate = model->gate;
    if (!gate) return model->readsAtOpening;
    if (TakeFirmwareGateValue() >= gate->threshold) return 0;
    ShowControlList(dialog, gate->hiddenIds, 0);
    return gate->readsBelow;
}

// The calibration button: the value field with "%d" into the dialog's value, then the write.
static void WriteModelCalibration(HWND dialog, const ModelDialog* model)
{
    int index = FindFieldIndexByControl(model, model->calibration->valueId);
    if (index < 0) return;
    WriteCalibrationFromField(dialog, model->calibration->valueId, &model->values->fields[index]);
}

// The flag's check box follows its bit, and the fields it governs are enabled only while it is set.
static void ShowModelFlag(HWND dialog, const ModelDialog* model)
{
    const ModelFlag* flag = model->flag;
    BOOL set = (model->values->flags & flag->bit) != 0;
    CheckDlgButton(dialog, flag->controlId, set ? BST_CHECKED : BST_UNCHECKED);
    for (const int* id = flag->enabledIds; *id != END_OF_LIST; id++) EnableWindow(GetDlgItem(dialog, *id), set);
}

// A click on the flag's check box flips its bit alone; the rest of the word stays as read.
static void ToggleModelFlag(HWND dialog, const ModelDialog* model)
{
    model->values->flags ^= model->flag->bit;
    ShowModelFlag(dialog, model);
}

// 19200 Bd without parity, as the entries' texts or, for a model that says so, as the selected entries.
static void PutDefaultBaudParity(HWND dialog, const ModelDialog* model)
{
    model->values->baudParity = DEFAULT_BAUD_PARITY;
    if (model->selectsDefaultBaud) {
        ShowBaudParity(dialog, model);
        return;
    }
    if (model->baudId) SetDialogItemText(dialog, model->baudId, IDS_SENSORS_BAUD_19200);
    if (model->parityId) SetDialogItemText(dialog, model->parityId, model->parityTextIds[0]);
}

// Default texts into the controls; the registers and the device are not touched. Fields marked
// as opening-only keep their texts on Default, fields marked as Default-only keep them at opening.
static void PutModelDefaults(HWND dialog, const ModelDialog* model, const char* text, int opening)
{
    for (int i = 0; i < model->fieldCount; i++) {
        if (opening ? model->fields[i].defaultOnly : model->fields[i].openingOnly) continue;
        PutFieldText(dialog, model, i, model->fields[i].defaultText);
    }
    ShowTextString(dialog, model, text);
    PutDefaultBaudParity(dialog, model);
    if (model->choice) {
        model->values->choice = (WORD)model->choice->defaultIndex;
        SendDlgItemMessageA(dialog, model->choice->controlId, CB_SETCURSEL, model->choice->defaultIndex, 0);
    }
    if (model->flag) {
        model->values->flags = 0;
        ShowModelFlag(dialog, model);
    }
    PutOutputDefaults(dialog, model);
    if (model->digitalOutput) SelectDualState(dialog, model->digitalOutput);
    if (model->states) ResetStateSequence(dialog, model->states);
}

// Group boxes, static texts and buttons in the edition's language; Cancel keeps its template text.
static void WriteModelLabels(HWND dialog, const ModelDialog* model)
{
    WriteControlLabels(dialog, model->labels);
    SetDialogItemText(dialog, model->readId, model->readTextId);
    SetDialogItemText(dialog, model->writeId, model->writeTextId);
    SetDialogItemText(dialog, model->openId, IDS_SENSORS_SETTING_OPEN);
    SetDialogItemText(dialog, model->saveId, IDS_SENSORS_SETTING_SAVE);
    SetDialogItemText(dialog, model->defaultId, IDS_SENSORS_DEFAULT);
    if (model->digitalOutput) WriteDigitalOutputLabels(dialog, model->digitalOutput);
}

// Opening: lists, defaults, the tick, the automatic read when connected, then the labels.
static void OpenModelDialog(HWND dialog, const ModelDialog* model)
{
    if (model->baudId) FillTextCombo(dialog, model->baudId, BAUD_RATE_TEXT_IDS, BAUD_RATE_COUNT);
    if (model->parityId) FillTextCombo(dialog, model->parityId, model->parityTextIds, PARITY_COUNT);
    if (model->choice) {
        FillTextCombo(dialog, model->choice->controlId, model->choice->entryTextIds, model->choice->entryCount);
    }
    if (model->states) FillStateLists(dialog, model->states);
    PutModelDefaults(dialog, model, model->openingText, 1);
    SetTimer(dialog, TICK_TIMER_ID, model->tickMs ? model->tickMs : DIALOG_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
    if (g_deviceConnected == 0) {
        EnableWindow(GetDlgItem(dialog, model->readId), FALSE);
        EnableWindow(GetDlgItem(dialog, model->writeId), FALSE);
        EnableControlList(dialog, model->offlineDisabledIds, FALSE);
    } else if (ApplyFirmwareGate(dialog, model)) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(model->readId, BN_CLICKED), (LPARAM)GetDlgItem(dialog, model->readId));
    }
    for (const int* id = model->hiddenIds; id && *id != END_OF_LIST; id++) ShowWindow(GetDlgItem(dialog, *id), SW_HIDE);
    WriteModelLabels(dialog, model);
    for (int i = 0; i < model->outputCount; i++) {
        WriteOpeningOutputLabels(dialog, &model->outputs[i], model->values->outputKinds[i]);
    }
    // On screen now, not when the dialog's queue first runs empty: a tick that finds a value read
    // out of range may come first, and its message must come over the dialog, not in its place.
    ShowWindow(dialog, SW_SHOW);
}

// Read: the device into the register image into the dialog's values and controls.
static void ReadModelFromDevice(HWND dialog, const ModelDialog* model)
{
    ModelValues* values = model->values;
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_READ_PROGRESS), dialog, ReadProgressDlgProc, 0);
    if (g_deviceConnected == 0) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return;
    }
    for (int i = 0; i < model->fieldCount; i++) {
        const ModelField* field = &model->fields[i];
        if (field->registerIndex == NO_REGISTER || field->readOnly) continue;
        values->fields[i] = (WORD)(g_deviceRegisters[field->registerIndex] - field->bias);
        ShowFieldValue(dialog, field, values->fields[i]);
    }
    ShowRegisterTextString(dialog, model->textId);
    if (model->baudId) {
        values->baudParity = g_deviceRegisters[REG_BAUD_PARITY];
        ShowBaudParity(dialog, model);
    }
    if (model->choice) {
        values->choice = g_deviceRegisters[model->choice->registerIndex];
        SendDlgItemMessageA(dialog, model->choice->controlId, CB_SETCURSEL, values->choice, 0);
    }
    if (model->flag) {
        values->flags = g_deviceRegisters[model->flag->registerIndex];
        ShowModelFlag(dialog, model);
    }
    ShowOutputKindsOfImage(dialog, model);
    if (model->digitalOutput) LoadOutputRegisters(dialog, model->digitalOutput, g_deviceRegisters);
    if (model->states) LoadStateRegisters(dialog, model->states, g_deviceRegisters);
}

// Write: the controls into the register image into the device and its EEPROM. The fields are
// checked first, focus or not, and the ordered pair put in order, so an entry typed since the
// last tick cannot reach the device out of range or out of order.
// The shown values stay apart from the register words, so the contrast bias is added once.
static void WriteModelToDevice(HWND dialog, const ModelDialog* model)
{
    ModelValues* values = model->values;
    CheckModelFields(dialog, model, 1);
    EnforceOrderedPair(dialog, model, 0);
    for (int i = 0; i < model->fieldCount; i++) {
        const ModelField* field = &model->fields[i];
        if (field->registerIndex == NO_REGISTER || field->readOnly) continue;
        values->fields[i] = TakeFieldValue(dialog, field, values->fields[i]);
        g_deviceRegisters[field->registerIndex] = (WORD)(values->fields[i] + field->bias);
    }
    TakeRegisterTextString(dialog, model->textId);
    if (model->baudId) g_deviceRegisters[REG_BAUD_PARITY] = values->baudParity;
    if (model->choice) g_deviceRegisters[model->choice->registerIndex] = values->choice;
    if (model->flag) g_deviceRegisters[model->flag->registerIndex] = values->flags;
    if (model->contrastRule == CONTRAST_NO_LCD) g_deviceRegisters[REG_LCD_SETTING] = CONTRAST_WORD_NO_LCD;
    StoreOutputKinds(model, g_deviceRegisters);
    StoreFixedRegisters(model, g_deviceRegisters);
    if (model->digitalOutput) StoreOutputRegisters(model->digitalOutput, g_deviceRegisters);
    if (model->states) StoreStateRegisters(model->states, g_deviceRegisters);
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_WRITE_PROGRESS), dialog, WriteProgressDlgProc, 0);
    if (g_deviceConnected == 0) PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// One character of a settings-file field as a list index: only a digit inside the field that
// names an entry counts, anything else gives the fallback.
static int TakeFileDigit(const char* field, int position, int count, int fallback)
{
    if (position >= (int)strlen(field)) return fallback;
    if (field[position] < '0' || field[position] > '9') return fallback;
    return field[position] - '0' < count ? field[position] - '0' : fallback;
}

// Register 49 from its file field: "b" or "0p0b" in the select-entry style (anything else gives
// 19200 Bd, no parity), "?p?b" with the entry-text parity style, "b" without parity.
WORD ParseBaudParityField(const char* field, int hasParity, int networkStyle)
{
    int length = (int)strlen(field);
    int baud = DEFAULT_BAUD_INDEX;
    int parity = 0;
    if (!hasParity || (networkStyle == NETWORK_SELECT_ENTRY && length == 1)) {
        baud = TakeFileDigit(field, 0, BAUD_RATE_COUNT, DEFAULT_BAUD_INDEX);
    } else if (networkStyle == NETWORK_ENTRY_TEXT || length == 4) {
        parity = TakeFileDigit(field, 1, PARITY_COUNT, 0);
        baud = TakeFileDigit(field, 3, BAUD_RATE_COUNT, DEFAULT_BAUD_INDEX);
    }
    return (WORD)(parity * 256 + baud);
}

static void LoadBaudParity(HWND dialog, const ModelDialog* model, const char* field)
{
    model->values->baudParity = ParseBaudParityField(field, model->parityId != 0, model->networkStyle);
    ShowBaudParity(dialog, model);
}

// The open chooser and the checks of "Setting Open": 1 when a settings file of the model named by
// `designation` (at file byte 2) is in g_settingsFile; else the user was told why, or chose nothing.
int ReadModelSettingsFile(HWND dialog, const char* designation, UINT mismatchTextId, UINT wrongSizeTextId)
{
    if (ChooseOpenFile(g_textBuffer, dialog, FILE_KIND_SETTINGS) <= 0) return 0;
    g_fileCursor = g_settingsFile;
    g_fileLength = ReadWholeFile(g_textBuffer, g_settingsFile);
    if (g_fileLength == 0) {
        ShowMessage(dialog, IDS_SENSORS_FILE_READ_ERROR, IDS_SENSORS_CAPTION_FILE_ERROR, MB_OK | MB_ICONERROR);
        return 0;
    }
    if (g_fileLength != SETTINGS_FILE_SIZE) {
        UINT textId = wrongSizeTextId ? wrongSizeTextId : IDS_SENSORS_FILE_DAMAGED;
        ShowMessage(dialog, textId, IDS_SENSORS_CAPTION_FILE_ERROR, MB_OK | MB_ICONERROR);
        return 0;
    }
    if (memcmp(g_settingsFile + 2, designation, strlen(designation)) != 0) {
        ShowMessage(dialog, mismatchTextId, IDS_SENSORS_CAPTION_FILE_ERROR, MB_OK | MB_ICONERROR);
        return 0;
    }
    return 1;
}

// The save chooser and the write of the whole settings-file image.
void WriteModelSettingsFile(HWND dialog)
{
    if (ChooseSaveFile(g_textBuffer, dialog, FILE_KIND_SETTINGS) <= 0) return;
    g_fileLength = SETTINGS_FILE_SIZE;
    g_fileCursor = g_settingsFile;
    g_fileLength = WriteWholeFile(g_textBuffer, g_settingsFile, SETTINGS_FILE_SIZE);
}

// The digital output's file fields: five digits each, into the dialog's pair (shown once the
// whole file is in). 1 when the register is one of them.
static int LoadOutputFileField(const ModelDialog* model, int registerIndex, const char* field)
{
    DigitalOutputValues* values = model->digitalOutput ? model->digitalOutput->values : NULL;
    if (!values) return 0;
    if (registerIndex == REG_OUTPUT_STEPS) values->steps = TakeOutputFileValue(field, DUALSTATE_STEPS);
    else if (registerIndex == REG_OUTPUT_PRESCALER) values->prescaler = TakeOutputFileValue(field, DUALSTATE_PRESCALER);
    else return 0;
    return 1;
}

static int FormatOutputFileField(const ModelDialog* model, int registerIndex, char* text)
{
    if (!model->digitalOutput) return 0;
    if (registerIndex == REG_OUTPUT_STEPS) FormatOutputFileValue(model->digitalOutput->values->steps, text);
    else if (registerIndex == REG_OUTPUT_PRESCALER) FormatOutputFileValue(model->digitalOutput->values->prescaler, text);
    else return 0;
    return 1;
}

// "Setting Open": a settings file of this model into the controls (the image changes on Write).
static void LoadSettingsFile(HWND dialog, const ModelDialog* model)
{
    char field[SETTINGS_VALUE_WIDTH + 1];
    if (!ReadModelSettingsFile(dialog, model->designation, model->mismatchTextId, model->wrongSizeTextId)) return;
    for (const int* reg = model->fileOrder; *reg != END_OF_LIST; reg++) {
        int index = FindFieldByRegister(model, *reg);
        GetSettingsField(SettingsLineOffset(*reg), field);
        if (*reg == REG_BAUD_PARITY) {
            LoadBaudParity(dialog, model, field);
        } else if (model->choice && *reg == model->choice->registerIndex) {
            model->values->choice = (WORD)TakeFileDigit(field, 0, model->choice->entryCount, model->choice->defaultIndex);
            SendDlgItemMessageA(dialog, model->choice->controlId, CB_SETCURSEL, model->values->choice, 0);
        } else if (model->flag && *reg == model->flag->registerIndex) {
            model->values->flags = FlagOfFileField(model->flag, field);
            ShowModelFlag(dialog, model);
        } else if (FindOutputByKindRegister(model, *reg) >= 0) {
            SetOutputKind(dialog, model, FindOutputByKindRegister(model, *reg), OutputKindOfFileField(field));
        } else if (LoadOutputFileField(model, *reg, field)) {
        } else if (model->states && LoadStateFileField(model->states, *reg, field)) {
        } else if (index >= 0 && !model->fields[index].readOnly) {
            PutFieldText(dialog, model, index, field);
        }
    }
    if (model->digitalOutput) ShowDigitalOutput(dialog, model->digitalOutput);
    if (model->states) ShowStateSequence(dialog, model->states);
    LoadFileTextString(dialog, model->textId);
}

// "Setting Save": field texts as typed, register 49 from the dialog's word, the text string at
// columns 1 and 3 of its lines; then the file, if the user names one.
static void SaveSettingsFile(HWND dialog, const ModelDialog* model)
{
    char header[SETTINGS_HEADER_SIZE + 1];
    WORD word = model->values->baudParity;
    snprintf(header, sizeof header, "  %-14.14s", model->designation);
    InitSettingsFileTemplate(header);
    for (const int* reg = model->fileOrder; *reg != END_OF_LIST; reg++) {
        int index = FindFieldByRegister(model, *reg);
        if (*reg == REG_BAUD_PARITY) {
            if (model->baudOwnsRegister) sprintf(g_textBuffer, "%c", '0' + LOBYTE(word));
            else if (model->parityId) sprintf(g_textBuffer, "0%d0%d", HIBYTE(word), LOBYTE(word));
            else sprintf(g_textBuffer, "%d", LOBYTE(word));
        } else if (model->choice && *reg == model->choice->registerIndex) {
            sprintf(g_textBuffer, "%d", model->values->choice);
        } else if (model->flag && *reg == model->flag->registerIndex) {
            sprintf(g_textBuffer, "%c", FlagFileDigit(model->flag, model->values->flags));
        } else if (FindOutputByKindRegister(model, *reg) >= 0) {
            strcpy(g_textBuffer, OutputKindFileText(model->values->outputKinds[FindOutputByKindRegister(model, *reg)]));
        } else if (FormatOutputFileField(model, *reg, g_textBuffer)) {
        } else if (model->states && FormatStateFileField(model->states, *reg, g_textBuffer)) {
        } else if (index >= 0) {
            GetDlgItemTextA(dialog, model->fields[index].controlId, g_textBuffer, FIELD_TEXT_LIMIT);
        } else {
            continue;
        }
        PutSettingsField(SettingsLineOffset(*reg), g_textBuffer);
    }
    SaveFileTextString(dialog, model->textId);
    WriteModelSettingsFile(dialog);
}

// A list selection changes the dialog's value; typing into a combo's edit part changes nothing.
static void TakeComboSelection(HWND dialog, const ModelDialog* model, int controlId)
{
    LRESULT index = SendDlgItemMessageA(dialog, controlId, CB_GETCURSEL, 0, 0);
    ModelValues* values = model->values;
    if (index == CB_ERR) return;
    if (controlId == model->baudId && model->baudOwnsRegister) {
        values->baudParity = (WORD)index;
    } else if (controlId == model->baudId) {
        values->baudParity = (WORD)((values->baudParity & 0xFF00) | (index & 0xFF));
    } else if (model->parityId && controlId == model->parityId) {
        values->baudParity = (WORD)(((index & 0xFF) << 8) | (values->baudParity & 0x00FF));
    } else if (model->choice && controlId == model->choice->controlId) {
        values->choice = (WORD)index;
    }
}

static int IsModelCombo(const ModelDialog* model, int controlId)
{
    return (model->baudId && controlId == model->baudId) || (model->parityId && controlId == model->parityId) ||
           (model->choice && controlId == model->choice->controlId);
}

// Cancel and close: the tick stops and the dialog ends; nothing is written or asked.
// The registers as Default and Write would leave them: every field's default with its bias, the
// default text string, 19200 Bd without parity, the choice's default entry and the flags cleared.
static void PutFactorySettings(const ModelDialog* model, WORD* registers)
{
    BYTE text[TEXT_STRING_BYTES] = {};
    for (int i = 0; i < model->fieldCount; i++) {
        const ModelField* field = &model->fields[i];
        if (field->registerIndex == NO_REGISTER || field->readOnly) continue;
        lstrcpynA(g_textBuffer, field->defaultText, FIELD_TEXT_LIMIT);
        registers[field->registerIndex] = (WORD)(ParseFieldText(field, g_textBuffer, 0) + field->bias);
    }
    memcpy(text, model->defaultText, strnlen(model->defaultText, TEXT_STRING_CHARS));
    for (int i = 0; i < TEXT_STRING_REGISTERS; i++) {
        registers[REG_TEXT_STRING + i] = (WORD)(text[2 * i] * 256 + text[2 * i + 1]);
    }
    if (model->baudId) registers[REG_BAUD_PARITY] = DEFAULT_BAUD_PARITY;
    if (model->choice) registers[model->choice->registerIndex] = (WORD)model->choice->defaultIndex;
    if (model->flag) registers[model->flag->registerIndex] = 0;
    if (model->contrastRule == CONTRAST_NO_LCD) registers[REG_LCD_SETTING] = CONTRAST_WORD_NO_LCD;
    for (int i = 0; i < model->outputCount; i++) registers[model->outputs[i].kindRegister] = OUTPUT_KIND_VOLTAGE;
    StoreFixedRegisters(model, registers);
    if (model->digitalOutput) PutOutputFactorySettings(registers);
    if (model->states) PutStateFactorySettings(model->states, registers);
}

void CloseModelDialog(HWND dialog)
{
    KillTimer(dialog, TICK_TIMER_ID);
    EndDialog(dialog, DEVICE_DIALOG_RESULT);
}

static void RouteModelCommand(HWND dialog, const ModelDialog* model, int controlId, int code)
{
    if (model->digitalOutput && RouteDigitalOutputCommand(dialog, model->digitalOutput, controlId, code)) return;
    if (model->states && RouteStateCommand(dialog, model->states, controlId, code)) return;
    if (IsModelCombo(model, controlId)) {
        if (code == CBN_SELCHANGE) TakeComboSelection(dialog, model, controlId);
        return;
    }
    if (code != BN_CLICKED) return;
    if (TakeOutputKindClick(dialog, model, controlId)) return;
    if (model->flag && controlId == model->flag->controlId) ToggleModelFlag(dialog, model);
    else if (model->calibration && controlId == model->calibration->buttonId) WriteModelCalibration(dialog, model);
    else if (controlId == model->readId) ReadModelFromDevice(dialog, model);
    else if (controlId == model->writeId) WriteModelToDevice(dialog, model);
    else if (controlId == model->openId) LoadSettingsFile(dialog, model);
    else if (controlId == model->saveId) SaveSettingsFile(dialog, model);
    else if (controlId == model->defaultId) PutModelDefaults(dialog, model, model->defaultText, 0);
    else if (controlId == model->cancelId) CloseModelDialog(dialog);
}

// The message handling every sensor and transmitter dialog shares; always 0, as the dialog
// manager expects of a procedure that sets no focus and returns no data.
INT_PTR RunModelDialogMessage(const ModelDialog* model, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MODEL_FACTORY_SETTINGS:
        PutFactorySettings(model, (WORD*)lParam);
        return 1;
    case WM_INITDIALOG:
        OpenModelDialog(dialog, model);
        break;
    case WM_TIMER:
        if (wParam != TICK_TIMER_ID) break;
        CheckModelFields(dialog, model, 0);
        EnforceOrderedPair(dialog, model, 1);
        break;
    case WM_COMMAND:
        RouteModelCommand(dialog, model, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_CLOSE:
        CloseModelDialog(dialog);
        break;
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        break;
    }
    return 0;
}
