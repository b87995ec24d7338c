// Bootloader mode of the simulated devices: restart into the bootloader, boot start with its
// BootInfoReport, file parameters and erase, 32-byte packets with acknowledgements, restart.
#include "sim/sim_boot.h"

#include <map>

static const BYTE BOOT_CMD_ENTER = 0xCA;
static const BYTE BOOT_CMD_START = 0x55;
static const BYTE BOOT_CMD_FILE_PARAMETERS = 0x00;
static const BYTE BOOT_STATUS_READY = 0xAA;
static const BYTE BOOT_STATUS_ACK = 0xAD;
static const int BOOT_PACKET_BYTES = 32;
static const DWORD BOOT_TIMER_MS = 5;

enum BootPhase {
    PHASE_NONE,      // application, or bootloader before boot start
    PHASE_STARTED,   // feature reads give the status and the flash size
    PHASE_ERASING,   // feature reads give ready once the erase time has passed
    PHASE_PACKETS,   // each packet is acknowledged by the next feature read
};

struct BootState {
    SimBootSetup setup;
    SimBootRecord record;
    BootPhase phase = PHASE_NONE;
    DWORD eraseDoneTick = 0;
    bool ackPending = false;
    bool started = false;        // boot start seen since the bootloader came up
    DWORD lastTrafficTick = 0;
    bool reappearPending = false;
    DWORD reappearTick = 0;
    SimMode reappearMode = SIM_MODE_APPLICATION;
    std::wstring applicationProductString;
};

static std::map<int, BootState> s_boots;  // by device id, under SimLock
static bool s_timerStarted = false;

static BootState& BootOf(SimDevice& device)
{
    return s_boots[device.id];
}

static void ScheduleReappear(SimDevice& device, BootState& boot, SimMode mode)
{
    device.present = false;
    device.pendingInput.clear();
    boot.phase = PHASE_NONE;
    boot.ackPending = false;
    boot.started = false;
    boot.reappearMode = mode;
    boot.reappearPending = boot.setup.reappearMs != SIM_BOOT_NEVER;
    boot.reappearTick = GetTickCount() + boot.setup.reappearMs;
}

// Brings devices back after their restart delay and restarts idle bootloaders.
static DWORD WINAPI BootTimerProc(LPVOID)
{
    for (;;) {
        Sleep(BOOT_TIMER_MS);
        std::vector<int> appearing, vanishing;
        {
            SimLock lock;
            DWORD now = GetTickCount();
            for (auto& entry : s_boots) {
                BootState& boot = entry.second;
                SimDevice* device = SimGetDevice(entry.first);
                if (!device) continue;
                if (boot.reappearPending && (LONG)(now - boot.reappearTick) >= 0) {
                    boot.reappearPending = false;
                    device->mode = boot.reappearMode;
                    if (device->mode == SIM_MODE_BOOTLOADER) {
                        boot.applicationProductString = device->productString;
                        device->productString = boot.setup.bootProductString;
                    } else {
                        device->productString = boot.applicationProductString;
                    }
                    boot.lastTrafficTick = now;
                    appearing.push_back(entry.first);
                } else if (device->present && device->mode == SIM_MODE_BOOTLOADER && boot.started &&
                           boot.setup.restartIdleMs != SIM_BOOT_NEVER &&
                           now - boot.lastTrafficTick >= boot.setup.restartIdleMs) {
                    boot.record.restarts++;
                    ScheduleReappear(*device, boot, SIM_MODE_APPLICATION);
                    vanishing.push_back(entry.first);
                }
            }
        }
        for (int id : appearing) SimSetPresent(id, true);
        for (int id : vanishing) SimSetPresent(id, false);  // already away; wakes its pipe thread
    }
    return 0;
}

static void StartBootTimer()
{
    if (s_timerStarted) return;
    s_timerStarted = true;
    HANDLE thread = CreateThread(NULL, 0, BootTimerProc, NULL, 0, NULL);
    if (thread) CloseHandle(thread);
}

