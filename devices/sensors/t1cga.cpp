// T1CGA: temperature transmitter with a resistance-thermometer input and its input-signal choice.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

// Register 68: the input signal, an index into the sensor list.
static const int REG_INPUT_SIGNAL = 68;
static const UINT INPUT_SIGNAL_TEXT_IDS[] = {
    IDS_SENSORS_INPUT_PT100, IDS_SENSORS_INPUT_PT1000, IDS_SENSORS_INPUT_NI1000_5000, IDS_SENSORS_INPUT_NI1000_6180,
};
static const ModelChoice INPUT_SIGNAL = {IDC_T1CGA_INPUT, REG_INPUT_SIGNAL, INPUT_SIGNAL_TEXT_IDS, 4, 1};

static ModelValues s_values;

static const ModelField FIELDS[] = {
    ContrastField(IDC_T1CGA_CONTRAST),
    AddressField(IDC_T1CGA_ADDRESS),
    OffsetField(IDC_T1CGA_OFFSET_TEMPERATURE, REG_OFFSET_1),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_T1CGA_CONTRAST, IDC_T1CGA_ADDRESS, IDC_T1CGA_OFFSET_TEMPERATURE, END_OF_LIST};
static const int FILE_ORDER[] = {REG_LCD_SETTING, REG_NETWORK_ADDRESS, REG_OFFSET_1, REG_INPUT_SIGNAL, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_T1CGA_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_T1CGA_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_T1CGA_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_T1CGA_LCD_GROUP, IDS_SENSORS_LCD_SETTING},
    {IDC_T1CGA_CONTRAST_LABEL, IDS_SENSORS_CONTRAST},
    {IDC_T1CGA_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_T1CGA_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_T1CGA_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {IDC_T1CGA_PARITY_LABEL, IDS_SENSORS_PARITY},
    {IDC_T1CGA_INPUT_LABEL, IDS_SENSORS_INPUT_SIGNAL},
    {0, 0},
};

static const ModelDialog T1CGA_MODEL = {
    .designation = "T1cGA",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .choice = &INPUT_SIGNAL,
    .contrastRule = CONTRAST_FROM_FIELD,
    .networkStyle = NETWORK_SELECT_ENTRY,
    .readsAtOpening = 1,
    .textId = IDC_T1CGA_TEXT,
    .openingText = "                ",
    .defaultText = "T1cGA Dolvan    ",
    .baudId = IDC_T1CGA_BAUD,
    .parityId = IDC_T1CGA_PARITY,
    .parityTextIds = PARITY_TEXT_IDS,
    .readId = IDC_T1CGA_READ,
    .writeId = IDC_T1CGA_WRITE,
    .openId = IDC_T1CGA_OPEN,
    .saveId = IDC_T1CGA_SAVE,
    .defaultId = IDC_T1CGA_DEFAULT,
    .cancelId = IDC_T1CGA_CANCEL,
    .readTextId = IDS_T1CGA_READ,
    .writeTextId = IDS_T1CGA_WRITE,
    .mismatchTextId = IDS_T1CGA_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything T1CGA does is the shared skeleton's.
INT_PTR CALLBACK T1CGADlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&T1CGA_MODEL, dialog, message, wParam, lParam);
}
