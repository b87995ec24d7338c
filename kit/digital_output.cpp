// Digital output: dual-state or PWM, the steps check, the frequency-to-prescaler rule and the
// views of r50 and r51, shared by every dialog with a digital output.
#include "kit/digital_output.h"

#include <stdio.h>
#include <stdlib.h>

#include "kit/fixed_point.h"
#include "kit/shared_records.h"
#include "kit/texts.h"
#include "resource.h"

// The largest prescaler the lowest frequency assumes.
static const DWORD PWM_PRESCALER_SPAN = 65535;
static const int OUTPUT_FILE_DIGITS = 5;

const PwmFamily PWM_FAMILY_2MHZ = {2000000, 0, 0, 65536};
const PwmFamily PWM_FAMILY_8MHZ = {8000000, 1, 0, 65536};
// The room controllers bound the lowest frequency by r50 and never divide by 65536.
const PwmFamily PWM_FAMILY_32MHZ = {32000000, 1, 1, 65535};

static const int SWITCHED_IDS_COUNT = 3;

DWORD GetPwmStepsFactor(const PwmFamily* family, WORD steps)
{
    return family->stepsFactorAddsOne ? (DWORD)steps + 1 : (DWORD)steps;
}

// The products (r51 + 1) x T reach 2^32, so they are taken in double.
double ComputePwmFrequency(const PwmFamily* family, WORD steps, WORD prescaler)
{
    DWORD factor = GetPwmStepsFactor(family, steps);
    if (factor == 0) return 0.0;
    return (double)family->clockHz / (((double)prescaler + 1.0) * (double)factor);
}

DWORD ComputePwmStartFrequency(const PwmFamily* family)
{
    unsigned long long divisor = (unsigned long long)(PWM_START_PRESCALER + 1) * GetPwmStepsFactor(family, PWM_START_STEPS);
    return (DWORD)(family->clockHz / divisor);
}

// Highest frequency: 20000 Hz, or the clock over the number of steps when that is lower; the
// quotient is single precision, as the firmware's own table was made.
static float ComputeHighestFrequency(const PwmFamily* family, WORD steps)
{
    volatile float quotient = (float)family->clockHz / (float)((DWORD)steps + 1);
    return quotient < (float)PWM_MAX_FREQUENCY_HZ ? quotient : (float)PWM_MAX_FREQUENCY_HZ;
}

// Lowest frequency: the clock over the largest prescaler times T (or times r50 in the families
// that bound it so); single precision.
static float ComputeLowestFrequency(const PwmFamily* family, WORD steps, DWORD factor)
{
    DWORD divisorSteps = family->minimumDividesBySteps ? steps : factor;
    if (divisorSteps == 0) divisorSteps = factor;
    volatile float quotient = (float)family->clockHz / (float)((double)divisorSteps * PWM_PRESCALER_SPAN);
    return quotient;
}

// Truncating the divisor keeps the obtained frequency at or above the requested one; when that
// crosses 20000 Hz the next divisor is taken.
int ComputePwmSetting(const PwmFamily* family, WORD steps, double requested, PwmSetting* setting)
{
    DWORD factor = GetPwmStepsFactor(family, steps);
    if (factor == 0) return 0;
    double f = requested == requested ? requested : 0.0;
    setting->bound = PWM_BOUND_NONE;
    float highest = ComputeHighestFrequency(family, steps);
    if (f > highest) {
        setting->bound = PWM_BOUND_MAXIMUM;
        f = highest;
    }
    float lowest = ComputeLowestFrequency(family, steps, factor);
    if (lowest > f) {
        setting->bound = PWM_BOUND_MINIMUM;
        f = lowest;
    }
    double quotient = (double)family->clockHz / ((double)factor * f);
    DWORD divisor = quotient >= (double)family->divisorLimit + 1.0 ? (DWORD)PWM_PRESCALER_SPAN : (DWORD)quotient;
    if (divisor == 0) divisor = 1;
    setting->prescaler = (WORD)(divisor - 1);
    setting->frequency = (double)family->clockHz / ((double)divisor * factor);
    if (setting->frequency > PWM_MAX_FREQUENCY_HZ) {
        setting->prescaler = (WORD)divisor;
        setting->frequency = (double)family->clockHz / (((double)divisor + 1.0) * factor);
    }
    return 1;
}

static void ShowOutputNumber(HWND dialog, int controlId, const char* format, double value)
{
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, format, value);
    SetDlgItemTextA(dialog, controlId, g_textBuffer);
}

