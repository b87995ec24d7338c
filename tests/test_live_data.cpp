// The live values window on the wire: real template, real 20 ms tick, the configured device and
// the calibration device simulated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/edition.h"
#include "app/dialog_routes.h"
#include "app/main_window.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"
#include "tools/calibrator.h"
#include "tools/live_data.h"

namespace {

const std::vector<BYTE> LIVE_BLOCK_COMMAND = {0x00, 0xC0, 0x01, 0x00, 0x00, 0x41, 0x7A, 0x2E, 0x5D};
const int VALUE_IDS[4] = {IDC_LIVE_DATA_VALUE_1, IDC_LIVE_DATA_VALUE_2, IDC_LIVE_DATA_VALUE_3, IDC_LIVE_DATA_VALUE_4};
const int LABEL_IDS[4] = {IDC_LIVE_DATA_LABEL_1, IDC_LIVE_DATA_LABEL_2, IDC_LIVE_DATA_LABEL_3, IDC_LIVE_DATA_LABEL_4};
const int CHANNEL_BUTTON_IDS[4] = {IDC_LIVE_DATA_U1, IDC_LIVE_DATA_U2, IDC_LIVE_DATA_I1, IDC_LIVE_DATA_I2};
const DWORD LIVE_WAIT_MS = 3000;

std::wstring Item(HWND dialog, int id)
{
    return GetText(GetDlgItem(dialog, id));
}

bool ItemShown(HWND dialog, int id)
{
    return IsShown(GetDlgItem(dialog, id));
}

bool WaitForItem(HWND dialog, int id, const std::wstring& text, DWORD timeoutMs = LIVE_WAIT_MS)
{
    return WaitUntil([&] { return Item(dialog, id) == text; }, timeoutMs);
}

std::vector<std::vector<BYTE>> SentFeatures(int simId)
{
    return TranscriptBytes(simId, SIM_EVENT_SET_FEATURE);
}

bool CalibratorRowShown(HWND dialog)
{
    for (int id : CHANNEL_BUTTON_IDS)
        if (!ItemShown(dialog, id)) return false;
    return ItemShown(dialog, IDC_LIVE_DATA_VALUE_4) && ItemShown(dialog, IDC_LIVE_DATA_LABEL_4);
}

bool CalibratorRowHidden(HWND dialog)
{
    for (int id : CHANNEL_BUTTON_IDS)
        if (ItemShown(dialog, id)) return false;
    return !ItemShown(dialog, IDC_LIVE_DATA_VALUE_4) && !ItemShown(dialog, IDC_LIVE_DATA_LABEL_4);
}

// A connected configured device (and, when asked, a calibration device) as DATA finds them.
class LiveDataWindow : public testing::Test {
protected:
    int device = -1;
    int calibrator = -1;

    void SetUp() override
    {
        SimResetDevices();
        ResetProgramRecords();
        g_liveData.state = LIVE_STATE_IDLE;
    }

    // Adds the configured device (and the calibration device when asked) and lists them as the
    // main window's detection does; the device's pipe may need a moment before it opens.
    void Connect(const char* name, BYTE type, const wchar_t* calibratorString = nullptr)
    {
        device = SimAddDevice(name, "00.00.30");
        int expected = 1;
        if (calibratorString) {
            calibrator = SimAddCalibrator(calibratorString);
            expected = 2;
        }
        int count = 0;
        EXPECT_TRUE(WaitUntil([&] {
            ResetHidDeviceList();
            count = EnumerateHidDevices();
            return count == expected;
        }, 2000));
        ASSERT_EQ(1, FindHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE));
        g_deviceType = type;
        g_deviceConnected = 1;
    }

    // Runs the window; every way out ends it with 2 and leaves both slots closed.
    void RunWindow(const std::function<void(HWND)>& scenario)
    {
        INT_PTR result = RunDialog(IDD_LIVE_DATA, LiveDataDlgProc, scenario);
        EXPECT_EQ(TOOL_DIALOG_RESULT, result);
        EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_DEVICE]);
        EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_CALIBRATOR]);
        EXPECT_EQ(LIVE_STATE_IDLE, g_liveData.state);
        EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(device) == 0; })) << "device handle left open";
        if (calibrator >= 0) {
            EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(calibrator) == 0; }))
                << "calibration device handle left open";
        }
    }

    static void Cancel(HWND dialog)
    {
        PostClick(GetDlgItem(dialog, IDCANCEL));
    }
};

