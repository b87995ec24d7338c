// Analog-input auto calibration of the T1cGA: inside one input-calibration run of the calibration
// device, each reference signal is selected, the device is told the point and its reference value
// and polled until it has taken it; then the device stores the points, the reference is released
// and the calibration device beeps. Every exchange opens its slot by list index and closes it.
#include "tools/ain_auto_calibration.h"

#include <string.h>

#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "tools/calibrator.h"

AinCalRecord g_ainCal = {AIN_CAL_IDLE, AIN_CAL_IDLE, 0, 0, 0, 0};

const AinCalStep AIN_CAL_STEPS[AIN_STEP_COUNT] = {
    {1, AIN_RANGE_RTD100, 0, AIN_REFERENCE_LOW},
    {2, AIN_RANGE_RTD100, 1, AIN_REFERENCE_HIGH},
    {3, AIN_RANGE_RTD1000, 2, AIN_REFERENCE_LOW},
    {4, AIN_RANGE_RTD1000, 3, AIN_REFERENCE_HIGH},
    {AIN_SIGNAL_DATA_SAVE, 0, 0, 0},
};

// What the step fields show for a signal; the last row stands for any other signal.
struct AinSignalText {
    BYTE signal;
    UINT nameTextId;
    UINT referenceTextId;
};
static const AinSignalText AIN_SIGNAL_TEXTS[] = {
    {1, IDS_AIN_CAL_STEP_RTD100_LOW, IDS_AIN_CAL_REF_100},
    {2, IDS_AIN_CAL_STEP_RTD100_HIGH, IDS_AIN_CAL_REF_200},
    {3, IDS_AIN_CAL_STEP_RTD1000_LOW, IDS_AIN_CAL_REF_1000},
    {4, IDS_AIN_CAL_STEP_RTD1000_HIGH, IDS_AIN_CAL_REF_2000},
    {5, IDS_AIN_CAL_STEP_VOLTAGE_LOW, IDS_AIN_CAL_REF_1V},
    {6, IDS_AIN_CAL_STEP_VOLTAGE_HIGH, IDS_AIN_CAL_REF_10V},
    {7, IDS_AIN_CAL_STEP_CURRENT_LOW, IDS_AIN_CAL_REF_2MA},
    {8, IDS_AIN_CAL_STEP_CURRENT_HIGH, IDS_AIN_CAL_REF_20MA},
    {AIN_SIGNAL_DATA_SAVE, IDS_AIN_CAL_STEP_DATA_SAVE, IDS_AIN_CAL_REF_NONE},
    {0, IDS_AIN_CAL_STEP_UNKNOWN, IDS_AIN_CAL_REF_NONE},
};
static const int AIN_SIGNAL_TEXT_COUNT = sizeof(AIN_SIGNAL_TEXTS) / sizeof(AIN_SIGNAL_TEXTS[0]);

// The reference released at the end of a run is signal 1's (code 0xA0).
static const int AIN_RELEASE_SIGNAL = 1;
static const int ID_NAME_OFFSET = 1;
static const int ID_NAME_CHARS = 16;
static const int ID_FIRMWARE_OFFSET = 17;
static const int ID_FIRMWARE_CHARS = 8;
// The answer bytes cleared before a run: report id, status and the rest of the reply but byte 8.
static const int AIN_CLEARED_ANSWER_BYTES = 8;

// The step fields for the signal of the step now current.
void ShowCalibrationStep(HWND dialog)
{
    BYTE signal = g_ainCal.stepIndex < AIN_STEP_COUNT ? AIN_CAL_STEPS[g_ainCal.stepIndex].signal : 0;
    const AinSignalText* text = &AIN_SIGNAL_TEXTS[AIN_SIGNAL_TEXT_COUNT - 1];
    for (int i = 0; i < AIN_SIGNAL_TEXT_COUNT - 1; i++)
        if (AIN_SIGNAL_TEXTS[i].signal == signal) text = &AIN_SIGNAL_TEXTS[i];
    SetDialogItemText(dialog, IDC_AIN_CAL_STEP, text->nameTextId);
    SetDialogItemText(dialog, IDC_AIN_CAL_REFERENCE, text->referenceTextId);
}

