// CO2 sensor and transmitter dialogs end to end: opened through CONFIG (or the off-line picker),
// the simulated device on the wire with a chosen firmware, real settings files, in the edition
// this program was built as. The models run as rows of one table.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/device_types.h"
#include "app/main_window.h"
#include "devices/sensors/sensor_dialogs.h"
#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

namespace {

const wchar_t RANGE_TEXT[] = L"Hodnota mimo rozsah";
const wchar_t RANGE_CAPTION[] = L"Nastavená hodnota";
const char SEEDED_TEXT[] = "Hello World 1234";

struct Co2Case {
    const char* name;  // device name, designation and trace
    int templateId;
    DLGPROC proc;
    int pickerId;
    int read, write, open, save, byDefault, cancel;
    int text, address, baud, baudLabel;
    int offsetTemperature, offsetHumidity;  // 0: none
    int offsetCo2, co2Label;
    int limitsGroup, lowLabel, highLabel, low, high;
    int calibrationGroup, calibrationLabel, calibrationValue, calibrationButton;
    const char* oldFirmware;  // below the gate
    const char* newFirmware;  // at the gate
    bool readsBelowGate;
    bool signedLimits;
    const char* openingText;
    const char* defaultText;
    const char* calibrationAtOpening;
    bool calibrationOnDefault;
    const wchar_t* limitEnglish;
    const wchar_t* limitCzech;
    bool wrongSizeIsReadError;
    const wchar_t* baudEnglish;
};

const wchar_t HI_BELOW_LO[] = L"Hi value is smaller than Lo value";
const wchar_t HI_BELOW_LO_CZ[] = L"Hodnota Hi mensí než hodnota Lo";

const Co2Case MODELS[] = {
    {"TKDG", IDD_TKDG, TKDGDlgProc, IDC_OFFLINE_TKDG, IDC_TKDG_READ, IDC_TKDG_WRITE, IDC_TKDG_OPEN, IDC_TKDG_SAVE,
     IDC_TKDG_DEFAULT, IDC_TKDG_CANCEL, IDC_TKDG_TEXT, IDC_TKDG_ADDRESS, IDC_TKDG_BAUD, IDC_TKDG_BAUD_LABEL,
     IDC_TKDG_OFFSET_TEMPERATURE, IDC_TKDG_OFFSET_HUMIDITY, IDC_TKDG_OFFSET_CO2, IDC_TKDG_CO2_LABEL,
     IDC_TKDG_LIMITS_GROUP, IDC_TKDG_LOW_LABEL, IDC_TKDG_HIGH_LABEL, IDC_TKDG_LOW_LIMIT, IDC_TKDG_HIGH_LIMIT,
     IDC_TKDG_CALIBRATION_GROUP, IDC_TKDG_CALIBRATION_LABEL, IDC_TKDG_CALIBRATION_VALUE, IDC_TKDG_CALIBRATION_WRITE,
     "00.00.04", "00.00.05", true, false, "TKDG            ", "TKDG Dolvan     ", "400", false, L"Setting value",
     L"Nastavená hodnota", true, L"Baud rate"},
    {"KDG", IDD_KDG, KDGDlgProc, IDC_OFFLINE_KDG, IDC_KDG_READ, IDC_KDG_WRITE, IDC_KDG_OPEN, IDC_KDG_SAVE,
     IDC_KDG_DEFAULT, IDC_KDG_CANCEL, IDC_KDG_TEXT, IDC_KDG_ADDRESS, IDC_KDG_BAUD, IDC_KDG_BAUD_LABEL,
     IDC_KDG_OFFSET_TEMPERATURE, IDC_KDG_OFFSET_HUMIDITY, IDC_KDG_OFFSET_CO2, IDC_KDG_CO2_LABEL, IDC_KDG_LIMITS_GROUP,
     IDC_KDG_LOW_LABEL, IDC_KDG_HIGH_LABEL, IDC_KDG_LOW_LIMIT, IDC_KDG_HIGH_LIMIT, IDC_KDG_CALIBRATION_GROUP,
     IDC_KDG_CALIBRATION_LABEL, IDC_KDG_CALIBRATION_VALUE, IDC_KDG_CALIBRATION_WRITE, "00.00.04", "00.00.05", false,
     true, "KDG Dolvan      ", "KDG Dolvan s.r.o", "400", false, HI_BELOW_LO, HI_BELOW_LO_CZ, false, L"Speed"},
    {"TKRG", IDD_TKRG, TKRGDlgProc, IDC_OFFLINE_TKRG, IDC_TKRG_READ, IDC_TKRG_WRITE, IDC_TKRG_OPEN, IDC_TKRG_SAVE,
     IDC_TKRG_DEFAULT, IDC_TKRG_CANCEL, IDC_TKRG_TEXT, IDC_TKRG_ADDRESS, IDC_TKRG_BAUD, IDC_TKRG_BAUD_LABEL, 0, 0,
     IDC_TKRG_OFFSET_CO2, IDC_TKRG_CO2_LABEL, IDC_TKRG_LIMITS_GROUP, IDC_TKRG_LOW_LABEL, IDC_TKRG_HIGH_LABEL,
     IDC_TKRG_LOW_LIMIT, IDC_TKRG_HIGH_LIMIT, IDC_TKRG_CALIBRATION_GROUP, IDC_TKRG_CALIBRATION_LABEL,
     IDC_TKRG_CALIBRATION_VALUE, IDC_TKRG_CALIBRATION_WRITE, "00.00.03", "00.00.04", true, true, "TKRG Dolvan     ",
     "TKRG Dolvan     ", "400", true, HI_BELOW_LO, HI_BELOW_LO_CZ, false, L"Baud rate"},
    {"KRG", IDD_KRG, KRGDlgProc, IDC_OFFLINE_KRG, IDC_KRG_READ, IDC_KRG_WRITE, IDC_KRG_OPEN, IDC_KRG_SAVE,
     IDC_KRG_DEFAULT, IDC_KRG_CANCEL, IDC_KRG_TEXT, IDC_KRG_ADDRESS, IDC_KRG_BAUD, IDC_KRG_BAUD_LABEL, 0, 0,
     IDC_KRG_OFFSET_CO2, IDC_KRG_CO2_LABEL, IDC_KRG_LIMITS_GROUP, IDC_KRG_LOW_LABEL, IDC_KRG_HIGH_LABEL,
     IDC_KRG_LOW_LIMIT, IDC_KRG_HIGH_LIMIT, IDC_KRG_CALIBRATION_GROUP, IDC_KRG_CALIBRATION_LABEL,
     IDC_KRG_CALIBRATION_VALUE, IDC_KRG_CALIBRATION_WRITE, "00.00.03", "00.00.04", true, true, "KRG Dolvan s.r.o",
     "KRG Dolvan s.r.o", "", true, HI_BELOW_LO, HI_BELOW_LO_CZ, false, L"Baud rate"},
};

void PrintTo(const Co2Case& model, std::ostream* os)
{
    *os << model.name;
}

// A device of the model whose every register is distinguishable from what the dialog writes; its
// limits lie beyond the signed range (0x8000 and 40000).
int AddSeededDevice(const Co2Case& model, const char* firmware)
{
    int id = SimAddDevice(model.name, firmware);
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = (WORD)(FILLER_BASE + r);
    for (int i = 0; i < 8; i++)
        device->registers[40 + i] = (WORD)((BYTE)SEEDED_TEXT[2 * i] << 8 | (BYTE)SEEDED_TEXT[2 * i + 1]);
    device->registers[48] = 17;
    device->registers[49] = 0x0203;
    device->registers[62] = 0x8000;
    device->registers[63] = 40000;
    device->registers[76] = (WORD)-15;
    device->registers[77] = 25;
    device->registers[81] = (WORD)-123;
    device->jumperFitted = true;
    return id;
}

std::vector<int> LimitIds(const Co2Case& m)
{
    return {m.limitsGroup, m.lowLabel, m.highLabel, m.low, m.high};
}

std::vector<int> CalibrationIds(const Co2Case& m)
{
    return {m.calibrationGroup, m.calibrationLabel, m.calibrationValue, m.calibrationButton};
}

void ExpectShown(HWND dialog, const std::vector<int>& ids, bool shown)
{
    for (int id : ids) EXPECT_EQ(IsShown(GetDlgItem(dialog, id)), shown) << "control " << id;
}

// The limit value as the model shows a register word.
std::string ShownLimit(const Co2Case& m, WORD value)
{
    return std::to_string(m.signedLimits ? (int)(SHORT)value : (int)value);
}

std::wstring LimitMessage(const Co2Case& m)
{
    return EditionText(m.limitEnglish, m.limitCzech);
}

std::wstring LimitCaption()
{
    return EditionText(L"Setting value", L"Nastavená hodnota");
}

// Opens the model's dialog through CONFIG once the device is connected.
HWND OpenThroughConfig(const Co2Case& m)
{
    if (!WaitUntil([] { return g_deviceConnected == 1; }, 10000)) return nullptr;
    PostClick(g_configButton);
    return WaitForDialogWithControl(ThisProcess(), m.read, 10000);
}

void CloseAndExpectMainWindow(HWND dialog, const Co2Case& m)
{
    Click(dialog, m.cancel);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(g_mainWindow) != FALSE; })) << "main window not back";
}

