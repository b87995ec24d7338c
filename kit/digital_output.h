// Digital output: the dual-state / PWM rule every dialog with a digital output shares. A dialog
// names its controls and its model family in one DigitalOutput record and routes its radios,
// "Set", tick, Read, Write and settings-file lines here; the arithmetic needs no window.
#ifndef ZENTIL_KIT_DIGITAL_OUTPUT_H
#define ZENTIL_KIT_DIGITAL_OUTPUT_H

#include <windows.h>

const int REG_OUTPUT_STEPS = 50;      // number of steps minus one
const int REG_OUTPUT_PRESCALER = 51;  // timer divisor minus one
const WORD DUALSTATE_STEPS = 1;       // the output is dual-state exactly when r50 holds this
const WORD DUALSTATE_PRESCALER = 65534;
const WORD PWM_START_STEPS = 2;       // "PWM output" starts with 3 steps ...
const WORD PWM_START_PRESCALER = 65533;  // ... and this prescaler
const int PWM_MIN_STEPS = 3;
const int PWM_MAX_STEPS = 65536;
const DWORD PWM_MAX_FREQUENCY_HZ = 20000;

// A model family's timebase and the bounds its firmware assumes.
struct PwmFamily {
    DWORD clockHz;               // PWM_CLOCK_HZ
    BYTE stepsFactorAddsOne;     // steps factor T: 0 gives T = r50, 1 gives T = r50 + 1 (the number of steps)
    BYTE minimumDividesBySteps;  // 1: the lowest frequency divides by r50 rather than by T
    DWORD divisorLimit;          // a computed divisor above this becomes 65535
};

extern const PwmFamily PWM_FAMILY_2MHZ;   // DMG9A, DMG1T, DMG1A, RMG1A
extern const PwmFamily PWM_FAMILY_8MHZ;   // KDG1KY, DMG1KY
extern const PwmFamily PWM_FAMILY_32MHZ;  // the room controllers

// The dialog's own copy of r50 and r51, kept from opening to Write; the fields only show them.
struct DigitalOutputValues {
    WORD steps;
    WORD prescaler;
};

// One dialog's digital-output group.
struct DigitalOutput {
    const PwmFamily* family;
    DigitalOutputValues* values;
    int groupId;
    int dualStateId, pwmId;  // the two radios
    int stepsLabelId, stepsId;
    int frequencyLabelId, frequencyId;
    int periodLabelId, periodId;  // the period field is read-only
    int setId;
    BYTE stepsHeld;               // 1: the steps field only shows the held number; nothing reads it
    const char* setPeriodFormat;  // the period "Set" shows; null: "%.6f"
    BYTE setLabelKept;            // 1: "Set" keeps its template text in both editions
};

// Which bound "Set" applied to the requested frequency.
enum PwmBound {
    PWM_BOUND_NONE = 0,
    PWM_BOUND_MAXIMUM = 1,
    PWM_BOUND_MINIMUM = 2,
};

// What "Set" makes of a requested frequency.
struct PwmSetting {
    WORD prescaler;    // the new prescaler value (r51)
    double frequency;  // the frequency it gives, Hz
    BYTE bound;        // PwmBound
};

// The steps factor T of a steps value.
DWORD GetPwmStepsFactor(const PwmFamily* family, WORD steps);
// Frequency of a stored pair in Hz; 0 when the steps factor is 0 (no frequency is defined).
double ComputePwmFrequency(const PwmFamily* family, WORD steps, WORD prescaler);
// The whole frequency "PWM output" shows for its starting pair.
DWORD ComputePwmStartFrequency(const PwmFamily* family);
// "Set": the prescaler for a requested frequency; 0 (and nothing computed) when T is 0.
int ComputePwmSetting(const PwmFamily* family, WORD steps, double requested, PwmSetting* setting);

// The dialog side; every procedure takes the dialog window and its group.
void WriteDigitalOutputLabels(HWND dialog, const DigitalOutput* output);
void SelectDualState(HWND dialog, const DigitalOutput* output);
void SelectPwmOutput(HWND dialog, const DigitalOutput* output);
void ShowDigitalOutput(HWND dialog, const DigitalOutput* output);
// The steps check; `evenWithFocus` 1 for "Set" and Write, which must not use an unchecked count.
void CheckOutputSteps(HWND dialog, const DigitalOutput* output, int evenWithFocus);
void SetOutputFrequency(HWND dialog, const DigitalOutput* output);
// A click on a radio or on "Set": handled and 1, or 0 when the control is not the group's.
int RouteDigitalOutputCommand(HWND dialog, const DigitalOutput* output, int controlId, int code);

// Registers and settings-file lines of r50 and r51. A file field that is not a whole number in
// 0..65535 gives the dual-state value of its register.
void LoadOutputRegisters(HWND dialog, const DigitalOutput* output, const WORD* registers);
void StoreOutputRegisters(const DigitalOutput* output, WORD* registers);
void PutOutputFactorySettings(WORD* registers);
WORD TakeOutputFileValue(const char* field, WORD fallback);
void FormatOutputFileValue(WORD value, char* text);  // five digits with leading zeros

#endif
