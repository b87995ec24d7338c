// Live values window: reads the device's block-1 reports and the calibration device's readings in
// turn, one exchange per 20 ms tick, and shows them with the scaling and unit of the device type.
#include "tools/live_data.h"

#include <stdio.h>
#include <stdlib.h>

#include "app/device_types.h"
#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "tools/calibrator.h"

LiveDataState g_liveData = {LIVE_STATE_IDLE, 0, 0, 0, CALIBRATOR_UNIT_VOLTAGE};

// What a row label gets at opening: untouched, blanked, hidden, or else a text id.
static const UINT LIVE_LABEL_KEEP = 0;
static const UINT LIVE_LABEL_BLANK = 1;
static const UINT LIVE_LABEL_HIDDEN = 2;

// Rows of the window, in the order of the label/value pairs of a model group.
static const int LIVE_ROW_COUNT = 4;
static const int LIVE_LABEL_IDS[LIVE_ROW_COUNT] = {IDC_LIVE_DATA_LABEL_1, IDC_LIVE_DATA_LABEL_2,
                                                   IDC_LIVE_DATA_LABEL_3, IDC_LIVE_DATA_LABEL_4};
static const int LIVE_VALUE_IDS[LIVE_ROW_COUNT] = {IDC_LIVE_DATA_VALUE_1, IDC_LIVE_DATA_VALUE_2,
                                                   IDC_LIVE_DATA_VALUE_3, IDC_LIVE_DATA_VALUE_4};
static const int LIVE_BLANKED_VALUE_IDS[] = {IDC_LIVE_DATA_VALUE_1, IDC_LIVE_DATA_VALUE_2,
                                             IDC_LIVE_DATA_VALUE_3, 0};
static const char LIVE_BLANK_VALUE[] = "                ";
static const int CALIBRATOR_ROW_IDS[] = {IDC_LIVE_DATA_VALUE_4, IDC_LIVE_DATA_LABEL_4, IDC_LIVE_DATA_U1,
                                         IDC_LIVE_DATA_U2, IDC_LIVE_DATA_I1, IDC_LIVE_DATA_I2, 0};

// Shown values: bit n stands for the value of row n (1007, 1008, 1009, 1010).
static const BYTE ROW_1 = 1, ROW_2 = 2, ROW_3 = 4, ROW_4 = 8;

static const BYTE TYPE_LIST_END = 0xFF;
static const int MAX_LIVE_RULES = 4;

// One value of a model: which edit shows it, how it is read, from which register of block 1.
struct LiveValueRule {
    int editId;
    BYTE kind;
    BYTE registerIndex;
};

// The models that share one arrangement of labels, shown rows and values.
struct LiveModelGroup {
    BYTE types[8];  // ends with TYPE_LIST_END; an empty list is the group of every other type
    UINT labels[LIVE_ROW_COUNT];
    BYTE shownRows;
    LiveValueRule rules[MAX_LIVE_RULES];
    int ruleCount;
};

