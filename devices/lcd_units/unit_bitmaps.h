// Pictogram bitmaps of the LCD dialogs: the resource tables, the handle table each dialog design
// owns, loading and releasing it, filling the owner-drawn combo boxes and drawing their items.
#ifndef ZENTIL_DEVICES_LCD_UNITS_UNIT_BITMAPS_H
#define ZENTIL_DEVICES_LCD_UNITS_UNIT_BITMAPS_H

#include <windows.h>

const int SYMBOL_BITMAP_COUNT = 152;  // pictogram codes 0..151; the room controllers use 0..63
const int COLOR_BITMAP_COUNT = 11;    // colour indexes 0..10; the room controllers use 0..6
const int BARGRAPH_BITMAP_COUNT = 4;  // BargraphKind 0..3
const int PICTOGRAM_ITEM_MIN_HEIGHT = 18;
const int PICTOGRAM_DRAW_WIDTH = 24;
const int PICTOGRAM_DRAW_HEIGHT = 16;

extern const int SYMBOL_BITMAP_IDS[SYMBOL_BITMAP_COUNT];
extern const int COLOR_BITMAP_IDS[COLOR_BITMAP_COUNT];
extern const int BARGRAPH_BITMAP_IDS[BARGRAPH_BITMAP_COUNT];
extern const int MASK_BITMAP_ID;

// The bitmap handles of one dialog design, state of that design's source file. The counts say
// how long its lists are (0: the design has no such list); a NULL entry holds nothing to release.
struct UnitBitmapTable {
    int symbolCount;
    int colorCount;
    int bargraphCount;
    HBITMAP mask;
    HBITMAP colors[COLOR_BITMAP_COUNT];
    HBITMAP bargraphs[BARGRAPH_BITMAP_COUNT];
    HBITMAP symbols[SYMBOL_BITMAP_COUNT];
};

// Each returns 1 when every bitmap of its list loaded; at the first failure it stops and returns 0
// (what loaded before stays in the table, to be released by FreeUnitBitmaps).
int LoadUnitColors(UnitBitmapTable* table);
int LoadUnitBargraphs(UnitBitmapTable* table);
int LoadUnitBitmaps(UnitBitmapTable* table);  // the pictograms, then the mask
void FreeUnitBitmaps(UnitBitmapTable* table);

void FillSymbolCombo(const UnitBitmapTable* table, HWND dialog, int controlId);
void FillColorCombo(const UnitBitmapTable* table, HWND dialog, int controlId);
void FillBargraphCombo(const UnitBitmapTable* table, HWND dialog, int controlId);

// WM_MEASUREITEM and WM_DRAWITEM of a dialog whose owner-drawn controls are pictogram combo boxes.
void MeasurePictogramItem(MEASUREITEMSTRUCT* item);
void DrawPictogramItem(const UnitBitmapTable* table, const DRAWITEMSTRUCT* item);

#endif
