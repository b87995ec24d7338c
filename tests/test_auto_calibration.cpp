// Automatic calibration on the wire: both windows opened through Tools > Automatic calibration of
// the real main window, real templates and 20 ms ticks, the simulated device and the simulated
// calibration device; the judgement of one reading as a table.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/dialog_routes.h"
#include "app/main_window.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "sim/sim_calibration.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"
#include "tools/ain_auto_calibration.h"
#include "tools/aout_auto_calibration.h"

namespace {

typedef std::vector<BYTE> Bytes;

// Generous: a busy machine stretches the ticks, and a wait ends as soon as its condition holds.
const DWORD STEP_WAIT_MS = 10000;
const std::wstring BLANKS(29, L' ');
const std::wstring HID_DEVICE_INFO = L"HID device info";
const std::wstring SET_INFO = L"SET info";
const std::wstring CAL_INFO = L"CAL info";
const std::wstring JUMPER_TEXT =
    L"        Servisn\u00ED Jumper nen\u00ED p\u0159ipojen.\n\n Zapsan\u00E1 data nebudou ulo\u017Eena do EEPROM.";

Bytes Feature(BYTE command, BYTE b2 = 0, BYTE b3 = 0, BYTE b4 = 0, DWORD value = 0)
{
    return {0x00, command, b2, b3, b4, (BYTE)value, (BYTE)(value >> 8), (BYTE)(value >> 16), (BYTE)(value >> 24)};
}

Bytes WithMagic(BYTE command, BYTE parameter = 0)
{
    return Feature(command, parameter, 0, 0, REPORT_MAGIC);
}

Bytes OutputWrite(BYTE output, BYTE code, WORD word)
{
    return Feature(0xF0, output, code, 0, word);
}

std::wstring Item(HWND dialog, int id)
{
    return GetText(GetDlgItem(dialog, id));
}

bool WaitForItem(HWND dialog, int id, const std::wstring& text, DWORD timeoutMs = STEP_WAIT_MS)
{
    return WaitUntil([&] { return Item(dialog, id) == text; }, timeoutMs);
}

bool ItemEnabled(HWND dialog, int id)
{
    return IsEnabled(GetDlgItem(dialog, id));
}

// The feature commands a device took (sent and not made to fail) that begin with `command`.
std::vector<Bytes> Commands(int simId, BYTE command)
{
    std::vector<Bytes> found;
    for (const Bytes& bytes : TranscriptBytes(simId, SIM_EVENT_SET_FEATURE))
        if (bytes.size() > 1 && bytes[1] == command) found.push_back(bytes);
    return found;
}

// The times of the feature commands with that command byte.
std::vector<DWORD> CommandTicks(int simId, BYTE command)
{
    std::vector<DWORD> ticks;
    for (const SimEvent& event : SimGetEvents(simId))
        if (event.kind == SIM_EVENT_SET_FEATURE && !event.failed && event.bytes[1] == command) ticks.push_back(event.tick);
    return ticks;
}

size_t CountEvents(int simId, SimEventKind kind)
{
    return TranscriptBytes(simId, kind).size();
}

std::wstring Reading(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

// A device and a calibration device (each when asked for) beside the real main window; the
// scenario gets the calibration window that Tools > Automatic calibration opened, or null when
// its opening fails (its message may come before the window shows). Whatever happens, the window
// must end, the main window come back and no handle of either device stay open.
class AutoCalibration : public testing::Test {
protected:
    int device = -1;
    int calibrator = -1;
    std::function<void()> beforeTools;  // runs on the UI thread right before Tools

    void SetUp() override
    {
        SimResetDevices();
        ResetProgramRecords();
        g_aoutCal.state = AOUT_CAL_IDLE;
        g_ainCal.state = AIN_CAL_IDLE;
        device = calibrator = -1;
    }

    void TearDown() override { SimResetDevices(); }

    void AddDevices(const char* model, bool withDevice = true, bool withCalibrator = true)
    {
        if (withDevice) device = SimAddDevice(SimDeviceNameOfModel(model), "01.02.03");
        if (withCalibrator) calibrator = SimAddCalibrator();
    }

    // `startId` tells the window (its Calibration button); `opensClean` false: the scenario gets
    // null and meets the opening's message itself.
    void RunTools(int startId, const std::function<void(HWND)>& scenario, bool opensClean = true,
                  DWORD timeoutMs = 60000)
    {
        RunProgram(
            [&] {
                if (device >= 0) {
                    ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && g_mainState == MAIN_STATE_IDLE; }, STEP_WAIT_MS));
                } else {
                    MessageBoxRecord box;  // the main window finds no device of its own
                    ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, STEP_WAIT_MS));
                    AnswerMessageBox(box);
                }
                if (device >= 0) SimClearEvents(device);
                if (calibrator >= 0) SimClearEvents(calibrator);
                if (beforeTools) RunOnUiThread(beforeTools);
                PostCommand(g_mainWindow, IDM_AUTO_CALIBRATION);
                HWND dialog = nullptr;
                if (opensClean) {
                    dialog = WaitForDialogWithControl(ThisProcess(), startId, STEP_WAIT_MS);
                    ASSERT_TRUE(dialog != nullptr);
                    EXPECT_FALSE(IsShown(g_mainWindow));
                }
                scenario(dialog);
                EXPECT_TRUE(WaitUntil([&] {
                    return (!dialog || !IsWindow(dialog)) && IsShown(g_mainWindow) &&
                           FindTopWindows(ThisProcess(), L"#32770").empty();
                }, STEP_WAIT_MS)) << "the window did not end, or the main window did not come back";
                EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_CALIBRATOR]);
                if (calibrator >= 0 && SimGetDevice(calibrator)->present) {
                    EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(calibrator) == 0; }));
                }
                if (device >= 0 && SimGetDevice(device)->present) {
                    EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(device) <= 0; }));
                }
                EXPECT_EQ(0, g_aoutCal.deviceOpened);
            },
            timeoutMs);
    }

    // The opening is done when Calibration is offered.
    void WaitForOpening(HWND dialog, int startId)
    {
        ASSERT_TRUE(WaitUntil([&] { return ItemEnabled(dialog, startId); }, STEP_WAIT_MS));
    }

    // Waits for the n-th calibration write on the device.
    bool WaitForWrites(size_t count, DWORD timeoutMs = STEP_WAIT_MS)
    {
        return WaitUntil([&] { return Commands(device, 0xF0).size() >= count; }, timeoutMs);
    }
};

// ---- The route

class AutoCalibrationRoute : public AutoCalibration {};

