// Driving the LCD dialogs in tests.
#include "tests/lcd_driver.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "app/main_window.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

const std::string STATUS_STEP = "g ";
const std::string BEGIN_STEP = "sC8 ";
const std::string END_STEP = "sC9 ";

void Click(HWND dialog, int id)
{
    PostClick(GetDlgItem(dialog, id));
}

// A list choice as the user makes it: the selection, then the notification.
void SelectEntry(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    DWORD_PTR result;
    SendMessageTimeoutW(combo, CB_SETCURSEL, index, 0, SMTO_BLOCK, 5000, &result);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    WaitForPostedMessages();
}

int Selected(HWND dialog, int id)
{
    return (int)SendMessageW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
}

bool Checked(HWND dialog, int id)
{
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "zentil_lcd_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

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

int CountCommands(int deviceId, BYTE command)
{
    int count = 0;
    for (const SimEvent& event : SimGetEvents(deviceId))
        if (event.kind == SIM_EVENT_SET_FEATURE && !event.failed && event.bytes.size() > 1 && event.bytes[1] == command)
            count++;
    return count;
}

WORD DeviceRegister(int deviceId, int r)
{
    SimLock lock;
    return SimGetDevice(deviceId)->registers[r];
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
    return WaitUntil([&] { return CountCommands(deviceId, command) >= count; }, 10000) && WaitForProgressGone();
}

bool MainWindowBack()
{
    return WaitUntil([] { return IsWindowVisible(g_mainWindow) != 0; }, 10000);
}