// The demo device's factory settings: for every model the program has a dialog for, a simulated
// device of that model starts with what the dialog's Default shows, so CONFIG on it shows the
// defaults after its read and no range message.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/main_window.h"
#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

int CountBlockReads(int deviceId)
{
    int count = 0;
    for (const SimEvent& event : SimGetEvents(deviceId))
        if (event.kind == SIM_EVENT_SET_FEATURE && !event.failed && event.bytes.size() >= 2 &&
            event.bytes[1] == CMD_READ_BLOCK)
            count++;
    return count;
}

// The dialog's child whose text is `text`, or null.
HWND FindChildByText(HWND dialog, const std::wstring& text)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetText(child) == text) return child;
    return nullptr;
}

// The texts of every edit field and combo box the user sees, in z-order, as "id=text" lines; a
// text keeps 16 characters, as the device's text string does. A hidden field may keep a value of
// the dialog's own that Default sets and opening does not (the calibration value of KRG).
std::string FieldTexts(HWND dialog)
{
    std::string all;
    wchar_t className[32];
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameW(child, className, 32);
        if (_wcsicmp(className, L"Edit") != 0 && _wcsicmp(className, L"ComboBox") != 0) continue;
        if (!IsWindowVisible(child)) continue;
        all += std::to_string(GetDlgCtrlID(child)) + "=" + GetTextUtf8(child).substr(0, 16) + "\n";
    }
    return all;
}

// Whether a read progress window is up; a model dialog may use the same control id for a label.
bool ReadProgressShown(HWND modelDialog)
{
    for (HWND window : FindTopWindows(ThisProcess(), L"#32770"))
        if (window != modelDialog && GetDlgItem(window, IDC_READ_PROGRESS_TEXT)) return true;
    return false;
}

// The analog-output transmitters and room controllers have no network port: their dialogs leave
// registers 48 and 49 alone.
bool HasNetworkPort(const char* model)
{
    static const char* const WITHOUT_PORT[] = {"TDO",    "DMO",    "TQSRO",    "TYSO",   "LO2",
                                               "LB-DMO", "LB-RMO", "LB-KDO", "LB-KDO-S", "LB-ODO"};
    for (const char* name : WITHOUT_PORT)
        if (strcmp(model, name) == 0) return false;
    return true;
}

// Models whose CONFIG opens a dialog, from the program's own table.
std::vector<int> ModelsWithDialogs()
{
    std::vector<int> codes;
    for (int code = 0; code < DEVICE_TYPE_CODE_COUNT; code++) {
        const DeviceTypeInfo* info = FindDeviceTypeInfo(code);
        if (info && info->dialogProc) codes.push_back(code);
    }
    return codes;
}

class FactorySettings : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

std::string ModelLabel(const ::testing::TestParamInfo<int>& info)
{
    std::string name;
    for (const char* p = FindDeviceTypeInfo(info.param)->model; *p; p++)
        if (isalnum((unsigned char)*p)) name += *p;
    return name;
}

}  // namespace

TEST_P(FactorySettings, ConfigShowsTheDefaultsWithoutARangeMessage)
{
    const DeviceTypeInfo* info = FindDeviceTypeInfo(GetParam());
    const char* name = SimDeviceNameOfModel(info->model);
    SCOPED_TRACE(info->model);
    ASSERT_EQ(SimFindModelOfName(name), info) << "the device name does not identify its model";
    int deviceId = SimAddDevice(name, "99.99.99");
    ASSERT_TRUE(SimPutFactorySettings(deviceId));
    {
        SimLock lock;
        SimDevice* device = SimGetDevice(deviceId);
        if (HasNetworkPort(info->model)) {
            EXPECT_EQ(device->registers[48], 1) << "address";
            EXPECT_EQ(device->registers[49], 4) << "19200 Bd, no parity";
        }
        EXPECT_NE(device->registers[40], 0) << "text string";
        EXPECT_EQ(memcmp(device->registers, device->eeprom, sizeof(device->registers)), 0);
    }
    const std::wstring defaultText = EditionText(L"Default", L"Přednastavení");
    const std::wstring readPrefix = EditionText(L"Read ", L"Načíst ");
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000)) << "no connection";
        PostClick(g_configButton);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND window : FindTopWindows(ThisProcess(), L"#32770"))
                if (FindChildByText(window, defaultText)) dialog = window;
            return dialog != nullptr;
        }, 10000)) << "no model dialog";
        // The dialog is disabled while its read at opening runs; a dialog that does not read at
        // opening is read with its Read button.
        ASSERT_TRUE(WaitUntil([&] {
            return IsWindowEnabled(dialog) && !ReadProgressShown(dialog);
        }, 10000));
        if (CountBlockReads(deviceId) == 0) {
            HWND read = nullptr;
            for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (GetText(child).rfind(readPrefix, 0) == 0) read = child;
            ASSERT_NE(read, nullptr);
            PostClick(read);
        }
        ASSERT_TRUE(WaitUntil([&] {
            return CountBlockReads(deviceId) == REGISTER_BLOCK_COUNT &&
                   !ReadProgressShown(dialog);
        }, 10000)) << "nothing read";
        std::string shown, defaults;
        HWND defaultButton = FindChildByText(dialog, defaultText);
        RunOnUiThread([&] {
            shown = FieldTexts(dialog);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(defaultButton), BN_CLICKED), (LPARAM)defaultButton);
        });
        // A field that mirrors another follows it on the dialog's next tick.
        WaitUntil([&] {
            RunOnUiThread([&] { defaults = FieldTexts(dialog); });
            return defaults == shown;
        }, 2000);
        EXPECT_EQ(shown, defaults);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([] { return IsShown(g_mainWindow); }));
    });
}

INSTANTIATE_TEST_SUITE_P(EveryModelDialog, FactorySettings, ::testing::ValuesIn(ModelsWithDialogs()), ModelLabel);
