// The main window against simulated devices: detection, identification, START/STOP, menus.
#include <gtest/gtest.h>

#include "app/device_types.h"
#include "app/edition.h"
#include "app/main_window.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

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
        EXPECT_LE(shownAfter, 5000u);  // loose: a loaded machine may be slow
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
    // On the wire: one identification command with the magic, then its report. The device records
    // a report taken a moment after the program has it, and a closed handle after that: read the
    // transcript once every handle is recorded closed.
    ASSERT_TRUE(WaitUntil([&] { return CountOpenHandles(device) == 0; }));
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

namespace {

int CountEvents(int device, SimEventKind kind, BYTE command = 0)
{
    int count = 0;
    for (const SimEvent& e : SimGetEvents(device))
        if (e.kind == kind && (command == 0 || (e.bytes.size() > 1 && e.bytes[1] == command))) count++;
    return count;
}

}  // namespace

TEST_F(MainWindowTest, DeviceWithOtherIdsIsNotOurs)
{
    int device = SimAddDevice("TDO", "00.00.24");
    {
        SimLock lock;
        SimGetDevice(device)->productId = 0x1234;
    }
    RunProgram([&] {
        ExpectMessageBox(ThisProcess(), EditionText(L"My HID device not detected", L"Moje zařízení HID nenalezeno"),
                         HidDeviceInfoCaption(), MB_ICONINFORMATION);
        EXPECT_EQ(g_mainState, MAIN_STATE_IDLE);
        EXPECT_EQ(g_deviceConnected, 0);
    });
    EXPECT_EQ(CountEvents(device, SIM_EVENT_SET_FEATURE), 0);
}

TEST_F(MainWindowTest, Gqu2GetsTheWriteButtonAndStopStartReconnect)
{
    int device = SimAddDevice("GQU2", "00.00.10");
    {
        SimLock lock;
        SimGetDevice(device)->productString = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    }
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdentification());
        EXPECT_EQ(GetText(g_dataButton), EditionText(L"WRITE", L"ZAPSAT"));
        EXPECT_EQ(GetText(g_hidIdField), L"ABCDEFGHIJKLMNOPQRSTUVWX");  // 24 characters after start-up

        PostClick(g_stopButton);
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 0; }));
        EXPECT_EQ(GetText(g_hidIdField), L" ");
        EXPECT_EQ(GetText(g_deviceField), L" ");
        EXPECT_EQ(GetText(g_firmwareField), L" ");
        EXPECT_TRUE(IsEnabled(g_startButton));
        EXPECT_FALSE(IsEnabled(g_stopButton));
        EXPECT_FALSE(IsEnabled(g_dataButton));
        EXPECT_EQ(GetText(g_dataButton), EditionText(L"WRITE", L"ZAPSAT"));  // keeps its last text
        EXPECT_TRUE(WaitUntil([&] { return CountEvents(device, SIM_EVENT_CLOSE) == CountEvents(device, SIM_EVENT_OPEN); }));
        RunOnUiThread([] { EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE); });

        PostClick(g_startButton);
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }));
        EXPECT_EQ(GetText(g_hidIdField), L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");  // all 30 after START
        ASSERT_TRUE(WaitForIdentification());
        EXPECT_EQ(GetText(g_deviceField), L"  GQU2            ");
    });
    EXPECT_EQ(CountEvents(device, SIM_EVENT_SET_FEATURE, 0xCC), 2);
}

TEST_F(MainWindowTest, FailedIdentificationReadDisconnectsOnTheNextTick)
{
    int device = SimAddDevice("TDO", "00.00.24");
    SimAddFault(device, {SIM_FAULT_READ, 0, 1, -1, -1});
    RunProgram([&] {
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, 3000));
        EXPECT_EQ(box.text, EditionText(L"Application strings read error", L"Chyba při čtení identifikátorů zařízení"));
        EXPECT_EQ(box.caption, HidDeviceInfoCaption());
        EXPECT_EQ(box.icon, (UINT)MB_ICONERROR);
        // The disconnect tail runs while the box is still open.
        EXPECT_TRUE(WaitUntil([] { return g_deviceConnected == 0 && g_mainState == MAIN_STATE_IDLE; }, 1000));
        EXPECT_TRUE(IsEnabled(g_startButton));
        EXPECT_FALSE(IsEnabled(g_stopButton));
        EXPECT_EQ(GetText(g_deviceField), L" ");
        RunOnUiThread([] { EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE); });
        AnswerMessageBox(box);
    });
}

