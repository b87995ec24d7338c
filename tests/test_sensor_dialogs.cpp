// Network transmitter dialogs end to end: opened through CONFIG (or the off-line picker), the
// simulated device on the wire, real settings files, in the edition this program was built as.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/edition.h"
#include "app/main_window.h"
#include "devices/sensors/sensor_dialogs.h"
#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

namespace {

const wchar_t RANGE_TEXT[] = L"Hodnota mimo rozsah";
const wchar_t RANGE_CAPTION[] = L"Nastavená hodnota";

enum Reg33Rule { REG33_CONTRAST, REG33_UNTOUCHED, REG33_NO_LCD };

// The model's own edit field beside the core (G-QKE1 current offset, TYSG speed offset, TQSRG
// light offset).
struct OwnField {
    int id;
    int reg;
    const char* shownForSeed;  // how the seeded register -123 is shown
    const char* typed;         // typed before Write
    WORD written;              // what Write puts in the register
    const char* defaultText;
    const char* lowBound;      // what -201 becomes
    bool checkedFirst;         // checked before the address on the tick
};

struct ModelCase {
    const char* name;         // device name, off-line choice and trace
    const char* designation;  // settings-file header
    const wchar_t* button;    // designation in "Read X"
    int templateId;
    DLGPROC proc;
    int pickerId;
    int read, write, open, save, byDefault, cancel;
    int text, address, baud, parity;  // parity 0: none
    int networkGroup;
    int contrast;                     // 0: none
    int offset1, offset2;             // registers 76 and 77; 0: not shown
    OwnField own;                     // id 0: none
    int input;                        // T1CGA input-signal combo; 0: none
    int fan;                          // 0: none
    Reg33Rule reg33;
    bool readsAtOpening;
    bool selectsEntries;              // baud/parity shown by list selection (TDG, T1CGA)
    const char* openingText;
    const char* defaultText;
    int fileOrder[6];                 // registers of the file, -1-terminated (68: input, 82: own)
    std::vector<std::pair<int, std::string>> savedAtOpening;  // further file fields, as opened
};

const OwnField NO_OWN = {0, 0, nullptr, nullptr, 0, nullptr};
const char NO_TEXT[17] = {};

const ModelCase MODELS[] = {
    {"TDG", "TDG", L"TDG", IDD_TDG, TDGDlgProc, IDC_OFFLINE_TDG, IDC_TDG_READ, IDC_TDG_WRITE, IDC_TDG_OPEN,
     IDC_TDG_SAVE, IDC_TDG_DEFAULT, IDC_TDG_CANCEL, IDC_TDG_TEXT, IDC_TDG_ADDRESS, IDC_TDG_BAUD, IDC_TDG_PARITY,
     IDC_TDG_NETWORK_GROUP, IDC_TDG_CONTRAST, IDC_TDG_OFFSET_TEMPERATURE, IDC_TDG_OFFSET_HUMIDITY, NO_OWN, 0, 0,
     REG33_CONTRAST, true, true, "                ", "TDG Dolvan s.r.o", {33, 48, 76, 77, 49, -1}},
    {"G-QKE1", "G-QKE1", L"GQKE1", IDD_GQKE1, GQKE1DlgProc, IDC_OFFLINE_G_QKE1, IDC_GQKE1_READ, IDC_GQKE1_WRITE,
     IDC_GQKE1_OPEN, IDC_GQKE1_SAVE, IDC_GQKE1_DEFAULT, IDC_GQKE1_CANCEL, IDC_GQKE1_TEXT, IDC_GQKE1_ADDRESS,
     IDC_GQKE1_BAUD, IDC_GQKE1_PARITY, IDC_GQKE1_NETWORK_GROUP, 0, 0, 0,
     {IDC_GQKE1_OFFSET_CURRENT, 82, "-123", "150", 150, "0", "-200"}, 0, 0, REG33_UNTOUCHED, false, false,
     "Dolvan G-QKE1    ", "G-QKE1 Dolvan   ", {48, 82, 49, -1}},
    {"T1cGA", "T1cGA", L"T1CGA", IDD_T1CGA, T1CGADlgProc, IDC_OFFLINE_T1CGA, IDC_T1CGA_READ, IDC_T1CGA_WRITE,
     IDC_T1CGA_OPEN, IDC_T1CGA_SAVE, IDC_T1CGA_DEFAULT, IDC_T1CGA_CANCEL, IDC_T1CGA_TEXT, IDC_T1CGA_ADDRESS,
     IDC_T1CGA_BAUD, IDC_T1CGA_PARITY, IDC_T1CGA_NETWORK_GROUP, IDC_T1CGA_CONTRAST, IDC_T1CGA_OFFSET_TEMPERATURE, 0,
     NO_OWN, IDC_T1CGA_INPUT, 0, REG33_CONTRAST, true, true, "                ", "T1cGA Dolvan    ",
     {33, 48, 76, 68, 49, -1}},
    {"TYSG", "TYSG", L"TYSG", IDD_TYSG, TYSGDlgProc, IDC_OFFLINE_TYSG, IDC_TYSG_READ, IDC_TYSG_WRITE, IDC_TYSG_OPEN,
     IDC_TYSG_SAVE, IDC_TYSG_DEFAULT, IDC_TYSG_CANCEL, IDC_TYSG_TEXT, IDC_TYSG_ADDRESS, IDC_TYSG_BAUD, 0,
     IDC_TYSG_NETWORK_GROUP, IDC_TYSG_CONTRAST, 0, 0, {IDC_TYSG_OFFSET_SPEED, 82, "-1.23", "1.25", 125, "0.00", "-20.0"}, 0, 0,
     REG33_CONTRAST, true, false, "Dolvan TYSG     ", "TYSG Dolvan s.r.o", {33, 48, 82, 49, -1}},
    {"TNTDG", "TNTDG", L"TNTDG", IDD_TNTDG, TNTDGDlgProc, IDC_OFFLINE_TNTDG, IDC_TNTDG_READ, IDC_TNTDG_WRITE,
     IDC_TNTDG_OPEN, IDC_TNTDG_SAVE, IDC_TNTDG_DEFAULT, IDC_TNTDG_CANCEL, IDC_TNTDG_TEXT, IDC_TNTDG_ADDRESS,
     IDC_TNTDG_BAUD, 0, IDC_TNTDG_NETWORK_GROUP, 0, IDC_TNTDG_OFFSET_TEMPERATURE, IDC_TNTDG_OFFSET_HUMIDITY, NO_OWN,
     0, IDC_TNTDG_FAN, REG33_NO_LCD, true, false, "                ", "TNTDG Dolvan    ", {48, 76, 77, 49, -1}},
    {"TNTRG", "TNTRG", L"TNTRG", IDD_TNTRG, TNTRGDlgProc, IDC_OFFLINE_TNTRG, IDC_TNTRG_READ, IDC_TNTRG_WRITE,
     IDC_TNTRG_OPEN, IDC_TNTRG_SAVE, IDC_TNTRG_DEFAULT, IDC_TNTRG_CANCEL, IDC_TNTRG_TEXT, IDC_TNTRG_ADDRESS,
     IDC_TNTRG_BAUD, 0, IDC_TNTRG_NETWORK_GROUP, 0, 0, 0, NO_OWN, 0, IDC_TNTRG_FAN, REG33_NO_LCD, true, false,
     "                ", "TNTRG Dolvan    ", {48, 49, -1}},
    {"TODG", "TODG", L"TODG", IDD_TODG, TODGDlgProc, IDC_OFFLINE_TODG, IDC_TODG_READ, IDC_TODG_WRITE, IDC_TODG_OPEN,
     IDC_TODG_SAVE, IDC_TODG_DEFAULT, IDC_TODG_CANCEL, IDC_TODG_TEXT, IDC_TODG_ADDRESS, IDC_TODG_BAUD, 0,
     IDC_TODG_NETWORK_GROUP, 0, IDC_TODG_OFFSET_TEMPERATURE, IDC_TODG_OFFSET_HUMIDITY, NO_OWN, 0, 0, REG33_NO_LCD,
     true, false, "TODG            ", "TODG Dolvan     ", {48, 76, 77, 49, -1}},
    {"TORG", "TORG", L"TORG", IDD_TORG, TORGDlgProc, IDC_OFFLINE_TORG, IDC_TORG_READ, IDC_TORG_WRITE, IDC_TORG_OPEN,
     IDC_TORG_SAVE, IDC_TORG_DEFAULT, IDC_TORG_CANCEL, IDC_TORG_TEXT, IDC_TORG_ADDRESS, IDC_TORG_BAUD, 0,
     IDC_TORG_NETWORK_GROUP, 0, 0, 0, NO_OWN, 0, 0, REG33_NO_LCD, true, false, "TORG            ",
     "TORG Dolvan     ", {48, 49, -1}},
    {"NRDG", "NRDG", L"NRDG", IDD_NRDG, NRDGDlgProc, IDC_OFFLINE_NRDG, IDC_NRDG_READ, IDC_NRDG_WRITE, IDC_NRDG_OPEN,
     IDC_NRDG_SAVE, IDC_NRDG_DEFAULT, IDC_NRDG_CANCEL, IDC_NRDG_TEXT, IDC_NRDG_ADDRESS, IDC_NRDG_BAUD, 0,
     IDC_NRDG_NETWORK_GROUP, 0, IDC_NRDG_OFFSET_TEMPERATURE, IDC_NRDG_OFFSET_HUMIDITY, NO_OWN, 0, 0, REG33_UNTOUCHED,
     true, false, "                ", "NRDG Dolvan     ", {48, 76, 77, 49, -1}},
    {"ODG", "ODG", L"ODG", IDD_ODG, ODGDlgProc, IDC_OFFLINE_ODG, IDC_ODG_READ, IDC_ODG_WRITE, IDC_ODG_OPEN,
     IDC_ODG_SAVE, IDC_ODG_DEFAULT, IDC_ODG_CANCEL, IDC_ODG_TEXT, IDC_ODG_ADDRESS, IDC_ODG_BAUD, 0,
     IDC_ODG_NETWORK_GROUP, 0, IDC_ODG_OFFSET_TEMPERATURE, IDC_ODG_OFFSET_HUMIDITY, NO_OWN, 0, 0, REG33_NO_LCD, true,
     false, "ODG             ", "ODG Dolvan      ", {48, 76, 77, 49, -1}},
    {"ORG", "ORG", L"ORG", IDD_ORG, ORGDlgProc, IDC_OFFLINE_ORG, IDC_ORG_READ, IDC_ORG_WRITE, IDC_ORG_OPEN,
     IDC_ORG_SAVE, IDC_ORG_DEFAULT, IDC_ORG_CANCEL, IDC_ORG_TEXT, IDC_ORG_ADDRESS, IDC_ORG_BAUD, 0,
     IDC_ORG_NETWORK_GROUP, 0, 0, 0, NO_OWN, 0, 0, REG33_NO_LCD, true, false, "ORG             ",
     "ORG Dolvan      ", {48, 49, -1}},
    {"TQSRG", "TQSRG", L"TQSRG", IDD_TQSRG, TQSRGDlgProc, IDC_OFFLINE_TQSRG, IDC_TQSRG_READ, IDC_TQSRG_WRITE,
     IDC_TQSRG_OPEN, IDC_TQSRG_SAVE, IDC_TQSRG_DEFAULT, IDC_TQSRG_CANCEL, IDC_TQSRG_TEXT, IDC_TQSRG_ADDRESS,
     IDC_TQSRG_BAUD, 0, IDC_TQSRG_NETWORK_GROUP, 0, 0, 0,
     {IDC_TQSRG_OFFSET_LIGHT, 78, "-123", "150", 150, "0", "-200", true}, 0, 0, REG33_NO_LCD, true, false,
     "Dolvan TQSRG    ", "TQSRG Dolvan    ", {48, 56, 57, 78, 49, -1}, {{56, "0"}, {57, "65535"}, {39, "0"}}},
};

void PrintTo(const ModelCase& model, std::ostream* os)
{
    *os << model.name;
}

// A device of the model with every register distinguishable from what the dialog writes.
int AddSeededDevice(const ModelCase& model)
{
    int id = SimAddDevice(model.name, "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = (WORD)(FILLER_BASE + r);
    const char* text = "Hello World 1234";
    for (int i = 0; i < 8; i++) device->registers[40 + i] = (WORD)((BYTE)text[2 * i] << 8 | (BYTE)text[2 * i + 1]);
    device->registers[33] = 80 + 12;
    device->registers[48] = 17;
    device->registers[49] = 0x0203;
    device->registers[68] = 2;
    device->registers[76] = (WORD)-15;
    device->registers[77] = 25;
    device->registers[82] = (WORD)-123;
    if (model.own.id) device->registers[model.own.reg] = (WORD)-123;
    device->jumperFitted = true;
    return id;
}

class SensorDialogs : public ::testing::TestWithParam<ModelCase> {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

std::string ModelName(const ::testing::TestParamInfo<ModelCase>& info)
{
    std::string name;
    for (const char* p = info.param.name; *p; p++)
        if (isalnum((unsigned char)*p)) name += *p;
    return name;
}

}  // namespace

// CONFIG with a device: the read at opening (or on Read for G-QKE1), the registers shown with their
// coding, the labels, then a Write that puts back exactly the registers the model owns.
TEST_P(SensorDialogs, ConfigReadsShowsAndWritesBack)
{
    const ModelCase& m = GetParam();
    SCOPED_TRACE(m.name);
    int deviceId = AddSeededDevice(m);
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000)) << "no connection";
        PostClick(g_configButton);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read, 10000);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetTextUtf8(dialog), m.designation);
        if (!m.readsAtOpening) {
            EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, m.read)));
            EXPECT_EQ(ItemText(dialog, m.text), m.openingText);
            EXPECT_EQ(CountFeatureCommands(deviceId, CMD_READ_BLOCK, -1), 0);
            Click(dialog, m.read);
        }
        ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "17"; }, 8000)) << "nothing read";
        EXPECT_EQ(CountFeatureCommands(deviceId, CMD_READ_BLOCK, -1), 12);
        EXPECT_EQ(ItemText(dialog, m.text), "Hello World 1234");
        EXPECT_EQ(ItemText(dialog, m.baud), " 9600Bd");
        if (m.parity) {
            EXPECT_EQ(ItemText(dialog, m.parity), "even");
        }
        if (m.contrast) {
            EXPECT_EQ(ItemText(dialog, m.contrast), "12");
        }
        if (m.offset1) {
            EXPECT_EQ(ItemText(dialog, m.offset1), "-1.5");
        }
        if (m.offset2) {
            EXPECT_EQ(ItemText(dialog, m.offset2), "2.5");
        }
        if (m.own.id) {
            EXPECT_EQ(ItemText(dialog, m.own.id), m.own.shownForSeed);
        }
        if (m.input) {
            EXPECT_EQ(ItemText(dialog, m.input), "Ni1000, 5000 ppm");
        }

        std::wstring designation = m.button;
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.read)), EditionText(L"Read ", L"Načíst ") + designation);
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.write)), EditionText(L"Write ", L"Zapsat ") + designation);
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.open)), EditionText(L"Setting Open", L"Otevřít Nastavení"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.save)), EditionText(L"Setting Save", L"Uložit Nastavení"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.byDefault)), EditionText(L"Default", L"Přednastavení"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.cancel)), L"Cancel");
        EXPECT_EQ(GetText(GetDlgItem(dialog, m.networkGroup)), EditionText(L"Network setting", L"Síťové nastavení"));
        if (m.fan) {
            EXPECT_EQ(GetText(GetDlgItem(dialog, m.fan)), EditionText(L"Fan active", L"Aktivovat ventilátor"));
        }
        ExpectLabelsFit(dialog);

        TypeInto(dialog, m.address, "33");
        TypeInto(dialog, m.text, "ABCDE");
        if (m.contrast) TypeInto(dialog, m.contrast, "7");
        if (m.offset1) TypeInto(dialog, m.offset1, "1,5");
        if (m.own.id) TypeInto(dialog, m.own.id, m.own.typed);
        if (m.input) SelectEntry(dialog, m.input, 3);
        SelectEntry(dialog, m.baud, 5);
        if (m.parity) SelectEntry(dialog, m.parity, 1);
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0)) << "no complete write";

        WORD expected[SIM_REGISTER_COUNT];
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) expected[r] = DeviceRegister(deviceId, r);
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
            WORD want = (WORD)(FILLER_BASE + r);
            if (r == 48) want = 33;
            else if (r == 49) want = m.parity ? 0x0105 : 0x0205;
            else if (r == 40) want = 'A' << 8 | 'B';
            else if (r == 41) want = 'C' << 8 | 'D';
            else if (r == 42) want = 'E' << 8;
            else if (r > 42 && r <= 47) want = 0;
            else if (r == 33) want = m.reg33 == REG33_CONTRAST ? 87 : m.reg33 == REG33_NO_LCD ? 110 : 92;
            else if (r == 76) want = m.offset1 ? 15 : (WORD)-15;
            else if (r == 77) want = 25;
            else if (m.own.id && r == m.own.reg) want = m.own.written;
            else if (r == 82) want = (WORD)-123;
            else if (r == 68) want = m.input ? 3 : 2;
            EXPECT_EQ(expected[r], want) << "register " << r;
            EXPECT_EQ(DeviceRegister(deviceId, r, true), want) << "EEPROM register " << r;
        }
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(g_mainWindow) != FALSE; })) << "main window not back";
    }, 30000);
}

