// TYSO: air-speed transmitter with LCD contrast and one analog output; the speed offset and the
// input range are kept in hundredths of m/s.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

// Register 82: the speed offset in hundredths, checked in tenths (-20.0 to 20.0 m/s).
static const int REG_SPEED_OFFSET = 82;
// The input range is signed hundredths in the device, so the check stops at 327.6 m/s: a larger
// entry would wrap in the register.
static const int INPUT_MAX_TENTHS = 3276;

static ModelValues s_values;

static const ModelField FIELDS[] = {
    ContrastField(IDC_TYSO_CONTRAST),
    {IDC_TYSO_OFFSET_SPEED, REG_SPEED_OFFSET, CODING_HUNDREDTHS, CHECK_TENTHS, -200, 200, 0, "0.00"},
    {IDC_TYSO_INPUT_LOW_1, REG_INPUT_LOW_1, CODING_HUNDREDTHS, CHECK_TENTHS, 0, INPUT_MAX_TENTHS, 0, "0.00"},
    {IDC_TYSO_INPUT_HIGH_1, REG_INPUT_HIGH_1, CODING_HUNDREDTHS, CHECK_TENTHS, 0, INPUT_MAX_TENTHS, 0, "10.00"},
    OutputField(IDC_TYSO_OUTPUT_LOW_1, REG_OUTPUT_LOW_1, "0.0"),
    OutputField(IDC_TYSO_OUTPUT_HIGH_1, REG_OUTPUT_HIGH_1, "10.0"),
    OutputField(IDC_TYSO_INITIAL_1, REG_INITIAL_VALUE_1, "0.0"),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TYSO_CONTRAST,     IDC_TYSO_OFFSET_SPEED,  IDC_TYSO_INPUT_LOW_1,
                                 IDC_TYSO_INPUT_HIGH_1, IDC_TYSO_OUTPUT_LOW_1,  IDC_TYSO_OUTPUT_HIGH_1,
                                 IDC_TYSO_INITIAL_1,    END_OF_LIST};
static const int FILE_ORDER[] = {REG_INITIAL_VALUE_1, REG_LCD_SETTING,  REG_INPUT_LOW_1,   REG_INPUT_HIGH_1,
                                 REG_OUTPUT_KIND_1,   REG_SPEED_OFFSET, REG_OUTPUT_LOW_1,  REG_OUTPUT_HIGH_1,
                                 END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TYSO_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TYSO_SPEED_LABEL, IDS_SENSORS_SPEED},
    {IDC_TYSO_LCD_GROUP, IDS_SENSORS_LCD_SETTING},
    {IDC_TYSO_CONTRAST_LABEL, IDS_SENSORS_CONTRAST},
    {IDC_TYSO_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TYSO_OUTPUT_1_GROUP, IDS_AOUT_OUTPUT_1},
    {IDC_TYSO_CURRENT_1, IDS_AOUT_CURRENT},
    {IDC_TYSO_VOLTAGE_1, IDS_AOUT_VOLTAGE},
    {IDC_TYSO_INPUT_LOW_1_LABEL, IDS_AOUT_INPUT_LOW_SPEED},
    {IDC_TYSO_INPUT_HIGH_1_LABEL, IDS_AOUT_INPUT_HIGH_SPEED},
    {0, 0},
};
static const AnalogOutput OUTPUTS[] = {
    {IDC_TYSO_CURRENT_1, IDC_TYSO_VOLTAGE_1, REG_OUTPUT_KIND_1, IDC_TYSO_OUTPUT_LOW_1, IDC_TYSO_OUTPUT_HIGH_1,
     IDC_TYSO_INITIAL_1, IDC_TYSO_OUTPUT_LOW_1_LABEL, IDC_TYSO_OUTPUT_HIGH_1_LABEL, IDC_TYSO_INITIAL_1_LABEL},
};

static const ModelDialog TYSO_MODEL = {
    .designation = "TYSO",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_FROM_FIELD,
    .readsAtOpening = 1,
    .textId = IDC_TYSO_TEXT,
    .openingText = "Dolvan TYSO     ",
    .defaultText = "TYSO Dolvan     ",
    .readId = IDC_TYSO_READ,
    .writeId = IDC_TYSO_WRITE,
    .openId = IDC_TYSO_OPEN,
    .saveId = IDC_TYSO_SAVE,
    .defaultId = IDC_TYSO_DEFAULT,
    .cancelId = IDC_TYSO_CANCEL,
    .readTextId = IDS_TYSO_READ,
    .writeTextId = IDS_TYSO_WRITE,
    .mismatchTextId = IDS_TYSO_FILE_MISMATCH,
    .labels = LABELS,
    .outputs = OUTPUTS,
    .outputCount = 1,
};

// Everything TYSO does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK TYSODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TYSO_MODEL, dialog, message, wParam, lParam);
}
