// Analog-output writer: sets the two outputs of the analog output module directly and shows their
// ranges and the calibration device's reading of the selected output.
#ifndef ZENTIL_TOOLS_ANALOG_OUTPUT_WRITER_H
#define ZENTIL_TOOLS_ANALOG_OUTPUT_WRITER_H

#include <windows.h>

enum AoWriterState {
    AO_WRITER_IDLE = 0,
    AO_WRITER_SET_WRITE_POINTER = 1,
    AO_WRITER_WAIT = 2,
    AO_WRITER_ASK_BLOCK4 = 3,
    AO_WRITER_READ_BLOCK4 = 4,
    AO_WRITER_ASK_BLOCK5 = 5,
    AO_WRITER_READ_BLOCK5 = 6,
    AO_WRITER_ASK_BLOCK7 = 7,
    AO_WRITER_READ_BLOCK7 = 8,
    AO_WRITER_READ_CALIBRATOR = 9,
};

const BYTE AO_WRITER_STEP_DELAY_TICKS = 2;
const BYTE AO_WRITER_OUTPUT_BLOCK = 1;
const int AO_WRITER_CHANNEL_COUNT = 2;
const int AO_WRITER_VALUE_CHARS = 9;

// The window's state between ticks; it lives as long as the program.
struct AoWriterRecord {
    BYTE state;
    BYTE nextState;       // entered when the wait ends
    BYTE waitTicks;
    BYTE lastResult;
    BYTE calibratorPresent;
    BYTE calibratorUnit;
    WORD lastValues[AO_WRITER_CHANNEL_COUNT];  // low 16 bits of the last value written per channel
};

extern AoWriterRecord g_aoWriter;

INT_PTR CALLBACK AnalogOutputWriteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
