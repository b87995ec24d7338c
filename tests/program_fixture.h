// Runs the program's main window (or one dialog) on the test thread while a scenario drives it
// from a second thread; and starts the shipped program as a separate process.
#ifndef ZENTIL_TESTS_PROGRAM_FIXTURE_H
#define ZENTIL_TESTS_PROGRAM_FIXTURE_H

#include <windows.h>

#include <functional>
#include <string>

#include "tests/gui_driver.h"

// Once per test process: the module instance for resources and the UI thread's runner window.
void PrepareTestProcess();

// Puts the program-wide records back to their start-up values between scenarios.
void ResetProgramRecords();

// Runs `work` on the UI thread (the one running the program) and waits for it.
void RunOnUiThread(const std::function<void()>& work);
// Runs `work` on the UI thread after the messages posted before it, without waiting for it: the
// work may open a modal box the test then answers.
void PostToUiThread(std::function<void()> work);

// Returns when the UI thread has taken every message posted to it before this call (posted
// messages are taken in order), so a posted click has been handled unless it opened a modal loop.
void WaitForPostedMessages();

// Creates the main window as the program's entry does and runs its message loop on this thread
// while `scenario` runs on a driver thread. When the scenario returns, the main window is closed
// (if it still exists). A watchdog ends everything, and fails the test, when none of the
// scenario's driver waits has been met for `timeoutMs`.
// Returns the exit code of the message loop.
int RunProgram(const std::function<void()>& scenario, DWORD timeoutMs = 20000);

// Opens one modal dialog of the program (template and procedure, owner `owner`) on this thread
// while `scenario` drives it; returns the dialog's result.
INT_PTR RunDialog(int templateId, DLGPROC dialogProc, const std::function<void(HWND dialog)>& scenario,
                  HWND owner = nullptr, DWORD timeoutMs = 20000);

// The shipped program of this test's edition, started as its own process under the simulated
// HID stack.
// A process still running when its record goes away is closed (or killed), so a failed test
// never leaves a program behind.
struct ProgramProcess {
    PROCESS_INFORMATION info = {};
    HWND mainWindow = nullptr;
    ~ProgramProcess();
};
bool StartShippedProgram(ProgramProcess* program);
// Closes it through its main window and returns its exit code (or -1 when it had to be killed).
int CloseShippedProgram(ProgramProcess* program);

DWORD ThisProcess();

#endif
