// Bootloader mode of the simulated devices: restart into the bootloader, boot start with its
// BootInfoReport, file parameters and erase, 32-byte packets with acknowledgements, restart.
#ifndef ZENTIL_SIM_BOOT_H
#define ZENTIL_SIM_BOOT_H

#include <windows.h>

#include <string>
#include <vector>

#include "sim/sim_device.h"

const DWORD SIM_BOOT_NEVER = INFINITE;
const DWORD SIM_BOOT_AREA_SIZE = 4096;  // the bootloader's own flash; packets land after it

// How a device behaves around and in its bootloader; a test changes it before the run.
struct SimBootSetup {
    DWORD reappearMs = 50;        // absent this long after CMD_ENTER_BOOT and after a restart (NEVER: stays away)
    DWORD eraseMs = 60;           // flash erase time after the file parameters
    DWORD restartIdleMs = 1000;   // once started, the bootloader restarts after this long without traffic
    WORD flashSizeKb = 128;
    BYTE bootStartStatus = 0xAA;  // byte 2 of the feature reads after boot start
    int invalidInfoReports = 0;   // BootInfoReports with no capital letter in byte 1 before the valid one
    bool acknowledgesPackets = true;
    std::string platform = "DOLVAN-PIC18F";  // up to 16 characters, blank-filled
    std::string hwVersion = "1.2.3";         // up to 8
    std::string bootVersion = "0.0.5";       // up to 8
    std::wstring bootProductString = L"Dolvan Bootloader";
};

// What the bootloader of a device received.
struct SimBootRecord {
    int enterBootCommands = 0;
    int bootStarts = 0;
    int restarts = 0;           // restarts from the bootloader back into the application
    char fileType = 0;          // byte 5 of the file parameters
    std::vector<BYTE> flashed;  // the packets' bytes, from flash address 4096 on
};

void SimBootConfigure(int id, const SimBootSetup& setup);
SimBootRecord SimBootGetRecord(int id);
// Drops every device's boot state and pending restarts (between tests).
void SimBootResetAll();

// Device behaviour in the handler tables of sim_model.cpp (called with the lock held).
bool SimBootHandleSetFeature(SimDevice& device, const BYTE* report);
bool SimBootHandleGetFeature(SimDevice& device, BYTE* reply);
bool SimBootHandleOutputReport(SimDevice& device, const SimReport& report);

#endif
