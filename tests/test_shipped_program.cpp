// The shipped program itself, started as its own process over the simulated HID stack.
#include <gtest/gtest.h>

#include "app/edition.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
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
    EXPECT_EQ(CloseShippedProgram(&program), 0);
    // Every handle the program opened was closed.
    int opens = 0, closes = 0;
    EXPECT_TRUE(WaitUntil([&] {
        opens = closes = 0;
        for (const SimEvent& e : SimGetEvents(device)) {
            opens += e.kind == SIM_EVENT_OPEN;
            closes += e.kind == SIM_EVENT_CLOSE;
        }
        return opens == closes;
    }));
    EXPECT_EQ(opens, closes);
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