static void ShowOutputMessage(HWND dialog, UINT textId)
{
    ShowMessage(dialog, textId, IDS_DOUT_CAPTION_SETTING_VALUE, MB_OK | MB_ICONINFORMATION);
}

// The radios, and the fields and "Set" that only PWM uses.
static void ShowOutputMode(HWND dialog, const DigitalOutput* output, int pwm)
{
    const int switched[SWITCHED_IDS_COUNT] = {output->stepsId, output->frequencyId, output->setId};
    CheckDlgButton(dialog, output->dualStateId, pwm ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog, output->pwmId, pwm ? BST_CHECKED : BST_UNCHECKED);
    for (int i = 0; i < SWITCHED_IDS_COUNT; i++) EnableWindow(GetDlgItem(dialog, switched[i]), pwm);
}

// The dual-state view; the frequency field's "--" also tells the tick to leave the steps alone.
static void ShowDualStateView(HWND dialog, const DigitalOutput* output)
{
    ShowOutputMode(dialog, output, 0);
    SetDlgItemTextA(dialog, output->stepsId, "2");
    SetDlgItemTextA(dialog, output->frequencyId, "--");
    SetDlgItemTextA(dialog, output->periodId, "--");
    SetDialogItemText(dialog, output->frequencyLabelId, IDS_DOUT_FREQUENCY);
}

void WriteDigitalOutputLabels(HWND dialog, const DigitalOutput* output)
{
    SetDialogItemText(dialog, output->groupId, IDS_DOUT_GROUP);
    SetDialogItemText(dialog, output->dualStateId, IDS_DOUT_DUALSTATE);
    SetDialogItemText(dialog, output->pwmId, IDS_DOUT_PWM);
    SetDialogItemText(dialog, output->stepsLabelId, IDS_DOUT_STEPS);
    SetDialogItemText(dialog, output->frequencyLabelId, IDS_DOUT_FREQUENCY);
    SetDialogItemText(dialog, output->periodLabelId, IDS_DOUT_PERIOD);
    if (!output->setLabelKept) SetDialogItemText(dialog, output->setId, IDS_DOUT_SET);
}

// "Dualstate", and the output at opening and on Default.
void SelectDualState(HWND dialog, const DigitalOutput* output)
{
    output->values->steps = DUALSTATE_STEPS;
    output->values->prescaler = DUALSTATE_PRESCALER;
    ShowDualStateView(dialog, output);
}

// "PWM output": 3 steps and the largest-but-one prescaler; the frequency is shown whole.
void SelectPwmOutput(HWND dialog, const DigitalOutput* output)
{
    DWORD whole = ComputePwmStartFrequency(output->family);
    volatile float period = 1000.0f / (float)whole;
    output->values->steps = PWM_START_STEPS;
    output->values->prescaler = PWM_START_PRESCALER;
    ShowOutputMode(dialog, output, 1);
    SetDlgItemTextA(dialog, output->stepsId, "3");
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%lu", (unsigned long)whole);
    SetDlgItemTextA(dialog, output->frequencyId, g_textBuffer);
    ShowOutputNumber(dialog, output->periodId, "%.4f", period);
}

// The view of the dialog's pair after Read and Setting Open. A steps value whose factor is 0
// has no frequency: the fields stay empty and the next tick corrects the steps.
void ShowDigitalOutput(HWND dialog, const DigitalOutput* output)
{
    const DigitalOutputValues* values = output->values;
    if (values->steps == DUALSTATE_STEPS) {
        ShowDualStateView(dialog, output);
        return;
    }
    ShowOutputMode(dialog, output, 1);
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%lu", (unsigned long)values->steps + 1);
    SetDlgItemTextA(dialog, output->stepsId, g_textBuffer);
    if (GetPwmStepsFactor(output->family, values->steps) == 0) {
        SetDlgItemTextA(dialog, output->frequencyId, "");
        SetDlgItemTextA(dialog, output->periodId, "");
        return;
    }
    double frequency = ComputePwmFrequency(output->family, values->steps, values->prescaler);
    ShowOutputNumber(dialog, output->frequencyId, "%.6f", frequency);
    ShowOutputNumber(dialog, output->periodId, "%.6f", 1000.0 / frequency);
}

