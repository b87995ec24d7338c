// LCD room units end to end: the pictogram bitmaps and owner-drawn lists, the guarded transfer on
// the simulated device, and the KDG1KY dialog through CONFIG (or the off-line picker), in the
// edition this program was built as.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/device_types.h"
#include "app/edition.h"
#include "app/main_window.h"
#include "devices/lcd_units/lcd_dialogs.h"
#include "devices/lcd_units/unit_bitmaps.h"
#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/lcd_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

namespace {

const int TABLE_ENTRIES = 1 + COLOR_BITMAP_COUNT + BARGRAPH_BITMAP_COUNT + SYMBOL_BITMAP_COUNT;  // 168
const char MISSING_BITMAP_MODULE[] = "zentil-lcd-missing.dll";  // the program's resources less code 100's
const int MISSING_SYMBOL_CODE = 100;

// Which of a mode's 16 state combo boxes are enabled, as a string of 1 and 0.
std::string EnabledStates(HWND dialog, int firstId, int step = 2)
{
    std::string states;
    for (int s = 0; s < 16; s++) states += IsWindowEnabled(GetDlgItem(dialog, firstId + step * s)) ? '1' : '0';
    return states;
}

// A settings file: header, the value fields given (register -> text) and the 16-character text.
std::string SettingsFile(const char* designation, const std::map<int, std::string>& fields, const char* text16)
{
    std::string file;
    char header[17];
    snprintf(header, sizeof header, "  %-14s", designation);
    file += std::string(header, 16) + "\r" + std::string(14, ' ') + "\r";
    for (int r = 0; r < 160; r++) {
        char line[17];
        auto field = fields.find(r);
        std::string value = field == fields.end() ? "" : field->second.substr(0, 6);
        snprintf(line, sizeof line, "Reg %03d %-6s \r", r, value.c_str());
        std::string bytes(line, 16);
        if (r >= 40 && r <= 47) {
            bytes[9] = text16[2 * (r - 40)];
            bytes[11] = text16[2 * (r - 40) + 1];
        }
        file += bytes;
    }
    file += "\r" + std::string(14, ' ') + "\r";
    return file;
}

// The file "Setting Save" writes right after Default.
std::map<int, std::string> DefaultFileFields()
{
    std::map<int, std::string> fields = {
        {33, "15"},    {35, "5s"},    {36, "00546"}, {37, "00819"}, {29, "10"},    {30, "10"},   {39, "0"},
        {48, "1"},     {49, "0004"},  {50, "00001"}, {51, "65534"}, {76, "0.0"},   {77, "0.0"},  {81, "0"},
        {8, "0.0"},    {52, "-5.0"},  {53, "5.0"},   {9, "40"},     {54, "20"},    {55, "80"},   {13, "1000"},
        {62, "800"},   {63, "2000"},  {64, "1000"},  {65, "2000"},  {68, "00001"}, {69, "01026"}, {73, "01027"},
        {84, "0"},     {86, "0"},     {88, "0"},     {85, "00"},    {87, "00"},    {89, "00"},
    };
    for (int r = 92; r <= 139; r++) fields[r] = "00";
    return fields;
}

// The seeded device: every register distinguishable, the KDG1KY's own ones with values that test
// their coding (a quick-access code of no entry, an active time beyond the list, colour words
// with bits 12-15 set, flags with other bits, baud and parity, one word per bargraph style).
std::map<int, WORD> SeededRegisters()
{
    std::map<int, WORD> seed;
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) seed[r] = (WORD)(FILLER_BASE + r);
    const char* text = "Room unit 12 abc";
    for (int i = 0; i < 8; i++) seed[40 + i] = (WORD)((BYTE)text[2 * i] << 8 | (BYTE)text[2 * i + 1]);
    seed[8] = 215;      // 21.5
    seed[9] = (WORD)-5;
    seed[13] = 1200;
    seed[29] = 15;      // no entry of the list
    seed[30] = 22;      // mode 2
    seed[33] = 40;
    seed[35] = 65;      // beyond the list
    seed[36] = 0xF123;  // nibbles 3, 2, 1 and bits 12-15
    seed[37] = 0x0A98;
    seed[39] = 0x0006;  // automatic calibration off, menu not locked, bit 2 foreign
    seed[48] = 17;
    seed[49] = 0x0203;
    seed[50] = 99;
    seed[51] = 9;
    seed[52] = (WORD)-55;
    seed[53] = 305;
    seed[54] = 25;
    seed[55] = 75;
    seed[62] = 500;
    seed[63] = 3000;
    seed[64] = 900;
    seed[65] = 2500;
    seed[68] = 0x0402;  // absolute, requested
    seed[69] = 0x0003;  // constant, corrected
    seed[73] = 0x0401;  // relative, requested
    seed[76] = (WORD)-15;
    seed[77] = 25;
    seed[81] = 50;
    seed[84] = 1;
    seed[85] = 5;
    seed[86] = 3;
    seed[87] = 16;
    seed[88] = 0;
    seed[89] = 0;
    for (int s = 0; s < 48; s++) seed[92 + s] = (WORD)((s * 7) % 152);
    seed[92] = 123;
    seed[93] = 7;
    return seed;
}

int AddKdg1kyDevice(const std::map<int, WORD>& seed, const char* model = "KDG1KY")
{
    int id = SimAddDevice(model, "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (const auto& entry : seed) device->registers[entry.first] = entry.second;
    device->jumperFitted = true;
    return id;
}

// The dialog has run its opening to the end (the labels come last).
void WaitOpened(HWND dialog, int readId = IDC_KDG1KY_READ)
{
    EXPECT_TRUE(WaitUntil([&] { return GetWindowTextLengthW(GetDlgItem(dialog, readId)) > 0; }, 10000));
}

// Connects and opens CONFIG; the dialog once its automatic read is done.
HWND OpenWithDevice(int deviceId, const char* model = "KDG1KY", int readId = IDC_KDG1KY_READ)
{
    if (!WaitUntil([] { return g_deviceConnected == 1; }, 10000)) {
        ADD_FAILURE() << "no connection";
        return nullptr;
    }
    WaitUntil([&] { return strncmp(g_deviceNameText + 2, model, strlen(model)) == 0; }, 5000);
    PostClick(g_configButton);
    HWND dialog = WaitForDialogWithControl(ThisProcess(), readId, 10000);
    WaitOpened(dialog, readId);
    return dialog;
}

// The pixels of a bitmap as 32-bit words, top row first.
std::vector<DWORD> BitmapPixels(HBITMAP bitmap, int* width = nullptr, int* height = nullptr)
{
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels((size_t)info.bmWidth * info.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    if (width) *width = info.bmWidth;
    if (height) *height = info.bmHeight;
    return pixels;
}

// The header of a bitmap resource of the program (width, height, bits per pixel).
BITMAPINFOHEADER ResourceHeader(int id)
{
    BITMAPINFOHEADER header = {};
    HRSRC found = FindResourceA(g_hInstance, MAKEINTRESOURCEA(id), (LPCSTR)RT_BITMAP);
    if (!found) return header;
    memcpy(&header, LockResource(LoadResource(g_hInstance, found)), sizeof header);
    return header;
}

// Control styles as the dialog template gives them (the combo box takes WS_VSCROLL off its own
// window style and hands it to its list).
std::map<int, DWORD> TemplateStyles(int templateId)
{
    std::map<int, DWORD> styles;
    HRSRC found = FindResourceA(g_hInstance, MAKEINTRESOURCEA(templateId), (LPCSTR)RT_DIALOG);
    const BYTE* p = (const BYTE*)LockResource(LoadResource(g_hInstance, found));
    auto word = [&](size_t at) { return *(const WORD*)(p + at); };
    auto skipText = [&](size_t at) {  // a name or an ordinal
        if (word(at) == 0xFFFF) return at + 4;
        while (word(at) != 0) at += 2;
        return at + 2;
    };
    int count = word(16);
    size_t at = 26;
    at = skipText(skipText(skipText(at)));  // menu, class, title
    at = skipText(at + 6);                  // font size, weight, italic, charset, face
    for (int i = 0; i < count; i++) {
        at = (at + 3) & ~(size_t)3;
        DWORD style = *(const DWORD*)(p + at + 8);
        int id = (int)*(const DWORD*)(p + at + 20);
        at = skipText(skipText(at + 24));
        at += 2 + word(at);
        styles[id] = style;
    }
    return styles;
}

// One fixture, several suites, so that CTest runs them side by side.
class LcdUnits : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
        ResetProgramRecords();
    }
    void TearDown() override
    {
        SimResetDevices();
        ResetProgramRecords();
    }
};
class LcdBitmaps : public LcdUnits {};
class LcdLists : public LcdUnits {};
class LcdGuardedTransfer : public LcdUnits {};
class LcdKdg1ky : public LcdUnits {};

}  // namespace

// ---- Bitmaps

// Sizes and depths as listed; every pictogram 1..151 a picture of its own, none blank; the
// blank is white and the mask black.
TEST_F(LcdBitmaps, BitmapResourcesAsListed)
{
    struct Expected {
        int id, width, height, bits;
    };
    std::vector<Expected> expected = {{IDB_LCD_BLANK, 24, 16, 4}, {IDB_LCD_MASK, 24, 16, 1}};
    for (int code = 1; code < SYMBOL_BITMAP_COUNT; code++) {
        int width = code == 78 ? 25 : code == 89 ? 27 : 24;
        expected.push_back({SYMBOL_BITMAP_IDS[code], width, 16, code < 64 ? 1 : 24});
    }
    for (int k = 0; k < COLOR_BITMAP_COUNT; k++) {
        bool small = COLOR_BITMAP_IDS[k] == 199 || COLOR_BITMAP_IDS[k] == 207;
        expected.push_back({COLOR_BITMAP_IDS[k], small ? 22 : 23, small ? 14 : 15, 4});
    }
    for (int k = 1; k < BARGRAPH_BITMAP_COUNT; k++) expected.push_back({BARGRAPH_BITMAP_IDS[k], 24, 16, 4});
    EXPECT_EQ(expected.size(), 167u);
    for (const Expected& e : expected) {
        BITMAPINFOHEADER header = ResourceHeader(e.id);
        EXPECT_EQ(header.biWidth, e.width) << "bitmap " << e.id;
        EXPECT_EQ(header.biHeight, e.height) << "bitmap " << e.id;
        EXPECT_EQ(header.biBitCount, e.bits) << "bitmap " << e.id;
    }
    EXPECT_EQ(SYMBOL_BITMAP_IDS[0], 179);
    EXPECT_EQ(SYMBOL_BITMAP_IDS[28], 138);
    EXPECT_EQ(SYMBOL_BITMAP_IDS[63], 213);
    EXPECT_EQ(SYMBOL_BITMAP_IDS[64], 241);
    EXPECT_EQ(SYMBOL_BITMAP_IDS[151], 328);

    std::set<std::vector<DWORD>> pictures;
    for (int code = 0; code < SYMBOL_BITMAP_COUNT; code++) {
        HBITMAP bitmap = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(SYMBOL_BITMAP_IDS[code]));
        ASSERT_NE(bitmap, nullptr) << "code " << code;
        std::vector<DWORD> pixels = BitmapPixels(bitmap);
        DeleteObject(bitmap);
        bool blank = true;
        for (DWORD pixel : pixels) blank = blank && pixel == 0xFFFFFF;
        EXPECT_EQ(blank, code == 0) << "code " << code;
        EXPECT_TRUE(pictures.insert(pixels).second) << "code " << code << " looks like another";
    }
    HBITMAP mask = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(MASK_BITMAP_ID));
    for (DWORD pixel : BitmapPixels(mask)) EXPECT_EQ(pixel, 0u);
    DeleteObject(mask);
}

// A module that lacks one pictogram: loading stops there, and only what loaded is released, once.
TEST_F(LcdBitmaps, BitmapLoadStopsAtMissingOneAndReleasesOnlyLoaded)
{
    HMODULE module = LoadLibraryA(MISSING_BITMAP_MODULE);
    ASSERT_NE(module, nullptr);
    HINSTANCE program = g_hInstance;
    g_hInstance = module;
    UnitBitmapTable table = {SYMBOL_BITMAP_COUNT, COLOR_BITMAP_COUNT, BARGRAPH_BITMAP_COUNT};
    EXPECT_EQ(LoadUnitColors(&table), 1);
    EXPECT_EQ(LoadUnitBargraphs(&table), 1);
    EXPECT_EQ(LoadUnitBitmaps(&table), 0);
    g_hInstance = program;
    std::vector<HBITMAP> loaded;
    for (int code = 0; code < SYMBOL_BITMAP_COUNT; code++) {
        EXPECT_EQ(table.symbols[code] != nullptr, code < MISSING_SYMBOL_CODE) << "code " << code;
        if (table.symbols[code]) loaded.push_back(table.symbols[code]);
    }
    EXPECT_EQ(table.mask, nullptr);
    for (HBITMAP handle : table.colors) loaded.push_back(handle);
    for (HBITMAP handle : table.bargraphs) loaded.push_back(handle);
    EXPECT_NE(table.bargraphs[0], table.symbols[0]) << "the blank is loaded once per list";
    for (HBITMAP handle : loaded) EXPECT_EQ(GetObjectType(handle), (DWORD)OBJ_BITMAP);
    FreeUnitBitmaps(&table);
    FreeUnitBitmaps(&table);  // nothing left to release twice
    for (HBITMAP handle : loaded) EXPECT_EQ(GetObjectType(handle), 0u);
    EXPECT_EQ(table.colors[0], nullptr);
    EXPECT_EQ(table.symbols[0], nullptr);
    FreeLibrary(module);
}

