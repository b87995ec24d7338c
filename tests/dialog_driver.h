// Driving a model dialog from a test: control texts, typing, settings files and the common file
// dialog its Open and Save buttons show.
#ifndef ZENTIL_TESTS_DIALOG_DRIVER_H
#define ZENTIL_TESTS_DIALOG_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

std::string ItemText(HWND dialog, int id);
// A click as the user makes it (posted: the call does not wait for it).
void Click(HWND dialog, int id);
// A click, handled before the call returns (or the modal loop it opened running). Not for a
// click that ends a dialog run by RunDialog: its thread takes no messages until the test ends.
void ClickAndWait(HWND dialog, int id);
// A list choice as the user makes it: the selection, then the notification, handled.
void SelectEntry(HWND dialog, int id, int index);
// Gives a list the focus, picks its entry and tells where its handler left the focus, all in one
// step of the UI thread: another program on the shared display may take the focus at any moment
// between two steps.
HWND SelectEntryAndTakeFocus(HWND dialog, int id, int index);
bool IsChecked(HWND dialog, int id);
// The selected entry of a list.
int Selected(HWND dialog, int id);
// Presses OK on every open message box until `settled` holds, `dialog` (when given) is enabled
// again (a box it owns, even one not shown yet, keeps it disabled) and no box has come for half a
// second: range messages of several fields stack, since the tick goes on under each box.
void DismissMessageBoxes(HWND dialog, const std::function<bool()>& settled, DWORD timeoutMs = 15000);
// Every label, group and button text, and every list entry, fits its control in the dialog's font.
void ExpectLabelsFit(HWND dialog);
// Waits until the write engine has stored the image more than `storesBefore` times (its last
// store step on the wire) and its progress window is gone, for as long as the device goes on
// being written. `modelDialog`, when given, is never taken for the progress window (some model
// dialogs use its control id).
bool WaitForStoredWrite(int deviceId, int storesBefore, HWND modelDialog = nullptr);
// A path in the temporary folder, apart for each test program (both editions run at once).
std::string TempPath(const std::string& name);
// Replaces the control's text as typing would (the dialog gets EN_CHANGE).
void TypeInto(HWND dialog, int id, const char* text);

// One tick of the dialog with the focus on `focusId`, after typing `text` into `typedId` when one
// is given, all in one go on the UI thread: the tests of both editions share one display, and the
// other program's windows may move this program's focus between two steps made from the test
// thread. Does not wait for the tick, which may open a box; WaitForPostedMessages() waits for a
// tick that opens none.
void PostTickWithFocusOn(HWND dialog, int focusId, int typedId = 0, const char* text = nullptr);

// Records the texts of some controls of a dialog at the moment each message box of the UI thread
// opens (on the UI thread, before the test can answer it): what a check had rewritten before it
// showed its box, whatever the ticks inside the box's own loop go on to do.
class TextsAtEachBox {
public:
    TextsAtEachBox(HWND dialog, std::vector<int> ids);
    ~TextsAtEachBox();
    std::vector<std::vector<std::string>> Seen();
};

// Counts the ticks (WM_TIMER messages taken from the queue) of one window of the UI thread while
// it lives; at each it first notes `probe()` (run on the UI thread before the tick is handled),
// so a test can tell in which tick something happened, however a busy machine stretches them.
class TickRecorder {
public:
    TickRecorder(HWND window, std::function<size_t()> probe = nullptr);
    ~TickRecorder();
    int Count();
    // Waits until `count` more ticks than now have been taken.
    bool WaitForMore(int count);
    // The probe's value at each tick, in order.
    std::vector<size_t> Probes();
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Answers the common file dialog `owner` opens with a path, and waits for it to close.
void ChooseFile(HWND owner, const std::string& path);

// The settings file a dialog must write: the header, 160 register lines holding the given value
// fields (register, text) and the 16-character text string in lines 40-47, and the end.
std::string ExpectedSettingsFile(const char* designation, const std::vector<std::pair<int, std::string>>& fields,
                                 const char* text16);

#endif
