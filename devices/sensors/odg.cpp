// ODG: temperature and humidity transmitter without LCD contrast.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_ODG_ADDRESS),
    OffsetField(IDC_ODG_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_ODG_OFFSET_HUMIDITY, REG_OFFSET_2),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_ODG_ADDRESS, IDC_ODG_OFFSET_TEMPERATURE, IDC_ODG_OFFSET_HUMIDITY, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_OFFSET_1, REG_OFFSET_2, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_ODG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_ODG_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_ODG_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_ODG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_ODG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_ODG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_ODG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog ODG_MODEL = {
    .designation = "ODG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_ODG_TEXT,
    .openingText = "ODG             ",
    .defaultText = "ODG Dolvan      ",
    .baudId = IDC_ODG_BAUD,
    .readId = IDC_ODG_READ,
    .writeId = IDC_ODG_WRITE,
    .openId = IDC_ODG_OPEN,
    .saveId = IDC_ODG_SAVE,
    .defaultId = IDC_ODG_DEFAULT,
    .cancelId = IDC_ODG_CANCEL,
    .readTextId = IDS_ODG_READ,
    .writeTextId = IDS_ODG_WRITE,
    .mismatchTextId = IDS_ODG_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything ODG does is the shared skeleton's.
INT_PTR CALLBACK ODGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&ODG_MODEL, dialog, message, wParam, lParam);
}