// CONFIG on that module: the dialog ends at once with nothing shown, the main window comes back,
// and the table holds nothing afterwards.
TEST_F(LcdBitmaps, ConfigWithMissingBitmapEndsAndMainWindowReturns)
{
    HMODULE module = LoadLibraryA(MISSING_BITMAP_MODULE);
    ASSERT_NE(module, nullptr);
    RunProgram([&] {
        ExpectMessageBox(ThisProcess(), EditionText(L"No HID device detected", L"Žádné zařízení HID nenalezeno"),
                         EditionText(L"HID device info", L"HID zařízení, info. "), MB_ICONINFORMATION, 10000);
        HINSTANCE program = g_hInstance;
        g_hInstance = module;
        PostClick(g_configButton);
        HWND picker = WaitForDialogWithControl(ThisProcess(), IDC_OFFLINE_KDG1KY);
        ASSERT_NE(picker, nullptr);
        Click(picker, IDC_OFFLINE_KDG1KY);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
        EXPECT_TRUE(MainWindowBack());
        g_hInstance = program;
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_EQ(WaitForDialogWithControl(ThisProcess(), IDC_KDG1KY_READ, 0), nullptr);
        const UnitBitmapTable* table = KDG1KYBitmapTable();
        for (int code = 0; code < SYMBOL_BITMAP_COUNT; code++) EXPECT_EQ(table->symbols[code], nullptr);
        EXPECT_EQ(table->mask, nullptr);
    });
    FreeLibrary(module);
}

// ---- Owner-drawn lists

// The lists of an open dialog: counts, style, one handle per item from the design's table, item
// height; the closed box shows its picture in the 24 x 16 cell, with and without the focus. Over
// 20 openings every table entry is a live bitmap while open and nothing is left after.
TEST_F(LcdLists, OwnerDrawnListsAndBitmapRelease)
{
    const int STATE_COMBO = IDC_KDG1KY_MODE2_SYMBOL5;
    const int COLOR_COMBOS[] = {IDC_KDG1KY_COLOR_TEMPERATURE, IDC_KDG1KY_COLOR_HUMIDITY, IDC_KDG1KY_COLOR_CO2,
                                IDC_KDG1KY_COLOR_LEFT,        IDC_KDG1KY_COLOR_MIDDLE,   IDC_KDG1KY_COLOR_RIGHT};
    const int BARGRAPH_COMBOS[] = {IDC_KDG1KY_TEMPERATURE_BARGRAPH, IDC_KDG1KY_HUMIDITY_BARGRAPH, IDC_KDG1KY_CO2_BARGRAPH};
    std::set<HBITMAP> seen;
    for (int opening = 0; opening < 20; opening++) {
        SCOPED_TRACE(opening);
        std::vector<HBITMAP> recorded;
        INT_PTR result = RunDialog(IDD_KDG1KY, KDG1KYDlgProc, [&](HWND dialog) {
            WaitOpened(dialog);
            const UnitBitmapTable* table = KDG1KYBitmapTable();
            recorded.push_back(table->mask);
            recorded.insert(recorded.end(), table->colors, table->colors + COLOR_BITMAP_COUNT);
            recorded.insert(recorded.end(), table->bargraphs, table->bargraphs + BARGRAPH_BITMAP_COUNT);
            recorded.insert(recorded.end(), table->symbols, table->symbols + SYMBOL_BITMAP_COUNT);
            EXPECT_EQ(recorded.size(), (size_t)TABLE_ENTRIES);
            for (HBITMAP handle : recorded) EXPECT_EQ(GetObjectType(handle), (DWORD)OBJ_BITMAP);
            if (opening == 0) {
                std::map<int, DWORD> styles = TemplateStyles(IDD_KDG1KY);
                for (int mode = 0; mode < 3; mode++) {
                    for (int state = 0; state < 16; state++) {
                        int first[] = {IDC_KDG1KY_MODE1_SYMBOL1, IDC_KDG1KY_MODE2_SYMBOL1, IDC_KDG1KY_MODE3_SYMBOL1};
                        HWND combo = GetDlgItem(dialog, first[mode] + 2 * state);
                        EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 152);
                        EXPECT_EQ(styles[first[mode] + 2 * state], (DWORD)PICTOGRAM_COMBO_STYLE);
                    }
                }
                HWND state = GetDlgItem(dialog, STATE_COMBO);
                for (int k = 0; k < SYMBOL_BITMAP_COUNT; k++)
                    EXPECT_EQ((HBITMAP)SendMessageW(state, CB_GETITEMDATA, k, 0), table->symbols[k]) << "item " << k;
                for (int id : COLOR_COMBOS) {
                    HWND combo = GetDlgItem(dialog, id);
                    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 11);
                    EXPECT_EQ(styles[id], (DWORD)PICTOGRAM_COMBO_STYLE);
                    EXPECT_FALSE(GetWindowLongW(combo, GWL_STYLE) & CBS_HASSTRINGS);
                    for (int k = 0; k < COLOR_BITMAP_COUNT; k++)
                        EXPECT_EQ((HBITMAP)SendMessageW(combo, CB_GETITEMDATA, k, 0), table->colors[k]);
                }
                for (int id : BARGRAPH_COMBOS) {
                    HWND combo = GetDlgItem(dialog, id);
                    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
                    EXPECT_EQ(styles[id], (DWORD)PICTOGRAM_COMBO_STYLE);
                    EXPECT_FALSE(GetWindowLongW(combo, GWL_STYLE) & CBS_HASSTRINGS);
                    for (int k = 0; k < BARGRAPH_BITMAP_COUNT; k++)
                        EXPECT_EQ((HBITMAP)SendMessageW(combo, CB_GETITEMDATA, k, 0), table->bargraphs[k]);
                }
                EXPECT_NE(table->symbols[0], table->bargraphs[0]);
                EXPECT_GE(SendMessageW(state, CB_GETITEMHEIGHT, 0, 0), PICTOGRAM_ITEM_MIN_HEIGHT);

                // The closed box: the picture of the selected item in the cell at (base / 4, top + 1).
                HWND bargraph = GetDlgItem(dialog, IDC_KDG1KY_TEMPERATURE_BARGRAPH);
                std::vector<DWORD> picture = BitmapPixels(table->bargraphs[1]);
                int x = LOWORD(GetDialogBaseUnits()) / 4;
                auto cellShown = [&] {
                    bool found = false;
                    RunOnUiThread([&] {
                        RedrawWindow(bargraph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
                        RECT client;
                        GetClientRect(bargraph, &client);
                        HDC dc = GetDC(bargraph);
                        HDC memory = CreateCompatibleDC(dc);
                        HBITMAP copy = CreateCompatibleBitmap(dc, client.right, client.bottom);
                        HGDIOBJ old = SelectObject(memory, copy);
                        BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
                        SelectObject(memory, old);
                        int width = 0, height = 0;
                        std::vector<DWORD> shown = BitmapPixels(copy, &width, &height);
                        for (int top = 0; top + 16 <= height && !found; top++) {
                            bool same = true;
                            // The box clips its selection field to the item rectangle, which
                            // begins a pixel right of the cell: the cell's first column is not shown.
                            for (int row = 0; row < 16 && same; row++)
                                for (int col = 1; col < 24 && same; col++)
                                    same = shown[(size_t)(top + row) * width + x + col] == picture[(size_t)row * 24 + col];
                            found = same;
                        }
                        DeleteObject(copy);
                        DeleteDC(memory);
                        ReleaseDC(bargraph, dc);
                    });
                    return found;
                };
                EXPECT_TRUE(WaitUntil(cellShown)) << "the closed box does not show its picture";
                RunOnUiThread([&] { SetFocus(bargraph); });
                EXPECT_TRUE(WaitUntil(cellShown)) << "with the focus the picture is covered";
            }
            Click(dialog, IDC_KDG1KY_CANCEL);
        });
        EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
        const UnitBitmapTable* table = KDG1KYBitmapTable();
        EXPECT_EQ(table->mask, nullptr);
        for (HBITMAP handle : table->symbols) EXPECT_EQ(handle, nullptr);
        for (HBITMAP handle : table->colors) EXPECT_EQ(handle, nullptr);
        for (HBITMAP handle : recorded) EXPECT_EQ(GetObjectType(handle), 0u) << "a bitmap was kept";
    }
}

// ---- Guarded transfer

// Automatic read and Write on the wire: status, configuration mode, the engine, end of
// configuration mode, each step on its own opening of the device; the registers shown and written
// back, every other register as the device had it.
TEST_F(LcdGuardedTransfer, GuardedReadAndWriteTranscript)
{
    std::map<int, WORD> seed = SeededRegisters();
    int deviceId = AddKdg1kyDevice(seed);
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000)) << "no connection";
        size_t mark = Mark(deviceId);
        HWND dialog = OpenWithDevice(deviceId);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_ADDRESS) == "17"; })) << "nothing read";
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP + BEGIN_STEP + ReadEngineSteps() + END_STEP);
        EXPECT_EQ(CountOpens(deviceId, mark), READ_OPENS);
        EXPECT_EQ(CountOpenHandles(deviceId), 0);
        {
            SimLock lock;
            EXPECT_FALSE(SimGetDevice(deviceId)->configMode);
        }

        // Shown as the registers say.
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_TEXT), "Room unit 12 abc");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_BACKLIGHT), "40");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_TEMPERATURE_REQ), "21.5");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_TEMPERATURE_LOW), "-5.5");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_TEMPERATURE_HIGH), "30.5");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_HUMIDITY_REQ), "-5");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_CO2_REQ), "1200");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_INDICATION_HIGH), "2500");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_OFFSET_TEMPERATURE), "-1.5");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_OFFSET_HUMIDITY), "2.5");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_OFFSET_CO2), "50");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_BAUD), " 9600Bd");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_PARITY), "even");
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_ACTIVE_TIME), CB_ERR);
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_QUICK_MIDDLE)), EditionText(L"Not active( )", L"Neaktivní( )"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_QUICK_BOTTOM)), EditionText(L"Mode 2 (M2)", L"Režim 2 (M2)"));
        EXPECT_FALSE(IsChecked(dialog, IDC_KDG1KY_MENU_DISABLE));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_AUTO_CALIBRATION_OFF));
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_TEMPERATURE), 3);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_HUMIDITY), 2);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_CO2), 1);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_RIGHT), 10);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_TEMPERATURE_BARGRAPH), 2);
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_TEMPERATURE_KIND)), EditionText(L"Absolut", L"Absolutní"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_HUMIDITY_KIND)), EditionText(L"Constant", L"Konstantní"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_CO2_KIND)), EditionText(L"Relative", L"Relativní"));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_TEMPERATURE_REQUESTED));
        EXPECT_FALSE(IsChecked(dialog, IDC_KDG1KY_TEMPERATURE_CORRECTION));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_HUMIDITY_CORRECTION));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_CO2_REQUESTED));
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_CONNECTION), 1);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE2_CONNECTION), 3);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_STATES), 5);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE2_STATES), 16);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_SYMBOL1), 123);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_SYMBOL2), 7);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE3_SYMBOL16), (47 * 7) % 152);
        EXPECT_EQ(EnabledStates(dialog, IDC_KDG1KY_MODE1_SYMBOL1), "1111100000000000");
        EXPECT_EQ(EnabledStates(dialog, IDC_KDG1KY_MODE2_SYMBOL1), "1111111111111111");
        EXPECT_EQ(EnabledStates(dialog, IDC_KDG1KY_MODE3_SYMBOL1), "0000000000000000");
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_PWM));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_STEPS), "100");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_FREQUENCY), "8000.000000");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_PERIOD), "0.125000");

        // Write: nothing changed, so every register goes back as read.
        mark = Mark(deviceId);
        Click(dialog, IDC_KDG1KY_WRITE);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP + BEGIN_STEP + WriteEngineSteps() + END_STEP);
        EXPECT_EQ(CountOpens(deviceId, mark), WRITE_OPENS);
        EXPECT_EQ(CountOpenHandles(deviceId), 0);
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), seed[r]) << "register " << r;
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        ExpectLabelsFit(dialog);

        // The hidden calibration group's command sends its value (400 unless typed) and nothing else.
        mark = Mark(deviceId);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_KDG1KY_CALIBRATION_WRITE, BN_CLICKED), 0);
        ExpectMessageBox(ThisProcess(), EditionText(L"Calibration data write", L"Kalibrační data zapsána"), L"SET info",
                         MB_ICONINFORMATION);
        std::vector<SimEvent> events = SimGetEvents(deviceId);
        std::vector<std::vector<BYTE>> sent;
        for (size_t k = mark; k < events.size(); k++)
            if (events[k].kind == SIM_EVENT_SET_FEATURE && !events[k].failed) sent.push_back(events[k].bytes);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0], (std::vector<BYTE>{0, 0xF0, 0x01, 0x90, 0, 0, 0, 0, 0}));
        Click(dialog, IDC_KDG1KY_CANCEL);
        EXPECT_TRUE(MainWindowBack());
    });
}

