// TDO and DMO: temperature and humidity transmitters with LCD contrast and two analog outputs. The
// two models share one dialog on two templates, so their tables are built once from each
// template's control ids.
#include "devices/sensors/model_dialog.h"
#include "devices/sensors/sensor_dialogs.h"
#include "resource.h"

// The controls of one template, in the roles the tables give them.
struct TdoControlIds {
    int read, write, open, save, byDefault, cancel;
    int measureGroup, temperatureLabel, offsetTemperature, humidityLabel, offsetHumidity;
    int lcdGroup, contrastLabel, contrast, textGroup, text;
    int group1, current1, voltage1, inputLow1Label, inputLow1, inputHigh1Label, inputHigh1;
    int outputLow1Label, outputLow1, outputHigh1Label, outputHigh1, initial1Label, initial1;
    int group2, current2, voltage2, inputLow2Label, inputLow2, inputHigh2Label, inputHigh2;
    int outputLow2Label, outputLow2, outputHigh2Label, outputHigh2, initial2Label, initial2;
};

static const int TDO_FIELD_COUNT = 13;
static const int TDO_LABEL_COUNT = 17;

struct TdoTables {
    ModelField fields[TDO_FIELD_COUNT];
    int tickOrder[TDO_FIELD_COUNT + 1];
    ControlLabel labels[TDO_LABEL_COUNT];
    AnalogOutput outputs[2];
};

// Temperature input range in tenths of °C, humidity input range in tenths of %RH.
constexpr ModelField TemperatureInputField(int controlId, int registerIndex, const char* defaultText)
{
    return {controlId, registerIndex, CODING_TENTHS, CHECK_TENTHS, -500, 2000, 0, defaultText};
}
constexpr ModelField HumidityInputField(int controlId, int registerIndex, const char* defaultText)
{
    return {controlId, registerIndex, CODING_TENTHS, CHECK_TENTHS, 0, 1000, 0, defaultText};
}

// The one description of the dialog, over a template's control ids.
constexpr TdoTables MakeTdoTables(const TdoControlIds& c)
{
    return {
        {
            ContrastField(c.contrast),
            OffsetField(c.offsetTemperature, REG_OFFSET_1),
            OffsetField(c.offsetHumidity, REG_OFFSET_2),
            TemperatureInputField(c.inputLow1, REG_INPUT_LOW_1, "0.0"),
            TemperatureInputField(c.inputHigh1, REG_INPUT_HIGH_1, "50.0"),
            HumidityInputField(c.inputLow2, REG_INPUT_LOW_2, "0.0"),
            HumidityInputField(c.inputHigh2, REG_INPUT_HIGH_2, "100.0"),
            OutputField(c.outputLow1, REG_OUTPUT_LOW_1, "0.0"),
            OutputField(c.outputHigh1, REG_OUTPUT_HIGH_1, "10.0"),
            OutputField(c.initial1, REG_INITIAL_VALUE_1, "0.0"),
            OutputField(c.outputLow2, REG_OUTPUT_LOW_2, "0.0"),
            OutputField(c.outputHigh2, REG_OUTPUT_HIGH_2, "10.0"),
            OutputField(c.initial2, REG_INITIAL_VALUE_2, "0.0"),
        },
        {c.contrast, c.offsetTemperature, c.offsetHumidity, c.inputLow1, c.inputHigh1, c.inputLow2, c.inputHigh2,
         c.outputLow1, c.outputHigh1, c.initial1, c.outputLow2, c.outputHigh2, c.initial2, END_OF_LIST},
        {
            {c.measureGroup, IDS_SENSORS_MEASURE_GROUP},
            {c.temperatureLabel, IDS_SENSORS_TEMPERATURE},
            {c.humidityLabel, IDS_SENSORS_HUMIDITY},
            {c.lcdGroup, IDS_AOUT_LCD_SETTING_TDO},
            {c.contrastLabel, IDS_SENSORS_CONTRAST},
            {c.textGroup, IDS_SENSORS_TEXT_STRING},
            {c.group1, IDS_AOUT_OUTPUT_1},
            {c.current1, IDS_AOUT_CURRENT},
            {c.voltage1, IDS_AOUT_VOLTAGE},
            {c.inputLow1Label, IDS_AOUT_INPUT_LOW_CELSIUS},
            {c.inputHigh1Label, IDS_AOUT_INPUT_HIGH_CELSIUS},
            {c.group2, IDS_AOUT_OUTPUT_2},
            {c.current2, IDS_AOUT_CURRENT},
            {c.voltage2, IDS_AOUT_VOLTAGE},
            {c.inputLow2Label, IDS_AOUT_INPUT_LOW_RH},
            {c.inputHigh2Label, IDS_AOUT_INPUT_HIGH_RH},
            {0, 0},
        },
        {
            {c.current1, c.voltage1, REG_OUTPUT_KIND_1, c.outputLow1, c.outputHigh1, c.initial1, c.outputLow1Label,
             c.outputHigh1Label, c.initial1Label},
            {c.current2, c.voltage2, REG_OUTPUT_KIND_2, c.outputLow2, c.outputHigh2, c.initial2, c.outputLow2Label,
             c.outputHigh2Label, c.initial2Label},
        },
    };
}

