// Simulated calibration behaviour of the configured devices: an analog-output model drives its
// outputs for the calibration device to measure and keeps the calibration words; the T1cGA takes
// reference points inside an input-calibration run. Test and demo tooling.
#ifndef ZENTIL_SIM_CALIBRATION_H
#define ZENTIL_SIM_CALIBRATION_H

#include <windows.h>

#include "sim/sim_device.h"

const int SIM_OUTPUT_POINT_CODES = 16;  // point codes 0x00..0x0E (even); output 2 adds 0x08
const int SIM_INPUT_POINTS = 4;
const int SIM_VOLTAGE_SLOPE = 25;       // reading counts per DAC count by default
const int SIM_CURRENT_SLOPE = 50;
const int SIM_LOW_POINT_TRUE_WORD = 400;
const int SIM_HIGH_POINT_TRUE_WORD = 4000;

// How an output answers a DAC word at one point code: nominal + slope x (word - true word), or a
// fixed reading whatever the word.
struct SimOutputPoint {
    int slope;
    int trueWord;
    bool fixed;
    DWORD fixedReading;
};

// One device's calibration side, as a test sees it.
struct SimCalibrationState {
    SimOutputPoint points[SIM_OUTPUT_POINT_CODES];
    int drivenCode[2];                   // per output 1, 2: the point code it drives now, -1 none
    WORD drivenWord[2];
    WORD words[SIM_OUTPUT_POINT_CODES];  // the last word written per point code
    bool written[SIM_OUTPUT_POINT_CODES];
    WORD storedWords[SIM_OUTPUT_POINT_CODES];  // the EEPROM calibration record
    bool storedWritten[SIM_OUTPUT_POINT_CODES];
    int storesReceived;                  // 0xCD 3 commands taken
    int storesDone;                      // of them, those that reached the EEPROM (jumper fitted)
    // Input points (T1cGA): the point last written, how many polls it takes, and what was taken.
    int pendingPoint;                    // -1 none
    BYTE pendingRange;
    DWORD pendingReference;
    int readyAfterPolls;                 // the n-th poll after a write answers ready; 0 never
    int pollsSeen;
    BYTE notReadyStatus;                 // byte 2 of a poll before the device is ready
    bool taken[SIM_INPUT_POINTS];
    BYTE takenRange[SIM_INPUT_POINTS];
    DWORD takenReference[SIM_INPUT_POINTS];
    bool storedTaken[SIM_INPUT_POINTS];  // the EEPROM record of the input points
    BYTE storedRange[SIM_INPUT_POINTS];
    DWORD storedReference[SIM_INPUT_POINTS];
};

// A point code's answer: a slope and true word, or a fixed reading.
void SimSetOutputPoint(int id, BYTE pointCode, int slope, int trueWord);
void SimSetOutputFixedReading(int id, BYTE pointCode, DWORD reading);
// The T1cGA answers ready at the n-th poll after a write (0: never), `notReadyStatus` before.
void SimSetInputReadyAfterPolls(int id, int polls, BYTE notReadyStatus = 0);
SimCalibrationState SimGetCalibrationState(int id);

// ---- Device behaviour (called with the lock held, from the handler tables)
// The calibration write (0xF0) and the calibration store (0xCD 3) of the calibrated models.
bool SimHandleCalibrationCommand(SimDevice& device, const BYTE* report);
// A plain feature read after a T1cGA point write: the point's status in byte 2.
bool SimReplyInputPointStatus(SimDevice& device, BYTE* reply);
// What the calibration device measures on a channel (0xA0..0xA3) while some device drives its
// outputs for a calibration: the driven output in its quantity, else 0. False while no device
// drives any output, so the calibration device's own values count.
bool SimDrivenReading(BYTE channelCode, DWORD* value);

#endif
