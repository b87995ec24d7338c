// Analog-output room controller engine: opening, tick checks, Read and Write through the plain
// engines, settings files, Default, the colour and bargraph pictures and closing, done once for
// every analog-output room controller by walking its descriptor.
#include "devices/controllers/aout_controller.h"

#include <stdio.h>
#include <string.h>

#include "devices/sensors/calibration_write.h"
#include "kit/fixed_point.h"
#include "kit/settings_file.h"
#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/transfer_engines.h"
#include "resource.h"

const UINT AOUT_ACTIVE_TIME_TEXT_IDS[AOUT_ACTIVE_TIME_ENTRIES] = {
    IDS_LCD_ACTIVE_5S,  IDS_LCD_ACTIVE_10S, IDS_LCD_ACTIVE_15S, IDS_LCD_ACTIVE_20S, IDS_LCD_ACTIVE_25S, IDS_LCD_ACTIVE_30S,
    IDS_LCD_ACTIVE_35S, IDS_LCD_ACTIVE_40S, IDS_LCD_ACTIVE_45S, IDS_LCD_ACTIVE_50S, IDS_LCD_ACTIVE_55S, IDS_LCD_ACTIVE_60S,
};
const UINT AOUT_BARGRAPH_KIND_TEXT_IDS[BARGRAPH_BITMAP_COUNT] = {
    IDS_LCD_KIND_NONE, IDS_LCD_KIND_RELATIVE, IDS_LCD_KIND_ABSOLUTE, IDS_LCD_KIND_CONSTANT,
};

static const char OPENING_TEXT[] = "                ";
static const char DEFAULT_CALIBRATION_TEXT[] = "400";
static const int OPENING_COLOR = 2;
static const WORD OPENING_BARGRAPH_KIND = 1;
static const int TEMPERATURE_INPUT_LOW = -500;
static const int TEMPERATURE_INPUT_HIGH = 2000;
static const int HUMIDITY_INPUT_LOW = 0;
static const int HUMIDITY_INPUT_HIGH = 1000;
static const int SIGNED_WORD_MIN = -32768;
static const int SIGNED_WORD_MAX = 32767;
static const WORD SIGNAL_BYTE = 0x00FF;
static const WORD INPUT_BYTE = 0xFF00;

// ---- Values and fields

static WORD* Words(const AoutController* unit)
{
    return unit->values->words;
}

static const ModelField* FindField(const AoutController* unit, int controlId)
{
    for (int i = 0; i < unit->fieldCount; i++) {
        if (unit->fields[i].controlId == controlId) return &unit->fields[i];
    }
    return NULL;
}

static const ModelField* FieldOfRegister(const AoutController* unit, int registerIndex)
{
    for (int i = 0; i < unit->fieldCount; i++) {
        if (unit->fields[i].registerIndex == registerIndex) return &unit->fields[i];
    }
    return NULL;
}

// A field's text as the value it shows, as the skeleton reads it; but a signed "%d" text beyond a
// signed word saturates (70000 gives 32767), so no entry wraps into another value.
static WORD ParseField(const ModelField* field, char* text, WORD last)
{
    int number;
    if (field->coding != CODING_SIGNED) return ParseFieldText(field, text, last);
    if (sscanf(text, "%d", &number) != 1) return last;
    if (number < SIGNED_WORD_MIN) number = SIGNED_WORD_MIN;
    if (number > SIGNED_WORD_MAX) number = SIGNED_WORD_MAX;
    return (WORD)number;
}

static WORD TakeField(HWND dialog, const AoutController* unit, const ModelField* field)
{
    GetDlgItemTextA(dialog, field->controlId, g_textBuffer, FIELD_TEXT_LIMIT);
    return ParseField(field, g_textBuffer, Words(unit)[field->registerIndex]);
}

// A text into a field as it stands, its value remembered as the field's last value.
static void PutFieldText(HWND dialog, const AoutController* unit, const ModelField* field, const char* text)
{
    SetDlgItemTextA(dialog, field->controlId, text);
    Words(unit)[field->registerIndex] = TakeField(dialog, unit, field);
}

