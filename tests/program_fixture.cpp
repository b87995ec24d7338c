// Runs the program's windows under test with a scenario thread and a watchdog.
#include "tests/program_fixture.h"

#include <memory>

#include <gtest/gtest.h>

#include <thread>

#include "app/device_types.h"
#include "app/edition.h"
#include "app/main_window.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"

static DWORD s_uiThreadId = 0;
static HWND s_uiRunner = nullptr;
static const UINT WM_RUN_ON_UI = WM_APP + 1;
static const UINT WM_POSTED_MARKER = WM_APP + 2;  // lParam: an event to set
static const UINT WM_RUN_POSTED = WM_APP + 3;     // lParam: a std::function<void()> to run and delete
static const int MESSAGE_BOX_TEXT_ID = 0xFFFF;     // the static text of a message box

DWORD ThisProcess()
{
    return GetCurrentProcessId();
}

static LRESULT CALLBACK UiRunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RUN_ON_UI) {
        (*(const std::function<void()>*)lParam)();
        return 0;
    }
    if (message == WM_RUN_POSTED) {
        std::unique_ptr<std::function<void()>> work((std::function<void()>*)lParam);
        (*work)();
        return 0;
    }
    if (message == WM_POSTED_MARKER) {
        SetEvent((HANDLE)lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PrepareTestProcess()
{
    g_hInstance = GetModuleHandleW(nullptr);
    s_uiThreadId = GetCurrentThreadId();
    WNDCLASSW runnerClass = {};
    runnerClass.lpfnWndProc = UiRunnerProc;
    runnerClass.hInstance = g_hInstance;
    runnerClass.lpszClassName = L"ZentilTestUiRunner";
    RegisterClassW(&runnerClass);
    s_uiRunner = CreateWindowW(L"ZentilTestUiRunner", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_hInstance, nullptr);
}

void RunOnUiThread(const std::function<void()>& work)
{
    if (GetCurrentThreadId() == s_uiThreadId) {
        work();
        return;
    }
    DWORD_PTR result;
    if (!SendMessageTimeoutW(s_uiRunner, WM_RUN_ON_UI, 0, (LPARAM)&work, SMTO_BLOCK, 10000, &result))
        ADD_FAILURE() << "the UI thread did not answer";
    else
        NoteDriverProgress();
}

void PostToUiThread(std::function<void()> work)
{
    std::function<void()>* posted = new std::function<void()>(std::move(work));
    if (!PostMessageW(s_uiRunner, WM_RUN_POSTED, 0, (LPARAM)posted)) {
        delete posted;
        ADD_FAILURE() << "the UI thread takes no posted work";
    }
}

void WaitForPostedMessages()
{
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    PostMessageW(s_uiRunner, WM_POSTED_MARKER, 0, (LPARAM)taken);
    if (WaitForSingleObject(taken, 10000) != WAIT_OBJECT_0)
        ADD_FAILURE() << "the UI thread took no posted message";
    else
        NoteDriverProgress();
    CloseHandle(taken);
}

void ResetProgramRecords()
{
    for (int slot = 0; slot < HID_SLOT_COUNT; slot++) CloseHidSlot(slot);
    ResetHidDeviceList();
    for (int slot = 0; slot < HID_SLOT_COUNT; slot++) g_hidSlotListIndex[slot] = 0;
    g_deviceType = DEVICE_TYPE_TDO;
    g_deviceConnected = 0;
    g_registerImageRead = 0;
    g_deviceVendorId = DEFAULT_DEVICE_VENDOR_ID;
    g_deviceProductId = DEFAULT_DEVICE_PRODUCT_ID;
    g_calibratorVendorId = DEFAULT_CALIBRATOR_VENDOR_ID;
    g_calibratorProductId = DEFAULT_CALIBRATOR_PRODUCT_ID;
    g_productString[0] = 0;
}

// Closes whatever the UI thread still shows: message boxes and dialogs first, then the main window.
static void CloseEverything(bool reportLeftovers)
{
    for (int round = 0; round < 50; round++) {
        std::vector<HWND> dialogs = FindTopWindows(GetCurrentProcessId(), L"#32770");
        if (dialogs.empty()) break;
        for (HWND dialog : dialogs) {
            if (reportLeftovers) {
                // A message box says what it was about; the transport's last failure tells why.
                std::string said = IsMessageBoxWindow(dialog) ? ": \"" + GetTextUtf8(GetDlgItem(dialog, MESSAGE_BOX_TEXT_ID)) + "\"" : "";
                ADD_FAILURE() << "a window was left open: \"" << GetTextUtf8(dialog) << "\"" << said
                              << " (last transport failure: " << g_hidLastFailure.operation << ", error "
                              << g_hidLastFailure.error << ")";
            }
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
        reportLeftovers = false;
        Sleep(50);
    }
}

struct ScenarioRun {
    const std::function<void()>* scenario;
    DWORD timeoutMs;
    HANDLE done;
    std::function<void()> finish;
};

static void RunScenarioWithWatchdog(ScenarioRun& run)
{
    NoteDriverProgress();
    std::thread driver([&] {
        (*run.scenario)();
        SetEvent(run.done);
    });
    // A scenario is stuck when none of its waits has been met for `timeoutMs`; a long scenario
    // that keeps moving on a slow machine is not.
    bool finished = false;
    for (;;) {
        DWORD idle = GetTickCount() - LastDriverProgress();
        if (idle >= run.timeoutMs) break;
        if (WaitForSingleObject(run.done, run.timeoutMs - idle) == WAIT_OBJECT_0) {
            finished = true;
            break;
        }
    }
    if (!finished) {
        ADD_FAILURE() << "the scenario made no progress for " << run.timeoutMs << " ms";
        CloseEverything(false);
        run.finish();
        // The driver may still be waiting on something; give it its own deadlines to run out.
        driver.join();
    } else {
        driver.join();
        run.finish();
    }
}

int RunProgram(const std::function<void()>& scenario, DWORD timeoutMs)
{
    ResetProgramRecords();
    InitProgramState(GetModuleHandleW(nullptr));
    if (!CreateMainWindow()) {
        ADD_FAILURE() << "the main window could not be created";
        UnregisterClassA("WinAPIMainClass", g_hInstance);
        return -1;
    }
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ScenarioRun run = {&scenario, timeoutMs, done, [] {
                           CloseEverything(true);
                           if (IsWindow(g_mainWindow)) PostMessageW(g_mainWindow, WM_CLOSE, 0, 0);
                       }};
    std::thread supervisor([&] { RunScenarioWithWatchdog(run); });
    int exitCode = RunMessageLoop();
    supervisor.join();
    CloseHandle(done);
    // Messages left for windows that are gone (and the quit message) must not reach the next run.
    MSG leftover;
    while (PeekMessageW(&leftover, nullptr, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassA("WinAPIMainClass", g_hInstance);
    g_mainWindow = nullptr;
    return exitCode;
}

struct DialogRun {
    DLGPROC dialogProc;
    const std::function<void(HWND)>* scenario;
    HANDLE opened;     // set at WM_INITDIALOG, or when the dialog could not be made
    HANDLE over;       // set when the run ends, the watchdog's ending included
    HWND volatile dialog;
    HHOOK building;    // the opening's window creations, while it lasts
};
static DialogRun* s_dialogRun = nullptr;

// A large dialog builds hundreds of windows before WM_INITDIALOG; on a loaded machine that takes
// seconds. Each window it creates is progress, so the watchdog fails only an opening that stops.
static LRESULT CALLBACK NoteOpeningProgress(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) NoteDriverProgress();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

static void EndOpeningWatch(DialogRun* run)
{
    if (run->building) UnhookWindowsHookEx(run->building);
    run->building = nullptr;
}

// Wraps the procedure under test to learn its window handle at WM_INITDIALOG.
static INT_PTR CALLBACK RecordingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogRun* run = s_dialogRun;
    if (!run) return FALSE;
    if (message != WM_INITDIALOG || run->dialog) return run->dialogProc(dialog, message, wParam, lParam);
    EndOpeningWatch(run);
    InterlockedExchangePointer((PVOID volatile*)&run->dialog, dialog);
    SetEvent(run->opened);
    INT_PTR result = run->dialogProc(dialog, message, wParam, lParam);
    // A run that ended before its dialog opened has nobody left to close it.
    if (WaitForSingleObject(run->over, 0) == WAIT_OBJECT_0) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    return result;
}

INT_PTR RunDialog(int templateId, DLGPROC dialogProc, const std::function<void(HWND)>& scenario, HWND owner,
                  DWORD timeoutMs)
{
    DialogRun dialogRun = {dialogProc, &scenario, CreateEventW(nullptr, TRUE, FALSE, nullptr),
                           CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr, nullptr};
    s_dialogRun = &dialogRun;
    std::function<void()> drive = [&] {
        // The opening ends in WM_INITDIALOG or in the dialog's failure; the watchdog judges how long.
        HANDLE ends[] = {dialogRun.opened, dialogRun.over};
        if (WaitForMultipleObjects(2, ends, FALSE, INFINITE) != WAIT_OBJECT_0 || !dialogRun.dialog) {
            ADD_FAILURE() << "the dialog did not open";
            return;
        }
        NoteDriverProgress();
        scenario(dialogRun.dialog);
        // The scenario is expected to end the dialog; give it a moment before the cleanup does.
        WaitUntil([&] { return !IsWindow(dialogRun.dialog); }, 2000);
    };
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ScenarioRun run = {&drive, timeoutMs, done, [&] {
                           SetEvent(dialogRun.over);
                           if (IsWindow(dialogRun.dialog)) {
                               ADD_FAILURE() << "the dialog was left open";
                               CloseEverything(false);
                           }
                       }};
    dialogRun.building = SetWindowsHookExW(WH_CBT, NoteOpeningProgress, nullptr, GetCurrentThreadId());
    std::thread supervisor([&] { RunScenarioWithWatchdog(run); });
    INT_PTR result = DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(templateId), owner, RecordingDlgProc, 0);
    EndOpeningWatch(&dialogRun);
    if (result == -1) SetEvent(dialogRun.opened);  // let the driver give up at once
    supervisor.join();
    CloseHandle(done);
    CloseHandle(dialogRun.opened);
    CloseHandle(dialogRun.over);
    s_dialogRun = nullptr;
    return result;
}

bool StartShippedProgram(ProgramProcess* program)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder = folder.substr(0, folder.find_last_of(L"\\/") + 1);
    std::wstring exe = folder + (EDITION_IS_CZECH ? L"Zentil-CZ.exe" : L"Zentil-EN.exe");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &program->info)) {
        ADD_FAILURE() << "could not start the shipped program, error " << GetLastError();
        return false;
    }
    program->mainWindow = WaitForTopWindow(program->info.dwProcessId, L"WinAPIMainClass", nullptr, 15000);
    if (!program->mainWindow) {
        ADD_FAILURE() << "the shipped program showed no main window";
        return false;
    }
    // The window is visible before its fields and buttons exist; wait for all seven.
    return WaitUntil([&] {
        int children = 0;
        for (HWND child = GetWindow(program->mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children++;
        return children == 7;
    });
}

ProgramProcess::~ProgramProcess()
{
    if (info.hProcess) CloseShippedProgram(this);
}

int CloseShippedProgram(ProgramProcess* program)
{
    DWORD exitCode = (DWORD)-1;
    if (!program->info.hProcess) return -1;
    if (program->mainWindow && IsWindow(program->mainWindow)) PostMessageW(program->mainWindow, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(program->info.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(program->info.hProcess, 99);
        WaitForSingleObject(program->info.hProcess, 5000);
        exitCode = (DWORD)-1;
    } else {
        GetExitCodeProcess(program->info.hProcess, &exitCode);
    }
    CloseHandle(program->info.hProcess);
    CloseHandle(program->info.hThread);
    program->info = PROCESS_INFORMATION();
    return (int)exitCode;
}
