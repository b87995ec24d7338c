// Benchmark: a simulated download of a 64 KB image, against the nominal pacing of the bootloader
// window (10 ms ticks, every ninth tick in the boot states, the 320 ms erase delay, the reset wait).
#include <windows.h>

#include <stdio.h>

#include "app/main_window.h"
#include "resource.h"
#include "sim/sim_boot.h"
#include "sim/sim_device.h"
#include "tests/firmware_fixtures.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tools/bootloader.h"

namespace {

const DWORD IMAGE_BYTES = 65536;

// Ticks of a download from the DownLoad click to the window's end when every wait is as short
// as the window allows: enter boot 1, boot start 9, status 9, info 9, file check 1, file
// parameters 1, erase delay 31, erase poll 1, two ticks per packet, reset wait 40 x 9.
DWORD NominalTicks(DWORD pages)
{
    return 1 + 9 + 9 + 9 + 1 + 1 + 31 + 1 + pages * BOOT_PACKETS_PER_PAGE * 2 + BOOT_RESET_STEPS * 9;
}

}  // namespace

int main()
{
    SimStartServer();
    PrepareTestProcess();
    int device = SimAddDevice("TDO 4-20", "00.00.24");
    SimBootSetup setup;
    setup.restartIdleMs = 500;
    SimBootConfigure(device, setup);
    std::string path = WriteFixtureFile("bench.hex", HexFileFor(PatternImage(IMAGE_BYTES)));
    ResetProgramRecords();

    double clicked = 0, ended = 0;
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    RunDialog(IDD_BOOTLOADER, BootloaderDlgProc, [&](HWND dialog) {
        if (!ChooseFileWithButton(GetDlgItem(dialog, IDC_BOOT_OPEN_FILE), path)) return;
        QueryPerformanceCounter(&count);
        clicked = (double)count.QuadPart / frequency.QuadPart;
        PostClick(GetDlgItem(dialog, IDC_BOOT_DOWNLOAD));
        MessageBoxRecord box;
        if (WaitForMessageBox(ThisProcess(), &box, 120000)) AnswerMessageBox(box);
        WaitUntil([&] { return !IsWindow(dialog); }, 20000);
        QueryPerformanceCounter(&count);
        ended = (double)count.QuadPart / frequency.QuadPart;
    }, nullptr, 180000);

    std::vector<SimEvent> events = SimGetEvents(device);
    DWORD firstPacket = 0, lastPacket = 0, packets = 0;
    for (const SimEvent& event : events) {
        if (event.kind != SIM_EVENT_OUTPUT_REPORT) continue;
        if (packets == 0) firstPacket = event.tick;
        lastPacket = event.tick;
        packets++;
    }
    DWORD pages = CountImagePages(IMAGE_BYTES);
    double nominal = NominalTicks(pages) * BOOT_TICK_MS / 1000.0;
    double packetNominal = (packets > 1 ? packets - 1 : 0) * 2 * BOOT_TICK_MS / 1000.0;
    double packetMeasured = (lastPacket - firstPacket) / 1000.0;
    bool complete = SimBootGetRecord(device).flashed.size() == pages * FLASH_PAGE_SIZE;
    printf("download of %lu bytes: %lu pages, %lu packets, image %s\n", (unsigned long)IMAGE_BYTES,
           (unsigned long)pages, (unsigned long)packets, complete ? "complete" : "INCOMPLETE");
    printf("whole run   %8.2f s  nominal %8.2f s  ratio %5.2f\n", ended - clicked, nominal,
           (ended - clicked) / nominal);
    printf("packets     %8.2f s  nominal %8.2f s  ratio %5.2f\n", packetMeasured, packetNominal,
           packetNominal > 0 ? packetMeasured / packetNominal : 0.0);
    SimBootResetAll();
    SimResetDevices();
    return complete ? 0 : 1;
}
