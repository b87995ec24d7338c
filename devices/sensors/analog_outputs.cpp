// Analog output groups: kinds, their radios and unit labels, and the bound of the output fields.
#include "devices/sensors/analog_outputs.h"

#include "kit/texts.h"
#include "resource.h"

// Unit texts of output Lo, output Hi and the safety value, by kind.
static const UINT CURRENT_TEXT_IDS[3] = {IDS_AOUT_OUTPUT_LOW_MA, IDS_AOUT_OUTPUT_HIGH_MA, IDS_AOUT_SAFETY_MA};
static const UINT VOLTAGE_TEXT_IDS[3] = {IDS_AOUT_OUTPUT_LOW_V, IDS_AOUT_OUTPUT_HIGH_V, IDS_AOUT_SAFETY_V};

// A register value as a kind: devices may hold any nonzero value for voltage.
WORD OutputKindOfWord(WORD word)
{
    return word ? OUTPUT_KIND_VOLTAGE : OUTPUT_KIND_CURRENT;
}

// A settings-file kind field: only a leading '0' means current; anything else, an empty field
// included, is voltage.
WORD OutputKindOfFileField(const char* field)
{
    return field[0] == '0' ? OUTPUT_KIND_CURRENT : OUTPUT_KIND_VOLTAGE;
}

const char* OutputKindFileText(WORD kind)
{
    return kind ? "1" : "0";
}

// The upper bound of output Lo, output Hi and initial value in tenths; the lower bound is 0.
int OutputHighBound(WORD kind)
{
    return kind ? OUTPUT_VOLTAGE_MAX_TENTHS : OUTPUT_CURRENT_MAX_TENTHS;
}

int IsOutputField(const AnalogOutput* output, int controlId)
{
    return controlId == output->lowId || controlId == output->highId || controlId == output->initialId;
}

// The radios and the three unit labels follow the kind; the field values are left for the next
// tick to bound.
void ShowOutputKind(HWND dialog, const AnalogOutput* output, WORD kind)
{
    const UINT* texts = kind ? VOLTAGE_TEXT_IDS : CURRENT_TEXT_IDS;
    CheckDlgButton(dialog, output->currentId, kind ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog, output->voltageId, kind ? BST_CHECKED : BST_UNCHECKED);
    SetDialogItemText(dialog, output->lowLabelId, texts[0]);
    SetDialogItemText(dialog, output->highLabelId, texts[1]);
    SetDialogItemText(dialog, output->initialLabelId, texts[2]);
}

// Last step of opening: the initial value is labelled as such until the output's kind is next
// shown; a model's own opening texts of the range labels apply only to a voltage output, so a
// current output never shows a volt unit.
void WriteOpeningOutputLabels(HWND dialog, const AnalogOutput* output, WORD kind)
{
    SetDialogItemText(dialog, output->initialLabelId, IDS_AOUT_INITIAL_VALUE);
    if (!kind) return;
    if (output->openingLowTextId) SetDialogItemText(dialog, output->lowLabelId, output->openingLowTextId);
    if (output->openingHighTextId) SetDialogItemText(dialog, output->highLabelId, output->openingHighTextId);
}
