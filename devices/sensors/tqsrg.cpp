// TQSRG: ambient-light transmitter with a light offset and the P20M mode, whose flag opens the two
// scale values of the light output for editing.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

// Register 39 carries the flags (bit 0: P20M mode); 56 and 57 the values for 0 % and 100 %;
// 78 the light offset in whole lx.
static const int REG_FLAGS = 39;
static const WORD FLAG_P20M_MODE = 0x0001;
static const int REG_SCALE_LOW = 56;
static const int REG_SCALE_HIGH = 57;
static const int REG_LIGHT_OFFSET = 78;

static ModelValues s_values;

// The transparency correction is kept on screen only (hidden, in no register and no file line).
static const ModelField FIELDS[] = {
    AddressField(IDC_TQSRG_ADDRESS),
    {IDC_TQSRG_SCALE_LOW, REG_SCALE_LOW, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 65535, 0, "0", 1},
    {IDC_TQSRG_SCALE_HIGH, REG_SCALE_HIGH, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 65535, 0, "65535", 1},
    {IDC_TQSRG_OFFSET_LIGHT, REG_LIGHT_OFFSET, CODING_SIGNED, CHECK_SIGNED, -200, 200, 0, "0"},
    {IDC_TQSRG_TRANSPARENCY, NO_REGISTER, CODING_UNSIGNED, CHECK_THOUSANDTHS, 1000, 65000, 0, "1.000"},
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TQSRG_OFFSET_LIGHT, IDC_TQSRG_TRANSPARENCY, IDC_TQSRG_ADDRESS,
                                 IDC_TQSRG_SCALE_LOW, IDC_TQSRG_SCALE_HIGH, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_SCALE_LOW, REG_SCALE_HIGH, REG_LIGHT_OFFSET,
                                 REG_BAUD_PARITY, REG_FLAGS, END_OF_LIST};
static const int SCALE_IDS[] = {IDC_TQSRG_SCALE_LOW, IDC_TQSRG_SCALE_HIGH, END_OF_LIST};
static const ModelFlag P20M_MODE = {IDC_TQSRG_P20M, REG_FLAGS, FLAG_P20M_MODE, SCALE_IDS};
static const int HIDDEN_IDS[] = {IDC_TQSRG_TRANSPARENCY_LABEL, IDC_TQSRG_TRANSPARENCY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TQSRG_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_TQSRG_LIGHT_LABEL, IDS_SENSORS_AMBIENT_LIGHT},
    {IDC_TQSRG_P20M_GROUP, IDS_SENSORS_P20M_MODE},
    {IDC_TQSRG_P20M, IDS_SENSORS_P20M_MODE},
    {IDC_TQSRG_TRANSPARENCY_LABEL, IDS_SENSORS_TRANSPARENCY},
    {IDC_TQSRG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TQSRG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TQSRG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TQSRG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog TQSRG_MODEL = {
    .designation = "TQSRG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_TQSRG_TEXT,
    .openingText = "Dolvan TQSRG    ",
    .defaultText = "TQSRG Dolvan    ",
    .baudId = IDC_TQSRG_BAUD,
    .readId = IDC_TQSRG_READ,
    .writeId = IDC_TQSRG_WRITE,
    .openId = IDC_TQSRG_OPEN,
    .saveId = IDC_TQSRG_SAVE,
    .defaultId = IDC_TQSRG_DEFAULT,
    .cancelId = IDC_TQSRG_CANCEL,
    .readTextId = IDS_TQSRG_READ,
    .writeTextId = IDS_TQSRG_WRITE,
    .mismatchTextId = IDS_TQSRG_FILE_MISMATCH,
    .labels = LABELS,
    .flag = &P20M_MODE,
    .hiddenIds = HIDDEN_IDS,
};

// Everything TQSRG does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK TQSRGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TQSRG_MODEL, dialog, message, wParam, lParam);
}
