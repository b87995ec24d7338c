// Analog-output writer: sets the device's write pointer to block 1 once, reads the ranges and kinds
// of both outputs from blocks 4, 5 and 7, then writes the typed values on request and shows the
// calibration device's reading of the selected output, one exchange per 20 ms tick.
#include "tools/analog_output_writer.h"

#include <stdio.h>
#include <stdlib.h>

#include "kit/shared_records.h"
#include "kit/fixed_point.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "tools/calibrator.h"
#include "tools/live_data.h"

AoWriterRecord g_aoWriter = {AO_WRITER_IDLE, AO_WRITER_IDLE, 0, 0, 0, CALIBRATOR_UNIT_VOLTAGE, {0, 0}};

static const SHORT AO_VALUE_HIGH = 32767;
static const SHORT AO_VALUE_LOW = -32768;
static const int AO_TEXT_CHARS = 64;

// Per output: its value field, its write button and where its value sits in the output report.
struct AoChannel {
    int valueId;
    int buttonId;
    int reportOffset;
};
static const AoChannel AO_CHANNELS[AO_WRITER_CHANNEL_COUNT] = {
    {IDC_AO_WRITE_VALUE_0, IDC_AO_WRITE_SEND_0, 1},
    {IDC_AO_WRITE_VALUE_1, IDC_AO_WRITE_SEND_1, 3},
};

// The calibration-device channel buttons, in the order of CALIBRATOR_CHANNELS (U1, U2, I1, I2).
static const int AO_CHANNEL_BUTTON_IDS[CALIBRATOR_CHANNEL_COUNT] = {IDC_AO_WRITE_U1, IDC_AO_WRITE_U2,
                                                                    IDC_AO_WRITE_I1, IDC_AO_WRITE_I2};
static const int AO_CALIBRATOR_ROW_IDS[] = {IDC_AO_WRITE_CAL_VALUE, IDC_AO_WRITE_CAL_LABEL, IDC_AO_WRITE_U1,
                                            IDC_AO_WRITE_U2, IDC_AO_WRITE_I1, IDC_AO_WRITE_I2, 0};

// The register blocks read for the display: the state that asks for each, and the message of a
// refused request (the first one is still named after the pointer).
struct AoBlockStep {
    BYTE askState;
    BYTE block;
    UINT askErrorTextId;
};
static const AoBlockStep AO_BLOCK_STEPS[] = {
    {AO_WRITER_ASK_BLOCK4, 4, IDS_AO_WRITE_POINTER_ERROR},
    {AO_WRITER_ASK_BLOCK5, 5, IDS_AO_READ_ERROR},
    {AO_WRITER_ASK_BLOCK7, 7, IDS_AO_READ_ERROR},
};
static const int AO_BLOCK_STEP_COUNT = sizeof(AO_BLOCK_STEPS) / sizeof(AO_BLOCK_STEPS[0]);

// How a shown register (or register pair) of a block is written.
enum AoFieldKind {
    AO_FIELD_INPUT_RANGE = 0,   // two raw words: low, high
    AO_FIELD_KIND,              // one word: 1 is a voltage output, anything else current
    AO_FIELD_OUTPUT_RANGE,      // two words in tenths: low, high
};

struct AoField {
    BYTE block;
    BYTE registerIndex;  // within the block report
    int controlId;
    BYTE kind;
};
static const AoField AO_FIELDS[] = {
    {4, 12, IDC_AO_WRITE_INPUT_RANGE_0, AO_FIELD_INPUT_RANGE},   // r52, r53
    {4, 14, IDC_AO_WRITE_INPUT_RANGE_1, AO_FIELD_INPUT_RANGE},   // r54, r55
    {5, 12, IDC_AO_WRITE_UNIT_0, AO_FIELD_KIND},                 // r68
    {5, 13, IDC_AO_WRITE_UNIT_1, AO_FIELD_KIND},                 // r69
    {7, 4, IDC_AO_WRITE_OUTPUT_RANGE_0, AO_FIELD_OUTPUT_RANGE},  // r92, r93
    {7, 6, IDC_AO_WRITE_OUTPUT_RANGE_1, AO_FIELD_OUTPUT_RANGE},  // r94, r95
};
static const int AO_FIELD_COUNT = sizeof(AO_FIELDS) / sizeof(AO_FIELDS[0]);
static const BYTE AO_KIND_VOLTAGE = 1;

// Every way out of the window: no tick, no open slot, result TOOL_DIALOG_RESULT.
static void EndAoWriter(HWND dialog)
{
    g_aoWriter.state = AO_WRITER_IDLE;
    KillTimer(dialog, TICK_TIMER_ID);
    CloseHidSlot(HID_SLOT_DEVICE);
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    EndDialog(dialog, TOOL_DIALOG_RESULT);
}

