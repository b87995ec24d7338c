// The bootloader window against a simulated device with its bootloader: HW Info, downloads of
// Intel HEX and memory-image files, refused files, failures at each boot state.
#include <gtest/gtest.h>

#include <string.h>

#include <mutex>

#include "app/dialog_routes.h"
#include "app/main_window.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "sim/sim_boot.h"
#include "sim/sim_device.h"
#include "tests/firmware_fixtures.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tools/bootloader.h"
#include "tools/firmware_parsers.h"

namespace {

const DWORD RUN_WAIT_MS = 12000;

// The program counts its waits in ticks of BOOT_TICK_MS, and on a loaded machine a tick that
// exchanges a report with the device takes many times its period (80 ms seen for 10 ms, two cores
// shared with other builds). So a wait through ticks is a hang detector of their count, with room
// for ten times the period.
const DWORD LOADED_TICK_MS = 10 * BOOT_TICK_MS;
// A poll that counts ticks with an exchange in each is followed poll by poll: only a tick that takes
// a hundred times its period is a hang.
const DWORD STALLED_TICK_MS = 100 * BOOT_TICK_MS;
// The longest wait a failing run makes in one stretch: the search for a bootloader that never
// appears (BOOT_START_TRIES attempts, one every ninth tick), or the acknowledgement poll
// (BOOT_ACK_POLL_LIMIT ticks) once the erase is done.
const DWORD LONGEST_FAILING_WAIT_TICKS = BOOT_START_TRIES * (BOOT_DIVIDER_RELOAD + 1) > BOOT_ACK_POLL_LIMIT
                                             ? BOOT_START_TRIES * (BOOT_DIVIDER_RELOAD + 1)
                                             : BOOT_ACK_POLL_LIMIT;
const DWORD FAILING_WAIT_MS = LONGEST_FAILING_WAIT_TICKS * LOADED_TICK_MS;

// Every text the status line was given, in order, recorded on the UI thread as it is set.
class StatusRecorder {
public:
    StatusRecorder()
    {
        s_self = this;
        m_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
    }
    ~StatusRecorder()
    {
        UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    std::vector<std::wstring> Texts()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_texts;
    }
    bool Saw(const std::wstring& text)
    {
        for (const std::wstring& seen : Texts())
            if (seen == text) return true;
        return false;
    }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPRETSTRUCT* message = (const CWPRETSTRUCT*)lParam;
        if (code == HC_ACTION && s_self && message->message == WM_SETTEXT &&
            GetDlgCtrlID(message->hwnd) == IDC_BOOT_STATUS) {
            wchar_t text[256];
            GetWindowTextW(message->hwnd, text, 256);
            std::lock_guard<std::mutex> guard(s_self->m_lock);
            s_self->m_texts.push_back(text);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static StatusRecorder* s_self;
    HHOOK m_hook;
    std::mutex m_lock;
    std::vector<std::wstring> m_texts;
};
StatusRecorder* StatusRecorder::s_self = nullptr;

// Open File: picks `path` in the common open dialog that the button brings up.
void OpenFirmware(HWND dialog, const std::string& path)
{
    ASSERT_TRUE(ChooseFileWithButton(GetDlgItem(dialog, IDC_BOOT_OPEN_FILE), path)) << "no open dialog";
}

std::wstring StatusText(HWND dialog)
{
    return GetText(GetDlgItem(dialog, IDC_BOOT_STATUS));
}

bool ButtonsEnabled(HWND dialog)
{
    for (int id : {IDC_BOOT_OPEN_FILE, IDC_BOOT_DOWNLOAD, IDC_BOOT_HW_INFO, IDCANCEL})
        if (!IsEnabled(GetDlgItem(dialog, id))) return false;
    return true;
}

std::wstring BootInfoCaption()
{
    return L"BOOT info";
}

std::wstring FileErrorCaption()
{
    return EditionText(L"File Error", L"Chyba souboru");
}

std::wstring WaitResetText(int ms)
{
    wchar_t text[128];
    swprintf(text, 128,
             EditionText(L" Wait on device reset, remaining time %d ms", L" Cekani na provedeni Resetu zarizeni, zbyva %d ms")
                 .c_str(),
             ms);
    return text;
}

std::wstring PageText(int page)
{
    wchar_t text[128];
    swprintf(text, 128, EditionText(L" BOOTLoader, Write data packet %d", L" BOOTLoader, Zápis datového bloku %d").c_str(),
             page);
    return text;
}

std::wstring SuccessText()
{
    return EditionText(L" Boot is finished succesfully ;-) ", L" Bootovani je úspěšně dokončeno ;-) ");
}

std::wstring ErasedText()
{
    return EditionText(L"Flash erase is finished", L"Mazaní Flash je dokončeno");
}

std::vector<BYTE> MagicCommand(BYTE command)
{
    return {0, command, 0, 0, 0, 0x41, 0x7A, 0x2E, 0x5D};
}

std::vector<std::vector<BYTE>> SentFeatures(int device)
{
    std::vector<std::vector<BYTE>> sent;
    for (const SimEvent& event : SimGetEvents(device))
        if (event.kind == SIM_EVENT_SET_FEATURE) sent.push_back(event.bytes);
    return sent;
}

// What the bootloader must have received for an image: the bytes after the boot area, in whole
// pages, zeros after the image's end.
std::vector<BYTE> ExpectedFlash(const std::vector<BYTE>& image)
{
    std::vector<BYTE> expected(CountImagePages((DWORD)image.size()) * FLASH_PAGE_SIZE, 0);
    for (size_t i = BOOT_AREA_SIZE; i < image.size(); i++) expected[i - BOOT_AREA_SIZE] = image[i];
    return expected;
}

class BootloaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        SimResetDevices();
        SimBootResetAll();
        ResetProgramRecords();
    }
    void TearDown() override
    {
        SimBootResetAll();
        SimResetDevices();
    }
    int AddBootDevice(const SimBootSetup& setup = SimBootSetup())
    {
        int device = SimAddDevice("TDO 4-20", "00.00.24");
        SimBootConfigure(device, setup);
        return device;
    }
};

}  // namespace

