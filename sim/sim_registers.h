// Simulated register memory and EEPROM: block reads and writes, the store steps, the jumper query.
#ifndef ZENTIL_SIM_REGISTERS_H
#define ZENTIL_SIM_REGISTERS_H

#include "sim/sim_device.h"

// Read block (0xC0), write block (0xC1), EEPROM store step (0xCD) and jumper query (0xCE).
bool SimHandleRegisterCommand(SimDevice& device, const BYTE* report);
// The feature read after a jumper query: byte 2 is 0 when the service jumper is fitted.
bool SimReplyJumperQuery(SimDevice& device, BYTE* reply);
// The output report after a write-block command carries that block's registers.
bool SimStoreWrittenBlock(SimDevice& device, const SimReport& report);

// Block n (1..12) of the register memory: first register and count (blocks 2 and 3 hold 12).
int SimBlockFirstRegister(int block);
int SimBlockRegisterCount(int block);

#endif