// Off-line through the picker: Read and Write disabled, the opening defaults, the tick checks in
// order, a settings file saved byte for byte, Default, and the file loaded back.
TEST_P(SensorDialogs, OfflineFileSaveDefaultAndLoad)
{
    const ModelCase& m = GetParam();
    SCOPED_TRACE(m.name);
    std::string path = TempPath((std::to_string(m.templateId) + ".dlc").c_str());
    DeleteFileA(path.c_str());
    RunProgram([&] {
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         EditionText(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION, 10000);
        PostClick(g_configButton);
        HWND picker = WaitForDialogWithControl(ThisProcess(), m.pickerId);
        ASSERT_NE(picker, nullptr);
        Click(picker, m.pickerId);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.read)));
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.write)));
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        EXPECT_EQ(ItemText(dialog, m.baud), "19200Bd");
        if (m.parity) {
            EXPECT_EQ(ItemText(dialog, m.parity), "none");
        }
        if (m.contrast) {
            EXPECT_EQ(ItemText(dialog, m.contrast), "30");
        }
        if (m.offset1) {
            EXPECT_EQ(ItemText(dialog, m.offset1), "0.0");
        }
        if (m.own.id) {
            EXPECT_EQ(ItemText(dialog, m.own.id), m.own.defaultText);
        }
        if (m.input) {
            EXPECT_EQ(ItemText(dialog, m.input), "Pt1000, 3850 ppm");
        }
        EXPECT_EQ(ItemText(dialog, m.text), m.openingText);

        // Every bounded field out of range at once: the first in tick order is rewritten first.
        int firstChecked = m.own.checkedFirst ? m.own.id : m.contrast ? m.contrast : m.address;
        const char* firstBound = m.own.checkedFirst ? m.own.lowBound : firstChecked == m.address ? "1" : "45";
        RunOnUiThread([&] {
            if (m.contrast) SetDlgItemTextA(dialog, m.contrast, "46");
            SetDlgItemTextA(dialog, m.address, "0");
            if (m.offset1) SetDlgItemTextA(dialog, m.offset1, "25");
            if (m.offset2) SetDlgItemTextA(dialog, m.offset2, "-20.1");
            if (m.own.id) SetDlgItemTextA(dialog, m.own.id, "-201");
        });
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(box.text, RANGE_TEXT);
        EXPECT_EQ(box.caption, RANGE_CAPTION);
        EXPECT_EQ(ItemText(dialog, firstChecked), firstBound);
        auto clamped = [&] {
            return ItemText(dialog, m.address) == "1" && (!m.contrast || ItemText(dialog, m.contrast) == "45") &&
                   (!m.offset1 || ItemText(dialog, m.offset1) == "20.0") &&
                   (!m.offset2 || ItemText(dialog, m.offset2) == "-20.0") &&
                   (!m.own.id || ItemText(dialog, m.own.id) == m.own.lowBound);
        };
        DismissMessageBoxes(nullptr, clamped, 10000);
        EXPECT_TRUE(clamped()) << "every field takes its nearer bound";

        // The values as typed go into the file; register 49 from the list choices.
        std::vector<std::pair<int, std::string>> fields = m.savedAtOpening;
        TypeInto(dialog, m.address, "254");
        fields.push_back({48, "254"});
        if (m.contrast) {
            TypeInto(dialog, m.contrast, "7");
            fields.push_back({33, "7"});
        }
        if (m.offset1) {
            TypeInto(dialog, m.offset1, "1,5");
            fields.push_back({76, "1,5"});
        }
        if (m.offset2) {
            TypeInto(dialog, m.offset2, "-2.25");
            fields.push_back({77, "-2.25"});
        }
        if (m.own.id) {
            TypeInto(dialog, m.own.id, m.own.typed);
            fields.push_back({m.own.reg, m.own.typed});
        }
        if (m.input) {
            SelectEntry(dialog, m.input, 0);
            fields.push_back({68, "0"});
        }
        SelectEntry(dialog, m.baud, 3);
        if (m.parity) SelectEntry(dialog, m.parity, 2);
        fields.push_back({49, m.parity ? "0203" : "3"});
        TypeInto(dialog, m.text, "Room 12");
        Click(dialog, m.save);
        ChooseFile(dialog, path);
        const char text16[17] = "Room 12\0\0\0\0\0\0\0\0";
        std::string expected = ExpectedSettingsFile(m.designation, fields, text16);
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), expected);

        Click(dialog, m.byDefault);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        EXPECT_EQ(ItemText(dialog, m.baud), "19200Bd");
        if (m.contrast) {
            EXPECT_EQ(ItemText(dialog, m.contrast), "30");
        }
        if (m.offset1) {
            EXPECT_EQ(ItemText(dialog, m.offset1), "0.0");
        }
        if (m.input) {
            EXPECT_EQ(ItemText(dialog, m.input), "Pt1000, 3850 ppm");
        }

        Click(dialog, m.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == "Room 12"; }));
        EXPECT_EQ(ItemText(dialog, m.address), "254");
        EXPECT_EQ(ItemText(dialog, m.baud), " 9600Bd");
        if (m.parity) {
            EXPECT_EQ(ItemText(dialog, m.parity), "even");
        }
        if (m.contrast) {
            EXPECT_EQ(ItemText(dialog, m.contrast), "7");
        }
        if (m.offset1) {
            EXPECT_EQ(ItemText(dialog, m.offset1), "1,5");
        }
        if (m.offset2) {
            EXPECT_EQ(ItemText(dialog, m.offset2), "-2.25");
        }
        if (m.own.id) {
            EXPECT_EQ(ItemText(dialog, m.own.id), m.own.typed);
        }
        if (m.input) {
            EXPECT_EQ(ItemText(dialog, m.input), "Pt100, 3850 ppm");
        }
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
    DeleteFileA(path.c_str());
}