// ---- Model groups: labels, shown rows, which registers of block 1 and how they are written

struct RegisterValue {
    int index;
    WORD value;
};

struct GroupCase {
    const char* name;  // device name that the simulated device reports
    BYTE type;
    std::vector<RegisterValue> registers;  // the first one is changed later and must show
    // Per row (1029/1007, 1030/1008, 1031/1009, 1032/1010): label EN, label CZ, value; a null
    // label means "not checked", a null value "row hidden".
    const wchar_t* labelEn[4];
    const wchar_t* labelCz[4];
    const wchar_t* values[4];
    bool labelShown[4];
};

const wchar_t* const TEMPLATE_LABEL_4 = L"Data 4";

const GroupCase GROUP_CASES[] = {
    {"L-O2", DEVICE_TYPE_LO2, {{0, 0x86A0}, {1, 0x7701}, {2, 5}, {3, 0}},
     {L"Frequency", L"Frequency", L"", TEMPLATE_LABEL_4},
     {L"Frekvence", L"Frekvence", L"", TEMPLATE_LABEL_4},
     {L" 10000,0  Hz", L" 0,5  Hz", nullptr, nullptr},
     {true, true, true, false}},
    {"KDG1KY", DEVICE_TYPE_KDG1KY, {{0, 235}, {1, 455}, {5, 812}},
     {L"Temperature", L"Humidity", L"Koncentration CO2", TEMPLATE_LABEL_4},
     {L"Teplota", L"Vlhkost", L"Koncentrace CO2", TEMPLATE_LABEL_4},
     {L" 23,5  \u00B0C", L" 45,5  %RH", L" 812  ppm", nullptr},
     {true, true, true, false}},
    {"KRG", DEVICE_TYPE_KRG, {{5, (WORD)-3}},
     {L"Koncentration CO2", L"", L"", nullptr},
     {L"Koncentrace CO2", L"", L"", nullptr},
     {L" -3  ppm", nullptr, nullptr, nullptr},
     {true, true, true, false}},
    {"TYSG", DEVICE_TYPE_TYSG, {{6, (WORD)-5}},
     {L"Speed of flow", L"", L"", nullptr},
     {L"Rychlost proud\u00ECn\u00ED", L"", L"", nullptr},
     {L" -0,05  m/s", nullptr, nullptr, nullptr},
     {true, true, true, false}},
    {"TQSRO", DEVICE_TYPE_TQSRO, {{2, 50000}},
     {L"Ambien light", L"", L"", nullptr},
     {L"Osv\u011Btlen\u00ED", L"", L"", nullptr},
     {L" 50000 lx", nullptr, nullptr, nullptr},
     {true, true, true, false}},
    {"G-QKE1", DEVICE_TYPE_GQKE1, {{0, 1500}},
     {L"RMS Current", L"", L"", nullptr},
     {L"RMS Proud", L"", L"", nullptr},
     {L" 1500  mA", nullptr, nullptr, nullptr},
     {true, true, true, false}},
    {"T1cGA", DEVICE_TYPE_T1CGA, {{0, 0x8000}},
     {L"Temperature", L"", L"", L""},
     {L"Teplota", L"", L"", L""},
     {L"- 3276,8  \u00B0C", nullptr, nullptr, nullptr},
     {true, true, true, false}},
    {"DMG1T", DEVICE_TYPE_DMG1T, {{8, (WORD)-15}, {0, 0}, {1, 1000}},
     {L"Temperature", L"Humidity", L"", L"Potentiometer"},
     {L"Teplota", L"Vlhkost", L"", L"Potenciometr"},
     {L" 0,0  \u00B0C", L" 100,0  %RH", nullptr, L" -1,5 "},
     {true, true, true, true}},
    {"TODG", DEVICE_TYPE_TODG, {{0, 215}, {1, 300}, {2, 1250}, {3, 9}},
     {L"Temperature", L"Humidity", nullptr, L"TVOC"},
     {L"Teplota", L"Vlhkost", nullptr, L"TVOC"},
     {L" 21,5  \u00B0C", L" 30,0  %RH", nullptr, L" 1250  ppb"},
     {true, true, false, true}},
    {"LBODO", DEVICE_TYPE_LBODO, {{0, 215}, {1, 300}, {2, 1250}, {3, 9}},
     {L"Temperature", L"Humidity", nullptr, L"TVOC"},
     {L"Teplota", L"Vlhkost", nullptr, L"TVOC"},
     {L" 21,5  \u00B0C", L" 30,0  %RH", nullptr, L" 9  ppb"},
     {true, true, false, true}},
    {"ORG", DEVICE_TYPE_ORG, {{2, 77}},
     {L"", L"", L"", L"TVOC"},
     {L"", L"", L"", L"TVOC"},
     {nullptr, nullptr, nullptr, L" 77  ppb"},
     {true, true, true, true}},
    {"TNTDG", DEVICE_TYPE_TNTDG, {{0, 199}, {1, 501}, {5, 123}, {11, 25}},
     {L"Temperature", L"Humidity", L"PM 10", L"Typical Particle Size"},
     {L"Teplota", L"Vlhkost", L"PM 10", L"Typick\u00E1 velikost \u010D\u00E1stic"},
     {L" 19,9  \u00B0C", L" 50,1  %RH", L" 12,3  ug/m3", L" 2,5  um"},
     {true, true, true, true}},
    {"TNTR", DEVICE_TYPE_TNTRG, {{3, 25}, {0, 199}, {1, 501}, {2, 10}, {4, 40}, {5, 100}},
     {L"PM 2.5", L"PM 4.0", L"PM 1.0", L"PM 10"},
     {L"PM 2.5", L"PM 4.0", L"PM 1.0", L"PM 10"},
     {L" 2,5  ug/m3", L" 4,0  ug/m3", L" 1,0  ug/m3", L" 10,0  ug/m3"},
     {true, true, true, true}},
    {"TDG", DEVICE_TYPE_TDG, {{0, (WORD)-5}, {1, 1000}},
     {L"Temperature", L"Humidity", L"", TEMPLATE_LABEL_4},
     {L"Teplota", L"Vlhkost", L"", TEMPLATE_LABEL_4},
     {L"- 0,5  \u00B0C", L" 100,0  %RH", nullptr, nullptr},
     {true, true, true, false}},
};

