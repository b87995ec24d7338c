// Read and write engines: real progress windows and 20 ms timers against a simulated device.
#include <gtest/gtest.h>

#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
#include "tests/dialog_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

namespace {

// Every text the progress control showed, caught as it is set (a poll could miss a 20 ms text),
// and an optional action run on the UI thread right after a chosen text appears.
struct ProgressWatch {
    int controlId = 0;
    std::vector<std::wstring> texts;
    std::wstring trigger;
    std::function<void(HWND dialog)> action;
};
ProgressWatch* s_watch = nullptr;

LRESULT CALLBACK WatchProgressText(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* message = (const CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && s_watch && message->message == WM_SETTEXT &&
        GetDlgCtrlID(message->hwnd) == s_watch->controlId) {
        wchar_t text[64] = L"";
        GetWindowTextW(message->hwnd, text, 64);
        s_watch->texts.push_back(text);
        if (s_watch->action && s_watch->trigger == text) s_watch->action(GetParent(message->hwnd));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs one progress window (read or write) with the watch installed on this (the UI) thread.
INT_PTR RunEngine(bool write, ProgressWatch* watch, const std::function<void(HWND)>& scenario)
{
    watch->controlId = write ? IDC_WRITE_PROGRESS_TEXT : IDC_READ_PROGRESS_TEXT;
    s_watch = watch;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchProgressText, nullptr, GetCurrentThreadId());
    // A run takes up to 2.4 s: the scenario waits for the window to end itself.
    std::function<void(HWND)> drive = [&scenario](HWND dialog) {
        scenario(dialog);
        WaitUntil([dialog] { return !IsWindow(dialog); }, 10000);
    };
    INT_PTR result = write ? RunDialog(IDD_WRITE_PROGRESS, WriteProgressDlgProc, drive)
                           : RunDialog(IDD_READ_PROGRESS, ReadProgressDlgProc, drive);
    UnhookWindowsHookEx(hook);
    s_watch = nullptr;
    return result;
}

// The wire without opens and closes: "S C0 01" for a feature command, "G" a feature read,
// "I" an input report read, "O" an output report written; "!" marks a call made to fail.
std::vector<std::string> Wire(int device)
{
    std::vector<std::string> wire;
    for (const SimEvent& event : SimGetEvents(device)) {
        char text[32];
        switch (event.kind) {
        case SIM_EVENT_SET_FEATURE:
            snprintf(text, sizeof(text), "S %02X %02X", event.bytes[1], event.bytes[2]);
            break;
        case SIM_EVENT_GET_FEATURE: snprintf(text, sizeof(text), "G"); break;
        case SIM_EVENT_INPUT_REPORT: snprintf(text, sizeof(text), "I"); break;
        case SIM_EVENT_OUTPUT_REPORT: snprintf(text, sizeof(text), "O"); break;
        default: continue;
        }
        wire.push_back(std::string(text) + (event.failed ? "!" : ""));
    }
    return wire;
}

std::vector<std::string> ExpectedReadWire()
{
    std::vector<std::string> wire;
    for (int block = 1; block <= REGISTER_BLOCK_COUNT; block++) {
        char text[16];
        snprintf(text, sizeof(text), "S C0 %02X", block);
        wire.push_back(text);
        wire.push_back("I");
    }
    return wire;
}

std::vector<std::string> ExpectedWriteWire()
{
    std::vector<std::string> wire = {"S CE 00", "G"};
    for (int block = 1; block <= REGISTER_BLOCK_COUNT; block++) {
        char text[16];
        snprintf(text, sizeof(text), "S C1 %02X", block);
        wire.push_back(text);
        wire.push_back("O");
    }
    for (const char* step : {"S CD 00", "S CD 01", "S CD 02"}) wire.push_back(step);
    return wire;
}

WORD DevicePattern(int r)
{
    return (WORD)(0xA000 + r * 0x0101);
}

WORD ImagePattern(int r)
{
    return (WORD)(0x5000 + r * 3);
}

// Compares a transcript with the expected one. Feature commands and reads are logged as the
// program makes them; a data report is logged when the simulated device's own thread sees it, which
// on a loaded machine may be after the program's next command. So the feature calls must match in
// order, and the k-th data report must be logged after the command that asked for it.
void ExpectWire(const std::vector<std::string>& expected, const std::vector<std::string>& actual)
{
    auto features = [](const std::vector<std::string>& wire) {
        std::vector<std::string> kept;
        for (const std::string& event : wire)
            if (event[0] == 'S' || event[0] == 'G') kept.push_back(event);
        return kept;
    };
    EXPECT_EQ(features(expected), features(actual));
    std::vector<size_t> expectedData, actualData;  // features seen before each data report
    for (const std::vector<std::string>* wire : {&expected, &actual}) {
        size_t seen = 0;
        for (const std::string& event : *wire) {
            if (event[0] == 'S' || event[0] == 'G') seen++;
            else (wire == &expected ? expectedData : actualData).push_back(seen);
        }
    }
    ASSERT_EQ(expectedData.size(), actualData.size()) << "data reports";
    for (size_t k = 0; k < expectedData.size(); k++)
        EXPECT_GE(actualData[k], expectedData[k]) << "data report " << k << " came before its command";
}

// A connected device as the main window leaves it: listed, found, its handle open in slot 1.
class TransferEngines : public testing::Test {
protected:
    int device = 0;

    void SetUp() override
    {
        SimResetDevices();
        ResetProgramRecords();
        device = SimAddDevice("TDO", "00.00.24");
        {
            SimLock lock;
            SimDevice* d = SimGetDevice(device);
            for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
                d->registers[r] = DevicePattern(r);
                d->eeprom[r] = DevicePattern(r);
            }
        }
        // The new device's path may take a moment to be served.
        // The simulated device serves one new connection at a time: right after an open and close
        // it may need a moment before it accepts the next.
        ASSERT_TRUE(WaitUntil([] {
            ResetHidDeviceList();
            int count = EnumerateHidDevices();
            return count > 0 && FindHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE) == 1;
        }));
        ASSERT_TRUE(WaitUntil([] { return OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE) == 1; }));
        g_deviceConnected = 1;
        g_rwState = TRANSFER_IDLE;
        SimClearEvents(device);
    }

    void FillImage(WORD (*pattern)(int))
    {
        for (int r = 0; r < DEVICE_REGISTER_COUNT; r++) g_deviceRegisters[r] = pattern(r);
    }

    std::vector<SimEvent> Events() { return SimGetEvents(device); }

    // The tick of the n-th feature command with these two bytes.
    DWORD CommandTick(BYTE command, BYTE parameter)
    {
        for (const SimEvent& event : Events())
            if (event.kind == SIM_EVENT_SET_FEATURE && event.bytes[1] == command && event.bytes[2] == parameter)
                return event.tick;
        return 0;
    }
};

}  // namespace