static void WaitAinThen(BYTE ticks, BYTE next)
{
    g_ainCal.waitTicks = ticks;
    g_ainCal.nextState = next;
    g_ainCal.state = AIN_CAL_WAIT;
}

// A failure: the state parks before the box opens (the ticks go on under it), Calibration stays
// disabled; `close` asks to end the window once the box is answered.
static void FailAin(HWND dialog, UINT textId, UINT captionId, UINT icon, int close)
{
    g_ainCal.state = AIN_CAL_IDLE;
    EnableWindow(GetDlgItem(dialog, IDC_AIN_CAL_START), FALSE);
    ShowMessage(dialog, textId, captionId, icon);
    if (close) PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// One feature command on a slot opened for it by list index, closed again whatever happened.
static int SendAinFeature(int slot, BYTE command, BYTE parameter, BYTE parameter2, BYTE parameter3, DWORD value)
{
    int result = OpenHidPath(g_hidSlotListIndex[slot], slot);
    if (result == 1) {
        PrepareFeatureCommandEx(command, parameter, parameter2, parameter3, value);
        result = SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, slot);
    }
    CloseHidSlot(slot);
    return result == 1;
}

// One plain feature read from the device into g_featureIn, on a slot opened for it.
static int ReadAinDeviceStatus()
{
    int result = OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE) == 1 &&
                 GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) == 1;
    CloseHidSlot(HID_SLOT_DEVICE);
    return result;
}

// A reference signal (1..8; anything else selects none) on the calibration device.
static int SelectAinSignal(int signal)
{
    int result = OpenHidPath(g_hidSlotListIndex[HID_SLOT_CALIBRATOR], HID_SLOT_CALIBRATOR) == 1 &&
                 SelectCalibratorSignal(signal) == 1;
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    return result;
}

// Opening: the calibration device is found, its product string shown and its identification asked
// for; the first tick runs at once.
static void OpenAinCalibration(HWND dialog)
{
    int count = 0;
    int location;
    char productString[PRODUCT_STRING_MAX_CHARS + 1];
    g_ainCal.state = AIN_CAL_IDLE;
    g_ainCal.calibratorFound = 0;
    EnableWindow(GetDlgItem(dialog, IDC_AIN_CAL_START), FALSE);
    location = LocateHidDevice(g_calibratorVendorId, g_calibratorProductId, HID_SLOT_CALIBRATOR, &count);
    if (location != HID_LOCATION_FOUND) {
        ShowMessage(dialog, location == HID_LOCATION_NONE_LISTED ? IDS_AUTOCAL_NO_HID_DEVICE
                                                                  : IDS_AUTOCAL_CALIBRATOR_NOT_DETECTED,
                    IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO, MB_ICONINFORMATION);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    } else {
        g_ainCal.calibratorFound = 1;
        if (OpenHidDeviceById(g_calibratorVendorId, g_calibratorProductId, count, HID_SLOT_CALIBRATOR) == 1) {
            ZeroMemory(productString, sizeof(productString));
            GetHidProductString(productString, PRODUCT_STRING_MAX_CHARS, HID_SLOT_CALIBRATOR);
            SetDlgItemTextA(dialog, IDC_AIN_CAL_PRODUCT, productString);
            g_ainCal.lastResult = (BYTE)RequestCalibratorStrings();
            CloseHidSlot(HID_SLOT_CALIBRATOR);
            if (g_ainCal.lastResult != 1) {
                ShowMessage(dialog, IDS_AUTOCAL_CALIBRATOR_ID_READ_ERROR, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO,
                            MB_ICONINFORMATION);
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            } else {
                WaitAinThen(AIN_CALIBRATOR_ID_WAIT_TICKS, AIN_CAL_READ_CALIBRATOR_ID);
            }
        }
    }
    SetTimer(dialog, TICK_TIMER_ID, DIALOG_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
}

// The calibration device's identification: its name and firmware text after two blanks each.
static void ReadAinCalibratorId(HWND dialog)
{
    char text[2 + ID_NAME_CHARS + 1];
    DWORD bytesRead = 0;
    int result = OpenHidPath(g_hidSlotListIndex[HID_SLOT_CALIBRATOR], HID_SLOT_CALIBRATOR) == 1 &&
                 ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &bytesRead, HID_SLOT_CALIBRATOR) == 1;
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    if (!result) {
        FailAin(dialog, IDS_AUTOCAL_DEVICE_NOT_RESPONDING, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO, MB_ICONINFORMATION, 1);
        return;
    }
    text[0] = text[1] = ' ';
    memcpy(text + 2, g_inputReport + ID_NAME_OFFSET, ID_NAME_CHARS);
    text[2 + ID_NAME_CHARS] = 0;
    SetDlgItemTextA(dialog, IDC_AIN_CAL_NAME, text);
    memcpy(text + 2, g_inputReport + ID_FIRMWARE_OFFSET, ID_FIRMWARE_CHARS);
    text[2 + ID_FIRMWARE_CHARS] = 0;
    SetDlgItemTextA(dialog, IDC_AIN_CAL_FIRMWARE, text);
    g_ainCal.state = AIN_CAL_IDLE;
    EnableWindow(GetDlgItem(dialog, IDC_AIN_CAL_START), TRUE);
}