// Files the dialog refuses: unreadable (empty), of the wrong size, or of another model; the
// controls stay as they were and Cancel ends the dialog with 1005.
TEST_P(SensorDialogs, RefusedFilesAndCancel)
{
    const ModelCase& m = GetParam();
    SCOPED_TRACE(m.name);
    std::string empty = TempPath("empty.dlc");
    std::string shortFile = TempPath("short.dlc");
    std::string otherModel = TempPath("other.dlc");
    WriteFileBytes(empty, "");
    std::string other = ExpectedSettingsFile(strcmp(m.designation, "ORG") == 0 ? "TORG" : "ORG", {{48, "9"}}, NO_TEXT);
    WriteFileBytes(shortFile, other.substr(0, 2607));
    WriteFileBytes(otherModel, other);
    std::wstring mismatch = EditionText((std::wstring(m.button) + L" device is not compatible with selected file.").c_str(),
                                        (L"Konfigurační soubor není určen pro zařízení " + std::wstring(m.button)).c_str());
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        const struct {
            const std::string* path;
            std::wstring text;
        } cases[] = {
            {&empty, EditionText(L"File read error", L"Chyba načteni souboru")},
            {&shortFile, EditionText(L"File is damaged", L"Soubor je poškozený")},
            {&otherModel, mismatch},
        };
        for (const auto& c : cases) {
            Click(dialog, m.open);
            ChooseFile(dialog, *c.path);
            ExpectMessageBox(ThisProcess(), c.text, EditionText(L"File Error", L"Chyba souboru"), MB_ICONERROR);
            EXPECT_EQ(ItemText(dialog, m.address), "1");
        }
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(empty.c_str());
    DeleteFileA(shortFile.c_str());
    DeleteFileA(otherModel.c_str());
}