class Co2Dialogs : public ::testing::TestWithParam<Co2Case> {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

// The models' cases run as three suites, so that each test program stays short.
class Co2Gate : public Co2Dialogs {};
class Co2Files : public Co2Dialogs {};

std::string ModelName(const ::testing::TestParamInfo<Co2Case>& info)
{
    return info.param.name;
}

}  // namespace

// The firmware gate at opening: below it the limits and the calibration controls are hidden and
// the device is read at once (KDG reads nothing); at it everything but the calibration controls
// shows and nothing is read until Read. Only the last two digits count, so a high major version
// with a low last group is below the gate.
TEST_P(Co2Gate, FirmwareGateAtOpening)
{
    const Co2Case& m = GetParam();
    SCOPED_TRACE(m.name);
    const std::string highMajor = std::string("99.99") + (m.oldFirmware + 5);
    const struct {
        const char* firmware;
        int atGate;
    } cases[] = {{m.oldFirmware, 0}, {highMajor.c_str(), 0}, {m.newFirmware, 1}};
    for (const auto& c : cases) {
        const int atGate = c.atGate;
        SCOPED_TRACE(c.firmware);
        SimResetDevices();
        int deviceId = AddSeededDevice(m, c.firmware);
        RunProgram([&] {
            HWND dialog = OpenThroughConfig(m);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(GetTextUtf8(dialog), m.name);
            ExpectShown(dialog, CalibrationIds(m), false);
            ExpectShown(dialog, LimitIds(m), atGate != 0);
            bool readAtOnce = !atGate && m.readsBelowGate;
            EXPECT_EQ(CountFeatureCommands(deviceId, CMD_READ_BLOCK), readAtOnce ? 12 : 0);
            EXPECT_EQ(ItemText(dialog, m.address), readAtOnce ? "17" : "1");
            EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, m.read)));
            if (!readAtOnce) {
                Click(dialog, m.read);
                EXPECT_TRUE(WaitWhileDeviceTalks(deviceId, [&] { return ItemText(dialog, m.address) == "17"; })) << "nothing read";
                EXPECT_EQ(CountFeatureCommands(deviceId, CMD_READ_BLOCK), 12);
            }
            EXPECT_EQ(ItemText(dialog, m.text), SEEDED_TEXT);
            ExpectShown(dialog, CalibrationIds(m), false);
            CloseAndExpectMainWindow(dialog, m);
        }, 30000);
    }
}

