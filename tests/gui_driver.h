// GUI driver for tests: finds windows of the program under test (in this process or another),
// reads and sets control texts, clicks with posted messages, and records and answers message
// boxes. Every wait has a deadline.
#ifndef ZENTIL_TESTS_GUI_DRIVER_H
#define ZENTIL_TESTS_GUI_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

const DWORD DRIVER_WAIT_MS = 5000;

// Polls `condition` every few milliseconds until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = DRIVER_WAIT_MS);

// The tick count at which a driver wait last saw its condition hold: a scenario's progress, which
// the scenario watchdog watches.
void NoteDriverProgress();
DWORD LastDriverProgress();

// Visible, enabled-or-not top-level windows of the process, optionally of a class and caption.
std::vector<HWND> FindTopWindows(DWORD processId, const wchar_t* className = nullptr, const wchar_t* caption = nullptr);
HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr,
                      DWORD timeoutMs = DRIVER_WAIT_MS);
// A visible dialog (#32770) of the process that holds a control with this id and is no message box.
HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD timeoutMs = DRIVER_WAIT_MS);

std::wstring GetText(HWND window);
std::string GetTextUtf8(HWND window);
void SetText(HWND window, const std::wstring& text);
bool IsEnabled(HWND window);
bool IsShown(HWND window);

// Clicks a button by posting its parent the command it would send.
void PostClick(HWND button);
// Posts a dialog or window WM_COMMAND with the id (as a menu or accelerator would).
void PostCommand(HWND window, int commandId);

struct MessageBoxRecord {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    UINT icon = 0;  // MB_ICONINFORMATION, MB_ICONERROR, MB_ICONWARNING, MB_ICONQUESTION or 0 when unknown
};

bool IsMessageBoxWindow(HWND window);
// Waits for a message box of the process that has not been answered yet.
bool WaitForMessageBox(DWORD processId, MessageBoxRecord* box, DWORD timeoutMs = DRIVER_WAIT_MS);
// Presses a button of the box (IDOK by default) and waits until it is gone.
void AnswerMessageBox(const MessageBoxRecord& box, int buttonId = IDOK);
// Waits for a box, checks its texts and icon with EXPECT_*, answers it with OK.
void ExpectMessageBox(DWORD processId, const std::wstring& text, const std::wstring& caption, UINT icon,
                      DWORD timeoutMs = DRIVER_WAIT_MS);
// True when no unanswered message box of the process is open.
bool NoMessageBoxOpen(DWORD processId);

// The edition's text for tests that run in both editions.
std::wstring EditionText(const wchar_t* english, const wchar_t* czech);

#endif
