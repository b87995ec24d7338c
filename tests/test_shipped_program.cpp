// The shipped program itself, started as its own process over the simulated HID stack.
#include <gtest/gtest.h>

#include "app/edition.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
#include "tests/sim_transcript.h"
#include "tests/program_fixture.h"

namespace {

class ShippedProgramTest : public testing::Test {
protected:
    void SetUp() override { SimResetDevices(); }
    void TearDown() override { SimResetDevices(); }
};

// The program's children in creation order: three fields, then START, STOP, CONFIG, DATA.
std::vector<HWND> ChildrenOf(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace

TEST_F(ShippedProgramTest, ConnectsShowsTheEditionAndExitsCleanly)
{
    int device = SimAddDevice("TDO", "00.00.24");
    {
        SimLock lock;
        SimGetDevice(device)->productString = L"Dolvan TDO";
    }
    ProgramProcess program;
    ASSERT_TRUE(StartShippedProgram(&program));
    std::vector<HWND> children = ChildrenOf(program.mainWindow);
    ASSERT_EQ(children.size(), 7u);
    EXPECT_TRUE(WaitUntil([&] { return GetText(children[2]) == L"  00.00.24"; }));
    EXPECT_EQ(GetText(program.mainWindow), EditionText(L"Zentil 00.00.100  EN", L"Zentil 00.00.100  CZ"));
    EXPECT_EQ(GetText(children[0]), L"Dolvan TDO");
    EXPECT_EQ(GetText(children[1]), L"  TDO             ");
    EXPECT_EQ(GetText(children[5]), EditionText(L"CONFIG", L"KONFIGURACE"));
    EXPECT_EQ(GetText(children[6]), EditionText(L"READ", L"ČÍST"));
    // Connected, the program holds the one device handle; STOP gives it back. Counted while the
    // program runs, since its end would close every handle anyway.
    EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(device) == 1; }));
    PostClick(children[4]);
    EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(device) == 0; }));
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 0), (DWORD)WAIT_TIMEOUT) << "the program ended";
    EXPECT_EQ(CloseShippedProgram(&program), 0);
}

TEST_F(ShippedProgramTest, WithoutDeviceItSaysSo)
{
    ProgramProcess program;
    ASSERT_TRUE(StartShippedProgram(&program));
    MessageBoxRecord box;
    ASSERT_TRUE(WaitForMessageBox(program.info.dwProcessId, &box));
    EXPECT_EQ(box.text, EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"));
    EXPECT_EQ(box.caption, EditionText(L"HID device info", L"HID zařízení, info. "));
    AnswerMessageBox(box);
    EXPECT_EQ(CloseShippedProgram(&program), 0);
}
