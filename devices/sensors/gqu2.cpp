// GQU2: two-channel analog output module with a network port (no parity), a safety mode with its
// time-out, and raw input ranges; no LCD and no offsets.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

// Register 39 carries the flags (bit 2: safety mode active); 50 the safety time-out in ms; 51 a
// parameter the device expects to be 2000.
static const int REG_FLAGS = 39;
static const WORD FLAG_SAFETY_MODE = 0x0004;
static const int REG_SAFETY_TIMEOUT = 50;
static const int REG_FIXED_PARAMETER = 51;
static const WORD FIXED_PARAMETER_VALUE = 2000;

static ModelValues s_values;

// A raw input range end: a signed whole number.
constexpr ModelField RawInputField(int controlId, int registerIndex, const char* defaultText)
{
    return {controlId, registerIndex, CODING_SIGNED, CHECK_SIGNED, -32768, 32767, 0, defaultText};
}

// The address is shown as a signed number, checked as an unsigned one.
static const ModelField FIELDS[] = {
    {IDC_GQU2_ADDRESS, REG_NETWORK_ADDRESS, CODING_SIGNED, CHECK_UNSIGNED, 1, 254, 0, "1"},
    {IDC_GQU2_TIMEOUT, REG_SAFETY_TIMEOUT, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 65535, 0, "1000"},
    RawInputField(IDC_GQU2_INPUT_LOW_1, REG_INPUT_LOW_1, "0"),
    RawInputField(IDC_GQU2_INPUT_HIGH_1, REG_INPUT_HIGH_1, "1000"),
    RawInputField(IDC_GQU2_INPUT_LOW_2, REG_INPUT_LOW_2, "0"),
    RawInputField(IDC_GQU2_INPUT_HIGH_2, REG_INPUT_HIGH_2, "1000"),
    OutputField(IDC_GQU2_OUTPUT_LOW_1, REG_OUTPUT_LOW_1, "0.0"),
    OutputField(IDC_GQU2_OUTPUT_HIGH_1, REG_OUTPUT_HIGH_1, "10.0"),
    OutputField(IDC_GQU2_INITIAL_1, REG_INITIAL_VALUE_1, "0.0"),
    OutputField(IDC_GQU2_OUTPUT_LOW_2, REG_OUTPUT_LOW_2, "0.0"),
    OutputField(IDC_GQU2_OUTPUT_HIGH_2, REG_OUTPUT_HIGH_2, "10.0"),
    OutputField(IDC_GQU2_INITIAL_2, REG_INITIAL_VALUE_2, "0.0"),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_GQU2_ADDRESS,       IDC_GQU2_TIMEOUT,       IDC_GQU2_INPUT_LOW_1,
                                 IDC_GQU2_INPUT_HIGH_1,  IDC_GQU2_INPUT_LOW_2,   IDC_GQU2_INPUT_HIGH_2,
                                 IDC_GQU2_OUTPUT_LOW_1,  IDC_GQU2_OUTPUT_HIGH_1, IDC_GQU2_INITIAL_1,
                                 IDC_GQU2_OUTPUT_LOW_2,  IDC_GQU2_OUTPUT_HIGH_2, IDC_GQU2_INITIAL_2,
                                 END_OF_LIST};
static const int FILE_ORDER[] = {REG_INITIAL_VALUE_1, REG_INITIAL_VALUE_2, REG_FLAGS,         REG_NETWORK_ADDRESS,
                                 REG_BAUD_PARITY,     REG_SAFETY_TIMEOUT,  REG_INPUT_LOW_1,   REG_INPUT_HIGH_1,
                                 REG_INPUT_LOW_2,     REG_INPUT_HIGH_2,    REG_OUTPUT_KIND_1, REG_OUTPUT_KIND_2,
                                 REG_OUTPUT_LOW_1,    REG_OUTPUT_HIGH_1,   REG_OUTPUT_LOW_2,  REG_OUTPUT_HIGH_2,
                                 END_OF_LIST};
