// Analog-output auto calibration: for each point the device drives its output with a DAC word,
// the calibration device measures it, and the word is bisected until the reading lies in the
// point's window; the device keeps the last word written and stores them all at the end. Both
// devices stay open from finding them until Cancel; every 20 ms tick reads the calibration device
// first and then takes one step.
#include "tools/aout_auto_calibration.h"

#include <stdio.h>
#include <string.h>

#include "app/device_types.h"
#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "tools/calibrator.h"

AoutCalRecord g_aoutCal = {AOUT_CAL_IDLE, AOUT_CAL_IDLE, 0, POINT_STEP_START, 0, AOUT_DAC_START, AOUT_DAC_FIRST_STEP,
                           AOUT_APPROXIMATION_STEPS, 0, CALIBRATOR_UNIT_VOLTAGE, 0, 0, 0};

// Output 1 then output 2; at each output the voltage points, then the current points. The
// windows are nominal +- 11 (settle) and +- 19 (final) for voltage, +- 22 and +- 39 for current.
const AoutCalPoint AOUT_CAL_POINTS[AOUT_POINT_COUNT] = {
    {AOUT_CAL_POINT_U1_1V, IDS_AOUT_CAL_PROMPT_U1_1V, CALIBRATOR_CHANNEL_U1, CALIBRATOR_UNIT_VOLTAGE, 1, 0x04,
     10000, 9989, 10011, 9981, 10019},
    {AOUT_CAL_POINT_U1_10V, IDS_AOUT_CAL_PROMPT_U1_10V, 0, CALIBRATOR_UNIT_VOLTAGE, 1, 0x06,
     100000, 99989, 100011, 99981, 100019},
    {AOUT_CAL_POINT_I1_2MA, IDS_AOUT_CAL_PROMPT_I1_2MA, CALIBRATOR_CHANNEL_I1, CALIBRATOR_UNIT_CURRENT, 1, 0x00,
     20000, 19978, 20022, 19961, 20039},
    {AOUT_CAL_POINT_I1_20MA, IDS_AOUT_CAL_PROMPT_I1_20MA, 0, CALIBRATOR_UNIT_CURRENT, 1, 0x02,
     200000, 199978, 200022, 199961, 200039},
    {AOUT_CAL_POINT_U2_1V, IDS_AOUT_CAL_PROMPT_U2_1V, CALIBRATOR_CHANNEL_U2, CALIBRATOR_UNIT_VOLTAGE, 2, 0x0C,
     10000, 9989, 10011, 9981, 10019},
    {AOUT_CAL_POINT_U2_10V, IDS_AOUT_CAL_PROMPT_U2_10V, 0, CALIBRATOR_UNIT_VOLTAGE, 2, 0x0E,
     100000, 99989, 100011, 99981, 100019},
    {AOUT_CAL_POINT_I2_2MA, IDS_AOUT_CAL_PROMPT_I2_2MA, CALIBRATOR_CHANNEL_I2, CALIBRATOR_UNIT_CURRENT, 2, 0x08,
     20000, 19978, 20022, 19961, 20039},
    {AOUT_CAL_POINT_I2_20MA, IDS_AOUT_CAL_PROMPT_I2_20MA, 0, CALIBRATOR_UNIT_CURRENT, 2, 0x0A,
     200000, 199978, 200022, 199961, 200039},
};

// The calibration device's product string and the device's (the first characters only).
static const int AOUT_PRODUCT_STRING_CHARS = 64;
static const int AOUT_TEXT_CHARS = 64;
// The identification report: the name in bytes 1-16, the firmware text in bytes 17-24, each
// shown after two blanks.
static const int ID_NAME_OFFSET = 1;
static const int ID_NAME_CHARS = 16;
static const int ID_FIRMWARE_OFFSET = 17;
static const int ID_FIRMWARE_CHARS = 8;

static const int AOUT_OPENING_DISABLED_IDS[] = {IDC_AOUT_CAL_START, IDC_AOUT_CAL_PROMPT, IDC_AOUT_CAL_REMAINING,
                                                IDC_AOUT_CAL_READING, 0};