// Only the exact menu-open word refuses, with its own text for Read and Write; nothing is sent,
// the dialog, its buttons and the connection stay. A refused automatic read leaves the defaults,
// and a later Write reads the device first, so registers the dialog does not own keep their values.
TEST_F(LcdGuardedTransfer, MenuStatusRefusesOnlyB000)
{
    std::map<int, WORD> seed = SeededRegisters();
    int deviceId = AddKdg1kyDevice(seed);
    SetStatusWord(deviceId, STATUS_MENU_ACTIVE);
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000)) << "no connection";
        WaitUntil([] { return strncmp(g_deviceNameText + 2, "KDG1KY", 6) == 0; }, 5000);
        size_t mark = Mark(deviceId);
        PostClick(g_configButton);
        ExpectMessageBox(ThisProcess(),
                         EditionText(L"Data can not be read, menu is active.",
                                     L"Nelze načíst data pokud je aktivní uživatelské menu."),
                         L"SET info", MB_ICONINFORMATION, 10000);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_KDG1KY_READ, 10000);
        ASSERT_NE(dialog, nullptr);
        WaitOpened(dialog);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess())) << "the refusal is shown once";
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP);
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_TEXT), "Dolvan KDG1KY   ");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_ADDRESS), "1");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_ACTIVE_TIME), "5s");
        EXPECT_EQ(g_deviceConnected, 1);
        EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, IDC_KDG1KY_READ)));
        EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, IDC_KDG1KY_WRITE)));

        mark = Mark(deviceId);
        Click(dialog, IDC_KDG1KY_WRITE);
        ExpectMessageBox(ThisProcess(),
                         EditionText(L"Data can not be write, menu is active.",
                                     L"Nelze zapsat data pokud je aktivní uživatelské menu."),
                         L"SET info", MB_ICONINFORMATION);
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP);
        EXPECT_EQ(DeviceRegister(deviceId, 48), 17);
        EXPECT_TRUE(IsWindow(dialog));

        // 0xB001 lets the Write through; the image was never read, so the device is read first.
        SetStatusWord(deviceId, 0xB001);
        mark = Mark(deviceId);
        TypeInto(dialog, IDC_KDG1KY_ADDRESS, "33");
        Click(dialog, IDC_KDG1KY_WRITE);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP + BEGIN_STEP + ReadEngineSteps() + WriteEngineSteps() + END_STEP);
        EXPECT_EQ(DeviceRegister(deviceId, 48), 33);
        EXPECT_EQ(DeviceRegister(deviceId, 33), 15);
        EXPECT_EQ(DeviceRegister(deviceId, 0), seed[0]);
        EXPECT_EQ(DeviceRegister(deviceId, 140), seed[140]);
        EXPECT_EQ(DeviceRegister(deviceId, 90), seed[90]);

        // 0x00B0 lets the Read through.
        SetStatusWord(deviceId, 0x00B0);
        mark = Mark(deviceId);
        Click(dialog, IDC_KDG1KY_READ);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        EXPECT_EQ(Features(deviceId, mark), STATUS_STEP + BEGIN_STEP + ReadEngineSteps() + END_STEP);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, IDC_KDG1KY_CANCEL);
        EXPECT_TRUE(MainWindowBack());
    });
}

// A failure at each step of the automatic read: the message of that step, the connection dropped,
// the dialog closed; no end of the configuration mode after a failed engine; after a failed end
// nothing read is shown.
TEST_F(LcdGuardedTransfer, GuardedReadFailures)
{
    const std::wstring COMMUNICATION = EditionText(L"Device communication error", L"Chyba komunikace se zařízením");
    struct Case {
        const char* name;
        SimFault fault;
        std::wstring text;
        std::string transcript;  // of the guarded steps that went through
    };
    const Case CASES[] = {
        {"status query", {SIM_FAULT_GET_FEATURE, 0, -1, -1, -1}, COMMUNICATION, ""},
        {"configuration begin", {SIM_FAULT_SET_FEATURE, 0, -1, CMD_CONFIG_BEGIN, -1}, COMMUNICATION, STATUS_STEP},
        {"engine", {SIM_FAULT_SET_FEATURE, 0, -1, CMD_READ_BLOCK, 5}, L"", STATUS_STEP + BEGIN_STEP},
        {"configuration end", {SIM_FAULT_SET_FEATURE, 0, -1, CMD_CONFIG_END, -1}, COMMUNICATION,
         STATUS_STEP + BEGIN_STEP + ReadEngineSteps()},
    };
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.name);
        SimResetDevices();
        ResetProgramRecords();
        int deviceId = AddKdg1kyDevice(SeededRegisters());
        RunProgram([&] {
            ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000));
            WaitUntil([] { return strncmp(g_deviceNameText + 2, "KDG1KY", 6) == 0; }, 5000);
            size_t mark = Mark(deviceId);
            SimAddFault(deviceId, c.fault);
            PostClick(g_configButton);
            MessageBoxRecord box;
            ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, 10000));
            // The engine's box is owned by its progress window, whose owner is the dialog.
            HWND dialog = box.owner;
            if (GetDlgItem(dialog, IDC_KDG1KY_READ) == nullptr) dialog = GetWindow(dialog, GW_OWNER);
            ASSERT_NE(GetDlgItem(dialog, IDC_KDG1KY_READ), nullptr);
            if (!c.text.empty()) {
                EXPECT_EQ(box.text, c.text);
                EXPECT_EQ(box.caption, L"SET info");
                EXPECT_EQ(box.icon, (UINT)MB_ICONERROR);
            }
            EXPECT_EQ(g_deviceConnected, 0);
            EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_ADDRESS), "1") << "nothing read is shown";
            AnswerMessageBox(box);
            EXPECT_TRUE(MainWindowBack());
            EXPECT_FALSE(IsWindow(dialog));
            std::string guarded = Features(deviceId, mark);
            if (c.fault.command == CMD_READ_BLOCK) {
                EXPECT_EQ(guarded.substr(0, c.transcript.size()), c.transcript);
            } else {
                EXPECT_EQ(guarded, c.transcript);
            }
            EXPECT_EQ(CountFeatureCommands(deviceId, CMD_CONFIG_END), 0);
            EXPECT_EQ(CountOpenHandles(deviceId), 0);
            });
    }
}

// ---- KDG1KY on its own

// Off-line: Default, Save byte for byte, rules of the lists and check boxes, Open back, a file of
// another model refused; Esc does nothing, Cancel ends with 1005.
TEST_F(LcdKdg1ky, OfflineDefaultSaveRulesAndOpen)
{
    std::string path = TempPath("kdg1ky.dlc");
    std::string other = TempPath("dmg1ky.dlc");
    DeleteFileA(path.c_str());
    const std::wstring SETTING_VALUE = EditionText(L"Setting value", L"Nastavená hodnota");
    INT_PTR result = RunDialog(IDD_KDG1KY, KDG1KYDlgProc, [&](HWND dialog) {
        WaitOpened(dialog);
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, IDC_KDG1KY_READ)));
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, IDC_KDG1KY_WRITE)));
        EXPECT_FALSE(IsShown(GetDlgItem(dialog, IDC_KDG1KY_CALIBRATION_VALUE)));
        EXPECT_FALSE(IsShown(GetDlgItem(dialog, IDC_KDG1KY_CALIBRATION_WRITE)));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_TEXT), "Dolvan KDG1KY   ");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_CALIBRATION_VALUE), "400");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_ACTIVE_TIME), "5s");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_MODE1_SYMBOL16_LABEL)), L"Symbol 16");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_COLOR_CO2_LABEL)), L"CO2");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_SYMBOL_COLOR_LABEL)), L"_________ Symbol _________");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_CANCEL)), L"Cancel");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_READ)), EditionText(L"Read KDG1KY", L"Načíst KDG1KY"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_CO2_BARGRAPH_LABEL)), EditionText(L"Bargrapf", L"Bargraf"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_CO2_KIND)), EditionText(L"Constant", L"Konstatní"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_HUMIDITY_KIND)), EditionText(L"Absolut", L"Absolutní"));
        ExpectLabelsFit(dialog);
        EXPECT_EQ(EnabledStates(dialog, IDC_KDG1KY_MODE1_SYMBOL1), "0000000000000000");
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_DUALSTATE));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_STEPS), "2");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_FREQUENCY), "--");
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, IDC_KDG1KY_SET)));

        // Fields out of bounds at once: the tick rewrites them in its order, backlight first,
        // one box for each.
        TextsAtEachBox boxes(dialog, {IDC_KDG1KY_BACKLIGHT, IDC_KDG1KY_OFFSET_CO2, IDC_KDG1KY_TEMPERATURE_REQ,
                                      IDC_KDG1KY_INDICATION_LOW});
        RunOnUiThread([&] {
            SetDlgItemTextA(dialog, IDC_KDG1KY_INDICATION_LOW, "5001");
            SetDlgItemTextA(dialog, IDC_KDG1KY_OFFSET_CO2, "-2001");
            SetDlgItemTextA(dialog, IDC_KDG1KY_TEMPERATURE_REQ, "200.1");
            SetDlgItemTextA(dialog, IDC_KDG1KY_BACKLIGHT, "101");
        });
        MessageBoxRecord range;
        ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &range));
        EXPECT_EQ(range.text, L"Hodnota mimo rozsah");
        auto clamped = [&] {
            return ItemText(dialog, IDC_KDG1KY_OFFSET_CO2) == "-2000" && ItemText(dialog, IDC_KDG1KY_INDICATION_LOW) == "5000" &&
                   ItemText(dialog, IDC_KDG1KY_TEMPERATURE_REQ) == "200.0";
        };
        for (int box = 0; box < 8 && !clamped(); box++) {
            if (!WaitForMessageBox(ThisProcess(), &range, 2000)) break;
            AnswerMessageBox(range);
        }
        while (WaitForMessageBox(ThisProcess(), &range, 500)) AnswerMessageBox(range);
        EXPECT_TRUE(clamped());
        EXPECT_EQ(boxes.Seen(), (std::vector<std::vector<std::string>>{
                                    {"100", "-2001", "200.1", "5001"},
                                    {"100", "-2000", "200.1", "5001"},
                                    {"100", "-2000", "200.0", "5001"},
                                    {"100", "-2000", "200.0", "5000"},
                                }));

        // The 8 MHz output: PWM starts at 3 steps; "Set" turns a frequency into the prescaler.
        Click(dialog, IDC_KDG1KY_PWM);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_FREQUENCY) == "40"; }));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_STEPS), "3");
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_PERIOD), "25.0000");
        TypeInto(dialog, IDC_KDG1KY_STEPS, "100");
        TypeInto(dialog, IDC_KDG1KY_FREQUENCY, "1000");
        Click(dialog, IDC_KDG1KY_SET);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_FREQUENCY) == "1000.000000"; }));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_PERIOD), "1.000000");
        TypeInto(dialog, IDC_KDG1KY_STEPS, "3");
        TypeInto(dialog, IDC_KDG1KY_FREQUENCY, "20000");
        Click(dialog, IDC_KDG1KY_SET);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_FREQUENCY) == "19900.497512"; }));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_PERIOD), "0.050250");

        // Esc is no command of the dialog.
        RunOnUiThread([&] {
            MSG key = {dialog, WM_KEYDOWN, VK_ESCAPE, 0};
            IsDialogMessageW(dialog, &key);
        });
        WaitForPostedMessages();
        EXPECT_TRUE(IsWindow(dialog));

        Click(dialog, IDC_KDG1KY_DEFAULT);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_TEXT) == "KDG1KY Dolvan   "; }));
        Click(dialog, IDC_KDG1KY_SAVE);
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), SettingsFile("KDG1KY", DefaultFileFields(), "KDG1KY Dolvan   "));

        // Rules: quick access to an empty mode, an LCD position held by another mode, bargraph
        // radios of one pair only, a colour nibble, a flag bit, pictogram codes.
        SelectEntry(dialog, IDC_KDG1KY_QUICK_BOTTOM, 5);
        ExpectMessageBox(ThisProcess(),
                         EditionText(L"Number of steps for Mode 3 (M3) is zero. Setting will be preset to None( ).",
                                     L"Režim 3 (M3) má zvolen nulový počet stavů. Předvolba bude přenastavena na Neaktivní( )."),
                         SETTING_VALUE, MB_ICONINFORMATION);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_QUICK_BOTTOM), 0);
        SelectEntry(dialog, IDC_KDG1KY_MODE2_STATES, 4);
        EXPECT_EQ(EnabledStates(dialog, IDC_KDG1KY_MODE2_SYMBOL1), "1111000000000000");
        SelectEntry(dialog, IDC_KDG1KY_QUICK_MIDDLE, 4);  // mode 2 has states now: taken
        SelectEntry(dialog, IDC_KDG1KY_MODE2_STATES, 0);  // and kept when they go
        SelectEntry(dialog, IDC_KDG1KY_MODE1_CONNECTION, 1);
        SelectEntry(dialog, IDC_KDG1KY_MODE3_CONNECTION, 1);
        ExpectMessageBox(ThisProcess(), EditionText(L"This selection is actually using by other Mode",
                                                    L"Volba je již používána jiným režimem"),
                         SETTING_VALUE, MB_ICONINFORMATION);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE3_CONNECTION), 0);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_CONNECTION), 1);
        SelectEntry(dialog, IDC_KDG1KY_MODE3_CONNECTION, 3);
        Click(dialog, IDC_KDG1KY_TEMPERATURE_REQUESTED);
        WaitForPostedMessages();
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_TEMPERATURE_REQUESTED));
        EXPECT_FALSE(IsChecked(dialog, IDC_KDG1KY_TEMPERATURE_CORRECTION));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_HUMIDITY_REQUESTED));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_CO2_REQUESTED));
        Click(dialog, IDC_KDG1KY_CO2_CORRECTION);
        WaitForPostedMessages();
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_TEMPERATURE_REQUESTED));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_CO2_CORRECTION));
        SelectEntry(dialog, IDC_KDG1KY_HUMIDITY_BARGRAPH, 0);
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_HUMIDITY_KIND)), EditionText(L"None", L"Žádný"));
        SelectEntry(dialog, IDC_KDG1KY_COLOR_HUMIDITY, 7);
        SelectEntry(dialog, IDC_KDG1KY_COLOR_RIGHT, 10);
        Click(dialog, IDC_KDG1KY_AUTO_CALIBRATION_OFF);
        WaitForPostedMessages();
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_AUTO_CALIBRATION_OFF));
        SelectEntry(dialog, IDC_KDG1KY_MODE1_SYMBOL1, 123);
        SelectEntry(dialog, IDC_KDG1KY_MODE1_SYMBOL2, 7);
        SelectEntry(dialog, IDC_KDG1KY_MODE3_SYMBOL16, 151);
        SelectEntry(dialog, IDC_KDG1KY_ACTIVE_TIME, 11);
        SelectEntry(dialog, IDC_KDG1KY_BAUD, 6);
        SelectEntry(dialog, IDC_KDG1KY_PARITY, 1);
        TypeInto(dialog, IDC_KDG1KY_TEXT, "Hall");
        Click(dialog, IDC_KDG1KY_SAVE);
        DeleteFileA(path.c_str());
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        std::map<int, std::string> fields = DefaultFileFields();
        fields[35] = "60s";
        fields[29] = "22";
        fields[49] = "0106";
        fields[36] = "00626";  // 0x272
        fields[37] = "02611";  // 0xA33
        fields[39] = "2";
        fields[68] = "01025";
        fields[69] = "01024";
        fields[73] = "00003";
        fields[84] = "1";
        fields[88] = "3";
        fields[92] = "123";
        fields[93] = "07";
        fields[139] = "151";
        EXPECT_EQ(ReadFileBytes(path), SettingsFile("KDG1KY", fields, "Hall\0\0\0\0\0\0\0\0\0\0\0\0"));

        // Back to the defaults, then the file opened again shows what it holds.
        Click(dialog, IDC_KDG1KY_DEFAULT);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_TEXT) == "KDG1KY Dolvan   "; }));
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_SYMBOL1), 0);
        Click(dialog, IDC_KDG1KY_OPEN);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_TEXT) == "Hall"; }));
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_SYMBOL1), 123);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_SYMBOL2), 7);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE3_SYMBOL16), 151);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_HUMIDITY), 7);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_BAUD), 6);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_PARITY), 1);
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_ACTIVE_TIME), "60s");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_QUICK_MIDDLE)), EditionText(L"Mode 2 (M2)", L"Režim 2 (M2)"));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_AUTO_CALIBRATION_OFF));
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_TEMPERATURE_REQUESTED));
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE3_CONNECTION), 3);
        Click(dialog, IDC_KDG1KY_SAVE);
        DeleteFileA(path.c_str());
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), SettingsFile("KDG1KY", fields, "Hall\0\0\0\0\0\0\0\0\0\0\0\0"));

        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_DUALSTATE));

        // Another model's file is refused and changes nothing.
        WriteFileBytes(other, SettingsFile("DMG1KY", DefaultFileFields(), "DMG1KY Dolvan   "));
        Click(dialog, IDC_KDG1KY_OPEN);
        ChooseFile(dialog, other);
        ExpectMessageBox(ThisProcess(), EditionText(L"KDG1KY device is not compatible with selected file.",
                                                    L"Konfigurační soubor není určen pro zařízení KDG1KY"),
                         EditionText(L"File Error", L"Chyba souboru"), MB_ICONERROR);
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_TEXT), "Hall");
        Click(dialog, IDC_KDG1KY_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
    DeleteFileA(other.c_str());
}

