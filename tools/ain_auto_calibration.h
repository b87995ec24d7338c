// Analog-input auto calibration: the calibration device puts four reference resistances on the
// T1cGA's resistance-thermometer input in turn; the device takes each point and stores them.
#ifndef ZENTIL_TOOLS_AIN_AUTO_CALIBRATION_H
#define ZENTIL_TOOLS_AIN_AUTO_CALIBRATION_H

#include <windows.h>

// The codes of the write and store states equal the signal they serve: after selecting a step's
// signal the run continues in the state whose code is that signal.
enum AinCalState {
    AIN_CAL_POLL_STATUS = 0,
    AIN_CAL_WRITE_RTD100_LOW = 1,
    AIN_CAL_WRITE_RTD100_HIGH = 2,
    AIN_CAL_WRITE_RTD1000_LOW = 3,
    AIN_CAL_WRITE_RTD1000_HIGH = 4,
    AIN_CAL_STORE = 9,
    AIN_CAL_READ_CALIBRATOR_ID = 10,
    AIN_CAL_ASK_JUMPER = 11,
    AIN_CAL_READ_JUMPER = 12,
    AIN_CAL_SELECT_SIGNAL = 13,
    AIN_CAL_RELEASE_SIGNAL = 14,
    AIN_CAL_WAIT = 15,
    AIN_CAL_BEEP = 16,
    AIN_CAL_IDLE = 17,
};

enum AinRange {
    AIN_RANGE_RTD100 = 0,
    AIN_RANGE_RTD1000 = 1,
};

const BYTE AIN_SIGNAL_DATA_SAVE = 9;
const DWORD AIN_REFERENCE_LOW = 2560000;
const DWORD AIN_REFERENCE_HIGH = 5120000;
const BYTE AIN_POLL_TICKS = 50;
const BYTE AIN_CALIBRATOR_ID_WAIT_TICKS = 25;
const BYTE AIN_STEP_WAIT_TICKS = 15;
const BYTE AIN_STORE_PARAMETER = 3;
const int AIN_STEP_COUNT = 5;

// One step of a run: the reference signal, and the calibration write of a point (none for the
// data-save step).
struct AinCalStep {
    BYTE signal;
    BYTE range;
    BYTE point;
    DWORD reference;
};
extern const AinCalStep AIN_CAL_STEPS[AIN_STEP_COUNT];

// The window's state between ticks; it lives as long as the program.
struct AinCalRecord {
    BYTE state;
    BYTE nextState;        // entered when the wait ends
    BYTE waitTicks;        // also the poll counter
    BYTE stepIndex;
    BYTE lastResult;
    BYTE calibratorFound;  // found at this opening: only then is the run ended on it
};

extern AinCalRecord g_ainCal;

void ShowCalibrationStep(HWND dialog);
INT_PTR CALLBACK AinAutoCalibrationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
