// Live values window: the device's measured values by model, and the calibration device's reading.
#ifndef ZENTIL_TOOLS_LIVE_DATA_H
#define ZENTIL_TOOLS_LIVE_DATA_H

#include <windows.h>

enum LiveState {
    LIVE_STATE_IDLE = 0,
    LIVE_STATE_START = 1,
    LIVE_STATE_WAIT = 2,
    LIVE_STATE_READ_DEVICE = 3,
    LIVE_STATE_READ_CALIBRATOR = 4,
};

const BYTE LIVE_START_DELAY_TICKS = 15;
const BYTE LIVE_VALUES_BLOCK = 1;
const int LIVE_VALUE_TEXT_CHARS = 64;

// How one measured value is taken from the block-1 report and written.
enum LiveValueKind {
    LIVE_VALUE_TEMPERATURE = 0,   // signed tenths of a degree
    LIVE_VALUE_HUMIDITY,          // unsigned tenths of %RH
    LIVE_VALUE_FREQUENCY,         // 24 bits: the word and the low byte of the next, tenths of Hz
    LIVE_VALUE_AIR_SPEED,         // signed hundredths of m/s
    LIVE_VALUE_LIGHT,             // unsigned lux
    LIVE_VALUE_CO2,               // signed ppm
    LIVE_VALUE_CURRENT,           // signed mA
    LIVE_VALUE_TVOC,              // signed ppb
    LIVE_VALUE_PARTICLES,         // unsigned tenths of ug/m3
    LIVE_VALUE_PARTICLE_SIZE,     // unsigned tenths of um
    LIVE_VALUE_POTENTIOMETER,     // signed tenths, no unit
};

// The window's state between ticks; it lives as long as the program.
struct LiveDataState {
    BYTE state;
    BYTE waitTicks;
    BYTE lastResult;
    BYTE calibratorPresent;
    BYTE calibratorUnit;
};

extern LiveDataState g_liveData;

int ReadReportWord(const BYTE* report, int registerIndex);
int ReadReportSignedWord(const BYTE* report, int registerIndex);
// Shows or hides every control of a zero-terminated id list (the calibration-device rows).
void ShowLiveControls(HWND dialog, const int* ids, int show);
void FormatLiveValue(BYTE kind, const BYTE* report, int registerIndex, WCHAR* text);
INT_PTR CALLBACK LiveDataDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
