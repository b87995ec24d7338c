// Test program entry: starts the simulated-device server of this process, then runs the tests.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "sim/sim_device.h"
#include "tests/program_fixture.h"

// The first program of a Wine session that shows a window starts the session's desktop process,
// which inherits that program's output handles; a test runner waiting for the output to end would
// then wait for the whole session. The test script therefore starts the desktop once with
// --warm-up, its output going nowhere, before any test runs.
static int WarmUpDesktop()
{
    HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (window) DestroyWindow(window);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "--warm-up") == 0) return WarmUpDesktop();
    testing::InitGoogleTest(&argc, argv);
    SimStartServer();
    PrepareTestProcess();
    int status = RUN_ALL_TESTS();
    // The simulated devices' threads, the control server's and any scenario thread a watchdog gave
    // up on may still run. The ordinary exit would stop them wherever they are (in the middle of an
    // allocation, say) and then run the clean-up, which can wait for ever on a lock one of them
    // held. The results are written: stop the devices, flush, and end the process at once.
    SimResetDevices();
    fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), (UINT)status);
    return status;
}
