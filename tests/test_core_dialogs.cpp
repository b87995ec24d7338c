// Off-line model picker and the USB id dialogs, alone and from the main window's menu and CONFIG.
#include <gtest/gtest.h>

#include <string>

#include "app/device_types.h"
#include "app/hid_id_dialogs.h"
#include "app/main_window.h"
#include "app/offline_picker.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

struct PickerButton {
    int id;
    const wchar_t* label;
    int code;
    int x, y;  // dialog units
};

// The picker as the user sees it: three columns, thirteen rows 20 units apart.
const PickerButton PICKER_BUTTONS[] = {
    {2, L"TDO", 0, 7, 8},          {3, L"TDG", 1, 62, 8},         {1259, L"DMO", 2, 117, 8},
    {9, L"TKRG", 7, 7, 28},        {1260, L"TKDG", 5, 62, 28},    {8, L"KDG", 6, 116, 28},
    {7, L"KRG", 8, 7, 48},         {10, L"TQSRG", 12, 62, 48},    {15, L"TQSRO", 11, 116, 48},
    {11, L"TYSO", 9, 7, 68},       {12, L"TYSG", 10, 62, 68},     {5, L"GQU2", 3, 116, 68},
    {13, L"DMG1A", 13, 7, 88},     {14, L"RMG1A", 15, 62, 88},    {41, L"KDG1KY", 49, 116, 88},
    {26, L"DMG1KY", 31, 7, 108},   {18, L"DMG1T", 18, 62, 108},   {21, L"DMG9A", 22, 116, 108},
    {22, L"TODG", 24, 7, 128},     {40, L"T1cGA", 48, 62, 128},   {6, L"LO2", 4, 116, 128},
    {25, L"TNTDG", 29, 7, 148},    {27, L"TNTRG", 30, 62, 148},   {24, L"NRDG", 28, 116, 148},
    {23, L"ODG", 25, 7, 168},      {20, L"G-QKE1", 21, 62, 168},  {28, L"TORG", 26, 116, 168},
    {29, L"ORG", 27, 7, 188},      {31, L"LB-DMG", 32, 62, 188},  {32, L"LB-RMG", 33, 116, 188},
    {30, L"LB-KDG", 34, 7, 208},   {34, L"LB-KDG-S", 35, 62, 208}, {33, L"LB-ODG", 36, 116, 208},
    {35, L"LB-DMO", 37, 7, 228},   {36, L"LB-KDO", 39, 62, 228},  {38, L"LB-KDO-S", 40, 116, 228},
    {37, L"LB-ODO", 41, 7, 248},   {39, L"LB-RMO", 38, 116, 248},
};
const int PICKER_BUTTON_COUNT = sizeof(PICKER_BUTTONS) / sizeof(PICKER_BUTTONS[0]);

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*(int*)count;
    return TRUE;
}

}  // namespace

TEST(OfflinePicker, ThirtyEightModelButtonsInTheirPlaces)
{
    ASSERT_EQ(38, PICKER_BUTTON_COUNT);
    g_deviceType = DEVICE_TYPE_NRDG;
    INT_PTR result = RunDialog(IDD_OFFLINE, OfflineModeDlgProc, [](HWND dialog) {
        EXPECT_EQ(L"OFF LINE mode", GetText(dialog));
        EXPECT_EQ(0, GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU);
        int children = 0;
        EnumChildWindows(dialog, CountChild, (LPARAM)&children);
        EXPECT_EQ(38, children);
        for (const PickerButton& button : PICKER_BUTTONS) {
            HWND control = GetDlgItem(dialog, button.id);
            ASSERT_TRUE(control != nullptr) << button.id;
            EXPECT_EQ(std::wstring(button.label), GetText(control));
            RECT expected = {button.x, button.y, button.x + 50, button.y + 14};
            MapDialogRect(dialog, &expected);
            RECT actual;
            GetWindowRect(control, &actual);
            MapWindowPoints(nullptr, dialog, (POINT*)&actual, 2);
            EXPECT_EQ(expected.left, actual.left) << button.id;
            EXPECT_EQ(expected.top, actual.top) << button.id;
        }
        // A command that is no model button does nothing.
        PostCommand(dialog, IDOK);
        Sleep(50);
        EXPECT_TRUE(IsWindow(dialog));
        // Every button's command, as its click delivers it, sets the button's code.
        RunOnUiThread([dialog] {
            for (const PickerButton& button : PICKER_BUTTONS) {
                g_deviceType = 42;
                OfflineModeDlgProc(dialog, WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED),
                                   (LPARAM)GetDlgItem(dialog, button.id));
                EXPECT_EQ(button.code, g_deviceType) << button.id;
            }
        });
    });
    EXPECT_EQ(1, result);
}