TEST_F(LiveDataWindow, EachModelGroupShowsItsBlockOneValues)
{
    for (const GroupCase& c : GROUP_CASES) {
        SCOPED_TRACE(c.name);
        SimResetDevices();
        ResetProgramRecords();
        Connect(c.name, c.type);
        for (const RegisterValue& r : c.registers) SimSetDeviceRegister(device, r.index, r.value);
        RunWindow([&](HWND dialog) {
            SCOPED_TRACE(c.name);
            // The rows are laid out with the first report shown: wait for its values before
            // looking at what is shown.
            for (int row = 0; row < 4; row++) {
                SCOPED_TRACE(row + 1);
                if (c.values[row]) {
                    EXPECT_TRUE(WaitForItem(dialog, VALUE_IDS[row], c.values[row])) << GetTextUtf8(GetDlgItem(dialog, VALUE_IDS[row]));
                }
            }
            for (int row = 0; row < 4; row++) {
                SCOPED_TRACE(row + 1);
                if (c.values[row]) {
                    EXPECT_TRUE(ItemShown(dialog, VALUE_IDS[row]));
                } else {
                    EXPECT_FALSE(ItemShown(dialog, VALUE_IDS[row]));
                }
                const wchar_t* label = EDITION_IS_CZECH ? c.labelCz[row] : c.labelEn[row];
                if (label) {
                    EXPECT_EQ(std::wstring(label), Item(dialog, LABEL_IDS[row]));
                }
                EXPECT_EQ(c.labelShown[row], ItemShown(dialog, LABEL_IDS[row]));
            }
            // Values that change on the device follow on the next reports.
            SimSetDeviceRegister(device, c.registers[0].index, 0);
            EXPECT_TRUE(WaitUntil([&] {
                for (int row = 0; row < 4; row++)
                    if (c.values[row] && Item(dialog, VALUE_IDS[row]) != c.values[row]) return true;
                return false;
            }, LIVE_WAIT_MS));
            Cancel(dialog);
        });
        // One block-1 command, and nothing else sent: the device keeps sending its reports.
        EXPECT_EQ(std::vector<std::vector<BYTE>>{LIVE_BLOCK_COMMAND}, SentFeatures(device));
    }
}

