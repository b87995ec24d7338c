// TNTRG: unit with a fan, network settings only.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/fan_command.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_TNTRG_ADDRESS),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TNTRG_ADDRESS, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TNTRG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TNTRG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TNTRG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TNTRG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {IDC_TNTRG_FAN_GROUP, IDS_SENSORS_FAN_GROUP},
    {IDC_TNTRG_FAN, IDS_SENSORS_FAN_BUTTON},
    {0, 0},
};

static const ModelDialog TNTRG_MODEL = {
    .designation = "TNTRG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_TNTRG_TEXT,
    .openingText = "                ",
    .defaultText = "TNTRG Dolvan    ",
    .baudId = IDC_TNTRG_BAUD,
    .readId = IDC_TNTRG_READ,
    .writeId = IDC_TNTRG_WRITE,
    .openId = IDC_TNTRG_OPEN,
    .saveId = IDC_TNTRG_SAVE,
    .defaultId = IDC_TNTRG_DEFAULT,
    .cancelId = IDC_TNTRG_CANCEL,
    .readTextId = IDS_TNTRG_READ,
    .writeTextId = IDS_TNTRG_WRITE,
    .mismatchTextId = IDS_TNTRG_FILE_MISMATCH,
    .labels = LABELS,
};

// The shared skeleton, plus the fan button.
INT_PTR CALLBACK TNTRGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_TNTRG_FAN && HIWORD(wParam) == BN_CLICKED) {
        SendFanCommand(dialog);
        return 0;
    }
    return RunModelDialogMessage(&TNTRG_MODEL, dialog, message, wParam, lParam);
}