TEST_F(AutoCalibrationRoute, TheIdentifiedTypeChoosesTheWindow)
{
    struct RouteCase {
        const char* what;
        const char* model;  // null: no device; the type is the one set before Tools
        BYTE type;
        int startId;
        const wchar_t* caption;
    };
    const RouteCase CASES[] = {
        {"after start-up (code 0)", nullptr, 0, IDC_AOUT_CAL_START, L"Automaticka Kalibrace"},
        {"code 14 (no model)", nullptr, 14, IDC_AOUT_CAL_START, L"Automaticka Kalibrace"},
        {"G-QKE1", "G-QKE1", 0, IDC_AOUT_CAL_START, L"Automaticka Kalibrace"},
        {"T1cGA", "T1CGA", 0, IDC_AIN_CAL_START, L"Analog Inputs: Auto calibration"},
    };
    for (const RouteCase& c : CASES) {
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        device = calibrator = -1;
        AddDevices(c.model ? c.model : "TDO", c.model != nullptr, true);
        beforeTools = [&] {
            if (!c.model) g_deviceType = c.type;
        };
        RunTools(c.startId, [&](HWND dialog) {
            EXPECT_EQ(c.caption, GetText(dialog));
            WaitForOpening(dialog, c.startId);
            PostClick(GetDlgItem(dialog, IDCANCEL));
        });
    }
}

// Tools right after the connection, while the identification report still waits: it is read
// first, so the identified type chooses the window.
TEST_F(AutoCalibrationRoute, APendingIdentificationIsReadFirst)
{
    AddDevices("T1CGA");
    beforeTools = [] {
        // As the connection leaves it: the identification asked for, its report not read yet.
        g_deviceType = DEVICE_TYPE_TDO;
        PrepareFeatureCommand(CMD_READ_STRINGS, 0, REPORT_MAGIC);
        SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
        g_mainNextState = MAIN_STATE_READ_IDENT;
        g_mainState = MAIN_STATE_DELAY;
        g_mainDelay = 100000;
    };
    RunTools(IDC_AIN_CAL_START, [&](HWND dialog) {
        EXPECT_EQ(DEVICE_TYPE_T1CGA, g_deviceType);
        EXPECT_EQ(MAIN_STATE_IDLE, g_mainState);
        EXPECT_EQ(L"  T1cGA           ", GetText(g_deviceField));
        WaitForOpening(dialog, IDC_AIN_CAL_START);
        PostClick(GetDlgItem(dialog, IDCANCEL));
    });
}

// ---- The judgement of one reading

struct JudgementCase {
    const char* what;
    int point;  // index into the point table
    DWORD reading;
    WORD word;
    DWORD step;
    BYTE remaining;
    BYTE verdict;
    WORD wordAfter;
    DWORD stepAfter;
    BYTE remainingAfter;
};

TEST(AoutJudgement, AcceptsMovesOrFailsByTheWindows)
{
    const JudgementCase CASES[] = {
        {"nominal at the first write", 0, 10000, 2048, 1024, 12, AOUT_VERDICT_ACCEPT, 2048, 1024, 12},
        {"settle window, low edge", 0, 9989, 2048, 1024, 12, AOUT_VERDICT_ACCEPT, 2048, 1024, 12},
        {"settle window, high edge", 0, 10011, 2048, 1024, 12, AOUT_VERDICT_ACCEPT, 2048, 1024, 12},
        {"above: the word goes down", 0, 10012, 2048, 1024, 12, AOUT_VERDICT_NEXT_WORD, 1024, 512, 11},
        {"below: the word goes up", 0, 9988, 2048, 1024, 12, AOUT_VERDICT_NEXT_WORD, 3072, 512, 11},
        {"16-bit arithmetic", 0, 20000, 0, 1, 5, AOUT_VERDICT_NEXT_WORD, 0xFFFF, 0, 4},
        {"last, 10,019 kept, correction dropped", 0, 10019, 400, 1, 1, AOUT_VERDICT_ACCEPT, 400, 0, 1},
        {"last, 9,981", 0, 9981, 400, 1, 1, AOUT_VERDICT_ACCEPT, 400, 0, 1},
        {"last, 10,020", 0, 10020, 400, 1, 1, AOUT_VERDICT_FAIL, 400, 0, 0},
        {"last, 9,980", 0, 9980, 400, 1, 1, AOUT_VERDICT_FAIL, 400, 0, 0},
        {"10 V settle edge", 1, 100011, 4000, 1, 3, AOUT_VERDICT_ACCEPT, 4000, 1, 3},
        {"2 mA settle +22", 2, 20022, 2048, 1024, 12, AOUT_VERDICT_ACCEPT, 2048, 1024, 12},
        {"2 mA settle +23", 2, 20023, 2048, 1024, 12, AOUT_VERDICT_NEXT_WORD, 1024, 512, 11},
        {"2 mA last +39", 2, 20039, 7, 1, 1, AOUT_VERDICT_ACCEPT, 7, 0, 1},
        {"2 mA last -39", 2, 19961, 7, 1, 1, AOUT_VERDICT_ACCEPT, 7, 0, 1},
        {"2 mA last +40", 2, 20040, 7, 1, 1, AOUT_VERDICT_FAIL, 7, 0, 0},
        {"20 mA last -40", 3, 199960, 7, 1, 1, AOUT_VERDICT_FAIL, 7, 0, 0},
    };
    for (const JudgementCase& c : CASES) {
        SCOPED_TRACE(c.what);
        AoutJudgement j = JudgeAoutReading(AOUT_CAL_POINTS[c.point], c.reading, c.word, c.step, c.remaining);
        EXPECT_EQ(c.verdict, j.verdict);
        EXPECT_EQ(c.wordAfter, j.word);
        EXPECT_EQ(c.stepAfter, j.step);
        EXPECT_EQ(c.remainingAfter, j.remaining);
    }
}

// Twelve judgements of a reading that never comes near: the words halve down to 1, and the last
// judgement decides on the word last written by the final window.
TEST(AoutJudgement, TwelveJudgementsEndOnTheWordLastWritten)
{
    for (DWORD reading : {10019u, 10020u}) {
        SCOPED_TRACE(reading);
        WORD word = AOUT_DAC_START;
        DWORD step = AOUT_DAC_FIRST_STEP;
        BYTE remaining = AOUT_APPROXIMATION_STEPS;
        std::vector<WORD> written;
        AoutJudgement j;
        do {
            written.push_back(word);
            j = JudgeAoutReading(AOUT_CAL_POINTS[0], reading, word, step, remaining);
            word = j.word;
            step = j.step;
            remaining = j.remaining;
        } while (j.verdict == AOUT_VERDICT_NEXT_WORD);
        EXPECT_EQ((std::vector<WORD>{2048, 1024, 512, 256, 128, 64, 32, 16, 8, 4, 2, 1}), written);
        EXPECT_EQ(1, j.word);
        EXPECT_EQ(reading == 10019 ? AOUT_VERDICT_ACCEPT : AOUT_VERDICT_FAIL, j.verdict);
    }
}

// ---- Analog outputs: a whole run

class AoutCalibrationRun : public AutoCalibration {};

