// Main window: entry state, the connection state machine, the buttons and the menu.
#include "app/main_window.h"

#include "app/device_types.h"
#include "app/dialog_routes.h"
#include "app/edition.h"
#include "kit/texts.h"
#include "link/hid_transport.h"
#include "resource.h"

HWND g_mainWindow = NULL;
HWND g_hidIdField = NULL, g_deviceField = NULL, g_firmwareField = NULL;
HWND g_startButton = NULL, g_stopButton = NULL, g_configButton = NULL, g_dataButton = NULL;
MSG g_msg;
BYTE g_mainState = MAIN_STATE_IDLE, g_mainNextState = MAIN_STATE_IDLE;
DWORD g_mainDelay = 0;

static const char MAIN_WINDOW_CLASS[] = "WinAPIMainClass";
static const int FIRST_MENU_COMMAND = IDM_EXIT;
static const int LAST_MENU_COMMAND = IDM_BOOTLOADER;

// One child window of the main window: class, extended style, place and initial text.
struct MainChild {
    HWND* handle;
    const char* windowClass;
    DWORD exStyle;
    int x, y, width, height;
    UINT textId;  // 0: no text
};

static const MainChild MAIN_CHILDREN[] = {
    {&g_hidIdField, "STATIC", WS_EX_CLIENTEDGE, 20, 60, 140, 25, 0},
    {&g_deviceField, "STATIC", WS_EX_CLIENTEDGE, 200, 60, 140, 25, 0},
    {&g_firmwareField, "STATIC", WS_EX_CLIENTEDGE, 380, 60, 140, 25, 0},
    {&g_startButton, "BUTTON", 0, 20, 260, 90, 25, IDS_BUTTON_START},
    {&g_stopButton, "BUTTON", 0, 140, 260, 90, 25, IDS_BUTTON_STOP},
    {&g_configButton, "BUTTON", 0, 260, 260, 90, 25, IDS_BUTTON_CONFIG},
    {&g_dataButton, "BUTTON", 0, 380, 260, 90, 25, IDS_BUTTON_DATA},
};

struct MainLabel {
    int x, y;
    UINT textId;
};

static const MainLabel MAIN_LABELS[] = {
    {20, 40, IDS_LABEL_HID_ID},
    {200, 40, IDS_LABEL_DEVICE},
    {380, 40, IDS_LABEL_FW_VERSION},
};

// The entry's first step: the state machine waits, then detects; nothing is connected yet.
void InitProgramState(HINSTANCE instance)
{
    g_mainNextState = MAIN_STATE_AUTODETECT;
    g_mainState = MAIN_STATE_DELAY;
    g_mainDelay = CONNECT_DELAY_TICKS;
    g_deviceConnected = 0;
    g_outputReport[0] = 0;
    g_outputReport[1] = 0;
    g_hInstance = instance;
}