// Files with letters, empty fields and numbers of no list: nothing crashes, a field without a
// number keeps its value, the active-time and register-49 rules apply, and such words are saved
// as their decimal numbers, which load back the same.
TEST_F(LcdKdg1ky, BadFileLines)
{
    std::string path = TempPath("bad.dlc");
    std::string saved = TempPath("bad_saved.dlc");
    std::map<int, std::string> fields = DefaultFileFields();
    fields[35] = "15";      // "1" then not "0": 15 s, shown as the file has it
    fields[36] = "abc";     // no number: the colour word stays 0x222
    fields[37] = "";        // empty: stays 0x333
    fields[39] = "65535";   // every flag bit
    fields[49] = "9";       // one character, no such baud
    fields[29] = "15";      // no entry
    fields[85] = "20";      // more states than a mode has
    fields[92] = "999";     // no such pictogram
    fields[93] = "x";       // no number: stays 0
    fields[68] = "65535";
    WriteFileBytes(path, SettingsFile("KDG1KY", fields, "Bad file        "));
    INT_PTR result = RunDialog(IDD_KDG1KY, KDG1KYDlgProc, [&](HWND dialog) {
        WaitOpened(dialog);
        Click(dialog, IDC_KDG1KY_OPEN);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_TEXT) == "Bad file        "; }));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_ACTIVE_TIME), "15");
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_TEMPERATURE), 2);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_LEFT), 3);
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_MENU_DISABLE));
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_BAUD), 4);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_STATES), CB_ERR);
        EXPECT_EQ(EnabledStates(dialog, IDC_KDG1KY_MODE1_SYMBOL1), "0000000000000000");
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_SYMBOL1), CB_ERR);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_TEMPERATURE_BARGRAPH), 3);
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_TEMPERATURE_REQUESTED));
        Click(dialog, IDC_KDG1KY_SAVE);
        ChooseFile(dialog, saved);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(saved).size() == 2608; }));
        std::map<int, std::string> expected = fields;
        expected[36] = "00546";
        expected[37] = "00819";
        expected[49] = "0004";
        expected[93] = "00";
        EXPECT_EQ(ReadFileBytes(saved), SettingsFile("KDG1KY", expected, "Bad file        "));
        std::string bytes = ReadFileBytes(saved);
        for (int r = 0; r < 160; r++) {
            if (r >= 40 && r <= 47) continue;
            for (int k = 8; k < 14; k++) {
                char c = bytes[32 + 16 * r + k];
                EXPECT_TRUE(c == ' ' || c == '-' || c == '.' || c == ',' || c == 's' || (c >= '0' && c <= '9'))
                    << "line " << r;
            }
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);  // the close box
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
    DeleteFileA(saved.c_str());
}

// Words outside every list, read from the device: shown as nothing (or left as they were), written
// back unchanged, saved loadably. The close box ends the dialog with 1005 too.
TEST_F(LcdKdg1ky, DeviceWordsOutsideEveryList)
{
    std::map<int, WORD> seed = SeededRegisters();
    for (int r : {29, 30, 35, 36, 37, 39, 49, 68, 69, 73, 84, 85, 86, 87, 88, 89}) seed[r] = 0xFFFF;
    for (int r = 92; r <= 139; r++) seed[r] = 0xFFFF;
    seed[50] = 65535;  // 65536 steps
    seed[51] = 65535;
    std::string path = TempPath("words.dlc");
    int deviceId = AddKdg1kyDevice(seed);
    RunProgram([&] {
        HWND dialog = OpenWithDevice(deviceId);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_KDG1KY_ADDRESS) == "17"; })) << "nothing read";
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_SYMBOL1), CB_ERR);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_MODE1_CONNECTION), CB_ERR);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_COLOR_LEFT), CB_ERR);
        EXPECT_EQ(Selected(dialog, IDC_KDG1KY_BAUD), CB_ERR);
        EXPECT_TRUE(IsChecked(dialog, IDC_KDG1KY_MENU_DISABLE));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_KDG1KY_TEMPERATURE_KIND)), EditionText(L"Constant", L"Konstantní"));
        EXPECT_EQ(ItemText(dialog, IDC_KDG1KY_STEPS), "65536");
        EXPECT_EQ(EnabledStates(dialog, IDC_KDG1KY_MODE1_SYMBOL1), "0000000000000000");
        Click(dialog, IDC_KDG1KY_SAVE);
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        std::string bytes = ReadFileBytes(path);
        EXPECT_EQ(bytes.substr(32 + 16 * 39 + 8, 6), "65535 ");
        EXPECT_EQ(bytes.substr(32 + 16 * 49 + 8, 6), "65535 ");
        EXPECT_EQ(bytes.substr(32 + 16 * 92 + 8, 6), "65535 ");
        EXPECT_EQ(bytes.substr(32 + 16 * 85 + 8, 6), "65535 ");
        EXPECT_EQ(bytes.substr(32 + 16 * 50 + 8, 6), "65535 ");
        EXPECT_EQ(bytes.substr(32 + 16 * 51 + 8, 6), "65535 ");
        Click(dialog, IDC_KDG1KY_WRITE);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), seed[r]) << "register " << r;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(MainWindowBack());
    });
    DeleteFileA(path.c_str());
}

// ---- The LCD room units as rows of one table: KDG1KY, DMG1KY, DMG1A, RMG1A

