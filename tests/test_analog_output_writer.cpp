// The analog-output writer on the wire: opened by DATA from the main window for a simulated GQU2,
// real template and 20 ms tick, with and without the simulated calibration device.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"
#include "tools/analog_output_writer.h"

namespace {

const DWORD AO_WAIT_MS = 3000;
const std::vector<BYTE> WRITE_POINTER_COMMAND = {0x00, 0xC1, 0x01, 0x00, 0x00, 0x41, 0x7A, 0x2E, 0x5D};
const int CHANNEL_BUTTON_IDS[4] = {IDC_AO_WRITE_U1, IDC_AO_WRITE_U2, IDC_AO_WRITE_I1, IDC_AO_WRITE_I2};

std::vector<BYTE> ReadBlockCommand(BYTE block)
{
    return {0x00, 0xC0, block, 0x00, 0x00, 0x41, 0x7A, 0x2E, 0x5D};
}

std::wstring Item(HWND dialog, int id)
{
    return GetText(GetDlgItem(dialog, id));
}

bool WaitForItem(HWND dialog, int id, const std::wstring& text, DWORD timeoutMs = AO_WAIT_MS)
{
    return WaitUntil([&] { return Item(dialog, id) == text; }, timeoutMs);
}


bool CalibratorRowShown(HWND dialog, bool shown)
{
    const int ids[] = {IDC_AO_WRITE_CAL_VALUE, IDC_AO_WRITE_CAL_LABEL, IDC_AO_WRITE_U1, IDC_AO_WRITE_U2,
                       IDC_AO_WRITE_I1, IDC_AO_WRITE_I2};
    for (int id : ids)
        if (IsShown(GetDlgItem(dialog, id)) != shown) return false;
    return true;
}

std::wstring Caption()
{
    return EditionText(L"Data write info", L"Z\u00E1pis dat, info");
}

// One press of a write button: what is typed first, and bytes 1-4 of the report that must follow.
struct WriteCase {
    const char* what;
    int channel;              // 0 or 1
    const wchar_t* typed;
    bool rangeMessage;        // the typed value lies outside -32768..32767
    const wchar_t* fieldAfter;
    BYTE bytes[4];
};

// A GQU2 with known ranges (and a calibration device when asked), run from the main window: the
// scenario gets the writer window once DATA opened it. Every way out must end the window, bring
// the main window back and leave no handle of either device open.
class AnalogOutputWriter : public testing::Test {
protected:
    int device = -1;
    int calibrator = -1;

    void SetUp() override
    {
        SimResetDevices();
        ResetProgramRecords();
        g_aoWriter.state = AO_WRITER_IDLE;
    }

    void AddDevices(bool withCalibrator)
    {
        device = SimAddDevice("GQU2", "00.00.30");
        const WORD registers[][2] = {{52, 0},   {53, 10000},          {54, (WORD)-500}, {55, 500}, {68, 1}, {69, 7},
                                     {92, 0},   {93, 100},            {94, (WORD)-5},   {95, 200}};
        for (const auto& r : registers) SimSetDeviceRegister(device, r[0], r[1]);
        if (withCalibrator) {
            calibrator = SimAddCalibrator(SIM_CALIBRATOR_PRODUCT_STRING);
            SimSetCalibratorValue(calibrator, 0xA2, 55555);   // U1
            SimSetCalibratorValue(calibrator, 0xA1, 123456);  // I2
        }
    }