// ---- The calibration device's row

TEST_F(LiveDataWindow, ChannelButtonsSelectAndTheUnitFollowsTheNextReading)
{
    Connect("TDG", DEVICE_TYPE_TDG, SIM_CALIBRATOR_PRODUCT_STRING);
    SimSetCalibratorValue(calibrator, 0xA2, 99990);   // U1
    SimSetCalibratorValue(calibrator, 0xA0, 100000);  // U2
    SimSetCalibratorValue(calibrator, 0xA3, 200000);  // I1
    SimSetCalibratorValue(calibrator, 0xA1, 9999);    // I2
    SimSetDeviceRegister(device, 0, 235);
    RunWindow([&](HWND dialog) {
        EXPECT_TRUE(WaitUntil([&] { return CalibratorRowShown(dialog); }, LIVE_WAIT_MS));
        EXPECT_EQ(EditionText(L"Analog output U1", L"Analogov\u00FD v\u00FDstup U1"), Item(dialog, IDC_LIVE_DATA_LABEL_4));
        EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_4, L" 9.9990 V"));
        EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_1, L" 23,5  \u00B0C"));

        struct ButtonCase {
            int button;
            BYTE code;
            const wchar_t* labelEn;
            const wchar_t* labelCz;
            const wchar_t* reading;
        };
        const ButtonCase BUTTONS[] = {
            {IDC_LIVE_DATA_I1, 0xA3, L"Analog output I1", L"Analogov\u00FD v\u00FDstup I1", L"20.0000 mA"},
            {IDC_LIVE_DATA_U2, 0xA0, L"Analog output U2", L"Analogov\u00FD v\u00FDstup U2", L"10.0000 V"},
            {IDC_LIVE_DATA_I2, 0xA1, L"Analog output I2", L"Analogov\u00FD v\u00FDstup I2", L" 0.9999 mA"},
            {IDC_LIVE_DATA_U1, 0xA2, L"Analog output U1", L"Analogov\u00FD v\u00FDstup U1", L" 9.9990 V"},
        };
        for (const ButtonCase& b : BUTTONS) {
            SCOPED_TRACE(b.code);
            // The transcript stays whole: the window opens and closes the calibration device at
            // every reading, and clearing it here could drop an open whose close comes later. The
            // button's command is the first one sent after this mark.
            size_t before = SentFeatures(calibrator).size();
            PostClick(GetDlgItem(dialog, b.button));
            EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_LABEL_4, EditionText(b.labelEn, b.labelCz)));
            EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_4, b.reading)) << GetTextUtf8(GetDlgItem(dialog, IDC_LIVE_DATA_VALUE_4));
            std::vector<std::vector<BYTE>> sent = SentFeatures(calibrator);
            ASSERT_GT(sent.size(), before);
            EXPECT_EQ((std::vector<BYTE>{0, b.code, 0, 0, 0, 0, 0, 0, 0}), sent[before]);
        }
        // The device values go on beside the readings.
        SimSetDeviceRegister(device, 0, 240);
        EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_1, L" 24,0  \u00B0C"));
        Cancel(dialog);
    });
    // The start: block-1 readings, then U1 with bytes 2-8 cleared.
    std::vector<std::vector<BYTE>> first = SentFeatures(device);
    EXPECT_EQ(std::vector<std::vector<BYTE>>{LIVE_BLOCK_COMMAND}, first);
}

