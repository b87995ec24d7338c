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
#include "tests/window_tour.h"

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
void CaptureWhenPainted(const std::string& name, HWND window)
{
    RunOnUiThread([&] { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); });
    Sleep(150);
    EXPECT_TRUE(CaptureWindow(window, name)) << name;
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

// Every window but the model dialogs.
TEST_F(Album, ToolWindows)
{
    TourToolWindows(CaptureWhenPainted);
}

// Every model dialog of the program's model table, opened through CONFIG on a simulated device of
// its model with its factory settings, after the read at opening.
TEST_F(Album, ModelDialogs)
{
    TourModelDialogs(false, CaptureWhenPainted);
}