// ---- Output kinds

// The signal of an output as OutputKind: the low byte of a byte-coded r68, else the whole word.
static WORD OutputKind(const AoutController* unit, int index)
{
    WORD word = Words(unit)[unit->outputs[index].kindRegister];
    if (index == 0 && unit->input) word &= SIGNAL_BYTE;
    return OutputKindOfWord(word);
}

// Output 1 follows the humidity when the high byte of its byte-coded word is set.
static int InputIsHumidity(const AoutController* unit)
{
    return (Words(unit)[unit->outputs[0].kindRegister] & INPUT_BYTE) != 0;
}

static void ShowOutputKinds(HWND dialog, const AoutController* unit)
{
    for (int i = 0; i < MAX_ANALOG_OUTPUTS; i++) ShowOutputKind(dialog, &unit->outputs[i], OutputKind(unit, i));
}

// The input radios and, unless only the radios are asked for, the input labels.
static void ShowInput(HWND dialog, const AoutController* unit, int withLabels)
{
    const AoutInput* input = unit->input;
    if (!input) return;
    int humidity = InputIsHumidity(unit);
    CheckDlgButton(dialog, input->temperatureId, humidity ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog, input->humidityId, humidity ? BST_CHECKED : BST_UNCHECKED);
    if (!withLabels) return;
    SetDialogItemText(dialog, input->lowLabelId, humidity ? IDS_AOUT_INPUT_LOW_RH : IDS_AOUT_INPUT_LOW_CELSIUS);
    SetDialogItemText(dialog, input->highLabelId, humidity ? IDS_AOUT_INPUT_HIGH_RH : IDS_AOUT_INPUT_HIGH_CELSIUS);
}

// A click on a kind or input radio; 1 when the control is one of them. The values stay as typed:
// the next tick (or Write) bounds them by the new kind.
static int TakeKindClick(HWND dialog, const AoutController* unit, int controlId)
{
    WORD* kind1 = &Words(unit)[unit->outputs[0].kindRegister];
    const AoutInput* input = unit->input;
    if (input && (controlId == input->temperatureId || controlId == input->humidityId)) {
        *kind1 = (WORD)((*kind1 & SIGNAL_BYTE) | (controlId == input->humidityId ? 0x0100 : 0));
        ShowInput(dialog, unit, 1);
        return 1;
    }
    for (int i = 0; i < MAX_ANALOG_OUTPUTS; i++) {
        const AnalogOutput* output = &unit->outputs[i];
        if (controlId != output->currentId && controlId != output->voltageId) continue;
        WORD signal = controlId == output->voltageId ? OUTPUT_KIND_VOLTAGE : OUTPUT_KIND_CURRENT;
        WORD* word = &Words(unit)[output->kindRegister];
        *word = i == 0 && input ? (WORD)((*word & INPUT_BYTE) | signal) : signal;
        ShowOutputKind(dialog, output, signal);
        return 1;
    }
    return 0;
}

// ---- The tick

// The bounds of a field: an output field's follow its output's kind, an input field of output 1
// the input it follows.
static void FieldBounds(const AoutController* unit, const ModelField* field, int* low, int* high)
{
    *low = field->low;
    *high = field->high;
    for (int i = 0; i < MAX_ANALOG_OUTPUTS; i++) {
        if (IsOutputField(&unit->outputs[i], field->controlId)) *high = OutputHighBound(OutputKind(unit, i));
    }
    const AoutInput* input = unit->input;
    if (input && (field->controlId == input->lowId || field->controlId == input->highId)) {
        int humidity = InputIsHumidity(unit);
        *low = humidity ? HUMIDITY_INPUT_LOW : TEMPERATURE_INPUT_LOW;
        *high = humidity ? HUMIDITY_INPUT_HIGH : TEMPERATURE_INPUT_HIGH;
    }
}

