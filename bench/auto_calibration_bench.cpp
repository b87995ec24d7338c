// Benchmark: one analog-output calibration (TDO, the full bisection: 60 writes) and one
// analog-input calibration (each point ready at the second poll), each from the Calibration press
// to the store (outputs) or the beep (input) on the wire, against the nominal pacing of the 20 ms
// ticks: one tick per state step (a wait's ending tick included) and n more per counter of n.
#include <windows.h>

#include <stdio.h>

#include <functional>

#include "app/device_types.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_calibration.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tools/ain_auto_calibration.h"
#include "tools/aout_auto_calibration.h"

namespace {

const int AIN_READY_AT_POLL = 2;

DWORD FirstTick(int simId, BYTE command, SimEventKind kind = SIM_EVENT_SET_FEATURE)
{
    for (const SimEvent& event : SimGetEvents(simId))
        if (event.kind == kind && !event.failed && (kind != SIM_EVENT_SET_FEATURE || event.bytes[1] == command))
            return event.tick;
    return 0;
}

int CountCommands(int simId, BYTE command)
{
    int count = 0;
    for (const SimEvent& event : SimGetEvents(simId))
        if (event.kind == SIM_EVENT_SET_FEATURE && !event.failed && event.bytes[1] == command) count++;
    return count;
}

int CountFeatureReads(int simId)
{
    int count = 0;
    for (const SimEvent& event : SimGetEvents(simId))
        if (event.kind == SIM_EVENT_GET_FEATURE && !event.failed) count++;
    return count;
}

// Runs one window from its template, presses Calibration once it is offered and waits until
// `done` holds; returns the press time (GetTickCount, as the transcripts).
DWORD RunCalibration(int templateId, DLGPROC dialogProc, int startId, const std::function<bool()>& done)
{
    DWORD pressed = 0;
    RunDialog(templateId, dialogProc, [&](HWND dialog) {
        if (!WaitUntil([&] { return IsEnabled(GetDlgItem(dialog, startId)); })) return;
        pressed = GetTickCount();
        PostClick(GetDlgItem(dialog, startId));
        WaitUntil(done, 300000);
        WaitUntil([&] { return IsEnabled(GetDlgItem(dialog, startId)); }, 5000);
        PostClick(GetDlgItem(dialog, IDCANCEL));
    }, nullptr, 360000);
    return pressed;
}

void PrintRun(const char* what, DWORD measuredMs, DWORD nominalTicks)
{
    double nominal = nominalTicks * DIALOG_TICK_MS / 1000.0;
    printf("%-28s %8.2f s  nominal %8.2f s  ratio %5.3f\n", what, measuredMs / 1000.0, nominal,
           nominal > 0 ? measuredMs / 1000.0 / nominal : 0.0);
}

}  // namespace

int main()
{
    SimStartServer();
    PrepareTestProcess();

    // Outputs: press -> 50-tick wait, identification, 5-tick wait, jumper answer, 35-tick wait;
    // per point a start and a done step, per write 102 ticks; the store.
    ResetProgramRecords();
    g_deviceType = DEVICE_TYPE_TDO;
    int device = SimAddDevice("TDO", "01.00.00");
    int calibrator = SimAddCalibrator();
    DWORD pressed = RunCalibration(IDD_AOUT_CAL, AoutAutoCalibrationDlgProc, IDC_AOUT_CAL_START,
                                   [&] { return CountCommands(device, CMD_STORE_EEPROM) > 0; });
    int writes = CountCommands(device, CMD_WRITE_CALIBRATION);
    DWORD nominal = (AOUT_DEVICE_ID_WAIT_TICKS + 1) + 1 + (AOUT_JUMPER_WAIT_TICKS + 1) + 1 +
                    (AOUT_FIRST_POINT_WAIT_TICKS + 1) + AOUT_POINT_COUNT * 2 + writes * (AOUT_SETTLE_TICKS + 2) + 1;
    printf("output calibration: %d writes, %d stored\n", writes, SimGetCalibrationState(device).storesDone);
    PrintRun("press to store", FirstTick(device, CMD_STORE_EEPROM) - pressed, nominal);
    SimResetDevices();

    // Input: press -> jumper query, 15-tick wait, answer, 15-tick wait; per point a select, a
    // 50-tick wait and the write, then 51 ticks per poll; the data-save select, its wait and the
    // store; 15 ticks, the release, 15 ticks, the beep.
    ResetProgramRecords();
    device = SimAddDevice("T1cGA", "01.00.00");
    calibrator = SimAddCalibrator();
    SimSetInputReadyAfterPolls(device, AIN_READY_AT_POLL);
    pressed = RunCalibration(IDD_AIN_CAL, AinAutoCalibrationDlgProc, IDC_AIN_CAL_START,
                             [&] { return SimGetCalibrator(calibrator).beeps > 0; });
    int polls = CountFeatureReads(device) - 1;  // the jumper answer aside
    nominal = 1 + (AIN_STEP_WAIT_TICKS + 1) + 1 + (AIN_STEP_WAIT_TICKS + 1) + 4 * (1 + (AIN_POLL_TICKS + 1) + 1) +
              polls * (AIN_POLL_TICKS + 1) + 1 + (AIN_POLL_TICKS + 1) + 1 + (AIN_STEP_WAIT_TICKS + 1) + 1 +
              (AIN_STEP_WAIT_TICKS + 1) + 1;
    printf("input calibration: %d polls, %d stored\n", polls, SimGetCalibrationState(device).storesDone);
    PrintRun("press to beep", FirstTick(calibrator, CMD_ACTIVATE) - pressed, nominal);
    SimResetDevices();
    return 0;
}
