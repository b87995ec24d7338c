// Driving the LCD dialogs (room units and room controllers) in tests: the guarded transfer as the
// simulated device saw it (clicks, lists and registers come from the dialog driver).
#ifndef ZENTIL_TESTS_LCD_DRIVER_H
#define ZENTIL_TESTS_LCD_DRIVER_H

#include <windows.h>

#include <string>

#include "tests/dialog_driver.h"
#include "tests/sim_transcript.h"

// The guarded steps (status query, configuration begin and end) and the engines, each step on its
// own opening of the device.
extern const std::string STATUS_STEP;
extern const std::string BEGIN_STEP;
extern const std::string END_STEP;
const int READ_OPENS = 1 + 1 + 24 + 1;
const int WRITE_OPENS = 1 + 1 + 2 + 24 + 3 + 1;


// The feature traffic from event `from` on: g feature read, sXX feature command (failed calls
// left out). Opens and closes come on another channel, so they are counted apart.
std::string Features(int deviceId, size_t from);
int CountOpens(int deviceId, size_t from);
size_t Mark(int deviceId);
std::string ReadEngineSteps();
std::string WriteEngineSteps();
void SetStatusWord(int deviceId, WORD status);

bool WaitForProgressGone();
// Waits until the transcript holds `count` commands `command` and the progress window is gone.
bool WaitForCommands(int deviceId, BYTE command, int count);
bool MainWindowBack();

#endif