// A failed device exchange: the slot is already closed; stop the ticks' work, tell the user, then
// ask to be closed. `dropConnection` tells the main window the device is gone.
static void FailAoWriter(HWND dialog, UINT textId, int dropConnection)
{
    CloseHidSlot(HID_SLOT_DEVICE);
    g_aoWriter.state = AO_WRITER_IDLE;
    if (dropConnection) g_deviceConnected = 0;
    ShowMessage(dialog, textId, IDS_AO_WRITE_CAPTION, MB_ICONERROR);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// Marks the calibration device absent and hides its row; the writer goes on without it.
static void DropAoCalibrator(HWND dialog)
{
    g_aoWriter.calibratorPresent = 0;
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    ShowLiveControls(dialog, AO_CALIBRATOR_ROW_IDS, 0);
}

// One feature command to the device on a freshly opened slot, closed again whatever happened.
static int SendAoDeviceCommand(BYTE command, BYTE block)
{
    int result = OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    if (result) {
        PrepareFeatureCommand(command, block, REPORT_MAGIC);
        result = SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    return result == 1;
}

// Waits the step delay, then enters `next`.
static void WaitThen(BYTE next)
{
    g_aoWriter.waitTicks = AO_WRITER_STEP_DELAY_TICKS;
    g_aoWriter.nextState = next;
    g_aoWriter.state = AO_WRITER_WAIT;
}

// Writes tenths as "units,tenth"; the sign stands apart so -0,5 keeps its minus and no digit
// after the comma is negative.
static void SplitTenths(int value, const WCHAR** sign, int* units, int* tenth)
{
    *sign = value < 0 ? L"-" : L"";
    *units = abs(value) / 10;
    *tenth = abs(value) % 10;
}

// Writes one display field from the block report just read.
static void ShowAoField(HWND dialog, const AoField* field)
{
    WCHAR format[AO_TEXT_CHARS];
    WCHAR text[AO_TEXT_CHARS];
    int low = ReadReportSignedWord(g_inputReport, field->registerIndex);
    int high = ReadReportSignedWord(g_inputReport, field->registerIndex + 1);
    switch (field->kind) {
    case AO_FIELD_INPUT_RANGE:
        LoadEditionText(IDS_AO_INPUT_RANGE, format, AO_TEXT_CHARS);
        swprintf(text, AO_TEXT_CHARS, format, low, high);
        break;
    case AO_FIELD_KIND:
        swprintf(text, AO_TEXT_CHARS, L"%ls", low == AO_KIND_VOLTAGE ? L"V" : L"mA");
        break;
    default: {
        const WCHAR *lowSign, *highSign;
        int lowUnits, lowTenth, highUnits, highTenth;
        SplitTenths(low, &lowSign, &lowUnits, &lowTenth);
        SplitTenths(high, &highSign, &highUnits, &highTenth);
        LoadEditionText(IDS_AO_OUTPUT_RANGE, format, AO_TEXT_CHARS);
        swprintf(text, AO_TEXT_CHARS, format, lowSign, lowUnits, lowTenth, highSign, highUnits, highTenth);
        break;
    }
    }
    SetDlgItemTextW(dialog, field->controlId, text);
}

// Opening: both values 0, the search for the calibration device, and the first tick at once.
static void OpenAoWriter(HWND dialog)
{
    for (int c = 0; c < AO_WRITER_CHANNEL_COUNT; c++) {
        SetDlgItemTextA(dialog, AO_CHANNELS[c].valueId, "0");
        g_outputReport[AO_CHANNELS[c].reportOffset] = 0;
        g_outputReport[AO_CHANNELS[c].reportOffset + 1] = 0;
        g_aoWriter.lastValues[c] = 0;
    }
    g_aoWriter.state = AO_WRITER_SET_WRITE_POINTER;
    // Any device with the calibrator's ids counts; no product-string test here.
    g_aoWriter.calibratorPresent = (BYTE)FindCalibrator();
    if (!g_aoWriter.calibratorPresent) CloseHidSlot(HID_SLOT_CALIBRATOR);
    SetTimer(dialog, TICK_TIMER_ID, DIALOG_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
}

// First step: points the device's writes at block 1 (every output report relies on it), then
// starts the calibration device's readings on U1; its row appears when that selection went through.
static void SetAoWritePointer(HWND dialog)
{
    g_aoWriter.lastResult = (BYTE)SendAoDeviceCommand(CMD_WRITE_BLOCK, AO_WRITER_OUTPUT_BLOCK);
    if (g_aoWriter.lastResult != 1) {
        FailAoWriter(dialog, IDS_AO_WRITE_POINTER_ERROR, 0);  // the connection flag is kept here
        return;
    }
    WaitThen(AO_WRITER_ASK_BLOCK4);
    if (!g_aoWriter.calibratorPresent) return;

    StartCalibratorReadings();  // its result is not looked at; the selection decides
    g_aoWriter.calibratorPresent = (BYTE)SelectCalibratorChannel(CALIBRATOR_CHANNEL_U1);
    CloseHidSlot(HID_SLOT_CALIBRATOR);  // reopened around each later exchange
    if (g_aoWriter.calibratorPresent != 1) {
        DropAoCalibrator(dialog);
        return;
    }
    SetDialogItemText(dialog, IDC_AO_WRITE_CAL_LABEL, IDS_CALIBRATOR_ROW_U1);
    g_aoWriter.calibratorUnit = CALIBRATOR_UNIT_VOLTAGE;
    ShowLiveControls(dialog, AO_CALIBRATOR_ROW_IDS, 1);
}

// Asks the device for the next block of ranges.
static void AskAoBlock(HWND dialog, const AoBlockStep* step)
{
    g_aoWriter.lastResult = (BYTE)SendAoDeviceCommand(CMD_READ_BLOCK, step->block);
    if (g_aoWriter.lastResult != 1) {
        FailAoWriter(dialog, step->askErrorTextId, 1);
        return;
    }
    WaitThen((BYTE)(step->askState + 1));
}

// Reads the block asked for and shows its fields; after block 7 the calibration device's
// readings follow when it is present.
static void ReadAoBlock(HWND dialog, const AoBlockStep* step)
{
    DWORD bytesRead = 0;
    g_aoWriter.lastResult = (BYTE)(OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE) &&
                                   ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &bytesRead, HID_SLOT_DEVICE));
    CloseHidSlot(HID_SLOT_DEVICE);
    if (g_aoWriter.lastResult != 1) {
        FailAoWriter(dialog, IDS_AO_READ_ERROR, 1);
        return;
    }
    for (int f = 0; f < AO_FIELD_COUNT; f++) {
        if (AO_FIELDS[f].block == step->block) ShowAoField(dialog, &AO_FIELDS[f]);
    }
    if (step->askState == AO_WRITER_ASK_BLOCK7)
        g_aoWriter.state = g_aoWriter.calibratorPresent ? AO_WRITER_READ_CALIBRATOR : AO_WRITER_IDLE;
    else
        g_aoWriter.state = (BYTE)(step->askState + 2);
}

// Reads the calibration device's next reading into its row, in the unit now selected.
static void ReadAoCalibrator(HWND dialog)
{
    char text[CALIBRATOR_READING_TEXT_SIZE];
    // A channel button may have lost the calibration device since the last tick.
    if (!g_aoWriter.calibratorPresent) {
        g_aoWriter.state = AO_WRITER_IDLE;
        return;
    }
    g_aoWriter.lastResult = (BYTE)(OpenHidPath(g_hidSlotListIndex[HID_SLOT_CALIBRATOR], HID_SLOT_CALIBRATOR) &&
                                   ReadCalibratorReport());
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    if (g_aoWriter.lastResult != 1) {
        g_aoWriter.state = AO_WRITER_IDLE;
        DropAoCalibrator(dialog);
        ShowMessage(dialog, IDS_LIVE_ANALOG_READ_ERROR, IDS_AO_WRITE_CAPTION, MB_ICONERROR);
        return;
    }
    FormatCalibratorReading(GetCalibratorReadingValue(g_inputReport), g_aoWriter.calibratorUnit, text);
    SetDlgItemTextA(dialog, IDC_AO_WRITE_CAL_VALUE, text);
}

// The block step that asks in, or reads after, this state; null for the other states.
static const AoBlockStep* FindAoBlockStep(BYTE state)
{
    for (int s = 0; s < AO_BLOCK_STEP_COUNT; s++) {
        if (state == AO_BLOCK_STEPS[s].askState || state == AO_BLOCK_STEPS[s].askState + 1) return &AO_BLOCK_STEPS[s];
    }
    return NULL;
}

// One tick: the range checks of both values first (so a typed value is clamped within 20 ms),
// then one step of the state machine.
static void RunAoWriterTick(HWND dialog)
{
    for (int c = 0; c < AO_WRITER_CHANNEL_COUNT; c++)
        ValidateSignedField(dialog, AO_CHANNELS[c].valueId, AO_VALUE_HIGH, AO_VALUE_LOW);
    const AoBlockStep* step = FindAoBlockStep(g_aoWriter.state);
    switch (g_aoWriter.state) {
    case AO_WRITER_SET_WRITE_POINTER:
        SetAoWritePointer(dialog);
        break;
    case AO_WRITER_WAIT:
        if (g_aoWriter.waitTicks != 0)
            g_aoWriter.waitTicks--;
        else
            g_aoWriter.state = g_aoWriter.nextState;
        break;
    case AO_WRITER_ASK_BLOCK4:
    case AO_WRITER_ASK_BLOCK5:
    case AO_WRITER_ASK_BLOCK7:
        AskAoBlock(dialog, step);
        break;
    case AO_WRITER_READ_BLOCK4:
    case AO_WRITER_READ_BLOCK5:
    case AO_WRITER_READ_BLOCK7:
        ReadAoBlock(dialog, step);
        break;
    case AO_WRITER_READ_CALIBRATOR:
        ReadAoCalibrator(dialog);
        break;
    default:
        break;
    }
}

// A write button: the typed value goes out in its place of the output report, beside the other
// output's last value. The range check runs first as well: a value typed and sent between two
// ticks would otherwise leave with its high bits cut off.
static void WriteAoChannel(HWND dialog, int channel)
{
    char text[AO_WRITER_VALUE_CHARS + 1];
    int value = 0;
    DWORD bytesWritten = 0;
    const AoChannel* info = &AO_CHANNELS[channel];
    ValidateSignedField(dialog, info->valueId, AO_VALUE_HIGH, AO_VALUE_LOW);
    text[0] = 0;
    GetDlgItemTextA(dialog, info->valueId, text, sizeof(text));
    if (sscanf(text, "%d", &value) != 1) value = 0;
    g_aoWriter.lastValues[channel] = (WORD)(value & 0xFFFF);
    g_outputReport[info->reportOffset] = (BYTE)(g_aoWriter.lastValues[channel] >> 8);
    g_outputReport[info->reportOffset + 1] = (BYTE)(g_aoWriter.lastValues[channel] & 0xFF);
    g_aoWriter.lastResult =
        (BYTE)(OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE) &&
               WriteHidReport(g_outputReport, DATA_REPORT_SIZE, &bytesWritten, HID_SLOT_DEVICE));
    CloseHidSlot(HID_SLOT_DEVICE);
    if (g_aoWriter.lastResult != 1) FailAoWriter(dialog, IDS_AO_WRITE_ERROR, 1);
}