static const int FILE_ORDER[] = {REG_INITIAL_VALUE_1, REG_INITIAL_VALUE_2, REG_LCD_SETTING, REG_INPUT_LOW_1,
                                 REG_INPUT_HIGH_1, REG_INPUT_LOW_2, REG_INPUT_HIGH_2, REG_OUTPUT_KIND_1,
                                 REG_OUTPUT_KIND_2, REG_OFFSET_1, REG_OFFSET_2, REG_OUTPUT_LOW_1, REG_OUTPUT_HIGH_1,
                                 REG_OUTPUT_LOW_2, REG_OUTPUT_HIGH_2, END_OF_LIST};

static constexpr TdoControlIds TDO_IDS = {
    IDC_TDO_READ, IDC_TDO_WRITE, IDC_TDO_OPEN, IDC_TDO_SAVE, IDC_TDO_DEFAULT, IDC_TDO_CANCEL,
    IDC_TDO_MEASURE_GROUP, IDC_TDO_TEMPERATURE_LABEL, IDC_TDO_OFFSET_TEMPERATURE, IDC_TDO_HUMIDITY_LABEL,
    IDC_TDO_OFFSET_HUMIDITY, IDC_TDO_LCD_GROUP, IDC_TDO_CONTRAST_LABEL, IDC_TDO_CONTRAST, IDC_TDO_TEXT_GROUP,
    IDC_TDO_TEXT, IDC_TDO_OUTPUT_1_GROUP, IDC_TDO_CURRENT_1, IDC_TDO_VOLTAGE_1, IDC_TDO_INPUT_LOW_1_LABEL,
    IDC_TDO_INPUT_LOW_1, IDC_TDO_INPUT_HIGH_1_LABEL, IDC_TDO_INPUT_HIGH_1, IDC_TDO_OUTPUT_LOW_1_LABEL,
    IDC_TDO_OUTPUT_LOW_1, IDC_TDO_OUTPUT_HIGH_1_LABEL, IDC_TDO_OUTPUT_HIGH_1, IDC_TDO_INITIAL_1_LABEL,
    IDC_TDO_INITIAL_1, IDC_TDO_OUTPUT_2_GROUP, IDC_TDO_CURRENT_2, IDC_TDO_VOLTAGE_2, IDC_TDO_INPUT_LOW_2_LABEL,
    IDC_TDO_INPUT_LOW_2, IDC_TDO_INPUT_HIGH_2_LABEL, IDC_TDO_INPUT_HIGH_2, IDC_TDO_OUTPUT_LOW_2_LABEL,
    IDC_TDO_OUTPUT_LOW_2, IDC_TDO_OUTPUT_HIGH_2_LABEL, IDC_TDO_OUTPUT_HIGH_2, IDC_TDO_INITIAL_2_LABEL,
    IDC_TDO_INITIAL_2,
};
static constexpr TdoControlIds DMO_IDS = {
    IDC_DMO_READ, IDC_DMO_WRITE, IDC_DMO_OPEN, IDC_DMO_SAVE, IDC_DMO_DEFAULT, IDC_DMO_CANCEL,
    IDC_DMO_MEASURE_GROUP, IDC_DMO_TEMPERATURE_LABEL, IDC_DMO_OFFSET_TEMPERATURE, IDC_DMO_HUMIDITY_LABEL,
    IDC_DMO_OFFSET_HUMIDITY, IDC_DMO_LCD_GROUP, IDC_DMO_CONTRAST_LABEL, IDC_DMO_CONTRAST, IDC_DMO_TEXT_GROUP,
    IDC_DMO_TEXT, IDC_DMO_OUTPUT_1_GROUP, IDC_DMO_CURRENT_1, IDC_DMO_VOLTAGE_1, IDC_DMO_INPUT_LOW_1_LABEL,
    IDC_DMO_INPUT_LOW_1, IDC_DMO_INPUT_HIGH_1_LABEL, IDC_DMO_INPUT_HIGH_1, IDC_DMO_OUTPUT_LOW_1_LABEL,
    IDC_DMO_OUTPUT_LOW_1, IDC_DMO_OUTPUT_HIGH_1_LABEL, IDC_DMO_OUTPUT_HIGH_1, IDC_DMO_INITIAL_1_LABEL,
    IDC_DMO_INITIAL_1, IDC_DMO_OUTPUT_2_GROUP, IDC_DMO_CURRENT_2, IDC_DMO_VOLTAGE_2, IDC_DMO_INPUT_LOW_2_LABEL,
    IDC_DMO_INPUT_LOW_2, IDC_DMO_INPUT_HIGH_2_LABEL, IDC_DMO_INPUT_HIGH_2, IDC_DMO_OUTPUT_LOW_2_LABEL,
    IDC_DMO_OUTPUT_LOW_2, IDC_DMO_OUTPUT_HIGH_2_LABEL, IDC_DMO_OUTPUT_HIGH_2, IDC_DMO_INITIAL_2_LABEL,
    IDC_DMO_INITIAL_2,
};
static constexpr TdoTables TDO_TABLES = MakeTdoTables(TDO_IDS);
static constexpr TdoTables DMO_TABLES = MakeTdoTables(DMO_IDS);
static_assert(TDO_FIELD_COUNT <= MAX_MODEL_FIELDS, "the model keeps one value per field");

