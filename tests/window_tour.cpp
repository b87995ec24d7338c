// The window tour: opens every window of the program in turn for a visitor.
#include "tests/window_tour.h"

#include <gtest/gtest.h>

#include <ctype.h>

#include <set>

#include "app/device_types.h"
#include "app/main_window.h"
#include "kit/shared_records.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

int CountChildren(HWND dialog)
{
    int count = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) count++;
    return count;
}

std::set<HWND> OpenDialogs()
{
    std::set<HWND> open;
    for (HWND window : FindTopWindows(ThisProcess(), L"#32770")) open.insert(window);
    return open;
}

// The one visible new dialog of this process (no message box, not among `known`) once it is
// enabled, so any progress window it opened at opening has ended.
HWND WaitForNewDialog(const std::set<HWND>& known)
{
    HWND found = nullptr;
    WaitUntil([&] {
        int count = 0;
        for (HWND window : FindTopWindows(ThisProcess(), L"#32770")) {
            if (IsMessageBoxWindow(window) || known.count(window)) continue;
            count++;
            found = window;
        }
        if (count != 1 || !IsWindowEnabled(found)) found = nullptr;
        return found != nullptr;
    }, 10000);
    return found;
}

// Closes every dialog opened since `known` was taken, and whatever closing them opened (the
// picker's Esc picks a model): boxes are answered, dialogs get the close box, then Cancel.
void CloseNewWindows(const std::set<HWND>& known)
{
    for (int round = 0; round < 20; round++) {
        MessageBoxRecord box;
        while (WaitForMessageBox(ThisProcess(), &box, 200)) AnswerMessageBox(box);
        std::set<HWND> left;
        for (HWND window : FindTopWindows(ThisProcess(), L"#32770"))
            if (!known.count(window) && !IsMessageBoxWindow(window)) left.insert(window);
        if (left.empty()) return;
        for (HWND window : left) {
            if (round % 2 == 0) PostMessageW(window, WM_CLOSE, 0, 0);
            else PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        WaitUntil([&] {
            for (HWND window : left)
                if (IsWindow(window)) return false;
            return true;
        }, 1000);
    }
}

bool WaitForIdleConnection()
{
    return WaitUntil([] { return g_deviceConnected == 1 && g_mainState == MAIN_STATE_IDLE; }, 10000);
}

}  // namespace

std::string WindowFileName(const char* model)
{
    std::string name;
    for (const char* p = model; *p; p++) name += isalnum((unsigned char)*p) ? *p : '_';
    return name;
}

void VisitNewDialog(const std::string& name, const std::function<void()>& open, const WindowVisitor& visit,
                    const std::function<bool(HWND)>& ready)
{
    std::set<HWND> known = OpenDialogs();
    open();
    HWND dialog = nullptr;
    // A model dialog that reads at opening shows its progress window (a line of text) first.
    EXPECT_TRUE(WaitUntil([&] {
        dialog = WaitForNewDialog(known);
        return dialog && CountChildren(dialog) > 3;
    }, 10000)) << name;
    if (dialog) {
        if (ready) {
            EXPECT_TRUE(WaitUntil([&] { return ready(dialog); }, 10000)) << name;
        }
        visit(name, dialog);
    }
    CloseNewWindows(known);
    EXPECT_FALSE(dialog && IsWindow(dialog)) << name << " is still open";
}

void TourToolWindows(const WindowVisitor& visit)
{
    SimResetDevices();
    RunProgram([&] {
        MessageBoxRecord box;
        if (WaitForMessageBox(ThisProcess(), &box)) AnswerMessageBox(box);
        visit("main-window-no-device", g_mainWindow);
        VisitNewDialog("offline-picker", [] { PostClick(g_configButton); }, visit);
        VisitNewDialog("usb-id-device", [] { PostCommand(g_mainWindow, IDM_HID_ID_DEVICE); }, visit);
        VisitNewDialog("usb-id-calibration-device", [] { PostCommand(g_mainWindow, IDM_HID_ID_CALIBRATOR); }, visit);
    }, 60000);

    int device = SimAddDevice("TDG", "99.99.99");
    SimPutFactorySettings(device);
    SimAddCalibrator();
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdleConnection());
        visit("main-window-with-device", g_mainWindow);
        VisitNewDialog("live-values", [] { PostClick(g_dataButton); }, visit,
                       [](HWND dialog) { return GetText(GetDlgItem(dialog, IDC_LIVE_DATA_VALUE_1)).size() > 1; });
        VisitNewDialog("bootloader", [] { PostCommand(g_mainWindow, IDM_BOOTLOADER); }, visit);
    }, 60000);

    SimResetDevices();
    SimAddDevice("GQU2", "99.99.99");
    SimAddCalibrator();
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdleConnection());
        VisitNewDialog("analog-output-writer", [] { PostClick(g_dataButton); }, visit);
        VisitNewDialog("auto-calibration-outputs", [] { PostCommand(g_mainWindow, IDM_AUTO_CALIBRATION); }, visit,
                       [](HWND dialog) { return IsEnabled(GetDlgItem(dialog, IDC_AOUT_CAL_START)); });
    }, 60000);

    SimResetDevices();
    SimAddDevice("T1cGA", "99.99.99");
    SimAddCalibrator();
    RunProgram([&] {
        ASSERT_TRUE(WaitForIdleConnection());
        VisitNewDialog("auto-calibration-input", [] { PostCommand(g_mainWindow, IDM_AUTO_CALIBRATION); }, visit,
                       [](HWND dialog) { return IsEnabled(GetDlgItem(dialog, IDC_AIN_CAL_START)); });
    }, 60000);
    SimResetDevices();
}

void TourModelDialogs(bool offline, const WindowVisitor& visit)
{
    for (int code = 0; code < DEVICE_TYPE_CODE_COUNT; code++) {
        const DeviceTypeInfo* info = FindDeviceTypeInfo(code);
        if (!info || !info->dialogProc) continue;
        std::string name = "model-" + WindowFileName(info->model);
        SimResetDevices();
        if (offline) {
            RunProgram([&] {
                MessageBoxRecord box;
                if (WaitForMessageBox(ThisProcess(), &box)) AnswerMessageBox(box);
                std::set<HWND> known = OpenDialogs();
                PostClick(g_configButton);
                HWND picker = WaitForNewDialog(known);
                ASSERT_NE(picker, nullptr) << name;
                ASSERT_NE(info->offlineButtonId, 0) << name << " has no picker button";
                known.insert(picker);
                VisitNewDialog(name, [&] { PostClick(GetDlgItem(picker, info->offlineButtonId)); }, visit);
            }, 60000);
        } else {
            int device = SimAddDevice(SimDeviceNameOfModel(info->model), "99.99.99");
            SimPutFactorySettings(device);
            RunProgram([&] {
                ASSERT_TRUE(WaitForIdleConnection()) << name;
                VisitNewDialog(name, [] { PostClick(g_configButton); }, visit);
            }, 60000);
        }
    }
    SimResetDevices();
}