// Registers the class and creates the window, its fields and buttons; starts the tick.
int CreateMainWindow()
{
    WNDCLASSEXA windowClass;
    WCHAR title[EDITION_TEXT_MAX_CHARS];

    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = g_hInstance;
    windowClass.hIcon = LoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(MAIN_MENU_ID);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    if (!RegisterClassExA(&windowClass)) return 0;

    LoadEditionText(IDS_MAIN_TITLE, title, EDITION_TEXT_MAX_CHARS);
    g_mainWindow = CreateWindowExW(0, L"WinAPIMainClass", title, WS_VISIBLE | WS_SYSMENU, 100, 100, 550, 400,
                                   NULL, NULL, g_hInstance, NULL);
    if (!g_mainWindow) return 0;

    for (size_t i = 0; i < sizeof(MAIN_CHILDREN) / sizeof(MAIN_CHILDREN[0]); i++) {
        const MainChild& child = MAIN_CHILDREN[i];
        WCHAR text[EDITION_TEXT_MAX_CHARS] = L"";
        WCHAR windowClassName[16];
        if (child.textId) LoadEditionText(child.textId, text, EDITION_TEXT_MAX_CHARS);
        MultiByteToWideChar(CP_ACP, 0, child.windowClass, -1, windowClassName, 16);
        *child.handle = CreateWindowExW(child.exStyle, windowClassName, text, WS_CHILD | WS_VISIBLE, child.x,
                                        child.y, child.width, child.height, g_mainWindow, NULL, g_hInstance, NULL);
        if (!*child.handle) return 0;
    }
    for (size_t i = 0; i < sizeof(MAIN_CHILDREN) / sizeof(MAIN_CHILDREN[0]); i++) {
        SendMessageA(*MAIN_CHILDREN[i].handle, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
    }

    SetTimer(g_mainWindow, TICK_TIMER_ID, MAIN_TICK_MS, NULL);
    SendMessageA(g_mainWindow, WM_TIMER, TICK_TIMER_ID, 0);
    EnableWindow(g_stopButton, FALSE);
    EnableWindow(g_dataButton, FALSE);
    return 1;
}

// Runs the message loop until the quit message; returns its code.
int RunMessageLoop()
{
    for (;;) {
        BOOL got = GetMessageA(&g_msg, NULL, 0, 0);
        if (got == 0 || got == -1) break;
        TranslateMessage(&g_msg);
        DispatchMessageA(&g_msg);
    }
    return (int)g_msg.wParam;
}

static void ShowMainMessage(UINT textId, UINT captionId, UINT icon)
{
    ShowMessage(g_mainWindow, textId, captionId, MB_OK | icon);
}

static void SetDelayThen(BYTE nextState)
{
    g_mainNextState = nextState;
    g_mainState = MAIN_STATE_DELAY;
    g_mainDelay = CONNECT_DELAY_TICKS;
}

// Blanks the fields, re-arms START and clears the flag; the DATA button keeps its text.
static void RunDisconnectTail()
{
    SetWindowTextA(g_hidIdField, " ");
    SetWindowTextA(g_deviceField, " ");
    SetWindowTextA(g_firmwareField, " ");
    EnableWindow(g_startButton, TRUE);
    EnableWindow(g_stopButton, FALSE);
    EnableWindow(g_dataButton, FALSE);
    g_deviceConnected = 0;
}

// Shows the connected arrangement and asks the device for its identification.
static void RunConnectTail()
{
    EnableWindow(g_startButton, FALSE);
    EnableWindow(g_stopButton, TRUE);
    EnableWindow(g_dataButton, TRUE);
    PrepareFeatureCommand(CMD_READ_STRINGS, 0, REPORT_MAGIC);
    if (SetHidFeature(g_featureOut, FEATURE_REPORT_SIZE, HID_SLOT_DEVICE) == 1) {
        SetDelayThen(MAIN_STATE_READ_IDENT);
        g_deviceConnected = 1;
    }
}

// Finds and opens the configured device, shows its product string and connects.
// The automatic run uses its own caption and the 24-character product string; START the other.
static void DetectDevice(int automatic)
{
    UINT captionId = automatic ? IDS_CAPTION_HID_DEVICE_INFO : IDS_CAPTION_DEVICE_INFO_FW;
    int count;

    ResetHidDeviceList();
    count = EnumerateHidDevices();
    if (count == 0) {
        if (automatic) g_mainState = MAIN_STATE_IDLE;
        ShowMainMessage(IDS_NO_HID_DEVICE, captionId, MB_ICONINFORMATION);
        return;
    }
    if (!FindHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE)) {
        if (automatic) g_mainState = MAIN_STATE_IDLE;
        ShowMainMessage(IDS_MY_HID_DEVICE_NOT_DETECTED, captionId, MB_ICONINFORMATION);
        return;
    }
    if (!OpenHidDeviceById(g_deviceVendorId, g_deviceProductId, count, HID_SLOT_DEVICE)) return;

    if (automatic) {
        GetHidProductString(g_productString, PRODUCT_STRING_AUTODETECT_CHARS, HID_SLOT_DEVICE);
        SetWindowTextA(g_hidIdField, g_productString);
    } else {
        char productString[PRODUCT_STRING_MAX_CHARS + 1] = "";
        GetHidProductString(productString, PRODUCT_STRING_MAX_CHARS, HID_SLOT_DEVICE);
        SetWindowTextA(g_hidIdField, productString);
    }
    RunConnectTail();
}