static ModelValues s_tdoValues;
static ModelValues s_dmoValues;

static const ModelDialog TDO_MODEL = {
    .designation = "TDO",
    .values = &s_tdoValues,
    .fields = TDO_TABLES.fields,
    .fieldCount = TDO_FIELD_COUNT,
    .tickOrder = TDO_TABLES.tickOrder,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_FROM_FIELD,
    .readsAtOpening = 1,
    .textId = IDC_TDO_TEXT,
    .openingText = "                ",
    .defaultText = "TDO Dolvan s.r.o",
    .readId = IDC_TDO_READ,
    .writeId = IDC_TDO_WRITE,
    .openId = IDC_TDO_OPEN,
    .saveId = IDC_TDO_SAVE,
    .defaultId = IDC_TDO_DEFAULT,
    .cancelId = IDC_TDO_CANCEL,
    .readTextId = IDS_TDO_READ,
    .writeTextId = IDS_TDO_WRITE,
    .mismatchTextId = IDS_TDO_FILE_MISMATCH,
    .labels = TDO_TABLES.labels,
    .outputs = TDO_TABLES.outputs,
    .outputCount = 2,
};

static const ModelDialog DMO_MODEL = {
    .designation = "DMO",
    .values = &s_dmoValues,
    .fields = DMO_TABLES.fields,
    .fieldCount = TDO_FIELD_COUNT,
    .tickOrder = DMO_TABLES.tickOrder,
    .fileOrder = FILE_ORDER,
    .contrastRule = CONTRAST_FROM_FIELD,
    .readsAtOpening = 1,
    .textId = IDC_DMO_TEXT,
    .openingText = "                ",
    .defaultText = "DMO Dolvan s.r.o",
    .readId = IDC_DMO_READ,
    .writeId = IDC_DMO_WRITE,
    .openId = IDC_DMO_OPEN,
    .saveId = IDC_DMO_SAVE,
    .defaultId = IDC_DMO_DEFAULT,
    .cancelId = IDC_DMO_CANCEL,
    .readTextId = IDS_DMO_READ,
    .writeTextId = IDS_DMO_WRITE,
    .mismatchTextId = IDS_DMO_FILE_MISMATCH,
    .labels = DMO_TABLES.labels,
    .outputs = DMO_TABLES.outputs,
    .outputCount = 2,
};

// Everything TDO does is the shared skeleton's, driven by its table.
INT_PTR CALLBACK TDODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&TDO_MODEL, dialog, message, wParam, lParam);
}

// DMO is the TDO dialog on its own template, with its own designation in every text.
INT_PTR CALLBACK DMODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunModelDialogMessage(&DMO_MODEL, dialog, message, wParam, lParam);
}