TEST_F(AoutCalibrationRun, BisectsEveryPointAndStoresTheWords)
{
    AddDevices("TDO");
    // Output 1's voltage points bisect in full (true words 400 and 4000); the others are right at
    // the middle word.
    const BYTE AT_MIDDLE[] = {0x00, 0x02, 0x0C, 0x0E, 0x08, 0x0A};
    for (BYTE code : AT_MIDDLE) SimSetOutputPoint(device, code, (code & 4) ? 25 : 50, 2048);
    SimSetCalibratorValue(calibrator, 0xA2, 12345);
    RunTools(IDC_AOUT_CAL_START, [&](HWND dialog) {
        WaitForOpening(dialog, IDC_AOUT_CAL_START);
        EXPECT_EQ(L"Automaticka Kalibrace", GetText(dialog));
        EXPECT_EQ(L"Dolvan CAL meter", Item(dialog, IDC_AOUT_CAL_CAL_PRODUCT));
        EXPECT_EQ(L"  CAL             ", Item(dialog, IDC_AOUT_CAL_CAL_NAME));
        EXPECT_EQ(L"  01.00.00", Item(dialog, IDC_AOUT_CAL_CAL_FIRMWARE));
        EXPECT_EQ((std::vector<Bytes>{WithMagic(0xCC), WithMagic(0xC0, 1)}),
                  TranscriptBytes(calibrator, SIM_EVENT_SET_FEATURE));
        EXPECT_TRUE(ItemEnabled(dialog, IDC_AOUT_CAL_READING));
        EXPECT_FALSE(ItemEnabled(dialog, IDC_AOUT_CAL_PROMPT));
        EXPECT_FALSE(ItemEnabled(dialog, IDC_AOUT_CAL_REMAINING));
        EXPECT_TRUE(CountEvents(device, SIM_EVENT_SET_FEATURE) == 0);

        TickRecorder ticks(dialog, [&] { return Commands(device, 0xF0).size(); });
        PostClick(GetDlgItem(dialog, IDC_AOUT_CAL_START));
        // U1 is selected at once, and the reading follows it at every tick.
        EXPECT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_READING, L" 1.2345 V"));
        SimSetCalibratorValue(calibrator, 0xA2, 23456);
        EXPECT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_READING, L" 2.3456 V"));
        EXPECT_FALSE(ItemEnabled(dialog, IDC_AOUT_CAL_START));
        EXPECT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_DEV_NAME, L"  TDO             "));
        EXPECT_EQ(L"Dolvan USB device", Item(dialog, IDC_AOUT_CAL_DEV_PRODUCT));
        EXPECT_EQ(L"  01.02.03", Item(dialog, IDC_AOUT_CAL_DEV_FIRMWARE));

        ASSERT_TRUE(WaitForWrites(1));
        EXPECT_EQ(L"Kalibrace Napeti kanal 1 kalibracni bod 1V", Item(dialog, IDC_AOUT_CAL_PROMPT));
        EXPECT_EQ(L"Zbyvajici pocet kroku 12 ", Item(dialog, IDC_AOUT_CAL_REMAINING));
        EXPECT_TRUE(ItemEnabled(dialog, IDC_AOUT_CAL_PROMPT));
        ASSERT_TRUE(WaitForWrites(2));
        EXPECT_EQ(L"Zbyvajici pocet kroku 11 ", Item(dialog, IDC_AOUT_CAL_REMAINING));

        ASSERT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_PROMPT, L"Kalibrace dokoncena", 60000));
        // Output 1's voltage points bisect; every other point takes the middle word.
        std::vector<Bytes> expected;
        for (WORD word : {2048, 1024, 512, 256, 384, 448, 416, 400}) expected.push_back(OutputWrite(1, 0x04, word));
        for (WORD word : {2048, 3072, 3584, 3840, 3968, 4032, 4000}) expected.push_back(OutputWrite(1, 0x06, word));
        const BYTE LATER[][2] = {{1, 0x00}, {1, 0x02}, {2, 0x0C}, {2, 0x0E}, {2, 0x08}, {2, 0x0A}};
        for (const auto& p : LATER) expected.push_back(OutputWrite(p[0], p[1], 2048));
        EXPECT_EQ(expected, Commands(device, 0xF0));
        EXPECT_EQ(Bytes({0x00, 0xF0, 0x01, 0x04, 0x00, 0x00, 0x08, 0x00, 0x00}), expected[0]);
        // The device: identification and jumper with magic, one jumper answer, the writes, then
        // the store without magic.
        std::vector<Bytes> sent = TranscriptBytes(device, SIM_EVENT_SET_FEATURE);
        ASSERT_EQ(expected.size() + 3, sent.size());
        EXPECT_EQ(WithMagic(0xCC), sent[0]);
        EXPECT_EQ(WithMagic(0xCE), sent[1]);
        EXPECT_EQ(Bytes({0x00, 0xCD, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}), sent.back());
        EXPECT_EQ(1u, CountEvents(device, SIM_EVENT_GET_FEATURE));
        // The calibration device: U1 at Calibration, then each output and quantity's first point.
        EXPECT_EQ((std::vector<Bytes>{WithMagic(0xCC), WithMagic(0xC0, 1), Feature(0xA2), Feature(0xA2), Feature(0xA3),
                                      Feature(0xA0), Feature(0xA1), Feature(0xCF)}),
                  TranscriptBytes(calibrator, SIM_EVENT_SET_FEATURE));
        // A judgement every 2 s, counted in ticks (a busy machine stretches them, so their
        // length is only bounded below): the write's tick, the settle ticks and the judgement's,
        // and on to a new point two more, the end of the last one and the start of the next.
        std::vector<DWORD> times = CommandTicks(device, 0xF0);
        for (size_t i = 1; i < times.size(); i++) EXPECT_GE(times[i] - times[i - 1], 1950u) << "write " << i;
        std::vector<size_t> writesBefore = ticks.Probes();
        std::vector<size_t> writeTick;  // the tick in which each write was made
        for (size_t k = 1; k < writesBefore.size(); k++)
            for (size_t w = writesBefore[k - 1]; w < writesBefore[k]; w++) writeTick.push_back(k - 1);
        ASSERT_EQ(expected.size(), writeTick.size());
        for (size_t i = 1; i < writeTick.size(); i++) {
            size_t between = AOUT_SETTLE_TICKS + 2u + (expected[i][3] != expected[i - 1][3] ? 2u : 0u);
            EXPECT_EQ(between, writeTick[i] - writeTick[i - 1]) << "write " << i;
        }
        for (int id : {IDC_AOUT_CAL_REMAINING, IDC_AOUT_CAL_DEV_PRODUCT, IDC_AOUT_CAL_DEV_NAME, IDC_AOUT_CAL_DEV_FIRMWARE})
            EXPECT_EQ(BLANKS, Item(dialog, id));
        EXPECT_TRUE(ItemEnabled(dialog, IDC_AOUT_CAL_START));
        EXPECT_FALSE(ItemEnabled(dialog, IDC_AOUT_CAL_PROMPT));
        EXPECT_EQ(1, SimGetCalibrator(calibrator).beeps);
        SimCalibrationState state = SimGetCalibrationState(device);
        EXPECT_EQ(1, state.storesDone);
        EXPECT_EQ(400, state.storedWords[0x04]);
        EXPECT_EQ(4000, state.storedWords[0x06]);
        for (BYTE code : AT_MIDDLE) EXPECT_EQ(2048, state.storedWords[code]) << (int)code;

        // Idle, the reading still follows the calibration device.
        SimSetOutputFixedReading(device, 0x0A, 199999);
        EXPECT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_READING, L"19.9999 mA"));
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostClick(GetDlgItem(dialog, IDCANCEL));
    }, true, 90000);
}