namespace {

// A control's text as the edition shows it (czech null: the same in both).
struct ShownText {
    int id;
    const wchar_t* english;
    const wchar_t* czech;
};

struct ShownEntry {
    int id;
    int entry;  // CB_ERR: no selection
};

// An edit field typed out of its bounds and what the tick makes of it (the same text: unchecked).
struct TickCase {
    int id;
    const char* typed;
    const char* corrected;
};

struct RoomModel {
    const char* name;  // designation, device name and caption
    int templateId;
    DLGPROC proc;
    const UnitBitmapTable* (*bitmaps)();
    int symbolCount;   // items of every state combo box
    int handleCount;   // bitmaps held while the dialog is open
    int read, write, open, save, defaults, cancel, text, address;
    int firstSymbols[3];
    int symbolStep;
    const char* openingText;
    const char* defaultText;                 // as Default shows it
    std::vector<std::pair<int, WORD>> seed;  // over SeededRegisters()
    std::vector<ShownText> shownTexts;       // after the read of the seeded device
    std::vector<ShownEntry> shownEntries;
    std::vector<std::pair<int, WORD>> factory;  // every register the dialog owns, as Default leaves it
    std::map<int, std::string> defaultFile;     // the value fields "Setting Save" writes after Default
    std::vector<ShownText> keptTexts;           // template texts the dialog leaves
    std::vector<TickCase> tickCases;            // in the tick's order
};

// Registers 40-47 of a 16-character text.
void PutTextRegisters(std::vector<std::pair<int, WORD>>* registers, const char* text16)
{
    for (int i = 0; i < 8; i++) registers->push_back({40 + i, (WORD)((BYTE)text16[2 * i] << 8 | (BYTE)text16[2 * i + 1])});
}

std::vector<std::pair<int, WORD>> FactoryRegisters(std::vector<std::pair<int, WORD>> own, const char* text16)
{
    own.insert(own.end(), {{8, 0}, {29, 10}, {30, 10}, {39, 0}, {48, 1}, {49, 4}, {50, 1}, {51, 65534},
                           {52, (WORD)-50}, {53, 50}, {68, 1}, {76, 0}});
    for (int r = 84; r <= 139; r++)
        if (r != 90 && r != 91) own.push_back({r, 0});
    PutTextRegisters(&own, text16);
    return own;
}

std::map<int, std::string> DefaultFile(std::map<int, std::string> own)
{
    std::map<int, std::string> fields = {
        {29, "10"}, {30, "10"}, {39, "0"}, {48, "1"}, {50, "00001"}, {51, "65534"}, {76, "0.0"}, {8, "0.0"},
        {52, "-5.0"}, {53, "5.0"}, {68, "00001"}, {84, "0"}, {86, "0"}, {88, "0"}, {85, "00"}, {87, "00"}, {89, "00"},
    };
    for (int r = 92; r <= 139; r++) fields[r] = "00";
    for (const auto& field : own) fields[field.first] = field.second;
    return fields;
}

const std::vector<std::pair<int, WORD>> HUMIDITY_FACTORY = {{9, 40}, {54, 20}, {55, 80}, {69, 0x402}, {77, 0}};
const std::map<int, std::string> HUMIDITY_FILE = {{9, "40"}, {54, "20"}, {55, "80"}, {69, "01026"}, {77, "0.0"}};

std::vector<std::pair<int, WORD>> Join(std::vector<std::pair<int, WORD>> a, const std::vector<std::pair<int, WORD>>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::map<int, std::string> Join(std::map<int, std::string> a, const std::map<int, std::string>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

const RoomModel ROOM_MODELS[] = {
    {"KDG1KY", IDD_KDG1KY, KDG1KYDlgProc, KDG1KYBitmapTable, 152, TABLE_ENTRIES, IDC_KDG1KY_READ, IDC_KDG1KY_WRITE,
     IDC_KDG1KY_OPEN, IDC_KDG1KY_SAVE, IDC_KDG1KY_DEFAULT, IDC_KDG1KY_CANCEL, IDC_KDG1KY_TEXT, IDC_KDG1KY_ADDRESS,
     {IDC_KDG1KY_MODE1_SYMBOL1, IDC_KDG1KY_MODE2_SYMBOL1, IDC_KDG1KY_MODE3_SYMBOL1}, 2, "Dolvan KDG1KY   ",
     "KDG1KY Dolvan   ", {},
     {{IDC_KDG1KY_BACKLIGHT, L"40", nullptr}, {IDC_KDG1KY_CO2_REQ, L"1200", nullptr}},
     {{IDC_KDG1KY_MODE1_SYMBOL1, 123}},
     FactoryRegisters(Join(HUMIDITY_FACTORY, {{13, 1000}, {33, 15}, {35, 5}, {36, 0x222}, {37, 0x333}, {62, 800}, {63, 2000},
                                              {64, 1000}, {65, 2000}, {73, 0x403}, {81, 0}}),
                      "KDG1KY Dolvan   "),
     DefaultFileFields(),
     {}},
    {"DMG1KY", IDD_DMG1KY, DMG1KYDlgProc, DMG1KYBitmapTable, 152, TABLE_ENTRIES, IDC_DMG1KY_READ, IDC_DMG1KY_WRITE,
     IDC_DMG1KY_OPEN, IDC_DMG1KY_SAVE, IDC_DMG1KY_DEFAULT, IDC_DMG1KY_CANCEL, IDC_DMG1KY_TEXT, IDC_DMG1KY_ADDRESS,
     {IDC_DMG1KY_MODE1_SYMBOL1, IDC_DMG1KY_MODE2_SYMBOL1, IDC_DMG1KY_MODE3_SYMBOL1}, 1, "Dolvan DMG1KY   ",
     "DMG1KY Dolvan    ", {},
     {{IDC_DMG1KY_BACKLIGHT, L"40", nullptr}, {IDC_DMG1KY_TEMPERATURE_REQ, L"21.5", nullptr},
      {IDC_DMG1KY_TEMPERATURE_LOW, L"-5.5", nullptr}, {IDC_DMG1KY_TEMPERATURE_HIGH, L"30.5", nullptr},
      {IDC_DMG1KY_HUMIDITY_REQ, L"-5", nullptr}, {IDC_DMG1KY_HUMIDITY_LOW, L"25", nullptr},
      {IDC_DMG1KY_HUMIDITY_HIGH, L"75", nullptr}, {IDC_DMG1KY_OFFSET_TEMPERATURE, L"-1.5", nullptr},
      {IDC_DMG1KY_OFFSET_HUMIDITY, L"2.5", nullptr}, {IDC_DMG1KY_BAUD, L" 9600Bd", nullptr},
      {IDC_DMG1KY_PARITY, L"even", nullptr}, {IDC_DMG1KY_STEPS, L"100", nullptr},
      {IDC_DMG1KY_FREQUENCY, L"8000.000000", nullptr}, {IDC_DMG1KY_PERIOD, L"0.125000", nullptr},
      {IDC_DMG1KY_QUICK_BOTTOM, L"Mode 2 (M2)", L"Režim 2 (M2)"},
      {IDC_DMG1KY_TEMPERATURE_KIND, L"Absolut", L"Absolutní"}, {IDC_DMG1KY_HUMIDITY_KIND, L"Constant", L"Konstantní"}},
     {{IDC_DMG1KY_ACTIVE_TIME, CB_ERR}, {IDC_DMG1KY_COLOR_TEMPERATURE, 3}, {IDC_DMG1KY_COLOR_HUMIDITY, 2},
      {IDC_DMG1KY_COLOR_LEFT, 8}, {IDC_DMG1KY_COLOR_RIGHT, 10}, {IDC_DMG1KY_MODE1_CONNECTION, 1},
      {IDC_DMG1KY_MODE2_CONNECTION, 3}, {IDC_DMG1KY_MODE2_STATES, 16}, {IDC_DMG1KY_MODE1_SYMBOL1, 123},
      {IDC_DMG1KY_MODE1_SYMBOL2, 7}, {IDC_DMG1KY_TEMPERATURE_BARGRAPH, 2}},
     FactoryRegisters(Join(HUMIDITY_FACTORY, {{33, 15}, {35, 5}, {36, 0x22}, {37, 0x333}}), "DMG1KY Dolvan   "),
     DefaultFile(Join(HUMIDITY_FILE, {{33, "15"}, {35, "5s"}, {36, "00034"}, {37, "00819"}, {49, "0004"}})),
     {{IDC_DMG1KY_SYMBOL_COLOR_LABEL, L"_________ Symbol _________", nullptr}, {IDC_DMG1KY_CANCEL, L"Cancel", nullptr},
      {IDC_DMG1KY_MODE3_SYMBOL16_LABEL, L"Symbol 16", nullptr}, {IDC_DMG1KY_SET, L"Set", L"Nastavit"},
      {IDC_DMG1KY_READ, L"Read DMG1KY", L"Načíst DMG1KY"}, {IDC_DMG1KY_MENU_DISABLE, L"Menu Disable", L"Menu nepřístupné"},
      {IDC_DMG1KY_TEMPERATURE_KIND, L"Relative", L"Relativní"}, {IDC_DMG1KY_HUMIDITY_KIND, L"Absolut", L"Absolutní"}},
     {{IDC_DMG1KY_BACKLIGHT, "101", "100"}, {IDC_DMG1KY_ADDRESS, "255", "254"},
      {IDC_DMG1KY_OFFSET_TEMPERATURE, "-20.1", "-20.0"}, {IDC_DMG1KY_OFFSET_HUMIDITY, "20.1", "20.0"},
      {IDC_DMG1KY_TEMPERATURE_REQ, "250.0", "200.0"}, {IDC_DMG1KY_TEMPERATURE_HIGH, "-25.0", "-20.0"},
      {IDC_DMG1KY_TEMPERATURE_LOW, "200.1", "200.0"}, {IDC_DMG1KY_HUMIDITY_REQ, "-101", "-100"},
      {IDC_DMG1KY_HUMIDITY_HIGH, "101", "100"}, {IDC_DMG1KY_HUMIDITY_LOW, "150", "100"}}},
    {"DMG1A", IDD_DMG1A, DMG1ADlgProc, DMG1ABitmapTable, 64, 69, IDC_DMG1A_READ, IDC_DMG1A_WRITE, IDC_DMG1A_OPEN,
     IDC_DMG1A_SAVE, IDC_DMG1A_DEFAULT, IDC_DMG1A_CANCEL, IDC_DMG1A_TEXT, IDC_DMG1A_ADDRESS,
     {IDC_DMG1A_MODE1_SYMBOL1, IDC_DMG1A_MODE2_SYMBOL1, IDC_DMG1A_MODE3_SYMBOL1}, 1, "Dolvan DMG1A    ",
     "DMG1A Dolvan    ", {{33, 110}, {93, 63}},
     {{IDC_DMG1A_CONTRAST, L"30", nullptr}, {IDC_DMG1A_TEMPERATURE_REQ, L"21.5", nullptr},
      {IDC_DMG1A_TEMPERATURE_LOW, L"-5.5", nullptr}, {IDC_DMG1A_HUMIDITY_REQ, L"-5", nullptr},
      {IDC_DMG1A_HUMIDITY_HIGH, L"75", nullptr}, {IDC_DMG1A_OFFSET_HUMIDITY, L"2.5", nullptr},
      {IDC_DMG1A_STEPS, L"100", nullptr}, {IDC_DMG1A_FREQUENCY, L"2020.202020", nullptr},
      {IDC_DMG1A_PERIOD, L"0.495000", nullptr}, {IDC_DMG1A_QUICK_BOTTOM, L"Mode 2 (M2)", L"Režim 2 (M2)"},
      {IDC_DMG1A_HUMIDITY_KIND, L"Constant", L"Konstantní"}},
     {{IDC_DMG1A_BAUD, CB_ERR}, {IDC_DMG1A_MODE1_SYMBOL1, CB_ERR}, {IDC_DMG1A_MODE1_SYMBOL2, 63},
      {IDC_DMG1A_MODE2_STATES, 16}, {IDC_DMG1A_TEMPERATURE_BARGRAPH, 2}},
     FactoryRegisters(Join(HUMIDITY_FACTORY, {{33, 110}}), "DMG1A Dolvan    "),
     DefaultFile(Join(HUMIDITY_FILE, {{33, "30"}, {49, "4"}})),
     {{IDC_DMG1A_LCD_GROUP, L"LCD", L"Kontrast LCD"}, {IDC_DMG1A_CONTRAST_LABEL, L"Contrast LCD", L"Kontrast LCD"},
      {IDC_DMG1A_CANCEL, L"Cancel", nullptr}, {IDC_DMG1A_MODE1_SYMBOL1_LABEL, L"Symbol 1", nullptr},
      {IDC_DMG1A_SET, L"Set", L"Nastavit"}, {IDC_DMG1A_WRITE, L"Write DMG1A", L"Zapsat DMG1A"}},
     {{IDC_DMG1A_CONTRAST, "46", "45"}, {IDC_DMG1A_ADDRESS, "0", "1"}, {IDC_DMG1A_OFFSET_TEMPERATURE, "25.0", "20.0"},
      {IDC_DMG1A_OFFSET_HUMIDITY, "-25.0", "-20.0"}, {IDC_DMG1A_TEMPERATURE_REQ, "250.0", "250.0"},
      {IDC_DMG1A_TEMPERATURE_LOW, "-99.9", "-99.9"}, {IDC_DMG1A_HUMIDITY_HIGH, "101", "101"}}},
    {"RMG1A", IDD_RMG1A, RMG1ADlgProc, RMG1ABitmapTable, 64, 69, IDC_RMG1A_READ, IDC_RMG1A_WRITE, IDC_RMG1A_OPEN,
     IDC_RMG1A_SAVE, IDC_RMG1A_DEFAULT, IDC_RMG1A_CANCEL, IDC_RMG1A_TEXT, IDC_RMG1A_ADDRESS,
     {IDC_RMG1A_MODE1_SYMBOL1, IDC_RMG1A_MODE2_SYMBOL1, IDC_RMG1A_MODE3_SYMBOL1}, 1, "Dolvan RMG1A    ",
     "RMG1A Dolvan    ", {{33, 110}, {29, 20}},
     {{IDC_RMG1A_CONTRAST, L"30", nullptr}, {IDC_RMG1A_TEMPERATURE_REQ, L"21.5", nullptr},
      {IDC_RMG1A_TEMPERATURE_HIGH, L"30.5", nullptr}, {IDC_RMG1A_OFFSET_TEMPERATURE, L"-1.5", nullptr},
      {IDC_RMG1A_STEPS, L"100", nullptr}, {IDC_RMG1A_FREQUENCY, L"2020.202020", nullptr},
      {IDC_RMG1A_QUICK_MIDDLE, L"Humidity (H)", L"Vlhkost (H)"},
      {IDC_RMG1A_QUICK_BOTTOM, L"Mode 2 (M2)", L"Režim 2 (M2)"}},
     {{IDC_RMG1A_BAUD, CB_ERR}, {IDC_RMG1A_MODE1_SYMBOL2, 7}, {IDC_RMG1A_MODE1_STATES, 5},
      {IDC_RMG1A_TEMPERATURE_BARGRAPH, 2}},
     FactoryRegisters({{33, 110}}, "RMG1A Dolvan    "),
     DefaultFile({{33, "30"}, {49, "4"}}),
     {{IDC_RMG1A_LCD_GROUP, L"LCD", L"Kontrast LCD"}, {IDC_RMG1A_SET, L"Nastavit", nullptr},
      {IDC_RMG1A_CANCEL, L"Cancel", nullptr}, {IDC_RMG1A_MODE3_SYMBOL16_LABEL, L"Symbol 16", nullptr},
      {IDC_RMG1A_READ, L"Read RMG1A", L"Načíst RMG1A"}},
     {{IDC_RMG1A_CONTRAST, "50", "45"}, {IDC_RMG1A_ADDRESS, "300", "254"}, {IDC_RMG1A_OFFSET_TEMPERATURE, "-30.0", "-20.0"},
      {IDC_RMG1A_TEMPERATURE_REQ, "250.0", "200.0"}, {IDC_RMG1A_TEMPERATURE_HIGH, "-25.0", "-20.0"},
      {IDC_RMG1A_TEMPERATURE_LOW, "201.0", "200.0"}}},
};

std::string FileField(const std::string& file, int r);
std::string SaveSettings(HWND dialog, int saveId, const std::string& path);

std::wstring Shown(const ShownText& text)
{
    return text.czech ? EditionText(text.english, text.czech) : std::wstring(text.english);
}

std::map<int, WORD> RoomSeed(const RoomModel& m)
{
    std::map<int, WORD> seed = SeededRegisters();
    for (const auto& r : m.seed) seed[r.first] = r.second;
    return seed;
}

std::string RoomModelName(const ::testing::TestParamInfo<RoomModel>& info)
{
    return info.param.name;
}

}  // namespace

class LcdRoomTables : public LcdUnits, public ::testing::WithParamInterface<RoomModel> {};
class LcdRoomDevices : public LcdRoomTables {};

// Off-line: Read and Write disabled, the opening defaults and the kept template texts; Default
// then Save byte for byte; the file opened back over other values; refused files change nothing;
// Esc and Enter do nothing, Cancel ends with 1005.
TEST_P(LcdRoomTables, OfflineDefaultSaveOpenAndRefusedFiles)
{
    const RoomModel& m = GetParam();
    std::string path = TempPath((std::string(m.name) + ".dlc").c_str());
    std::string empty = TempPath("empty.dlc");
    std::string shortFile = TempPath("short.dlc");
    std::string other = TempPath("other.dlc");
    DeleteFileA(path.c_str());
    WriteFileBytes(empty, "");
    std::string otherModel = SettingsFile(strcmp(m.name, "DMG1A") == 0 ? "DMG1KY" : "DMG1A", {{48, "9"}}, "Other model     ");
    WriteFileBytes(shortFile, otherModel.substr(0, 2607));
    WriteFileBytes(other, otherModel);
    std::string saved(m.defaultText, 16);
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        WaitOpened(dialog, m.read);
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.read)));
        EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, m.write)));
        EXPECT_EQ(ItemText(dialog, m.text), m.openingText);
        EXPECT_EQ(GetText(dialog), std::wstring(m.name, m.name + strlen(m.name)));
        for (const ShownText& kept : m.keptTexts) EXPECT_EQ(GetText(GetDlgItem(dialog, kept.id)), Shown(kept)) << kept.id;
        for (int mode = 0; mode < 3; mode++) EXPECT_EQ(EnabledStates(dialog, m.firstSymbols[mode], m.symbolStep), std::string(16, '0'));

        for (WPARAM key : {(WPARAM)VK_ESCAPE, (WPARAM)VK_RETURN}) {
            RunOnUiThread([&] {
                MSG down = {dialog, WM_KEYDOWN, key, 0};
                IsDialogMessageW(dialog, &down);
            });
            WaitForPostedMessages();
            EXPECT_TRUE(IsWindow(dialog));
        }

        TypeInto(dialog, m.address, "77");
        Click(dialog, m.defaults);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        Click(dialog, m.save);
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), SettingsFile(m.name, m.defaultFile, saved.c_str()));

        // Opened over other values: the file's values come back, and save the same again.
        TypeInto(dialog, m.address, "77");
        TypeInto(dialog, m.text, "Changed");
        SelectEntry(dialog, m.firstSymbols[2] + 15 * m.symbolStep, 5);
        Click(dialog, m.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == saved; }));
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        EXPECT_EQ(Selected(dialog, m.firstSymbols[2] + 15 * m.symbolStep), 0);
        DeleteFileA(path.c_str());
        Click(dialog, m.save);
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; }));
        EXPECT_EQ(ReadFileBytes(path), SettingsFile(m.name, m.defaultFile, saved.c_str()));

        std::wstring designation(m.name, m.name + strlen(m.name));
        const struct {
            const std::string* path;
            std::wstring text;
        } refused[] = {
            {&empty, EditionText(L"File read error", L"Chyba načteni souboru")},
            {&shortFile, EditionText(L"File is damaged", L"Soubor je poškozený")},
            {&other, EditionText((designation + L" device is not compatible with selected file.").c_str(),
                                 (L"Konfigurační soubor není určen pro zařízení " + designation).c_str())},
        };
        for (const auto& r : refused) {
            Click(dialog, m.open);
            ChooseFile(dialog, *r.path);
            ExpectMessageBox(ThisProcess(), r.text, EditionText(L"File Error", L"Chyba souboru"), MB_ICONERROR);
            EXPECT_EQ(ItemText(dialog, m.address), "1");
        }
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    for (const std::string* p : {&path, &empty, &shortFile, &other}) DeleteFileA(p->c_str());
}

