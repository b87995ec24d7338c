// TODG: temperature and humidity transmitter without LCD contrast.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_TODG_ADDRESS),
    OffsetField(IDC_TODG_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_TODG_OFFSET_HUMIDITY, REG_OFFSET_2),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TODG_ADDRESS, IDC_TODG_OFFSET_TEMPERATURE, IDC_TODG_OFFSET_HUMIDITY, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_OFFSET_1, REG_OFFSET_2, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TODG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TODG_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_TODG_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_TODG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TODG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TODG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TODG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog TODG_MODEL = {
    .designation = "TODG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_TODG_TEXT,
    .openingText = "TODG            ",
    .defaultText = "TODG Dolvan     ",
    .baudId = IDC_TODG_BAUD,
    .readId = IDC_TODG_READ,
    .writeId = IDC_TODG_WRITE,
    .openId = IDC_TODG_OPEN,
    .saveId = IDC_TODG_SAVE,
    .defaultId = IDC_TODG_DEFAULT,
    .cancelId = IDC_TODG_CANCEL,
    .readTextId = IDS_TODG_READ,
    .writeTextId = IDS_TODG_WRITE,
    .mismatchTextId = IDS_TODG_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything TODG does is the shared skeleton's.
INT_PTR CALLBACK TODGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TODG_MODEL, dialog, message, wParam, lParam);
}