TEST_F(LiveDataWindow, StartSendsBlockOneThenSelectsU1)
{
    Connect("TDG", DEVICE_TYPE_TDG, SIM_CALIBRATOR_PRODUCT_STRING);
    RunWindow([&](HWND dialog) {
        EXPECT_TRUE(WaitUntil([&] { return CalibratorRowShown(dialog); }, LIVE_WAIT_MS));
        Cancel(dialog);
    });
    std::vector<std::vector<BYTE>> sent = SentFeatures(calibrator);
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(LIVE_BLOCK_COMMAND, sent[0]);
    EXPECT_EQ((std::vector<BYTE>{0, 0xA2, 0, 0, 0, 0, 0, 0, 0}), sent[1]);
}

// Present only with 'A' at index 8 of the product string; an absent one is never spoken to.
TEST_F(LiveDataWindow, CalibratorNeedsThePresenceMark)
{
    struct MarkCase {
        const wchar_t* productString;
        bool present;
    };
    const MarkCase CASES[] = {
        {L"Dolvan CAL meter", true},
        {L"XXXXXXXXA", true},
        {L"Dolvan CxL meter", false},
        {L"Dolvan C", false},   // eight characters: index 8 is the terminator
        {L"", false},
    };
    for (const MarkCase& c : CASES) {
        SCOPED_TRACE(testing::Message() << "product string of " << wcslen(c.productString) << " characters");
        SimResetDevices();
        ResetProgramRecords();
        Connect("TDG", DEVICE_TYPE_TDG, c.productString);
        SimSetCalibratorValue(calibrator, 0xA2, 10000);
        RunWindow([&](HWND dialog) {
            SCOPED_TRACE(wcslen(c.productString));
            EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_1, L" 0,0  \u00B0C"));
            if (c.present) {
                EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_4, L" 1.0000 V"));
                EXPECT_TRUE(CalibratorRowShown(dialog));
            } else {
                Sleep(200);
                EXPECT_TRUE(CalibratorRowHidden(dialog));
            }
            Cancel(dialog);
        });
        EXPECT_EQ(c.present, !SentFeatures(calibrator).empty());
    }
}

// Leaves the presence mark all over the stack below this frame, as an earlier look at a
// calibration device's product string could have, then looks again.
__attribute__((noinline)) int CheckMarkOverStaleStack()
{
    volatile char stale[4096];
    for (size_t i = 0; i < sizeof(stale); i++) stale[i] = 'A';
    return stale[0] == 'A' ? -1 : 0;
}

// A product string that cannot be fetched leaves no mark behind from an earlier look.
TEST_F(LiveDataWindow, UnreadableProductStringMeansAbsent)
{
    Connect("TDG", DEVICE_TYPE_TDG, SIM_CALIBRATOR_PRODUCT_STRING);
    ASSERT_TRUE(WaitUntil([] { return FindCalibrator() == 1; }, 2000));  // its pipe may be busy a moment
    EXPECT_EQ(1, CheckCalibratorPresenceMark());
    SimSetPresent(calibrator, false);  // the handle stays open, the fetch fails
    int sprayed = CheckMarkOverStaleStack();
    int present = CheckCalibratorPresenceMark();  // nothing in between may reuse the stack
    EXPECT_EQ(-1, sprayed);
    EXPECT_EQ(0, present);
    CloseHidSlot(HID_SLOT_CALIBRATOR);
}

