// DMG9A: temperature and humidity transmitter without LCD, with a network port and a digital
// output (dual-state or PWM) on the 2 MHz timebase.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;
static DigitalOutputValues s_output;

static const UINT DMG9A_PARITY_TEXT_IDS[PARITY_COUNT] = {
    IDS_SENSORS_PARITY_NONE, IDS_SENSORS_PARITY_ODD_GQKE1, IDS_SENSORS_PARITY_EVEN,
};
static const ModelField FIELDS[] = {
    AddressField(IDC_DMG9A_ADDRESS),
    OffsetField(IDC_DMG9A_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_DMG9A_OFFSET_HUMIDITY, REG_OFFSET_2),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_DMG9A_ADDRESS, IDC_DMG9A_OFFSET_TEMPERATURE, IDC_DMG9A_OFFSET_HUMIDITY, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_OFFSET_1, REG_OFFSET_2, REG_BAUD_PARITY,
                                 REG_OUTPUT_STEPS, REG_OUTPUT_PRESCALER, END_OF_LIST};
static const DigitalOutput OUTPUT = {
    &PWM_FAMILY_2MHZ, &s_output, IDC_DMG9A_OUTPUT_GROUP, IDC_DMG9A_DUALSTATE, IDC_DMG9A_PWM,
    IDC_DMG9A_STEPS_LABEL, IDC_DMG9A_STEPS, IDC_DMG9A_FREQUENCY_LABEL, IDC_DMG9A_FREQUENCY,
    IDC_DMG9A_PERIOD_LABEL, IDC_DMG9A_PERIOD, IDC_DMG9A_SET,
};
static const ControlLabel LABELS[] = {
    {IDC_DMG9A_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_DMG9A_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_DMG9A_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_DMG9A_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_DMG9A_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_DMG9A_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_DMG9A_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {IDC_DMG9A_PARITY_LABEL, IDS_SENSORS_PARITY},
    {0, 0},
};

static const ModelDialog DMG9A_MODEL = {
    .designation = "DMG9A",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_UNTOUCHED,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_DMG9A_TEXT,
    .openingText = "Dolvan DMG9A    ",
    .defaultText = "DMG9A Dolvan    ",
    .baudId = IDC_DMG9A_BAUD,
    .parityId = IDC_DMG9A_PARITY,
    .parityTextIds = DMG9A_PARITY_TEXT_IDS,
    .readId = IDC_DMG9A_READ,
    .writeId = IDC_DMG9A_WRITE,
    .openId = IDC_DMG9A_OPEN,
    .saveId = IDC_DMG9A_SAVE,
    .defaultId = IDC_DMG9A_DEFAULT,
    .cancelId = IDC_DMG9A_CANCEL,
    .readTextId = IDS_DMG9A_READ,
    .writeTextId = IDS_DMG9A_WRITE,
    .mismatchTextId = IDS_DMG9A_FILE_MISMATCH,
    .labels = LABELS,
    .digitalOutput = &OUTPUT,
};

// Everything DMG9A does is the shared skeleton's and the digital-output rule's.
INT_PTR CALLBACK DMG9ADlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&DMG9A_MODEL, dialog, message, wParam, lParam);
}
