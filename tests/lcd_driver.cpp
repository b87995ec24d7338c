// Driving the LCD dialogs in tests.
#include "tests/lcd_driver.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "app/main_window.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

const std::string STATUS_STEP = "g ";
const std::string BEGIN_STEP = "sC8 ";
const std::string END_STEP = "sC9 ";

// The feature traffic from event `from` on: g feature read, sXX feature command (failed calls
// left out). Opens and closes come on another channel, so they are counted apart.
std::string Features(int deviceId, size_t from)
{
    std::string text;
    std::vector<SimEvent> events = SimGetEvents(deviceId);
    for (size_t k = from; k < events.size(); k++) {
        const SimEvent& event = events[k];
        if (event.failed) continue;
        char step[8] = "";
        if (event.kind == SIM_EVENT_GET_FEATURE) strcpy(step, "g ");
        if (event.kind == SIM_EVENT_SET_FEATURE) snprintf(step, sizeof step, "s%02X ", event.bytes.size() > 1 ? event.bytes[1] : 0);
        text += step;
    }
    return text;
}

int CountOpens(int deviceId, size_t from)
{
    std::vector<SimEvent> events = SimGetEvents(deviceId);
    int opens = 0;
    for (size_t k = from; k < events.size(); k++) opens += events[k].kind == SIM_EVENT_OPEN;
    return opens;
}

size_t Mark(int deviceId)
{
    return SimGetEvents(deviceId).size();
}

std::string ReadEngineSteps()
{
    std::string steps;
    for (int block = 1; block <= 12; block++) steps += "sC0 ";
    return steps;
}

std::string WriteEngineSteps()
{
    std::string steps = "sCE g ";
    for (int block = 1; block <= 12; block++) steps += "sC1 ";
    return steps + "sCD sCD sCD ";
}

void SetStatusWord(int deviceId, WORD status)
{
    SimLock lock;
    SimGetDevice(deviceId)->statusWord = status;
}

bool WaitForProgressGone()
{
    return WaitUntil([] {
        return WaitForDialogWithControl(ThisProcess(), IDC_READ_PROGRESS_TEXT, 0) == nullptr &&
               WaitForDialogWithControl(ThisProcess(), IDC_WRITE_PROGRESS_TEXT, 0) == nullptr;
    }, 10000);
}

// Waits until the transcript holds `count` commands `command` and the progress window is gone.
bool WaitForCommands(int deviceId, BYTE command, int count)
{
    return WaitWhileDeviceTalks(deviceId, [&] { return CountFeatureCommands(deviceId, command) >= count; }) &&
           WaitForProgressGone();
}

bool MainWindowBack()
{
    return WaitUntil([] { return IsWindowVisible(g_mainWindow) != 0; }, 10000);
}