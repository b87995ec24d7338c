// The window tour: every window the program can show, opened the way a user opens it, handed to a
// visitor once it is up, then closed with whatever it opened. The album and the layout test take
// their windows from here, and the tour takes the models from the program's own model table.
#ifndef ZENTIL_TESTS_WINDOW_TOUR_H
#define ZENTIL_TESTS_WINDOW_TOUR_H

#include <windows.h>

#include <functional>
#include <string>

// Called with a short file-friendly name ("live-values", "model-TDG") and the window.
typedef std::function<void(const std::string& name, HWND window)> WindowVisitor;

// Posts the click or command that opens a window, waits until the new dialog is up (enabled, its
// controls made, `ready` holding), visits it, and closes it and whatever closing it opened.
void VisitNewDialog(const std::string& name, const std::function<void()>& open, const WindowVisitor& visit,
                    const std::function<bool(HWND)>& ready = nullptr);

// The main window without a device, the off-line picker and both USB id dialogs; then with a TDG
// and a calibration device: the main window, live values (once they show) and the bootloader; with
// a GQU2: the analog-output writer. Runs the program itself; call it from the test thread.
void TourToolWindows(const WindowVisitor& visit);

// Every model dialog of the model table ("model-" and its designation), opened through CONFIG:
// on a simulated device of its model with its factory settings, after the read at opening; or,
// `offline`, without a device through the off-line picker's button of the model.
void TourModelDialogs(bool offline, const WindowVisitor& visit);

std::string WindowFileName(const char* model);

#endif