// Copies each mirrored field's text (nine characters at most) into its mirror; a mirror that
// already holds it is left alone.
static void CopyMirrors(HWND dialog, const AoutController* unit)
{
    char shown[FIELD_TEXT_LIMIT];
    for (const AoutMirror* mirror = unit->mirrors; mirror && mirror->fromId; mirror++) {
        GetDlgItemTextA(dialog, mirror->fromId, g_textBuffer, FIELD_TEXT_LIMIT);
        GetDlgItemTextA(dialog, mirror->toId, shown, FIELD_TEXT_LIMIT);
        if (strcmp(shown, g_textBuffer) != 0) SetDlgItemTextA(dialog, mirror->toId, g_textBuffer);
    }
}

// Keeps every checked field within its bounds, in the dialog's order, then copies the mirrors.
static void CheckFields(HWND dialog, const AoutController* unit)
{
    int low, high;
    for (const int* id = unit->tickOrder; *id != AOUT_END; id++) {
        const ModelField* field = FindField(unit, *id);
        if (!field) continue;
        FieldBounds(unit, field, &low, &high);
        switch (field->check) {
        case CHECK_SIGNED: ValidateSignedField(dialog, *id, (SHORT)high, (SHORT)low); break;
        case CHECK_TENTHS: ValidateTenthsField(dialog, *id, (SHORT)high, (SHORT)low); break;
        default: ValidateUnsignedField(dialog, *id, (WORD)high, (WORD)low); break;
        }
    }
    CopyMirrors(dialog, unit);
}

// ---- Lists, check box and pictures

// Selects a list entry; a value that names no entry leaves the box without a selection.
static void SelectEntry(HWND dialog, int controlId, int index)
{
    LRESULT count = SendDlgItemMessageA(dialog, controlId, CB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) index = -1;
    SendDlgItemMessageA(dialog, controlId, CB_SETCURSEL, (WPARAM)index, 0);
}

static void ShowColors(HWND dialog, const AoutController* unit)
{
    for (const LcdColor* color = unit->colors; color && color->controlId; color++) {
        SelectEntry(dialog, color->controlId, (Words(unit)[color->registerIndex] >> color->shift) & COLOR_NIBBLE_MASK);
    }
}

static void ShowMenuFlag(HWND dialog, const AoutController* unit)
{
    if (!unit->menuId) return;
    CheckDlgButton(dialog, unit->menuId, Words(unit)[REG_AOUT_FLAGS] ? BST_CHECKED : BST_UNCHECKED);
}

// The bargraph combo's selection and, unless only the selection is asked for, the kind's name.
static void ShowBargraph(HWND dialog, const AoutController* unit, int withName)
{
    const AoutBargraph* bar = unit->bargraph;
    if (!bar) return;
    int kind = Words(unit)[bar->registerIndex] & BARGRAPH_KIND_MASK;
    SelectEntry(dialog, bar->comboId, kind);
    if (withName) SetDialogItemText(dialog, bar->nameId, AOUT_BARGRAPH_KIND_TEXT_IDS[kind]);
}

// The active time as a list entry: a value beyond "60s", or below "5s", leaves no selection.
static void ShowActiveTime(HWND dialog, const AoutController* unit)
{
    if (!unit->activeTime) return;
    SelectEntry(dialog, unit->activeTime->controlId, Words(unit)[REG_AOUT_ACTIVE_TIME] / AOUT_ACTIVE_TIME_STEP - 1);
}

// Loads the colour swatches, then the mask, filling the colour lists, then the bargraph pictures
// and their list; 0 at the first bitmap that does not load (WM_DESTROY releases what did).
static int LoadAndFillBitmaps(HWND dialog, const AoutController* unit)
{
    UnitBitmapTable* table = &unit->values->bitmaps;
    if (!unit->colors) return 1;
    if (!LoadUnitColors(table) || !LoadUnitBitmaps(table)) return 0;
    for (const LcdColor* color = unit->colors; color->controlId; color++) FillColorCombo(table, dialog, color->controlId);
    if (!unit->bargraph) return 1;
    if (!LoadUnitBargraphs(table)) return 0;
    FillBargraphCombo(table, dialog, unit->bargraph->comboId);
    return 1;
}

// ---- Opening, Default, Read and Write

