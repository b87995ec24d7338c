// Simulated calibration device and the configured device's stream of live-value reports: test and
// demo tooling for the live values window and the calibration tools.
#ifndef ZENTIL_SIM_LIVE_H
#define ZENTIL_SIM_LIVE_H

#include <windows.h>

#include "sim/sim_device.h"

const int SIM_CALIBRATOR_CHANNELS = 8;  // codes 0xA0..0xA7
// Index 8 carries the presence mark 'A' that the live values window looks for.
extern const wchar_t* const SIM_CALIBRATOR_PRODUCT_STRING;

// What a device streams: each input report it hands over is made fresh from this.
enum SimStream {
    SIM_STREAM_NONE = 0,
    SIM_STREAM_IDENTIFICATION,  // after 0xCC: name and firmware text
    SIM_STREAM_LIVE_BLOCK,      // after 0xC0 with block 1: registers 0-15 (device) or a reading (calibrator)
};

// The calibration device's side of its protocol, as a test sees it.
struct SimCalibratorState {
    BYTE stream;                // SimStream
    BYTE selectedCode;          // last 0xA0..0xA7 or 0xAF; 0 before any selection
    DWORD values[SIM_CALIBRATOR_CHANNELS];  // reading per channel code - 0xA0, in 0.0001 V or mA
    int beeps;                  // 0xCF commands received
    bool inputRun;              // between 0xC8 and 0xC9
    int inputRunsBegun, inputRunsEnded;
    // Configured device only: the connection the block-1 command came on, the one that last got
    // a live report, and when.
    int commandOpen;
    int streamedOpen;
    DWORD streamTick;
    bool refillQueued;  // the report last made for the stream may still wait in the queue
    SimReport refill;
};

// Adds a present calibration device with the compiled-in calibrator ids and the given product
// string; returns its id.
int SimAddCalibrator(const wchar_t* productString = SIM_CALIBRATOR_PRODUCT_STRING);
// Sets the reading of one channel (code 0xA0..0xA7).
void SimSetCalibratorValue(int id, BYTE channelCode, DWORD value);
SimCalibratorState SimGetCalibrator(int id);
// Sets register k of the configured device (block 1 holds the measured values in registers 0-15).
void SimSetDeviceRegister(int id, int registerIndex, WORD value);

// Demo: moves the device's measured values (registers 0-15) and the calibration device's readings
// a little at every step, so the live values window shows them changing.
const DWORD SIM_LIVE_DEMO_STEP_MS = 200;
void SimStepLiveDemo(int deviceId, int calibratorId, int step);

// ---- Device behaviour (called with the lock held, from the handler tables)
bool SimHandleLiveSetFeature(SimDevice& device, const BYTE* report);
// Whether a present calibration device supplies that reference signal (inside its input run).
bool SimCalibratorSupplies(BYTE signalCode);
// Makes the next input report of a streaming device when none is waiting; false when it has none.
bool SimRefillLiveInput(SimDevice& device);

#endif
