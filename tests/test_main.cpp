// Test program entry: starts the simulated-device server of this process, then runs the tests.
#include <gtest/gtest.h>

#include "sim/sim_device.h"
#include "tests/program_fixture.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    SimStartServer();
    PrepareTestProcess();
    return RUN_ALL_TESTS();
}
