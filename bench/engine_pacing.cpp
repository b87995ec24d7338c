// Times full read and write runs of the transfer engines against a simulated device and prints
// each as a ratio to the engines' nominal pacing (the 20 ms ticks their state machines count).
// Run under wine with the simulated hid.dll: scripts/wine-run build/x86_64/bench-engine-pacing.exe
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "app/main_window.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"

// Ticks from the window's start to its last step: 17 to the first command, then 5 per block
// (command, 2-tick delay, report); the write adds the jumper query and reply (8 ticks) and the
// three store steps (1 + 17 + 17 ticks).
static const int READ_NOMINAL_TICKS = 17 + 5 * REGISTER_BLOCK_COUNT - 1;
static const int WRITE_NOMINAL_TICKS = 17 + 8 + 5 * REGISTER_BLOCK_COUNT - 1 + 1 + 17 + 17;

static double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * (double)counter.QuadPart / (double)frequency.QuadPart;
}

// Lists the simulated device and leaves it found in slot 1, as a connected main window does.
static int ConnectDevice()
{
    SimResetDevices();
    SimAddDevice("TDO", "00.00.24");
    for (int attempt = 0; attempt < 200; attempt++) {
        ResetHidDeviceList();
        int count = EnumerateHidDevices();
        if (count > 0 && FindHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE)) {
            g_deviceConnected = 1;
            return 1;
        }
        Sleep(10);
    }
    return 0;
}

// One run of a progress window; its length in milliseconds, or -1 when the run failed.
static double TimeRun(int templateId, DLGPROC procedure)
{
    double start = NowMs();
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(templateId), NULL, procedure, 0);
    double elapsed = NowMs() - start;
    return g_deviceConnected ? elapsed : -1.0;
}

static int Report(const char* name, int templateId, DLGPROC procedure, int nominalTicks, int runs)
{
    double nominal = nominalTicks * (double)DIALOG_TICK_MS;
    double total = 0.0, worst = 0.0;
    for (int i = 0; i < runs; i++) {
        double elapsed = TimeRun(templateId, procedure);
        if (elapsed < 0) {
            printf("%s run failed\n", name);
            return 0;
        }
        total += elapsed;
        if (elapsed > worst) worst = elapsed;
    }
    double mean = total / runs;
    printf("%s run: mean %.0f ms, worst %.0f ms, nominal %.0f ms, ratio %.3f (worst %.3f) over %d runs\n", name, mean,
           worst, nominal, mean / nominal, worst / nominal, runs);
    return 1;
}

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1) runs = 1;
    g_hInstance = GetModuleHandleA(NULL);
    SimStartServer();
    if (!ConnectDevice()) {
        printf("the simulated device was not found\n");
        return 1;
    }
    int ok = Report("read", IDD_READ_PROGRESS, ReadProgressDlgProc, READ_NOMINAL_TICKS, runs) &&
             Report("write", IDD_WRITE_PROGRESS, WriteProgressDlgProc, WRITE_NOMINAL_TICKS, runs);
    return ok ? 0 : 1;
}
