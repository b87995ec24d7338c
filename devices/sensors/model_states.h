// State sequences of the model dialogs: the connection radios, the number of states and the
// pattern of each state, between their controls, the register image and the settings file.
#ifndef ZENTIL_DEVICES_SENSORS_MODEL_STATES_H
#define ZENTIL_DEVICES_SENSORS_MODEL_STATES_H

#include <windows.h>

#include "devices/sensors/model_dialog.h"

void FillStateLists(HWND dialog, const ModelStateSequence* states);
void ResetStateSequence(HWND dialog, const ModelStateSequence* states);
void LoadStateRegisters(HWND dialog, const ModelStateSequence* states, const WORD* registers);
void StoreStateRegisters(const ModelStateSequence* states, WORD* registers);
void PutStateFactorySettings(const ModelStateSequence* states, WORD* registers);
// One settings-file field of the sequence's registers: 1 when the register is the sequence's.
int LoadStateFileField(const ModelStateSequence* states, int registerIndex, const char* field);
int FormatStateFileField(const ModelStateSequence* states, int registerIndex, char* text);
void ShowStateSequence(HWND dialog, const ModelStateSequence* states);
// A radio click or a list choice of the sequence: handled and 1, or 0 when not its control.
int RouteStateCommand(HWND dialog, const ModelStateSequence* states, int controlId, int code);

#endif
