// Simulated calibration behaviour of the configured devices: analog-output drive and calibration
// words, T1cGA input points, and the EEPROM calibration record with the service jumper.
#include "sim/sim_calibration.h"

#include <map>

#include "app/device_types.h"
#include "sim/sim_live.h"

static const BYTE SIM_CMD_WRITE_CALIBRATION = 0xF0;
static const BYTE SIM_CMD_STORE_EEPROM = 0xCD;
static const BYTE SIM_STORE_CALIBRATION = 3;
static const BYTE SIM_STATUS_READY = 0xAA;
static const BYTE SIM_REFERENCE_FIRST = 0xA0;
static const DWORD SIM_MAGIC = 0x5D2E7A41;
static const DWORD SIM_READING_MAX = 0xFFFFFF;
static const int SIM_OUTPUTS = 2;
// Point codes: bit 1 the high point, bit 2 voltage (else current), bit 3 output 2.
static const BYTE SIM_CODE_HIGH = 0x02;
static const BYTE SIM_CODE_VOLTAGE = 0x04;
static const BYTE SIM_CODE_LAST = 0x0E;
// Nominal readings of the four quantities: current low, current high, voltage low, voltage high.
static const DWORD SIM_NOMINAL[4] = {20000, 200000, 10000, 100000};

// Guarded by SimLock like the devices themselves; made on first use.
static std::map<int, SimCalibrationState> s_states;

static SimCalibrationState MakeDefaultState()
{
    SimCalibrationState state = {};
    for (int code = 0; code < SIM_OUTPUT_POINT_CODES; code++) {
        state.points[code].slope = (code & SIM_CODE_VOLTAGE) ? SIM_VOLTAGE_SLOPE : SIM_CURRENT_SLOPE;
        state.points[code].trueWord = (code & SIM_CODE_HIGH) ? SIM_HIGH_POINT_TRUE_WORD : SIM_LOW_POINT_TRUE_WORD;
    }
    state.drivenCode[0] = state.drivenCode[1] = -1;
    state.pendingPoint = -1;
    state.readyAfterPolls = 1;
    return state;
}

static SimCalibrationState& StateOf(int id)
{
    std::map<int, SimCalibrationState>::iterator found = s_states.find(id);
    if (found == s_states.end()) found = s_states.insert(std::make_pair(id, MakeDefaultState())).first;
    return found->second;
}

// What the device's name makes it: a model calibrated at its outputs, at its input, or neither.
static BYTE CalibrationKindOf(const SimDevice& device)
{
    if (device.kind != SIM_KIND_DEVICE || device.mode != SIM_MODE_APPLICATION) return CALIBRATION_NONE;
    int code = FindDeviceTypeOfName(device.name);
    const DeviceTypeInfo* info = code >= 0 ? FindDeviceTypeInfo(code) : NULL;
    return info ? info->calibration : (BYTE)CALIBRATION_NONE;
}

void SimSetOutputPoint(int id, BYTE pointCode, int slope, int trueWord)
{
    if (pointCode >= SIM_OUTPUT_POINT_CODES) return;
    SimLock lock;
    SimOutputPoint& point = StateOf(id).points[pointCode];
    point.slope = slope;
    point.trueWord = trueWord;
    point.fixed = false;
}

void SimSetOutputFixedReading(int id, BYTE pointCode, DWORD reading)
{
    if (pointCode >= SIM_OUTPUT_POINT_CODES) return;
    SimLock lock;
    SimOutputPoint& point = StateOf(id).points[pointCode];
    point.fixed = true;
    point.fixedReading = reading;
}

void SimSetInputReadyAfterPolls(int id, int polls, BYTE notReadyStatus)
{
    SimLock lock;
    SimCalibrationState& state = StateOf(id);
    state.readyAfterPolls = polls;
    state.notReadyStatus = notReadyStatus;
}

SimCalibrationState SimGetCalibrationState(int id)
{
    SimLock lock;
    return StateOf(id);
}

static DWORD ReadLittleEndian32(const BYTE* bytes)
{
    return (DWORD)bytes[0] | ((DWORD)bytes[1] << 8) | ((DWORD)bytes[2] << 16) | ((DWORD)bytes[3] << 24);
}

// 0xF0 output code 0 lo hi: the output drives the point's quantity with that word, kept per code.
static void TakeOutputWrite(SimCalibrationState& state, const BYTE* report)
{
    int output = report[2];
    BYTE code = report[3];
    if (output < 1 || output > SIM_OUTPUTS || code > SIM_CODE_LAST || (code & 1)) return;
    WORD word = (WORD)(report[5] | (report[6] << 8));
    state.drivenCode[output - 1] = code;
    state.drivenWord[output - 1] = word;
    state.words[code] = word;
    state.written[code] = true;
}

