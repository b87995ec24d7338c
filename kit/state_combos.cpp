// State combo boxes: enabling the states in use of a sequence of 16.
#include "kit/state_combos.h"

void EnableStateCombos(HWND dialog, const int* comboIds, SHORT count)
{
    int inUse = count >= 0 && count <= STATES_PER_MODE ? count : 0;
    for (int state = 1; state <= STATES_PER_MODE; state++) {
        EnableWindow(GetDlgItem(dialog, comboIds[state - 1]), state <= inUse);
    }
}