// The jumper query (no magic here), then its answer; a missing jumper only warns, once the state
// has moved on.
static void AskAinJumper(HWND dialog)
{
    if (!SendAinFeature(HID_SLOT_DEVICE, CMD_JUMPER_QUERY, 0, 0, 0, 0)) {
        FailAin(dialog, IDS_AIN_CAL_JUMPER_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    WaitAinThen(AIN_STEP_WAIT_TICKS, AIN_CAL_READ_JUMPER);
}

static void ReadAinJumper(HWND dialog)
{
    if (!ReadAinDeviceStatus()) {
        FailAin(dialog, IDS_AIN_CAL_JUMPER_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    WaitAinThen(AIN_STEP_WAIT_TICKS, AIN_CAL_SELECT_SIGNAL);
    if (g_featureIn[2] != 0)
        ShowMessage(dialog, IDS_AUTOCAL_JUMPER_MISSING, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONINFORMATION);
}

// The current step's reference on the device's input; a second later its write (or the store).
static void SelectAinStepSignal(HWND dialog)
{
    const AinCalStep& step = AIN_CAL_STEPS[g_ainCal.stepIndex];
    if (!SelectAinSignal(step.signal)) {
        FailAin(dialog, IDS_AIN_CAL_INIT_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    WaitAinThen(AIN_POLL_TICKS, step.signal);
}

// The point and its reference value to the device; then it is polled until it has taken it.
static void WriteAinPoint(HWND dialog)
{
    const AinCalStep& step = AIN_CAL_STEPS[g_ainCal.stepIndex];
    // The reference goes little-endian into bytes 4-7, one byte earlier than a command's value.
    if (!SendAinFeature(HID_SLOT_DEVICE, CMD_WRITE_CALIBRATION, step.range, step.point, (BYTE)(step.reference & 0xFF),
                        step.reference >> 8)) {
        g_deviceConnected = 0;
        FailAin(dialog, IDS_AUTOCAL_CALIBRATION_ERROR, IDS_AUTOCAL_CAPTION_CAL_INFO, MB_ICONERROR, 0);
        return;
    }
    g_ainCal.stepIndex++;
    g_ainCal.waitTicks = AIN_POLL_TICKS;
    g_ainCal.state = AIN_CAL_POLL_STATUS;
}

// About once a second, the device's status. Ready: the next step is shown and its signal selected.
// Not yet: the status byte is cleared in the answer buffer, so an old ready cannot end a wait.
static void PollAinStatus(HWND dialog)
{
    if (g_ainCal.waitTicks != 0) {
        g_ainCal.waitTicks--;
        return;
    }
    if (!ReadAinDeviceStatus()) {
        g_deviceConnected = 0;
        FailAin(dialog, IDS_AIN_CAL_STATUS_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    if (g_featureIn[2] == STATUS_READY) {
        ShowCalibrationStep(dialog);
        g_ainCal.state = AIN_CAL_SELECT_SIGNAL;
        return;
    }
    g_featureIn[2] = 0;
    g_ainCal.waitTicks = AIN_POLL_TICKS;
}

// The device stores the points (with magic in this store).
static void StoreAinCalibration(HWND dialog)
{
    if (!SendAinFeature(HID_SLOT_DEVICE, CMD_STORE_EEPROM, AIN_STORE_PARAMETER, 0, 0, REPORT_MAGIC)) {
        g_deviceConnected = 0;
        SetDialogItemText(dialog, IDC_AIN_CAL_STEP, IDS_AIN_CAL_FAILED);
        SetDialogItemText(dialog, IDC_AIN_CAL_REFERENCE, IDS_AIN_CAL_PRESS_CANCEL);
        FailAin(dialog, IDS_AUTOCAL_EEPROM_WRITE_ERROR, IDS_AUTOCAL_CAPTION_CAL_INFO, MB_ICONERROR, 0);
        return;
    }
    SetDialogItemText(dialog, IDC_AIN_CAL_STEP, IDS_AIN_CAL_FINISHED);
    SetDialogItemText(dialog, IDC_AIN_CAL_REFERENCE, IDS_AIN_CAL_PRESS_CANCEL);
    WaitAinThen(AIN_STEP_WAIT_TICKS, AIN_CAL_RELEASE_SIGNAL);
}

static void ReleaseAinSignal(HWND dialog)
{
    if (!SelectAinSignal(AIN_RELEASE_SIGNAL)) {
        FailAin(dialog, IDS_AIN_CAL_DEINIT_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    WaitAinThen(AIN_STEP_WAIT_TICKS, AIN_CAL_BEEP);
}

static void BeepAinCalibrator(HWND dialog)
{
    if (!SendAinFeature(HID_SLOT_CALIBRATOR, CMD_ACTIVATE, 0, 0, 0, 0)) {
        FailAin(dialog, IDS_AIN_CAL_BEEP_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    g_ainCal.state = AIN_CAL_IDLE;
    EnableWindow(GetDlgItem(dialog, IDC_AIN_CAL_START), TRUE);
}

// One tick, one step.
static void RunAinTick(HWND dialog)
{
    switch (g_ainCal.state) {
    case AIN_CAL_WAIT:
        if (g_ainCal.waitTicks != 0) g_ainCal.waitTicks--;
        else g_ainCal.state = g_ainCal.nextState;
        break;
    case AIN_CAL_READ_CALIBRATOR_ID:
        ReadAinCalibratorId(dialog);
        break;
    case AIN_CAL_ASK_JUMPER:
        AskAinJumper(dialog);
        break;
    case AIN_CAL_READ_JUMPER:
        ReadAinJumper(dialog);
        break;
    case AIN_CAL_SELECT_SIGNAL:
        SelectAinStepSignal(dialog);
        break;
    case AIN_CAL_WRITE_RTD100_LOW:
    case AIN_CAL_WRITE_RTD100_HIGH:
    case AIN_CAL_WRITE_RTD1000_LOW:
    case AIN_CAL_WRITE_RTD1000_HIGH:
        WriteAinPoint(dialog);
        break;
    case AIN_CAL_POLL_STATUS:
        PollAinStatus(dialog);
        break;
    case AIN_CAL_STORE:
        StoreAinCalibration(dialog);
        break;
    case AIN_CAL_RELEASE_SIGNAL:
        ReleaseAinSignal(dialog);
        break;
    case AIN_CAL_BEEP:
        BeepAinCalibrator(dialog);
        break;
    default:
        break;
    }
}

// Calibration: the device is looked for by its ids first (the list index the main window left may
// name another device by now), then the run is opened on the calibration device and begins at
// step 0 with the jumper query.
static void StartAinCalibration(HWND dialog)
{
    int count = 0;
    if (!IsWindowEnabled(GetDlgItem(dialog, IDC_AIN_CAL_START))) return;
    if (LocateHidDevice(g_deviceVendorId, g_deviceProductId, HID_SLOT_DEVICE, &count) != HID_LOCATION_FOUND) {
        FailAin(dialog, IDS_AUTOCAL_DEVICE_NOT_DETECTED, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO, MB_ICONINFORMATION, 1);
        return;
    }
    if (!SendAinFeature(HID_SLOT_CALIBRATOR, CMD_CONFIG_BEGIN, 0, 0, 0, REPORT_MAGIC)) {
        FailAin(dialog, IDS_AUTOCAL_READ_POINTER_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    memset(g_featureIn, 0, AIN_CLEARED_ANSWER_BYTES);
    SetDialogItemText(dialog, IDC_AIN_CAL_DEVICE_LINE, IDS_AIN_CAL_DEVICE_LINE);
    EnableWindow(GetDlgItem(dialog, IDC_AIN_CAL_START), FALSE);
    SetDialogItemText(dialog, IDC_AIN_CAL_STEP, IDS_AIN_CAL_FIRST_STEP);
    SetDialogItemText(dialog, IDC_AIN_CAL_REFERENCE, IDS_AIN_CAL_REF_100);
    g_ainCal.stepIndex = 0;
    g_ainCal.state = AIN_CAL_ASK_JUMPER;
}

static void EndAinCalibration(HWND dialog, INT_PTR result)
{
    g_ainCal.state = AIN_CAL_IDLE;
    KillTimer(dialog, TICK_TIMER_ID);
    EndDialog(dialog, result);
}

// Cancel ends the run on the calibration device and the window with 1; when that fails the user
// is told and the close request tries again.
static void CancelAinCalibration(HWND dialog)
{
    if (g_ainCal.calibratorFound && !SendAinFeature(HID_SLOT_CALIBRATOR, CMD_CONFIG_END, 0, 0, 0, REPORT_MAGIC)) {
        FailAin(dialog, IDS_AUTOCAL_READ_POINTER_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR, 1);
        return;
    }
    EndAinCalibration(dialog, 1);
}

// The close box and every close request: the run is ended on the calibration device, and the
// window ends with DEVICE_DIALOG_RESULT whether that went through or not.
static void CloseAinCalibration(HWND dialog)
{
    if (g_ainCal.calibratorFound && !SendAinFeature(HID_SLOT_CALIBRATOR, CMD_CONFIG_END, 0, 0, 0, REPORT_MAGIC)) {
        g_ainCal.state = AIN_CAL_IDLE;
        ShowMessage(dialog, IDS_AUTOCAL_READ_POINTER_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR);
    }
    EndAinCalibration(dialog, DEVICE_DIALOG_RESULT);
}

// The analog-input calibration (template 336); Cancel ends it with 1, the close box with
// DEVICE_DIALOG_RESULT.
INT_PTR CALLBACK AinAutoCalibrationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        OpenAinCalibration(dialog);
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunAinTick(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) CancelAinCalibration(dialog);
        else if (LOWORD(wParam) == IDC_AIN_CAL_START && HIWORD(wParam) == BN_CLICKED) StartAinCalibration(dialog);
        break;
    case WM_CLOSE:
        CloseAinCalibration(dialog);
        return TRUE;  // handled: the default handling would turn it into Cancel and end the run twice
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        break;
    default:
        break;
    }
    return 0;
}