static const LiveModelGroup LIVE_MODEL_GROUPS[] = {
    {{DEVICE_TYPE_LO2, TYPE_LIST_END},
     {IDS_LIVE_LABEL_FREQUENCY, IDS_LIVE_LABEL_FREQUENCY, LIVE_LABEL_BLANK, LIVE_LABEL_KEEP},
     ROW_1 | ROW_2,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_FREQUENCY, 0}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_FREQUENCY, 2}},
     2},
    {{DEVICE_TYPE_TKDG, DEVICE_TYPE_KDG, DEVICE_TYPE_LBKDG1K, DEVICE_TYPE_LBKDG1KS, DEVICE_TYPE_LBKDO,
      DEVICE_TYPE_LBKDOS, DEVICE_TYPE_KDG1KY, TYPE_LIST_END},
     {IDS_LIVE_LABEL_TEMPERATURE, IDS_LIVE_LABEL_HUMIDITY, IDS_LIVE_LABEL_CO2, LIVE_LABEL_KEEP},
     ROW_1 | ROW_2 | ROW_3,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_TEMPERATURE, 0}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_HUMIDITY, 1},
      {IDC_LIVE_DATA_VALUE_3, LIVE_VALUE_CO2, 5}},
     3},
    {{DEVICE_TYPE_TKRG, DEVICE_TYPE_KRG, TYPE_LIST_END},
     {IDS_LIVE_LABEL_CO2, LIVE_LABEL_BLANK, LIVE_LABEL_BLANK, LIVE_LABEL_KEEP},
     ROW_1,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_CO2, 5}},
     1},
    {{DEVICE_TYPE_TYSO, DEVICE_TYPE_TYSG, TYPE_LIST_END},
     {IDS_LIVE_LABEL_AIR_SPEED, LIVE_LABEL_BLANK, LIVE_LABEL_BLANK, LIVE_LABEL_KEEP},
     ROW_1,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_AIR_SPEED, 6}},
     1},
    {{DEVICE_TYPE_TQSRO, DEVICE_TYPE_TQSRG, TYPE_LIST_END},
     {IDS_LIVE_LABEL_LIGHT, LIVE_LABEL_BLANK, LIVE_LABEL_BLANK, LIVE_LABEL_KEEP},
     ROW_1,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_LIGHT, 2}},
     1},
    {{DEVICE_TYPE_GQKE1, TYPE_LIST_END},
     {IDS_LIVE_LABEL_RMS_CURRENT, LIVE_LABEL_BLANK, LIVE_LABEL_BLANK, LIVE_LABEL_KEEP},
     ROW_1,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_CURRENT, 0}},
     1},
    {{DEVICE_TYPE_RMG1A, DEVICE_TYPE_T1CGA, TYPE_LIST_END},
     {IDS_LIVE_LABEL_TEMPERATURE, LIVE_LABEL_BLANK, LIVE_LABEL_BLANK, LIVE_LABEL_BLANK},
     ROW_1,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_TEMPERATURE, 0}},
     1},
    {{DEVICE_TYPE_DMG1T, TYPE_LIST_END},
     {IDS_LIVE_LABEL_TEMPERATURE, IDS_LIVE_LABEL_HUMIDITY, LIVE_LABEL_BLANK, IDS_LIVE_LABEL_POTENTIOMETER},
     ROW_1 | ROW_2 | ROW_4,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_TEMPERATURE, 0}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_HUMIDITY, 1},
      {IDC_LIVE_DATA_VALUE_4, LIVE_VALUE_POTENTIOMETER, 8}},
     3},
    {{DEVICE_TYPE_TODG, DEVICE_TYPE_ODG, TYPE_LIST_END},
     {IDS_LIVE_LABEL_TEMPERATURE, IDS_LIVE_LABEL_HUMIDITY, LIVE_LABEL_HIDDEN, IDS_LIVE_LABEL_TVOC},
     ROW_1 | ROW_2 | ROW_4,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_TEMPERATURE, 0}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_HUMIDITY, 1},
      {IDC_LIVE_DATA_VALUE_4, LIVE_VALUE_TVOC, 2}},
     3},
    // The LB variants keep their VOC value one register further on.
    {{DEVICE_TYPE_LBODG1K, DEVICE_TYPE_LBODO, TYPE_LIST_END},
     {IDS_LIVE_LABEL_TEMPERATURE, IDS_LIVE_LABEL_HUMIDITY, LIVE_LABEL_HIDDEN, IDS_LIVE_LABEL_TVOC},
     ROW_1 | ROW_2 | ROW_4,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_TEMPERATURE, 0}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_HUMIDITY, 1},
      {IDC_LIVE_DATA_VALUE_4, LIVE_VALUE_TVOC, 3}},
     3},
    {{DEVICE_TYPE_TORG, DEVICE_TYPE_ORG, TYPE_LIST_END},
     {LIVE_LABEL_BLANK, LIVE_LABEL_BLANK, LIVE_LABEL_BLANK, IDS_LIVE_LABEL_TVOC},
     ROW_4,
     {{IDC_LIVE_DATA_VALUE_4, LIVE_VALUE_TVOC, 2}},
     1},
    {{DEVICE_TYPE_TNTDG, TYPE_LIST_END},
     {IDS_LIVE_LABEL_TEMPERATURE, IDS_LIVE_LABEL_HUMIDITY, IDS_LIVE_LABEL_PM10, IDS_LIVE_LABEL_PARTICLE_SIZE},
     ROW_1 | ROW_2 | ROW_3 | ROW_4,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_TEMPERATURE, 0}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_HUMIDITY, 1},
      {IDC_LIVE_DATA_VALUE_3, LIVE_VALUE_PARTICLES, 5}, {IDC_LIVE_DATA_VALUE_4, LIVE_VALUE_PARTICLE_SIZE, 11}},
     4},
    {{DEVICE_TYPE_TNTRG, TYPE_LIST_END},
     {IDS_LIVE_LABEL_PM25, IDS_LIVE_LABEL_PM40, IDS_LIVE_LABEL_PM1, IDS_LIVE_LABEL_PM10},
     ROW_1 | ROW_2 | ROW_3 | ROW_4,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_PARTICLES, 3}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_PARTICLES, 4},
      {IDC_LIVE_DATA_VALUE_3, LIVE_VALUE_PARTICLES, 2}, {IDC_LIVE_DATA_VALUE_4, LIVE_VALUE_PARTICLES, 5}},
     4},
    // Every other type: temperature and humidity.
    {{TYPE_LIST_END},
     {IDS_LIVE_LABEL_TEMPERATURE, IDS_LIVE_LABEL_HUMIDITY, LIVE_LABEL_BLANK, LIVE_LABEL_KEEP},
     ROW_1 | ROW_2,
     {{IDC_LIVE_DATA_VALUE_1, LIVE_VALUE_TEMPERATURE, 0}, {IDC_LIVE_DATA_VALUE_2, LIVE_VALUE_HUMIDITY, 1}},
     2},
};
static const int LIVE_MODEL_GROUP_COUNT = sizeof(LIVE_MODEL_GROUPS) / sizeof(LIVE_MODEL_GROUPS[0]);