static const int AOUT_POINT_FIELD_IDS[] = {IDC_AOUT_CAL_PROMPT, IDC_AOUT_CAL_REMAINING, 0};
static const int AOUT_RUN_BUTTON_IDS[] = {IDC_AOUT_CAL_START, IDC_AOUT_CAL_U1, IDC_AOUT_CAL_U2, IDC_AOUT_CAL_I1,
                                          IDC_AOUT_CAL_I2, 0};
static const int AOUT_BLANKED_AFTER_FAILURE_IDS[] = {IDC_AOUT_CAL_PROMPT, IDC_AOUT_CAL_REMAINING,
                                                     IDC_AOUT_CAL_DEV_PRODUCT, IDC_AOUT_CAL_DEV_NAME,
                                                     IDC_AOUT_CAL_DEV_FIRMWARE, 0};
static const int AOUT_BLANKED_AFTER_STORE_IDS[] = {IDC_AOUT_CAL_REMAINING, IDC_AOUT_CAL_DEV_PRODUCT,
                                                   IDC_AOUT_CAL_DEV_NAME, IDC_AOUT_CAL_DEV_FIRMWARE, 0};

static int InsideWindow(DWORD value, DWORD low, DWORD high)
{
    return value >= low && value <= high;
}

// One judgement of the reading of the word last written. Inside the settle window the point is
// done; otherwise the word moves by the step towards the nominal value (16-bit arithmetic), the
// step halves and a judgement is used up. After the last one the correction just made is dropped:
// the reading of the word last written decides against the wider final window.
AoutJudgement JudgeAoutReading(const AoutCalPoint& point, DWORD reading, WORD word, DWORD step, BYTE remaining)
{
    AoutJudgement judgement = {AOUT_VERDICT_ACCEPT, word, step, remaining};
    if (InsideWindow(reading, point.settleLow, point.settleHigh)) return judgement;
    judgement.word = reading < point.settleLow ? (WORD)(word + step) : (WORD)(word - step);
    judgement.step = step / 2;
    judgement.remaining = remaining > 0 ? (BYTE)(remaining - 1) : 0;
    if (judgement.remaining > 0) {
        judgement.verdict = AOUT_VERDICT_NEXT_WORD;
        return judgement;
    }
    judgement.word = word;
    judgement.verdict = InsideWindow(reading, point.finalLow, point.finalHigh) ? AOUT_VERDICT_ACCEPT : AOUT_VERDICT_FAIL;
    if (judgement.verdict == AOUT_VERDICT_ACCEPT) judgement.remaining = 1;
    return judgement;
}

static void EnableAoutControls(HWND dialog, const int* ids, BOOL enable)
{
    for (; *ids; ids++) EnableWindow(GetDlgItem(dialog, *ids), enable);
}

static void SetAoutTexts(HWND dialog, const int* ids, UINT textId)
{
    for (; *ids; ids++) SetDialogItemText(dialog, *ids, textId);
}

static void WaitAoutThen(BYTE ticks, BYTE next)
{
    g_aoutCal.waitTicks = ticks;
    g_aoutCal.nextState = next;
    g_aoutCal.state = AOUT_CAL_WAIT;
}