// Read shows the registers with their coding; Write puts back exactly the registers the model owns
// (register 49's high byte as read, 110 in register 33); the CO2 offset is whole ppm checked as
// tenths; a high limit typed below the low one and written at once reaches the device corrected.
TEST_P(Co2Dialogs, ReadAndWriteOnTheWire)
{
    const Co2Case& m = GetParam();
    SCOPED_TRACE(m.name);
    int deviceId = AddSeededDevice(m, m.newFirmware);
    RunProgram([&] {
        HWND dialog = OpenThroughConfig(m);
        ASSERT_NE(dialog, nullptr);
        Click(dialog, m.read);
        ASSERT_TRUE(WaitWhileDeviceTalks(deviceId, [&] { return ItemText(dialog, m.address) == "17"; })) << "nothing read";
        EXPECT_EQ(ItemText(dialog, m.baud), " 9600Bd");
        EXPECT_EQ(ItemText(dialog, m.low), ShownLimit(m, 0x8000));
        EXPECT_EQ(ItemText(dialog, m.high), ShownLimit(m, 40000));
        EXPECT_EQ(ItemText(dialog, m.offsetCo2), "-123");
        if (m.offsetTemperature) {
            EXPECT_EQ(ItemText(dialog, m.offsetTemperature), "-1.5");
            EXPECT_EQ(ItemText(dialog, m.offsetHumidity), "2.5");
        }
        std::wstring designation(m.name, m.name + strlen(m.name));
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.read)), EditionText(L"Read ", L"Načíst ") + designation);
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.write)), EditionText(L"Write ", L"Zapsat ") + designation);
        ExpectLabelsFit(dialog);

        TypeInto(dialog, m.address, "33");
        TypeInto(dialog, m.text, "ABCDE");
        TypeInto(dialog, m.offsetCo2, "12.7");
        if (m.offsetTemperature) TypeInto(dialog, m.offsetTemperature, "1,5");
        SelectEntry(dialog, m.baud, 5);
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0)) << "no complete write";
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
            WORD want = (WORD)(FILLER_BASE + r);
            if (r == 33) want = 110;
            else if (r == 40) want = 'A' << 8 | 'B';
            else if (r == 41) want = 'C' << 8 | 'D';
            else if (r == 42) want = 'E' << 8;
            else if (r > 42 && r <= 47) want = 0;
            else if (r == 48) want = 33;
            else if (r == 49) want = 0x0205;
            else if (r == 62) want = 0x8000;
            else if (r == 63) want = 40000;
            else if (r == 76) want = m.offsetTemperature ? 15 : (WORD)-15;
            else if (r == 77) want = 25;
            else if (r == 81) want = 12;
            EXPECT_EQ(DeviceRegister(deviceId, r), want) << "register " << r;
            EXPECT_EQ(DeviceRegister(deviceId, r, true), want) << "EEPROM register " << r;
        }

        TypeInto(dialog, m.offsetCo2, "250");
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, m.offsetCo2), "200.0");
        // The high field keeps the focus, so no tick corrects it before Write does.
        RunOnUiThread([&] {
            SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, m.high), TRUE);
            SetDlgItemTextA(dialog, m.low, "700");
            SetDlgItemTextA(dialog, m.high, "100");
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(m.write, BN_CLICKED), (LPARAM)GetDlgItem(dialog, m.write));
        });
        ExpectMessageBox(ThisProcess(), LimitMessage(m), LimitCaption(), MB_ICONINFORMATION);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 1));
        EXPECT_EQ(ItemText(dialog, m.high), "701");
        EXPECT_EQ(DeviceRegister(deviceId, 62, true), 700);
        EXPECT_EQ(DeviceRegister(deviceId, 63, true), 701);
        EXPECT_EQ(DeviceRegister(deviceId, 81, true), 200);

        TypeInto(dialog, m.offsetCo2, "-250");
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, m.offsetCo2), "-200.0");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 2));
        EXPECT_EQ(DeviceRegister(deviceId, 81, true), 0xFF38);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        CloseAndExpectMainWindow(dialog, m);
    }, 40000);
}

