// Calibration device: its commands, its measuring channels and the text of one reading.
#ifndef ZENTIL_TOOLS_CALIBRATOR_H
#define ZENTIL_TOOLS_CALIBRATOR_H

#include <windows.h>

// Measuring channels; the value is byte 1 of the selection command.
enum CalibratorChannel {
    CALIBRATOR_CHANNEL_U2 = 0xA0,
    CALIBRATOR_CHANNEL_I2 = 0xA1,
    CALIBRATOR_CHANNEL_U1 = 0xA2,
    CALIBRATOR_CHANNEL_I1 = 0xA3,
};

// The quantity a tool shows a reading in.
enum CalibratorUnit {
    CALIBRATOR_UNIT_VOLTAGE = 0,
    CALIBRATOR_UNIT_CURRENT = 1,
};

// One measuring channel as the tools offer it: its code, its button, its row label and unit.
struct CalibratorChannelInfo {
    BYTE code;
    int buttonId;
    UINT rowLabelTextId;
    BYTE unit;
};

// Reference signals 1..8 of an input-calibration run; any other number selects none.
const int CALIBRATOR_SIGNAL_FIRST = 1;
const int CALIBRATOR_SIGNAL_LAST = 8;

const int CALIBRATOR_CHANNEL_COUNT = 4;
extern const CalibratorChannelInfo CALIBRATOR_CHANNELS[CALIBRATOR_CHANNEL_COUNT];

const char CALIBRATOR_PRESENCE_MARK = 'A';
const int CALIBRATOR_PRESENCE_MARK_INDEX = 8;
const int CALIBRATOR_PRODUCT_STRING_CHARS = 20;
const BYTE CALIBRATOR_READING_BLOCK = 1;
// " 9.9990 V" and "20.0000 mA" fit, and so does the largest 24-bit reading ("1677.7215 mA").
const int CALIBRATOR_READING_TEXT_SIZE = 16;

const CalibratorChannelInfo* FindCalibratorChannelByButton(int buttonId);
void FormatCalibratorReading(DWORD value, BYTE unit, char* text);
DWORD GetCalibratorReadingValue(const BYTE* report);

// Where a device asked for by its ids stands after a fresh listing (which appends to the list).
enum HidLocation {
    HID_LOCATION_NONE_LISTED = 0,  // no HID device of ours is listed at all
    HID_LOCATION_NOT_FOUND = 1,    // none with those ids
    HID_LOCATION_FOUND = 2,        // its list index is kept for the slot
};

int LocateHidDevice(WORD vendorId, WORD productId, int slot, int* count);
int FindCalibrator();
int CheckCalibratorPresenceMark();
int StartCalibratorReadings();
int SelectCalibratorChannel(BYTE code);
int ReadCalibratorReport();
int RequestCalibratorStrings();
int SelectCalibratorSignal(int signal);
int SendCalibratorBeep();
int BeginCalibratorInputRun();
int EndCalibratorInputRun();

#endif
