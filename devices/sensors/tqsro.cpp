// TQSRO: ambient-light transmitter with LCD contrast and two analog outputs; output 2 follows the
// presence input, whose range is fixed at 0 and 1.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

// A field that shows its default text and is never read, loaded or written.
constexpr ModelField ReadOnlyField(int controlId, int registerIndex, const char* text)
{
    ModelField field = {controlId, registerIndex, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 65535, 0, text};
    field.readOnly = 1;
    return field;
}

// The light offset is in whole lx (register 76); the transparency correction is kept on screen
// only (hidden, in no register and no file line); the presence range is shown, never edited.
static const ModelField FIELDS[] = {
    ContrastField(IDC_TQSRO_CONTRAST),
    {IDC_TQSRO_OFFSET_LIGHT, REG_OFFSET_1, CODING_SIGNED, CHECK_SIGNED, -200, 200, 0, "0"},
    {IDC_TQSRO_TRANSPARENCY, NO_REGISTER, CODING_UNSIGNED, CHECK_THOUSANDTHS, 1000, 65000, 0, "1.000"},
    {IDC_TQSRO_INPUT_LOW_1, REG_INPUT_LOW_1, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 65535, 0, "0"},
    {IDC_TQSRO_INPUT_HIGH_1, REG_INPUT_HIGH_1, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 65535, 0, "500"},
    ReadOnlyField(IDC_TQSRO_INPUT_LOW_2, REG_INPUT_LOW_2, "0"),
    ReadOnlyField(IDC_TQSRO_INPUT_HIGH_2, REG_INPUT_HIGH_2, "1"),
    OutputField(IDC_TQSRO_OUTPUT_LOW_1, REG_OUTPUT_LOW_1, "0.0"),
    OutputField(IDC_TQSRO_OUTPUT_HIGH_1, REG_OUTPUT_HIGH_1, "10.0"),
    OutputField(IDC_TQSRO_INITIAL_1, REG_INITIAL_VALUE_1, "0.0"),
    OutputField(IDC_TQSRO_OUTPUT_LOW_2, REG_OUTPUT_LOW_2, "0.0"),
    OutputField(IDC_TQSRO_OUTPUT_HIGH_2, REG_OUTPUT_HIGH_2, "10.0"),
    OutputField(IDC_TQSRO_INITIAL_2, REG_INITIAL_VALUE_2, "0.0"),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TQSRO_CONTRAST,     IDC_TQSRO_OFFSET_LIGHT, IDC_TQSRO_TRANSPARENCY,
                                 IDC_TQSRO_INPUT_LOW_1,  IDC_TQSRO_INPUT_HIGH_1, IDC_TQSRO_OUTPUT_LOW_1,
                                 IDC_TQSRO_OUTPUT_HIGH_1, IDC_TQSRO_INITIAL_1,   IDC_TQSRO_OUTPUT_LOW_2,
                                 IDC_TQSRO_OUTPUT_HIGH_2, IDC_TQSRO_INITIAL_2,   END_OF_LIST};
static const int FILE_ORDER[] = {REG_INITIAL_VALUE_1, REG_INITIAL_VALUE_2, REG_LCD_SETTING,   REG_INPUT_LOW_1,
                                 REG_INPUT_HIGH_1,    REG_INPUT_LOW_2,     REG_INPUT_HIGH_2,  REG_OUTPUT_KIND_1,
                                 REG_OUTPUT_KIND_2,   REG_OFFSET_1,        REG_OUTPUT_LOW_1,  REG_OUTPUT_HIGH_1,
                                 REG_OUTPUT_LOW_2,    REG_OUTPUT_HIGH_2,   END_OF_LIST};