// Through CONFIG on the model's device: the automatic guarded read shows every register with its
// coding; Write sends everything back as read; after Default, Write stores the defaults in every
// register the dialog owns and leaves all others as the device had them. The close box gives 1005.
TEST_P(LcdRoomDevices, ReadShowsWriteStoresOnlyOwnRegisters)
{
    const RoomModel& m = GetParam();
    std::map<int, WORD> seed = RoomSeed(m);
    int deviceId = AddKdg1kyDevice(seed, m.name);
    RunProgram([&] {
        HWND dialog = OpenWithDevice(deviceId, m.name, m.read);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "17"; })) << "nothing read";
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(ItemText(dialog, m.text), "Room unit 12 abc");
        for (const ShownText& shown : m.shownTexts) EXPECT_EQ(GetText(GetDlgItem(dialog, shown.id)), Shown(shown)) << shown.id;
        for (const ShownEntry& shown : m.shownEntries) EXPECT_EQ(Selected(dialog, shown.id), shown.entry) << shown.id;
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));

        Click(dialog, m.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), seed[r]) << "register " << r;

        Click(dialog, m.defaults);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), seed[r]) << "register " << r;
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 3));
        std::map<int, WORD> expected = seed;
        for (const auto& r : m.factory) expected[r.first] = r.second;
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), expected[r]) << "register " << r;
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(MainWindowBack());
    }, 40000);
}

// The unit's menu open: the automatic read is refused once and the opening defaults stay.
TEST_P(LcdRoomDevices, RefusedReadAtOpeningKeepsDefaults)
{
    const RoomModel& m = GetParam();
    int deviceId = AddKdg1kyDevice(RoomSeed(m), m.name);
    SetStatusWord(deviceId, STATUS_MENU_ACTIVE);
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000)) << "no connection";
        WaitUntil([&] { return strncmp(g_deviceNameText + 2, m.name, strlen(m.name)) == 0; }, 5000);
        PostClick(g_configButton);
        ExpectMessageBox(ThisProcess(),
                         EditionText(L"Data can not be read, menu is active.",
                                     L"Nelze načíst data pokud je aktivní uživatelské menu."),
                         L"SET info", MB_ICONINFORMATION, 10000);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read, 10000);
        ASSERT_NE(dialog, nullptr);
        WaitOpened(dialog, m.read);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_EQ(ItemText(dialog, m.text), m.openingText);
        EXPECT_EQ(ItemText(dialog, m.address), "1");
        EXPECT_EQ(CountFeatureCommands(deviceId, CMD_CONFIG_BEGIN), 0);
        Click(dialog, m.cancel);
        EXPECT_TRUE(MainWindowBack());
    });
}

// Every state combo box lists the model's pictograms; every handle of the design's table is a live
// bitmap while the dialog is open and released when it closes.
TEST_P(LcdRoomTables, PictogramListsAndHandlesReleased)
{
    const RoomModel& m = GetParam();
    std::vector<HBITMAP> recorded;
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        WaitOpened(dialog, m.read);
        const UnitBitmapTable* table = m.bitmaps();
        recorded.push_back(table->mask);
        recorded.insert(recorded.end(), table->colors, table->colors + table->colorCount);
        recorded.insert(recorded.end(), table->bargraphs, table->bargraphs + table->bargraphCount);
        recorded.insert(recorded.end(), table->symbols, table->symbols + table->symbolCount);
        EXPECT_EQ(recorded.size(), (size_t)m.handleCount);
        for (HBITMAP handle : recorded) EXPECT_EQ(GetObjectType(handle), (DWORD)OBJ_BITMAP);
        std::map<int, DWORD> styles = TemplateStyles(m.templateId);
        for (int mode = 0; mode < 3; mode++) {
            for (int state = 0; state < 16; state++) {
                int id = m.firstSymbols[mode] + state * m.symbolStep;
                EXPECT_EQ(SendMessageW(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0), m.symbolCount) << id;
                EXPECT_EQ(styles[id], (DWORD)PICTOGRAM_COMBO_STYLE) << id;
            }
        }
        HWND last = GetDlgItem(dialog, m.firstSymbols[2] + 15 * m.symbolStep);
        EXPECT_EQ((HBITMAP)SendMessageW(last, CB_GETITEMDATA, m.symbolCount - 1, 0), table->symbols[m.symbolCount - 1]);
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    for (HBITMAP handle : recorded) EXPECT_EQ(GetObjectType(handle), 0u) << "a bitmap was kept";
    EXPECT_EQ(m.bitmaps()->mask, nullptr);
}

namespace {

// The registers a model keeps as words of its lists, check boxes and radios (not as edit texts).
std::vector<int> ListWordRegisters(const RoomModel& m)
{
    const std::set<int> FIELD_REGISTERS = {8, 9, 13, 33, 48, 52, 53, 54, 55, 62, 63, 64, 65, 76, 77, 81};
    std::vector<int> words;
    for (const auto& r : m.factory)
        if ((r.first < 40 || r.first > 47) && FIELD_REGISTERS.count(r.first) == 0) words.push_back(r.first);
    return words;
}

}  // namespace

// Every list word of the device outside its list: shown as no entry or left as it was, saved as
// numbers, and written back unchanged.
TEST_P(LcdRoomDevices, DeviceWordsOutsideEveryListGoBackUnchanged)
{
    const RoomModel& m = GetParam();
    std::map<int, WORD> seed = RoomSeed(m);
    for (int r : ListWordRegisters(m)) seed[r] = 0xFFFF;
    std::string path = TempPath((std::string(m.name) + "_words.dlc").c_str());
    int deviceId = AddKdg1kyDevice(seed, m.name);
    RunProgram([&] {
        HWND dialog = OpenWithDevice(deviceId, m.name, m.read);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "17"; })) << "nothing read";
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(Selected(dialog, m.firstSymbols[0]), CB_ERR);
        EXPECT_EQ(EnabledStates(dialog, m.firstSymbols[0], m.symbolStep), std::string(16, '0'));
        std::string file = SaveSettings(dialog, m.save, path);
        for (int r : ListWordRegisters(m)) {
            if (r == 35) continue;  // the active-time line is the list's text
            EXPECT_EQ(FileField(file, r), "65535 ") << "line " << r;
        }
        Click(dialog, m.write);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        for (int r = 0; r < SIM_REGISTER_COUNT; r++) EXPECT_EQ(DeviceRegister(deviceId, r), seed[r]) << "register " << r;
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, m.cancel);
        EXPECT_TRUE(MainWindowBack());
    }, 30000);
    DeleteFileA(path.c_str());
}

// A file whose list lines hold letters or nothing: each value stays as it was, so the file saved
// again is the defaults'.
TEST_P(LcdRoomTables, FileLinesWithoutNumbersKeepTheValues)
{
    const RoomModel& m = GetParam();
    std::string path = TempPath((std::string(m.name) + "_letters.dlc").c_str());
    std::string saved = TempPath((std::string(m.name) + "_letters_saved.dlc").c_str());
    std::map<int, std::string> fields = m.defaultFile;
    bool letters = true;
    for (int r : ListWordRegisters(m)) {
        if (r == 35) continue;
        fields[r] = letters ? "abc" : "";
        letters = !letters;
    }
    WriteFileBytes(path, SettingsFile(m.name, fields, "Bad lines       "));
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        WaitOpened(dialog, m.read);
        Click(dialog, m.defaults);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == m.defaultText; }));
        Click(dialog, m.open);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.text) == "Bad lines       "; }));
        EXPECT_EQ(SaveSettings(dialog, m.save, saved), SettingsFile(m.name, m.defaultFile, "Bad lines       "));
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
    DeleteFileA(saved.c_str());
}

