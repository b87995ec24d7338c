// ORG: transmitter with network settings only.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_ORG_ADDRESS),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_ORG_ADDRESS, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_ORG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_ORG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_ORG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_ORG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog ORG_MODEL = {
    .designation = "ORG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_ORG_TEXT,
    .openingText = "ORG             ",
    .defaultText = "ORG Dolvan      ",
    .baudId = IDC_ORG_BAUD,
    .readId = IDC_ORG_READ,
    .writeId = IDC_ORG_WRITE,
    .openId = IDC_ORG_OPEN,
    .saveId = IDC_ORG_SAVE,
    .defaultId = IDC_ORG_DEFAULT,
    .cancelId = IDC_ORG_CANCEL,
    .readTextId = IDS_ORG_READ,
    .writeTextId = IDS_ORG_WRITE,
    .mismatchTextId = IDS_ORG_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything ORG does is the shared skeleton's.
INT_PTR CALLBACK ORGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&ORG_MODEL, dialog, message, wParam, lParam);
}