TEST_F(TransferEngines, ReadRunFillsEveryRegisterBlockByBlock)
{
    FillImage(ImagePattern);
    ProgressWatch watch;
    INT_PTR result = RunEngine(false, &watch, [](HWND) {});
    EXPECT_EQ(2, result);

    ExpectWire(ExpectedReadWire(), Wire(device));
    for (int r = 0; r < DEVICE_REGISTER_COUNT; r++) ASSERT_EQ(DevicePattern(r), g_deviceRegisters[r]) << "r" << r;
    std::vector<std::wstring> texts = {L"Read:  0%"};
    for (int percent = 8; percent <= 88; percent += 8) {
        wchar_t text[16];
        swprintf(text, 16, percent < 10 ? L"Read:  %d%%" : L"Read: %d%%", percent);
        texts.push_back(text);
    }
    texts.push_back(L"Read: 99%");
    EXPECT_EQ(texts, watch.texts);
    EXPECT_EQ(1, g_deviceConnected);
    EXPECT_EQ(TRANSFER_IDLE, g_rwState);
    EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_DEVICE]);

    // A command every 100 ms at the least (command, 80 ms, report, 20 ms); a loaded machine
    // only makes ticks later, so only the lower bound is checked (the pacing has its benchmark).
    DWORD first = CommandTick(0xC0, 1), last = CommandTick(0xC0, 12);
    EXPECT_GE(last - first, 1100u - 40u);
}