TEST_F(MainWindowTest, DeviceThatCannotBeOpenedIsTriedAgainSilently)
{
    int device = SimAddDevice("TDO", "00.00.24");
    // Every detection opens it three times (enumeration, search, the open that keeps it);
    // the third is dropped each time.
    SimAddFault(device, {SIM_FAULT_OPEN_DROP, 2, -1, -1, -1, 3});
    RunProgram([&] {
        auto opens = [&] {
            int count = 0;
            for (const SimEvent& e : SimGetEvents(device)) count += e.kind == SIM_EVENT_OPEN;
            return count;
        };
        EXPECT_TRUE(WaitUntil([&] { return opens() >= 9; }));  // tried again on the following ticks
        EXPECT_EQ(g_deviceConnected, 0);
        EXPECT_EQ(g_mainState, MAIN_STATE_AUTODETECT);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        SimClearFaults(device);
        EXPECT_TRUE(WaitForIdentification());
        EXPECT_EQ(g_deviceConnected, 1);
    });
}

TEST_F(MainWindowTest, UnsentIdentificationCommandLeavesTheFlagClearAndRetries)
{
    int device = SimAddDevice("TDO", "00.00.24");
    SimAddFault(device, {SIM_FAULT_SET_FEATURE, 0, 3, 0xCC, -1});
    RunProgram([&] {
        EXPECT_TRUE(WaitUntil([&] { return CountEvents(device, SIM_EVENT_SET_FEATURE, 0xCC) >= 1; }, 2000));
        EXPECT_EQ(g_deviceConnected, 0);
        // The automatic detection tries again on the next ticks and connects once the command goes out.
        EXPECT_TRUE(WaitForIdentification());
        EXPECT_EQ(CountEvents(device, SIM_EVENT_SET_FEATURE, 0xCC), 4);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
    });
}

TEST_F(MainWindowTest, OldFirmwareWarnsBeforeTheDialogAndTheWindowComesBack)
{
    int device = SimAddDevice("TDO", "00.00.23");
    ASSERT_TRUE(SimPutFactorySettings(device));
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdentification());
        PostClick(g_configButton);
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(box.text, EditionText(L"              Device firmware is old\n\nconfiguration can be uncorrect",
                                        L"              Firmware zařízení je zastaralý\n\nkonfigurace zařízení nemusí "
                                        L"proběhnout korektně"));
        EXPECT_EQ(box.caption, DeviceInfoFwCaption());
        EXPECT_EQ(box.icon, (UINT)MB_ICONINFORMATION);
        EXPECT_FALSE(IsShown(g_mainWindow));
        AnswerMessageBox(box);
        // The model's dialog opens after the warning and reads the device.
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_TDO_READ);
        ASSERT_TRUE(dialog != nullptr) << "no TDO dialog";
        EXPECT_TRUE(WaitUntil([&] { return GetTextUtf8(GetDlgItem(dialog, IDC_TDO_TEXT)) == "TDO Dolvan s.r.o"; }));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([] { return IsShown(g_mainWindow); }));
    });
}

TEST_F(MainWindowTest, ConfigRightAfterConnectingReadsTheIdentificationFirst)
{
    // G-QKE1's dialog reads nothing when it opens, so every input report is the identification's.
    int device = SimAddDevice("G-QKE1", "00.00.08");
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 3000));
        PostClick(g_configButton);
        EXPECT_TRUE(WaitUntil([] { return GetText(g_deviceField) == L"  G-QKE1          "; }));
        EXPECT_EQ(g_deviceType, DEVICE_TYPE_GQKE1);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_GQKE1_CANCEL);
        ASSERT_NE(dialog, nullptr);
        PostClick(GetDlgItem(dialog, IDC_GQKE1_CANCEL));
        EXPECT_TRUE(WaitUntil([] { return IsShown(g_mainWindow); }));
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Sleep(400);  // the pending read must not happen a second time
        EXPECT_EQ(g_mainState, MAIN_STATE_IDLE);
    });
    EXPECT_EQ(CountEvents(device, SIM_EVENT_INPUT_REPORT), 1);
}

TEST_F(MainWindowTest, ClosingWhileConnectedClosesTheDeviceAndExitsWithZero)
{
    int device = SimAddDevice("TDO", "00.00.24");
    int calibrator = SimAddCalibrator();
    int exitCode = RunProgram([&] {
        ASSERT_TRUE(WaitForIdentification());
        // Every slot in use: the device, and the calibration device as a tool leaves it open.
        RunOnUiThread([] {
            int count = EnumerateHidDevices();
            EXPECT_TRUE(FindHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE));
            EXPECT_TRUE(FindHidDeviceById(g_calibratorVendorId, g_calibratorProductId, count, HID_SLOT_CALIBRATOR));
        });
        PostCommand(g_mainWindow, IDM_EXIT);
        EXPECT_TRUE(WaitUntil([] { return !IsWindow(g_mainWindow); }));
    });
    EXPECT_EQ(exitCode, 0);
    for (int slot = 0; slot < HID_SLOT_COUNT; slot++) EXPECT_EQ(g_hidHandles[slot], INVALID_HANDLE_VALUE);
    for (int id : {device, calibrator})
        EXPECT_TRUE(WaitUntil([&] { return CountEvents(id, SIM_EVENT_CLOSE) == CountEvents(id, SIM_EVENT_OPEN); }));
}

