// The HID transport against simulated devices: enumeration, search, reports, failures.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "link/hid_transport.h"
#include "sim/sim_device.h"
#include "sim/sim_protocol.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

namespace {

class TransportTest : public testing::Test {
protected:
    void SetUp() override
    {
        SimResetDevices();
        ResetProgramRecords();
    }
    void TearDown() override
    {
        ResetProgramRecords();
        SimResetDevices();
    }

    static int AddDevice(const char* name, WORD vendorId, WORD productId, USHORT usagePage = 0xFF00, USHORT usage = 1)
    {
        int id = SimAddDevice(name, "01.00.00");
        SimLock lock;
        SimDevice* device = SimGetDevice(id);
        device->vendorId = vendorId;
        device->productId = productId;
        device->usagePage = usagePage;
        device->usage = usage;
        return id;
    }

    static int CountEvents(int device, SimEventKind kind)
    {
        int count = 0;
        for (const SimEvent& e : SimGetEvents(device))
            if (e.kind == kind) count++;
        return count;
    }
};

const WORD VID = DEFAULT_DEVICE_VENDOR_ID;
const WORD PID = DEFAULT_DEVICE_PRODUCT_ID;

}  // namespace

TEST_F(TransportTest, ListsOnlyTheVendorCollectionUpToTen)
{
    EXPECT_EQ(EnumerateHidDevices(), 0);  // nothing present
    AddDevice("KBD", 0x1111, 0x2222, 0x0001, 6);
    AddDevice("VND2", 0x1111, 0x2222, 0xFF00, 2);
    EXPECT_EQ(EnumerateHidDevices(), 0);
    EXPECT_EQ(g_hidPathCount, 0);
    EXPECT_EQ(g_hidPaths[0], nullptr);

    for (int i = 0; i < 11; i++) AddDevice("TDO", VID, (WORD)(0x100 + i));
    EXPECT_EQ(EnumerateHidDevices(), MAX_HID_DEVICES);
    // The first ten in enumeration order: product ids 0x100..0x109.
    EXPECT_TRUE(FindHidDeviceById(VID, 0x109, g_hidPathCount, HID_SLOT_DEVICE));
    EXPECT_EQ(g_hidSlotListIndex[HID_SLOT_DEVICE], 9);
    EXPECT_FALSE(FindHidDeviceById(VID, 0x10A, g_hidPathCount, HID_SLOT_DEVICE));
    EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);
    EXPECT_EQ(g_hidHandles[HID_SLOT_SCRATCH], INVALID_HANDLE_VALUE);
    // A full list gets nothing added.
    EXPECT_EQ(EnumerateHidDevices(), MAX_HID_DEVICES);
}

TEST_F(TransportTest, EnumeratingTwiceListsTwiceAndTheFirstMatchWins)
{
    int first = AddDevice("TDO", VID, PID);
    int second = AddDevice("TDG", VID, PID);
    EXPECT_EQ(EnumerateHidDevices(), 2);
    EXPECT_EQ(EnumerateHidDevices(), 4);
    // The devices record an open and a close a moment after the program made them: clear the
    // transcripts only once both enumerations' are in.
    ASSERT_TRUE(WaitUntil([&] { return CountEvents(first, SIM_EVENT_CLOSE) == 2 && CountEvents(second, SIM_EVENT_CLOSE) == 2; }));
    SimClearEvents(first);
    SimClearEvents(second);
    ASSERT_TRUE(FindHidDeviceById(VID, PID, 4, HID_SLOT_DEVICE));
    EXPECT_EQ(g_hidSlotListIndex[HID_SLOT_DEVICE], 0);
    ASSERT_TRUE(OpenHidDeviceById(VID, PID, 4, HID_SLOT_DEVICE));
    EXPECT_NE(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);
    EXPECT_TRUE(WaitUntil([&] { return CountEvents(first, SIM_EVENT_OPEN) == 2; }));
    EXPECT_EQ(CountEvents(second, SIM_EVENT_OPEN), 0);
    CloseHidSlot(HID_SLOT_DEVICE);
    CloseHidSlot(HID_SLOT_DEVICE);  // a closed slot: nothing happens
    EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);
}