// A failure after which the window ends: the state parks and the readings stop before the box
// opens (the ticks go on under it), then the close request follows the box.
static void FailAoutAndClose(HWND dialog, UINT textId, UINT captionId, UINT icon)
{
    g_aoutCal.state = AOUT_CAL_IDLE;
    g_aoutCal.readingsStopped = 1;
    ShowMessage(dialog, textId, captionId, icon);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// A failure that leaves the window open: the state parks, the readings go on.
static void FailAout(HWND dialog, UINT textId)
{
    g_aoutCal.state = AOUT_CAL_IDLE;
    ShowMessage(dialog, textId, IDS_AUTOCAL_CAPTION_CAL_INFO, MB_ICONERROR);
}

// Shows a device's name and firmware text from the identification report just read, each after
// two blanks. A name with a zero byte ends there; nothing of an earlier text is left behind.
static void ShowIdentification(HWND dialog, int nameId, int firmwareId)
{
    char text[2 + ID_NAME_CHARS + 1];
    text[0] = text[1] = ' ';
    memcpy(text + 2, g_inputReport + ID_NAME_OFFSET, ID_NAME_CHARS);
    text[2 + ID_NAME_CHARS] = 0;
    SetDlgItemTextA(dialog, nameId, text);
    memcpy(text + 2, g_inputReport + ID_FIRMWARE_OFFSET, ID_FIRMWARE_CHARS);
    text[2 + ID_FIRMWARE_CHARS] = 0;
    SetDlgItemTextA(dialog, firmwareId, text);
}

// A product string into a cleared buffer, so a failed fetch shows nothing stale.
static void ShowProductString(HWND dialog, int controlId, int slot)
{
    char productString[AOUT_PRODUCT_STRING_CHARS + 1];
    ZeroMemory(productString, sizeof(productString));
    GetHidProductString(productString, AOUT_PRODUCT_STRING_CHARS, slot);
    SetDlgItemTextA(dialog, controlId, productString);
}

static void ShowRemaining(HWND dialog)
{
    WCHAR format[AOUT_TEXT_CHARS];
    WCHAR text[AOUT_TEXT_CHARS];
    LoadEditionText(IDS_AOUT_CAL_REMAINING, format, AOUT_TEXT_CHARS);
    swprintf(text, AOUT_TEXT_CHARS, format, (int)g_aoutCal.remaining);
    SetDlgItemTextW(dialog, IDC_AOUT_CAL_REMAINING, text);
}

static int SendDeviceFeature(BYTE command, BYTE parameter, BYTE parameter2, DWORD value)
{
    PrepareFeatureCommandEx(command, parameter, parameter2, 0, value);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
}

// Opening: the calibration device is found and opened, asked for its identification, and the
// first tick runs at once.
static void OpenAoutCalibration(HWND dialog)
{
    int count = 0;
    int location;
    g_aoutCal.state = AOUT_CAL_IDLE;
    g_aoutCal.deviceOpened = 0;
    g_aoutCal.readingsStopped = 0;
    EnableAoutControls(dialog, AOUT_OPENING_DISABLED_IDS, FALSE);
    location = LocateHidDevice(g_calibratorVendorId, g_calibratorProductId, HID_SLOT_CALIBRATOR, &count);
    if (location != HID_LOCATION_FOUND) {
        FailAoutAndClose(dialog, location == HID_LOCATION_NONE_LISTED ? IDS_AUTOCAL_NO_HID_DEVICE
                                                                        : IDS_AUTOCAL_CALIBRATOR_NOT_DETECTED,
                         IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO, MB_ICONINFORMATION);
    } else if (OpenHidDeviceById(g_calibratorVendorId, g_calibratorProductId, count, HID_SLOT_CALIBRATOR) == 1) {
        ShowProductString(dialog, IDC_AOUT_CAL_CAL_PRODUCT, HID_SLOT_CALIBRATOR);
        if (RequestCalibratorStrings() != 1)
            FailAoutAndClose(dialog, IDS_AUTOCAL_CALIBRATOR_ID_READ_ERROR, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO,
                             MB_ICONINFORMATION);
        else
            WaitAoutThen(AOUT_CALIBRATOR_ID_WAIT_TICKS, AOUT_CAL_READ_CALIBRATOR_ID);
    }
    // An open that failed shows nothing here: the first tick's read fails and ends the window.
    SetTimer(dialog, TICK_TIMER_ID, DIALOG_TICK_MS, NULL);
    SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
}

// The calibration device's next report: its reading, shown in the unit of the point. Before the
// readings start it is the identification, shown all the same.
static int ReadAoutCalibrator(HWND dialog)
{
    char text[CALIBRATOR_READING_TEXT_SIZE];
    if (g_aoutCal.readingsStopped) return 0;
    g_aoutCal.lastResult = (BYTE)ReadCalibratorReport();
    if (g_aoutCal.lastResult != 1) {
        FailAoutAndClose(dialog, IDS_AOUT_CAL_READ_ERROR, IDS_AUTOCAL_CAPTION_BOOT_INFO, MB_ICONERROR);
        return 0;
    }
    g_aoutCal.lastReading = GetCalibratorReadingValue(g_inputReport);
    FormatCalibratorReading(g_aoutCal.lastReading, g_aoutCal.unit, text);
    SetDlgItemTextA(dialog, IDC_AOUT_CAL_READING, text);
    return 1;
}

// The calibration device's identification, then its readings from now on.
static void ReadAoutCalibratorId(HWND dialog)
{
    if (ReadCalibratorReport() != 1) {
        FailAoutAndClose(dialog, IDS_AUTOCAL_DEVICE_NOT_RESPONDING, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO,
                         MB_ICONINFORMATION);
        return;
    }
    ShowIdentification(dialog, IDC_AOUT_CAL_CAL_NAME, IDC_AOUT_CAL_CAL_FIRMWARE);
    if (StartCalibratorReadings() != 1) {
        FailAoutAndClose(dialog, IDS_AUTOCAL_READ_POINTER_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR);
        return;
    }
    EnableWindow(GetDlgItem(dialog, IDC_AOUT_CAL_START), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_AOUT_CAL_READING), TRUE);
    g_aoutCal.state = AOUT_CAL_IDLE;
}