TEST(BootloaderPages, CountAndSendableLengths)
{
    struct {
        DWORD length, pages;
        int sendable;
    } cases[] = {
        {4095, 0, 0},     {4096, 1, 1},     {4097, 1, 1},     {4096 + 127, 1, 1}, {4096 + 128, 2, 1},
        {4096 + 129, 2, 1}, {4096 + 255, 2, 1}, {4096 + 256, 3, 1}, {519935, 4030, 1}, {519936, 4031, 0},
        {520000, 4031, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(c.sendable, IsImageLengthSendable(c.length));
        if (c.length >= BOOT_AREA_SIZE) {
            EXPECT_EQ(c.pages, CountImagePages(c.length));
        }
    }
}

TEST_F(BootloaderTest, HwInfoShowsTheBootloaderCountsDownAndStaysOpen)
{
    int device = AddBootDevice();
    StatusRecorder status;
    INT_PTR result = RunDialog(IDD_BOOTLOADER, BootloaderDlgProc, [&](HWND dialog) {
        EXPECT_EQ(GetText(dialog), L"BootLoader");
        EXPECT_EQ(StatusText(dialog), EditionText(L"File is not selected", L"Není vybrán soubor"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_BOOT_OPEN_FILE)), EditionText(L"Open File", L"Otevřít soubor"));
        PostClick(GetDlgItem(dialog, IDC_BOOT_HW_INFO));
        ASSERT_TRUE(WaitUntil([&] { return !IsEnabled(GetDlgItem(dialog, IDCANCEL)); }));
        ASSERT_TRUE(WaitUntil([&] { return StatusText(dialog) == EditionText(L" Device reset is finished",
                                                                              L" Reset zarizeni je hotov"); },
                              RUN_WAIT_MS));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_BOOT_PLATFORM)), L"  DOLVAN-PIC18F   ");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_BOOT_HW_VERSION)), L"  1.2.3   ");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_BOOT_BOOT_VERSION)), L"  0.0.5   ");
        EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }));
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostClick(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_EQ(result, TOOL_DIALOG_RESULT);
    EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);

    std::vector<std::wstring> expected = {
        EditionText(L"File is not selected", L"Není vybrán soubor"),
        EditionText(L"Boot sequence initialization in progress", L"Probíhá Inicializace Bootovacího modu"),
        EditionText(L"Boot sequence is active", L"Bootovaci mod je aktivovan"),
        EditionText(L"Boot sequence is active", L"Bootovaci mod je aktivovan"),
        EditionText(L"HW information read is finished", L"Čtení HW informaci dokončeno"),
        EditionText(L"HW information are available ;-) ", L"HW informace jsou úspěšně načteny ;-) "),
    };
    for (int ms = 4000; ms >= 100; ms -= 100) expected.push_back(WaitResetText(ms));
    expected.push_back(EditionText(L" Device reset is finished", L" Reset zarizeni je hotov"));
    EXPECT_EQ(status.Texts(), expected);

    // Enter boot to the application, boot start to the bootloader, nothing else.
    EXPECT_EQ(SentFeatures(device), (std::vector<std::vector<BYTE>>{MagicCommand(0xCA), MagicCommand(0x55)}));
    EXPECT_EQ(SimBootGetRecord(device).enterBootCommands, 1);
}