// Fields out of bounds at once: the tick rewrites the checked ones in its order with one range
// message each, and leaves the unchecked ones as typed.
TEST_P(LcdRoomTables, TickHoldsFieldsToBoundsInOrder)
{
    const RoomModel& m = GetParam();
    std::vector<int> ids;
    std::vector<std::vector<std::string>> expected;
    std::vector<std::string> texts;
    for (const TickCase& c : m.tickCases) {
        ids.push_back(c.id);
        texts.push_back(c.typed);
    }
    for (size_t k = 0; k < m.tickCases.size(); k++) {
        if (strcmp(m.tickCases[k].typed, m.tickCases[k].corrected) == 0) continue;
        texts[k] = m.tickCases[k].corrected;
        expected.push_back(texts);
    }
    INT_PTR result = RunDialog(m.templateId, m.proc, [&](HWND dialog) {
        WaitOpened(dialog, m.read);
        {
            TextsAtEachBox boxes(dialog, ids);
            RunOnUiThread([&] {
                for (const TickCase& c : m.tickCases) SetDlgItemTextA(dialog, c.id, c.typed);
            });
            for (size_t box = 0; box < expected.size(); box++) {
                MessageBoxRecord range;
                ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &range));
                EXPECT_EQ(range.text, L"Hodnota mimo rozsah");
                AnswerMessageBox(range);
            }
            WaitForPostedMessages();
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
            EXPECT_EQ(boxes.Seen(), expected);
        }
        for (const TickCase& c : m.tickCases) EXPECT_EQ(ItemText(dialog, c.id), c.corrected);
        Click(dialog, m.cancel);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

INSTANTIATE_TEST_SUITE_P(Models, LcdRoomTables, ::testing::ValuesIn(ROOM_MODELS), RoomModelName);
INSTANTIATE_TEST_SUITE_P(Models, LcdRoomDevices, ::testing::ValuesIn(ROOM_MODELS), RoomModelName);

// ---- What each room unit has of its own

namespace {

const wchar_t STEPS_RANGE_EN[] = L"Number of steps is out of range";
const wchar_t STEPS_RANGE_CZ[] = L"Hodnota počtu krokù je mimo rozsah";

std::wstring SettingValueCaption()
{
    return EditionText(L"Setting value", L"Nastavená hodnota");
}

// The value field of one settings-file line.
std::string FileField(const std::string& file, int r)
{
    return file.substr(32 + 16 * r + 8, 6);
}

// Saves the dialog's settings into `path` and returns the file.
std::string SaveSettings(HWND dialog, int saveId, const std::string& path)
{
    DeleteFileA(path.c_str());
    Click(dialog, saveId);
    ChooseFile(dialog, path);
    if (!WaitUntil([&] { return ReadFileBytes(path).size() == 2608; })) return "";
    return ReadFileBytes(path);
}

// Answers the value-range message of the tick and the messages that follow it.
void AnswerRangeMessages()
{
    MessageBoxRecord box;
    ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
    EXPECT_EQ(box.text, L"Hodnota mimo rozsah");
    AnswerMessageBox(box);
}

}  // namespace

class LcdDmg1ky : public LcdUnits {};
class LcdDmg1a : public LcdUnits {};
class LcdRmg1a : public LcdUnits {};

// A menu word of 2 shows checked and a click makes it 3; a colour word with a nibble of no swatch
// and a colour chosen for the right symbol; the four bargraph radios of one template group, each
// click leaving the other pair as its word says; the 8 MHz output read from r50 2 and r51 65533.
TEST_F(LcdDmg1ky, MenuWordColorsRadioPairsAndOutputRead)
{
    std::map<int, WORD> seed = SeededRegisters();
    seed[39] = 2;
    seed[36] = 0x2B;
    seed[37] = 0x333;
    seed[50] = 2;
    seed[51] = 65533;
    int deviceId = AddKdg1kyDevice(seed, "DMG1KY");
    RunProgram([&] {
        HWND dialog = OpenWithDevice(deviceId, "DMG1KY", IDC_DMG1KY_READ);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG1KY_ADDRESS) == "17"; })) << "nothing read";
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG1KY_MENU_DISABLE));
        EXPECT_EQ(Selected(dialog, IDC_DMG1KY_COLOR_TEMPERATURE), CB_ERR);
        EXPECT_EQ(Selected(dialog, IDC_DMG1KY_COLOR_HUMIDITY), 2);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1KY_STEPS), "3");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1KY_FREQUENCY), "40.691346");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1KY_PERIOD), "24.575250");

        Click(dialog, IDC_DMG1KY_MENU_DISABLE);
        WaitForPostedMessages();
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG1KY_MENU_DISABLE));
        SelectEntry(dialog, IDC_DMG1KY_COLOR_RIGHT, 10);

        // Words 0x402 (temperature, requested) and 0x003 (humidity, corrected); each click checks
        // its radio and shows the other pair as its word says.
        const int RADIOS[] = {IDC_DMG1KY_TEMPERATURE_CORRECTION, IDC_DMG1KY_TEMPERATURE_REQUESTED,
                              IDC_DMG1KY_HUMIDITY_CORRECTION, IDC_DMG1KY_HUMIDITY_REQUESTED};
        auto radios = [&] {
            std::string states;
            for (int id : RADIOS) states += IsChecked(dialog, id) ? '1' : '0';
            return states;
        };
        EXPECT_EQ(radios(), "0110");
        const struct {
            int click;
            const char* states;
        } CLICKS[] = {{RADIOS[0], "1010"}, {RADIOS[3], "1001"}, {RADIOS[1], "0101"},
                      {RADIOS[2], "0110"}, {RADIOS[0], "1010"}, {RADIOS[3], "1001"}};
        for (const auto& c : CLICKS) {
            Click(dialog, c.click);
            WaitForPostedMessages();
            EXPECT_EQ(radios(), c.states) << c.click;
        }

        Click(dialog, IDC_DMG1KY_WRITE);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        EXPECT_EQ(DeviceRegister(deviceId, 39), 3);
        EXPECT_EQ(DeviceRegister(deviceId, 36), 0x2B);
        EXPECT_EQ(DeviceRegister(deviceId, 37), 0xA33);
        EXPECT_EQ(DeviceRegister(deviceId, 68), 0x002);
        EXPECT_EQ(DeviceRegister(deviceId, 69), 0x403);
        EXPECT_EQ(DeviceRegister(deviceId, 50), 2);
        EXPECT_EQ(DeviceRegister(deviceId, 51), 65533);
        Click(dialog, IDC_DMG1KY_CANCEL);
        EXPECT_TRUE(MainWindowBack());
    });
}

// The 8 MHz output off-line: "PWM output" starts at 3 steps and 40 Hz; "Set" with 1 Hz gives the
// lowest frequency with its message.
TEST_F(LcdDmg1ky, EightMegahertzOutput)
{
    std::string path = TempPath("dmg1ky_pwm.dlc");
    INT_PTR result = RunDialog(IDD_DMG1KY, DMG1KYDlgProc, [&](HWND dialog) {
        WaitOpened(dialog, IDC_DMG1KY_READ);
        Click(dialog, IDC_DMG1KY_PWM);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG1KY_FREQUENCY) == "40"; }));
        EXPECT_EQ(ItemText(dialog, IDC_DMG1KY_STEPS), "3");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1KY_PERIOD), "25.0000");
        TypeInto(dialog, IDC_DMG1KY_FREQUENCY, "1");
        Click(dialog, IDC_DMG1KY_SET);
        ExpectMessageBox(ThisProcess(),
                         EditionText(L"Requested frequency overflow minimal limit of range",
                                     L"Hodnota frekvence je menší než minimální hodnota rozsahu"),
                         SettingValueCaption(), MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1KY_FREQUENCY), "40.690725");
        std::string file = SaveSettings(dialog, IDC_DMG1KY_SAVE, path);
        EXPECT_EQ(FileField(file, 50), "00002 ");
        EXPECT_EQ(FileField(file, 51), "65534 ");
        Click(dialog, IDC_DMG1KY_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
}

// Register 49 in a file: one character is the baud alone, four are "0p0b", anything else is
// 19200 Bd without parity.
TEST_F(LcdDmg1ky, BaudParityFileRule)
{
    const struct {
        const char* field;
        int baud, parity;
    } CASES[] = {{"4", 4, 0}, {"2", 2, 0}, {"0104", 4, 1}, {"0206", 6, 2}, {"012345", 4, 0}, {"012", 4, 0}};
    std::string path = TempPath("dmg1ky_baud.dlc");
    INT_PTR result = RunDialog(IDD_DMG1KY, DMG1KYDlgProc, [&](HWND dialog) {
        WaitOpened(dialog, IDC_DMG1KY_READ);
        for (const auto& c : CASES) {
            SCOPED_TRACE(c.field);
            SelectEntry(dialog, IDC_DMG1KY_BAUD, 5);
            SelectEntry(dialog, IDC_DMG1KY_PARITY, 1);
            WriteFileBytes(path, SettingsFile("DMG1KY", {{49, c.field}, {48, c.field}}, "Baud            "));
            Click(dialog, IDC_DMG1KY_OPEN);
            ChooseFile(dialog, path);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG1KY_ADDRESS) == c.field; }));
            EXPECT_EQ(Selected(dialog, IDC_DMG1KY_BAUD), c.baud);
            EXPECT_EQ(Selected(dialog, IDC_DMG1KY_PARITY), c.parity);
            TypeInto(dialog, IDC_DMG1KY_ADDRESS, "1");
        }
        Click(dialog, IDC_DMG1KY_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
}

// The contrast is the register less 80 and is held to 0..45; the requested values and limits are
// taken as typed, held to 16 bits, a "%d" field without a number keeping its own value; a baud word
// of no entry goes back as read.
TEST_F(LcdDmg1a, ContrastUncheckedFieldsAndBaudWord)
{
    std::map<int, WORD> seed = SeededRegisters();
    seed[33] = 110;
    seed[49] = 0x0104;
    int deviceId = AddKdg1kyDevice(seed, "DMG1A");
    std::string path = TempPath("dmg1a_typed.dlc");
    RunProgram([&] {
        HWND dialog = OpenWithDevice(deviceId, "DMG1A", IDC_DMG1A_READ);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG1A_ADDRESS) == "17"; })) << "nothing read";
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 1));
        EXPECT_EQ(ItemText(dialog, IDC_DMG1A_CONTRAST), "30");
        EXPECT_EQ(Selected(dialog, IDC_DMG1A_BAUD), CB_ERR);

        TypeInto(dialog, IDC_DMG1A_CONTRAST, "46");
        AnswerRangeMessages();
        EXPECT_EQ(ItemText(dialog, IDC_DMG1A_CONTRAST), "45");
        TypeInto(dialog, IDC_DMG1A_TEMPERATURE_REQ, "150.0");
        TypeInto(dialog, IDC_DMG1A_TEMPERATURE_LOW, "4000");
        TypeInto(dialog, IDC_DMG1A_TEMPERATURE_HIGH, "-4000");
        TypeInto(dialog, IDC_DMG1A_HUMIDITY_HIGH, "70000");
        TypeInto(dialog, IDC_DMG1A_HUMIDITY_REQ, "-101");
        TypeInto(dialog, IDC_DMG1A_HUMIDITY_LOW, "abc");
        WaitForPostedMessages();
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        EXPECT_EQ(ItemText(dialog, IDC_DMG1A_TEMPERATURE_LOW), "4000");

        Click(dialog, IDC_DMG1A_WRITE);
        ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
        EXPECT_EQ(DeviceRegister(deviceId, 33), 125);
        EXPECT_EQ(DeviceRegister(deviceId, 8), 1500);
        EXPECT_EQ(DeviceRegister(deviceId, 52), 32767);
        EXPECT_EQ(DeviceRegister(deviceId, 53), (WORD)-32768);
        EXPECT_EQ(DeviceRegister(deviceId, 55), 32767);
        EXPECT_EQ(DeviceRegister(deviceId, 9), (WORD)-101);
        EXPECT_EQ(DeviceRegister(deviceId, 54), 25) << "the field's own value";
        EXPECT_EQ(DeviceRegister(deviceId, 49), 0x0104);
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));

        std::string file = SaveSettings(dialog, IDC_DMG1A_SAVE, path);
        EXPECT_EQ(FileField(file, 33), "45    ");
        EXPECT_EQ(FileField(file, 8), "150.0 ");
        EXPECT_EQ(FileField(file, 49), "260   ");
        Click(dialog, IDC_DMG1A_CANCEL);
        EXPECT_TRUE(MainWindowBack());
    });
    DeleteFileA(path.c_str());
}

