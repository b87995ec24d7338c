// Fixed-point text (tenths, hundredths) and the bounded edit-field checks of the model dialogs.
#ifndef ZENTIL_KIT_FIXED_POINT_H
#define ZENTIL_KIT_FIXED_POINT_H

#include <windows.h>

#include "kit/shared_records.h"

// A check reads at most this many bytes of its field (9 characters and the terminator).
const int FIELD_TEXT_LIMIT = 10;
// What a thousandths entry with too many digits before its point counts as.
const int THOUSANDTHS_OVERFLOW_VALUE = 65535;

// Bounds come high first, then low; each check rewrites an out-of-range field and shows the range message.
void ValidateTenthsField(HWND dialog, int controlId, SHORT high, SHORT low);
void ValidateSignedField(HWND dialog, int controlId, SHORT high, SHORT low);
void ValidateUnsignedField(HWND dialog, int controlId, WORD high, WORD low);
void ValidateThousandthsField(HWND dialog, int controlId, WORD high, WORD low);

SHORT ParseTenths(char* text);
// The tenths of a text as ParseTenths reads them, before they are narrowed to 16 bits.
int ParseWideTenths(char* text);
SHORT ParseHundredths(char* text);
void FormatTenths(SHORT value);
void FormatHundredths(SHORT value);

#endif