    // The scenario gets the window, or null with `beforeData`, which runs once the device is connected and identified, right before DATA.
    void RunWriter(const std::function<void(HWND)>& scenario, const std::function<void()>& beforeData = nullptr)
    {
        RunProgram([&] {
            ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && GetText(g_deviceField) == L"  GQU2            "; },
                                  AO_WAIT_MS));
            EXPECT_EQ(EditionText(L"WRITE", L"ZAPSAT"), GetText(g_dataButton));
            // The device records the identification report a moment after the main window has
            // it: clear the transcript only once that record is in, so it holds nothing of the
            // detection.
            ASSERT_TRUE(WaitUntil([&] { return TranscriptBytes(device, SIM_EVENT_INPUT_REPORT).size() == 1; },
                                  AO_WAIT_MS));
            SimClearEvents(device);
            HWND dialog = nullptr;
            if (beforeData) {
                // A failure at the first step, which runs while the window opens: its message may
                // come before the window shows.
                beforeData();
                PostClick(g_dataButton);
            } else {
                PostClick(g_dataButton);
                dialog = WaitForDialogWithControl(ThisProcess(), IDC_AO_WRITE_SEND_1);
                ASSERT_TRUE(dialog != nullptr);
                EXPECT_FALSE(IsShown(g_mainWindow));
            }
            scenario(dialog);
            EXPECT_TRUE(WaitUntil([&] { return (!dialog || !IsWindow(dialog)) && IsShown(g_mainWindow); }, AO_WAIT_MS));
            EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_CALIBRATOR]);
            // Counted since DATA: a handle the main window held before may have been closed too.
            EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(device) <= 0; })) << "device handle left open";
            EXPECT_EQ(AO_WRITER_IDLE, g_aoWriter.state);
            if (calibrator >= 0) {
                EXPECT_TRUE(WaitUntil([&] { return CountOpenHandles(calibrator) == 0; }));
            }
        });
    }

    // Types, presses the button on the UI thread (so no tick comes between), answers the range
    // message when one is due, and checks the report that went out.
    void Write(HWND dialog, const WriteCase& c)
    {
        SCOPED_TRACE(c.what);
        const int valueIds[2] = {IDC_AO_WRITE_VALUE_0, IDC_AO_WRITE_VALUE_1};
        const int buttonIds[2] = {IDC_AO_WRITE_SEND_0, IDC_AO_WRITE_SEND_1};
        size_t before = TranscriptBytes(device, SIM_EVENT_OUTPUT_REPORT).size();
        RunOnUiThread([&] {
            SetText(GetDlgItem(dialog, valueIds[c.channel]), c.typed);
            PostClick(GetDlgItem(dialog, buttonIds[c.channel]));
        });
        if (c.rangeMessage)
            ExpectMessageBox(ThisProcess(), L"Hodnota mimo rozsah", L"Nastaven\u00E1 hodnota", MB_ICONINFORMATION);
        ASSERT_TRUE(WaitUntil([&] { return TranscriptBytes(device, SIM_EVENT_OUTPUT_REPORT).size() == before + 1; }, AO_WAIT_MS));
        std::vector<BYTE> report = TranscriptBytes(device, SIM_EVENT_OUTPUT_REPORT).back();
        ASSERT_EQ(64u, report.size());
        std::vector<BYTE> expected = {0x00, c.bytes[0], c.bytes[1], c.bytes[2], c.bytes[3]};
        EXPECT_EQ(expected, std::vector<BYTE>(report.begin(), report.begin() + 5));
        EXPECT_EQ(c.fieldAfter, Item(dialog, valueIds[c.channel]));
    }
};

// ---- The main path: pointer once, ranges shown, values out, the calibration device's reading

