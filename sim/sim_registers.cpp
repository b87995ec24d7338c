// Simulated register memory and EEPROM: block reads and writes, the store steps, the jumper query.
#include "sim/sim_registers.h"

#include <string.h>

#include <map>

static const BYTE SIM_CMD_READ_BLOCK = 0xC0;
static const BYTE SIM_CMD_WRITE_BLOCK = 0xC1;
static const BYTE SIM_CMD_STORE_EEPROM = 0xCD;
static const BYTE SIM_CMD_JUMPER_QUERY = 0xCE;
static const int SIM_BLOCK_COUNT = 12;
static const int SIM_STORE_STEPS = 3;

static const int BLOCK_FIRST[SIM_BLOCK_COUNT] = {0, 16, 28, 40, 56, 72, 88, 104, 120, 136, 152, 168};
static const int BLOCK_COUNT[SIM_BLOCK_COUNT] = {16, 12, 12, 16, 16, 16, 16, 16, 16, 16, 16, 16};

// The block announced by the last write-block command of each device, until its output report.
static std::map<int, int> s_pendingWriteBlock;

int SimBlockFirstRegister(int block)
{
    return BLOCK_FIRST[block - 1];
}

int SimBlockRegisterCount(int block)
{
    return BLOCK_COUNT[block - 1];
}

static void QueueBlock(SimDevice& device, int block)
{
    SimReport reply = {};
    int first = SimBlockFirstRegister(block);
    for (int k = 0; k < SimBlockRegisterCount(block); k++) {
        reply[2 * k + 1] = (BYTE)(device.registers[first + k] >> 8);
        reply[2 * k + 2] = (BYTE)(device.registers[first + k] & 0xFF);
    }
    device.pendingInput.push_back(reply);
}

// Store steps must come 0, 1, 2 in order; the EEPROM takes the registers only after step 2,
// and only with the service jumper fitted.
static void TakeStoreStep(SimDevice& device, int step)
{
    if (step == device.storeStepsDone) device.storeStepsDone++;
    else device.storeStepsDone = step == 0 ? 1 : 0;
    if (device.storeStepsDone < SIM_STORE_STEPS) return;
    device.storeStepsDone = 0;
    if (device.jumperFitted) memcpy(device.eeprom, device.registers, sizeof(device.eeprom));
}

bool SimHandleRegisterCommand(SimDevice& device, const BYTE* report)
{
    int parameter = report[2];
    switch (report[1]) {
    case SIM_CMD_READ_BLOCK:
        if (parameter >= 1 && parameter <= SIM_BLOCK_COUNT && !device.silent) QueueBlock(device, parameter);
        return true;
    case SIM_CMD_WRITE_BLOCK:
        if (parameter >= 1 && parameter <= SIM_BLOCK_COUNT) s_pendingWriteBlock[device.id] = parameter;
        return true;
    case SIM_CMD_STORE_EEPROM:
        TakeStoreStep(device, parameter);
        return true;
    case SIM_CMD_JUMPER_QUERY:
        return true;
    default:
        return false;
    }
}

bool SimReplyJumperQuery(SimDevice& device, BYTE* reply)
{
    if (device.lastFeatureCommand != SIM_CMD_JUMPER_QUERY) return false;
    reply[2] = device.jumperFitted ? 0 : 1;
    return true;
}

bool SimStoreWrittenBlock(SimDevice& device, const SimReport& report)
{
    std::map<int, int>::iterator pending = s_pendingWriteBlock.find(device.id);
    if (pending == s_pendingWriteBlock.end()) return false;
    int block = pending->second;
    s_pendingWriteBlock.erase(pending);
    int first = SimBlockFirstRegister(block);
    for (int k = 0; k < SimBlockRegisterCount(block); k++) {
        device.registers[first + k] = (WORD)((report[2 * k + 1] << 8) | report[2 * k + 2]);
    }
    device.storeStepsDone = 0;
    return true;
}
