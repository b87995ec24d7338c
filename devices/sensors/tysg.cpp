// TYSG: air-speed transmitter with LCD; its speed offset is kept in hundredths.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

// Register 82: the speed offset in hundredths of m/s, checked in tenths (-20.0 to 20.0 m/s).
static const int REG_SPEED_OFFSET = 82;

static ModelValues s_values;

static const ModelField FIELDS[] = {
    ContrastField(IDC_TYSG_CONTRAST),
    AddressField(IDC_TYSG_ADDRESS),
    {IDC_TYSG_OFFSET_SPEED, REG_SPEED_OFFSET, CODING_HUNDREDTHS, CHECK_TENTHS, -200, 200, 0, "0.00"},
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TYSG_CONTRAST, IDC_TYSG_ADDRESS, IDC_TYSG_OFFSET_SPEED, END_OF_LIST};
static const int FILE_ORDER[] = {REG_LCD_SETTING, REG_NETWORK_ADDRESS, REG_SPEED_OFFSET, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TYSG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TYSG_SPEED_LABEL, IDS_SENSORS_SPEED},
    {IDC_TYSG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TYSG_LCD_GROUP, IDS_SENSORS_LCD_SETTING},
    {IDC_TYSG_CONTRAST_LABEL, IDS_SENSORS_CONTRAST},
    {IDC_TYSG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TYSG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TYSG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog TYSG_MODEL = {
    .designation = "TYSG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_FROM_FIELD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_TYSG_TEXT,
    .openingText = "Dolvan TYSG     ",
    .defaultText = "TYSG Dolvan s.r.o",
    .baudId = IDC_TYSG_BAUD,
    .readId = IDC_TYSG_READ,
    .writeId = IDC_TYSG_WRITE,
    .openId = IDC_TYSG_OPEN,
    .saveId = IDC_TYSG_SAVE,
    .defaultId = IDC_TYSG_DEFAULT,
    .cancelId = IDC_TYSG_CANCEL,
    .readTextId = IDS_TYSG_READ,
    .writeTextId = IDS_TYSG_WRITE,
    .mismatchTextId = IDS_TYSG_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything TYSG does is the shared skeleton's.
INT_PTR CALLBACK TYSGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TYSG_MODEL, dialog, message, wParam, lParam);
}