// Reads the identification report: device name, type, DATA button text and firmware version.
static void ReadIdentification()
{
    DWORD bytesRead = 0;
    if (ReadHidReport(g_inputReport, DATA_REPORT_SIZE, &bytesRead, HID_SLOT_DEVICE) != 1) {
        g_mainState = MAIN_STATE_STOPPED;
        CloseHidSlot(HID_SLOT_DEVICE);
        ShowMainMessage(IDS_STRINGS_READ_ERROR, IDS_CAPTION_HID_DEVICE_INFO, MB_ICONERROR);
        return;
    }
    CopyMemory(g_deviceNameText + 2, g_inputReport + 1, 16);
    g_deviceNameText[18] = 0;
    SetWindowTextA(g_deviceField, g_deviceNameText);
    IdentifyDeviceType();
    SetControlText(g_dataButton, g_deviceType == DEVICE_TYPE_GQU2 ? IDS_BUTTON_WRITE : IDS_BUTTON_READ);
    CopyMemory(g_firmwareText + 2, g_inputReport + 17, 8);
    g_firmwareText[10] = 0;
    SetWindowTextA(g_firmwareField, g_firmwareText);
    static const int DIGIT_BYTES[6] = {17, 18, 20, 21, 23, 24};
    for (int i = 0; i < 6; i++) g_firmwareDigits[i] = (BYTE)(g_inputReport[DIGIT_BYTES[i]] - '0');
    g_mainState = MAIN_STATE_IDLE;
}

// One step of the connection state machine.
static void RunMainTick()
{
    switch (g_mainState) {
    case MAIN_STATE_DELAY:
        if (g_mainDelay != 0) {
            g_mainDelay--;
        } else {
            g_mainState = g_mainNextState;
        }
        break;
    case MAIN_STATE_AUTODETECT:
        DetectDevice(1);
        break;
    case MAIN_STATE_READ_IDENT:
        ReadIdentification();
        break;
    case MAIN_STATE_STOPPED:
        RunDisconnectTail();
        g_mainState = MAIN_STATE_IDLE;
        break;
    default:
        break;
    }
}

// CONFIG or DATA right after connecting: the device's identification report is still queued,
// so read it now rather than let a dialog take it for its own data.
static void FinishPendingIdentification()
{
    int pending = g_mainState == MAIN_STATE_READ_IDENT ||
                  (g_mainState == MAIN_STATE_DELAY && g_mainNextState == MAIN_STATE_READ_IDENT);
    if (!pending) return;
    ReadIdentification();
    if (g_mainState == MAIN_STATE_STOPPED) RunDisconnectTail();
}

static void HideMainWindow()
{
    ShowWindow(g_mainWindow, SW_HIDE);
}

static void RestoreMainWindow()
{
    ShowWindow(g_mainWindow, SW_RESTORE);
}

static void OnStartButton()
{
    if (g_mainState != MAIN_STATE_IDLE) return;
    DetectDevice(0);
}

static void OnStopButton()
{
    if (g_deviceConnected != 1) return;
    CloseHidSlot(HID_SLOT_DEVICE);
    RunDisconnectTail();
    g_mainState = MAIN_STATE_IDLE;
}

// Opens the configuration dialog of the device type, off-line after the model picker.
static void OnConfigButton()
{
    const DeviceTypeInfo* info;
    FinishPendingIdentification();
    g_mainState = MAIN_STATE_IDLE;
    HideMainWindow();
    if (g_deviceConnected == 1) {
        IdentifyDeviceType();
        if (!CheckFirmwareVersion()) ShowMainMessage(IDS_FIRMWARE_OLD, IDS_CAPTION_DEVICE_INFO_FW, MB_ICONINFORMATION);
    } else {
        RunDialogRoute(g_mainWindow, OFFLINE_PICKER_ROUTE);
    }
    info = FindDeviceTypeInfo(g_deviceType);
    if (info) RunModalDialog(g_mainWindow, info->templateId, info->dialogProc);
    RestoreMainWindow();
}

// Opens the live values, or the analog-output writer for GQU2.
static void OnDataButton()
{
    FinishPendingIdentification();
    IdentifyDeviceType();
    g_mainState = MAIN_STATE_IDLE;
    HideMainWindow();
    RunDialogRoute(g_mainWindow, g_deviceType == DEVICE_TYPE_GQU2 ? ANALOG_OUTPUT_WRITE_ROUTE : LIVE_DATA_ROUTE);
    RestoreMainWindow();
}

static void OnCalibratorHidIdCommand()
{
    if (RunDialogRoute(g_mainWindow, CALIBRATOR_HID_ID_ROUTE) != 1)
        ShowMainMessage(IDS_FUNCTION_NOT_AVAILABLE, IDS_CAPTION_TOOLS, MB_ICONINFORMATION);
}