// The calibration device's other commands, as the calibration tools send them.
TEST_F(LiveDataWindow, CalibratorCommandsOnTheWire)
{
    Connect("TDG", DEVICE_TYPE_TDG, SIM_CALIBRATOR_PRODUCT_STRING);
    ASSERT_TRUE(WaitUntil([] { return FindCalibrator() == 1; }, 2000));  // its pipe may be busy a moment
    SimClearEvents(calibrator);
    struct CommandCase {
        std::function<int()> send;
        std::vector<BYTE> wire;
    };
    const CommandCase CASES[] = {
        {[] { return RequestCalibratorStrings(); }, {0, 0xCC, 0, 0, 0, 0x41, 0x7A, 0x2E, 0x5D}},
        {[] { return BeginCalibratorInputRun(); }, {0, 0xC8, 0, 0, 0, 0x41, 0x7A, 0x2E, 0x5D}},
        {[] { return SelectCalibratorSignal(1); }, {0, 0xA0, 0, 0, 0, 0, 0, 0, 0}},
        {[] { return SelectCalibratorSignal(8); }, {0, 0xA7, 0, 0, 0, 0, 0, 0, 0}},
        {[] { return SelectCalibratorSignal(9); }, {0, 0xAF, 0, 0, 0, 0, 0, 0, 0}},
        {[] { return SelectCalibratorSignal(0); }, {0, 0xAF, 0, 0, 0, 0, 0, 0, 0}},
        {[] { return SendCalibratorBeep(); }, {0, 0xCF, 0, 0, 0, 0, 0, 0, 0}},
        {[] { return EndCalibratorInputRun(); }, {0, 0xC9, 0, 0, 0, 0x41, 0x7A, 0x2E, 0x5D}},
    };
    std::vector<std::vector<BYTE>> expected;
    for (const CommandCase& c : CASES) {
        EXPECT_EQ(1, c.send());
        expected.push_back(c.wire);
    }
    EXPECT_EQ(expected, SentFeatures(calibrator));
    SimCalibratorState state = SimGetCalibrator(calibrator);
    EXPECT_EQ(1, state.beeps);
    EXPECT_EQ(1, state.inputRunsBegun);
    EXPECT_EQ(1, state.inputRunsEnded);
    EXPECT_FALSE(state.inputRun);
    // After the strings request it keeps sending its identification.
    for (int i = 0; i < 2; i++) {
        ASSERT_EQ(1, ReadCalibratorReport());
        EXPECT_EQ("CAL             01.00.00", std::string((const char*)g_inputReport + 1, 24));
    }
    CloseHidSlot(HID_SLOT_CALIBRATOR);
}

// ---- Failures

TEST_F(LiveDataWindow, LosingTheCalibratorHidesItsRowAndTheValuesGoOn)
{
    const wchar_t* caption = L"Data read info";
    const wchar_t* captionCz = L"\u010Cten\u00ED dat, info";
    struct LossCase {
        const char* what;
        std::function<void(int calibrator)> lose;
        int button;  // 0: the loss shows at the next reading
        const wchar_t* textEn;
        const wchar_t* textCz;
    };
    const LossCase CASES[] = {
        {"reading fails", [](int id) { SimAddFault(id, {SIM_FAULT_READ, 0, -1, -1, -1}); }, 0,
         L"Analog Data read error", L"CHyba p\u0159i \u010Dten\u00ED Analogov\u00FDch dat"},
        {"unplugged", [](int id) { SimSetPresent(id, false); }, 0,
         L"Analog Data read error", L"CHyba p\u0159i \u010Dten\u00ED Analogov\u00FDch dat"},
        {"silent", [](int id) { SimLock lock; SimGetDevice(id)->silent = true; SimGetDevice(id)->pendingInput.clear(); }, 0,
         L"Analog Data read error", L"CHyba p\u0159i \u010Dten\u00ED Analogov\u00FDch dat"},
        {"selection fails", [](int id) { SimAddFault(id, {SIM_FAULT_SET_FEATURE, 0, -1, 0xA1, -1}); }, IDC_LIVE_DATA_I2,
         L"Channel select error", L"Chyba p\u0159i v\u00FDb\u011Bru kan\u00E1lu"},
        // Unplugged before a button: one message; the reading it would have taken next is not tried.
        {"unplugged, then a button", [](int id) { SimSetPresent(id, false); }, IDC_LIVE_DATA_U2,
         L"Channel select error", L"Chyba p\u0159i v\u00FDb\u011Bru kan\u00E1lu"},
    };
    for (const LossCase& c : CASES) {
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        Connect("TDG", DEVICE_TYPE_TDG, SIM_CALIBRATOR_PRODUCT_STRING);
        RunWindow([&](HWND dialog) {
            SCOPED_TRACE(c.what);  // traces are per thread
            EXPECT_TRUE(WaitUntil([&] { return CalibratorRowShown(dialog); }, LIVE_WAIT_MS));
            EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_4, L" 0.0000 V"));
            if (c.button) {
                // On the UI thread, so no tick comes between the loss and the click.
                RunOnUiThread([&] {
                    c.lose(calibrator);
                    PostClick(GetDlgItem(dialog, c.button));
                });
            } else {
                c.lose(calibrator);
            }
            ExpectMessageBox(ThisProcess(), EditionText(c.textEn, c.textCz), EditionText(caption, captionCz),
                             MB_ICONERROR);
            EXPECT_TRUE(CalibratorRowHidden(dialog));
            SimSetDeviceRegister(device, 0, 123);
            EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_1, L" 12,3  \u00B0C"));
            Sleep(100);
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));  // one message, once
            Cancel(dialog);
        });
    }
}

