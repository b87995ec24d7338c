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