INSTANTIATE_TEST_SUITE_P(Models, SensorDialogs, ::testing::ValuesIn(MODELS), ModelName);

namespace {

const ModelCase& FindModel(const char* name)
{
    for (const ModelCase& m : MODELS)
        if (strcmp(m.name, name) == 0) return m;
    return MODELS[0];
}

// Opens the model's dialog through CONFIG with its seeded device and waits for the read.
HWND OpenConnectedDialog(const ModelCase& m)
{
    if (!WaitUntil([] { return g_deviceConnected == 1; }, 10000)) return nullptr;
    PostClick(g_configButton);
    HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read, 10000);
    if (!dialog) return nullptr;
    if (!m.readsAtOpening) Click(dialog, m.read);
    if (!WaitUntil([&] { return ItemText(dialog, m.address) == "17"; }, 8000)) return nullptr;
    return dialog;
}

struct BaudFieldCase {
    const char* model;
    const char* field;     // register 49 as the file holds it
    const char* shownBaud;
    const char* shownParity;
    const char* saved;     // register 49 as the dialog saves it again
};

}  // namespace

// Register 49 read from a file character by character: only a digit inside the field that names
// a list entry is taken, anything else keeps 19200 Bd and no parity.
TEST(SensorFiles, BaudAndParityFieldForms)
{
    PrepareTestProcess();
    static const BaudFieldCase CASES[] = {
        {"TDG", "4", "19200Bd", "none", "0004"},     {"TDG", "0104", "19200Bd", " odd", "0104"},
        {"TDG", "012345", "19200Bd", "none", "0004"}, {"TDG", "0206", "57600Bd", "even", "0206"},
        {"TDG", "0307", "19200Bd", "none", "0004"},  {"TDG", "09", "19200Bd", "none", "0004"},
        {"TDG", "", "19200Bd", "none", "0004"},      {"TDG", "0x0y", "19200Bd", "none", "0004"},
        {"G-QKE1", "0203", " 9600Bd", "even", "0203"}, {"G-QKE1", "02", "19200Bd", "even", "0204"},
        {"G-QKE1", "abcd", "19200Bd", "none", "0004"}, {"G-QKE1", "0100", " 1200Bd", "odd", "0100"},
        {"ODG", "3", " 9600Bd", nullptr, "3"},       {"ODG", "x", "19200Bd", nullptr, "4"},
        {"ODG", "", "19200Bd", nullptr, "4"},        {"ODG", "9", "19200Bd", nullptr, "4"},
    };
    std::string in = TempPath("baud_in.dlc");
    std::string out = TempPath("baud_out.dlc");
    for (const BaudFieldCase& c : CASES) {
        const ModelCase& m = FindModel(c.model);
        SCOPED_TRACE(std::string(c.model) + " \"" + c.field + "\"");
        WriteFileBytes(in, ExpectedSettingsFile(m.designation, {{48, "5"}, {49, c.field}}, NO_TEXT));
        DeleteFileA(out.c_str());
        g_deviceConnected = 0;
        RunDialog(m.templateId, m.proc, [&](HWND dialog) {
            // A choice made before the load must not survive it.
            SelectEntry(dialog, m.baud, 1);
            if (m.parity) SelectEntry(dialog, m.parity, 1);
            Click(dialog, m.open);
            ChooseFile(dialog, in);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "5"; }));
            EXPECT_EQ(ItemText(dialog, m.baud), c.shownBaud);
            if (c.shownParity) {
                EXPECT_EQ(ItemText(dialog, m.parity), c.shownParity);
            }
            Click(dialog, m.save);
            ChooseFile(dialog, out);
            EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(out).size() == 2608; }));
            std::string saved = ReadFileBytes(out);
            if (saved.size() == 2608) {
                EXPECT_EQ(saved.substr(32 + 16 * 49 + 8, 6), (c.saved + std::string(6, ' ')).substr(0, 6));
            }
            Click(dialog, m.cancel);
        });
    }
    DeleteFileA(in.c_str());
    DeleteFileA(out.c_str());
}

