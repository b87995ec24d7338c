// G-QKE1: RMS-current input module; no read at opening, its own parity texts.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

// Register 82: the RMS current offset, in mA.
static const int REG_CURRENT_OFFSET = 82;
// G-QKE1 writes "odd" without the leading blank the other models use.
static const UINT GQKE1_PARITY_TEXT_IDS[PARITY_COUNT] = {
    IDS_SENSORS_PARITY_NONE, IDS_SENSORS_PARITY_ODD_GQKE1, IDS_SENSORS_PARITY_EVEN,
};

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_GQKE1_ADDRESS),
    {IDC_GQKE1_OFFSET_CURRENT, REG_CURRENT_OFFSET, CODING_SIGNED, CHECK_SIGNED, -200, 200, 0, "0"},
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_GQKE1_ADDRESS, IDC_GQKE1_OFFSET_CURRENT, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_CURRENT_OFFSET, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_GQKE1_MEASURE_GROUP, IDS_SENSORS_MEASURE_GROUP},
    {IDC_GQKE1_CURRENT_LABEL, IDS_SENSORS_RMS_CURRENT},
    {IDC_GQKE1_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_GQKE1_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_GQKE1_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_GQKE1_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {IDC_GQKE1_PARITY_LABEL, IDS_SENSORS_PARITY},
    {0, 0},
};

static const ModelDialog GQKE1_MODEL = {
    .designation = "G-QKE1",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_UNTOUCHED,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 0,
    .textId = IDC_GQKE1_TEXT,
    .openingText = "Dolvan G-QKE1    ",
    .defaultText = "G-QKE1 Dolvan   ",
    .baudId = IDC_GQKE1_BAUD,
    .parityId = IDC_GQKE1_PARITY,
    .parityTextIds = GQKE1_PARITY_TEXT_IDS,
    .readId = IDC_GQKE1_READ,
    .writeId = IDC_GQKE1_WRITE,
    .openId = IDC_GQKE1_OPEN,
    .saveId = IDC_GQKE1_SAVE,
    .defaultId = IDC_GQKE1_DEFAULT,
    .cancelId = IDC_GQKE1_CANCEL,
    .readTextId = IDS_GQKE1_READ,
    .writeTextId = IDS_GQKE1_WRITE,
    .mismatchTextId = IDS_GQKE1_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything G-QKE1 does is the shared skeleton's.
INT_PTR CALLBACK GQKE1DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&GQKE1_MODEL, dialog, message, wParam, lParam);
}
