// Simulated register memory and EEPROM: block reads and writes, the store steps, the jumper query.
#include "sim/sim_registers.h"

#include <string.h>

#include <deque>
#include <map>

static const BYTE SIM_CMD_READ_BLOCK = 0xC0;
static const BYTE SIM_CMD_WRITE_BLOCK = 0xC1;
static const BYTE SIM_CMD_STORE_EEPROM = 0xCD;
static const BYTE SIM_CMD_JUMPER_QUERY = 0xCE;
static const int SIM_BLOCK_COUNT = 12;
static const int SIM_STORE_STEPS = 3;

static const int BLOCK_FIRST[SIM_BLOCK_COUNT] = {0, 16, 28, 40, 56, 72, 88, 104, 120, 136, 152, 168};
static const int BLOCK_COUNT[SIM_BLOCK_COUNT] = {16, 12, 12, 16, 16, 16, 16, 16, 16, 16, 16, 16};

// The blocks announced by write-block commands of each device, oldest first, each until its output
// report. The commands come through the control pipe and the reports through the data pipe, so a
// report may be taken after the next block's command: it still belongs to the oldest block.
static std::map<int, std::deque<int>> s_pendingWriteBlocks;

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
        if (parameter >= 1 && parameter <= SIM_BLOCK_COUNT) s_pendingWriteBlocks[device.id].push_back(parameter);
        device.storeStepsDone = 0;  // a new image begins: the store steps start again
        return true;
    case SIM_CMD_STORE_EEPROM:
        TakeStoreStep(device, parameter);
        return true;
    case SIM_CMD_JUMPER_QUERY:
        s_pendingWriteBlocks[device.id].clear();  // a write run begins: nothing of an earlier one is owed
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
    std::deque<int>& pending = s_pendingWriteBlocks[device.id];
    if (pending.empty()) return false;
    int block = pending.front();
    pending.pop_front();
    int first = SimBlockFirstRegister(block);
    for (int k = 0; k < SimBlockRegisterCount(block); k++) {
        device.registers[first + k] = (WORD)((report[2 * k + 1] << 8) | report[2 * k + 2]);
    }
    return true;
}
