// Behaviour of a simulated device: what it does with each feature command, feature read and
// output report. Each area of the protocol adds its handlers to the tables below.
#include "sim/sim_calibration.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "sim/sim_registers.h"

#include "sim/sim_boot.h"

// Identification: the next input report carries the device name and firmware text.
static bool HandleIdentification(SimDevice& device, const BYTE* report)
{
    if (report[1] != 0xCC) return false;
    if (device.silent) return true;
    SimReport reply = {};
    memcpy(reply.data() + 1, device.name, 16);
    memcpy(reply.data() + 17, device.firmware, 8);
    device.pendingInput.push_back(reply);
    return true;
}

// A plain feature read gives the status word in bytes 5 (high) and 6 (low).
static bool ReplyStatusWord(SimDevice& device, BYTE* reply)
{
    reply[5] = (BYTE)(device.statusWord >> 8);
    reply[6] = (BYTE)(device.statusWord & 0xFF);
    return true;
}

typedef bool (*SetFeatureHandler)(SimDevice& device, const BYTE* report);
typedef bool (*GetFeatureHandler)(SimDevice& device, BYTE* reply);
typedef bool (*OutputReportHandler)(SimDevice& device, const SimReport& report);

static const SetFeatureHandler SET_FEATURE_HANDLERS[] = {
    SimHandleLiveSetFeature,  // first: it picks what a device streams, and answers the calibrator
    SimBootHandleSetFeature,
    HandleIdentification,
    SimHandleCalibrationCommand,  // before the register commands: it takes the calibration store
    SimHandleRegisterCommand,
};

// The last handler answers every read that no other handler claimed.
static const GetFeatureHandler GET_FEATURE_HANDLERS[] = {
    SimBootHandleGetFeature,
    SimReplyInputPointStatus,
    SimReplyJumperQuery,
    ReplyStatusWord,
};

static const OutputReportHandler OUTPUT_REPORT_HANDLERS[] = {
    SimBootHandleOutputReport,
    SimStoreWrittenBlock,
};

bool SimHandleSetFeature(SimDevice& device, const BYTE* report)
{
    for (size_t i = 0; i < sizeof(SET_FEATURE_HANDLERS) / sizeof(SET_FEATURE_HANDLERS[0]); i++)
        if (SET_FEATURE_HANDLERS[i] && SET_FEATURE_HANDLERS[i](device, report)) return true;
    return false;
}

bool SimHandleGetFeature(SimDevice& device, BYTE* reply)
{
    for (size_t i = 0; i < sizeof(GET_FEATURE_HANDLERS) / sizeof(GET_FEATURE_HANDLERS[0]); i++)
        if (GET_FEATURE_HANDLERS[i] && GET_FEATURE_HANDLERS[i](device, reply)) return true;
    return false;
}

void SimHandleOutputReport(SimDevice& device, const SimReport& report)
{
    for (size_t i = 0; i < sizeof(OUTPUT_REPORT_HANDLERS) / sizeof(OUTPUT_REPORT_HANDLERS[0]); i++)
        if (OUTPUT_REPORT_HANDLERS[i] && OUTPUT_REPORT_HANDLERS[i](device, report)) return;
}
