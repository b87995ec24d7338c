// Analog-output auto calibration: bisects each output's DAC word against the calibration device's
// reading at every calibration point and has the device store the words in its EEPROM.
#ifndef ZENTIL_TOOLS_AOUT_AUTO_CALIBRATION_H
#define ZENTIL_TOOLS_AOUT_AUTO_CALIBRATION_H

#include <windows.h>

enum AoutCalState {
    AOUT_CAL_IDLE = 0,
    AOUT_CAL_WAIT = 1,
    AOUT_CAL_READ_CALIBRATOR_ID = 2,
    AOUT_CAL_READ_DEVICE_ID = 3,
    AOUT_CAL_READ_JUMPER = 4,
    AOUT_CAL_POINT_U1_1V = 5,
    AOUT_CAL_POINT_U1_10V = 6,
    AOUT_CAL_POINT_I1_2MA = 7,
    AOUT_CAL_POINT_I1_20MA = 8,
    AOUT_CAL_POINT_U2_1V = 9,
    AOUT_CAL_POINT_U2_10V = 10,
    AOUT_CAL_POINT_I2_2MA = 11,
    AOUT_CAL_POINT_I2_20MA = 12,
    AOUT_CAL_STORE = 13,
};

// The round of one point: prompt, then write and settle until the reading is judged good.
enum AoutPointStep {
    POINT_STEP_START = 0,
    POINT_STEP_WRITE = 1,
    POINT_STEP_SETTLE = 2,
    POINT_STEP_DONE = 3,
};

const BYTE AOUT_APPROXIMATION_STEPS = 12;
const WORD AOUT_DAC_START = 2048;
const DWORD AOUT_DAC_FIRST_STEP = 1024;
const BYTE AOUT_SETTLE_TICKS = 100;
const BYTE AOUT_CALIBRATOR_ID_WAIT_TICKS = 50;
const BYTE AOUT_DEVICE_ID_WAIT_TICKS = 50;
const BYTE AOUT_JUMPER_WAIT_TICKS = 5;
const BYTE AOUT_FIRST_POINT_WAIT_TICKS = 35;
const BYTE AOUT_STORE_PARAMETER = 3;
const int AOUT_POINT_COUNT = 8;
const int AOUT_SINGLE_OUTPUT_POINT_COUNT = 4;  // TYSO has output 1 only

// One calibration point: its state, prompt, the channel selected when it starts (0: the one
// before is kept), the reading's unit, the calibration write's output and point code, and the
// windows (inclusive, in 0.0001 V or mA) in which a reading is accepted.
struct AoutCalPoint {
    BYTE state;
    UINT promptTextId;
    BYTE channel;
    BYTE unit;
    BYTE output;
    BYTE pointCode;
    DWORD nominal;
    DWORD settleLow, settleHigh;
    DWORD finalLow, finalHigh;
};
extern const AoutCalPoint AOUT_CAL_POINTS[AOUT_POINT_COUNT];

// What a judgement of one reading decides.
enum AoutVerdict {
    AOUT_VERDICT_ACCEPT = 0,     // the point is done; the device keeps the word last written
    AOUT_VERDICT_NEXT_WORD = 1,  // write `word` next
    AOUT_VERDICT_FAIL = 2,       // the last judgement missed the final window
};

struct AoutJudgement {
    BYTE verdict;
    WORD word;
    DWORD step;
    BYTE remaining;
};

AoutJudgement JudgeAoutReading(const AoutCalPoint& point, DWORD reading, WORD word, DWORD step, BYTE remaining);

// The window's state between ticks; it lives as long as the program.
struct AoutCalRecord {
    BYTE state;
    BYTE nextState;       // entered when the wait ends
    BYTE waitTicks;
    BYTE pointStep;
    BYTE settleTicks;
    WORD dacWord;
    DWORD step;
    BYTE remaining;       // judgements left at this point
    DWORD lastReading;
    BYTE unit;
    BYTE lastResult;
    BYTE deviceOpened;    // a Calibration run opened the device slot
    BYTE readingsStopped; // the calibration device failed or the window is ending: no more reads
};

extern AoutCalRecord g_aoutCal;

INT_PTR CALLBACK AoutAutoCalibrationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
