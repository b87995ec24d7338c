// Register image and the read/write engines that move it to and from the device in 12 blocks.
#include "link/transfer_engines.h"

#include "kit/shared_records.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "resource.h"

WORD g_deviceRegisters[DEVICE_REGISTER_COUNT] = {};
BYTE g_registerImageRead = 0;
BYTE g_rwState = TRANSFER_IDLE;
BYTE g_rwNextState = TRANSFER_IDLE;
DWORD g_rwDelay = 0;

// Blocks 2 and 3 carry 12 registers, all others 16.
static const BYTE BLOCK_FIRST_REGISTER[REGISTER_BLOCK_COUNT] = {0, 16, 28, 40, 56, 72, 88, 104, 120, 136, 152, 168};
static const BYTE BLOCK_REGISTER_COUNT[REGISTER_BLOCK_COUNT] = {16, 12, 12, 16, 16, 16, 16, 16, 16, 16, 16, 16};

// Progress text after block n (index n); the read window starts with index 0.
static const UINT READ_PROGRESS_TEXTS[REGISTER_BLOCK_COUNT + 1] = {
    IDS_READ_PROGRESS_0,  IDS_READ_PROGRESS_8,  IDS_READ_PROGRESS_16, IDS_READ_PROGRESS_24, IDS_READ_PROGRESS_32,
    IDS_READ_PROGRESS_40, IDS_READ_PROGRESS_48, IDS_READ_PROGRESS_56, IDS_READ_PROGRESS_64, IDS_READ_PROGRESS_72,
    IDS_READ_PROGRESS_80, IDS_READ_PROGRESS_88, IDS_READ_PROGRESS_99,
};
static const UINT WRITE_PROGRESS_TEXTS[REGISTER_BLOCK_COUNT + 1] = {
    0,                     IDS_WRITE_PROGRESS_8,  IDS_WRITE_PROGRESS_16, IDS_WRITE_PROGRESS_24,
    IDS_WRITE_PROGRESS_32, IDS_WRITE_PROGRESS_40, IDS_WRITE_PROGRESS_48, IDS_WRITE_PROGRESS_56,
    IDS_WRITE_PROGRESS_64, IDS_WRITE_PROGRESS_72, IDS_WRITE_PROGRESS_80, IDS_WRITE_PROGRESS_88,
    IDS_WRITE_PROGRESS_97,
};
// Texts after store steps 0 and 1; step 2 ends the run without one.
static const UINT STORE_PROGRESS_TEXTS[EEPROM_STORE_STEPS - 1] = {IDS_WRITE_PROGRESS_98, IDS_WRITE_PROGRESS_99};

int GetBlockFirstRegister(int block)
{
    return BLOCK_FIRST_REGISTER[block - 1];
}

int GetBlockRegisterCount(int block)
{
    return BLOCK_REGISTER_COUNT[block - 1];
}

// Waits `ticks` ticks and then enters `next`; the action of `next` runs on the tick after that.
static void StartDelay(DWORD ticks, BYTE next)
{
    g_rwDelay = ticks;
    g_rwNextState = next;
    g_rwState = TRANSFER_DELAY;
}

static void RunDelayTick()
{
    if (g_rwDelay != 0) g_rwDelay--;
    else g_rwState = g_rwNextState;
}

// Every failure: slot closed, engine idle, connection dropped, the message, then the window closes.
// The state is idle before the box opens, so the ticks its message loop delivers do nothing.
static void FailTransfer(HWND dialog, UINT textId)
{
    CloseHidSlot(HID_SLOT_DEVICE);
    g_rwState = TRANSFER_IDLE;
    g_deviceConnected = 0;
    g_registerImageRead = 0;
    ShowMessage(dialog, textId, IDS_CAPTION_SET_INFO, MB_OK | MB_ICONHAND);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// Sends one command with REPORT_MAGIC on slot 1, opened for this step only (its open is not
// tested: a failed open shows as a failed send).
static int SendBlockCommand(BYTE command, BYTE parameter)
{
    int sent;
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    PrepareFeatureCommand(command, parameter, REPORT_MAGIC);
    sent = SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE);
    if (sent) CloseHidSlot(HID_SLOT_DEVICE);
    return sent;
}