namespace {

struct DownloadCase {
    const char* name;
    bool memoryImage;
    size_t length;
    const char* platform;  // the memory image's platform text
};

// Opens the file, downloads it and answers the success box; the window then ends by itself.
void DownloadAndWaitForTheEnd(HWND dialog, const std::string& path)
{
    OpenFirmware(dialog, path);
    ASSERT_EQ(StatusText(dialog), EditionText(L"File for download is ready", L"Soubor pro download je inicializovan"));
    PostClick(GetDlgItem(dialog, IDC_BOOT_DOWNLOAD));
    ExpectMessageBox(ThisProcess(), SuccessText(), BootInfoCaption(), MB_ICONINFORMATION, RUN_WAIT_MS);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, RUN_WAIT_MS));
}

// Downloads run on in their own suite (CTest runs suites in parallel).
class BootloaderDownloadTest : public BootloaderTest {};

}  // namespace

TEST_F(BootloaderDownloadTest, DownloadsWholePagesAndEndsTheWindow)
{
    const DownloadCase cases[] = {
        {"hex, one byte after the boot area: one page", false, BOOT_AREA_SIZE + 1, ""},
        {"hex, two whole pages: a third, empty page", false, BOOT_AREA_SIZE + 2 * FLASH_PAGE_SIZE, ""},
        {"memory image, one byte into the second page", true, BOOT_AREA_SIZE + FLASH_PAGE_SIZE + 1, "DOLVAN-PIC18F"},
        {"memory image whose platform text begins with a blank: no platform check", true, BOOT_AREA_SIZE + 5,
         " OTHER-PLATFORM"},
    };
    for (const DownloadCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimBootResetAll();
        SimResetDevices();
        ResetProgramRecords();
        int device = AddBootDevice();
        std::vector<BYTE> image = PatternImage(c.length);
        std::string path;
        std::string earlier;
        if (c.memoryImage) {
            // A longer file first, so the image buffer holds its bytes past the second file's end.
            std::vector<BYTE> longer(8000, 0xEE);
            earlier = WriteFixtureFile("longer.dlm", MemoryImageText("DOLVAN-PIC18F", "1.2x", MemoryImageBody(longer)));
            path = WriteFixtureFile("image.dlm", MemoryImageText(c.platform, "1.2x", MemoryImageBody(image)));
        } else {
            path = WriteFixtureFile("image.hex", HexFileFor(image, 0x08000000));
        }
        g_deviceConnected = 1;
        StatusRecorder status;
        INT_PTR result = RunDialog(IDD_BOOTLOADER, BootloaderDlgProc, [&](HWND dialog) {
            if (!earlier.empty()) OpenFirmware(dialog, earlier);
            DownloadAndWaitForTheEnd(dialog, path);
        });
        EXPECT_EQ(result, TOOL_DIALOG_RESULT);
        EXPECT_EQ(g_deviceConnected, 0);
        EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);

        SimBootRecord record = SimBootGetRecord(device);
        EXPECT_EQ(record.fileType, c.memoryImage ? 'd' : 'h');
        EXPECT_EQ(record.flashed, ExpectedFlash(image));
        std::vector<std::vector<BYTE>> sent = SentFeatures(device);
        ASSERT_EQ(sent.size(), 3u);
        EXPECT_EQ(sent[2], (std::vector<BYTE>{0, 0, 0, 0, 0, (BYTE)(c.memoryImage ? 'd' : 'h'), 0, 0, 0}));

        // Page texts count from 0 and stop before the last page, which shows the success text.
        std::vector<std::wstring> progress;
        for (const std::wstring& text : status.Texts()) {
            if (text.find(PageText(0).substr(0, 20)) == 0 || text == SuccessText() || text == ErasedText())
                progress.push_back(text);
        }
        std::vector<std::wstring> expected = {ErasedText()};
        for (DWORD page = 0; page + 1 < CountImagePages((DWORD)c.length); page++) expected.push_back(PageText((int)page));
        expected.push_back(SuccessText());
        EXPECT_EQ(progress, expected);
        EXPECT_TRUE(status.Saw(WaitResetText(100)));
    }
}

