// The main window against simulated devices: detection, identification, START/STOP, menus.
#include <gtest/gtest.h>

#include "app/device_types.h"
#include "app/main_window.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { SimResetDevices(); }
    void TearDown() override { SimResetDevices(); }
};

std::wstring HidDeviceInfoCaption()
{
    return EditionText(L"HID device info", L"HID zařízení, info. ");
}

std::wstring DeviceInfoFwCaption()
{
    return EditionText(L"Device info FW", L"Zařízení info FW");
}

// Waits until the identification has been read and shown.
bool WaitForIdentification()
{
    return WaitUntil([] { return GetText(g_firmwareField).size() > 2 && g_mainState == MAIN_STATE_IDLE; });
}

}  // namespace

TEST_F(MainWindowTest, StartupWithoutDeviceSaysSoAfterAboutATenthOfASecond)
{
    DWORD opened = GetTickCount();
    int exitCode = RunProgram([&] {
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        DWORD shownAfter = GetTickCount() - opened;
        EXPECT_GE(shownAfter, 250u);
        EXPECT_LE(shownAfter, 1500u);
        EXPECT_EQ(box.text, EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"));
        EXPECT_EQ(box.caption, HidDeviceInfoCaption());
        EXPECT_EQ(box.icon, (UINT)MB_ICONINFORMATION);
        EXPECT_EQ(box.owner, g_mainWindow);
        AnswerMessageBox(box);

        // START gives the same text under its own caption.
        PostClick(g_startButton);
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         DeviceInfoFwCaption(), MB_ICONINFORMATION);
        EXPECT_TRUE(IsEnabled(g_startButton));
        EXPECT_FALSE(IsEnabled(g_stopButton));
        EXPECT_FALSE(IsEnabled(g_dataButton));
        EXPECT_TRUE(IsEnabled(g_configButton));
    });
    EXPECT_EQ(exitCode, 0);
}

TEST_F(MainWindowTest, ConnectsToTdoAndShowsItsIdentification)
{
    int device = SimAddDevice("TDO 4-20", "00.00.24");
    {
        SimLock lock;
        SimGetDevice(device)->productString = L"Dolvan TDO transmitter";
    }
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdentification());
        EXPECT_EQ(GetText(g_hidIdField), L"Dolvan TDO transmitter");
        EXPECT_EQ(GetText(g_deviceField), L"  TDO 4-20        ");
        EXPECT_EQ(GetText(g_firmwareField), L"  00.00.24");
        EXPECT_EQ(GetText(g_dataButton), EditionText(L"READ", L"ČÍST"));
        EXPECT_FALSE(IsEnabled(g_startButton));
        EXPECT_TRUE(IsEnabled(g_stopButton));
        EXPECT_TRUE(IsEnabled(g_dataButton));
        EXPECT_EQ(g_deviceConnected, 1);
        EXPECT_EQ(g_deviceType, DEVICE_TYPE_TDO);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
    });
    // On the wire: one identification command with the magic, then its report.
    std::vector<SimEvent> events = SimGetEvents(device);
    std::vector<SimEvent> features, inputs;
    for (const SimEvent& e : events) {
        if (e.kind == SIM_EVENT_SET_FEATURE) features.push_back(e);
        if (e.kind == SIM_EVENT_INPUT_REPORT) inputs.push_back(e);
    }
    ASSERT_EQ(features.size(), 1u);
    EXPECT_EQ(features[0].bytes, (std::vector<BYTE>{0, 0xCC, 0, 0, 0, 0x41, 0x7A, 0x2E, 0x5D}));
    ASSERT_EQ(inputs.size(), 1u);
}