// A file of the right size with garbage in its fields, loaded into a connected T1CGA and written:
// nothing crashes, the address is put back in range, the contrast keeps its last shown value,
// register 49 falls back to 19200 Bd without parity and the input signal to its default.
TEST(SensorFiles, GarbageFieldsReachNoRegister)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const ModelCase& m = FindModel("T1cGA");
    int deviceId = AddSeededDevice(m);
    std::string path = TempPath("garbage.dlc");
    const char garbageText[17] = "\x01\xff\r\n\t\"%s%n ABCDE";
    WriteFileBytes(path, ExpectedSettingsFile("T1cGA", {{33, "abc"}, {48, "x9"}, {76, "zz"}, {68, "7"}, {49, "#$%&"}},
                                              garbageText));
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m);
        ASSERT_NE(dialog, nullptr);
        Click(dialog, m.open);
        ChooseFile(dialog, path);
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        EXPECT_EQ(ItemText(dialog, m.contrast), "abc");
        EXPECT_EQ(ItemText(dialog, m.baud), "19200Bd");
        EXPECT_EQ(ItemText(dialog, m.parity), "none");
        EXPECT_EQ(ItemText(dialog, m.input), "Pt1000, 3850 ppm");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0));
        EXPECT_EQ(DeviceRegister(deviceId, 33), 92);
        EXPECT_EQ(DeviceRegister(deviceId, 48), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 49), 4);
        EXPECT_EQ(DeviceRegister(deviceId, 76), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 68), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 50), FILLER_BASE + 50);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
    DeleteFileA(path.c_str());
}

