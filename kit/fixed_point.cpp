// Fixed-point text (tenths, hundredths) and the bounded edit-field checks of the model dialogs.
#include "kit/fixed_point.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kit/texts.h"
#include "resource.h"

// Every ',' after the first character becomes '.'; a ',' in front stays and makes the text read as 0.
static void ReplaceDecimalCommas(char* text)
{
    if (text[0] == 0) return;
    for (char* c = text + 1; *c; c++) {
        if (*c == ',') *c = '.';
    }
}

// The entry as the text-to-number conversion reads it, narrowed to single precision.
// The arithmetic is single precision on purpose: 2.36 x 100 comes out just below 236, and the
// rounding rules of the stored values depend on that.
static float ReadSingle(const char* text)
{
    volatile float x = (float)atof(text);
    return x;
}

// A single-precision product cut toward zero; entries such as 1e30 or inf saturate instead of
// overflowing, and nan counts as 0 (an entry with no number).
static int CutToWhole(float product)
{
    if (product != product) return 0;
    if (product >= 2147483648.0f) return INT_MAX;
    if (product <= -2147483648.0f) return INT_MIN;
    return (int)product;
}

static int ScaleAndCut(float x, float factor)
{
    volatile float product = x * factor;
    return CutToWhole(product);
}

// Tenths of a text already in '.' form: cut toward zero, raised by one when the hundredths digit
// (with its sign) is above 5, so only positive entries are ever raised.
static int ComputeTenths(const char* text)
{
    float x = ReadSingle(text);
    int hundredthsDigit = ScaleAndCut(x, 100.0f) % 10;
    int tenths = ScaleAndCut(x, 10.0f);
    if (hundredthsDigit > 5 && tenths < INT_MAX) tenths++;
    return tenths;
}

// Thousandths of a text already in '.' form; a point at the fourth character or later means a
// number too large for the field.
static int ComputeThousandths(const char* text)
{
    const char* point = strrchr(text, '.');
    if (point != NULL && point - text >= 3) return THOUSANDTHS_OVERFLOW_VALUE;
    float x = ReadSingle(text);
    int tenThousandthsDigit = ScaleAndCut(x, 10000.0f) % 10;
    int thousandths = ScaleAndCut(x, 1000.0f);
    if (tenThousandthsDigit > 5 && thousandths < INT_MAX) thousandths++;
    return thousandths;
}

// The leading whole number of a text ("%d" scan: blanks skipped, 12.5 gives 12); a text that
// holds no number counts as 0.  Nine characters at most, so the number always fits an int.
static int ScanWhole(const char* text)
{
    int value = 0;
    if (sscanf(text, "%d", &value) != 1) value = 0;
    return value;
}

SHORT ParseTenths(char* text)
{
    ReplaceDecimalCommas(text);
    return (SHORT)(WORD)ComputeTenths(text);
}

int ParseWideTenths(char* text)
{
    ReplaceDecimalCommas(text);
    return ComputeTenths(text);
}

// Hundredths are rounded away from zero on a thousandths digit above 5, negative numbers included.
SHORT ParseHundredths(char* text)
{
    ReplaceDecimalCommas(text);
    float x = ReadSingle(text);
    int thousandthsDigit = ScaleAndCut(x, 1000.0f) % 10;
    if (thousandthsDigit < 0) thousandthsDigit = -thousandthsDigit;
    int hundredths = ScaleAndCut(x, 100.0f);
    if (thousandthsDigit > 5) {
        if (x < 0.0f && hundredths > INT_MIN) hundredths--;
        else if (x >= 0.0f && hundredths < INT_MAX) hundredths++;
    }
    return (SHORT)(WORD)hundredths;
}

// One decimal; -9..-1 need the sign written by hand because their whole part is 0.
void FormatTenths(SHORT value)
{
    int whole = value / 10;
    int digit = abs(value % 10);
    if (whole == 0 && value < 0) snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "-%d.%d", whole, digit);
    else snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%d.%d", whole, digit);
}

// Two decimals; the magnitude is taken in int so that -32768 reads -327.68.
void FormatHundredths(SHORT value)
{
    int magnitude = value < 0 ? -(int)value : (int)value;
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%s%d.%d%d", value < 0 ? "-" : "", magnitude / 100,
             (magnitude % 100) / 10, magnitude % 10);
}

// Writes the bound into the field first and only then shows the box: the ticks that the box's own
// message loop keeps delivering then find the field in range and open no second box.
static void ReplaceWithBound(HWND dialog, int controlId)
{
    SetDlgItemTextA(dialog, controlId, g_textBuffer);
    ShowMessage(dialog, IDS_VALUE_OUT_OF_RANGE, IDS_CAPTION_VALUE_SET, MB_OK | MB_ICONINFORMATION);
}

static void ReadFieldText(HWND dialog, int controlId)
{
    g_textBuffer[0] = 0;
    GetDlgItemTextA(dialog, controlId, g_textBuffer, FIELD_TEXT_LIMIT);
}

// Which bound an entry crossed: 0 in range, -1 below low, 1 above high (compared as whole numbers).
static int CompareWithBounds(int value, int high, int low)
{
    if (value < low) return -1;
    if (value > high) return 1;
    return 0;
}

void ValidateTenthsField(HWND dialog, int controlId, SHORT high, SHORT low)
{
    ReadFieldText(dialog, controlId);
    ReplaceDecimalCommas(g_textBuffer);
    int crossed = CompareWithBounds(ComputeTenths(g_textBuffer), high, low);
    if (crossed == 0) return;
    FormatTenths(crossed < 0 ? low : high);
    ReplaceWithBound(dialog, controlId);
}

// A lone "-" is a negative number being typed and is left alone.
void ValidateSignedField(HWND dialog, int controlId, SHORT high, SHORT low)
{
    ReadFieldText(dialog, controlId);
    if (strcmp(g_textBuffer, "-") == 0) return;
    int crossed = CompareWithBounds(ScanWhole(g_textBuffer), high, low);
    if (crossed == 0) return;
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%d", crossed < 0 ? (int)low : (int)high);
    ReplaceWithBound(dialog, controlId);
}

// A negative entry lies below every unsigned bound and takes the low bound.
void ValidateUnsignedField(HWND dialog, int controlId, WORD high, WORD low)
{
    ReadFieldText(dialog, controlId);
    int crossed = CompareWithBounds(ScanWhole(g_textBuffer), high, low);
    if (crossed == 0) return;
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%u", crossed < 0 ? (unsigned)low : (unsigned)high);
    ReplaceWithBound(dialog, controlId);
}

void ValidateThousandthsField(HWND dialog, int controlId, WORD high, WORD low)
{
    ReadFieldText(dialog, controlId);
    ReplaceDecimalCommas(g_textBuffer);
    int crossed = CompareWithBounds(ComputeThousandths(g_textBuffer), high, low);
    if (crossed == 0) return;
    unsigned bound = crossed < 0 ? low : high;
    snprintf(g_textBuffer, TEXT_BUFFER_SIZE, "%u.%u%u%u", bound / 1000, (bound / 100) % 10, (bound / 10) % 10,
             bound % 10);
    ReplaceWithBound(dialog, controlId);
}