// The group of a device type; the last group takes every type no other group names.
static const LiveModelGroup* FindLiveModelGroup(BYTE deviceType)
{
    for (int g = 0; g < LIVE_MODEL_GROUP_COUNT - 1; g++) {
        for (int t = 0; LIVE_MODEL_GROUPS[g].types[t] != TYPE_LIST_END; t++) {
            if (LIVE_MODEL_GROUPS[g].types[t] == deviceType) return &LIVE_MODEL_GROUPS[g];
        }
    }
    return &LIVE_MODEL_GROUPS[LIVE_MODEL_GROUP_COUNT - 1];
}

// Register k of a block report, big-endian in bytes 2k+1 and 2k+2, as an unsigned word.
int ReadReportWord(const BYTE* report, int registerIndex)
{
    return (report[2 * registerIndex + 1] << 8) | report[2 * registerIndex + 2];
}

// The same word read as a two's-complement value.
int ReadReportSignedWord(const BYTE* report, int registerIndex)
{
    return (short)ReadReportWord(report, registerIndex);
}

// Writes one measured value of a block-1 report with its scaling and unit ("," as decimal mark).
void FormatLiveValue(BYTE kind, const BYTE* report, int registerIndex, WCHAR* text)
{
    int word = ReadReportWord(report, registerIndex);
    int value = ReadReportSignedWord(report, registerIndex);
    int magnitude = abs(value);
    switch (kind) {
    case LIVE_VALUE_TEMPERATURE:
        if (value >= 0)
            swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d,%d  \u00B0C", value / 10, value % 10);
        else
            swprintf(text, LIVE_VALUE_TEXT_CHARS, L"- %d,%d  \u00B0C", magnitude / 10, magnitude % 10);
        break;
    case LIVE_VALUE_HUMIDITY:
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d,%d  %%RH", word / 10, word % 10);
        break;
    case LIVE_VALUE_FREQUENCY: {
        int frequency = word + 65536 * (ReadReportWord(report, registerIndex + 1) & 0xFF);
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d,%d  Hz", frequency / 10, frequency % 10);
        break;
    }
    case LIVE_VALUE_AIR_SPEED:
        // The sign stands right before the integer part, so -0.05 keeps its minus.
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %ls%d,%d%d  m/s", value < 0 ? L"-" : L"", magnitude / 100,
                 (magnitude / 10) % 10, magnitude % 10);
        break;
    case LIVE_VALUE_LIGHT:
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d lx", word);
        break;
    case LIVE_VALUE_CO2:
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d  ppm", value);
        break;
    case LIVE_VALUE_CURRENT:
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d  mA", value);
        break;
    case LIVE_VALUE_TVOC:
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d  ppb", value);
        break;
    case LIVE_VALUE_PARTICLES:
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d,%d  ug/m3", word / 10, word % 10);
        break;
    case LIVE_VALUE_PARTICLE_SIZE:
        swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d,%d  um", word / 10, word % 10);
        break;
    case LIVE_VALUE_POTENTIOMETER:
        // From -1.0 down the integer part carries the sign; above it the minus is written apart.
        if (value < 0 && value > -10)
            swprintf(text, LIVE_VALUE_TEXT_CHARS, L" -%d,%d ", magnitude / 10, magnitude % 10);
        else
            swprintf(text, LIVE_VALUE_TEXT_CHARS, L" %d,%d ", value / 10, magnitude % 10);
        break;
    default:
        text[0] = 0;
        break;
    }
}