// ---- Analog outputs: one output only, a missing jumper, odd device texts; and a point missed

class AoutCalibrationCourse : public AutoCalibration {};

TEST_F(AoutCalibrationCourse, TysoStopsAfterFourPointsAndAMissingJumperKeepsTheRecord)
{
    AddDevices("TYSO");
    {
        SimLock lock;
        SimDevice* tyso = SimGetDevice(device);
        tyso->jumperFitted = false;
        tyso->name[4] = 0;  // a name with a zero: shown up to it
    }
    for (BYTE code : {0x04, 0x06, 0x00, 0x02}) SimSetOutputPoint(device, code, (code & 4) ? 25 : 50, 2048);
    SimSetCalibratorValue(calibrator, 0xA2, 1234567);  // over 999,999
    RunTools(IDC_AOUT_CAL_START, [&](HWND dialog) {
        WaitForOpening(dialog, IDC_AOUT_CAL_START);
        PostClick(GetDlgItem(dialog, IDC_AOUT_CAL_START));
        EXPECT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_READING, Reading("123.4567 V")));
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, STEP_WAIT_MS));
        EXPECT_EQ(JUMPER_TEXT, box.text);
        EXPECT_EQ(SET_INFO, box.caption);
        EXPECT_EQ((UINT)MB_ICONINFORMATION, box.icon);
        EXPECT_TRUE(WaitForWrites(1)) << "the run goes on behind the box";
        AnswerMessageBox(box);
        EXPECT_EQ(L"  TYSO", Item(dialog, IDC_AOUT_CAL_DEV_NAME));
        ASSERT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_PROMPT, L"Kalibrace dokoncena", 20000));
        EXPECT_EQ((std::vector<Bytes>{OutputWrite(1, 0x04, 2048), OutputWrite(1, 0x06, 2048),
                                      OutputWrite(1, 0x00, 2048), OutputWrite(1, 0x02, 2048)}),
                  Commands(device, 0xF0));
        EXPECT_EQ(1u, Commands(device, 0xCD).size());
        SimCalibrationState state = SimGetCalibrationState(device);
        EXPECT_EQ(1, state.storesReceived);
        EXPECT_EQ(0, state.storesDone);
        for (int code = 0; code < SIM_OUTPUT_POINT_CODES; code++) EXPECT_FALSE(state.storedWritten[code]);
        EXPECT_EQ(1, SimGetCalibrator(calibrator).beeps);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostClick(GetDlgItem(dialog, IDCANCEL));
    });
}

TEST_F(AoutCalibrationCourse, APointOutOfRangeStopsTheRunAndTheNextStartsAgain)
{
    AddDevices("TDO");
    SimSetOutputFixedReading(device, 0x04, 10020);  // never near: twelve judgements, then refused
    RunTools(IDC_AOUT_CAL_START, [&](HWND dialog) {
        WaitForOpening(dialog, IDC_AOUT_CAL_START);
        PostClick(GetDlgItem(dialog, IDC_AOUT_CAL_START));
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, 40000));
        EXPECT_EQ(L"Calibrated signal is Out of range", box.text);
        EXPECT_EQ(CAL_INFO, box.caption);
        EXPECT_EQ((UINT)MB_ICONERROR, box.icon);
        std::vector<Bytes> expected;
        for (WORD word : {2048, 1024, 512, 256, 128, 64, 32, 16, 8, 4, 2, 1}) expected.push_back(OutputWrite(1, 0x04, word));
        EXPECT_EQ(expected, Commands(device, 0xF0));
        EXPECT_EQ(1, SimGetCalibrator(calibrator).beeps);
        for (int id : {IDC_AOUT_CAL_PROMPT, IDC_AOUT_CAL_REMAINING, IDC_AOUT_CAL_DEV_PRODUCT, IDC_AOUT_CAL_DEV_NAME,
                       IDC_AOUT_CAL_DEV_FIRMWARE})
            EXPECT_EQ(BLANKS, Item(dialog, id));
        EXPECT_TRUE(ItemEnabled(dialog, IDC_AOUT_CAL_START));
        EXPECT_FALSE(ItemEnabled(dialog, IDC_AOUT_CAL_PROMPT));
        AnswerMessageBox(box);
        EXPECT_TRUE(Commands(device, 0xCD).empty());
        EXPECT_EQ(0, SimGetCalibrationState(device).storesReceived);

        // The next run begins again at output 1's 1 V point with the middle word.
        SimSetOutputPoint(device, 0x04, 25, 2048);
        PostClick(GetDlgItem(dialog, IDC_AOUT_CAL_START));
        ASSERT_TRUE(WaitForWrites(13));
        EXPECT_EQ(OutputWrite(1, 0x04, 2048), Commands(device, 0xF0).back());
        EXPECT_EQ(L"Kalibrace Napeti kanal 1 kalibracni bod 1V", Item(dialog, IDC_AOUT_CAL_PROMPT));
        PostClick(GetDlgItem(dialog, IDCANCEL));  // Cancel mid-point
    }, true, 60000);
    EXPECT_EQ(0, SimGetCalibrationState(device).storesReceived);
}

// ---- Analog outputs: every failure, one box each

enum Follow {
    FOLLOW_CLOSES,         // the window asks to be closed
    FOLLOW_IDLE_DISABLED,  // idle, only Cancel left
    FOLLOW_IDLE_ENABLED,   // idle, Calibration offered again
    FOLLOW_GOES_ON,        // the run completes all the same
};

struct AoutFailureCase {
    const char* what;
    const char* model;
    bool withDevice, withCalibrator;
    std::function<void(int device, int calibrator)> armBeforeTools;
    std::function<void(int device, int calibrator)> armBeforeCalibration;  // null: Calibration not pressed
    size_t writesBefore;  // armed after this many calibration writes (with armBeforeCalibration null)
    std::function<void(int device, int calibrator)> armAfterWrites;
    const wchar_t* text;  // null: no message, the test presses Cancel
    const wchar_t* caption;
    UINT icon;
    Follow follow;
    int stores;  // store commands the device took
    bool idle = false;  // armed after the opening, without pressing Calibration
};

SimFault SetFault(BYTE command, int skip = 0)
{
    return {SIM_FAULT_SET_FEATURE, skip, -1, command, -1, 0, 0};
}

SimFault Fault(SimFaultKind kind, int command = -1, int skip = 0)
{
    return {kind, skip, -1, command, -1, 0, 0};
}

// The failure table runs in two suites (the opening and the start, then the run), so each stays
// well inside its time even on a busy machine.
class AoutCalibrationFailures : public AutoCalibration {
protected:
    void RunRows(size_t from, size_t to);
};
class AoutCalibrationRunFailures : public AoutCalibrationFailures {};

