// TNTDG: temperature and humidity unit with a fan and no LCD contrast.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/fan_command.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_TNTDG_ADDRESS),
    OffsetField(IDC_TNTDG_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_TNTDG_OFFSET_HUMIDITY, REG_OFFSET_2),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TNTDG_ADDRESS, IDC_TNTDG_OFFSET_TEMPERATURE, IDC_TNTDG_OFFSET_HUMIDITY, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_OFFSET_1, REG_OFFSET_2, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TNTDG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TNTDG_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_TNTDG_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_TNTDG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TNTDG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TNTDG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TNTDG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {IDC_TNTDG_FAN_GROUP, IDS_SENSORS_FAN_GROUP},
    {IDC_TNTDG_FAN, IDS_SENSORS_FAN_BUTTON},
    {0, 0},
};

static const ModelDialog TNTDG_MODEL = {
    .designation = "TNTDG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_TNTDG_TEXT,
    .openingText = "                ",
    .defaultText = "TNTDG Dolvan    ",
    .baudId = IDC_TNTDG_BAUD,
    .readId = IDC_TNTDG_READ,
    .writeId = IDC_TNTDG_WRITE,
    .openId = IDC_TNTDG_OPEN,
    .saveId = IDC_TNTDG_SAVE,
    .defaultId = IDC_TNTDG_DEFAULT,
    .cancelId = IDC_TNTDG_CANCEL,
    .readTextId = IDS_TNTDG_READ,
    .writeTextId = IDS_TNTDG_WRITE,
    .mismatchTextId = IDS_TNTDG_FILE_MISMATCH,
    .labels = LABELS,
};

// The shared skeleton, plus the fan button.
INT_PTR CALLBACK TNTDGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_TNTDG_FAN && HIWORD(wParam) == BN_CLICKED) {
        SendFanCommand(dialog);
        return 0;
    }
    return RunModelDialogMessage(&TNTDG_MODEL, dialog, message, wParam, lParam);
}