// The 2 MHz output off-line: "PWM output", the steps check once the field loses the focus, "Set"
// above the highest frequency.
TEST_F(LcdDmg1a, TwoMegahertzOutputAndStepsCheck)
{
    INT_PTR result = RunDialog(IDD_DMG1A, DMG1ADlgProc, [&](HWND dialog) {
        WaitOpened(dialog, IDC_DMG1A_READ);
        Click(dialog, IDC_DMG1A_PWM);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG1A_FREQUENCY) == "15"; }));
        EXPECT_EQ(ItemText(dialog, IDC_DMG1A_STEPS), "3");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1A_PERIOD), "66.6667");
        // Typed with the focus in the field and a tick at once, all on the UI thread; read there
        // too, since another program may take the focus before the next step and a real tick
        // would then rightly check the field.
        std::string typed;
        RunOnUiThread([&] {
            SetFocus(GetDlgItem(dialog, IDC_DMG1A_STEPS));
            SetDlgItemTextA(dialog, IDC_DMG1A_STEPS, "2");
            SendMessageW(dialog, WM_TIMER, TICK_TIMER_ID, 0);
            typed = ItemText(dialog, IDC_DMG1A_STEPS);
        });
        EXPECT_EQ(typed, "2");
        PostTickWithFocusOn(dialog, IDC_DMG1A_ADDRESS);
        ExpectMessageBox(ThisProcess(), EditionText(STEPS_RANGE_EN, STEPS_RANGE_CZ), SettingValueCaption(), MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1A_STEPS), "3");
        TypeInto(dialog, IDC_DMG1A_STEPS, "4");
        TypeInto(dialog, IDC_DMG1A_FREQUENCY, "20000");
        Click(dialog, IDC_DMG1A_SET);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG1A_FREQUENCY) == "19607.843137"; }));
        EXPECT_EQ(ItemText(dialog, IDC_DMG1A_PERIOD), "0.051000");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, IDC_DMG1A_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}

// File lines of DMG1A: the baud is the whole word; 16 states enable every state combo box of the
// mode, 17 none and select no entry.
TEST_F(LcdDmg1a, FileBaudAndNumberOfStates)
{
    const struct {
        const char* baud;
        const char* states;
        const char* text;
        const wchar_t* baudText;
        int statesEntry;
        const char* enabled;
    } CASES[] = {
        {"3", "16", "Sixteen         ", L" 9600Bd", 16, "1111111111111111"},
        {"6", "17", "Seventeen       ", L"57600Bd", CB_ERR, "0000000000000000"},
        {"x", "05", "Five            ", L"57600Bd", 5, "1111100000000000"},  // no number: the baud stays
    };
    std::string path = TempPath("dmg1a_states.dlc");
    INT_PTR result = RunDialog(IDD_DMG1A, DMG1ADlgProc, [&](HWND dialog) {
        WaitOpened(dialog, IDC_DMG1A_READ);
        for (const auto& c : CASES) {
            SCOPED_TRACE(c.states);
            WriteFileBytes(path, SettingsFile("DMG1A", {{49, c.baud}, {85, c.states}}, c.text));
            Click(dialog, IDC_DMG1A_OPEN);
            ChooseFile(dialog, path);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG1A_TEXT) == c.text; }));
            EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG1A_BAUD)), c.baudText);
            EXPECT_EQ(Selected(dialog, IDC_DMG1A_MODE1_STATES), c.statesEntry);
            EXPECT_EQ(EnabledStates(dialog, IDC_DMG1A_MODE1_SYMBOL1, 1), c.enabled);
        }
        Click(dialog, IDC_DMG1A_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
}

// A device r50 of 0 on the 2 MHz models: no frequency or period is shown. DMG1A's tick turns the
// steps into 3; RMG1A keeps them until "Set", which applies the rule first and then computes.
// Nothing but whole numbers reaches the device.
TEST_F(LcdRmg1a, ZeroStepsFactorOnBothTwoMegahertzModels)
{
    const struct {
        const char* name;
        int read, write, steps, frequency, period, set, cancel, address;
        bool tickCorrects;
    } MODELS[] = {
        {"DMG1A", IDC_DMG1A_READ, IDC_DMG1A_WRITE, IDC_DMG1A_STEPS, IDC_DMG1A_FREQUENCY, IDC_DMG1A_PERIOD, IDC_DMG1A_SET,
         IDC_DMG1A_CANCEL, IDC_DMG1A_ADDRESS, true},
        {"RMG1A", IDC_RMG1A_READ, IDC_RMG1A_WRITE, IDC_RMG1A_STEPS, IDC_RMG1A_FREQUENCY, IDC_RMG1A_PERIOD, IDC_RMG1A_SET,
         IDC_RMG1A_CANCEL, IDC_RMG1A_ADDRESS, false},
    };
    const std::wstring STEPS_RANGE = EditionText(STEPS_RANGE_EN, STEPS_RANGE_CZ);
    for (const auto& m : MODELS) {
        SCOPED_TRACE(m.name);
        SimResetDevices();
        ResetProgramRecords();
        std::map<int, WORD> seed = SeededRegisters();
        seed[33] = 110;
        seed[50] = 0;
        seed[51] = 5;
        int deviceId = AddKdg1kyDevice(seed, m.name);
        RunProgram([&] {
            ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000));
            WaitUntil([&] { return strncmp(g_deviceNameText + 2, m.name, strlen(m.name)) == 0; }, 5000);
            PostClick(g_configButton);
            if (m.tickCorrects) ExpectMessageBox(ThisProcess(), STEPS_RANGE, SettingValueCaption(), MB_ICONINFORMATION, 10000);
            HWND dialog = WaitForDialogWithControl(ThisProcess(), m.read, 10000);
            ASSERT_NE(dialog, nullptr);
            WaitOpened(dialog, m.read);
            ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, m.address) == "17"; }));
            EXPECT_EQ(ItemText(dialog, m.frequency), "");
            EXPECT_EQ(ItemText(dialog, m.period), "");
            EXPECT_EQ(ItemText(dialog, m.steps), m.tickCorrects ? "3" : "1");
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
            TypeInto(dialog, m.frequency, "1000");
            Click(dialog, m.set);
            if (!m.tickCorrects) ExpectMessageBox(ThisProcess(), STEPS_RANGE, SettingValueCaption(), MB_ICONINFORMATION);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, m.frequency) == "1000.000000"; }));
            EXPECT_EQ(ItemText(dialog, m.steps), "3");
            EXPECT_EQ(ItemText(dialog, m.period), m.tickCorrects ? "1.000000" : "1.0000");
            Click(dialog, m.write);
            ASSERT_TRUE(WaitForCommands(deviceId, CMD_CONFIG_END, 2));
            EXPECT_EQ(DeviceRegister(deviceId, 50), 2);
            EXPECT_EQ(DeviceRegister(deviceId, 51), 999);
            Click(dialog, m.cancel);
            EXPECT_TRUE(MainWindowBack());
        });
    }
}

// Quick access of RMG1A: five entries and their codes; an entry of a mode without states shows
// that mode's message and falls back to "Not active( )"; the other button is never touched.
TEST_F(LcdRmg1a, QuickAccessCodesAndModeMessages)
{
    const std::wstring MODE_MESSAGES[] = {
        EditionText(L"Number of steps for Mode 1 (M1) is zero. Setting will be preset to None( ).",
                    L"Režim 1 (M1) má zvolen nulový počet stavů. Předvolba bude přenastavena na Neaktivní( )."),
        EditionText(L"Number of steps for Mode 2 (M2) is zero. Setting will be preset to None( ).",
                    L"Režim 2 (M2) má zvolen nulový počet stavů. Předvolba bude přenastavena na Neaktivní( )."),
        EditionText(L"Number of steps for Mode 3 (M3) is zero. Setting will be preset to None( ).",
                    L"Režim 3 (M3) má zvolen nulový počet stavů. Předvolba bude přenastavena na Neaktivní( )."),
    };
    const int BUTTONS[] = {IDC_RMG1A_QUICK_MIDDLE, IDC_RMG1A_QUICK_BOTTOM};
    const int LINES[] = {29, 30};
    const int STATES[] = {IDC_RMG1A_MODE1_STATES, IDC_RMG1A_MODE2_STATES, IDC_RMG1A_MODE3_STATES};
    std::string path = TempPath("rmg1a_quick.dlc");
    INT_PTR result = RunDialog(IDD_RMG1A, RMG1ADlgProc, [&](HWND dialog) {
        WaitOpened(dialog, IDC_RMG1A_READ);
        EXPECT_EQ(SendMessageW(GetDlgItem(dialog, IDC_RMG1A_QUICK_MIDDLE), CB_GETCOUNT, 0, 0), 5);
        for (int b = 0; b < 2; b++) {
            SCOPED_TRACE(b);
            int other = 1 - b;
            SelectEntry(dialog, BUTTONS[other], 1);
            SelectEntry(dialog, BUTTONS[b], 1);
            EXPECT_EQ(FileField(SaveSettings(dialog, IDC_RMG1A_SAVE, path), LINES[b]), "19    ");
            for (int mode = 0; mode < 3; mode++) {
                SelectEntry(dialog, BUTTONS[b], 2 + mode);
                ExpectMessageBox(ThisProcess(), MODE_MESSAGES[mode], SettingValueCaption(), MB_ICONINFORMATION);
                EXPECT_EQ(Selected(dialog, BUTTONS[b]), 0);
                std::string file = SaveSettings(dialog, IDC_RMG1A_SAVE, path);
                EXPECT_EQ(FileField(file, LINES[b]), "10    ");
                EXPECT_EQ(FileField(file, LINES[other]), "19    ");
            }
            for (int mode = 0; mode < 3; mode++) SelectEntry(dialog, STATES[mode], 1);
            for (int mode = 0; mode < 3; mode++) {
                SelectEntry(dialog, BUTTONS[b], 2 + mode);
                EXPECT_EQ(FileField(SaveSettings(dialog, IDC_RMG1A_SAVE, path), LINES[b]), std::to_string(21 + mode) + "    ");
            }
            for (int mode = 0; mode < 3; mode++) SelectEntry(dialog, STATES[mode], 0);
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        }
        Click(dialog, IDC_RMG1A_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
}

// RMG1A's steps field is never read: "Set" computes with the steps the dialog holds and shows the
// period with four decimals; a file's r50 99 shows 100 steps.
TEST_F(LcdRmg1a, HeldStepsSetAndFileSteps)
{
    std::string path = TempPath("rmg1a_steps.dlc");
    INT_PTR result = RunDialog(IDD_RMG1A, RMG1ADlgProc, [&](HWND dialog) {
        WaitOpened(dialog, IDC_RMG1A_READ);
        Click(dialog, IDC_RMG1A_PWM);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_RMG1A_FREQUENCY) == "15"; }));
        TypeInto(dialog, IDC_RMG1A_STEPS, "100");
        TypeInto(dialog, IDC_RMG1A_FREQUENCY, "1000");
        Click(dialog, IDC_RMG1A_SET);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_RMG1A_FREQUENCY) == "1000.000000"; }));
        EXPECT_EQ(ItemText(dialog, IDC_RMG1A_PERIOD), "1.0000");
        EXPECT_EQ(ItemText(dialog, IDC_RMG1A_STEPS), "100");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        std::string file = SaveSettings(dialog, IDC_RMG1A_SAVE, path);
        EXPECT_EQ(FileField(file, 50), "00002 ");
        EXPECT_EQ(FileField(file, 51), "00999 ");
        for (int r : {9, 54, 55, 69, 77}) EXPECT_EQ(FileField(file, r), "      ") << "line " << r;

        WriteFileBytes(path, SettingsFile("RMG1A", {{50, "00099"}, {51, "00009"}}, "Steps           "));
        Click(dialog, IDC_RMG1A_OPEN);
        ChooseFile(dialog, path);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_RMG1A_STEPS) == "100"; }));
        EXPECT_EQ(ItemText(dialog, IDC_RMG1A_FREQUENCY), "2020.202020");
        Click(dialog, IDC_RMG1A_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
}

// RMG1A's tick holds the requested temperature and its limits to -20.0..200.0 and leaves the
// number of steps alone.
TEST_F(LcdRmg1a, TickChecksTemperaturesNotSteps)
{
    INT_PTR result = RunDialog(IDD_RMG1A, RMG1ADlgProc, [&](HWND dialog) {
        WaitOpened(dialog, IDC_RMG1A_READ);
        TypeInto(dialog, IDC_RMG1A_TEMPERATURE_REQ, "250.0");
        AnswerRangeMessages();
        EXPECT_EQ(ItemText(dialog, IDC_RMG1A_TEMPERATURE_REQ), "200.0");
        TypeInto(dialog, IDC_RMG1A_TEMPERATURE_LOW, "-25.0");
        AnswerRangeMessages();
        EXPECT_EQ(ItemText(dialog, IDC_RMG1A_TEMPERATURE_LOW), "-20.0");
        Click(dialog, IDC_RMG1A_PWM);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_RMG1A_FREQUENCY) == "15"; }));
        TypeInto(dialog, IDC_RMG1A_STEPS, "2");
        PostTickWithFocusOn(dialog, IDC_RMG1A_ADDRESS, IDC_RMG1A_TEMPERATURE_HIGH, "201.0");
        AnswerRangeMessages();
        EXPECT_EQ(ItemText(dialog, IDC_RMG1A_TEMPERATURE_HIGH), "200.0");
        EXPECT_EQ(ItemText(dialog, IDC_RMG1A_STEPS), "2");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        Click(dialog, IDC_RMG1A_CANCEL);
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
}