TEST_F(AnalogOutputWriter, WritesTypedValuesAndShowsRangesAndTheCalibratorReading)
{
    AddDevices(true);
    const WriteCase WRITES[] = {
        {"channel 0 typed", 0, L"1234", false, L"1234", {0x04, 0xD2, 0x00, 0x00}},
        {"channel 1 -1 repeats channel 0", 1, L"-1", false, L"-1", {0x04, 0xD2, 0xFF, 0xFF}},
        // Sent before any tick could clamp it: clamped all the same, never cut to 16 bits.
        {"above the range", 0, L"40000", true, L"32767", {0x7F, 0xFF, 0xFF, 0xFF}},
        {"below the range", 1, L"-40000", true, L"-32768", {0x7F, 0xFF, 0x80, 0x00}},
        {"no number counts as 0", 0, L"abc", false, L"abc", {0x00, 0x00, 0x80, 0x00}},
    };
    RunWriter([&](HWND dialog) {
        EXPECT_EQ(L"0", Item(dialog, IDC_AO_WRITE_VALUE_0));
        EXPECT_EQ(L"0", Item(dialog, IDC_AO_WRITE_VALUE_1));
        // The English output-range text begins with "Input range:" too.
        EXPECT_TRUE(WaitForItem(dialog, IDC_AO_WRITE_OUTPUT_RANGE_1,
                                EditionText(L"Input range: -0,5 - 20,0", L"V\u00FDtupn\u00ED rozsah: -0,5 - 20,0")));
        EXPECT_EQ(EditionText(L"Input range: 0 - 10000", L"Vstupn\u00ED rozsah: 0 - 10000"),
                  Item(dialog, IDC_AO_WRITE_INPUT_RANGE_0));
        EXPECT_EQ(EditionText(L"Input range: -500 - 500", L"Vstupn\u00ED rozsah: -500 - 500"),
                  Item(dialog, IDC_AO_WRITE_INPUT_RANGE_1));
        EXPECT_EQ(EditionText(L"Input range: 0,0 - 10,0", L"V\u00FDtupn\u00ED rozsah: 0,0 - 10,0"),
                  Item(dialog, IDC_AO_WRITE_OUTPUT_RANGE_0));
        EXPECT_EQ(L"V", Item(dialog, IDC_AO_WRITE_UNIT_0));   // r68 = 1
        EXPECT_EQ(L"mA", Item(dialog, IDC_AO_WRITE_UNIT_1));  // r69 = 7
        // Pointer to block 1 once, then blocks 4, 5 and 7, each asked for once.
        std::vector<std::vector<BYTE>> expected = {WRITE_POINTER_COMMAND, ReadBlockCommand(4), ReadBlockCommand(5),
                                                   ReadBlockCommand(7)};
        EXPECT_EQ(expected, TranscriptBytes(device, SIM_EVENT_SET_FEATURE));

        EXPECT_TRUE(CalibratorRowShown(dialog, true));
        EXPECT_EQ(EditionText(L"Analog output U1", L"Analogov\u00FD v\u00FDstup U1"), Item(dialog, IDC_AO_WRITE_CAL_LABEL));
        EXPECT_TRUE(WaitForItem(dialog, IDC_AO_WRITE_CAL_VALUE, L" 5.5555 V"));
        PostClick(GetDlgItem(dialog, IDC_AO_WRITE_I2));
        EXPECT_TRUE(WaitForItem(dialog, IDC_AO_WRITE_CAL_VALUE, L"12.3456 mA"));
        EXPECT_EQ(EditionText(L"Analog output I2", L"Analogov\u00FD v\u00FDstup I2"), Item(dialog, IDC_AO_WRITE_CAL_LABEL));

        for (const WriteCase& c : WRITES) Write(dialog, c);
        EXPECT_EQ(expected, TranscriptBytes(device, SIM_EVENT_SET_FEATURE));  // the pointer is not set again
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostMessageW(dialog, WM_CLOSE, 0, 0);  // the close box
    });
}

// ---- Without a calibration device, or when it fails: the row stays hidden, the writes go on

TEST_F(AnalogOutputWriter, CalibratorAbsentOrFailingLeavesTheRowHiddenAndWritesWorking)
{
    struct CalibratorCase {
        const char* what;
        bool present;
        std::function<void(int calibrator)> lose;  // after the first reading was shown
        int button;                                // pressed right after the loss, or 0
        const wchar_t* textEn;
        const wchar_t* textCz;
    };
    const CalibratorCase CASES[] = {
        {"absent", false, nullptr, 0, nullptr, nullptr},
        {"reading fails", true, [](int id) { SimAddFault(id, {SIM_FAULT_READ, 0, -1, -1, -1}); }, 0,
         L"Analog Data read error", L"CHyba p\u0159i \u010Dten\u00ED Analogov\u00FDch dat"},
        {"unplugged, then a button", true, [](int id) { SimSetPresent(id, false); }, IDC_AO_WRITE_U2,
         L"Channel select error", L"Chyba p\u0159i v\u00FDb\u011Bru kan\u00E1lu"},
    };
    for (const CalibratorCase& c : CASES) {
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        calibrator = -1;
        AddDevices(c.present);
        RunWriter([&](HWND dialog) {
            SCOPED_TRACE(c.what);
            // Block 7 is the last one read: once its range shows, the reads are done.
            EXPECT_TRUE(WaitForItem(dialog, IDC_AO_WRITE_OUTPUT_RANGE_1,
                                    EditionText(L"Input range: -0,5 - 20,0", L"V\u00FDtupn\u00ED rozsah: -0,5 - 20,0")));
            EXPECT_EQ(L"mA", Item(dialog, IDC_AO_WRITE_UNIT_1));
            if (c.lose) {
                EXPECT_TRUE(WaitForItem(dialog, IDC_AO_WRITE_CAL_VALUE, L" 5.5555 V"));
                RunOnUiThread([&] {
                    c.lose(calibrator);
                    if (c.button) PostClick(GetDlgItem(dialog, c.button));
                });
                ExpectMessageBox(ThisProcess(), EditionText(c.textEn, c.textCz), Caption(), MB_ICONERROR);
            }
            Sleep(150);  // a few ticks: nothing more is read, nothing more is said
            EXPECT_TRUE(CalibratorRowShown(dialog, false));
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
            EXPECT_EQ(AO_WRITER_IDLE, g_aoWriter.state);
            EXPECT_EQ(4u, TranscriptBytes(device, SIM_EVENT_SET_FEATURE).size());
            EXPECT_EQ(3u, TranscriptBytes(device, SIM_EVENT_INPUT_REPORT).size());  // blocks 4, 5, 7
            Write(dialog, {"after", 1, L"258", false, L"258", {0x00, 0x00, 0x01, 0x02}});
            PostClick(GetDlgItem(dialog, IDCANCEL));
        });
    }
}