void AoutCalibrationFailures::RunRows(size_t from, size_t to)
{
    auto middle = [](int id) {
        for (BYTE code = 0; code < 16; code += 2) SimSetOutputPoint(id, code, (code & 4) ? 25 : 50, 2048);
    };
    const AoutFailureCase CASES[] = {
        {"no device listed", "TDO", false, false, nullptr, nullptr, 0, nullptr, L"No USB HID device is connected",
         HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"calibration device absent", "TDO", true, false, nullptr, nullptr, 0, nullptr,
         L"Calibration device not detected", HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"its identification refused", "TDO", true, true, [](int, int c) { SimAddFault(c, SetFault(0xCC)); }, nullptr, 0,
         nullptr, L"Calibration device ID read error", HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"its readings refused", "TDO", true, true, [](int, int c) { SimAddFault(c, SetFault(0xC0)); }, nullptr, 0,
         nullptr, L"Data read pointer error", SET_INFO.c_str(), MB_ICONERROR, FOLLOW_CLOSES, 0},
        {"its read fails while idle", "TDO", true, true, nullptr,
         [](int, int c) { SimAddFault(c, Fault(SIM_FAULT_READ)); }, 0, nullptr, L"Calibration Data read error",
         L"BOOT info", MB_ICONERROR, FOLLOW_CLOSES, 0, true},
        {"it falls silent", "TDO", true, true, nullptr,
         [](int, int c) { SimLock lock; SimGetDevice(c)->silent = true; SimGetDevice(c)->pendingInput.clear(); }, 0,
         nullptr, L"Calibration Data read error", L"BOOT info", MB_ICONERROR, FOLLOW_CLOSES, 0, true},
        {"U1 refused at Calibration", "TDO", true, true, nullptr,
         [](int, int c) { SimAddFault(c, SetFault(0xA2)); }, 0, nullptr, L"Channel select error", SET_INFO.c_str(),
         MB_ICONERROR, FOLLOW_CLOSES, 0},
        {"calibrated device absent", "TDO", false, true, nullptr, [](int, int) {}, 0, nullptr,
         L"Calibrated device not detected", HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"device identification refused", "TDO", true, true, nullptr,
         [](int d, int) { SimAddFault(d, SetFault(0xCC)); }, 0, nullptr, L"Calibrated device ID read error",
         HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"device identification read fails", "TDO", true, true, nullptr,
         [](int d, int) { SimAddFault(d, Fault(SIM_FAULT_READ)); }, 0, nullptr, L"HID device neodpov\u00EDd\u00E1",
         HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"jumper query refused", "TDO", true, true, nullptr, [](int d, int) { SimAddFault(d, SetFault(0xCE)); }, 0,
         nullptr, L"HID device neodpov\u00EDd\u00E1", HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"jumper answer fails", "TDO", true, true, nullptr,
         [](int d, int) { SimAddFault(d, Fault(SIM_FAULT_GET_FEATURE, 0xCE)); }, 0, nullptr,
         L"HID device neodpov\u00EDd\u00E1", HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, FOLLOW_CLOSES, 0},
        {"I1 refused at its point", "TDO", true, true, [middle](int d, int) { middle(d); },
         [](int, int c) { SimAddFault(c, SetFault(0xA3)); }, 0, nullptr, L"Channel select error", SET_INFO.c_str(),
         MB_ICONERROR, FOLLOW_CLOSES, 0},
        {"calibration write refused", "TDO", true, true, nullptr, [](int d, int) { SimAddFault(d, SetFault(0xF0)); }, 0,
         nullptr, L"Calibration error", CAL_INFO.c_str(), MB_ICONERROR, FOLLOW_IDLE_DISABLED, 0},
        {"device vanishes at the second write", "TDO", true, true, nullptr,
         [](int d, int) { SimAddFault(d, Fault(SIM_FAULT_VANISH, 0xF0, 1)); }, 0, nullptr, L"Calibration error",
         CAL_INFO.c_str(), MB_ICONERROR, FOLLOW_IDLE_DISABLED, 0},
        {"calibration device vanishes mid-point", "TDO", true, true, nullptr, nullptr, 1,
         [](int, int c) { SimSetPresent(c, false); }, L"Calibration Data read error", L"BOOT info", MB_ICONERROR,
         FOLLOW_CLOSES, 0},
        {"Cancel mid-point", "TDO", true, true, nullptr, nullptr, 1, [](int, int) {}, nullptr, nullptr, 0,
         FOLLOW_CLOSES, 0},
        {"store refused", "TYSO", true, true, [middle](int d, int) { middle(d); },
         [](int d, int) { SimAddFault(d, SetFault(0xCD)); }, 0, nullptr, L"Calibration data write to EEPROM error",
         CAL_INFO.c_str(), MB_ICONERROR, FOLLOW_IDLE_DISABLED, 0},
        {"beep refused", "TYSO", true, true, [middle](int d, int) { middle(d); },
         [](int, int c) { SimAddFault(c, SetFault(0xCF)); }, 0, nullptr, L"Speaker beep error", CAL_INFO.c_str(),
         MB_ICONERROR, FOLLOW_GOES_ON, 1},
    };
    for (size_t row = from; row < to && row < sizeof(CASES) / sizeof(CASES[0]); row++) {
        const AoutFailureCase& c = CASES[row];
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        device = calibrator = -1;
        AddDevices(c.model, c.withDevice, c.withCalibrator);
        if (c.armBeforeTools) c.armBeforeTools(device, calibrator);
        bool opensClean = c.armBeforeCalibration || c.armAfterWrites;
        RunTools(IDC_AOUT_CAL_START, [&](HWND dialog) {
            SCOPED_TRACE(c.what);
            if (dialog) {
                WaitForOpening(dialog, IDC_AOUT_CAL_START);
                if (c.armBeforeCalibration) c.armBeforeCalibration(device, calibrator);
                if (!c.idle) PostClick(GetDlgItem(dialog, IDC_AOUT_CAL_START));
                if (c.armAfterWrites) {
                    ASSERT_TRUE(WaitForWrites(c.writesBefore));
                    c.armAfterWrites(device, calibrator);
                }
            }
            if (c.text) {
                DWORD start = GetTickCount();
                MessageBoxRecord box;
                ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, 20000));
                EXPECT_EQ(c.text, box.text);
                EXPECT_EQ(c.caption, box.caption);
                EXPECT_EQ(c.icon, box.icon);
                if (std::string(c.what) == "it falls silent") {
                    // One report timeout, not a wait for ever; wide enough for a loaded machine.
                    EXPECT_LT(GetTickCount() - start, 10000u);
                }
                AnswerMessageBox(box);
            }
            Sleep(200);  // ten ticks: one box per failure
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
            if (!dialog) return;
            if (c.follow == FOLLOW_CLOSES && c.text) {
                EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
                return;
            }
            if (c.follow == FOLLOW_GOES_ON) {
                EXPECT_TRUE(WaitForItem(dialog, IDC_AOUT_CAL_PROMPT, L"Kalibrace dokoncena"));
                EXPECT_TRUE(ItemEnabled(dialog, IDC_AOUT_CAL_START));
            } else if (c.follow != FOLLOW_CLOSES) {
                EXPECT_EQ(c.follow == FOLLOW_IDLE_ENABLED, ItemEnabled(dialog, IDC_AOUT_CAL_START));
                EXPECT_EQ(AOUT_CAL_IDLE, g_aoutCal.state);
            }
            PostClick(GetDlgItem(dialog, IDCANCEL));
        }, opensClean);
        if (device >= 0) {
            EXPECT_EQ(c.stores, SimGetCalibrationState(device).storesDone);
        }
    }
}