// An emptied contrast field writes the last value shown, every time (not 80 more per Write); a long
// text keeps 16 characters; an entry typed and written before the next tick is checked first and
// reaches the device in range.
TEST(SensorWrite, ContrastAndUncheckedEntries)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const ModelCase& m = FindModel("TDG");
    int deviceId = AddSeededDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m);
        ASSERT_NE(dialog, nullptr);
        TypeInto(dialog, m.contrast, "");
        for (int write = 0; write < 2; write++) {
            Click(dialog, m.write);
            ASSERT_TRUE(WaitForStoredWrite(deviceId, write));
            EXPECT_EQ(DeviceRegister(deviceId, 33), 92) << "write " << write;
        }
        // A text of more than 16 characters keeps its first 16; a character above 127 in an odd
        // position leaves the one before it alone.
        static const WORD TEXT_WORDS[8] = {0x41E9, 0x3334, 0x3536, 0x3738, 0x3930, 0x3132, 0x3334, 0x3536};
        SetText(GetDlgItem(dialog, m.text), L"A\u00e9345678901234567890");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 2));
        for (int i = 0; i < 8; i++) EXPECT_EQ(DeviceRegister(deviceId, 40 + i), TEXT_WORDS[i]) << "register " << 40 + i;
        // The posted Write is taken before any further tick.
        RunOnUiThread([&] {
            SetDlgItemTextA(dialog, m.address, "300");
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(m.write, BN_CLICKED), (LPARAM)GetDlgItem(dialog, m.write));
        });
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 3));
        EXPECT_EQ(DeviceRegister(deviceId, 48), 254);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}

// The fan command on the wire; refused, it shows "Command write error" and closes the dialog.
TEST(SensorFan, CommandOnTheWireAndRefused)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const ModelCase& m = FindModel("TNTDG");
    int deviceId = AddSeededDevice(m);
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m);
        ASSERT_NE(dialog, nullptr);
        SimClearEvents(deviceId);
        Click(dialog, m.fan);
        ASSERT_TRUE(WaitUntil([&] { return CountFeatureCommands(deviceId, CMD_ACTIVATE, -1) == 1; }));
        for (const SimEvent& event : SimGetEvents(deviceId))
            if (event.kind == SIM_EVENT_SET_FEATURE) {
                EXPECT_EQ(event.bytes, std::vector<BYTE>({0, 0xCF, 0, 0, 0, 0, 0, 0, 0}));
            }
        Sleep(100);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_TRUE(IsWindow(dialog));
        SimAddFault(deviceId, {SIM_FAULT_SET_FEATURE, 0, -1, CMD_ACTIVATE, -1});
        Click(dialog, m.fan);
        ExpectMessageBox(ThisProcess(), EditionText(L"Command write error", L"CHyba při zápisu příkazu"), L"SET info",
                         MB_ICONERROR);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(g_deviceConnected, 1);
    }, 30000);
}