// The limit rule on the tick: it waits while the high field has the focus, then raises the high
// limit above the low one with one information box; at the top of the range the low limit yields.
TEST_P(Co2Files, LimitRule)
{
    const Co2Case& m = GetParam();
    SCOPED_TRACE(m.name);
    const char* greatest = m.signedLimits ? "32767" : "65535";
    const char* belowGreatest = m.signedLimits ? "32766" : "65534";
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, m.low), "800");
        // Other programs on the shared display may take the focus at any moment, so the ticks that
        // must leave the high field alone run in the same step of the UI thread that gives it the
        // focus and types into it: nothing can move the focus in between.
        HWND focusedAfter = nullptr;
        std::string highAfter;
        RunOnUiThread([&] {
            SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, m.high), TRUE);
            SetDlgItemTextA(dialog, m.high, "700");
            for (int tick = 0; tick < 3; tick++) SendMessageW(dialog, WM_TIMER, TICK_TIMER_ID, 0);
            focusedAfter = GetFocus();
            highAfter = ItemText(dialog, m.high);
        });
        EXPECT_EQ(focusedAfter, GetDlgItem(dialog, m.high));
        EXPECT_EQ(highAfter, "700");
        PostTickWithFocusOn(dialog, m.address);
        ExpectMessageBox(ThisProcess(), LimitMessage(m), LimitCaption(), MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, m.high), "801");

        const struct {
            const char* low;
            const char* high;
            const char* lowAfter;
            const char* highAfter;
        } cases[] = {
            {"900", "900", "900", "901"},
            {greatest, "100", belowGreatest, greatest},
            {"-5", "-5", "-5", "-4"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.low) + " / " + c.high);
            if (!m.signedLimits && c.low[0] == '-') continue;
            PostToUiThread([&] {
                SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, m.address), TRUE);
                SetDlgItemTextA(dialog, m.low, c.low);
                SetDlgItemTextA(dialog, m.high, c.high);
                SendMessageW(dialog, WM_TIMER, TICK_TIMER_ID, 0);
            });
            ExpectMessageBox(ThisProcess(), LimitMessage(m), LimitCaption(), MB_ICONINFORMATION);
            EXPECT_EQ(ItemText(dialog, m.low), c.lowAfter);
            EXPECT_EQ(ItemText(dialog, m.high), c.highAfter);
        }
        // Emptied or non-numeric limits keep the values last shown, which are in order.
        TypeInto(dialog, m.low, "");
        PostTickWithFocusOn(dialog, m.address, m.high, "abc");
        WaitForPostedMessages();
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