TEST_F(AoutCalibrationFailures, AtTheOpeningAndTheStartEachShowsOneBox)
{
    RunRows(0, 12);
}

TEST_F(AoutCalibrationRunFailures, DuringTheRunEachShowsOneBox)
{
    RunRows(12, SIZE_MAX);
}

}  // namespace

namespace {

Bytes InputWrite(BYTE range, BYTE point, DWORD reference)
{
    return {0x00, 0xF0, range, point, (BYTE)reference, (BYTE)(reference >> 8), (BYTE)(reference >> 16),
            (BYTE)(reference >> 24), 0x00};
}

// Every feature exchange with the device had a connection of its own: opened right before it and
// closed right after it (the reads and the listing's scans aside).
bool EachExchangeOnItsOwnConnection(int simId, size_t fromExchange)
{
    std::vector<SimEventKind> kinds;
    for (const SimEvent& event : SimGetEvents(simId))
        if (event.kind != SIM_EVENT_INPUT_REPORT) kinds.push_back(event.kind);
    size_t exchange = 0;
    for (size_t i = 0; i < kinds.size(); i++) {
        if (kinds[i] != SIM_EVENT_SET_FEATURE && kinds[i] != SIM_EVENT_GET_FEATURE) continue;
        if (exchange++ < fromExchange) continue;
        if (i == 0 || i + 1 >= kinds.size() || kinds[i - 1] != SIM_EVENT_OPEN || kinds[i + 1] != SIM_EVENT_CLOSE)
            return false;
    }
    return true;
}

class AinCalibrationRun : public AutoCalibration {};

TEST_F(AinCalibrationRun, TakesTheFourPointsStoresThemAndStartsOverOnRequest)
{
    AddDevices("T1CGA");
    RunTools(IDC_AIN_CAL_START, [&](HWND dialog) {
        WaitForOpening(dialog, IDC_AIN_CAL_START);
        EXPECT_EQ(L"Dolvan CAL meter", Item(dialog, IDC_AIN_CAL_PRODUCT));
        EXPECT_EQ(L"  CAL             ", Item(dialog, IDC_AIN_CAL_NAME));
        EXPECT_EQ(L"  01.00.00", Item(dialog, IDC_AIN_CAL_FIRMWARE));
        EXPECT_EQ(std::vector<Bytes>{WithMagic(0xCC)}, TranscriptBytes(calibrator, SIM_EVENT_SET_FEATURE));
        size_t calibratorExchanges = 1;

        PostClick(GetDlgItem(dialog, IDC_AIN_CAL_START));
        ASSERT_TRUE(WaitForItem(dialog, IDC_AIN_CAL_DEVICE_LINE, L"Device: T1cGA"));
        EXPECT_EQ(L"RTD 100 ohm Lo", Item(dialog, IDC_AIN_CAL_STEP));
        EXPECT_EQ(L"100.00", Item(dialog, IDC_AIN_CAL_REFERENCE));
        EXPECT_FALSE(ItemEnabled(dialog, IDC_AIN_CAL_START));
        EXPECT_TRUE(WaitForItem(dialog, IDC_AIN_CAL_STEP, L"RTD 100 High"));
        EXPECT_EQ(L"200.00", Item(dialog, IDC_AIN_CAL_REFERENCE));
        EXPECT_TRUE(WaitForItem(dialog, IDC_AIN_CAL_STEP, L"Data save", 10000));
        EXPECT_EQ(L"-.-", Item(dialog, IDC_AIN_CAL_REFERENCE));
        ASSERT_TRUE(WaitForItem(dialog, IDC_AIN_CAL_STEP, L"Calibartion finished :-)"));
        EXPECT_EQ(L"Press CANCEL", Item(dialog, IDC_AIN_CAL_REFERENCE));
        ASSERT_TRUE(WaitUntil([&] { return ItemEnabled(dialog, IDC_AIN_CAL_START); }));

        EXPECT_EQ((std::vector<Bytes>{WithMagic(0xCC), WithMagic(0xC8), Feature(0xA0), Feature(0xA1), Feature(0xA2),
                                      Feature(0xA3), Feature(0xAF), Feature(0xA0), Feature(0xCF)}),
                  TranscriptBytes(calibrator, SIM_EVENT_SET_FEATURE));
        EXPECT_EQ((std::vector<Bytes>{Feature(0xCE), InputWrite(0, 0, 2560000), InputWrite(0, 1, 5120000),
                                      InputWrite(1, 2, 2560000), InputWrite(1, 3, 5120000),
                                      {0x00, 0xCD, 0x03, 0x00, 0x00, 0x41, 0x7A, 0x2E, 0x5D}}),
                  TranscriptBytes(device, SIM_EVENT_SET_FEATURE));
        EXPECT_EQ(InputWrite(0, 0, 2560000), Bytes({0x00, 0xF0, 0x00, 0x00, 0x00, 0x10, 0x27, 0x00, 0x00}));
        EXPECT_EQ(5u, CountEvents(device, SIM_EVENT_GET_FEATURE));  // the jumper, then one poll per point
        EXPECT_EQ(1, SimGetCalibrator(calibrator).beeps);
        SimCalibrationState state = SimGetCalibrationState(device);
        EXPECT_EQ(1, state.storesDone);
        const DWORD REFERENCES[4] = {2560000, 5120000, 2560000, 5120000};
        for (int p = 0; p < 4; p++) {
            EXPECT_TRUE(state.storedTaken[p]);
            EXPECT_EQ(p < 2 ? 0 : 1, state.storedRange[p]);
            EXPECT_EQ(REFERENCES[p], state.storedReference[p]);
        }
        // The spacing: select, 50 ticks, the write; 50 ticks, the poll; jumper query and answer 15 apart.
        std::vector<DWORD> selects = CommandTicks(calibrator, 0xA1);
        std::vector<DWORD> writes = CommandTicks(device, 0xF0);
        ASSERT_EQ(1u, selects.size());
        ASSERT_EQ(4u, writes.size());
        EXPECT_GE(writes[1] - selects[0], 1000u);
        EXPECT_LE(writes[1] - selects[0], 2000u);
        EXPECT_GE(selects[0] - writes[0], 1000u);  // the poll after 50 ticks, then the select
        EXPECT_LE(selects[0] - writes[0], 2000u);
        // No slot stays open between exchanges (the listing at Calibration scans each device once).
        EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(device) <= 0 && CountOpenHandles(calibrator) == 0; }));
        EXPECT_TRUE(EachExchangeOnItsOwnConnection(device, 0));
        EXPECT_TRUE(EachExchangeOnItsOwnConnection(calibrator, calibratorExchanges));