// The field is rewritten and the value set before the box opens: the ticks the box's own loop
// delivers then find the field in range.
void CheckOutputSteps(HWND dialog, const DigitalOutput* output, int evenWithFocus)
{
    int steps = 0;
    if (output->stepsHeld) return;
    GetDlgItemTextA(dialog, output->frequencyId, g_textBuffer, FIELD_TEXT_LIMIT);
    if (g_textBuffer[0] == '-') return;
    if (!evenWithFocus && GetFocus() == GetDlgItem(dialog, output->stepsId)) return;
    GetDlgItemTextA(dialog, output->stepsId, g_textBuffer, FIELD_TEXT_LIMIT);
    if (sscanf(g_textBuffer, "%d", &steps) != 1) steps = 0;
    if (steps >= PWM_MIN_STEPS && steps <= PWM_MAX_STEPS) {
        output->values->steps = (WORD)(steps - 1);
        return;
    }
    steps = steps < PWM_MIN_STEPS ? PWM_MIN_STEPS : PWM_MAX_STEPS;
    output->values->steps = (WORD)(steps - 1);
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%d", steps);
    SetDlgItemTextA(dialog, output->stepsId, g_textBuffer);
    ShowOutputMessage(dialog, IDS_DOUT_STEPS_RANGE);
}

// Where nothing reads the steps field, "Set" holds the number it computes with to the rule: fewer
// than 3 steps (a read or loaded r50 below 2) become 3, with the field and the message.
static void CheckHeldOutputSteps(HWND dialog, const DigitalOutput* output)
{
    if (output->values->steps >= PWM_MIN_STEPS - 1) return;
    output->values->steps = PWM_MIN_STEPS - 1;
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%d", PWM_MIN_STEPS);
    SetDlgItemTextA(dialog, output->stepsId, g_textBuffer);
    ShowOutputMessage(dialog, IDS_DOUT_STEPS_RANGE);
}

// "Set": the steps are checked first, then the typed frequency (9 characters, '.' as the mark)
// becomes the prescaler and the frequency it really gives.
void SetOutputFrequency(HWND dialog, const DigitalOutput* output)
{
    PwmSetting setting;
    if (output->stepsHeld) CheckHeldOutputSteps(dialog, output);
    else CheckOutputSteps(dialog, output, 1);
    GetDlgItemTextA(dialog, output->frequencyId, g_textBuffer, FIELD_TEXT_LIMIT);
    double requested = atof(g_textBuffer);
    if (!ComputePwmSetting(output->family, output->values->steps, requested, &setting)) return;
    output->values->prescaler = setting.prescaler;
    ShowOutputNumber(dialog, output->frequencyId, "%.6f", setting.frequency);
    ShowOutputNumber(dialog, output->periodId, output->setPeriodFormat ? output->setPeriodFormat : "%.6f",
                     1000.0 / setting.frequency);
    if (setting.bound == PWM_BOUND_MAXIMUM) ShowOutputMessage(dialog, IDS_DOUT_FREQUENCY_MAXIMUM);
    if (setting.bound == PWM_BOUND_MINIMUM) ShowOutputMessage(dialog, IDS_DOUT_FREQUENCY_MINIMUM);
}

int RouteDigitalOutputCommand(HWND dialog, const DigitalOutput* output, int controlId, int code)
{
    if (controlId != output->dualStateId && controlId != output->pwmId && controlId != output->setId) return 0;
    if (code != BN_CLICKED) return 1;
    if (controlId == output->dualStateId) SelectDualState(dialog, output);
    else if (controlId == output->pwmId) SelectPwmOutput(dialog, output);
    else SetOutputFrequency(dialog, output);
    return 1;
}

void LoadOutputRegisters(HWND dialog, const DigitalOutput* output, const WORD* registers)
{
    output->values->steps = registers[REG_OUTPUT_STEPS];
    output->values->prescaler = registers[REG_OUTPUT_PRESCALER];
    ShowDigitalOutput(dialog, output);
}

// The pair as it stands: a frequency typed without "Set" is not taken.
void StoreOutputRegisters(const DigitalOutput* output, WORD* registers)
{
    registers[REG_OUTPUT_STEPS] = output->values->steps;
    registers[REG_OUTPUT_PRESCALER] = output->values->prescaler;
}

void PutOutputFactorySettings(WORD* registers)
{
    registers[REG_OUTPUT_STEPS] = DUALSTATE_STEPS;
    registers[REG_OUTPUT_PRESCALER] = DUALSTATE_PRESCALER;
}

// "%d" of the field; a field with no number, or one beyond a word, gives the fallback rather
// than a wrapped value.
WORD TakeOutputFileValue(const char* field, WORD fallback)
{
    int value;
    if (sscanf(field, "%d", &value) != 1 || value < 0 || value > 0xFFFF) return fallback;
    return (WORD)value;
}

void FormatOutputFileValue(WORD value, char* text)
{
    snprintf(text, OUTPUT_FILE_DIGITS + 1, "%05u", (unsigned)value);
}