TEST_F(TransferEngines, WriteRunSendsEveryBlockAndStoresInThreeSteps)
{
    FillImage(ImagePattern);
    ProgressWatch watch;
    bool eepromOldBeforeLastStep = false;
    // The EEPROM must still hold the old image after store step 1 ("Write: 99%").
    watch.trigger = L"Write: 99%";
    watch.action = [&](HWND) {
        SimLock lock;
        eepromOldBeforeLastStep = SimGetDevice(device)->eeprom[0] == DevicePattern(0);
    };
    // Before each tick: how many store commands the device has had.
    std::vector<size_t> storesAtTick;
    int ticks = 0;
    INT_PTR result = RunEngine(true, &watch, [&](HWND dialog) {
        TickRecorder recorder(dialog, [&] { return (size_t)CountFeatureCommands(device, 0xCD); });
        WaitUntil([dialog] { return !IsWindow(dialog); }, 10000);
        storesAtTick = recorder.Probes();
        ticks = recorder.Count();
    });
    EXPECT_EQ(2, result);

    ExpectWire(ExpectedWriteWire(), Wire(device));
    EXPECT_TRUE(eepromOldBeforeLastStep);
    {
        SimLock lock;
        SimDevice* d = SimGetDevice(device);
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) {
            ASSERT_EQ(ImagePattern(r), d->registers[r]) << "r" << r;
            ASSERT_EQ(ImagePattern(r), d->eeprom[r]) << "r" << r;
        }
    }
    std::vector<std::wstring> texts = {L"Write:  8%", L"Write:  16%", L"Write:  24%"};
    for (int percent = 32; percent <= 88; percent += 8) texts.push_back(L"Write: " + std::to_wstring(percent) + L"%");
    for (const wchar_t* text : {L"Write: 97%", L"Write: 98%", L"Write: 99%"}) texts.push_back(text);
    EXPECT_EQ(texts, watch.texts);
    EXPECT_EQ(1, g_deviceConnected);
    EXPECT_EQ(TRANSFER_IDLE, g_rwState);
    EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_DEVICE]);

    // Store step 0 on the tick after the last block, steps 1 and 2 each 17 ticks (340 ms) later,
    // counted in the window's own ticks however late a busy machine delivers them.
    auto tickOfStore = [&](size_t k) {
        for (size_t i = 0; i < storesAtTick.size(); i++)
            if (storesAtTick[i] >= k) return (int)i - 1;
        return ticks - 1;
    };
    std::vector<SimEvent> events = Events();
    DWORD lastOutput = 0;
    for (const SimEvent& event : events)
        if (event.kind == SIM_EVENT_OUTPUT_REPORT) lastOutput = event.tick;
    EXPECT_LT(CommandTick(0xCD, 0) - lastOutput, 300u);  // the next tick, not after a 340 ms delay
    EXPECT_EQ(tickOfStore(2) - tickOfStore(1), 17);
    EXPECT_EQ(tickOfStore(3) - tickOfStore(2), 17);
}

// Blocks 2 and 3 carry 12 registers: the bytes after them keep what the previous block left in
// the shared output buffer.
TEST_F(TransferEngines, WriteBlocksTwoAndThreeCarryTwelveRegisters)
{
    FillImage(ImagePattern);
    ProgressWatch watch;
    RunEngine(true, &watch, [](HWND) {});
    std::vector<std::vector<BYTE>> outputs;
    for (const SimEvent& event : Events())
        if (event.kind == SIM_EVENT_OUTPUT_REPORT) outputs.push_back(event.bytes);
    ASSERT_EQ(12u, outputs.size());
    auto word = [](const std::vector<BYTE>& report, int k) { return (WORD)(report[2 * k + 1] << 8 | report[2 * k + 2]); };
    EXPECT_EQ(ImagePattern(16), word(outputs[1], 0));
    EXPECT_EQ(ImagePattern(27), word(outputs[1], 11));
    EXPECT_EQ(ImagePattern(12), word(outputs[1], 12));  // left over from block 1
    EXPECT_EQ(ImagePattern(28), word(outputs[2], 0));
    EXPECT_EQ(ImagePattern(15), word(outputs[2], 15));  // still left over from block 1
    EXPECT_EQ(ImagePattern(40), word(outputs[3], 0));
    EXPECT_EQ(ImagePattern(55), word(outputs[3], 15));
}

