// The album: every window the program can show, captured from the screen into BMP files named
// after the window, for scripts/album. It runs only when ZENTIL_ALBUM_DIR names the folder.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <functional>
#include <set>
#include <string>

#include "app/device_types.h"
#include "app/main_window.h"
#include "kit/shared_records.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "sim/sim_live.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

std::string AlbumFolder()
{
    const char* folder = getenv("ZENTIL_ALBUM_DIR");
    return folder ? folder : "";
}

// Copies the window's screen rectangle into a 24-bit BMP file.
bool CaptureWindow(HWND window, const std::string& name)
{
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + stride * height;
    std::string path = AlbumFolder() + "\\" + name + ".bmp";
    FILE* out = fopen(path.c_str(), "wb");
    bool written = out && fwrite(&file, sizeof(file), 1, out) == 1 &&
                   fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                   fwrite(bits, stride * height, 1, out) == 1;
    if (out) fclose(out);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

// Lets the window paint itself before it is captured.
void CaptureWhenPainted(HWND window, const std::string& name)
{
    RunOnUiThread([&] { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); });
    Sleep(150);
    EXPECT_TRUE(CaptureWindow(window, name)) << name;
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

// Opens a window with `open`, captures it once it is up (and `ready` holds), and closes it.
void CaptureDialog(const std::string& name, const std::function<void()>& open,
                   const std::function<bool(HWND)>& ready = nullptr)
{
    std::set<HWND> known = OpenDialogs();
    open();
    HWND dialog = nullptr;
    // A model dialog that reads at opening shows its progress window (a line of text) first.
    EXPECT_TRUE(WaitUntil([&] {
        dialog = WaitForNewDialog(known);
        return dialog && CountChildren(dialog) > 3;
    }, 10000));
    ASSERT_NE(dialog, nullptr) << name;
    if (ready) EXPECT_TRUE(WaitUntil([&] { return ready(dialog); }, 10000)) << name;
    CaptureWhenPainted(dialog, name);
    CloseNewWindows(known);
    EXPECT_FALSE(IsWindow(dialog)) << name;
}

std::string FileName(const char* model)
{
    std::string name;
    for (const char* p = model; *p; p++) name += isalnum((unsigned char)*p) ? *p : '_';
    return name;
}

class Album : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (AlbumFolder().empty()) GTEST_SKIP() << "ZENTIL_ALBUM_DIR names no folder";
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

}  // namespace

TEST_F(Album, WindowsWithoutADevice)
{
    RunProgram([&] {
        MessageBoxRecord box;
        if (WaitForMessageBox(ThisProcess(), &box)) AnswerMessageBox(box);
        CaptureWhenPainted(g_mainWindow, "main-window-no-device");
        CaptureDialog("offline-picker", [] { PostClick(g_configButton); });
        CaptureDialog("usb-id-device", [] { PostCommand(g_mainWindow, IDM_HID_ID_DEVICE); });
        CaptureDialog("usb-id-calibration-device", [] { PostCommand(g_mainWindow, IDM_HID_ID_CALIBRATOR); });
    }, 60000);
}

TEST_F(Album, ToolWindows)
{
    int device = SimAddDevice("TDG", "99.99.99");
    SimPutFactorySettings(device);
    SimAddCalibrator();
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && g_mainState == MAIN_STATE_IDLE; }, 10000));
        CaptureWhenPainted(g_mainWindow, "main-window-with-device");
        CaptureDialog("live-values", [] { PostClick(g_dataButton); },
                      [](HWND dialog) { return GetText(GetDlgItem(dialog, IDC_LIVE_DATA_VALUE_1)).size() > 1; });
        CaptureDialog("bootloader", [] { PostCommand(g_mainWindow, IDM_BOOTLOADER); });
    }, 60000);
    SimResetDevices();
    SimAddDevice("GQU2", "99.99.99");
    SimAddCalibrator();
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && g_mainState == MAIN_STATE_IDLE; }, 10000));
        CaptureDialog("analog-output-writer", [] { PostClick(g_dataButton); });
    }, 60000);
}

// Every model dialog of the program's model table, opened through CONFIG on a simulated device of
// its model with its factory settings, after the read at opening.
TEST_F(Album, ModelDialogs)
{
    for (int code = 0; code < DEVICE_TYPE_CODE_COUNT; code++) {
        const DeviceTypeInfo* info = FindDeviceTypeInfo(code);
        if (!info || !info->dialogProc) continue;
        SimResetDevices();
        int device = SimAddDevice(SimDeviceNameOfModel(info->model), "99.99.99");
        SimPutFactorySettings(device);
        RunProgram([&] {
            ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && g_mainState == MAIN_STATE_IDLE; }, 10000));
            CaptureDialog("model-" + FileName(info->model), [] { PostClick(g_configButton); });
        }, 60000);
    }
}