// Clicks on a few buttons of different rows and columns, and Esc, each in its own picker.
TEST(OfflinePicker, ClickedButtonSetsItsCodeAndEscChoosesTdo)
{
    static const int CLICKED[] = {41, 40, 1259, 1260, 20, 38};
    for (int id : CLICKED) {
        SCOPED_TRACE(testing::Message() << id);
        int expected = -1;
        for (const PickerButton& button : PICKER_BUTTONS)
            if (button.id == id) expected = button.code;
        g_deviceType = 42;
        INT_PTR result = RunDialog(IDD_OFFLINE, OfflineModeDlgProc, [&](HWND dialog) { PostClick(GetDlgItem(dialog, id)); });
        EXPECT_EQ(1, result);
        EXPECT_EQ(expected, g_deviceType);
    }
    g_deviceType = DEVICE_TYPE_NRDG;
    INT_PTR result = RunDialog(IDD_OFFLINE, OfflineModeDlgProc, [](HWND dialog) {
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);  // the dialog's own loop turns it into IDCANCEL
        if (!WaitUntil([&] { return !IsWindow(dialog); }, 1000)) {
            ADD_FAILURE() << "Esc did not end the picker";
            PostCommand(dialog, IDCANCEL);
        }
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ(DEVICE_TYPE_TDO, g_deviceType);
}

namespace {

struct IdDialog {
    const char* name;
    int templateId;
    DLGPROC proc;
    int group, vendor, product;
    const wchar_t* englishGroup;
    const wchar_t* czechGroup;
    WORD* vendorId;
    WORD* productId;
};

const IdDialog ID_DIALOGS[] = {
    {"device", IDD_DEVICE_HID_ID, DeviceHidIdDlgProc, IDC_DEVICE_HID_ID_GROUP, IDC_DEVICE_HID_ID_VENDOR,
     IDC_DEVICE_HID_ID_PRODUCT, L"HID ID Setting", L"HID ID Nastavení", &g_deviceVendorId, &g_deviceProductId},
    {"calibrator", IDD_CALIBRATOR_HID_ID, CalibratorHidIdDlgProc, IDC_CALIBRATOR_HID_ID_GROUP,
     IDC_CALIBRATOR_HID_ID_VENDOR, IDC_CALIBRATOR_HID_ID_PRODUCT, L"HID ID Setting, Calibration device",
     L"HID ID Nastavení, Kalibrátor", &g_calibratorVendorId, &g_calibratorProductId},
};

struct IdCase {
    WORD before;
    const wchar_t* typed;  // nullptr: left as shown
    WORD after;
};

}  // namespace

// Shown as 0x%X; OK reads each field as "%x" and keeps the low 16 bits; no digit keeps the id.
TEST(HidIdDialogs, OkStoresTheTypedIds)
{
    static const IdCase CASES[] = {
        {0x00FF, nullptr, 0x00FF},   {0x04D8, nullptr, 0x04D8}, {0x1111, L"1a2b", 0x1A2B},
        {0x1111, L"0x12345", 0x2345}, {0x1111, L"123456789", 0x6789}, {0x1111, L"0X1f zz", 0x001F},
        {0x1111, L"", 0x1111},       {0x1111, L"zz", 0x1111},   {0x1111, L"0x", 0x0000},
        {0x1111, L" 7", 0x0007},
    };
    for (const IdDialog& d : ID_DIALOGS) {
        for (size_t i = 0; i + 1 < sizeof(CASES) / sizeof(CASES[0]); i += 2) {
            const IdCase& v = CASES[i];
            const IdCase& p = CASES[i + 1];
            SCOPED_TRACE(testing::Message() << d.name << " case " << i);
            *d.vendorId = v.before;
            *d.productId = p.before;
            INT_PTR result = RunDialog(d.templateId, d.proc, [&](HWND dialog) {
                wchar_t shown[16];
                swprintf(shown, 16, L"0x%X", v.before);
                EXPECT_EQ(std::wstring(shown), GetText(GetDlgItem(dialog, d.vendor)));
                swprintf(shown, 16, L"0x%X", p.before);
                EXPECT_EQ(std::wstring(shown), GetText(GetDlgItem(dialog, d.product)));
                EXPECT_EQ(EditionText(d.englishGroup, d.czechGroup), GetText(GetDlgItem(dialog, d.group)));
                EXPECT_EQ(L"USB HID", GetText(dialog));
                if (v.typed) SetText(GetDlgItem(dialog, d.vendor), v.typed);
                if (p.typed) SetText(GetDlgItem(dialog, d.product), p.typed);
                PostClick(GetDlgItem(dialog, IDOK));
            });
            EXPECT_EQ(1, result);
            EXPECT_EQ(v.after, *d.vendorId);
            EXPECT_EQ(p.after, *d.productId);
        }
    }
}

TEST(HidIdDialogs, EscAndCloseChangeNothing)
{
    for (const IdDialog& d : ID_DIALOGS) {
        for (UINT ending : {(UINT)WM_COMMAND, (UINT)WM_CLOSE}) {
            SCOPED_TRACE(d.name);
            *d.vendorId = 0x1234;
            *d.productId = 0x5678;
            INT_PTR result = RunDialog(d.templateId, d.proc, [&](HWND dialog) {
                SetText(GetDlgItem(dialog, d.vendor), L"0xABCD");
                SetText(GetDlgItem(dialog, d.product), L"99");
                if (ending == WM_CLOSE) PostMessageW(dialog, WM_CLOSE, 0, 0);
                else PostCommand(dialog, IDCANCEL);
            });
            EXPECT_EQ(2, result);
            EXPECT_EQ(0x1234, *d.vendorId);
            EXPECT_EQ(0x5678, *d.productId);
        }
    }
}

// Setting > device ids, cancelled, opens the calibration-device ids; cancelling that too says
// the function is not available. OK in the first stores its ids and opens nothing more.
TEST(HidIdDialogs, MenuFlowFromTheMainWindow)
{
    SimResetDevices();
    SimAddDevice("TDO", "00.00.24");  // detection finds it and shows no box
    RunProgram([] {
        HWND main = WaitForTopWindow(ThisProcess(), L"WinAPIMainClass");
        ASSERT_TRUE(main != nullptr);
        PostCommand(main, IDM_HID_ID_DEVICE);
        HWND device = WaitForDialogWithControl(ThisProcess(), IDC_DEVICE_HID_ID_VENDOR);
        ASSERT_TRUE(device != nullptr);
        PostCommand(device, IDCANCEL);
        HWND calibrator = WaitForDialogWithControl(ThisProcess(), IDC_CALIBRATOR_HID_ID_VENDOR);
        ASSERT_TRUE(calibrator != nullptr);
        PostCommand(calibrator, IDCANCEL);
        ExpectMessageBox(ThisProcess(), EditionText(L"Function is not available", L"Tato funkce není dostupná"),
                         EditionText(L"Tools", L"Nástroje"), MB_ICONINFORMATION);

        PostCommand(main, IDM_HID_ID_DEVICE);
        device = WaitForDialogWithControl(ThisProcess(), IDC_DEVICE_HID_ID_VENDOR);
        ASSERT_TRUE(device != nullptr);
        SetText(GetDlgItem(device, IDC_DEVICE_HID_ID_PRODUCT), L"beef");
        PostClick(GetDlgItem(device, IDOK));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(device); }));
        Sleep(100);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_EQ(0xBEEF, g_deviceProductId);
    });
}

// CONFIG with no device: the picker chooses the model (Esc gives TDO) before the model's dialog.
TEST(OfflinePicker, ConfigWithoutDeviceOpensThePicker)
{
    SimResetDevices();
    RunProgram([] {
        HWND main = WaitForTopWindow(ThisProcess(), L"WinAPIMainClass");
        ASSERT_TRUE(main != nullptr);
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         EditionText(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION);
        RunOnUiThread([] { g_deviceType = DEVICE_TYPE_NRDG; });
        PostClick(g_configButton);
        HWND picker = WaitForDialogWithControl(ThisProcess(), IDC_OFFLINE_LB_RMO);
        ASSERT_TRUE(picker != nullptr);
        EXPECT_FALSE(IsShown(main));
        PostCommand(picker, IDCANCEL);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_TDO_READ);
        ASSERT_TRUE(dialog != nullptr) << "no TDO dialog";
        EXPECT_FALSE(IsWindow(picker));
        EXPECT_EQ(DEVICE_TYPE_TDO, g_deviceType);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && IsShown(main); }));
    });
}
