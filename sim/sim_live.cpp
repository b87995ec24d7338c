// Simulated calibration device (channel and signal selection, readings, beep, input-calibration
// run) and the endless report streams that the live values window and calibration tools read.
#include "sim/sim_live.h"

#include <map>

#include "kit/shared_records.h"
#include "sim/sim_calibration.h"

const wchar_t* const SIM_CALIBRATOR_PRODUCT_STRING = L"Dolvan CAL meter";

static const BYTE SIM_CMD_SELECT_FIRST = 0xA0;
static const BYTE SIM_CMD_SELECT_LAST = 0xA7;
static const BYTE SIM_CMD_SELECT_NONE = 0xAF;
static const BYTE SIM_CMD_READ_BLOCK = 0xC0;
static const BYTE SIM_CMD_CONFIG_BEGIN = 0xC8;
static const BYTE SIM_CMD_CONFIG_END = 0xC9;
static const BYTE SIM_CMD_READ_STRINGS = 0xCC;
static const BYTE SIM_CMD_ACTIVATE = 0xCF;
static const BYTE SIM_LIVE_BLOCK = 1;
static const int SIM_LIVE_BLOCK_REGISTERS = 16;
// A configured device's live stream lapses when no reader came for this long, so that a
// later transfer engine does not find a stale live report waiting on its fresh connection.
static const DWORD SIM_LIVE_STREAM_LAPSE_MS = 2000;
// Filler of the reading report's unused bytes, so a reader that looks there shows it.
static const BYTE SIM_UNUSED_BYTE = 0xEE;

// Per device id: what it streams; for a calibration device also its selections and values.
// Guarded by SimLock like the devices themselves.
static std::map<int, SimCalibratorState> s_liveStates;

// The stream and calibrator state of a device, made on first use.
static SimCalibratorState& LiveState(int id)
{
    return s_liveStates[id];  // a new entry starts all zero: no stream, nothing selected
}