// Off-line through the picker: the opening state, the labels, a settings file saved byte for byte,
// Default, the file loaded back, and the files the dialog refuses.
TEST_P(Co2Files, OfflineFilesAndDefault)
{
    const Co2Case& m = GetParam();
    SCOPED_TRACE(m.name);
    std::string path = TempPath(std::string(m.name) + ".dlc");
    std::string empty = TempPath(std::string(m.name) + "_empty.dlc");
    std::string wrongSize = TempPath(std::string(m.name) + "_2000.dlc");
    std::string otherModel = TempPath(std::string(m.name) + "_other.dlc");
    DeleteFileA(path.c_str());
    WriteFileBytes(empty, "");
    std::string other = ExpectedSettingsFile("ORG", {{48, "9"}}, "ORG Dolvan      ");
    WriteFileBytes(wrongSize, other.substr(0, 2000));
    WriteFileBytes(otherModel, other);
    std::wstring designation(m.name, m.name + strlen(m.name));
    RunProgram([&] {
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         EditionText(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION, 10000);
        PostClick(g_configButton);
        HWND picker = WaitForDialogWithControl(ThisProcess(), m.pickerId);
        ASSERT_NE(picker, nullptr);
        Click(picker, m.pickerId);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read);
        ASSERT_NE(dialog, nullptr);
        for (int id : {m.read, m.write, m.calibrationValue, m.calibrationButton})
            EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, id))) << "control " << id;
        ExpectShown(dialog, LimitIds(m), true);
        ExpectShown(dialog, CalibrationIds(m), false);
        EXPECT_EQ(ItemText(dialog, m.text), m.openingText);
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        EXPECT_EQ(ItemText(dialog, m.baud), "19200Bd");
        EXPECT_EQ(ItemText(dialog, m.offsetCo2), "0");
        EXPECT_EQ(ItemText(dialog, m.low), "800");
        EXPECT_EQ(ItemText(dialog, m.high), "1000");
        EXPECT_EQ(ItemText(dialog, m.calibrationValue), m.calibrationAtOpening);
        if (m.offsetTemperature) {
            EXPECT_EQ(ItemText(dialog, m.offsetTemperature), "0.0");
            EXPECT_EQ(ItemText(dialog, m.offsetHumidity), "0.0");
        }
        const struct {
            int id;
            const wchar_t* english;
            const wchar_t* czech;
        } labels[] = {
            {m.co2Label, L"Conc. CO2 [ppm]", L"Konc. CO2 [ppm]"},
            {m.limitsGroup, L"CO2 indicatio limit", L"Limity indikace CO2"},
            {m.lowLabel, L"Low limit", L"Spodní limit"},
            {m.highLabel, L"High limit", L"Horní limit"},
            {m.calibrationGroup, L"Write calibration value", L"Zápis kalibrační hodnoty"},
            {m.calibrationLabel, L"Calibration value", L"Kalibrační hodnota"},
            {m.calibrationButton, L"Write calibration", L"Zápsat kalibraci"},
            {m.baudLabel, m.baudEnglish, L"Rychlost"},
            {m.byDefault, L"Default", L"Přednastavení"},
            {m.cancel, L"Cancel", L"Cancel"},
        };
        for (const auto& label : labels)
            EXPECT_EQ(GetText(GetDlgItem(dialog, label.id)), EditionText(label.english, label.czech));
        ExpectLabelsFit(dialog);

        std::vector<std::pair<int, std::string>> fields = {{48, "254"}, {62, "500"}, {63, "600"}, {81, "-12"}, {49, "3"}};
        TypeInto(dialog, m.address, "254");
        TypeInto(dialog, m.low, "500");
        TypeInto(dialog, m.high, "600");
        TypeInto(dialog, m.offsetCo2, "-12");
        if (m.offsetTemperature) {
            TypeInto(dialog, m.offsetTemperature, "1,5");
            TypeInto(dialog, m.offsetHumidity, "-2.25");
            fields.push_back({76, "1,5"});
            fields.push_back({77, "-2.25"});
        }
        SelectEntry(dialog, m.baud, 3);
        TypeInto(dialog, m.text, "Room 12");
        Click(dialog, m.save);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), ExpectedSettingsFile(m.name, fields, "Room 12\0\0\0\0\0\0\0\0"));

        TypeInto(dialog, m.calibrationValue, "123");
        Click(dialog, m.byDefault);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        EXPECT_EQ(ItemText(dialog, m.baud), "19200Bd");
        EXPECT_EQ(ItemText(dialog, m.offsetCo2), "0");
        EXPECT_EQ(ItemText(dialog, m.low), "800");
        EXPECT_EQ(ItemText(dialog, m.high), "1000");
        EXPECT_EQ(ItemText(dialog, m.calibrationValue), m.calibrationOnDefault ? "400" : "123");
        if (m.offsetTemperature) {
            EXPECT_EQ(ItemText(dialog, m.offsetTemperature), "0.0");
        }

        Click(dialog, m.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == "Room 12"; }));
        EXPECT_EQ(ItemText(dialog, m.address), "254");
        EXPECT_EQ(ItemText(dialog, m.baud), " 9600Bd");
        EXPECT_EQ(ItemText(dialog, m.low), "500");
        EXPECT_EQ(ItemText(dialog, m.high), "600");
        EXPECT_EQ(ItemText(dialog, m.offsetCo2), "-12");
        if (m.offsetTemperature) {
            EXPECT_EQ(ItemText(dialog, m.offsetTemperature), "1,5");
            EXPECT_EQ(ItemText(dialog, m.offsetHumidity), "-2.25");
        }

        const struct {
            const std::string* path;
            std::wstring text;
        } refused[] = {
            {&empty, EditionText(L"File read error", L"Chyba načteni souboru")},
            {&wrongSize, m.wrongSizeIsReadError ? EditionText(L"File read error", L"Chyba načteni souboru")
                                                : EditionText(L"File is damaged", L"Soubor je poškozený")},
            {&otherModel, EditionText((designation + L" device is not compatible with selected file.").c_str(),
                                      (L"Konfigurační soubor není určen pro zařízení " + designation).c_str())},
        };
        for (const auto& c : refused) {
            Click(dialog, m.open);
            ChooseFile(dialog, *c.path);
            ExpectMessageBox(ThisProcess(), c.text, EditionText(L"File Error", L"Chyba souboru"), MB_ICONERROR);
            EXPECT_EQ(ItemText(dialog, m.address), "254");
        }
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
    for (const std::string* file : {&path, &empty, &wrongSize, &otherModel}) DeleteFileA(file->c_str());
}