TEST_F(MainWindowTest, VanishingDeviceAtTheIdentificationReadGivesTheReadError)
{
    int device = SimAddDevice("TDO", "00.00.24");
    {
        SimLock lock;
        SimGetDevice(device)->silent = true;
    }
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 3000));
        SimSetPresent(device, false);
        ExpectMessageBox(ThisProcess(), EditionText(L"Application strings read error", L"Chyba při čtení identifikátorů zařízení"),
                         HidDeviceInfoCaption(), MB_ICONERROR);
        EXPECT_TRUE(WaitUntil([] { return g_deviceConnected == 0; }));
    });
}

struct MenuBoxCase {
    int command;
    const wchar_t* english;
    const wchar_t* czech;
    const wchar_t* captionEnglish;
    const wchar_t* captionCzech;
};

TEST_F(MainWindowTest, HelpAndToolsMenuBoxes)
{
    static const MenuBoxCase CASES[] = {
        {IDM_MANUAL_CALIBRATION, L"Function is not available", L"Tato funkce není dostupná", L"Tools", L"Nástroje"},
        {IDM_SUPPORTED_DEVICES,
         L"   TDO, DMO, TDG, TKDG, KDG, TKRG \n\n   KRG, TYSG, TYSO, TQSRG, TQSRO \n\n   GQU2, LO2, DMG1A, RMG1A \n\n   "
         L"DMG1K, DMG1KY, RMG1K \n\n   DMG1T, G-QKE1, DMG9A \n\n   TODG, ODG, TORG, ORG \n\n   NRDG, TNTDG, TNTRG   \n\n  "
         L" LB-DMG, LB-RMG, LB-KDG, LB-KDG-S, LB-ODG \n\n   LB-DMO, LB-RMO, LB-KDO, LB-KDO-S, LB-ODO \n\n   T1cGA, "
         L"KDG1KY \n\n  ",
         nullptr, L"Devices ", nullptr},
        {IDM_SUPPORTED_FUNCTIONS,
         L" Supported functions:\n\n  BootLoader 0.0.5\n\n  Automatic calibration AOUT, AIN 0.0.1\n\n ",
         L" Podporované funkce:\n\n  BootLoader 0.0.5\n\n  Automaticka Kalibrace AOUT, AIN 0.0.1\n\n ", L"Functions ",
         nullptr},
    };
    RunProgram([&] {
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         HidDeviceInfoCaption(), MB_ICONINFORMATION);
        for (const MenuBoxCase& c : CASES) {
            SCOPED_TRACE(c.command);
            PostCommand(g_mainWindow, c.command);
            ExpectMessageBox(ThisProcess(), EditionText(c.english, c.czech ? c.czech : c.english),
                             EditionText(c.captionEnglish, c.captionCzech ? c.captionCzech : c.captionEnglish),
                             MB_ICONINFORMATION);
        }
        // About: program name, version and edition in an information box.
        PostCommand(g_mainWindow, IDM_ABOUT);
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(box.text.find(EditionText(L"Zentil 00.00.100  EN", L"Zentil 00.00.100  CZ")), 0u);
        EXPECT_EQ(box.icon, (UINT)MB_ICONINFORMATION);
        AnswerMessageBox(box);
        // Automatic calibration of a model without it.
        RunOnUiThread([] { g_deviceType = DEVICE_TYPE_TDG; });
        PostCommand(g_mainWindow, IDM_AUTO_CALIBRATION);
        ExpectMessageBox(ThisProcess(), EditionText(L"Function is not available", L"Tato funkce není dostupná"),
                         EditionText(L"Tools", L"Nástroje"), MB_ICONINFORMATION);
        EXPECT_TRUE(IsShown(g_mainWindow));
    });
}