// A channel button: new row label and unit (from the next reading on), then the selection.
static void SelectAoCalibratorChannel(HWND dialog, int index)
{
    const CalibratorChannelInfo* channel = &CALIBRATOR_CHANNELS[index];
    int selected;
    if (!g_aoWriter.calibratorPresent) return;  // its buttons are hidden then
    SetDialogItemText(dialog, IDC_AO_WRITE_CAL_LABEL, channel->rowLabelTextId);
    g_aoWriter.calibratorUnit = channel->unit;
    selected = OpenHidPath(g_hidSlotListIndex[HID_SLOT_CALIBRATOR], HID_SLOT_CALIBRATOR) &&
               SelectCalibratorChannel(channel->code);
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    if (selected != 1) {
        DropAoCalibrator(dialog);
        ShowMessage(dialog, IDS_LIVE_CHANNEL_SELECT_ERROR, IDS_AO_WRITE_CAPTION, MB_ICONERROR);
    }
}

// Routes a command: Cancel (and the close request the default handling turns into it), the two
// write buttons and the four channel buttons.
static void OnAoWriterCommand(HWND dialog, int id, int code)
{
    if (id == IDCANCEL) {
        EndAoWriter(dialog);
        return;
    }
    if (code != BN_CLICKED) return;
    for (int c = 0; c < AO_WRITER_CHANNEL_COUNT; c++) {
        if (id == AO_CHANNELS[c].buttonId) WriteAoChannel(dialog, c);
    }
    for (int b = 0; b < CALIBRATOR_CHANNEL_COUNT; b++) {
        if (id == AO_CHANNEL_BUTTON_IDS[b]) SelectAoCalibratorChannel(dialog, b);
    }
}

// The analog-output writer (template 134); ends with TOOL_DIALOG_RESULT on Cancel, on the close
// box and after a failure.
INT_PTR CALLBACK AnalogOutputWriteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        OpenAoWriter(dialog);
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunAoWriterTick(dialog);
        break;
    case WM_COMMAND:
        OnAoWriterCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        break;
    default:
        break;
    }
    return 0;
}