// Shows or hides every control of a zero-terminated id list.
void ShowLiveControls(HWND dialog, const int* ids, int show)
{
    for (int i = 0; ids[i] != 0; i++) ShowWindow(GetDlgItem(dialog, ids[i]), show ? SW_SHOW : SW_HIDE);
}

// Writes the row labels of the device type and shows only the rows it uses.
static void ArrangeLiveRows(HWND dialog, const LiveModelGroup* group)
{
    for (int row = 0; row < LIVE_ROW_COUNT; row++) {
        UINT label = group->labels[row];
        int shown = (group->shownRows >> row) & 1;
        if (label == LIVE_LABEL_BLANK)
            SetDlgItemTextA(dialog, LIVE_LABEL_IDS[row], "");
        else if (label == LIVE_LABEL_HIDDEN)
            ShowWindow(GetDlgItem(dialog, LIVE_LABEL_IDS[row]), SW_HIDE);
        else if (label != LIVE_LABEL_KEEP)
            SetDialogItemText(dialog, LIVE_LABEL_IDS[row], label);
        ShowWindow(GetDlgItem(dialog, LIVE_VALUE_IDS[row]), shown ? SW_SHOW : SW_HIDE);
        // The fourth label belongs to its value: both are hidden in the template.
        if (row == LIVE_ROW_COUNT - 1) ShowWindow(GetDlgItem(dialog, LIVE_LABEL_IDS[row]), shown ? SW_SHOW : SW_HIDE);
    }
}

// Writes the values of the device type from the block-1 report just read.
static void ShowLiveValues(HWND dialog, const LiveModelGroup* group)
{
    WCHAR text[LIVE_VALUE_TEXT_CHARS];
    for (int i = 0; i < group->ruleCount; i++) {
        const LiveValueRule* rule = &group->rules[i];
        FormatLiveValue(rule->kind, g_inputReport, rule->registerIndex, text);
        SetDlgItemTextW(dialog, rule->editId, text);
    }
}

// Marks the calibration device absent and hides its row; the device values go on.
static void DropCalibrator(HWND dialog)
{
    g_liveData.calibratorPresent = 0;
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    ShowLiveControls(dialog, CALIBRATOR_ROW_IDS, 0);
}

// Every way out of the window: no tick, no open slot, result TOOL_DIALOG_RESULT.
static void EndLiveData(HWND dialog)
{
    g_liveData.state = LIVE_STATE_IDLE;
    KillTimer(dialog, TICK_TIMER_ID);
    CloseHidSlot(HID_SLOT_DEVICE);
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    EndDialog(dialog, TOOL_DIALOG_RESULT);
}