TEST_F(BootloaderTest, RefusedFilesAreNeverOffered)
{
    const std::string good = WriteFixtureFile("good.hex", HexFileFor(PatternImage(BOOT_AREA_SIZE + 300)));
    const std::wstring readError = EditionText(L"File read error", L"Chyba načteni souboru");
    const std::wstring suffix = EditionText(L"File has unsupported suffix format", L"Soubor má nepodporovanou příponu");
    const std::wstring content =
        EditionText(L"File content is not a valid firmware image", L"Obsah souboru není platný obraz firmwaru");
    const std::wstring size = EditionText(L"Firmware image is shorter than the boot area or longer than the image buffer",
                                          L"Obraz firmwaru je kratší než bootovací oblast nebo delší než vyrovnávací paměť");
    std::string noEnd = HexFileFor(PatternImage(BOOT_AREA_SIZE + 300));
    noEnd.resize(noEnd.size() - 13);
    struct {
        const char* name;
        std::string content;
        std::vector<std::wstring> texts;  // any of these
    } cases[] = {
        {"FW.HEX", HexFileFor(PatternImage(BOOT_AREA_SIZE + 300)), {suffix}},
        {"fw.txt", HexFileFor(PatternImage(BOOT_AREA_SIZE + 300)), {suffix}},
        {"empty.hex", "", {readError}},
        {"noend.hex", noEnd, {content}},
        {"beyond.hex", HexRecord(4, 0, {0x00, 0x08}) + HexRecord(0, 0, {1, 2, 3}) + HexRecord(1, 0, {}), {content}},
        {"zerolength.hex", HexRecord(0, 0, {}) + HexRecord(1, 0, {}), {size}},
        {"noclose.dlm", MemoryImageText("P", "1", "0102030405\r\n"), {content}},
        {"short.hex", HexFileFor(PatternImage(BOOT_AREA_SIZE - 1)), {size}},
        {"short.dlm", MemoryImageText("P", "1", MemoryImageBody(PatternImage(100))), {size}},
        {"toolong.hex", std::string(FILE_BUFFER_SIZE + 1, '0'), {readError, content}},
    };
    int device = AddBootDevice();
    INT_PTR result = RunDialog(IDD_BOOTLOADER, BootloaderDlgProc, [&](HWND dialog) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            std::string bad = WriteFixtureFile(c.name, c.content);
            OpenFirmware(dialog, good);
            ASSERT_EQ(StatusText(dialog), EditionText(L"File for download is ready", L"Soubor pro download je inicializovan"));
            OpenFirmware(dialog, bad);
            MessageBoxRecord box;
            ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
            EXPECT_NE(std::find(c.texts.begin(), c.texts.end(), box.text), c.texts.end())
                << std::string(box.text.begin(), box.text.end());
            EXPECT_EQ(box.caption, FileErrorCaption());
            EXPECT_EQ(box.icon, (UINT)MB_ICONERROR);
            AnswerMessageBox(box);
            EXPECT_EQ(StatusText(dialog), EditionText(L"File is not selected", L"Není vybrán soubor"));
            // The good file read before is not offered under the refused one's name.
            PostClick(GetDlgItem(dialog, IDC_BOOT_DOWNLOAD));
            ExpectMessageBox(ThisProcess(), EditionText(L"File for download is not selected", L"Neni vybran Soubor pro download"),
                             EditionText(L"File info", L"Soubor info"), MB_ICONWARNING);
            EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }));
            EXPECT_EQ(g_downloadFileReady, 0);
        }
        PostClick(GetDlgItem(dialog, IDCANCEL));
    }, nullptr, 60000);
    EXPECT_EQ(result, TOOL_DIALOG_RESULT);
    EXPECT_TRUE(SentFeatures(device).empty());
}

