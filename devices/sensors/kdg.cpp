// KDG: CO2, temperature and humidity sensor. Its CO2 indication limits (signed, not range-checked)
// need firmware 00.00.05; older firmware hides them. KDG is never read at opening.
#include "devices/sensors/co2_fields.h"
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_KDG_ADDRESS),
    Co2LimitField(IDC_KDG_LOW_LIMIT, REG_CO2_LOW_LIMIT, CODING_SIGNED, "800"),
    Co2LimitField(IDC_KDG_HIGH_LIMIT, REG_CO2_HIGH_LIMIT, CODING_SIGNED, "1000"),
    OffsetField(IDC_KDG_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_KDG_OFFSET_HUMIDITY, REG_OFFSET_2),
    Co2OffsetField(IDC_KDG_OFFSET_CO2),
    CalibrationValueField(IDC_KDG_CALIBRATION_VALUE, CALIBRATION_DEFAULT_AT_OPENING),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_KDG_ADDRESS, IDC_KDG_OFFSET_TEMPERATURE, IDC_KDG_OFFSET_HUMIDITY, IDC_KDG_OFFSET_CO2,
                                 END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_CO2_LOW_LIMIT, REG_CO2_HIGH_LIMIT, REG_OFFSET_1,
                                 REG_OFFSET_2, REG_OFFSET_CO2, REG_BAUD_PARITY, END_OF_LIST};
static const int CALIBRATION_IDS[] = {IDC_KDG_CALIBRATION_GROUP, IDC_KDG_CALIBRATION_LABEL,
                                      IDC_KDG_CALIBRATION_VALUE, IDC_KDG_CALIBRATION_WRITE, END_OF_LIST};
static const int OFFLINE_DISABLED_IDS[] = {IDC_KDG_CALIBRATION_VALUE, IDC_KDG_CALIBRATION_WRITE, END_OF_LIST};
static const int GATED_IDS[] = {IDC_KDG_LIMITS_GROUP, IDC_KDG_LOW_LABEL, IDC_KDG_HIGH_LABEL, IDC_KDG_LOW_LIMIT,
                                IDC_KDG_HIGH_LIMIT, IDC_KDG_CALIBRATION_GROUP, IDC_KDG_CALIBRATION_LABEL,
                                IDC_KDG_CALIBRATION_VALUE, IDC_KDG_CALIBRATION_WRITE, END_OF_LIST};
static const ModelFirmwareGate GATE = {CO2_GATE_WITH_HUMIDITY, GATED_IDS, 0};
static const ModelOrderedPair LIMITS = {IDC_KDG_LOW_LIMIT, IDC_KDG_HIGH_LIMIT, IDS_CO2_LIMIT_HI_BELOW_LO,
                                        IDS_CO2_CAPTION_SETTING_VALUE};
static const ModelCalibration CALIBRATION = {IDC_KDG_CALIBRATION_WRITE, IDC_KDG_CALIBRATION_VALUE};
static const ControlLabel LABELS[] = {
    {IDC_KDG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_KDG_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_KDG_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_KDG_CO2_LABEL, IDS_CO2_CONCENTRATION},
    {IDC_KDG_LIMITS_GROUP, IDS_CO2_LIMITS_GROUP},
    {IDC_KDG_LOW_LABEL, IDS_CO2_LOW_LIMIT},
    {IDC_KDG_HIGH_LABEL, IDS_CO2_HIGH_LIMIT},
    {IDC_KDG_CALIBRATION_GROUP, IDS_CO2_CALIBRATION_GROUP},
    {IDC_KDG_CALIBRATION_LABEL, IDS_CO2_CALIBRATION_VALUE},
    {IDC_KDG_CALIBRATION_WRITE, IDS_CO2_CALIBRATION_BUTTON},
    {IDC_KDG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_KDG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_KDG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_KDG_BAUD_LABEL, IDS_CO2_SPEED},
    {0, 0},
};

static const ModelDialog KDG_MODEL = {
    .designation = "KDG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .textId = IDC_KDG_TEXT,
    .openingText = "KDG Dolvan      ",
    .defaultText = "KDG Dolvan s.r.o",
    .baudId = IDC_KDG_BAUD,
    .readId = IDC_KDG_READ,
    .writeId = IDC_KDG_WRITE,
    .openId = IDC_KDG_OPEN,
    .saveId = IDC_KDG_SAVE,
    .defaultId = IDC_KDG_DEFAULT,
    .cancelId = IDC_KDG_CANCEL,
    .readTextId = IDS_KDG_READ,
    .writeTextId = IDS_KDG_WRITE,
    .mismatchTextId = IDS_KDG_FILE_MISMATCH,
    .labels = LABELS,
    .hiddenIds = CALIBRATION_IDS,
    .offlineDisabledIds = OFFLINE_DISABLED_IDS,
    .gate = &GATE,
    .orderedPair = &LIMITS,
    .calibration = &CALIBRATION,
};

// Everything KDG does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK KDGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&KDG_MODEL, dialog, message, wParam, lParam);
}