// A failed device exchange: stop the ticks' work, tell the user, then ask to be closed.
static void FailLiveData(HWND dialog, UINT textId)
{
    g_liveData.state = LIVE_STATE_IDLE;
    ShowMessage(dialog, textId, IDS_LIVE_CAPTION_DATA_READ_INFO, MB_ICONERROR);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// Opening: blank values, the first tick, the device slot, the rows of the type, and the search
// for a calibration device that carries the presence mark.
static void OpenLiveData(HWND dialog)
{
    for (int i = 0; LIVE_BLANKED_VALUE_IDS[i] != 0; i++) SetDlgItemTextA(dialog, LIVE_BLANKED_VALUE_IDS[i], LIVE_BLANK_VALUE);
    g_liveData.state = LIVE_STATE_IDLE;
    SetTimer(dialog, TICK_TIMER_ID, DIALOG_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
    g_liveData.state = LIVE_STATE_START;
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    ArrangeLiveRows(dialog, FindLiveModelGroup(g_deviceType));
    g_liveData.calibratorPresent = (BYTE)(FindCalibrator() && CheckCalibratorPresenceMark());
    if (!g_liveData.calibratorPresent) CloseHidSlot(HID_SLOT_CALIBRATOR);
}

// First tick: the device starts sending block-1 reports; a present calibration device starts its
// readings on U1, and its row appears when that selection went through.
static void StartLiveReadings(HWND dialog)
{
    PrepareFeatureCommand(CMD_READ_BLOCK, LIVE_VALUES_BLOCK, REPORT_MAGIC);
    g_liveData.lastResult = (BYTE)SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
    if (g_liveData.lastResult != 1) {
        FailLiveData(dialog, IDS_LIVE_POINTER_ERROR);
        return;
    }
    g_liveData.waitTicks = LIVE_START_DELAY_TICKS;
    g_liveData.state = LIVE_STATE_WAIT;
    if (!g_liveData.calibratorPresent) return;

    StartCalibratorReadings();  // its result is not looked at; the selection decides
    g_liveData.calibratorPresent = (BYTE)SelectCalibratorChannel(CALIBRATOR_CHANNEL_U1);
    if (g_liveData.calibratorPresent != 1) {
        DropCalibrator(dialog);
        return;
    }
    SetDialogItemText(dialog, IDC_LIVE_DATA_LABEL_4, IDS_CALIBRATOR_ROW_U1);
    g_liveData.calibratorUnit = CALIBRATOR_UNIT_VOLTAGE;
    ShowLiveControls(dialog, CALIBRATOR_ROW_IDS, 1);
}

// Reads the device's next block-1 report. The device keeps sending them after the one command.
static void ReadLiveDevice(HWND dialog)
{
    DWORD bytesRead = 0;
    g_liveData.lastResult = (BYTE)(OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE) &&
                                   ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &bytesRead, HID_SLOT_DEVICE));
    if (g_liveData.lastResult != 1) {
        FailLiveData(dialog, IDS_LIVE_MEASURE_READ_ERROR);
        return;
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    ShowLiveValues(dialog, FindLiveModelGroup(g_deviceType));
    if (g_liveData.calibratorPresent) g_liveData.state = LIVE_STATE_READ_CALIBRATOR;
}

// Reads the calibration device's next reading into the fourth row, in the unit now selected.
static void ReadLiveCalibrator(HWND dialog)
{
    char text[CALIBRATOR_READING_TEXT_SIZE];
    g_liveData.state = LIVE_STATE_READ_DEVICE;
    // A channel button may have lost the calibration device since the last device read.
    if (!g_liveData.calibratorPresent) return;
    g_liveData.lastResult = (BYTE)(OpenHidPath(g_hidSlotListIndex[HID_SLOT_CALIBRATOR], HID_SLOT_CALIBRATOR) &&
                                   ReadCalibratorReport());
    if (g_liveData.lastResult != 1) {
        DropCalibrator(dialog);
        ShowMessage(dialog, IDS_LIVE_ANALOG_READ_ERROR, IDS_LIVE_CAPTION_DATA_READ_INFO, MB_ICONERROR);
        return;
    }
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    FormatCalibratorReading(GetCalibratorReadingValue(g_inputReport), g_liveData.calibratorUnit, text);
    SetDlgItemTextA(dialog, IDC_LIVE_DATA_VALUE_4, text);
}

// One step of the window's state machine per tick.
static void RunLiveTick(HWND dialog)
{
    switch (g_liveData.state) {
    case LIVE_STATE_START:
        StartLiveReadings(dialog);
        break;
    case LIVE_STATE_WAIT:
        if (g_liveData.waitTicks != 0)
            g_liveData.waitTicks--;
        else
            g_liveData.state = LIVE_STATE_READ_DEVICE;
        break;
    case LIVE_STATE_READ_DEVICE:
        ReadLiveDevice(dialog);
        break;
    case LIVE_STATE_READ_CALIBRATOR:
        ReadLiveCalibrator(dialog);
        break;
    default:
        break;
    }
}

// A channel button: new row label and unit (from the next reading on), then the selection.
static void OnLiveChannelButton(HWND dialog, const CalibratorChannelInfo* channel)
{
    int selected;
    SetDialogItemText(dialog, IDC_LIVE_DATA_LABEL_4, channel->rowLabelTextId);
    g_liveData.calibratorUnit = channel->unit;
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_CALIBRATOR], HID_SLOT_CALIBRATOR);
    selected = SelectCalibratorChannel(channel->code);
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    if (selected != 1) {
        DropCalibrator(dialog);
        ShowMessage(dialog, IDS_LIVE_CHANNEL_SELECT_ERROR, IDS_LIVE_CAPTION_DATA_READ_INFO, MB_ICONERROR);
    }
}

// The live values window (template 106); ends with TOOL_DIALOG_RESULT on Cancel, on the close box
// and after a failure (the default handling turns the close request into Cancel).
INT_PTR CALLBACK LiveDataDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenLiveData(dialog);
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunLiveTick(dialog);
        break;
    case WM_COMMAND: {
        const CalibratorChannelInfo* channel = FindCalibratorChannelByButton(LOWORD(wParam));
        if (LOWORD(wParam) == IDCANCEL)
            EndLiveData(dialog);
        else if (channel && HIWORD(wParam) == BN_CLICKED)
            OnLiveChannelButton(dialog, channel);
        break;
    }
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        break;
    default:
        break;
    }
    return 0;
}