// A settings file of the right size with letters in the limits and offsets and an empty register-49
// field, loaded and written: the limits and the CO2 offset keep the values last shown, the tenths
// offsets read as 0, the baud rate falls back to 19200 Bd; then a two-character register-49 field
// takes its first digit.
TEST_P(Co2Files, BadFileFieldsReachNoRegister)
{
    const Co2Case& m = GetParam();
    SCOPED_TRACE(m.name);
    int deviceId = AddSeededDevice(m, m.newFirmware);
    {
        SimLock lock;
        SimGetDevice(deviceId)->registers[62] = 1500;
        SimGetDevice(deviceId)->registers[63] = 2500;
    }
    std::string garbage = TempPath(std::string(m.name) + "_garbage.dlc");
    std::string twoDigits = TempPath(std::string(m.name) + "_two.dlc");
    WriteFileBytes(garbage, ExpectedSettingsFile(m.name, {{48, "9"}, {62, "abc"}, {63, "x9"}, {76, "zz"}, {77, "-"},
                                                         {81, "q"}, {49, ""}}, SEEDED_TEXT));
    WriteFileBytes(twoDigits, ExpectedSettingsFile(m.name, {{48, "8"}, {62, "1"}, {63, "2"}, {49, "35"}}, SEEDED_TEXT));
    RunProgram([&] {
        HWND dialog = OpenThroughConfig(m);
        ASSERT_NE(dialog, nullptr);
        Click(dialog, m.read);
        ASSERT_TRUE(WaitWhileDeviceTalks(deviceId, [&] { return ItemText(dialog, m.address) == "17"; })) << "nothing read";
        Click(dialog, m.open);
        ChooseFile(dialog, garbage);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "9"; }));
        EXPECT_EQ(ItemText(dialog, m.low), "abc");
        EXPECT_EQ(ItemText(dialog, m.baud), "19200Bd");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0));
        EXPECT_EQ(DeviceRegister(deviceId, 48, true), 9);
        EXPECT_EQ(DeviceRegister(deviceId, 49, true), 4);
        EXPECT_EQ(DeviceRegister(deviceId, 62, true), 1500);
        EXPECT_EQ(DeviceRegister(deviceId, 63, true), 2500);
        EXPECT_EQ(DeviceRegister(deviceId, 81, true), (WORD)-123);
        EXPECT_EQ(DeviceRegister(deviceId, 76, true), m.offsetTemperature ? 0 : (WORD)-15);
        EXPECT_EQ(DeviceRegister(deviceId, 77, true), m.offsetHumidity ? 0 : 25);
        EXPECT_EQ(DeviceRegister(deviceId, 50, true), FILLER_BASE + 50);

        Click(dialog, m.open);
        ChooseFile(dialog, twoDigits);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "8"; }));
        EXPECT_EQ(ItemText(dialog, m.baud), " 9600Bd");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        CloseAndExpectMainWindow(dialog, m);
    }, 30000);
    DeleteFileA(garbage.c_str());
    DeleteFileA(twoDigits.c_str());
}