// The presence input's range goes to the device as 0 and 1 whatever was read or loaded.
static const FixedRegister FIXED_REGISTERS[] = {{REG_INPUT_LOW_2, 0}, {REG_INPUT_HIGH_2, 1}, {END_OF_LIST, 0}};
static const int HIDDEN_IDS[] = {IDC_TQSRO_TRANSPARENCY_LABEL, IDC_TQSRO_TRANSPARENCY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TQSRO_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TQSRO_LIGHT_LABEL, IDS_SENSORS_AMBIENT_LIGHT},
    {IDC_TQSRO_TRANSPARENCY_LABEL, IDS_SENSORS_TRANSPARENCY},
    {IDC_TQSRO_LCD_GROUP, IDS_SENSORS_LCD_SETTING},
    {IDC_TQSRO_CONTRAST_LABEL, IDS_SENSORS_CONTRAST},
    {IDC_TQSRO_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TQSRO_OUTPUT_1_GROUP, IDS_AOUT_OUTPUT_1},
    {IDC_TQSRO_CURRENT_1, IDS_AOUT_CURRENT},
    {IDC_TQSRO_VOLTAGE_1, IDS_AOUT_VOLTAGE},
    {IDC_TQSRO_INPUT_LOW_1_LABEL, IDS_AOUT_INPUT_LOW_LUX},
    {IDC_TQSRO_INPUT_HIGH_1_LABEL, IDS_AOUT_INPUT_HIGH_LUX},
    {IDC_TQSRO_OUTPUT_2_GROUP, IDS_AOUT_OUTPUT_2},
    {IDC_TQSRO_CURRENT_2, IDS_AOUT_CURRENT},
    {IDC_TQSRO_VOLTAGE_2, IDS_AOUT_VOLTAGE},
    {IDC_TQSRO_INPUT_LOW_2_LABEL, IDS_AOUT_INPUT_LOW_PIR},
    {IDC_TQSRO_INPUT_HIGH_2_LABEL, IDS_AOUT_INPUT_HIGH_PIR},
    {0, 0},
};
// Output 1's range labels read differently at opening (in the English edition).
static const AnalogOutput OUTPUTS[] = {
    {IDC_TQSRO_CURRENT_1, IDC_TQSRO_VOLTAGE_1, REG_OUTPUT_KIND_1, IDC_TQSRO_OUTPUT_LOW_1, IDC_TQSRO_OUTPUT_HIGH_1,
     IDC_TQSRO_INITIAL_1, IDC_TQSRO_OUTPUT_LOW_1_LABEL, IDC_TQSRO_OUTPUT_HIGH_1_LABEL, IDC_TQSRO_INITIAL_1_LABEL,
     IDS_AOUT_TQSRO_OPENING_LOW, IDS_AOUT_TQSRO_OPENING_HIGH},
    {IDC_TQSRO_CURRENT_2, IDC_TQSRO_VOLTAGE_2, REG_OUTPUT_KIND_2, IDC_TQSRO_OUTPUT_LOW_2, IDC_TQSRO_OUTPUT_HIGH_2,
     IDC_TQSRO_INITIAL_2, IDC_TQSRO_OUTPUT_LOW_2_LABEL, IDC_TQSRO_OUTPUT_HIGH_2_LABEL, IDC_TQSRO_INITIAL_2_LABEL},
};

static const ModelDialog TQSRO_MODEL = {
    .designation = "TQSRO",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_FROM_FIELD,
    .readsAtOpening = 1,
    .textId = IDC_TQSRO_TEXT,
    .openingText = "                ",
    .defaultText = "TQSRO Dolvan    ",
    .readId = IDC_TQSRO_READ,
    .writeId = IDC_TQSRO_WRITE,
    .openId = IDC_TQSRO_OPEN,
    .saveId = IDC_TQSRO_SAVE,
    .defaultId = IDC_TQSRO_DEFAULT,
    .cancelId = IDC_TQSRO_CANCEL,
    .readTextId = IDS_TQSRO_READ,
    .writeTextId = IDS_TQSRO_WRITE,
    .mismatchTextId = IDS_TQSRO_FILE_MISMATCH,
    .labels = LABELS,
    .hiddenIds = HIDDEN_IDS,
    .outputs = OUTPUTS,
    .outputCount = 2,
    .fixedRegisters = FIXED_REGISTERS,
};

// Everything TQSRO does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK TQSRODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TQSRO_MODEL, dialog, message, wParam, lParam);
}