// 0xF0 range point reference: the input takes the point once polled enough with its reference on.
static void TakeInputWrite(SimCalibrationState& state, const BYTE* report)
{
    if (report[3] >= SIM_INPUT_POINTS) return;
    state.pendingPoint = report[3];
    state.pendingRange = report[2];
    state.pendingReference = ReadLittleEndian32(report + 4);
    state.pollsSeen = 0;
}

// 0xCD 3: the calibration record goes to the EEPROM, only with the service jumper fitted. The
// analog-output models take it with or without magic, the T1cGA only with it.
static void TakeCalibrationStore(SimDevice& device, SimCalibrationState& state, BYTE kind, const BYTE* report)
{
    if (kind == CALIBRATION_AIN && ReadLittleEndian32(report + 5) != SIM_MAGIC) return;
    state.storesReceived++;
    if (!device.jumperFitted) return;
    state.storesDone++;
    for (int code = 0; code < SIM_OUTPUT_POINT_CODES; code++) {
        state.storedWords[code] = state.words[code];
        state.storedWritten[code] = state.written[code];
    }
    for (int point = 0; point < SIM_INPUT_POINTS; point++) {
        state.storedTaken[point] = state.taken[point];
        state.storedRange[point] = state.takenRange[point];
        state.storedReference[point] = state.takenReference[point];
    }
}

bool SimHandleCalibrationCommand(SimDevice& device, const BYTE* report)
{
    BYTE kind = CalibrationKindOf(device);
    if (kind == CALIBRATION_NONE) return false;
    SimCalibrationState& state = StateOf(device.id);
    if (report[1] == SIM_CMD_WRITE_CALIBRATION) {
        if (kind == CALIBRATION_AIN) TakeInputWrite(state, report);
        else TakeOutputWrite(state, report);
        return true;
    }
    if (report[1] == SIM_CMD_STORE_EEPROM && report[2] == SIM_STORE_CALIBRATION) {
        TakeCalibrationStore(device, state, kind, report);
        return true;
    }
    return false;
}

bool SimReplyInputPointStatus(SimDevice& device, BYTE* reply)
{
    if (device.lastFeatureCommand != SIM_CMD_WRITE_CALIBRATION || CalibrationKindOf(device) != CALIBRATION_AIN)
        return false;
    SimCalibrationState& state = StateOf(device.id);
    reply[2] = state.notReadyStatus;
    if (state.pendingPoint < 0) return true;
    state.pollsSeen++;
    bool due = state.readyAfterPolls > 0 && state.pollsSeen >= state.readyAfterPolls;
    if (!due || !SimCalibratorSupplies((BYTE)(SIM_REFERENCE_FIRST + state.pendingPoint))) return true;
    state.taken[state.pendingPoint] = true;
    state.takenRange[state.pendingPoint] = state.pendingRange;
    state.takenReference[state.pendingPoint] = state.pendingReference;
    reply[2] = SIM_STATUS_READY;
    return true;
}

// The reading of one output at its driven point code and word.
static DWORD OutputReading(const SimCalibrationState& state, int output)
{
    int code = state.drivenCode[output];
    const SimOutputPoint& point = state.points[code];
    if (point.fixed) return point.fixedReading;
    LONGLONG nominal = SIM_NOMINAL[(code & (SIM_CODE_VOLTAGE | SIM_CODE_HIGH)) >> 1];
    LONGLONG value = nominal + (LONGLONG)point.slope * ((LONGLONG)state.drivenWord[output] - point.trueWord);
    if (value < 0) return 0;
    return value > (LONGLONG)SIM_READING_MAX ? SIM_READING_MAX : (DWORD)value;
}

bool SimDrivenReading(BYTE channelCode, DWORD* value)
{
    // Channels: 0xA0 U2, 0xA1 I2, 0xA2 U1, 0xA3 I1.
    if (channelCode < 0xA0 || channelCode > 0xA3) return false;
    int output = channelCode >= 0xA2 ? 0 : 1;
    bool current = (channelCode & 1) != 0;
    bool driving = false;
    *value = 0;
    for (std::map<int, SimCalibrationState>::iterator it = s_states.begin(); it != s_states.end(); ++it) {
        SimDevice* device = SimGetDevice(it->first);
        if (!device || !device->present) continue;
        const SimCalibrationState& state = it->second;
        if (state.drivenCode[0] < 0 && state.drivenCode[1] < 0) continue;
        driving = true;
        int code = state.drivenCode[output];
        if (code >= 0 && ((code & SIM_CODE_VOLTAGE) == 0) == current) *value = OutputReading(state, output);
    }
    return driving;
}