TEST_F(TransferEngines, MissingServiceJumperInformsOnceAndTheWriteCompletes)
{
    {
        SimLock lock;
        SimGetDevice(device)->jumperFitted = false;
    }
    FillImage(ImagePattern);
    ProgressWatch watch;
    int dev = device;
    INT_PTR result = RunEngine(true, &watch, [dev](HWND) {
        MessageBoxRecord box;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
        EXPECT_EQ(EditionText(L"        Service Jumper is not connected.\n\n Data do not be save to EEPROM.",
                              L"        Servisní Jumper není připojen.\n\n Zapsaná data nebudou uložena do EEPROM."),
                  box.text);
        EXPECT_EQ(L"Data write info", box.caption);
        EXPECT_EQ((UINT)MB_ICONINFORMATION, box.icon);
        // The write goes on under the box, to the last store step.
        EXPECT_TRUE(WaitUntil([dev] {
            for (const SimEvent& event : SimGetEvents(dev))
                if (event.kind == SIM_EVENT_SET_FEATURE && event.bytes[1] == 0xCD && event.bytes[2] == 2) return true;
            return false;
        }));
        int boxes = 0;
        for (HWND window : FindTopWindows(ThisProcess(), L"#32770")) boxes += IsMessageBoxWindow(window) ? 1 : 0;
        EXPECT_EQ(1, boxes);
        AnswerMessageBox(box);
    });
    EXPECT_EQ(2, result);
    ExpectWire(ExpectedWriteWire(), Wire(device));
    EXPECT_EQ(1, g_deviceConnected);
    EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
}

struct FailureCase {
    const char* name;
    bool write;
    SimFault fault;
    const wchar_t* english;
    const wchar_t* czech;
};