static void PutWords(const AoutController* unit, int opening)
{
    for (const AoutWord* word = unit->words; word->registerIndex != AOUT_END; word++) {
        if (!opening || !word->keptAtOpening) Words(unit)[word->registerIndex] = word->value;
    }
}

// The values and texts of opening and Default; the registers and the device are not touched.
// At opening the radios are checked without their labels, which the opening writes itself.
static void PutDefaults(HWND dialog, const AoutController* unit, int opening)
{
    if (unit->activeTime) SelectEntry(dialog, unit->activeTime->controlId, 0);
    for (int i = 0; i < unit->fieldCount; i++) PutFieldText(dialog, unit, &unit->fields[i], unit->fields[i].defaultText);
    SetDlgItemTextA(dialog, unit->textId, opening ? OPENING_TEXT : unit->defaultText);
    if (unit->calibrationFieldId) SetDlgItemTextA(dialog, unit->calibrationFieldId, DEFAULT_CALIBRATION_TEXT);
    PutWords(unit, opening);
    ShowMenuFlag(dialog, unit);
    ShowInput(dialog, unit, !opening);
    ShowOutputKinds(dialog, unit);
}

static void WriteLabels(HWND dialog, const AoutController* unit)
{
    WriteControlLabels(dialog, unit->labels);
    for (int i = 0; i < MAX_ANALOG_OUTPUTS; i++) WriteOpeningOutputLabels(dialog, &unit->outputs[i], OutputKind(unit, i));
    SetDialogItemText(dialog, unit->readId, unit->readTextId);
    SetDialogItemText(dialog, unit->writeId, unit->writeTextId);
    SetDialogItemText(dialog, unit->openId, IDS_SENSORS_SETTING_OPEN);
    SetDialogItemText(dialog, unit->saveId, IDS_SENSORS_SETTING_SAVE);
    SetDialogItemText(dialog, unit->defaultId, IDS_SENSORS_DEFAULT);
}

static void OpenAoutController(HWND dialog, const AoutController* unit)
{
    if (unit->activeTime) {
        FillTextCombo(dialog, unit->activeTime->controlId, unit->activeTime->entryTextIds, unit->activeTime->entryCount);
    }
    PutDefaults(dialog, unit, 1);
    for (const int* id = unit->hiddenIds; *id != AOUT_END; id++) ShowWindow(GetDlgItem(dialog, *id), SW_HIDE);
    if (!LoadAndFillBitmaps(dialog, unit)) {
        EndDialog(dialog, -1);
        return;
    }
    ShowColors(dialog, unit);
    ShowBargraph(dialog, unit, 0);
    WriteLabels(dialog, unit);
    SetTimer(dialog, TICK_TIMER_ID, DIALOG_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
    if (g_deviceConnected == 0) {
        EnableWindow(GetDlgItem(dialog, unit->readId), FALSE);
        EnableWindow(GetDlgItem(dialog, unit->writeId), FALSE);
        if (unit->calibrationButtonId) EnableWindow(GetDlgItem(dialog, unit->calibrationButtonId), FALSE);
    } else {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(unit->readId, BN_CLICKED), (LPARAM)GetDlgItem(dialog, unit->readId));
    }
    // On screen now, not when the dialog's queue first runs empty: a tick that finds a value read
    // out of range may come first, and its message must come over the dialog.
    ShowWindow(dialog, SW_SHOW);
}

// Every value a list, check box or radio shows, after Read, Open and Default.
static void ShowChoices(HWND dialog, const AoutController* unit)
{
    ShowInput(dialog, unit, 1);
    ShowOutputKinds(dialog, unit);
    ShowMenuFlag(dialog, unit);
    ShowBargraph(dialog, unit, 1);
    ShowColors(dialog, unit);
}

static void PutAoutDefaults(HWND dialog, const AoutController* unit)
{
    PutDefaults(dialog, unit, 0);
    ShowChoices(dialog, unit);
}