TEST_F(BootloaderTest, TalksToTheDeviceFoundAfterTheRestart)
{
    // Before the restart the list is [other, ours]; after it [ours, newcomer]: index 1 is no longer ours.
    int other = SimAddDevice("OTHER", "00.00.01");
    {
        SimLock lock;
        SimGetDevice(other)->productId = DEFAULT_CALIBRATOR_PRODUCT_ID;
    }
    int device = AddBootDevice();
    int newcomer = -1;
    std::vector<BYTE> image = PatternImage(BOOT_AREA_SIZE + FLASH_PAGE_SIZE);
    std::string path = WriteFixtureFile("restart.hex", HexFileFor(image));
    INT_PTR result = RunDialog(IDD_BOOTLOADER, BootloaderDlgProc, [&](HWND dialog) {
        OpenFirmware(dialog, path);
        PostClick(GetDlgItem(dialog, IDC_BOOT_DOWNLOAD));
        ASSERT_TRUE(WaitUntil([&] { return SimBootGetRecord(device).enterBootCommands == 1; }));
        SimSetPresent(other, false);
        newcomer = SimAddDevice("NEWCOMER", "00.00.01");
        {
            SimLock lock;
            SimGetDevice(newcomer)->productId = DEFAULT_CALIBRATOR_PRODUCT_ID;
        }
        ExpectMessageBox(ThisProcess(), SuccessText(), BootInfoCaption(), MB_ICONINFORMATION, RUN_WAIT_MS);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, RUN_WAIT_MS));
    });
    EXPECT_EQ(result, TOOL_DIALOG_RESULT);
    EXPECT_EQ(SimBootGetRecord(device).flashed, ExpectedFlash(image));
    EXPECT_TRUE(SentFeatures(newcomer).empty());
    EXPECT_TRUE(SentFeatures(other).empty());
}

TEST_F(BootloaderTest, MainWindowDetectsTheDeviceAfreshAfterADownload)
{
    int device = AddBootDevice();
    std::string path = WriteFixtureFile("main.hex", HexFileFor(PatternImage(BOOT_AREA_SIZE + 10)));
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && g_mainState == MAIN_STATE_IDLE; }));
        SimClearEvents(device);
        PostCommand(g_mainWindow, IDM_BOOTLOADER);
        HWND dialog = WaitForDialogWithControl(ThisProcess(), IDC_BOOT_STATUS);
        ASSERT_TRUE(dialog != nullptr);
        EXPECT_FALSE(IsShown(g_mainWindow));
        DownloadAndWaitForTheEnd(dialog, path);
        // The main window comes back, blank, and detects the restarted device by itself.
        EXPECT_TRUE(WaitUntil([] { return IsShown(g_mainWindow); }));
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1 && GetText(g_firmwareField) == L"  00.00.24"; }));
        EXPECT_EQ(SimBootGetRecord(device).restarts, 1);
    }, 30000);
    std::vector<std::vector<BYTE>> sent = SentFeatures(device);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), MagicCommand(0xCC));
}