TEST_F(TransportTest, ReleasingTheListTwiceAndBadIndicesFailCleanly)
{
    AddDevice("TDO", VID, PID);
    ASSERT_EQ(EnumerateHidDevices(), 1);
    FreeHidDeviceList();
    EXPECT_EQ(g_hidPathCount, 0);
    for (int i = 0; i < MAX_HID_DEVICES; i++) EXPECT_EQ(g_hidPaths[i], nullptr);
    FreeHidDeviceList();  // a second release frees nothing twice
    EXPECT_EQ(g_hidPathCount, 0);
    for (int i = 0; i < MAX_HID_DEVICES; i++) EXPECT_EQ(g_hidPaths[i], nullptr);
    EXPECT_EQ(OpenHidPath(0, HID_SLOT_DEVICE), 0);
    EXPECT_EQ(OpenHidPath(-1, HID_SLOT_DEVICE), 0);
    EXPECT_EQ(OpenHidPath(MAX_HID_DEVICES, HID_SLOT_DEVICE), 0);
    EXPECT_EQ(FindHidDeviceById(VID, PID, 5, HID_SLOT_DEVICE), 0);  // a count above the list
    EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);
}

TEST_F(TransportTest, FailedClassListKeepsTheCountAndAnUnopenableEntryEndsTheSearch)
{
    int device = AddDevice("TDO", VID, PID);
    ASSERT_EQ(EnumerateHidDevices(), 1);
    SimFailEnumeration(true);
    EXPECT_EQ(EnumerateHidDevices(), 1);
    SimFailEnumeration(false);
    // The entry can no longer be opened: the search fails at once.
    SimAddFault(device, {SIM_FAULT_OPEN, 0, -1, -1, -1});
    EXPECT_TRUE(WaitUntil([&] { return OpenHidPath(0, HID_SLOT_SCRATCH) == 0; }));
    EXPECT_EQ(FindHidDeviceById(VID, PID, 1, HID_SLOT_DEVICE), 0);
    EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);
}

// A device whose interface-detail size query misbehaves is skipped; the others are listed.
TEST_F(TransportTest, DetailSizeQueryThatDoesNotAskForRoomSkipsTheDevice)
{
    for (BYTE fault : {(BYTE)SIM_DETAIL_SIZE_SUCCEEDS, (BYTE)SIM_DETAIL_SIZE_TOO_SMALL}) {
        SCOPED_TRACE(fault);
        SimResetDevices();
        ResetHidDeviceList();
        int odd = AddDevice("TDO 1", VID, PID);
        AddDevice("TDO 2", VID, PID + 1);
        {
            SimLock lock;
            SimGetDevice(odd)->detailSizeFault = fault;
        }
        g_hidLastFailure.operation = nullptr;
        EXPECT_EQ(EnumerateHidDevices(), 1);
        EXPECT_STREQ(g_hidLastFailure.operation, "SetupDiGetDeviceInterfaceDetailA");
        EXPECT_EQ(FindHidDeviceById(VID, PID, 1, HID_SLOT_DEVICE), 0);
        EXPECT_GE(FindHidDeviceById(VID, PID + 1, 1, HID_SLOT_DEVICE), 0);
        CloseHidSlot(HID_SLOT_DEVICE);
    }
}