// Read: the device into the register image into the values and every control.
static void ReadAoutController(HWND dialog, const AoutController* unit)
{
    WORD* words = Words(unit);
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_READ_PROGRESS), dialog, ReadProgressDlgProc, 0);
    if (g_deviceConnected == 0) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return;
    }
    for (int i = 0; i < unit->fieldCount; i++) {
        const ModelField* field = &unit->fields[i];
        words[field->registerIndex] = g_deviceRegisters[field->registerIndex];
        ShowFieldValue(dialog, field, words[field->registerIndex]);
    }
    for (const AoutWord* word = unit->words; word->registerIndex != AOUT_END; word++) {
        words[word->registerIndex] = g_deviceRegisters[word->registerIndex];
    }
    ShowRegisterTextString(dialog, unit->textId);
    ShowActiveTime(dialog, unit);
    ShowChoices(dialog, unit);
}

// Write: the fields are checked first, as a tick would, so an entry typed since the last tick
// cannot reach the device out of range; then the controls and values into the image and the device.
static void WriteAoutController(HWND dialog, const AoutController* unit)
{
    WORD* words = Words(unit);
    CheckFields(dialog, unit);
    for (int i = 0; i < unit->fieldCount; i++) {
        const ModelField* field = &unit->fields[i];
        words[field->registerIndex] = TakeField(dialog, unit, field);
        g_deviceRegisters[field->registerIndex] = words[field->registerIndex];
    }
    for (const AoutWord* word = unit->words; word->registerIndex != AOUT_END; word++) {
        g_deviceRegisters[word->registerIndex] = words[word->registerIndex];
    }
    TakeRegisterTextString(dialog, unit->textId);
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_WRITE_PROGRESS), dialog, WriteProgressDlgProc, 0);
    if (g_deviceConnected == 0) PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// ---- Settings files

// A kind character of a file field: only a '0' inside the field means 0; a missing character,
// like any other, means 1.
static WORD KindCharacter(const char* field, int position)
{
    if (position >= (int)strlen(field)) return 1;
    return field[position] == '0' ? 0 : 1;
}

static void LoadKindLine(const AoutController* unit, int registerIndex, const char* field)
{
    WORD* word = &Words(unit)[registerIndex];
    if (unit->input && registerIndex == unit->outputs[0].kindRegister) {
        *word = (WORD)(KindCharacter(field, 1) * 256 + KindCharacter(field, 0));
    } else {
        *word = KindCharacter(field, 0);
    }
}

static void LoadFileLine(HWND dialog, const AoutController* unit, const AoutFileLine* line, const char* field)
{
    const ModelField* entry = FieldOfRegister(unit, line->registerIndex);
    WORD* word = &Words(unit)[line->registerIndex];
    int number;
    switch (line->form) {
    case AOUT_FILE_FIELD_TEXT:
        if (entry) PutFieldText(dialog, unit, entry, field);
        break;
    case AOUT_FILE_ACTIVE_TIME:
        SetDlgItemTextA(dialog, unit->activeTime->controlId, field);
        *word = ActiveTimeOfFileText(field, *word);
        break;
    case AOUT_FILE_FIVE_DIGITS:
    case AOUT_FILE_NUMBER:
        if (sscanf(field, "%d", &number) == 1) *word = (WORD)number;
        break;
    case AOUT_FILE_KIND:
        LoadKindLine(unit, line->registerIndex, field);
        break;
    case AOUT_FILE_TEXT_STRING:
        LoadFileTextString(dialog, unit->textId);
        break;
    default:
        break;
    }
}

// "Setting Open": the file into the controls and values; the image changes on the next Write.
static void LoadAoutSettingsFile(HWND dialog, const AoutController* unit)
{
    char field[SETTINGS_VALUE_WIDTH + 1];
    if (!ReadModelSettingsFile(dialog, unit->designation, unit->mismatchTextId, 0)) return;
    for (const AoutFileLine* line = unit->fileLines; line->registerIndex != AOUT_END; line++) {
        GetSettingsField(SettingsLineOffset(line->registerIndex), field);
        LoadFileLine(dialog, unit, line, field);
    }
    ShowChoices(dialog, unit);
}

