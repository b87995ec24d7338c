// zentil-sim: serves simulated devices for a Zentil started beside it under wine, so that every
// window can be tried without hardware. Usage: zentil-sim DEVICE-NAME [FIRMWARE]
#include <stdio.h>

#include "sim/sim_device.h"

int main(int argc, char** argv)
{
    const char* name = argc > 1 ? argv[1] : "TDO";
    const char* firmware = argc > 2 ? argv[2] : "01.00.00";
    SimStartServer();
    int id = SimAddDevice(name, firmware);
    {
        SimLock lock;
        SimDevice* device = SimGetDevice(id);
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = device->eeprom[r] = (WORD)r;
    }
    printf("zentil-sim: device \"%s\" firmware %s on pipe base %s\n", name, firmware, SimPipeBase().c_str());
    fflush(stdout);
    for (;;) Sleep(1000);
    return 0;
}