namespace {

struct FailureCase {
    const char* name;
    bool download;                     // DownLoad of `file` (else HW Info)
    std::string file;                  // the file's content; ".dlm" when `memoryImage`
    bool memoryImage;
    std::function<void(int device, SimBootSetup& setup)> prepare;
    std::function<void(int device, HWND dialog)> during;  // acts while the run goes on
    std::vector<std::wstring> texts;   // the failure text (any of these)
    bool dropsConnection;
};

std::string DlmWith(const char* platform, const char* version)
{
    return MemoryImageText(platform, version, MemoryImageBody(PatternImage(BOOT_AREA_SIZE + 3 * FLASH_PAGE_SIZE)));
}

// The feature reads answered since the one that reported the erase done. Feature reads are
// recorded as the program makes them; the packet between, only once the device's thread saw it.
int PollsAfterTheErase(int device)
{
    int polls = 0;
    for (const SimEvent& event : SimGetEvents(device)) {
        if (event.kind != SIM_EVENT_GET_FEATURE) continue;
        polls = event.bytes.size() > 2 && event.bytes[2] == STATUS_READY ? 0 : polls + 1;
    }
    return polls;
}

SimFault Fault(SimFaultKind kind, int command = -1)
{
    SimFault fault = {kind, 0, -1, command, -1};
    return fault;
}

std::vector<FailureCase> FailureCases()
{
    const std::string hex = HexFileFor(PatternImage(BOOT_AREA_SIZE + 3 * FLASH_PAGE_SIZE));
    auto none = [](int, SimBootSetup&) {};
    auto afterErase = [](std::function<void(int)> act) {
        return [act](int device, HWND dialog) {
            ASSERT_TRUE(WaitUntil([&] { return StatusText(dialog) == ErasedText(); }, FAILING_WAIT_MS));
            act(device);
        };
    };
    const std::wstring dataWrite = EditionText(L"Communication error, Data write", L"Nastala chyba zapisu datoveho paketu");
    const std::wstring pageAck = EditionText(L"Communication error, Data write Flash page",
                                             L"Nastala chyba komunikace pri potvrzeni zapisu do FLASH");
    const std::wstring platform = EditionText(L"HW is uncompatible with selected file", L"HW je nekompatibilni s vybranym souborem");
    const std::wstring version =
        EditionText(L"HW version is uncompatible with selected file", L"Verze HW je nekompatibilni s vybranym souborem");
    const std::wstring notResponding =
        EditionText(L"Communication error, device not responding", L"Chyba komunikace, zarizeni neodpovida");
    return {
        {"state 3: the bootloader never appears", false, "", false,
         [](int, SimBootSetup& setup) { setup.reappearMs = SIM_BOOT_NEVER; }, nullptr,
         {EditionText(L"Device inicialization after Reset Error", L"Chyba inicializace zařízení po resetu")}, false},
        {"state 4: status not read", false, "", false,
         [](int device, SimBootSetup&) { SimAddFault(device, Fault(SIM_FAULT_GET_FEATURE, 0x55)); }, nullptr,
         {EditionText(L"Communication error, CRC bootloader", L"Chyba komunikace, CRC bootloaderu")}, true},
        {"state 4: status not ready", false, "", false, [](int, SimBootSetup& setup) { setup.bootStartStatus = 0; },
         nullptr, {EditionText(L"Bootloader CRC error", L"Chyba CRC bootloaderu")}, true},
        {"state 5: the device vanishes between reads", false, "", false,
         [](int, SimBootSetup& setup) { setup.invalidInfoReports = 10; },
         [](int device, HWND) {
             ASSERT_TRUE(WaitUntil([&] {
                 for (const SimEvent& event : SimGetEvents(device))
                     if (event.kind == SIM_EVENT_INPUT_REPORT) return true;
                 return false;
             }, FAILING_WAIT_MS));
             SimSetPresent(device, false);
         },
         {EditionText(L"HW information reading error", L"Chyba čtení HW informaci")}, true},
        {"state 5: no valid report in four reads", false, "", false,
         // No restart of an idle bootloader here: on a loaded machine the pause between the boot
         // start and the status read could reach it, and the device would answer as the application.
         [](int, SimBootSetup& setup) {
             setup.invalidInfoReports = 10;
             setup.restartIdleMs = SIM_BOOT_NEVER;
         },
         nullptr, {notResponding}, true},
        {"state 5: a silent bootloader", false, "", false,
         [](int device, SimBootSetup& setup) {
             setup.restartIdleMs = SIM_BOOT_NEVER;
             SimLock lock;
             SimGetDevice(device)->silent = true;
         },
         nullptr, {notResponding}, true},
        {"state 6: flash smaller than the image", true, hex, false,
         [](int, SimBootSetup& setup) { setup.flashSizeKb = 4; }, nullptr,
         {EditionText(L"Flash smaller than selected file", L"Flash je meší než vybraný soubor")}, false},
        {"state 6: platform differs", true, DlmWith("DOLVAN-PIC16F", "1.2x"), true, none, nullptr, {platform}, false},
        {"state 6: platform runs past its field", true, DlmWith("DOLVAN-PIC18F-ABCD", "1.2x"), true,
         [](int, SimBootSetup& setup) { setup.platform = "DOLVAN-PIC18F-AB"; }, nullptr, {platform}, false},
        {"state 6: HW version differs", true, DlmWith("DOLVAN-PIC18F", "1.3x"), true, none, nullptr, {version}, false},
        {"state 6: HW version runs past its field", true, DlmWith("DOLVAN-PIC18F", "1.2.3.4.5"), true,
         [](int, SimBootSetup& setup) { setup.hwVersion = "1.2.3.4."; }, nullptr, {version}, false},
        {"state 7: file parameters refused", true, hex, false,
         [](int device, SimBootSetup&) { SimAddFault(device, Fault(SIM_FAULT_SET_FEATURE, 0x00)); }, nullptr,
         {EditionText(L"File parameter, write error", L"Chyba zapisu parametru souboru")}, true},
        {"state 8: erase status not read", true, hex, false,
         [](int device, SimBootSetup&) { SimAddFault(device, Fault(SIM_FAULT_GET_FEATURE, 0x00)); }, nullptr,
         {EditionText(L"Communication error, Flash erase", L"Nastala chyba komunikace při mazaní Flash")}, true},
        {"state 9: packet not written", true, hex, false,
         [](int device, SimBootSetup&) { SimAddFault(device, Fault(SIM_FAULT_WRITE)); }, nullptr, {dataWrite}, true},
        {"state 10: acknowledgement not read", true, hex, false, none,
         afterErase([](int device) { SimAddFault(device, Fault(SIM_FAULT_GET_FEATURE)); }), {pageAck}, true},
        // Up to the erase, then the acknowledgement poll: BOOT_ACK_POLL_LIMIT reads after the packet,
        // one a tick, and no more (the status read before the erase was done says ready only once).
        {"state 10: the device never acknowledges", true, hex, false,
         [](int, SimBootSetup& setup) { setup.acknowledgesPackets = false; }, afterErase([](int device) {
             int polls = 0;
             while (polls < (int)BOOT_ACK_POLL_LIMIT) {
                 int seen = polls;
                 ASSERT_TRUE(WaitUntil([&] { return (polls = PollsAfterTheErase(device)) > seen; }, STALLED_TICK_MS))
                     << "the poll stalled after " << polls << " reads";
             }
             EXPECT_EQ((int)BOOT_ACK_POLL_LIMIT, polls);
         }), {pageAck}, true},
        {"states 9-10: the device vanishes", true, hex, false, none,
         afterErase([](int device) { SimSetPresent(device, false); }), {dataWrite, pageAck}, true},
    };
}

class BootloaderFailureTest : public BootloaderTest {};

}  // namespace