        // Again: the run starts over with the bracket and step 0.
        PostClick(GetDlgItem(dialog, IDC_AIN_CAL_START));
        EXPECT_TRUE(WaitForItem(dialog, IDC_AIN_CAL_STEP, L"RTD 100 ohm Lo"));
        EXPECT_TRUE(WaitUntil([&] { return Commands(calibrator, 0xC8).size() == 2; }));
        EXPECT_TRUE(WaitUntil([&] { return Commands(calibrator, 0xA0).size() == 3; }));
        PostClick(GetDlgItem(dialog, IDCANCEL));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(WithMagic(0xC9), TranscriptBytes(calibrator, SIM_EVENT_SET_FEATURE).back());
        EXPECT_EQ(1, g_deviceConnected);
    });
}

// A device that never takes its point is polled about once a second until Cancel; a status other
// than ready, or a ready left from the point before, ends no wait.
TEST_F(AinCalibrationRun, ANeverReadyPointIsPolledUntilCancel)
{
    AddDevices("T1CGA");
    RunTools(IDC_AIN_CAL_START, [&](HWND dialog) {
        WaitForOpening(dialog, IDC_AIN_CAL_START);
        PostClick(GetDlgItem(dialog, IDC_AIN_CAL_START));
        ASSERT_TRUE(WaitForItem(dialog, IDC_AIN_CAL_STEP, L"RTD 100 High"));  // point 0 taken with 0xAA
        SimSetInputReadyAfterPolls(device, 0, 0xAB);
        ASSERT_TRUE(WaitUntil([&] { return CountEvents(device, SIM_EVENT_GET_FEATURE) >= 5; }, 6000));
        EXPECT_EQ(L"RTD 100 High", Item(dialog, IDC_AIN_CAL_STEP));
        EXPECT_EQ(2u, Commands(device, 0xF0).size());
        EXPECT_EQ(2u, Commands(calibrator, 0xA0).size() + Commands(calibrator, 0xA1).size());
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostClick(GetDlgItem(dialog, IDCANCEL));  // mid-poll
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(WithMagic(0xC9), TranscriptBytes(calibrator, SIM_EVENT_SET_FEATURE).back());
        EXPECT_EQ(0, SimGetCalibrationState(device).storesReceived);
    });
}

// ---- How each window ends: its result, and the bracket's end on the calibration device

TEST_F(AinCalibrationRun, CancelAndTheCloseBoxEndTheBracketAndGiveTheirResults)
{
    struct EndCase {
        const char* what;
        bool ain;
        bool withCalibrator;
        bool closeBox;
        bool refuseEnd;
        int boxes;  // "Data read pointer error" boxes
        INT_PTR result;
        size_t ends;  // end-of-run commands the calibration device took
    };
    const EndCase CASES[] = {
        {"Cancel", true, true, false, false, 0, 1, 1},
        {"close box", true, true, true, false, 0, DEVICE_DIALOG_RESULT, 1},
        {"Cancel, end refused", true, true, false, true, 2, DEVICE_DIALOG_RESULT, 0},
        {"close box, end refused", true, true, true, true, 1, DEVICE_DIALOG_RESULT, 0},
        {"no calibration device", true, false, false, false, 0, DEVICE_DIALOG_RESULT, 0},
        {"outputs, Cancel", false, true, false, false, 0, TOOL_DIALOG_RESULT, 0},
        {"outputs, close box", false, true, true, false, 0, TOOL_DIALOG_RESULT, 0},
    };
    for (const EndCase& c : CASES) {
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        calibrator = -1;
        device = SimAddDevice("T1cGA", "01.00.00");
        if (c.withCalibrator) calibrator = SimAddCalibrator();
        if (c.refuseEnd) SimAddFault(calibrator, SetFault(0xC9));
        int startId = c.ain ? IDC_AIN_CAL_START : IDC_AOUT_CAL_START;
        INT_PTR result = RunDialog(c.ain ? IDD_AIN_CAL : IDD_AOUT_CAL,
                                   c.ain ? AinAutoCalibrationDlgProc : AoutAutoCalibrationDlgProc, [&](HWND dialog) {
            if (!c.withCalibrator) {
                ExpectMessageBox(ThisProcess(), L"Calibration device not detected", HID_DEVICE_INFO, MB_ICONINFORMATION);
                return;
            }
            WaitForOpening(dialog, startId);
            if (c.closeBox) PostMessageW(dialog, WM_CLOSE, 0, 0);
            else PostClick(GetDlgItem(dialog, IDCANCEL));
            for (int b = 0; b < c.boxes; b++)
                ExpectMessageBox(ThisProcess(), L"Data read pointer error", SET_INFO, MB_ICONERROR);
        });
        EXPECT_EQ(c.result, result);
        if (calibrator >= 0) {
            EXPECT_EQ(c.ends, Commands(calibrator, 0xC9).size());
        }
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        for (int slot = HID_SLOT_DEVICE; slot <= HID_SLOT_CALIBRATOR; slot++)
            EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[slot]);
    }
}

// ---- Analog input: every failure, one box each

enum AinFollow {
    AIN_CLOSES,         // the window asks to be closed (and ends the bracket)
    AIN_IDLE,           // idle with Calibration disabled; the test presses Cancel
    AIN_GOES_ON,        // the run completes all the same
};

struct AinFailureCase {
    const char* what;
    bool withDevice, withCalibrator;
    std::function<void(int device, int calibrator)> armBeforeTools;
    std::function<void(int device, int calibrator)> armBeforeCalibration;  // null: Calibration not pressed
    const wchar_t* text;
    const wchar_t* caption;
    UINT icon;
    AinFollow follow;
    BYTE connectedAfter;
    const wchar_t* secondText;  // a second failure it leads to (SET info, error), or null
    int storesDone = 0;         // stores that reached the device's EEPROM
};

// In two suites as well: the opening and the start, then the run.
class AinCalibrationFailures : public AutoCalibration {
protected:
    void RunRows(size_t from, size_t to);
};
class AinCalibrationRunFailures : public AinCalibrationFailures {};