// Every step that can fail: its message and caption, then connection dropped, slot 1 closed,
// the engine idle and the window closed with 2; no further step runs under the box.
TEST_F(TransferEngines, EveryFailingStepReportsAndDropsTheConnection)
{
    static const FailureCase CASES[] = {
        {"read command 1", false, {SIM_FAULT_SET_FEATURE, 0, -1, 0xC0, 1}, L"Data read pointer error", nullptr},
        {"read command 5", false, {SIM_FAULT_SET_FEATURE, 0, -1, 0xC0, 5}, L"Data read pointer error", nullptr},
        {"read report 1", false, {SIM_FAULT_READ, 0, -1, -1, -1}, L"Data read error", nullptr},
        {"read report 7", false, {SIM_FAULT_READ, 6, -1, -1, -1}, L"Data read error", nullptr},
        {"jumper query", true, {SIM_FAULT_SET_FEATURE, 0, -1, 0xCE, -1}, L"Data write pointer error", nullptr},
        {"jumper reply", true, {SIM_FAULT_GET_FEATURE, 0, -1, -1, -1}, L"Data write pointer error", nullptr},
        {"write command 3", true, {SIM_FAULT_SET_FEATURE, 0, -1, 0xC1, 3}, L"Data write pointer error", nullptr},
        {"write report 1", true, {SIM_FAULT_WRITE, 0, -1, -1, -1}, L"Data write error", nullptr},
        {"write report 12", true, {SIM_FAULT_WRITE, 11, -1, -1, -1}, L"Data write error", nullptr},
        {"store step 0", true, {SIM_FAULT_SET_FEATURE, 0, -1, 0xCD, 0}, L"Error douring write user data to the EEPROM",
         L"Chyba zápisu uživatelských dat do EEPROM"},
        {"store step 1", true, {SIM_FAULT_SET_FEATURE, 0, -1, 0xCD, 1}, L"Error douring write user data to the EEPROM",
         L"Chyba zápisu uživatelských dat do EEPROM"},
        {"store step 2", true, {SIM_FAULT_SET_FEATURE, 0, -1, 0xCD, 2}, L"Error douring write user data to the EEPROM",
         L"Chyba zápisu uživatelských dat do EEPROM"},
    };
    for (const FailureCase& c : CASES) {
        SCOPED_TRACE(c.name);
        SetUp();
        SimAddFault(device, c.fault);
        FillImage(ImagePattern);
        ProgressWatch watch;
        int dev = device;
        // What the device saw, but for the ends of connections: the failing step's handle is closed
        // before the box opens, and the device records that end on its own thread, possibly while
        // the box is up. A step run under the box would show as an open and a command.
        auto stepEvents = [dev] {
            size_t count = 0;
            for (const SimEvent& event : SimGetEvents(dev)) count += event.kind != SIM_EVENT_CLOSE;
            return count;
        };
        size_t eventsUnderBox = 0, eventsLater = 0;
        INT_PTR result = RunEngine(c.write, &watch, [&](HWND) {
            MessageBoxRecord box;
            ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
            EXPECT_EQ(c.czech ? EditionText(c.english, c.czech) : std::wstring(c.english), box.text);
            EXPECT_EQ(L"SET info", box.caption);
            EXPECT_EQ((UINT)MB_ICONERROR, box.icon);
            eventsUnderBox = stepEvents();
            Sleep(100);
            eventsLater = stepEvents();
            AnswerMessageBox(box);
        });
        EXPECT_EQ(2, result);
        EXPECT_EQ(eventsUnderBox, eventsLater);
        EXPECT_EQ(0, g_deviceConnected);
        EXPECT_EQ(TRANSFER_IDLE, g_rwState);
        EXPECT_EQ(INVALID_HANDLE_VALUE, g_hidHandles[HID_SLOT_DEVICE]);
        std::vector<std::string> wire = Wire(device);
        ASSERT_FALSE(wire.empty());
        // No command or feature read after the failing call.
        size_t failed = wire.size();
        for (size_t i = 0; i < wire.size(); i++)
            if (wire[i].back() == '!') failed = i;
        ASSERT_LT(failed, wire.size());
        for (size_t i = failed + 1; i < wire.size(); i++) EXPECT_TRUE(wire[i][0] == 'I' || wire[i][0] == 'O') << wire[i];
        SimClearFaults(device);
    }
}

// Esc in the middle keeps what was read so far and the connection; the engine is left idle, so
// the next run starts cleanly with block 1.
TEST_F(TransferEngines, CancelledReadKeepsThePartialImageAndTheNextRunStartsAfresh)
{
    FillImage(ImagePattern);
    ProgressWatch watch;
    watch.trigger = L"Read: 32%";
    watch.action = [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); };
    INT_PTR result = RunEngine(false, &watch, [](HWND) {});
    EXPECT_EQ(2, result);
    for (int r = 0; r < 56; r++) ASSERT_EQ(DevicePattern(r), g_deviceRegisters[r]) << "r" << r;
    for (int r = 56; r < DEVICE_REGISTER_COUNT; r++) ASSERT_EQ(ImagePattern(r), g_deviceRegisters[r]) << "r" << r;
    EXPECT_EQ(1, g_deviceConnected);
    EXPECT_EQ(TRANSFER_IDLE, g_rwState);

    SimClearEvents(device);
    ProgressWatch again;
    EXPECT_EQ(2, RunEngine(false, &again, [](HWND) {}));
    ExpectWire(ExpectedReadWire(), Wire(device));
    for (int r = 0; r < DEVICE_REGISTER_COUNT; r++) ASSERT_EQ(DevicePattern(r), g_deviceRegisters[r]) << "r" << r;
}