// The kind text of a file line: the signal, and for a byte-coded r68 the input after it.
static void FormatKindLine(const AoutController* unit, int registerIndex)
{
    WORD word = Words(unit)[registerIndex];
    if (unit->input && registerIndex == unit->outputs[0].kindRegister) {
        sprintf(g_textBuffer, "%c%c", (word & SIGNAL_BYTE) ? '1' : '0', (word & INPUT_BYTE) ? '1' : '0');
    } else {
        strcpy(g_textBuffer, OutputKindFileText(word));
    }
}

// The file text of one line, in g_textBuffer; 0 for the text string, which has its own columns.
static int FormatFileLine(HWND dialog, const AoutController* unit, const AoutFileLine* line)
{
    WORD value = Words(unit)[line->registerIndex];
    const ModelField* entry = FieldOfRegister(unit, line->registerIndex);
    switch (line->form) {
    case AOUT_FILE_FIELD_TEXT:
        g_textBuffer[0] = 0;
        if (entry) GetDlgItemTextA(dialog, entry->controlId, g_textBuffer, FIELD_TEXT_LIMIT);
        return 1;
    case AOUT_FILE_ACTIVE_TIME:
        GetDlgItemTextA(dialog, unit->activeTime->controlId, g_textBuffer, FIELD_TEXT_LIMIT);
        return 1;
    case AOUT_FILE_FIVE_DIGITS: sprintf(g_textBuffer, "%05u", (unsigned)value); return 1;
    case AOUT_FILE_COLOR_COPY: sprintf(g_textBuffer, "%05u", (unsigned)Words(unit)[REG_AOUT_COLORS]); return 1;
    case AOUT_FILE_NUMBER:
    case AOUT_FILE_CARRIED_NUMBER: sprintf(g_textBuffer, "%u", (unsigned)value); return 1;
    case AOUT_FILE_KIND: FormatKindLine(unit, line->registerIndex); return 1;
    default:
        SaveFileTextString(dialog, unit->textId);
        return 0;
    }
}

// "Setting Save": every line of the model's file from its controls and values, then the file.
static void SaveAoutSettingsFile(HWND dialog, const AoutController* unit)
{
    char header[SETTINGS_HEADER_SIZE + 1];
    snprintf(header, sizeof header, "  %-14.14s", unit->designation);
    InitSettingsFileTemplate(header);
    for (const AoutFileLine* line = unit->fileLines; line->registerIndex != AOUT_END; line++) {
        if (FormatFileLine(dialog, unit, line)) PutSettingsField(SettingsLineOffset(line->registerIndex), g_textBuffer);
    }
    WriteModelSettingsFile(dialog);
}

// ---- Commands

// A list selection of the dialog; 1 when the control is one of its lists.
static int TakeSelection(HWND dialog, const AoutController* unit, int controlId)
{
    int entry = (int)SendDlgItemMessageA(dialog, controlId, CB_GETCURSEL, 0, 0);
    WORD* words = Words(unit);
    if (entry == CB_ERR) return 0;
    if (unit->activeTime && controlId == unit->activeTime->controlId) {
        words[REG_AOUT_ACTIVE_TIME] = (WORD)((entry + 1) * AOUT_ACTIVE_TIME_STEP);
        return 1;
    }
    for (const LcdColor* color = unit->colors; color && color->controlId; color++) {
        if (controlId != color->controlId) continue;
        WORD mask = (WORD)(COLOR_NIBBLE_MASK << color->shift);
        words[color->registerIndex] = (WORD)((words[color->registerIndex] & ~mask) | ((entry << color->shift) & mask));
        SetFocus(GetDlgItem(dialog, unit->colorFocusId));
        return 1;
    }
    const AoutBargraph* bar = unit->bargraph;
    if (bar && controlId == bar->comboId) {
        words[bar->registerIndex] = (WORD)((words[bar->registerIndex] & ~BARGRAPH_KIND_MASK) | (entry & BARGRAPH_KIND_MASK));
        SetDialogItemText(dialog, bar->nameId, AOUT_BARGRAPH_KIND_TEXT_IDS[entry & BARGRAPH_KIND_MASK]);
        SetFocus(GetDlgItem(dialog, bar->nameId));
        return 1;
    }
    return 0;
}