// A calibration device: a device of its own kind, with the calibrator ids and product string.
int SimAddCalibrator(const wchar_t* productString)
{
    int id = SimAddDevice("CAL", "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    device->kind = SIM_KIND_CALIBRATOR;
    device->vendorId = DEFAULT_CALIBRATOR_VENDOR_ID;
    device->productId = DEFAULT_CALIBRATOR_PRODUCT_ID;
    device->productString = productString;
    s_liveStates[id] = SimCalibratorState();
    return id;
}

// What the calibration device measures on one channel from its next reading on.
void SimSetCalibratorValue(int id, BYTE channelCode, DWORD value)
{
    if (channelCode < SIM_CMD_SELECT_FIRST || channelCode > SIM_CMD_SELECT_LAST) return;
    SimLock lock;
    LiveState(id).values[channelCode - SIM_CMD_SELECT_FIRST] = value;
}

// A copy of the calibration device's state for a test to look at.
SimCalibratorState SimGetCalibrator(int id)
{
    SimLock lock;
    return LiveState(id);
}

// A measured value of the configured device (registers 0-15 travel in its live reports).
void SimSetDeviceRegister(int id, int registerIndex, WORD value)
{
    if (registerIndex < 0 || registerIndex >= SIM_REGISTER_COUNT) return;
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    if (device) device->registers[registerIndex] = value;
}

// Chooses what the device streams from its last command. The configured device answers its own
// identification and register blocks elsewhere; here it only starts or ends its live stream.
bool SimHandleLiveSetFeature(SimDevice& device, const BYTE* report)
{
    SimCalibratorState& state = LiveState(device.id);
    BYTE command = report[1];
    if (device.kind != SIM_KIND_CALIBRATOR) {
        // A live report made for a reader that turned out to send a command is taken back, so
        // the report the command asks for comes next.
        if (state.refillQueued && !device.pendingInput.empty() && device.pendingInput.front() == state.refill)
            device.pendingInput.pop_front();
        state.refillQueued = false;
        if (command == SIM_CMD_READ_BLOCK && report[2] == SIM_LIVE_BLOCK) {
            state.stream = SIM_STREAM_LIVE_BLOCK;
            state.commandOpen = device.opensSeen;
            state.streamedOpen = device.opensSeen;
            state.streamTick = GetTickCount();
        } else {
            state.stream = SIM_STREAM_NONE;
        }
        return false;
    }
    // The calibration device: whatever it queued for its last command is no longer what it sends.
    if (command == SIM_CMD_READ_BLOCK && report[2] == SIM_LIVE_BLOCK) {
        state.stream = SIM_STREAM_LIVE_BLOCK;
        device.pendingInput.clear();
        return true;
    }
    if (command == SIM_CMD_READ_STRINGS) {
        state.stream = SIM_STREAM_IDENTIFICATION;
        device.pendingInput.clear();
        return true;
    }
    if ((command >= SIM_CMD_SELECT_FIRST && command <= SIM_CMD_SELECT_LAST) || command == SIM_CMD_SELECT_NONE) {
        state.selectedCode = command;
        if (state.stream == SIM_STREAM_LIVE_BLOCK) device.pendingInput.clear();
        return true;
    }
    if (command == SIM_CMD_ACTIVATE) {
        state.beeps++;
        return true;
    }
    if (command == SIM_CMD_CONFIG_BEGIN) {
        state.inputRun = true;
        state.inputRunsBegun++;
        return true;
    }
    if (command == SIM_CMD_CONFIG_END) {
        state.inputRun = false;
        state.inputRunsEnded++;
        return true;
    }
    return false;
}

// Whether a present calibration device puts this reference signal on the device's input: inside
// an input-calibration run, with the signal selected.
bool SimCalibratorSupplies(BYTE signalCode)
{
    for (std::map<int, SimCalibratorState>::iterator it = s_liveStates.begin(); it != s_liveStates.end(); ++it) {
        SimDevice* device = SimGetDevice(it->first);
        if (!device || !device->present || device->kind != SIM_KIND_CALIBRATOR) continue;
        if (it->second.inputRun && it->second.selectedCode == signalCode) return true;
    }
    return false;
}

// The identification report: name in bytes 1-16, firmware text in bytes 17-24.
static SimReport MakeIdentificationReport(const SimDevice& device)
{
    SimReport report = {};
    memcpy(report.data() + 1, device.name, 16);
    memcpy(report.data() + 17, device.firmware, 8);
    return report;
}

// A reading of the selected channel in bytes 5-7 (least significant first); no channel, no value.
static SimReport MakeReadingReport(const SimCalibratorState& state)
{
    SimReport report;
    report.fill(SIM_UNUSED_BYTE);
    report[0] = 0;
    DWORD value = 0;
    // A device driving its outputs for a calibration overrides the values set for the channels.
    if (!SimDrivenReading(state.selectedCode, &value) && state.selectedCode >= SIM_CMD_SELECT_FIRST &&
        state.selectedCode <= SIM_CMD_SELECT_LAST)
        value = state.values[state.selectedCode - SIM_CMD_SELECT_FIRST];
    report[5] = (BYTE)(value & 0xFF);
    report[6] = (BYTE)((value >> 8) & 0xFF);
    report[7] = (BYTE)((value >> 16) & 0xFF);
    return report;
}

// Block 1 of the configured device: registers 0-15 big-endian from byte 1.
static SimReport MakeLiveBlockReport(const SimDevice& device)
{
    SimReport report = {};
    for (int k = 0; k < SIM_LIVE_BLOCK_REGISTERS; k++) {
        report[2 * k + 1] = (BYTE)(device.registers[k] >> 8);
        report[2 * k + 2] = (BYTE)(device.registers[k] & 0xFF);
    }
    return report;
}

// The calibration device streams without end; the configured device hands one live report to
// each new connection (the live values window reopens its slot before every read), as long as
// readers keep coming. The block-1 report queued for the command serves the first reader, so the
// stream begins only with the second connection after the command: a transfer engine that reads
// block 1 and opens again for block 2 must not find a live report waiting on its new connection.
bool SimRefillLiveInput(SimDevice& device)
{
    if (device.silent || !device.present || device.mode != SIM_MODE_APPLICATION) return false;
    SimCalibratorState& state = LiveState(device.id);
    if (device.kind == SIM_KIND_CALIBRATOR) {
        if (state.stream == SIM_STREAM_IDENTIFICATION) {
            device.pendingInput.push_back(MakeIdentificationReport(device));
            return true;
        }
        if (state.stream == SIM_STREAM_LIVE_BLOCK) {
            device.pendingInput.push_back(MakeReadingReport(state));
            return true;
        }
        return false;
    }
    if (state.stream != SIM_STREAM_LIVE_BLOCK) return false;
    // The newest connection has had its report (the command's own reply or a live one): a reader
    // is still there, so the lapse counts from now. It never counts the window's own start, from
    // the command to its first reader, which a loaded machine can stretch past the lapse.
    if (state.streamedOpen == device.opensSeen || device.opensSeen == state.commandOpen + 1) {
        state.streamTick = GetTickCount();
        return false;
    }
    if (device.opensSeen < state.commandOpen + 2) return false;
    if (GetTickCount() - state.streamTick > SIM_LIVE_STREAM_LAPSE_MS) {
        state.stream = SIM_STREAM_NONE;
        return false;
    }
    state.streamedOpen = device.opensSeen;
    state.streamTick = GetTickCount();
    state.refill = MakeLiveBlockReport(device);
    state.refillQueued = true;
    device.pendingInput.push_back(state.refill);
    return true;
}

// Demo values of block 1 around which the live values move (temperature 23.5, humidity 45.5,
// CO2 650 ppm and so on) and of the four measuring channels (U2, I2, U1, I1).
static const short SIM_DEMO_REGISTERS[SIM_LIVE_BLOCK_REGISTERS] = {235, 455, 120, 250, 400, 650, 125, 0,
                                                                  -15, 0, 0, 25, 0, 0, 0, 0};
static const DWORD SIM_DEMO_READINGS[4] = {75000, 40000, 50000, 120000};
static const int SIM_DEMO_SWING = 20;

// One demo step: every value moves one count along its triangle.
void SimStepLiveDemo(int deviceId, int calibratorId, int step)
{
    // A triangle of SIM_DEMO_SWING steps up and down around each value.
    int offset = step % (2 * SIM_DEMO_SWING);
    if (offset > SIM_DEMO_SWING) offset = 2 * SIM_DEMO_SWING - offset;
    offset -= SIM_DEMO_SWING / 2;
    for (int k = 0; k < SIM_LIVE_BLOCK_REGISTERS; k++)
        SimSetDeviceRegister(deviceId, k, (WORD)(SIM_DEMO_REGISTERS[k] + offset));
    for (int n = 0; n < 4; n++)
        SimSetCalibratorValue(calibratorId, (BYTE)(SIM_CMD_SELECT_FIRST + n), SIM_DEMO_READINGS[n] + 10 * offset);
}
