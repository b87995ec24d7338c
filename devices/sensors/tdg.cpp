// TDG: temperature and humidity transmitter with LCD contrast and a parity choice.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    ContrastField(IDC_TDG_CONTRAST),
    AddressField(IDC_TDG_ADDRESS),
    OffsetField(IDC_TDG_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_TDG_OFFSET_HUMIDITY, REG_OFFSET_2),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TDG_CONTRAST, IDC_TDG_ADDRESS, IDC_TDG_OFFSET_TEMPERATURE, IDC_TDG_OFFSET_HUMIDITY, END_OF_LIST};
static const int FILE_ORDER[] = {REG_LCD_SETTING, REG_NETWORK_ADDRESS, REG_OFFSET_1, REG_OFFSET_2, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TDG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TDG_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_TDG_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_TDG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TDG_LCD_GROUP, IDS_SENSORS_LCD_SETTING},
    {IDC_TDG_CONTRAST_LABEL, IDS_SENSORS_CONTRAST},
    {IDC_TDG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TDG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TDG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {IDC_TDG_PARITY_LABEL, IDS_SENSORS_PARITY},
    {0, 0},
};

static const ModelDialog TDG_MODEL = {
    .designation = "TDG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_FROM_FIELD,
    .networkStyle = NETWORK_SELECT_ENTRY,
    .readsAtOpening = 1,
    .textId = IDC_TDG_TEXT,
    .openingText = "                ",
    .defaultText = "TDG Dolvan s.r.o",
    .baudId = IDC_TDG_BAUD,
    .parityId = IDC_TDG_PARITY,
    .parityTextIds = PARITY_TEXT_IDS,
    .readId = IDC_TDG_READ,
    .writeId = IDC_TDG_WRITE,
    .openId = IDC_TDG_OPEN,
    .saveId = IDC_TDG_SAVE,
    .defaultId = IDC_TDG_DEFAULT,
    .cancelId = IDC_TDG_CANCEL,
    .readTextId = IDS_TDG_READ,
    .writeTextId = IDS_TDG_WRITE,
    .mismatchTextId = IDS_TDG_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything TDG does is the shared skeleton's.
INT_PTR CALLBACK TDGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TDG_MODEL, dialog, message, wParam, lParam);
}