void AinCalibrationFailures::RunRows(size_t from, size_t to)
{
    const wchar_t* NOT_RESPONDING = L"HID device neodpov\u00EDd\u00E1";
    const wchar_t* JUMPER_ERROR = L"Read sefety Jumper command error";
    const AinFailureCase CASES[] = {
        {"no device listed", false, false, nullptr, nullptr, L"No USB HID device is connected", HID_DEVICE_INFO.c_str(),
         MB_ICONINFORMATION, AIN_CLOSES, 0, nullptr},
        {"calibration device absent", true, false, nullptr, nullptr, L"Calibration device not detected",
         HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, AIN_CLOSES, 1, nullptr},
        {"its identification refused", true, true, [](int, int c) { SimAddFault(c, SetFault(0xCC)); }, nullptr,
         L"Calibration device ID read error", HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, AIN_CLOSES, 1, nullptr},
        {"its identification read fails", true, true, [](int, int c) { SimAddFault(c, Fault(SIM_FAULT_READ)); }, nullptr,
         NOT_RESPONDING, HID_DEVICE_INFO.c_str(), MB_ICONINFORMATION, AIN_CLOSES, 1, nullptr},
        {"calibrated device not found by its ids", true, true, nullptr,
         [](int, int) { g_deviceProductId = 0x1234; }, L"Calibrated device not detected", HID_DEVICE_INFO.c_str(),
         MB_ICONINFORMATION, AIN_CLOSES, 1, nullptr},
        {"bracket refused", true, true, nullptr, [](int, int c) { SimAddFault(c, SetFault(0xC8)); },
         L"Data read pointer error", SET_INFO.c_str(), MB_ICONERROR, AIN_CLOSES, 1, nullptr},
        {"jumper query refused", true, true, nullptr, [](int d, int) { SimAddFault(d, SetFault(0xCE)); }, JUMPER_ERROR,
         SET_INFO.c_str(), MB_ICONERROR, AIN_CLOSES, 1, nullptr},
        {"jumper answer fails", true, true, nullptr,
         [](int d, int) { SimAddFault(d, Fault(SIM_FAULT_GET_FEATURE, 0xCE)); }, JUMPER_ERROR, SET_INFO.c_str(),
         MB_ICONERROR, AIN_CLOSES, 1, nullptr},
        {"signal refused", true, true, nullptr, [](int, int c) { SimAddFault(c, SetFault(0xA1)); },
         L"Init commnand error", SET_INFO.c_str(), MB_ICONERROR, AIN_CLOSES, 1, nullptr},
        {"point write refused", true, true, nullptr, [](int d, int) { SimAddFault(d, SetFault(0xF0, 1)); },
         L"Calibration error", CAL_INFO.c_str(), MB_ICONERROR, AIN_IDLE, 0, nullptr},
        {"status poll fails", true, true, nullptr,
         [](int d, int) { SimAddFault(d, Fault(SIM_FAULT_GET_FEATURE, 0xF0)); }, L"Device status check Error",
         SET_INFO.c_str(), MB_ICONERROR, AIN_CLOSES, 0, nullptr},
        {"device vanishes mid-poll", true, true, nullptr,
         [](int d, int) { SimAddFault(d, Fault(SIM_FAULT_VANISH_ON_GET, 0xF0, 1)); }, L"Device status check Error",
         SET_INFO.c_str(), MB_ICONERROR, AIN_CLOSES, 0, nullptr},
        {"calibration device vanishes mid-run", true, true, nullptr,
         [](int, int c) { SimAddFault(c, Fault(SIM_FAULT_VANISH, 0xA2)); }, L"Init commnand error", SET_INFO.c_str(),
         MB_ICONERROR, AIN_CLOSES, 1, L"Data read pointer error"},
        {"store refused", true, true, nullptr, [](int d, int) { SimAddFault(d, SetFault(0xCD)); },
         L"Calibration data write to EEPROM error", CAL_INFO.c_str(), MB_ICONERROR, AIN_IDLE, 0, nullptr},
        {"release refused", true, true, nullptr, [](int, int c) { SimAddFault(c, SetFault(0xA0, 1)); },
         L"Deinit command error", SET_INFO.c_str(), MB_ICONERROR, AIN_CLOSES, 1, nullptr, 1},
        {"beep refused", true, true, nullptr, [](int, int c) { SimAddFault(c, SetFault(0xCF)); }, L"Beep command error",
         SET_INFO.c_str(), MB_ICONERROR, AIN_CLOSES, 1, nullptr, 1},
        {"jumper missing", true, true, nullptr, [](int d, int) { SimLock lock; SimGetDevice(d)->jumperFitted = false; },
         JUMPER_TEXT.c_str(), SET_INFO.c_str(), MB_ICONINFORMATION, AIN_GOES_ON, 1, nullptr},
    };
    for (size_t row = from; row < to && row < sizeof(CASES) / sizeof(CASES[0]); row++) {
        const AinFailureCase& c = CASES[row];
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        device = calibrator = -1;
        AddDevices("T1CGA", c.withDevice, c.withCalibrator);
        if (c.armBeforeTools) c.armBeforeTools(device, calibrator);
        beforeTools = [] { g_deviceType = DEVICE_TYPE_T1CGA; };
        bool opensClean = c.armBeforeCalibration != nullptr;
        RunTools(IDC_AIN_CAL_START, [&](HWND dialog) {
            SCOPED_TRACE(c.what);
            if (dialog) {
                WaitForOpening(dialog, IDC_AIN_CAL_START);
                RunOnUiThread([&] { c.armBeforeCalibration(device, calibrator); });
                PostClick(GetDlgItem(dialog, IDC_AIN_CAL_START));
            }
            MessageBoxRecord box;
            ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, 20000));
            EXPECT_EQ(c.text, box.text);
            EXPECT_EQ(c.caption, box.caption);
            EXPECT_EQ(c.icon, box.icon);
            if (c.follow == AIN_IDLE) {
                EXPECT_EQ(AIN_CAL_IDLE, g_ainCal.state);
                EXPECT_FALSE(ItemEnabled(dialog, IDC_AIN_CAL_START));
            }
            if (c.follow == AIN_GOES_ON) {
                EXPECT_TRUE(WaitUntil([&] { return Commands(device, 0xF0).size() >= 1; }, 4000));
            }
            AnswerMessageBox(box);
            if (c.secondText) ExpectMessageBox(ThisProcess(), c.secondText, SET_INFO, MB_ICONERROR);
            Sleep(200);  // ten ticks: one box per failure
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
            if (!dialog) return;
            if (c.follow == AIN_CLOSES) {
                EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
                return;
            }
            if (c.follow == AIN_GOES_ON) {
                EXPECT_TRUE(WaitForItem(dialog, IDC_AIN_CAL_STEP, L"Calibartion finished :-)", 15000));
                EXPECT_TRUE(WaitUntil([&] { return ItemEnabled(dialog, IDC_AIN_CAL_START); }));
            }
            if (std::string(c.what) == "store refused") {
                EXPECT_EQ(L"Calibartion Error :-(", Item(dialog, IDC_AIN_CAL_STEP));
                EXPECT_EQ(L"Press CANCEL", Item(dialog, IDC_AIN_CAL_REFERENCE));
            }
            PostClick(GetDlgItem(dialog, IDCANCEL));
        }, opensClean);
        EXPECT_EQ(c.connectedAfter, g_deviceConnected);
        if (device >= 0) {
            SimCalibrationState state = SimGetCalibrationState(device);
            EXPECT_EQ(c.storesDone, state.storesDone);
            if (c.follow == AIN_GOES_ON) {
                EXPECT_EQ(1, state.storesReceived);
            }
            if (std::string(c.what) == "calibrated device not found by its ids") {
                EXPECT_TRUE(TranscriptBytes(device, SIM_EVENT_SET_FEATURE).empty());
            }
        }
        // The bracket is ended on every close after an opening that found the calibration device.
        if (calibrator >= 0 && SimGetDevice(calibrator)->present && c.secondText == nullptr) {
            EXPECT_EQ(1u, Commands(calibrator, 0xC9).size());
        }
    }
}

TEST_F(AinCalibrationFailures, AtTheOpeningAndTheStartEachShowsOneBox)
{
    RunRows(0, 9);
}

TEST_F(AinCalibrationRunFailures, DuringTheRunEachShowsOneBox)
{
    RunRows(9, SIZE_MAX);
}

}  // namespace
