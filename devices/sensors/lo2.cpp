// LO2: two frequency inputs driving two analog outputs; no LCD, no offsets.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

// An input range end in whole Hz.
constexpr ModelField FrequencyField(int controlId, int registerIndex, const char* defaultText)
{
    return {controlId, registerIndex, CODING_UNSIGNED, CHECK_UNSIGNED, 1, 20000, 0, defaultText};
}

static const ModelField FIELDS[] = {
    FrequencyField(IDC_LO2_INPUT_LOW_1, REG_INPUT_LOW_1, "10"),
    FrequencyField(IDC_LO2_INPUT_HIGH_1, REG_INPUT_HIGH_1, "100"),
    FrequencyField(IDC_LO2_INPUT_LOW_2, REG_INPUT_LOW_2, "10"),
    FrequencyField(IDC_LO2_INPUT_HIGH_2, REG_INPUT_HIGH_2, "100"),
    OutputField(IDC_LO2_OUTPUT_LOW_1, REG_OUTPUT_LOW_1, "0.0"),
    OutputField(IDC_LO2_OUTPUT_HIGH_1, REG_OUTPUT_HIGH_1, "10.0"),
    OutputField(IDC_LO2_INITIAL_1, REG_INITIAL_VALUE_1, "0.0"),
    OutputField(IDC_LO2_OUTPUT_LOW_2, REG_OUTPUT_LOW_2, "0.0"),
    OutputField(IDC_LO2_OUTPUT_HIGH_2, REG_OUTPUT_HIGH_2, "10.0"),
    OutputField(IDC_LO2_INITIAL_2, REG_INITIAL_VALUE_2, "0.0"),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_LO2_INPUT_LOW_1,  IDC_LO2_INPUT_HIGH_1,  IDC_LO2_INPUT_LOW_2,
                                 IDC_LO2_INPUT_HIGH_2, IDC_LO2_OUTPUT_LOW_1,  IDC_LO2_OUTPUT_HIGH_1,
                                 IDC_LO2_INITIAL_1,    IDC_LO2_OUTPUT_LOW_2,  IDC_LO2_OUTPUT_HIGH_2,
                                 IDC_LO2_INITIAL_2,    END_OF_LIST};
static const int FILE_ORDER[] = {REG_INITIAL_VALUE_1, REG_INITIAL_VALUE_2, REG_INPUT_LOW_1,   REG_INPUT_HIGH_1,
                                 REG_INPUT_LOW_2,     REG_INPUT_HIGH_2,    REG_OUTPUT_KIND_1, REG_OUTPUT_KIND_2,
                                 REG_OUTPUT_LOW_1,    REG_OUTPUT_HIGH_1,   REG_OUTPUT_LOW_2,  REG_OUTPUT_HIGH_2,
                                 END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_LO2_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_LO2_OUTPUT_1_GROUP, IDS_AOUT_OUTPUT_1},
    {IDC_LO2_CURRENT_1, IDS_AOUT_CURRENT},
    {IDC_LO2_VOLTAGE_1, IDS_AOUT_VOLTAGE},
    {IDC_LO2_INPUT_LOW_1_LABEL, IDS_AOUT_INPUT_LOW_HZ},
    {IDC_LO2_INPUT_HIGH_1_LABEL, IDS_AOUT_INPUT_HIGH_HZ},
    {IDC_LO2_OUTPUT_2_GROUP, IDS_AOUT_OUTPUT_2},
    {IDC_LO2_CURRENT_2, IDS_AOUT_CURRENT},
    {IDC_LO2_VOLTAGE_2, IDS_AOUT_VOLTAGE},
    {IDC_LO2_INPUT_LOW_2_LABEL, IDS_AOUT_INPUT_LOW_HZ},
    {IDC_LO2_INPUT_HIGH_2_LABEL, IDS_AOUT_INPUT_HIGH_HZ},
    {0, 0},
};
static const AnalogOutput OUTPUTS[] = {
    {IDC_LO2_CURRENT_1, IDC_LO2_VOLTAGE_1, REG_OUTPUT_KIND_1, IDC_LO2_OUTPUT_LOW_1, IDC_LO2_OUTPUT_HIGH_1,
     IDC_LO2_INITIAL_1, IDC_LO2_OUTPUT_LOW_1_LABEL, IDC_LO2_OUTPUT_HIGH_1_LABEL, IDC_LO2_INITIAL_1_LABEL},
    {IDC_LO2_CURRENT_2, IDC_LO2_VOLTAGE_2, REG_OUTPUT_KIND_2, IDC_LO2_OUTPUT_LOW_2, IDC_LO2_OUTPUT_HIGH_2,
     IDC_LO2_INITIAL_2, IDC_LO2_OUTPUT_LOW_2_LABEL, IDC_LO2_OUTPUT_HIGH_2_LABEL, IDC_LO2_INITIAL_2_LABEL},
};

static const ModelDialog LO2_MODEL = {
    .designation = "LO2",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_UNTOUCHED,
    .readsAtOpening = 1,
    .textId = IDC_LO2_TEXT,
    .openingText = "LO2 Dolvan s.r.o",
    .defaultText = "LO2 Dolvan s.r.o",
    .readId = IDC_LO2_READ,
    .writeId = IDC_LO2_WRITE,
    .openId = IDC_LO2_OPEN,
    .saveId = IDC_LO2_SAVE,
    .defaultId = IDC_LO2_DEFAULT,
    .cancelId = IDC_LO2_CANCEL,
    .readTextId = IDS_LO2_READ,
    .writeTextId = IDS_LO2_WRITE,
    .mismatchTextId = IDS_LO2_FILE_MISMATCH,
    .labels = LABELS,
    .outputs = OUTPUTS,
    .outputCount = 2,
};

// Everything LO2 does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK LO2DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&LO2_MODEL, dialog, message, wParam, lParam);
}