// Off-line the slot's list index is stale: nothing is sent, the failure path runs.
TEST(SensorFan, OfflineSendsNothing)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const ModelCase& m = FindModel("TNTRG");
    int deviceId = AddSeededDevice(m);
    EnumerateHidDevices();
    g_hidSlotListIndex[HID_SLOT_DEVICE] = 0;
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        Click(dialog, m.fan);
        ExpectMessageBox(ThisProcess(), EditionText(L"Command write error", L"CHyba při zápisu příkazu"), L"SET info",
                         MB_ICONERROR);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    EXPECT_EQ(CountFeatureCommands(deviceId, CMD_ACTIVATE, -1), 0);
    ResetHidDeviceList();
}

// A failed transfer clears the connection, and the dialog closes itself after the engine's message.
TEST(SensorTransfers, FailedReadOrWriteClosesTheDialog)
{
    PrepareTestProcess();
    SimStartServer();
    const ModelCase& m = FindModel("ODG");
    for (int failWrite = 0; failWrite < 2; failWrite++) {
        SCOPED_TRACE(failWrite ? "write" : "read");
        SimResetDevices();
        int deviceId = AddSeededDevice(m);
        RunProgram([&] {
            ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000));
            if (!failWrite) SimAddFault(deviceId, {SIM_FAULT_SET_FEATURE, 0, -1, CMD_READ_BLOCK, -1});
            HWND dialog = nullptr;
            if (failWrite) {
                dialog = OpenConnectedDialog(m);
                ASSERT_NE(dialog, nullptr);
                SimAddFault(deviceId, {SIM_FAULT_WRITE, 0, -1, -1, -1});
                Click(dialog, m.write);
            } else {
                PostClick(g_configButton);
            }
            ExpectMessageBox(ThisProcess(), failWrite ? L"Data write error" : L"Data read pointer error", L"SET info",
                             MB_ICONHAND, 8000);
            EXPECT_TRUE(WaitUntil([] { return WaitForDialogWithControl(ThisProcess(), IDC_ODG_READ, 0) == nullptr; }));
            EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(g_mainWindow) != FALSE; })) << "main window not back";
            EXPECT_EQ(g_deviceConnected, 0);
        }, 30000);
    }
}

namespace {

struct LabelCase {
    int templateId;
    DLGPROC proc;
    int id;
    const wchar_t* english;
    const wchar_t* czech;
};

}  // namespace

// The labels written at opening, in the edition's language.
TEST(SensorLabels, WrittenAtOpening)
{
    PrepareTestProcess();
    static const LabelCase CASES[] = {
        {IDD_TDG, TDGDlgProc, IDC_TDG_MEASURE_GROUP, L"Measure value, offset", L"Posuv měřené hodnoty"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_TEMPERATURE_LABEL, L"Temperature [°C]", L"Teplota [°C]"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_HUMIDITY_LABEL, L"Humidity [%RH]", L"Vlhkost [%RH]"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_TEXT_GROUP, L"Text string", L"Textové pole"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_LCD_GROUP, L"LCD Setting", L"Nastavení LCD"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_CONTRAST_LABEL, L"Contrast", L"Kontrast"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_ADDRESS_LABEL, L"Address", L"Adresa"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_BAUD_LABEL, L"Baud rate", L"Rychlost"},
        {IDD_TDG, TDGDlgProc, IDC_TDG_PARITY_LABEL, L"Parity", L"Parita"},
        {IDD_GQKE1, GQKE1DlgProc, IDC_GQKE1_CURRENT_LABEL, L"RMS Current [mA]", L"RMS proud [mA]"},
        {IDD_T1CGA, T1CGADlgProc, IDC_T1CGA_INPUT_LABEL, L"Input signal", L"Vstupní signál"},
        {IDD_TYSG, TYSGDlgProc, IDC_TYSG_SPEED_LABEL, L"Speed [m/s]", L"Rychlost [m/s]"},
        {IDD_TNTDG, TNTDGDlgProc, IDC_TNTDG_FAN_GROUP, L"Fan activation", L"Aktivace ventilátoru"},
        {IDD_TNTRG, TNTRGDlgProc, IDC_TNTRG_TEXT_GROUP, L"Text string", L"Textové pole"},
    };
    g_deviceConnected = 0;
    for (const LabelCase& c : CASES) {
        SCOPED_TRACE(c.id);
        RunDialog(c.templateId, c.proc, [&](HWND dialog) {
            EXPECT_EQ(GetText(GetDlgItem(dialog, c.id)), EditionText(c.english, c.czech));
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    }
}

namespace {

// The P20M check box and the two scale fields it opens, as the user sees them.
void ExpectP20M(HWND dialog, bool on)
{
    EXPECT_EQ(IsChecked(dialog, IDC_TQSRG_P20M), on);
    EXPECT_EQ(IsEnabled(GetDlgItem(dialog, IDC_TQSRG_SCALE_LOW)), on);
    EXPECT_EQ(IsEnabled(GetDlgItem(dialog, IDC_TQSRG_SCALE_HIGH)), on);
}

}  // namespace

// TQSRG through CONFIG: the flags word read whole (bit 0 checks the box, the other bits ride
// along), an offset beyond 200 lx pulled back, scale values that need not ascend, the hidden
// transparency correction, and the click on P20M flipping bit 0 alone on the wire.
TEST(SensorTQSRG, P20MModeOnTheWire)
{
    PrepareTestProcess();
    SimStartServer();
    SimResetDevices();
    const ModelCase& m = FindModel("TQSRG");
    int deviceId = AddSeededDevice(m);
    {
        SimLock lock;
        SimDevice* device = SimGetDevice(deviceId);
        device->registers[39] = 0x0105;
        device->registers[56] = 100;
        device->registers[57] = 50;
        device->registers[78] = 250;
    }
    RunProgram([&] {
        HWND dialog = OpenConnectedDialog(m);
        ASSERT_NE(dialog, nullptr);
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_OFFSET_LIGHT), "200");
        ExpectP20M(dialog, true);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_SCALE_LOW), "100");
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_SCALE_HIGH), "50");
        EXPECT_FALSE(IsShown(GetDlgItem(dialog, IDC_TQSRG_TRANSPARENCY)));
        EXPECT_FALSE(IsShown(GetDlgItem(dialog, IDC_TQSRG_TRANSPARENCY_LABEL)));
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_TRANSPARENCY), "1.000");
        const LabelCase labels[] = {
            {0, nullptr, IDC_TQSRG_MEASURE_GROUP, L"Measure value, offset", L"Posuv měřené hodnoty"},
            {0, nullptr, IDC_TQSRG_LIGHT_LABEL, L"Ambien light [lx]", L"Osvětlení [lx]"},
            {0, nullptr, IDC_TQSRG_P20M_GROUP, L"P20M mode", L"Mod P20M"},
            {0, nullptr, IDC_TQSRG_P20M, L"P20M mode", L"Mod P20M"},
            {0, nullptr, IDC_TQSRG_SCALE_LOW_LABEL, L"0%", L"0%"},
            {0, nullptr, IDC_TQSRG_SCALE_HIGH_LABEL, L"100%", L"100%"},
            {0, nullptr, IDC_TQSRG_TRANSPARENCY_LABEL, L"Transparency correction", L"Korekce Transparence"},
        };
        for (const LabelCase& c : labels) EXPECT_EQ(GetText(GetDlgItem(dialog, c.id)), EditionText(c.english, c.czech));

        Click(dialog, IDC_TQSRG_P20M);
        EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(GetDlgItem(dialog, IDC_TQSRG_SCALE_LOW)); }));
        ExpectP20M(dialog, false);
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 0));
        EXPECT_EQ(DeviceRegister(deviceId, 39, true), 0x0104);
        EXPECT_EQ(DeviceRegister(deviceId, 56, true), 100);
        EXPECT_EQ(DeviceRegister(deviceId, 57, true), 50);
        EXPECT_EQ(DeviceRegister(deviceId, 78, true), 200);
        EXPECT_EQ(DeviceRegister(deviceId, 33, true), 110);

        Click(dialog, IDC_TQSRG_P20M);
        EXPECT_TRUE(WaitUntil([&] { return IsEnabled(GetDlgItem(dialog, IDC_TQSRG_SCALE_LOW)); }));
        ExpectP20M(dialog, true);
        TypeInto(dialog, IDC_TQSRG_SCALE_HIGH, "65535");
        TypeInto(dialog, IDC_TQSRG_OFFSET_LIGHT, "-7");
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForStoredWrite(deviceId, 1));
        EXPECT_EQ(DeviceRegister(deviceId, 39, true), 0x0105);
        EXPECT_EQ(DeviceRegister(deviceId, 57, true), 65535);
        EXPECT_EQ(DeviceRegister(deviceId, 78, true), (WORD)-7);
        Click(dialog, m.cancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 30000);
}