TEST_F(LiveDataWindow, SilentSelectionAtStartLeavesTheRowHidden)
{
    Connect("TDG", DEVICE_TYPE_TDG, SIM_CALIBRATOR_PRODUCT_STRING);
    SimAddFault(calibrator, {SIM_FAULT_SET_FEATURE, 0, -1, 0xA2, -1});
    RunWindow([&](HWND dialog) {
        EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_1, L" 0,0  \u00B0C"));
        Sleep(200);
        EXPECT_TRUE(CalibratorRowHidden(dialog));
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Cancel(dialog);
    });
}

TEST_F(LiveDataWindow, DeviceFailuresEndTheWindow)
{
    const wchar_t* caption = L"Data read info";
    const wchar_t* captionCz = L"\u010Cten\u00ED dat, info";
    struct FailureCase {
        const char* what;
        bool whileReading;  // the failure comes after the first values were shown
        std::function<void(int device)> fail;
        const wchar_t* textEn;
        const wchar_t* textCz;
    };
    const FailureCase CASES[] = {
        {"block command refused", false, [](int id) { SimAddFault(id, {SIM_FAULT_SET_FEATURE, 0, -1, 0xC0, -1}); },
         L"Data read pointer error", L"Chyba p\u0159i nastavov\u00E1n\u00ED adresy"},
        {"read fails", false, [](int id) { SimAddFault(id, {SIM_FAULT_READ, 0, -1, -1, -1}); },
         L"Application measure Data read error", L"Chyba p\u0159i \u010Dten\u00ED m\u011B\u0159en\u00FDch dat"},
        {"unplugged", true, [](int id) { SimSetPresent(id, false); },
         L"Application measure Data read error", L"Chyba p\u0159i \u010Dten\u00ED m\u011B\u0159en\u00FDch dat"},
        {"silent", true, [](int id) { SimLock lock; SimGetDevice(id)->silent = true; },
         L"Application measure Data read error", L"Chyba p\u0159i \u010Dten\u00ED m\u011B\u0159en\u00FDch dat"},
    };
    for (const FailureCase& c : CASES) {
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        Connect("TDG", DEVICE_TYPE_TDG, SIM_CALIBRATOR_PRODUCT_STRING);
        if (!c.whileReading) c.fail(device);
        RunWindow([&](HWND dialog) {
            SCOPED_TRACE(c.what);
            if (c.whileReading) {
                EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_1, L" 0,0  \u00B0C"));
                c.fail(device);
            }
            ExpectMessageBox(ThisProcess(), EditionText(c.textEn, c.textCz), EditionText(caption, captionCz),
                             MB_ICONERROR);
            // The window closes itself after the message.
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, LIVE_WAIT_MS));
        });
    }
}

// ---- From the main window: DATA hides it, the window ends with 2 and it comes back

