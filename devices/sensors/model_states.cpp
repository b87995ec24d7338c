// State sequences of the model dialogs: a switch connected or not, its number of states, and
// the pattern each state shows.
#include "devices/sensors/model_states.h"

#include <stdio.h>

#include "kit/shared_records.h"
#include "kit/texts.h"

// A whole number of a file field in 0..65535; a field without one (or beyond a word) gives 0.
static WORD TakeStateFileValue(const char* field)
{
    int value;
    if (sscanf(field, "%d", &value) != 1 || value < 0 || value > 0xFFFF) return 0;
    return (WORD)value;
}

// The list entry of a value, or -1 (no selection) for a value the list does not have.
static int ListEntryOf(int value, int count)
{
    return value >= 0 && value < count ? value : -1;
}

// The count combo's " 0" .. "16" and every state's pattern list, each on entry 0.
void FillStateLists(HWND dialog, const ModelStateSequence* states)
{
    WCHAR text[EDITION_TEXT_MAX_CHARS];
    for (int count = 0; count <= STATES_PER_MODE; count++) {
        snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%2d", count);
        SendDlgItemMessageA(dialog, states->countId, CB_ADDSTRING, 0, (LPARAM)g_textBuffer);
    }
    SendDlgItemMessageA(dialog, states->countId, CB_SETCURSEL, 0, 0);
    for (int state = 0; state < STATES_PER_MODE; state++) {
        for (int i = 0; i < states->patternCount; i++) {
            LoadEditionText(states->patternTextIds[i], text, EDITION_TEXT_MAX_CHARS);
            SendDlgItemMessageW(dialog, states->patternIds[state], CB_ADDSTRING, 0, (LPARAM)text);
        }
        SendDlgItemMessageA(dialog, states->patternIds[state], CB_SETCURSEL, 0, 0);
    }
}

// The radios and the count combo follow the connection; the count combo is usable only while
// the switch is connected, whatever count it shows.
static void ShowConnection(HWND dialog, const ModelStateSequence* states)
{
    int connected = states->values->connection != 0;
    CheckDlgButton(dialog, states->noId, connected ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog, states->yesId, connected ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, states->countId), connected);
}

// Every control of the sequence from the dialog's values.
void ShowStateSequence(HWND dialog, const ModelStateSequence* states)
{
    const ModelStateValues* values = states->values;
    ShowConnection(dialog, states);
    SendDlgItemMessageA(dialog, states->countId, CB_SETCURSEL, ListEntryOf(values->count, STATES_PER_MODE + 1), 0);
    EnableStateCombos(dialog, states->patternIds, values->count);
    for (int state = 0; state < STATES_PER_MODE; state++) {
        SendDlgItemMessageA(dialog, states->patternIds[state], CB_SETCURSEL,
                            ListEntryOf(values->patterns[state], states->patternCount), 0);
    }
}

// Opening and Default: not connected, no states, every pattern the first.
void ResetStateSequence(HWND dialog, const ModelStateSequence* states)
{
    ModelStateValues* values = states->values;
    values->connection = 0;
    values->count = 0;
    for (int state = 0; state < STATES_PER_MODE; state++) values->patterns[state] = 0;
    ShowStateSequence(dialog, states);
}

void LoadStateRegisters(HWND dialog, const ModelStateSequence* states, const WORD* registers)
{
    ModelStateValues* values = states->values;
    values->connection = registers[states->connectionRegister] != 0;
    values->count = (SHORT)registers[states->countRegister];
    for (int state = 0; state < STATES_PER_MODE; state++) {
        values->patterns[state] = registers[states->firstPatternRegister + state];
    }
    ShowStateSequence(dialog, states);
}

// Patterns of the states beyond the count are written like the others.
void StoreStateRegisters(const ModelStateSequence* states, WORD* registers)
{
    const ModelStateValues* values = states->values;
    registers[states->connectionRegister] = values->connection;
    registers[states->countRegister] = (WORD)values->count;
    for (int state = 0; state < STATES_PER_MODE; state++) {
        registers[states->firstPatternRegister + state] = values->patterns[state];
    }
}

void PutStateFactorySettings(const ModelStateSequence* states, WORD* registers)
{
    registers[states->connectionRegister] = 0;
    registers[states->countRegister] = 0;
    for (int state = 0; state < STATES_PER_MODE; state++) registers[states->firstPatternRegister + state] = 0;
}

static int IsPatternRegister(const ModelStateSequence* states, int registerIndex)
{
    return registerIndex >= states->firstPatternRegister &&
           registerIndex < states->firstPatternRegister + STATES_PER_MODE;
}

int LoadStateFileField(const ModelStateSequence* states, int registerIndex, const char* field)
{
    ModelStateValues* values = states->values;
    if (registerIndex == states->connectionRegister) {
        values->connection = TakeStateFileValue(field) != 0;
    } else if (registerIndex == states->countRegister) {
        values->count = (SHORT)TakeStateFileValue(field);
    } else if (IsPatternRegister(states, registerIndex)) {
        values->patterns[registerIndex - states->firstPatternRegister] = TakeStateFileValue(field);
    } else {
        return 0;
    }
    return 1;
}

// The connection as one digit; the count and the patterns with two digits at least, so a value
// of 100 or more read from a device is kept whole.
int FormatStateFileField(const ModelStateSequence* states, int registerIndex, char* text)
{
    const ModelStateValues* values = states->values;
    if (registerIndex == states->connectionRegister) {
        snprintf(text, TEXT_BUFFER_SIZE, "%u", (unsigned)values->connection);
    } else if (registerIndex == states->countRegister) {
        snprintf(text, TEXT_BUFFER_SIZE, "%02u", (unsigned)(WORD)values->count);
    } else if (IsPatternRegister(states, registerIndex)) {
        snprintf(text, TEXT_BUFFER_SIZE, "%02u", (unsigned)values->patterns[registerIndex - states->firstPatternRegister]);
    } else {
        return 0;
    }
    return 1;
}

// "No" leaves the patterns alone but takes the count to 0; "Yes" offers the count again.
static void SelectConnection(HWND dialog, const ModelStateSequence* states, int connected)
{
    ModelStateValues* values = states->values;
    values->connection = (WORD)connected;
    if (!connected) {
        values->count = 0;
        SendDlgItemMessageA(dialog, states->countId, CB_SETCURSEL, 0, 0);
    }
    ShowConnection(dialog, states);
    EnableStateCombos(dialog, states->patternIds, values->count);
}

static int FindPatternCombo(const ModelStateSequence* states, int controlId)
{
    for (int state = 0; state < STATES_PER_MODE; state++) {
        if (states->patternIds[state] == controlId) return state;
    }
    return -1;
}

int RouteStateCommand(HWND dialog, const ModelStateSequence* states, int controlId, int code)
{
    int state = FindPatternCombo(states, controlId);
    if (controlId == states->noId || controlId == states->yesId) {
        if (code == BN_CLICKED) SelectConnection(dialog, states, controlId == states->yesId);
        return 1;
    }
    if (controlId != states->countId && state < 0) return 0;
    if (code != CBN_SELCHANGE) return 1;
    LRESULT index = SendDlgItemMessageA(dialog, controlId, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return 1;
    if (state < 0) {
        states->values->count = (SHORT)index;
        EnableStateCombos(dialog, states->patternIds, states->values->count);
        return 1;
    }
    states->values->patterns[state] = (WORD)index;
    SetFocus(GetDlgItem(dialog, states->countLabelId));
    return 1;
}