// TQSRG off-line: P20M off at opening, the scale values saved as typed with line 39 holding the
// bit alone, Default closing the scale fields but keeping their texts, the hidden correction kept
// within 1.000 to 65.000, and line 39 of a loaded file: "1" sets the mode, anything else clears it.
TEST(SensorTQSRG, P20MModeOffline)
{
    PrepareTestProcess();
    const ModelCase& m = FindModel("TQSRG");
    std::string path = TempPath("tqsrg.dlc");
    std::string garbage = TempPath("tqsrg_garbage.dlc");
    WriteFileBytes(garbage, ExpectedSettingsFile("TQSRG", {{48, "9"}, {56, "1"}, {57, "2"}, {78, "3"}, {39, "7"}}, NO_TEXT));
    DeleteFileA(path.c_str());
    g_deviceConnected = 0;
    RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        ExpectP20M(dialog, false);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_SCALE_LOW), "0");
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_SCALE_HIGH), "65535");
        RunOnUiThread([&] { SetDlgItemTextA(dialog, IDC_TQSRG_TRANSPARENCY, "0.5"); });
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_TRANSPARENCY), "1.000");

        Click(dialog, IDC_TQSRG_P20M);
        EXPECT_TRUE(WaitUntil([&] { return IsEnabled(GetDlgItem(dialog, IDC_TQSRG_SCALE_LOW)); }));
        TypeInto(dialog, IDC_TQSRG_SCALE_LOW, "500");
        TypeInto(dialog, IDC_TQSRG_SCALE_HIGH, "20");
        TypeInto(dialog, IDC_TQSRG_OFFSET_LIGHT, "-12");
        Click(dialog, m.save);
        ChooseFile(dialog, path);
        std::string expected = ExpectedSettingsFile(
            "TQSRG", {{48, "1"}, {56, "500"}, {57, "20"}, {78, "-12"}, {49, "4"}, {39, "1"}}, "Dolvan TQSRG    ");
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), expected);

        Click(dialog, m.byDefault);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        ExpectP20M(dialog, false);
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_SCALE_LOW), "500");
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_SCALE_HIGH), "20");
        EXPECT_EQ(ItemText(dialog, IDC_TQSRG_OFFSET_LIGHT), "0");

        Click(dialog, m.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_TQSRG_OFFSET_LIGHT) == "-12"; }));
        ExpectP20M(dialog, true);
        Click(dialog, m.open);
        ChooseFile(dialog, garbage);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "9"; }));
        ExpectP20M(dialog, false);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, m.cancel);
    });
    DeleteFileA(path.c_str());
    DeleteFileA(garbage.c_str());
}