static void CloseAoutController(HWND dialog)
{
    KillTimer(dialog, TICK_TIMER_ID);
    EndDialog(dialog, DEVICE_DIALOG_RESULT);
}

static void RouteAoutCommand(HWND dialog, const AoutController* unit, int controlId, int code)
{
    if (controlId < unit->firstCommandId || controlId > unit->lastCommandId) return;
    if (code == CBN_SELCHANGE && TakeSelection(dialog, unit, controlId)) return;
    if (code != BN_CLICKED) return;
    if (TakeKindClick(dialog, unit, controlId)) return;
    if (unit->menuId && controlId == unit->menuId) {
        Words(unit)[REG_AOUT_FLAGS] ^= 1;
        ShowMenuFlag(dialog, unit);
    } else if (controlId == unit->readId) {
        ReadAoutController(dialog, unit);
    } else if (controlId == unit->writeId) {
        WriteAoutController(dialog, unit);
    } else if (controlId == unit->openId) {
        LoadAoutSettingsFile(dialog, unit);
    } else if (controlId == unit->saveId) {
        SaveAoutSettingsFile(dialog, unit);
    } else if (controlId == unit->defaultId) {
        PutAoutDefaults(dialog, unit);
    } else if (controlId == unit->cancelId) {
        CloseAoutController(dialog);
    } else if (unit->calibrationButtonId && controlId == unit->calibrationButtonId) {
        WriteCalibrationFromField(dialog, unit->calibrationFieldId, &unit->values->calibration);
    }
}

// The registers as Default and Write would leave them (the demo device starts from them).
static void PutAoutFactorySettings(const AoutController* unit, WORD* registers)
{
    for (int i = 0; i < unit->fieldCount; i++) {
        const ModelField* field = &unit->fields[i];
        lstrcpynA(g_textBuffer, field->defaultText, FIELD_TEXT_LIMIT);
        registers[field->registerIndex] = ParseField(field, g_textBuffer, 0);
    }
    for (const AoutWord* word = unit->words; word->registerIndex != AOUT_END; word++) {
        registers[word->registerIndex] = word->value;
    }
    // The mirrored fields show their sources' values after the first tick.
    for (const AoutMirror* mirror = unit->mirrors; mirror && mirror->fromId; mirror++) {
        registers[FindField(unit, mirror->toId)->registerIndex] = registers[FindField(unit, mirror->fromId)->registerIndex];
    }
    BYTE text[TEXT_STRING_CHARS + 1] = {};
    memcpy(text, unit->defaultText, strnlen(unit->defaultText, TEXT_STRING_CHARS));
    for (int i = 0; i < TEXT_STRING_REGISTERS; i++) {
        registers[REG_TEXT_STRING + i] = (WORD)(text[2 * i] * 256 + text[2 * i + 1]);
    }
}

// The message handling every analog-output room controller shares; always 0. The owner-draw
// messages may come before WM_INITDIALOG (while the template's controls are made).
INT_PTR RunAoutControllerMessage(const AoutController* unit, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MODEL_FACTORY_SETTINGS:
        PutAoutFactorySettings(unit, (WORD*)lParam);
        return 1;
    case WM_MEASUREITEM:
        MeasurePictogramItem((MEASUREITEMSTRUCT*)lParam);
        break;
    case WM_DRAWITEM:
        DrawPictogramItem(&unit->values->bitmaps, (const DRAWITEMSTRUCT*)lParam);
        break;
    case WM_INITDIALOG:
        OpenAoutController(dialog, unit);
        break;
    case WM_TIMER:
        CheckFields(dialog, unit);
        break;
    case WM_COMMAND:
        RouteAoutCommand(dialog, unit, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_CLOSE:
        CloseAoutController(dialog);
        break;
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        FreeUnitBitmaps(&unit->values->bitmaps);
        break;
    }
    return 0;
}