TEST_F(TransportTest, ProductStringIsCutToNAndKeepsLowBytes)
{
    int device = AddDevice("TDO", VID, PID);
    {
        SimLock lock;
        SimGetDevice(device)->productString = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30 characters
    }
    ASSERT_EQ(EnumerateHidDevices(), 1);
    ASSERT_TRUE(OpenHidDeviceById(VID, PID, 1, HID_SLOT_DEVICE));
    char text[PRODUCT_STRING_MAX_CHARS + 1];
    memset(text, 'x', sizeof(text));
    GetHidProductString(text, 24, HID_SLOT_DEVICE);
    EXPECT_STREQ(text, "ABCDEFGHIJKLMNOPQRSTUVWX");
    memset(text, 'x', sizeof(text));
    GetHidProductString(text, 200, HID_SLOT_DEVICE);
    EXPECT_STREQ(text, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    // A string longer than the cap: 200 is taken as the cap, and nothing past the buffer is touched.
    {
        SimLock lock;
        SimGetDevice(device)->productString = std::wstring(PRODUCT_STRING_MAX_CHARS + 40, L'L');
    }
    struct {
        char text[PRODUCT_STRING_MAX_CHARS + 1];
        char canary[64];
    } guarded;
    memset(&guarded, 'x', sizeof(guarded));
    GetHidProductString(guarded.text, 200, HID_SLOT_DEVICE);
    EXPECT_EQ(std::string(guarded.text), std::string(PRODUCT_STRING_MAX_CHARS - 1, 'L'));  // and the platform's terminator
    EXPECT_EQ(std::string(guarded.canary, sizeof(guarded.canary)), std::string(sizeof(guarded.canary), 'x'));
    {
        SimLock lock;
        SimGetDevice(device)->productString = L"\u0141\u00E9A";  // Ł (0x141), é (0xE9), A
    }
    GetHidProductString(text, 24, HID_SLOT_DEVICE);
    EXPECT_STREQ(text, "\x41\xE9\x41");
    // A failed fetch leaves the destination as it was.
    SimSetPresent(device, false);
    strcpy(text, "kept");
    GetHidProductString(text, 24, HID_SLOT_DEVICE);
    EXPECT_STREQ(text, "kept");
}

TEST_F(TransportTest, EverySenderSetsBytesOneToEight)
{
    PrepareFeatureCommand(CMD_READ_STRINGS, 0, REPORT_MAGIC);
    EXPECT_EQ(std::vector<BYTE>(g_featureOut, g_featureOut + 9),
              (std::vector<BYTE>{0, 0xCC, 0, 0, 0, 0x41, 0x7A, 0x2E, 0x5D}));
    PrepareFeatureCommand(CMD_ACTIVATE, 0, 0);
    EXPECT_EQ(std::vector<BYTE>(g_featureOut, g_featureOut + 9), (std::vector<BYTE>{0, 0xCF, 0, 0, 0, 0, 0, 0, 0}));
    PrepareFeatureCommandEx(CMD_WRITE_CALIBRATION, 0x12, 0x34, 0x56, 0);
    EXPECT_EQ(std::vector<BYTE>(g_featureOut, g_featureOut + 9),
              (std::vector<BYTE>{0, 0xF0, 0x12, 0x34, 0x56, 0, 0, 0, 0}));
}

TEST_F(TransportTest, ReportsCrossTheWireAndFailuresAreBounded)
{
    int device = AddDevice("TDO 1", VID, PID);
    ASSERT_EQ(EnumerateHidDevices(), 1);
    ASSERT_TRUE(FindHidDeviceById(VID, PID, 1, HID_SLOT_DEVICE));
    ASSERT_TRUE(OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE));

    PrepareFeatureCommand(CMD_READ_STRINGS, 0, REPORT_MAGIC);
    EXPECT_EQ(SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE), 1);
    DWORD count = 0;
    EXPECT_EQ(ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &count, HID_SLOT_DEVICE), 1);
    EXPECT_EQ(count, 64u);
    EXPECT_EQ(std::string((char*)g_inputReport + 1, 16), "TDO 1           ");
    EXPECT_EQ(std::string((char*)g_inputReport + 17, 8), "01.00.00");

    // A silent device: the read gives up after about a second.
    DWORD start = GetTickCount();
    EXPECT_EQ(ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &count, HID_SLOT_DEVICE), 0);
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 900u);
    EXPECT_LE(waited, 6000u);  // bounded: only a read that never gives up (or a stalled machine) exceeds this

    // A write the device takes, then one it refuses.
    memset(g_outputReport, 0x5A, DATA_REPORT_SIZE);
    EXPECT_EQ(WriteHidReport(g_outputReport, DATA_REPORT_SIZE, &count, HID_SLOT_DEVICE), 1);
    SimAddFault(device, {SIM_FAULT_WRITE, 0, 1, -1, -1});
    EXPECT_EQ(WriteHidReport(g_outputReport, DATA_REPORT_SIZE, &count, HID_SLOT_DEVICE), 0);

    // Feature calls made to fail, and a vanished device.
    ASSERT_TRUE(OpenHidPath(0, HID_SLOT_DEVICE));
    SimAddFault(device, {SIM_FAULT_SET_FEATURE, 0, 1, 0xCC, -1});
    EXPECT_EQ(SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE), 0);
    SimAddFault(device, {SIM_FAULT_GET_FEATURE, 0, 1, -1, -1});
    EXPECT_EQ(GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE), 0);
    EXPECT_EQ(GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE), 1);
    SimSetPresent(device, false);
    // Unplugging ends the open handle's connection, and the device's record shows that end.
    EXPECT_EQ(CountOpenHandles(device), 0);
    EXPECT_EQ(SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE), 0);
    start = GetTickCount();
    EXPECT_EQ(ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &count, HID_SLOT_DEVICE), 0);
    EXPECT_LE(GetTickCount() - start, 6000u);  // bounded, as above
    EXPECT_EQ(OpenHidPath(0, HID_SLOT_DEVICE), 0);
    EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);

    // The wire saw the output report whole.
    bool sawOutput = false;
    for (const SimEvent& e : SimGetEvents(device))
        if (e.kind == SIM_EVENT_OUTPUT_REPORT && !e.failed) sawOutput = e.bytes == std::vector<BYTE>(64, 0x5A);
    EXPECT_TRUE(sawOutput);
}