// Big-endian words from byte 1 of a data report; nothing in the report is checked.
static void CopyReportToBlock(const BYTE* report, int block)
{
    int first = GetBlockFirstRegister(block);
    for (int k = 0; k < GetBlockRegisterCount(block) && first + k < DEVICE_REGISTER_COUNT; k++) {
        g_deviceRegisters[first + k] = (WORD)((report[2 * k + 1] << 8) | report[2 * k + 2]);
    }
}

// The bytes after the block's last word keep what the shared output buffer held.
static void CopyBlockToReport(int block, BYTE* report)
{
    int first = GetBlockFirstRegister(block);
    for (int k = 0; k < GetBlockRegisterCount(block) && first + k < DEVICE_REGISTER_COUNT; k++) {
        report[2 * k + 1] = (BYTE)(g_deviceRegisters[first + k] >> 8);
        report[2 * k + 2] = (BYTE)(g_deviceRegisters[first + k] & 0xFF);
    }
}

static void ShowProgress(HWND dialog, int controlId, UINT textId)
{
    SetDialogItemText(dialog, controlId, textId);
}

// A command step: send it, then wait the step delay before `next`; a refused command fails the run.
static void RunCommandStep(HWND dialog, BYTE command, BYTE parameter, BYTE next, UINT failureTextId)
{
    if (SendBlockCommand(command, parameter)) {
        StartDelay(RW_STEP_DELAY_TICKS, next);
    } else {
        FailTransfer(dialog, failureTextId);
    }
}

