// Driving the LCD dialogs (room units and room controllers) in tests: clicks and list choices as
// the user makes them, and the guarded transfer as the simulated device saw it.
#ifndef ZENTIL_TESTS_LCD_DRIVER_H
#define ZENTIL_TESTS_LCD_DRIVER_H

#include <windows.h>

#include <string>

// The guarded steps (status query, configuration begin and end) and the engines, each step on its
// own opening of the device.
extern const std::string STATUS_STEP;
extern const std::string BEGIN_STEP;
extern const std::string END_STEP;
const int READ_OPENS = 1 + 1 + 24 + 1;
const int WRITE_OPENS = 1 + 1 + 2 + 24 + 3 + 1;

void Click(HWND dialog, int id);
// A list choice as the user makes it: the selection, then the notification.
void SelectEntry(HWND dialog, int id, int index);
int Selected(HWND dialog, int id);
bool Checked(HWND dialog, int id);
std::string TempPath(const char* name);

// The feature traffic from event `from` on: g feature read, sXX feature command (failed calls
// left out). Opens and closes come on another channel, so they are counted apart.
std::string Features(int deviceId, size_t from);
int CountOpens(int deviceId, size_t from);
size_t Mark(int deviceId);
std::string ReadEngineSteps();
std::string WriteEngineSteps();
int CountCommands(int deviceId, BYTE command);
WORD DeviceRegister(int deviceId, int r);
void SetStatusWord(int deviceId, WORD status);

bool WaitForProgressGone();
// Waits until the transcript holds `count` commands `command` and the progress window is gone.
bool WaitForCommands(int deviceId, BYTE command, int count);
bool MainWindowBack();

#endif
