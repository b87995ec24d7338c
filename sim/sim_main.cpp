// zentil-sim: serves simulated devices for a Zentil started beside it under wine, so that every
// window can be tried without hardware. Usage: zentil-sim DEVICE-NAME [FIRMWARE]
#include <stdio.h>
#include <string.h>

#include "sim/sim_device.h"
#include "sim/sim_live.h"

int main(int argc, char** argv)
{
    const char* name = SimDeviceNameOfModel(argc > 1 ? argv[1] : "TDO");
    const char* firmware = argc > 2 ? argv[2] : "01.00.00";
    SimStartServer();
    int id = SimAddDevice(name, firmware);
    // Factory settings where the program has the model's dialog; otherwise each register holds its
    // number, so every register is told apart.
    if (!SimPutFactorySettings(id)) {
        SimLock lock;
        SimDevice* device = SimGetDevice(id);
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = device->eeprom[r] = (WORD)r;
    }
    // A calibration device beside it, so DATA shows its row too.
    int calibrator = SimAddCalibrator();
    printf("zentil-sim: device \"%s\" firmware %s and a calibration device on pipe base %s\n", name, firmware,
           SimPipeBase().c_str());
    fflush(stdout);
    for (int step = 0;; step++) {
        SimStepLiveDemo(id, calibrator, step);
        Sleep(SIM_LIVE_DEMO_STEP_MS);
    }
    return 0;
}