TEST_F(BootloaderFailureTest, EachBootStateFailsWithItsMessageAndClosesTheWindow)
{
    for (const FailureCase& c : FailureCases()) {
        SCOPED_TRACE(c.name);
        SimBootResetAll();
        SimResetDevices();
        ResetProgramRecords();
        SimBootSetup setup;
        int device = SimAddDevice("TDO 4-20", "00.00.24");
        c.prepare(device, setup);
        SimBootConfigure(device, setup);
        std::string path;
        if (c.download) path = WriteFixtureFile(c.memoryImage ? "failure.dlm" : "failure.hex", c.file);
        g_deviceConnected = 1;
        INT_PTR result = RunDialog(IDD_BOOTLOADER, BootloaderDlgProc, [&](HWND dialog) {
            if (c.download) OpenFirmware(dialog, path);
            PostClick(GetDlgItem(dialog, c.download ? IDC_BOOT_DOWNLOAD : IDC_BOOT_HW_INFO));
            if (c.during) c.during(device, dialog);
            MessageBoxRecord box;
            ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box, FAILING_WAIT_MS)) << c.name;
            EXPECT_NE(std::find(c.texts.begin(), c.texts.end(), box.text), c.texts.end())
                << c.name << ": " << GetTextUtf8(box.window ? GetDlgItem(box.window, 0xFFFF) : nullptr);
            EXPECT_EQ(box.caption, BootInfoCaption()) << c.name;
            EXPECT_EQ(box.icon, (UINT)MB_ICONERROR) << c.name;
            EXPECT_EQ(StatusText(dialog), box.text) << c.name;
            // The window is idle again under the box: its buttons come back, then the close ends it.
            EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }));
            EXPECT_EQ(g_hidHandles[HID_SLOT_DEVICE], INVALID_HANDLE_VALUE);
            AnswerMessageBox(box);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        }, nullptr, 2 * FAILING_WAIT_MS + RUN_WAIT_MS);
        EXPECT_EQ(result, TOOL_DIALOG_RESULT);
        EXPECT_EQ(g_deviceConnected, c.dropsConnection ? 0 : 1);
        EXPECT_EQ(g_bootState, BOOT_STATE_IDLE);
        SimBootRecord record = SimBootGetRecord(device);
        if (!c.dropsConnection && c.download) {
            // Checks of the file come before any announcement: nothing was erased or flashed.
            EXPECT_EQ(record.fileType, 0);
            EXPECT_TRUE(record.flashed.empty());
        }
    }
}