// The identified type chooses the window, so an identification still pending is read first.
static void OnAutoCalibrationCommand()
{
    FinishPendingIdentification();
    if (GetCalibrationKind(g_deviceType) == CALIBRATION_NONE) {
        ShowMainMessage(IDS_FUNCTION_NOT_AVAILABLE, IDS_CAPTION_TOOLS, MB_ICONINFORMATION);
        return;
    }
    HideMainWindow();
    RunDialogRoute(g_mainWindow, g_deviceType == DEVICE_TYPE_T1CGA ? AIN_CALIBRATION_ROUTE : AOUT_CALIBRATION_ROUTE);
    RestoreMainWindow();
}

// After a firmware download the device list is stale: release it and detect afresh.
static void OnBootloaderCommand()
{
    HideMainWindow();
    RunDialogRoute(g_mainWindow, BOOTLOADER_ROUTE);
    RestoreMainWindow();
    CloseHidSlot(HID_SLOT_DEVICE);
    FreeHidDeviceList();
    RunDisconnectTail();
    SetDelayThen(MAIN_STATE_AUTODETECT);
}

static void OnMenuCommand(int command)
{
    switch (command) {
    case IDM_EXIT:
        SendMessageA(g_mainWindow, WM_CLOSE, 0, 0);
        break;
    case IDM_MANUAL_CALIBRATION:
        ShowMainMessage(IDS_FUNCTION_NOT_AVAILABLE, IDS_CAPTION_TOOLS, MB_ICONINFORMATION);
        break;
    case IDM_SUPPORTED_DEVICES:
        ShowMainMessage(IDS_SUPPORTED_DEVICES, IDS_CAPTION_DEVICES, MB_ICONINFORMATION);
        break;
    case IDM_SUPPORTED_FUNCTIONS:
        ShowMainMessage(IDS_SUPPORTED_FUNCTIONS, IDS_CAPTION_FUNCTIONS, MB_ICONINFORMATION);
        break;
    case IDM_ABOUT:
        ShowMainMessage(IDS_ABOUT, IDS_CAPTION_ABOUT, MB_ICONINFORMATION);
        break;
    case IDM_HID_ID_DEVICE:
        if (RunDialogRoute(g_mainWindow, DEVICE_HID_ID_ROUTE) != 1) OnCalibratorHidIdCommand();
        break;
    case IDM_HID_ID_CALIBRATOR:
        OnCalibratorHidIdCommand();
        break;
    case IDM_AUTO_CALIBRATION:
        OnAutoCalibrationCommand();
        break;
    case IDM_BOOTLOADER:
        OnBootloaderCommand();
        break;
    default:
        break;
    }
}

static void OnMainCommand(WPARAM wParam, LPARAM lParam)
{
    HWND control = (HWND)lParam;
    int command = LOWORD(wParam);
    if (control == NULL) {
        if (command >= FIRST_MENU_COMMAND && command <= LAST_MENU_COMMAND) OnMenuCommand(command);
        return;
    }
    if (HIWORD(wParam) != BN_CLICKED) return;
    if (control == g_startButton) OnStartButton();
    else if (control == g_stopButton) OnStopButton();
    else if (control == g_configButton) OnConfigButton();
    else if (control == g_dataButton) OnDataButton();
}

static void PaintMainLabels(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < sizeof(MAIN_LABELS) / sizeof(MAIN_LABELS[0]); i++) {
        WCHAR text[EDITION_TEXT_MAX_CHARS];
        int length = LoadEditionText(MAIN_LABELS[i].textId, text, EDITION_TEXT_MAX_CHARS);
        TextOutW(dc, MAIN_LABELS[i].x, MAIN_LABELS[i].y, text, length);
    }
    EndPaint(window, &paint);
}

// Closing closes every device handle still open and stops the tick.
static void OnMainClose(HWND window)
{
    for (int slot = 0; slot < HID_SLOT_COUNT; slot++) CloseHidSlot(slot);
    KillTimer(window, TICK_TIMER_ID);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == TICK_TIMER_ID) RunMainTick();
        break;
    case WM_COMMAND:
        OnMainCommand(wParam, lParam);
        break;
    case WM_PAINT:
        PaintMainLabels(window);
        break;
    case WM_CLOSE:
        OnMainClose(window);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