// The device's identification, then the service-jumper query.
static void ReadAoutDeviceId(HWND dialog)
{
    DWORD bytesRead = 0;
    if (ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &bytesRead, HID_SLOT_DEVICE) != 1) {
        FailAoutAndClose(dialog, IDS_AUTOCAL_DEVICE_NOT_RESPONDING, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO,
                         MB_ICONINFORMATION);
        return;
    }
    ShowIdentification(dialog, IDC_AOUT_CAL_DEV_NAME, IDC_AOUT_CAL_DEV_FIRMWARE);
    if (SendDeviceFeature(CMD_JUMPER_QUERY, 0, 0, REPORT_MAGIC) != 1) {
        FailAoutAndClose(dialog, IDS_AUTOCAL_DEVICE_NOT_RESPONDING, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO,
                         MB_ICONINFORMATION);
        return;
    }
    WaitAoutThen(AOUT_JUMPER_WAIT_TICKS, AOUT_CAL_READ_JUMPER);
}

// The jumper's answer; the first point follows. A missing jumper only warns, after the state has
// moved on, so the run goes on behind the box.
static void ReadAoutJumper(HWND dialog)
{
    if (GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) != 1) {
        FailAoutAndClose(dialog, IDS_AUTOCAL_DEVICE_NOT_RESPONDING, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO,
                         MB_ICONINFORMATION);
        return;
    }
    EnableAoutControls(dialog, AOUT_POINT_FIELD_IDS, TRUE);
    g_aoutCal.remaining = AOUT_APPROXIMATION_STEPS;
    g_aoutCal.dacWord = AOUT_DAC_START;
    g_aoutCal.step = AOUT_DAC_FIRST_STEP;
    g_aoutCal.pointStep = POINT_STEP_START;
    WaitAoutThen(AOUT_FIRST_POINT_WAIT_TICKS, AOUT_CAL_POINT_U1_1V);
    if (g_featureIn[2] != 0)
        ShowMessage(dialog, IDS_AUTOCAL_JUMPER_MISSING, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONINFORMATION);
}

// A point begins: the channel of its output and quantity (at the first point of each), the
// prompt, the count left from the point before, and the bisection from the middle.
static void StartAoutPoint(HWND dialog, const AoutCalPoint& point)
{
    if (point.channel != 0) {
        g_aoutCal.unit = point.unit;
        if (SelectCalibratorChannel(point.channel) != 1) {
            FailAoutAndClose(dialog, IDS_AOUT_CAL_CHANNEL_SELECT_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR);
            return;
        }
    }
    SetDialogItemText(dialog, IDC_AOUT_CAL_PROMPT, point.promptTextId);
    ShowRemaining(dialog);
    g_aoutCal.remaining = AOUT_APPROXIMATION_STEPS;
    g_aoutCal.dacWord = AOUT_DAC_START;
    g_aoutCal.step = AOUT_DAC_FIRST_STEP;
    g_aoutCal.pointStep = POINT_STEP_WRITE;
}

// The device drives the point's output with the DAC word (little-endian in bytes 5-6).
static void WriteAoutPoint(HWND dialog, const AoutCalPoint& point)
{
    ShowRemaining(dialog);
    if (SendDeviceFeature(CMD_WRITE_CALIBRATION, point.output, point.pointCode, g_aoutCal.dacWord) != 1) {
        FailAout(dialog, IDS_AUTOCAL_CALIBRATION_ERROR);
        return;
    }
    g_aoutCal.settleTicks = AOUT_SETTLE_TICKS;
    g_aoutCal.pointStep = POINT_STEP_SETTLE;
}

