// State combo boxes: a dialog's sequence of up to 16 states shows one combo box per state, and
// only the states in use can be edited.
#ifndef ZENTIL_KIT_STATE_COMBOS_H
#define ZENTIL_KIT_STATE_COMBOS_H

#include <windows.h>

const int STATES_PER_MODE = 16;

// The combo ids of one sequence, state 1 first.
struct StateComboIds {
    int ids[STATES_PER_MODE];
};

// The ids of a run that ascends from the first id by a step (1 in most dialogs, 2 where a label
// sits between the combos); usable in a constant: StateComboRun(IDC_X_STATE_1, 1).
constexpr StateComboIds StateComboRun(int firstId, int step)
{
    StateComboIds run = {};
    for (int i = 0; i < STATES_PER_MODE; i++) run.ids[i] = firstId + i * step;
    return run;
}

// Enables the combos of states 1..count and disables the others; a count outside 0..16 disables
// all. Selections stay as they are.
void EnableStateCombos(HWND dialog, const int* comboIds, SHORT count);

#endif