// The last step of a run: the engine goes idle and the window closes.
static void FinishRun(HWND dialog)
{
    g_rwState = TRANSFER_IDLE;
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

static void RunReadData(HWND dialog, int block)
{
    DWORD count = 0;
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    if (!ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &count, HID_SLOT_DEVICE)) {
        FailTransfer(dialog, IDS_DATA_READ_ERROR);
        return;
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    CopyReportToBlock(g_inputReport, block);
    ShowProgress(dialog, IDC_READ_PROGRESS_TEXT, READ_PROGRESS_TEXTS[block]);
    if (block < REGISTER_BLOCK_COUNT) {
        g_rwState = (BYTE)(TRANSFER_READ_COMMAND + block);
    } else {
        g_registerImageRead = 1;
        FinishRun(dialog);
    }
}

// One step of the read run.
static void RunReadTick(HWND dialog)
{
    BYTE state = g_rwState;
    if (state == TRANSFER_DELAY) {
        RunDelayTick();
    } else if (state >= TRANSFER_READ_COMMAND && state < TRANSFER_READ_COMMAND + REGISTER_BLOCK_COUNT) {
        int block = state - TRANSFER_READ_COMMAND + 1;
        RunCommandStep(dialog, CMD_READ_BLOCK, (BYTE)block, (BYTE)(TRANSFER_READ_DATA + block - 1),
                       IDS_DATA_READ_POINTER_ERROR);
    } else if (state >= TRANSFER_READ_DATA && state < TRANSFER_READ_DATA + REGISTER_BLOCK_COUNT) {
        RunReadData(dialog, state - TRANSFER_READ_DATA + 1);
    }
}

static void RunJumperReply(HWND dialog)
{
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    if (!GetHidFeature(g_featureIn, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE)) {
        FailTransfer(dialog, IDS_DATA_WRITE_POINTER_ERROR);
        return;
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    // The state moves on before the box opens: the write goes on under it, whatever the reply.
    StartDelay(RW_STEP_DELAY_TICKS, TRANSFER_WRITE_COMMAND);
    if (g_featureIn[2] != 0) {
        ShowMessage(dialog, IDS_SERVICE_JUMPER_MISSING, IDS_CAPTION_DATA_WRITE_INFO, MB_OK | MB_ICONINFORMATION);
    }
}

static void RunWriteData(HWND dialog, int block)
{
    DWORD count = 0;
    CopyBlockToReport(block, g_outputReport);
    OpenHidPath(g_hidSlotListIndex[HID_SLOT_DEVICE], HID_SLOT_DEVICE);
    if (!WriteHidReport(g_outputReport, DATA_REPORT_SIZE, &count, HID_SLOT_DEVICE)) {
        FailTransfer(dialog, IDS_DATA_WRITE_ERROR);
        return;
    }
    CloseHidSlot(HID_SLOT_DEVICE);
    g_rwState = (BYTE)(block < REGISTER_BLOCK_COUNT ? TRANSFER_WRITE_COMMAND + block : TRANSFER_STORE);
    ShowProgress(dialog, IDC_WRITE_PROGRESS_TEXT, WRITE_PROGRESS_TEXTS[block]);
}

static void RunStoreStep(HWND dialog, int step)
{
    if (!SendBlockCommand(CMD_STORE_EEPROM, (BYTE)step)) {
        FailTransfer(dialog, IDS_EEPROM_WRITE_ERROR);
        return;
    }
    if (step < EEPROM_STORE_STEPS - 1) {
        StartDelay(RW_START_DELAY_TICKS, (BYTE)(TRANSFER_STORE + step + 1));
        ShowProgress(dialog, IDC_WRITE_PROGRESS_TEXT, STORE_PROGRESS_TEXTS[step]);
    } else {
        FinishRun(dialog);
    }
}

// One step of the write run.
static void RunWriteTick(HWND dialog)
{
    BYTE state = g_rwState;
    if (state == TRANSFER_DELAY) {
        RunDelayTick();
    } else if (state == TRANSFER_JUMPER_QUERY) {
        RunCommandStep(dialog, CMD_JUMPER_QUERY, 0, TRANSFER_JUMPER_REPLY, IDS_DATA_WRITE_POINTER_ERROR);
    } else if (state == TRANSFER_JUMPER_REPLY) {
        RunJumperReply(dialog);
    } else if (state >= TRANSFER_WRITE_COMMAND && state < TRANSFER_WRITE_COMMAND + REGISTER_BLOCK_COUNT) {
        int block = state - TRANSFER_WRITE_COMMAND + 1;
        RunCommandStep(dialog, CMD_WRITE_BLOCK, (BYTE)block, (BYTE)(TRANSFER_WRITE_DATA + block - 1),
                       IDS_DATA_WRITE_POINTER_ERROR);
    } else if (state >= TRANSFER_WRITE_DATA && state < TRANSFER_WRITE_DATA + REGISTER_BLOCK_COUNT) {
        RunWriteData(dialog, state - TRANSFER_WRITE_DATA + 1);
    } else if (state >= TRANSFER_STORE && state < TRANSFER_STORE + EEPROM_STORE_STEPS) {
        RunStoreStep(dialog, state - TRANSFER_STORE);
    }
}

// Ends a run (last step, failure, Esc or close). The engine is left idle, so the first tick of the
// next run cannot act on a step this run left half done (such as a report no command asked for).
static void EndTransferWindow(HWND dialog)
{
    KillTimer(dialog, TICK_TIMER_ID);
    g_rwState = TRANSFER_IDLE;
    EndDialog(dialog, TOOL_DIALOG_RESULT);
}

// Read progress window: 15-tick start delay, then per block a command, a 2-tick delay and the report.
// The handle the main window keeps while connected is closed first; each step opens its own.
INT_PTR CALLBACK ReadProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetTimer(dialog, TICK_TIMER_ID, DIALOG_TICK_MS, NULL);
        SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
        ShowProgress(dialog, IDC_READ_PROGRESS_TEXT, READ_PROGRESS_TEXTS[0]);
        StartDelay(RW_START_DELAY_TICKS, TRANSFER_READ_COMMAND);
        CloseHidSlot(HID_SLOT_DEVICE);
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunReadTick(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndTransferWindow(dialog);
        break;
    default:
        break;
    }
    return 0;
}

// Write progress window: jumper query and reply, 12 blocks, then three EEPROM store steps
// 340 ms apart; the template's "Write" stays until block 1 is written.
INT_PTR CALLBACK WriteProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetTimer(dialog, TICK_TIMER_ID, DIALOG_TICK_MS, NULL);
        SendMessageA(dialog, WM_TIMER, TICK_TIMER_ID, 0);
        StartDelay(RW_START_DELAY_TICKS, TRANSFER_JUMPER_QUERY);
        break;
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunWriteTick(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndTransferWindow(dialog);
        break;
    default:
        break;
    }
    return 0;
}