// The point missed: the fields are blanked, Calibration is offered again, the calibration device
// beeps, and the user is told.
static void FailAoutPoint(HWND dialog)
{
    SetAoutTexts(dialog, AOUT_BLANKED_AFTER_FAILURE_IDS, IDS_AOUT_CAL_BLANK);
    EnableAoutControls(dialog, AOUT_POINT_FIELD_IDS, FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_AOUT_CAL_START), TRUE);
    SendCalibratorBeep();  // its result is not looked at
    FailAout(dialog, IDS_AOUT_CAL_OUT_OF_RANGE);
}

// The output has settled: the last reading is judged.
static void SettleAoutPoint(HWND dialog, const AoutCalPoint& point)
{
    if (g_aoutCal.settleTicks != 0) {
        g_aoutCal.settleTicks--;
        return;
    }
    AoutJudgement judgement =
        JudgeAoutReading(point, g_aoutCal.lastReading, g_aoutCal.dacWord, g_aoutCal.step, g_aoutCal.remaining);
    g_aoutCal.dacWord = judgement.word;
    g_aoutCal.step = judgement.step;
    g_aoutCal.remaining = judgement.remaining;
    if (judgement.verdict == AOUT_VERDICT_NEXT_WORD) g_aoutCal.pointStep = POINT_STEP_WRITE;
    else if (judgement.verdict == AOUT_VERDICT_ACCEPT) g_aoutCal.pointStep = POINT_STEP_DONE;
    else FailAoutPoint(dialog);
}

// The point is done: the next one in table order, or the store after the last point of the
// device (TYSO has one output only).
static void FinishAoutPoint(int index)
{
    int count = g_deviceType == DEVICE_TYPE_TYSO ? AOUT_SINGLE_OUTPUT_POINT_COUNT : AOUT_POINT_COUNT;
    g_aoutCal.pointStep = POINT_STEP_START;
    g_aoutCal.state = index + 1 < count ? AOUT_CAL_POINTS[index + 1].state : (BYTE)AOUT_CAL_STORE;
}

static void RunAoutPoint(HWND dialog, int index)
{
    const AoutCalPoint& point = AOUT_CAL_POINTS[index];
    switch (g_aoutCal.pointStep) {
    case POINT_STEP_START:
        StartAoutPoint(dialog, point);
        break;
    case POINT_STEP_WRITE:
        WriteAoutPoint(dialog, point);
        break;
    case POINT_STEP_SETTLE:
        SettleAoutPoint(dialog, point);
        break;
    default:
        FinishAoutPoint(index);
        break;
    }
}

// The device stores the words it kept (no magic in this store); the calibration device beeps.
static void StoreAoutCalibration(HWND dialog)
{
    if (SendDeviceFeature(CMD_STORE_EEPROM, AOUT_STORE_PARAMETER, 0, 0) != 1) {
        FailAout(dialog, IDS_AUTOCAL_EEPROM_WRITE_ERROR);
        return;
    }
    g_aoutCal.state = AOUT_CAL_IDLE;
    if (SendCalibratorBeep() != 1)
        ShowMessage(dialog, IDS_AOUT_CAL_BEEP_ERROR, IDS_AUTOCAL_CAPTION_CAL_INFO, MB_ICONERROR);
    SetDialogItemText(dialog, IDC_AOUT_CAL_PROMPT, IDS_AOUT_CAL_FINISHED);
    SetAoutTexts(dialog, AOUT_BLANKED_AFTER_STORE_IDS, IDS_AOUT_CAL_BLANK);
    EnableAoutControls(dialog, AOUT_POINT_FIELD_IDS, FALSE);
    EnableAoutControls(dialog, AOUT_RUN_BUTTON_IDS, TRUE);
}

// The point whose state this is; -1 for the other states.
static int FindAoutPoint(BYTE state)
{
    for (int i = 0; i < AOUT_POINT_COUNT; i++)
        if (AOUT_CAL_POINTS[i].state == state) return i;
    return -1;
}