TEST_F(MainWindowTest, TitleButtonsAndMenusOfTheEdition)
{
    RunProgram([&] {
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         HidDeviceInfoCaption(), MB_ICONINFORMATION);
        EXPECT_EQ(GetText(g_mainWindow), EditionText(L"Zentil 00.00.100  EN", L"Zentil 00.00.100  CZ"));
        EXPECT_EQ(GetText(g_startButton), L"START");
        EXPECT_EQ(GetText(g_stopButton), L"STOP");
        EXPECT_EQ(GetText(g_configButton), EditionText(L"CONFIG", L"KONFIGURACE"));
        EXPECT_EQ(GetText(g_dataButton), EditionText(L"DATA", L"HODNOTY"));
        RECT frame;
        GetWindowRect(g_mainWindow, &frame);
        EXPECT_EQ(frame.left, 100);
        EXPECT_EQ(frame.top, 100);
        EXPECT_EQ(frame.right - frame.left, 550);
        EXPECT_EQ(frame.bottom - frame.top, 400);

        HMENU menu = GetMenu(g_mainWindow);
        ASSERT_NE(menu, nullptr);
        auto itemText = [](HMENU m, UINT position) {
            wchar_t text[64] = L"";
            GetMenuStringW(m, position, text, 64, MF_BYPOSITION);
            return std::wstring(text);
        };
        std::vector<std::wstring> top, items;
        for (int i = 0; i < GetMenuItemCount(menu); i++) {
            top.push_back(itemText(menu, i));
            HMENU sub = GetSubMenu(menu, i);
            for (int j = 0; j < GetMenuItemCount(sub); j++)
                items.push_back(itemText(sub, j) + L"=" + std::to_wstring(GetMenuItemID(sub, j)));
        }
        std::vector<std::wstring> czechTop = {L"Soubor", L"Nástroje", L"Nastavení", L"Nápověda"};
        std::vector<std::wstring> englishTop = {L"File", L"Tools", L"Setting", L"Help"};
        EXPECT_EQ(top, EDITION_IS_CZECH ? czechTop : englishTop);
        std::vector<std::wstring> english = {L"Exit=40002",
                                             L"Manual calibration=40015",
                                             L"Automatic calibration=40031",
                                             L"Bootloader=40032",
                                             L"USB parametres SET=40028",
                                             L"USB parameters CAL=40029",
                                             L"About=40004",
                                             L"Supported devices=40023",
                                             L"Supported functions=40026"};
        std::vector<std::wstring> czech = {L"Konec=40002",
                                           L"Manuální kalibrace=40015",
                                           L"Atomatická kalibrace=40031",
                                           L"BootLoader=40032",
                                           L"USB parametry Set=40028",
                                           L"USB parametry Cal=40029",
                                           L"O programu=40004",
                                           L"Podporovaná zařízení=40023",
                                           L"Podporované funkce=40026"};
        EXPECT_EQ(items, EDITION_IS_CZECH ? czech : english);
    });
}

TEST_F(MainWindowTest, BootloaderMenuEndsInAFreshDetection)
{
    int device = SimAddDevice("TDO", "00.00.24");
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdentification());
        PostCommand(g_mainWindow, IDM_BOOTLOADER);
        // Whatever the bootloader window did (here: Cancel at once), the fields are blank and the
        // device is found again.
        HWND bootloader = WaitForDialogWithControl(ThisProcess(), IDC_BOOT_STATUS);
        ASSERT_TRUE(bootloader != nullptr);
        PostClick(GetDlgItem(bootloader, IDCANCEL));
        EXPECT_TRUE(WaitUntil([&] { return CountEvents(device, SIM_EVENT_SET_FEATURE, 0xCC) == 2; }, 8000));
        EXPECT_TRUE(WaitForIdentification());
        EXPECT_TRUE(IsShown(g_mainWindow));
        EXPECT_EQ(g_deviceConnected, 1);
    }, 30000);
}

// Each button hides the main window while its window is open and brings it back when that window
// ends: CONFIG with the model's dialog, DATA with the live values.
TEST_F(MainWindowTest, DataAndConfigAlwaysBringTheWindowBack)
{
    SimPutFactorySettings(SimAddDevice("TDG", "01.00.00"));
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdentification());
        const int windowIds[] = {IDC_TDG_READ, IDC_LIVE_DATA_VALUE_1};
        HWND buttons[] = {g_configButton, g_dataButton};
        for (int i = 0; i < 2; i++) {
            SCOPED_TRACE(i == 0 ? "CONFIG" : "DATA");
            PostClick(buttons[i]);
            HWND window = WaitForDialogWithControl(ThisProcess(), windowIds[i], 10000);
            ASSERT_NE(window, nullptr) << "nothing opened";
            EXPECT_FALSE(IsShown(g_mainWindow));
            PostMessageW(window, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window) && IsShown(g_mainWindow); }));
            EXPECT_EQ(g_deviceConnected, 1);
        }
    });
}

// A model recognised by name only has no dialog: CONFIG opens nothing and the main window stays.
TEST_F(MainWindowTest, ConfigWithoutAModelDialogKeepsTheWindow)
{
    SimAddDevice("DMG1K ", "00.00.00");
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdentification());
        EXPECT_EQ(g_deviceType, DEVICE_TYPE_DMG1K);
        PostClick(g_configButton);
        WaitForPostedMessages();
        EXPECT_TRUE(IsShown(g_mainWindow));
        EXPECT_EQ(g_mainState, MAIN_STATE_IDLE);
        EXPECT_EQ(g_deviceConnected, 1);
    });
}