TEST_F(LiveDataWindow, DataButtonOpensTheWindowAndTheMainWindowReturns)
{
    device = SimAddDevice("TKDG", "00.00.30");
    SimSetDeviceRegister(device, 5, 600);
    calibrator = SimAddCalibrator(SIM_CALIBRATOR_PRODUCT_STRING);
    SimSetCalibratorValue(calibrator, 0xA2, 55555);
    RunProgram([&] {
        EXPECT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && GetText(g_deviceField) == L"  TKDG            "; },
                              LIVE_WAIT_MS));
        PostClick(g_dataButton);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_LIVE_DATA_VALUE_4);
        ASSERT_TRUE(dialog != nullptr);
        EXPECT_FALSE(IsShown(g_mainWindow));
        EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_3, L" 600  ppm"));
        EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_4, L" 5.5555 V"));
        PostMessageW(dialog, WM_CLOSE, 0, 0);  // the close box
        EXPECT_TRUE(WaitUntil([] { return IsShown(g_mainWindow); }, LIVE_WAIT_MS));
        EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_CALIBRATOR]);
    });
}

TEST_F(LiveDataWindow, MainWindowReturnsAfterAFailure)
{
    device = SimAddDevice("TDG", "00.00.30");
    RunProgram([&] {
        // Connected and identified: the identification report has been read.
        EXPECT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && GetText(g_deviceField) == L"  TDG             "; },
                              LIVE_WAIT_MS));
        SimAddFault(device, {SIM_FAULT_READ, 0, -1, -1, -1});
        PostClick(g_dataButton);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_LIVE_DATA_VALUE_4);
        ASSERT_TRUE(dialog != nullptr);
        ExpectMessageBox(ThisProcess(), EditionText(L"Application measure Data read error",
                                                    L"Chyba p\u0159i \u010Dten\u00ED m\u011B\u0159en\u00FDch dat"),
                         EditionText(L"Data read info", L"\u010Cten\u00ED dat, info"), MB_ICONERROR);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && IsShown(g_mainWindow); }, LIVE_WAIT_MS));
        EXPECT_EQ(1, g_deviceConnected);  // the window does not touch the connection flag
    });
}

}  // namespace

// ---- The shipped program, as scripts/run --simulate shows it: values that move, both devices

TEST(LiveDataShipped, DataShowsMovingValuesAndLeavesNothingOpen)
{
    SimResetDevices();
    int device = SimAddDevice("TKDG", "00.00.30");
    int calibrator = SimAddCalibrator();
    SimStepLiveDemo(device, calibrator, 0);
    ProgramProcess program;
    ASSERT_TRUE(StartShippedProgram(&program));
    std::vector<HWND> children;  // three fields, then START, STOP, CONFIG, DATA
    for (HWND child = GetWindow(program.mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(7u, children.size());
    HWND dataButton = children[6];
    // A separate program under load: give its start and detection time.
    bool identified = WaitUntil([&] { return GetText(children[1]) == L"  TKDG            " && IsEnabled(dataButton); },
                                15000);
    if (!identified) {
        MessageBoxRecord box;
        ADD_FAILURE() << "not identified: " << GetTextUtf8(children[1]);
        if (WaitForMessageBox(program.info.dwProcessId, &box, 100))
            ADD_FAILURE() << "message box: " << testing::PrintToString(box.text);
        CloseShippedProgram(&program);
        return;
    }
    PostClick(dataButton);
    HWND dialog = WaitForDialogWithControl(program.info.dwProcessId, IDC_LIVE_DATA_VALUE_4);
    if (!dialog) {
        ADD_FAILURE() << "DATA opened no live values window";
        CloseShippedProgram(&program);
        return;
    }
    EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_3, L" 640  ppm"));  // 650 - 10 at step 0
    EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_4, L" 4.9900 V"));  // U1: 50000 - 100
    for (int step = 1; step <= 5; step++) SimStepLiveDemo(device, calibrator, step);
    EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_3, L" 645  ppm"));  // 650 - 5
    EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_1, L" 23,0  \u00B0C"));  // 235 - 5
    EXPECT_TRUE(WaitForItem(dialog, IDC_LIVE_DATA_VALUE_4, L" 4.9950 V"));  // 50000 - 50
    PostClick(GetDlgItem(dialog, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && IsShown(program.mainWindow); }));
    EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(calibrator) == 0; }));
    EXPECT_EQ(CloseShippedProgram(&program), 0);
    EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(device) == 0; }));
    SimResetDevices();
}
