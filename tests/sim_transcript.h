// Reading the simulated devices' transcripts in tests.
#ifndef ZENTIL_TESTS_SIM_TRANSCRIPT_H
#define ZENTIL_TESTS_SIM_TRANSCRIPT_H

#include <functional>
#include <vector>

#include "sim/sim_device.h"
#include "tests/gui_driver.h"

// The bytes of every event of that kind that was not made to fail, in order.
inline std::vector<std::vector<BYTE>> TranscriptBytes(int simId, SimEventKind kind)
{
    std::vector<std::vector<BYTE>> found;
    for (const SimEvent& event : SimGetEvents(simId))
        if (event.kind == kind && !event.failed) found.push_back(event.bytes);
    return found;
}

// Opens minus closes that the device saw: 0 when the program holds no handle of it.
inline int CountOpenHandles(int simId)
{
    int open = 0;
    for (const SimEvent& e : SimGetEvents(simId)) open += e.kind == SIM_EVENT_OPEN ? 1 : e.kind == SIM_EVENT_CLOSE ? -1 : 0;
    return open;
}

// The number of feature commands of that code the device took (with that first parameter byte
// when one is given).
inline int CountFeatureCommands(int simId, BYTE command, int parameter = -1)
{
    int count = 0;
    for (const std::vector<BYTE>& bytes : TranscriptBytes(simId, SIM_EVENT_SET_FEATURE))
        if (bytes.size() >= 3 && bytes[1] == command && (parameter < 0 || bytes[2] == parameter)) count++;
    return count;
}

// Waits until `condition` holds while the device goes on seeing traffic. A transfer at the
// device's own pacing takes as long as a loaded machine makes it; one that has stopped is stuck,
// so the wait gives up once the device has seen nothing for `silentMs`.
inline bool WaitWhileDeviceTalks(int simId, const std::function<bool()>& condition, DWORD silentMs = DRIVER_WAIT_MS)
{
    size_t events = SimGetEvents(simId).size();
    DWORD lastChange = GetTickCount();
    for (;;) {
        if (condition()) {
            NoteDriverProgress();
            return true;
        }
        size_t now = SimGetEvents(simId).size();
        if (now != events) {
            events = now;
            lastChange = GetTickCount();
            NoteDriverProgress();
        } else if (GetTickCount() - lastChange >= silentMs) {
            return false;
        }
        Sleep(5);
    }
}

// Register filler of the seeded devices: a register no dialog owns holds FILLER_BASE + r, so a
// write that touches it shows.
const WORD FILLER_BASE = 1000;

// Fills every register with FILLER_BASE + r and fits the service jumper; the caller seeds what
// its model owns.
inline void FillDeviceRegisters(int simId)
{
    SimLock lock;
    SimDevice* device = SimGetDevice(simId);
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = (WORD)(FILLER_BASE + r);
    device->jumperFitted = true;
}

// A register of the device's working set, or of its EEPROM.
inline WORD DeviceRegister(int simId, int r, bool eeprom = false)
{
    SimLock lock;
    SimDevice* device = SimGetDevice(simId);
    return eeprom ? device->eeprom[r] : device->registers[r];
}

inline void SetDeviceRegister(int simId, int r, WORD value)
{
    SimLock lock;
    SimGetDevice(simId)->registers[r] = value;
}

#endif
