// TORG: transmitter with network settings only; registers 76 and 77 go back as read.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

static ModelValues s_values;

static const ModelField FIELDS[] = {
    AddressField(IDC_TORG_ADDRESS),
};
static_assert(sizeof(FIELDS) / sizeof(FIELDS[0]) <= MAX_MODEL_FIELDS, "the model keeps one value per field");
static const int TICK_ORDER[] = {IDC_TORG_ADDRESS, END_OF_LIST};
static const int FILE_ORDER[] = {REG_NETWORK_ADDRESS, REG_BAUD_PARITY, END_OF_LIST};
static const ControlLabel LABELS[] = {
    {IDC_TORG_TEXT_GROUP, IDS_SENSORS_TEXT_STRING},
    {IDC_TORG_NETWORK_GROUP, IDS_SENSORS_NETWORK_SETTING},
    {IDC_TORG_ADDRESS_LABEL, IDS_SENSORS_ADDRESS},
    {IDC_TORG_BAUD_LABEL, IDS_SENSORS_BAUD_RATE},
    {0, 0},
};

static const ModelDialog TORG_MODEL = {
    .designation = "TORG",
    .values = &s_values,
    .fields = FIELDS,
    .fieldCount = sizeof(FIELDS) / sizeof(FIELDS[0]),
    .tickOrder = TICK_ORDER,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_NO_LCD,
    .networkStyle = NETWORK_ENTRY_TEXT,
    .readsAtOpening = 1,
    .textId = IDC_TORG_TEXT,
    .openingText = "TORG            ",
    .defaultText = "TORG Dolvan     ",
    .baudId = IDC_TORG_BAUD,
    .readId = IDC_TORG_READ,
    .writeId = IDC_TORG_WRITE,
    .openId = IDC_TORG_OPEN,
    .saveId = IDC_TORG_SAVE,
    .defaultId = IDC_TORG_DEFAULT,
    .cancelId = IDC_TORG_CANCEL,
    .readTextId = IDS_TORG_READ,
    .writeTextId = IDS_TORG_WRITE,
    .mismatchTextId = IDS_TORG_FILE_MISMATCH,
    .labels = LABELS,
};

// Everything TORG does is the shared skeleton's.
INT_PTR CALLBACK TORGDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TORG_MODEL, dialog, message, wParam, lParam);
}