void SimBootConfigure(int id, const SimBootSetup& setup)
{
    SimLock lock;
    StartBootTimer();
    s_boots[id].setup = setup;
}

SimBootRecord SimBootGetRecord(int id)
{
    SimLock lock;
    auto found = s_boots.find(id);
    return found == s_boots.end() ? SimBootRecord() : found->second.record;
}

void SimBootResetAll()
{
    SimLock lock;
    s_boots.clear();
}

static void CopyField(BYTE* destination, const std::string& text, size_t width)
{
    memset(destination, ' ', width);
    memcpy(destination, text.data(), text.size() < width ? text.size() : width);
}

// Boot start: the BootInfoReport (after any invalid ones the test asked for) waits to be read.
static void QueueBootInfo(SimDevice& device, BootState& boot)
{
    if (device.silent) return;
    for (int i = 0; i < boot.setup.invalidInfoReports; i++) {
        SimReport invalid = {};
        invalid[1] = '?';
        device.pendingInput.push_back(invalid);
    }
    SimReport info = {};
    CopyField(info.data() + 1, boot.setup.platform, 16);
    CopyField(info.data() + 17, boot.setup.hwVersion, 8);
    CopyField(info.data() + 25, boot.setup.bootVersion, 8);
    device.pendingInput.push_back(info);
}

bool SimBootHandleSetFeature(SimDevice& device, const BYTE* report)
{
    if (device.mode == SIM_MODE_APPLICATION && report[1] != BOOT_CMD_ENTER) return false;
    BootState& boot = BootOf(device);
    StartBootTimer();
    if (device.mode == SIM_MODE_APPLICATION) {
        boot.record.enterBootCommands++;
        ScheduleReappear(device, boot, SIM_MODE_BOOTLOADER);
        return true;
    }
    boot.lastTrafficTick = GetTickCount();
    switch (report[1]) {
    case BOOT_CMD_START:
        boot.record.bootStarts++;
        boot.started = true;
        boot.phase = PHASE_STARTED;
        QueueBootInfo(device, boot);
        break;
    case BOOT_CMD_FILE_PARAMETERS:
        if (boot.phase == PHASE_NONE) break;
        boot.record.fileType = (char)report[5];
        boot.record.flashed.clear();
        boot.phase = PHASE_ERASING;
        boot.eraseDoneTick = GetTickCount() + boot.setup.eraseMs;
        break;
    default:
        break;
    }
    return true;
}

bool SimBootHandleGetFeature(SimDevice& device, BYTE* reply)
{
    if (device.mode != SIM_MODE_BOOTLOADER) return false;
    BootState& boot = BootOf(device);
    boot.lastTrafficTick = GetTickCount();
    switch (boot.phase) {
    case PHASE_STARTED:
        reply[2] = boot.setup.bootStartStatus;
        reply[3] = (BYTE)(boot.setup.flashSizeKb & 0xFF);
        reply[4] = (BYTE)(boot.setup.flashSizeKb >> 8);
        break;
    case PHASE_ERASING:
        if ((LONG)(GetTickCount() - boot.eraseDoneTick) >= 0) reply[2] = BOOT_STATUS_READY;
        break;
    case PHASE_PACKETS:
        if (boot.ackPending) reply[2] = BOOT_STATUS_ACK;
        boot.ackPending = false;
        break;
    default:
        break;
    }
    return true;
}

bool SimBootHandleOutputReport(SimDevice& device, const SimReport& report)
{
    if (device.mode != SIM_MODE_BOOTLOADER) return false;
    BootState& boot = BootOf(device);
    boot.lastTrafficTick = GetTickCount();
    if (boot.phase == PHASE_ERASING && (LONG)(GetTickCount() - boot.eraseDoneTick) >= 0) boot.phase = PHASE_PACKETS;
    if (boot.phase != PHASE_PACKETS) return true;
    boot.record.flashed.insert(boot.record.flashed.end(), report.begin() + 1, report.begin() + 1 + BOOT_PACKET_BYTES);
    boot.ackPending = boot.setup.acknowledgesPackets;
    return true;
}
