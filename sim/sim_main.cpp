// zentil-sim: serves simulated devices for a Zentil started beside it under wine, so that every
// window can be tried without hardware. Usage: zentil-sim DEVICE-NAME [FIRMWARE]
#include <stdio.h>
#include <string.h>

#include "sim/sim_device.h"
#include "sim/sim_live.h"

// Models whose device name differs from the label the program shows for them.
static const char* const NAME_OF_LABEL[][2] = {
    {"LO2", "L-O2"},          {"T1CGA", "T1cGA"},       {"LB-DMG", "LBDMG1K"},  {"LB-RMG", "LBRMG1K"},
    {"LB-KDG", "LBKDG1K "},   {"LB-KDG-S", "LBKDG1KS"}, {"LB-ODG", "LBODG1K"},  {"LB-DMO", "LBDMO"},
    {"LB-RMO", "LBRMO"},      {"LB-KDO", "LBKDO "},     {"LB-KDO-S", "LBKDOS"}, {"LB-ODO", "LBODO"},
    {"KDG", "KDG "},          {"DMG1K", "DMG1K "},
};

int main(int argc, char** argv)
{
    const char* name = argc > 1 ? argv[1] : "TDO";
    for (size_t i = 0; i < sizeof(NAME_OF_LABEL) / sizeof(NAME_OF_LABEL[0]); i++)
        if (_stricmp(name, NAME_OF_LABEL[i][0]) == 0) name = NAME_OF_LABEL[i][1];
    const char* firmware = argc > 2 ? argv[2] : "01.00.00";
    SimStartServer();
    int id = SimAddDevice(name, firmware);
    {
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
