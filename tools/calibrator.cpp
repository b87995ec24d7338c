// Calibration device: finding it, its commands on the calibrator slot, and the text of a reading.
#include "tools/calibrator.h"

#include <stdio.h>
#include <string.h>

#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "resource.h"

const CalibratorChannelInfo CALIBRATOR_CHANNELS[CALIBRATOR_CHANNEL_COUNT] = {
    {CALIBRATOR_CHANNEL_U1, IDC_LIVE_DATA_U1, IDS_CALIBRATOR_ROW_U1, CALIBRATOR_UNIT_VOLTAGE},
    {CALIBRATOR_CHANNEL_U2, IDC_LIVE_DATA_U2, IDS_CALIBRATOR_ROW_U2, CALIBRATOR_UNIT_VOLTAGE},
    {CALIBRATOR_CHANNEL_I1, IDC_LIVE_DATA_I1, IDS_CALIBRATOR_ROW_I1, CALIBRATOR_UNIT_CURRENT},
    {CALIBRATOR_CHANNEL_I2, IDC_LIVE_DATA_I2, IDS_CALIBRATOR_ROW_I2, CALIBRATOR_UNIT_CURRENT},
};

// The reading values below this have two integer digits, the tens digit blank when it is 0.
static const DWORD TWO_DIGIT_READING_LIMIT = 1000000;

// The channel whose button has that id; null for any other control.
const CalibratorChannelInfo* FindCalibratorChannelByButton(int buttonId)
{
    for (int i = 0; i < CALIBRATOR_CHANNEL_COUNT; i++) {
        if (CALIBRATOR_CHANNELS[i].buttonId == buttonId) return &CALIBRATOR_CHANNELS[i];
    }
    return NULL;
}

// Writes a reading in 0.0001 V or 0.0001 mA as the tools show it: " 9.9990 V", "20.0000 mA".
// The device's readings stay below 1,000,000 (two integer digits, a blank for a leading 0);
// a larger value keeps its whole integer part rather than a character computed past '9'.
void FormatCalibratorReading(DWORD value, BYTE unit, char* text)
{
    const char* unitText = unit == CALIBRATOR_UNIT_VOLTAGE ? "V" : "mA";
    if (value >= TWO_DIGIT_READING_LIMIT) {
        snprintf(text, CALIBRATOR_READING_TEXT_SIZE, "%lu.%04lu %s", (unsigned long)(value / 10000),
                 (unsigned long)(value % 10000), unitText);
        return;
    }
    int n = 0;
    DWORD tens = value / 100000;
    text[n++] = tens == 0 ? ' ' : (char)('0' + tens);
    text[n++] = (char)('0' + (value % 100000) / 10000);
    text[n++] = '.';
    text[n++] = (char)('0' + (value % 10000) / 1000);
    text[n++] = (char)('0' + (value % 1000) / 100);
    text[n++] = (char)('0' + (value % 100) / 10);
    text[n++] = (char)('0' + value % 10);
    text[n++] = ' ';
    for (const char* c = unitText; *c; c++) text[n++] = *c;
    text[n] = 0;
}

// The measured value of a reading report: bytes 5-7, least significant first.
DWORD GetCalibratorReadingValue(const BYTE* report)
{
    return (DWORD)report[5] | ((DWORD)report[6] << 8) | ((DWORD)report[7] << 16);
}

// Lists the HID devices (without emptying the list) and looks for the one with these ids, keeping
// its list index for the slot; `count` gets the number listed, for the open that follows.
int LocateHidDevice(WORD vendorId, WORD productId, int slot, int* count)
{
    *count = EnumerateHidDevices();
    if (*count == 0) return HID_LOCATION_NONE_LISTED;
    if (FindHidDeviceById(vendorId, productId, *count, slot) != 1) return HID_LOCATION_NOT_FOUND;
    return HID_LOCATION_FOUND;
}

// Lists the HID devices (without emptying the list) and opens the calibration device by its ids
// into the calibrator slot, keeping its list index; 1 when it is open.
int FindCalibrator()
{
    int count = EnumerateHidDevices();
    if (count == 0) return 0;
    if (FindHidDeviceById(g_calibratorVendorId, g_calibratorProductId, count, HID_SLOT_CALIBRATOR) != 1) return 0;
    return OpenHidDeviceById(g_calibratorVendorId, g_calibratorProductId, count, HID_SLOT_CALIBRATOR) == 1;
}

// Tells whether the open calibration device carries the presence mark in its product string.
// The buffer is cleared first: a failed fetch or a short string must not leave an old mark.
int CheckCalibratorPresenceMark()
{
    char productString[CALIBRATOR_PRODUCT_STRING_CHARS + 1];
    ZeroMemory(productString, sizeof(productString));
    GetHidProductString(productString, CALIBRATOR_PRODUCT_STRING_CHARS, HID_SLOT_CALIBRATOR);
    if ((int)strlen(productString) <= CALIBRATOR_PRESENCE_MARK_INDEX) return 0;
    return productString[CALIBRATOR_PRESENCE_MARK_INDEX] == CALIBRATOR_PRESENCE_MARK;
}

// Has the calibration device send one reading per input report from now on.
int StartCalibratorReadings()
{
    PrepareFeatureCommand(CMD_READ_BLOCK, CALIBRATOR_READING_BLOCK, REPORT_MAGIC);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_CALIBRATOR);
}

// Selects a measuring channel; bytes 2-8 are cleared so no earlier magic travels with it.
int SelectCalibratorChannel(BYTE code)
{
    PrepareFeatureCommand(code, 0, 0);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_CALIBRATOR);
}

// Reads the calibration device's next input report into g_inputReport.
int ReadCalibratorReport()
{
    DWORD bytesRead = 0;
    return ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &bytesRead, HID_SLOT_CALIBRATOR);
}

// Has the calibration device send its identification (name and firmware text) next.
int RequestCalibratorStrings()
{
    PrepareFeatureCommand(CMD_READ_STRINGS, 0, REPORT_MAGIC);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_CALIBRATOR);
}

// Puts reference signal 1..8 on the device's input (code 0xA0 + signal - 1); any other number
// switches the reference off.
int SelectCalibratorSignal(int signal)
{
    BYTE code = CMD_SELECT_SIGNAL_NONE;
    if (signal >= CALIBRATOR_SIGNAL_FIRST && signal <= CALIBRATOR_SIGNAL_LAST)
        code = (BYTE)(CMD_SELECT_SIGNAL + signal - CALIBRATOR_SIGNAL_FIRST);
    PrepareFeatureCommand(code, 0, 0);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_CALIBRATOR);
}

// Sounds the calibration device's beeper once.
int SendCalibratorBeep()
{
    PrepareFeatureCommand(CMD_ACTIVATE, 0, 0);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_CALIBRATOR);
}

// Opens an input-calibration run, inside which signal selections drive the reference source.
int BeginCalibratorInputRun()
{
    PrepareFeatureCommand(CMD_CONFIG_BEGIN, 0, REPORT_MAGIC);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_CALIBRATOR);
}

// Closes the run opened by BeginCalibratorInputRun.
int EndCalibratorInputRun()
{
    PrepareFeatureCommand(CMD_CONFIG_END, 0, REPORT_MAGIC);
    return SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_CALIBRATOR);
}
