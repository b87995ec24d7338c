// TKRG: CO2 transmitter. Its CO2 indication limits (signed, not range-checked) need firmware
// 00.00.04; older firmware hides them and is read at once.
#include "devices/sensors/co2_fields.h"
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_TKRG_ADDRESS),
    Co2LimitField(IDC_TKRG_LOW_LIMIT, REG_CO2_LOW_LIMIT, CODING_SIGNED, "800"),
    Co2LimitField(IDC_TKRG_HIGH_LIMIT, REG_CO2_HIGH_LIMIT, CODING_SIGNED, "1000"),
    Co2OffsetField(IDC_TKRG_OFFSET_CO2),
    CalibrationValueField(IDC_TKRG_CALIBRATION_VALUE, CALIBRATION_DEFAULT_ALWAYS),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TKRG_ADDRESS, IDC_TKRG_OFFSET_CO2, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_CO2_LOW_LIMIT, REG_CO2_HIGH_LIMIT, REG_OFFSET_CO2,
                                 REG_BAUD_PARITY, END_OF_LIST};
static const int CALIBRATION_IDS[] = {IDC_TKRG_CALIBRATION_GROUP, IDC_TKRG_CALIBRATION_LABEL,
                                      IDC_TKRG_CALIBRATION_VALUE, IDC_TKRG_CALIBRATION_WRITE, END_OF_LIST};
static const int OFFLINE_DISABLED_IDS[] = {IDC_TKRG_CALIBRATION_VALUE, IDC_TKRG_CALIBRATION_WRITE, END_OF_LIST};
static const int GATED_IDS[] = {IDC_TKRG_LIMITS_GROUP, IDC_TKRG_LOW_LABEL, IDC_TKRG_HIGH_LABEL, IDC_TKRG_LOW_LIMIT,
                                IDC_TKRG_HIGH_LIMIT, IDC_TKRG_CALIBRATION_GROUP, IDC_TKRG_CALIBRATION_LABEL,
                                IDC_TKRG_CALIBRATION_VALUE, IDC_TKRG_CALIBRATION_WRITE, END_OF_LIST};
static const ModelFirmwareGate GATE = {CO2_GATE_CO2_ONLY, GATED_IDS, 1};
static const ModelOrderedPair LIMITS = {IDC_TKRG_LOW_LIMIT, IDC_TKRG_HIGH_LIMIT, IDS_CO2_LIMIT_HI_BELOW_LO,
                                        IDS_CO2_CAPTION_SETTING_VALUE};
static const ModelCalibration CALIBRATION = {IDC_TKRG_CALIBRATION_WRITE, IDC_TKRG_CALIBRATION_VALUE};
static const ControlLabel LABELS[] = {
    {IDC_TKRG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TKRG_CO2_LABEL, IDS_CO2_CONCENTRATION},
    {IDC_TKRG_LIMITS_GROUP, IDS_CO2_LIMITS_GROUP},
    {IDC_TKRG_LOW_LABEL, IDS_CO2_LOW_LIMIT},
    {IDC_TKRG_HIGH_LABEL, IDS_CO2_HIGH_LIMIT},
    {IDC_TKRG_CALIBRATION_GROUP, IDS_CO2_CALIBRATION_GROUP},
    {IDC_TKRG_CALIBRATION_LABEL, IDS_CO2_CALIBRATION_VALUE},
    {IDC_TKRG_CALIBRATION_WRITE, IDS_CO2_CALIBRATION_BUTTON},
    {IDC_TKRG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TKRG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TKRG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TKRG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog TKRG_MODEL = {
    .designation = "TKRG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .textId = IDC_TKRG_TEXT,
    .openingText = "TKRG Dolvan     ",
    .defaultText = "TKRG Dolvan     ",
    .baudId = IDC_TKRG_BAUD,
    .readId = IDC_TKRG_READ,
    .writeId = IDC_TKRG_WRITE,
    .openId = IDC_TKRG_OPEN,
    .saveId = IDC_TKRG_SAVE,
    .defaultId = IDC_TKRG_DEFAULT,
    .cancelId = IDC_TKRG_CANCEL,
    .readTextId = IDS_TKRG_READ,
    .writeTextId = IDS_TKRG_WRITE,
    .mismatchTextId = IDS_TKRG_FILE_MISMATCH,
    .labels = LABELS,
    .hiddenIds = CALIBRATION_IDS,
    .offlineDisabledIds = OFFLINE_DISABLED_IDS,
    .gate = &GATE,
    .orderedPair = &LIMITS,
    .calibration = &CALIBRATION,
};

// Everything TKRG does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK TKRGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TKRG_MODEL, dialog, message, wParam, lParam);
}
