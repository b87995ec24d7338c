// NRDG: temperature and humidity transmitter that leaves register 33 alone.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_NRDG_ADDRESS),
    OffsetField(IDC_NRDG_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_NRDG_OFFSET_HUMIDITY, REG_OFFSET_2),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_NRDG_ADDRESS, IDC_NRDG_OFFSET_TEMPERATURE, IDC_NRDG_OFFSET_HUMIDITY, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_OFFSET_1, REG_OFFSET_2, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_NRDG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_NRDG_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_NRDG_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_NRDG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_NRDG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_NRDG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_NRDG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog NRDG_MODEL = {
    .designation = "NRDG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_UNTOUCHED,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_NRDG_TEXT,
    .openingText = "                ",
    .defaultText = "NRDG Dolvan     ",
    .baudId = IDC_NRDG_BAUD,
    .readId = IDC_NRDG_READ,
    .writeId = IDC_NRDG_WRITE,
    .openId = IDC_NRDG_OPEN,
    .saveId = IDC_NRDG_SAVE,
    .defaultId = IDC_NRDG_DEFAULT,
    .cancelId = IDC_NRDG_CANCEL,
    .readTextId = IDS_NRDG_READ,
    .writeTextId = IDS_NRDG_WRITE,
    .mismatchTextId = IDS_NRDG_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything NRDG does is the shared skeleton's.
INT_PTR CALLBACK NRDGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&NRDG_MODEL, dialog, message, wParam, lParam);
}
