// TKDG: CO2, temperature and humidity transmitter. Its CO2 indication limits (unsigned, 0..65535)
// need firmware 00.00.05; older firmware hides them and is read at once.
#include "devices/sensors/co2_fields.h"
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_TKDG_ADDRESS),
    Co2LimitField(IDC_TKDG_LOW_LIMIT, REG_CO2_LOW_LIMIT, CODING_UNSIGNED, "800"),
    Co2LimitField(IDC_TKDG_HIGH_LIMIT, REG_CO2_HIGH_LIMIT, CODING_UNSIGNED, "1000"),
    OffsetField(IDC_TKDG_OFFSET_TEMPERATURE, REG_OFFSET_1),
    OffsetField(IDC_TKDG_OFFSET_HUMIDITY, REG_OFFSET_2),
    Co2OffsetField(IDC_TKDG_OFFSET_CO2),
    CalibrationValueField(IDC_TKDG_CALIBRATION_VALUE, CALIBRATION_DEFAULT_AT_OPENING),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TKDG_ADDRESS, IDC_TKDG_LOW_LIMIT, IDC_TKDG_HIGH_LIMIT, IDC_TKDG_OFFSET_TEMPERATURE,
                                 IDC_TKDG_OFFSET_HUMIDITY, IDC_TKDG_OFFSET_CO2, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_CO2_LOW_LIMIT, REG_CO2_HIGH_LIMIT, REG_OFFSET_1,
                                 REG_OFFSET_2, REG_OFFSET_CO2, REG_BAUD_PARITY, END_OF_LIST};
static const int CALIBRATION_IDS[] = {IDC_TKDG_CALIBRATION_GROUP, IDC_TKDG_CALIBRATION_LABEL,
                                      IDC_TKDG_CALIBRATION_VALUE, IDC_TKDG_CALIBRATION_WRITE, END_OF_LIST};
static const int OFFLINE_DISABLED_IDS[] = {IDC_TKDG_CALIBRATION_VALUE, IDC_TKDG_CALIBRATION_WRITE, END_OF_LIST};
static const int GATED_IDS[] = {IDC_TKDG_LIMITS_GROUP, IDC_TKDG_LOW_LABEL, IDC_TKDG_HIGH_LABEL, IDC_TKDG_LOW_LIMIT,
                                IDC_TKDG_HIGH_LIMIT, IDC_TKDG_CALIBRATION_GROUP, IDC_TKDG_CALIBRATION_LABEL,
                                IDC_TKDG_CALIBRATION_VALUE, IDC_TKDG_CALIBRATION_WRITE, END_OF_LIST};
static const ModelFirmwareGate GATE = {CO2_GATE_WITH_HUMIDITY, GATED_IDS, 1};
static const ModelOrderedPair LIMITS = {IDC_TKDG_LOW_LIMIT, IDC_TKDG_HIGH_LIMIT, IDS_CO2_LIMIT_SETTING_VALUE,
                                        IDS_CO2_CAPTION_SETTING_VALUE};
static const ModelCalibration CALIBRATION = {IDC_TKDG_CALIBRATION_WRITE, IDC_TKDG_CALIBRATION_VALUE};
static const ControlLabel LABELS[] = {
    {IDC_TKDG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TKDG_TEMPERATURE_LABEL, IDS_SENSORS_TEMPERATURE},
    {IDC_TKDG_HUMIDITY_LABEL, IDS_SENSORS_HUMIDITY},
    {IDC_TKDG_CO2_LABEL, IDS_CO2_CONCENTRATION},
    {IDC_TKDG_LIMITS_GROUP, IDS_CO2_LIMITS_GROUP},
    {IDC_TKDG_LOW_LABEL, IDS_CO2_LOW_LIMIT},
    {IDC_TKDG_HIGH_LABEL, IDS_CO2_HIGH_LIMIT},
    {IDC_TKDG_CALIBRATION_GROUP, IDS_CO2_CALIBRATION_GROUP},
    {IDC_TKDG_CALIBRATION_LABEL, IDS_CO2_CALIBRATION_VALUE},
    {IDC_TKDG_CALIBRATION_WRITE, IDS_CO2_CALIBRATION_BUTTON},
    {IDC_TKDG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TKDG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TKDG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TKDG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog TKDG_MODEL = {
    .designation = "TKDG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .textId = IDC_TKDG_TEXT,
    .openingText = "TKDG            ",
    .defaultText = "TKDG Dolvan     ",
    .baudId = IDC_TKDG_BAUD,
    .readId = IDC_TKDG_READ,
    .writeId = IDC_TKDG_WRITE,
    .openId = IDC_TKDG_OPEN,
    .saveId = IDC_TKDG_SAVE,
    .defaultId = IDC_TKDG_DEFAULT,
    .cancelId = IDC_TKDG_CANCEL,
    .readTextId = IDS_TKDG_READ,
    .writeTextId = IDS_TKDG_WRITE,
    .mismatchTextId = IDS_TKDG_FILE_MISMATCH,
    .labels = LABELS,
    .hiddenIds = CALIBRATION_IDS,
    .offlineDisabledIds = OFFLINE_DISABLED_IDS,
    .gate = &GATE,
    .orderedPair = &LIMITS,
    .wrongSizeTextId = IDS_SENSORS_FILE_READ_ERROR,
    .calibration = &CALIBRATION,
};

// Everything TKDG does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK TKDGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TKDG_MODEL, dialog, message, wParam, lParam);
}