// ---- A failing or vanishing device: the message, the window ends, the main window returns

TEST_F(AnalogOutputWriter, DeviceFailuresEndTheWindow)
{
    const wchar_t* pointerEn = L"Data write pointer error";
    const wchar_t* pointerCz = L"Chyba p\u0159i nastavov\u00E1n\u00ED adresy";
    const wchar_t* readEn = L"Data read error";
    const wchar_t* readCz = L"Chyba p\u0159i \u010Dten\u00ED dat";
    const wchar_t* writeEn = L"Data write error";
    const wchar_t* writeCz = L"Chyba p\u0159i z\u00E1pisu dat";
    struct FailureCase {
        const char* what;
        std::function<void(int device)> failBefore;  // armed right before DATA
        std::function<void(int device)> failLater;   // armed once the ranges show, then a write
        const wchar_t* textEn;
        const wchar_t* textCz;
        BYTE connectedAfter;
    };
    const FailureCase CASES[] = {
        {"pointer refused", [](int id) { SimAddFault(id, {SIM_FAULT_SET_FEATURE, 0, -1, 0xC1, 1}); }, nullptr,
         pointerEn, pointerCz, 1},
        {"block 4 refused", [](int id) { SimAddFault(id, {SIM_FAULT_SET_FEATURE, 0, -1, 0xC0, 4}); }, nullptr,
         pointerEn, pointerCz, 0},
        {"block 7 refused", [](int id) { SimAddFault(id, {SIM_FAULT_SET_FEATURE, 0, -1, 0xC0, 7}); }, nullptr, readEn,
         readCz, 0},
        {"read fails", [](int id) { SimAddFault(id, {SIM_FAULT_READ, 0, -1, -1, -1}); }, nullptr, readEn, readCz, 0},
        {"silent", [](int id) { SimLock lock; SimGetDevice(id)->silent = true; }, nullptr, readEn, readCz, 0},
        {"write fails", nullptr, [](int id) { SimAddFault(id, {SIM_FAULT_WRITE, 0, -1, -1, -1}); }, writeEn, writeCz, 0},
        {"unplugged", nullptr, [](int id) { SimSetPresent(id, false); }, writeEn, writeCz, 0},
    };
    for (const FailureCase& c : CASES) {
        SCOPED_TRACE(c.what);
        SimResetDevices();
        ResetProgramRecords();
        calibrator = -1;
        AddDevices(true);
        RunWriter(
            [&](HWND dialog) {
                SCOPED_TRACE(c.what);
                if (c.failLater) {
                    // Block 7 read: the calibration device's readings have begun.
                    EXPECT_TRUE(WaitForItem(dialog, IDC_AO_WRITE_CAL_VALUE, L" 5.5555 V"));
                    c.failLater(device);
                    PostClick(GetDlgItem(dialog, IDC_AO_WRITE_SEND_0));
                }
                DWORD start = GetTickCount();
                ExpectMessageBox(ThisProcess(), EditionText(c.textEn, c.textCz), Caption(), MB_ICONERROR);
                // A silent device costs bounded reads, not a hang; loose enough for a loaded machine.
                EXPECT_LT(GetTickCount() - start, 6000u);
                EXPECT_TRUE(WaitUntil([&] { return (!dialog || !IsWindow(dialog)) && IsShown(g_mainWindow); }, AO_WAIT_MS));
                EXPECT_EQ(c.connectedAfter, g_deviceConnected);
            },
            c.failBefore ? std::function<void()>([&] { c.failBefore(device); }) : std::function<void()>());
    }
}

}  // namespace