// One tick: the calibration device's reading, then one step.
static void RunAoutTick(HWND dialog)
{
    if (!g_aoutCal.readingsStopped && !ReadAoutCalibrator(dialog)) return;
    int point = FindAoutPoint(g_aoutCal.state);
    if (point >= 0) {
        RunAoutPoint(dialog, point);
        return;
    }
    switch (g_aoutCal.state) {
    case AOUT_CAL_WAIT:
        if (g_aoutCal.waitTicks != 0) g_aoutCal.waitTicks--;
        else g_aoutCal.state = g_aoutCal.nextState;
        break;
    case AOUT_CAL_READ_CALIBRATOR_ID:
        ReadAoutCalibratorId(dialog);
        break;
    case AOUT_CAL_READ_DEVICE_ID:
        ReadAoutDeviceId(dialog);
        break;
    case AOUT_CAL_READ_JUMPER:
        ReadAoutJumper(dialog);
        break;
    case AOUT_CAL_STORE:
        StoreAoutCalibration(dialog);
        break;
    default:
        break;
    }
}

// Calibration: U1 on the calibration device, then the device is found by its ids, opened for the
// whole run and asked for its identification.
static void StartAoutCalibration(HWND dialog)
{
    int count = 0;
    int location;
    if (!IsWindowEnabled(GetDlgItem(dialog, IDC_AOUT_CAL_START))) return;
    g_aoutCal.unit = CALIBRATOR_UNIT_VOLTAGE;
    if (SelectCalibratorChannel(CALIBRATOR_CHANNEL_U1) != 1) {
        FailAoutAndClose(dialog, IDS_AOUT_CAL_CHANNEL_SELECT_ERROR, IDS_AUTOCAL_CAPTION_SET_INFO, MB_ICONERROR);
        return;
    }
    location = LocateHidDevice(g_deviceVendorId, g_deviceProductId, HID_SLOT_DEVICE, &count);
    if (location != HID_LOCATION_FOUND) {
        FailAoutAndClose(dialog, location == HID_LOCATION_NONE_LISTED ? IDS_AOUT_CAL_DEVICE_NOT_CONNECTED
                                                                        : IDS_AUTOCAL_DEVICE_NOT_DETECTED,
                         IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO, MB_ICONINFORMATION);
        return;
    }
    if (OpenHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE) != 1) return;
    g_aoutCal.deviceOpened = 1;
    ShowProductString(dialog, IDC_AOUT_CAL_DEV_PRODUCT, HID_SLOT_DEVICE);
    if (SendDeviceFeature(CMD_READ_STRINGS, 0, 0, REPORT_MAGIC) != 1) {
        FailAoutAndClose(dialog, IDS_AOUT_CAL_DEVICE_ID_READ_ERROR, IDS_AUTOCAL_CAPTION_HID_DEVICE_INFO,
                         MB_ICONINFORMATION);
        return;
    }
    EnableAoutControls(dialog, AOUT_RUN_BUTTON_IDS, FALSE);
    WaitAoutThen(AOUT_DEVICE_ID_WAIT_TICKS, AOUT_CAL_READ_DEVICE_ID);
}

// Cancel, and the close request the default handling turns into it: both slots closed.
static void EndAoutCalibration(HWND dialog)
{
    g_aoutCal.state = AOUT_CAL_IDLE;
    g_aoutCal.readingsStopped = 1;
    KillTimer(dialog, TICK_TIMER_ID);
    if (g_aoutCal.deviceOpened) CloseHidSlot(HID_SLOT_DEVICE);
    g_aoutCal.deviceOpened = 0;
    CloseHidSlot(HID_SLOT_CALIBRATOR);
    EndDialog(dialog, TOOL_DIALOG_RESULT);
}

// The analog-output calibration (template 122); ends with TOOL_DIALOG_RESULT on Cancel, on the
// close box and after a failure that asks to be closed.
INT_PTR CALLBACK AoutAutoCalibrationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        OpenAoutCalibration(dialog);
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunAoutTick(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndAoutCalibration(dialog);
        else if (LOWORD(wParam) == IDC_AOUT_CAL_START && HIWORD(wParam) == BN_CLICKED) StartAoutCalibration(dialog);
        break;
    case WM_DESTROY:
        KillTimer(dialog, TICK_TIMER_ID);
        break;
    default:
        break;
    }
    return 0;
}