// The hidden calibration button's command: the value alone on the wire (no magic, no store after
// it) and the information box; a value field without a number sends the value last sent; refused,
// the error box closes the dialog and the connection stays.
TEST_P(Co2Dialogs, CalibrationWrite)
{
    const Co2Case& m = GetParam();
    SCOPED_TRACE(m.name);
    int deviceId = AddSeededDevice(m, m.newFirmware);
    const std::vector<BYTE> sent400 = {0, 0xF0, 0x01, 0x90, 0, 0, 0, 0, 0};
    const std::wstring written = EditionText(L"Calibration data write", L"Kalibrační data zapsána");
    RunProgram([&] {
        HWND dialog = OpenThroughConfig(m);
        ASSERT_NE(dialog, nullptr);
        for (const char* value : {"400", "abc"}) {
            SCOPED_TRACE(value);
            TypeInto(dialog, m.calibrationValue, value);
            SimClearEvents(deviceId);
            Click(dialog, m.calibrationButton);
            ExpectMessageBox(ThisProcess(), written, L"SET info", MB_ICONINFORMATION);
            EXPECT_EQ(TranscriptBytes(deviceId, SIM_EVENT_SET_FEATURE), std::vector<std::vector<BYTE>>({sent400}));
            EXPECT_TRUE(TranscriptBytes(deviceId, SIM_EVENT_OUTPUT_REPORT).empty());
        }
        EXPECT_TRUE(IsWindow(dialog));
        SimAddFault(deviceId, {SIM_FAULT_SET_FEATURE, 0, -1, CMD_WRITE_CALIBRATION, -1});
        Click(dialog, m.calibrationButton);
        ExpectMessageBox(ThisProcess(), EditionText(L"Calibration data write error", L"Chyba při zápisu kalbračních dat"),
                         L"SET info", MB_ICONERROR);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(g_mainWindow) != FALSE; })) << "main window not back";
        EXPECT_EQ(g_deviceConnected, 1);
    }, 30000);
}

INSTANTIATE_TEST_SUITE_P(Models, Co2Dialogs, ::testing::ValuesIn(MODELS), ModelName);
INSTANTIATE_TEST_SUITE_P(Models, Co2Gate, ::testing::ValuesIn(MODELS), ModelName);
INSTANTIATE_TEST_SUITE_P(Models, Co2Files, ::testing::ValuesIn(MODELS), ModelName);

// Off-line the slot's list index is stale: the calibration write sends nothing and fails.
TEST(Co2Calibration, OfflineSendsNothing)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const Co2Case& m = MODELS[0];
    int deviceId = AddSeededDevice(m, m.newFirmware);
    EnumerateHidDevices();
    g_hidSlotListIndex[HID_SLOT_DEVICE] = 0;
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        Click(dialog, m.calibrationButton);
        ExpectMessageBox(ThisProcess(), EditionText(L"Calibration data write error", L"Chyba při zápisu kalbračních dat"),
                         L"SET info", MB_ICONERROR);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    EXPECT_EQ(CountFeatureCommands(deviceId, CMD_WRITE_CALIBRATION), 0);
    ResetHidDeviceList();
    SimResetDevices();
}