static const FixedRegister FIXED_REGISTERS[] = {{REG_FIXED_PARAMETER, FIXED_PARAMETER_VALUE}, {END_OF_LIST, 0}};
// The time-out is enabled only in safety mode, yet checked and written always.
static const int TIMEOUT_IDS[] = {IDC_GQU2_TIMEOUT, END_OF_LIST};
static const ModelFlag SAFETY_MODE = {IDC_GQU2_SAFETY_ACTIVE, REG_FLAGS, FLAG_SAFETY_MODE, TIMEOUT_IDS, 1};
// The time-out label keeps its template text in both editions.
static const ControlLabel LABELS[] = {
    {IDC_GQU2_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_GQU2_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_GQU2_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_GQU2_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {IDC_GQU2_SAFETY_GROUP, IDS_AOUT_SAFETY_MODE},
    {IDC_GQU2_SAFETY_ACTIVE, IDS_AOUT_SAFETY_ACTIVE},
    {IDC_GQU2_OUTPUT_1_GROUP, IDS_AOUT_OUTPUT_1},
    {IDC_GQU2_CURRENT_1, IDS_AOUT_CURRENT},
    {IDC_GQU2_VOLTAGE_1, IDS_AOUT_VOLTAGE},
    {IDC_GQU2_INPUT_LOW_1_LABEL, IDS_AOUT_INPUT_LOW},
    {IDC_GQU2_INPUT_HIGH_1_LABEL, IDS_AOUT_INPUT_HIGH},
    {IDC_GQU2_OUTPUT_2_GROUP, IDS_AOUT_OUTPUT_2},
    {IDC_GQU2_CURRENT_2, IDS_AOUT_CURRENT},
    {IDC_GQU2_VOLTAGE_2, IDS_AOUT_VOLTAGE},
    {IDC_GQU2_INPUT_LOW_2_LABEL, IDS_AOUT_INPUT_LOW},
    {IDC_GQU2_INPUT_HIGH_2_LABEL, IDS_AOUT_INPUT_HIGH},
    {0, 0},
};
static const AnalogOutput OUTPUTS[] = {
    {IDC_GQU2_CURRENT_1, IDC_GQU2_VOLTAGE_1, REG_OUTPUT_KIND_1, IDC_GQU2_OUTPUT_LOW_1, IDC_GQU2_OUTPUT_HIGH_1,
     IDC_GQU2_INITIAL_1, IDC_GQU2_OUTPUT_LOW_1_LABEL, IDC_GQU2_OUTPUT_HIGH_1_LABEL, IDC_GQU2_INITIAL_1_LABEL},
    {IDC_GQU2_CURRENT_2, IDC_GQU2_VOLTAGE_2, REG_OUTPUT_KIND_2, IDC_GQU2_OUTPUT_LOW_2, IDC_GQU2_OUTPUT_HIGH_2,
     IDC_GQU2_INITIAL_2, IDC_GQU2_OUTPUT_LOW_2_LABEL, IDC_GQU2_OUTPUT_HIGH_2_LABEL, IDC_GQU2_INITIAL_2_LABEL},
};

static const ModelDialog GQU2_MODEL = {
    .designation = "GQU2",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_UNTOUCHED,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_GQU2_TEXT,
    .openingText = "G-QU2  Dolvan  ",
    .defaultText = "G-QU2  Dolvan  ",
    .baudId = IDC_GQU2_BAUD,
    .readId = IDC_GQU2_READ,
    .writeId = IDC_GQU2_WRITE,
    .openId = IDC_GQU2_OPEN,
    .saveId = IDC_GQU2_SAVE,
    .defaultId = IDC_GQU2_DEFAULT,
    .cancelId = IDC_GQU2_CANCEL,
    .readTextId = IDS_GQU2_READ,
    .writeTextId = IDS_GQU2_WRITE,
    .mismatchTextId = IDS_GQU2_FILE_MISMATCH,
    .labels = LABELS,
    .flag = &SAFETY_MODE,
    .outputs = OUTPUTS,
    .outputCount = 2,
    .fixedRegisters = FIXED_REGISTERS,
    .baudOwnsRegister = 1,
};

// Everything GQU2 does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK GQU2DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&GQU2_MODEL, dialog, message, wParam, lParam);
}
