// Pictogram bitmaps of the LCD dialogs: one implementation for every design's handle table.
#include "devices/lcd_units/unit_bitmaps.h"

#include "kit/shared_records.h"
#include "resource.h"

// Index = pictogram code. Codes 64..151 are resources 241..328 in order.
const int SYMBOL_BITMAP_IDS[SYMBOL_BITMAP_COUNT] = {
    IDB_LCD_BLANK,      IDB_LCD_SYMBOL_1,   IDB_LCD_SYMBOL_2,   IDB_LCD_SYMBOL_3,   IDB_LCD_SYMBOL_4,
    IDB_LCD_SYMBOL_5,   IDB_LCD_SYMBOL_6,   IDB_LCD_SYMBOL_7,   IDB_LCD_SYMBOL_8,   IDB_LCD_SYMBOL_9,
    IDB_LCD_SYMBOL_10,  IDB_LCD_SYMBOL_11,  IDB_LCD_SYMBOL_12,  IDB_LCD_SYMBOL_13,  IDB_LCD_SYMBOL_14,
    IDB_LCD_SYMBOL_15,  IDB_LCD_SYMBOL_16,  IDB_LCD_SYMBOL_17,  IDB_LCD_SYMBOL_18,  IDB_LCD_SYMBOL_19,
    IDB_LCD_SYMBOL_20,  IDB_LCD_SYMBOL_21,  IDB_LCD_SYMBOL_22,  IDB_LCD_SYMBOL_23,  IDB_LCD_SYMBOL_24,
    IDB_LCD_SYMBOL_25,  IDB_LCD_SYMBOL_26,  IDB_LCD_SYMBOL_27,  IDB_LCD_SYMBOL_28,  IDB_LCD_SYMBOL_29,
    IDB_LCD_SYMBOL_30,  IDB_LCD_SYMBOL_31,  IDB_LCD_SYMBOL_32,  IDB_LCD_SYMBOL_33,  IDB_LCD_SYMBOL_34,
    IDB_LCD_SYMBOL_35,  IDB_LCD_SYMBOL_36,  IDB_LCD_SYMBOL_37,  IDB_LCD_SYMBOL_38,  IDB_LCD_SYMBOL_39,
    IDB_LCD_SYMBOL_40,  IDB_LCD_SYMBOL_41,  IDB_LCD_SYMBOL_42,  IDB_LCD_SYMBOL_43,  IDB_LCD_SYMBOL_44,
    IDB_LCD_SYMBOL_45,  IDB_LCD_SYMBOL_46,  IDB_LCD_SYMBOL_47,  IDB_LCD_SYMBOL_48,  IDB_LCD_SYMBOL_49,
    IDB_LCD_SYMBOL_50,  IDB_LCD_SYMBOL_51,  IDB_LCD_SYMBOL_52,  IDB_LCD_SYMBOL_53,  IDB_LCD_SYMBOL_54,
    IDB_LCD_SYMBOL_55,  IDB_LCD_SYMBOL_56,  IDB_LCD_SYMBOL_57,  IDB_LCD_SYMBOL_58,  IDB_LCD_SYMBOL_59,
    IDB_LCD_SYMBOL_60,  IDB_LCD_SYMBOL_61,  IDB_LCD_SYMBOL_62,  IDB_LCD_SYMBOL_63,  IDB_LCD_SYMBOL_64,
    IDB_LCD_SYMBOL_65,  IDB_LCD_SYMBOL_66,  IDB_LCD_SYMBOL_67,  IDB_LCD_SYMBOL_68,  IDB_LCD_SYMBOL_69,
    IDB_LCD_SYMBOL_70,  IDB_LCD_SYMBOL_71,  IDB_LCD_SYMBOL_72,  IDB_LCD_SYMBOL_73,  IDB_LCD_SYMBOL_74,
    IDB_LCD_SYMBOL_75,  IDB_LCD_SYMBOL_76,  IDB_LCD_SYMBOL_77,  IDB_LCD_SYMBOL_78,  IDB_LCD_SYMBOL_79,
    IDB_LCD_SYMBOL_80,  IDB_LCD_SYMBOL_81,  IDB_LCD_SYMBOL_82,  IDB_LCD_SYMBOL_83,  IDB_LCD_SYMBOL_84,
    IDB_LCD_SYMBOL_85,  IDB_LCD_SYMBOL_86,  IDB_LCD_SYMBOL_87,  IDB_LCD_SYMBOL_88,  IDB_LCD_SYMBOL_89,
    IDB_LCD_SYMBOL_90,  IDB_LCD_SYMBOL_91,  IDB_LCD_SYMBOL_92,  IDB_LCD_SYMBOL_93,  IDB_LCD_SYMBOL_94,
    IDB_LCD_SYMBOL_95,  IDB_LCD_SYMBOL_96,  IDB_LCD_SYMBOL_97,  IDB_LCD_SYMBOL_98,  IDB_LCD_SYMBOL_99,
    IDB_LCD_SYMBOL_100, IDB_LCD_SYMBOL_101, IDB_LCD_SYMBOL_102, IDB_LCD_SYMBOL_103, IDB_LCD_SYMBOL_104,
    IDB_LCD_SYMBOL_105, IDB_LCD_SYMBOL_106, IDB_LCD_SYMBOL_107, IDB_LCD_SYMBOL_108, IDB_LCD_SYMBOL_109,
    IDB_LCD_SYMBOL_110, IDB_LCD_SYMBOL_111, IDB_LCD_SYMBOL_112, IDB_LCD_SYMBOL_113, IDB_LCD_SYMBOL_114,
    IDB_LCD_SYMBOL_115, IDB_LCD_SYMBOL_116, IDB_LCD_SYMBOL_117, IDB_LCD_SYMBOL_118, IDB_LCD_SYMBOL_119,
    IDB_LCD_SYMBOL_120, IDB_LCD_SYMBOL_121, IDB_LCD_SYMBOL_122, IDB_LCD_SYMBOL_123, IDB_LCD_SYMBOL_124,
    IDB_LCD_SYMBOL_125, IDB_LCD_SYMBOL_126, IDB_LCD_SYMBOL_127, IDB_LCD_SYMBOL_128, IDB_LCD_SYMBOL_129,
    IDB_LCD_SYMBOL_130, IDB_LCD_SYMBOL_131, IDB_LCD_SYMBOL_132, IDB_LCD_SYMBOL_133, IDB_LCD_SYMBOL_134,
    IDB_LCD_SYMBOL_135, IDB_LCD_SYMBOL_136, IDB_LCD_SYMBOL_137, IDB_LCD_SYMBOL_138, IDB_LCD_SYMBOL_139,
    IDB_LCD_SYMBOL_140, IDB_LCD_SYMBOL_141, IDB_LCD_SYMBOL_142, IDB_LCD_SYMBOL_143, IDB_LCD_SYMBOL_144,
    IDB_LCD_SYMBOL_145, IDB_LCD_SYMBOL_146, IDB_LCD_SYMBOL_147, IDB_LCD_SYMBOL_148, IDB_LCD_SYMBOL_149,
    IDB_LCD_SYMBOL_150, IDB_LCD_SYMBOL_151,
};

// Index = the colour index a colour nibble holds.
const int COLOR_BITMAP_IDS[COLOR_BITMAP_COUNT] = {
    IDB_LCD_COLOR_RED,     IDB_LCD_COLOR_GREEN,      IDB_LCD_COLOR_BLUE,       IDB_LCD_COLOR_YELLOW,
    IDB_LCD_COLOR_MAGENTA, IDB_LCD_COLOR_WHITE,      IDB_LCD_COLOR_CYAN,       IDB_LCD_COLOR_DARK_GREEN,
    IDB_LCD_COLOR_WHITE_BLUE, IDB_LCD_COLOR_GREY_BROWN, IDB_LCD_COLOR_WHITE_RED,
};

// Index = BargraphKind; kind 0 shows the blank of pictogram code 0 (loaded into its own handle).
const int BARGRAPH_BITMAP_IDS[BARGRAPH_BITMAP_COUNT] = {
    IDB_LCD_BLANK, IDB_LCD_BARGRAPH_RELATIVE, IDB_LCD_BARGRAPH_ABSOLUTE, IDB_LCD_BARGRAPH_CONSTANT,
};

const int MASK_BITMAP_ID = IDB_LCD_MASK;

// Loads `count` bitmaps in index order into `handles`; stops at the first that does not load.
static int LoadBitmapList(const int* ids, int count, HBITMAP* handles)
{
    for (int i = 0; i < count; i++) {
        handles[i] = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(ids[i]));
        if (handles[i] == NULL) return 0;
    }
    return 1;
}

int LoadUnitColors(UnitBitmapTable* table)
{
    return LoadBitmapList(COLOR_BITMAP_IDS, table->colorCount, table->colors);
}

int LoadUnitBargraphs(UnitBitmapTable* table)
{
    return LoadBitmapList(BARGRAPH_BITMAP_IDS, table->bargraphCount, table->bargraphs);
}

int LoadUnitBitmaps(UnitBitmapTable* table)
{
    if (!LoadBitmapList(SYMBOL_BITMAP_IDS, table->symbolCount, table->symbols)) return 0;
    table->mask = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(MASK_BITMAP_ID));
    return table->mask != NULL;
}

// Deletes every loaded handle once and forgets it, so a table that failed half way, or that is
// freed again, releases nothing twice.
static void FreeBitmapList(HBITMAP* handles, int count)
{
    for (int i = 0; i < count; i++) {
        if (handles[i]) DeleteObject(handles[i]);
        handles[i] = NULL;
    }
}

void FreeUnitBitmaps(UnitBitmapTable* table)
{
    FreeBitmapList(&table->mask, 1);
    FreeBitmapList(table->colors, COLOR_BITMAP_COUNT);
    FreeBitmapList(table->bargraphs, BARGRAPH_BITMAP_COUNT);
    FreeBitmapList(table->symbols, SYMBOL_BITMAP_COUNT);
}

// Adds one item per handle, in index order. The combo box stores no strings, so the text passed
// with CB_ADDSTRING only becomes the item's first data; the handle replaces it.
static void FillBitmapCombo(HWND dialog, int controlId, const HBITMAP* handles, int count)
{
    HWND combo = GetDlgItem(dialog, controlId);
    for (int i = 0; i < count; i++) {
        LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)g_textBuffer);
        SendMessageA(combo, CB_SETITEMDATA, (WPARAM)index, (LPARAM)handles[i]);
    }
    // Windows sizes the selection field by the measured height; Wine keeps it a little lower than
    // what WM_MEASUREITEM gave, which would cut the picture's last rows in the closed box.
    if (SendMessageA(combo, CB_GETITEMHEIGHT, (WPARAM)-1, 0) < PICTOGRAM_ITEM_MIN_HEIGHT) {
        SendMessageA(combo, CB_SETITEMHEIGHT, (WPARAM)-1, PICTOGRAM_ITEM_MIN_HEIGHT);
    }
}

void FillSymbolCombo(const UnitBitmapTable* table, HWND dialog, int controlId)
{
    FillBitmapCombo(dialog, controlId, table->symbols, table->symbolCount);
}

void FillColorCombo(const UnitBitmapTable* table, HWND dialog, int controlId)
{
    FillBitmapCombo(dialog, controlId, table->colors, table->colorCount);
}

void FillBargraphCombo(const UnitBitmapTable* table, HWND dialog, int controlId)
{
    FillBitmapCombo(dialog, controlId, table->bargraphs, table->bargraphCount);
}

// Every owner-drawn item is at least as tall as a pictogram with a pixel above and below.
void MeasurePictogramItem(MEASUREITEMSTRUCT* item)
{
    if (item->itemHeight < (UINT)PICTOGRAM_ITEM_MIN_HEIGHT) item->itemHeight = PICTOGRAM_ITEM_MIN_HEIGHT;
}

// The picture is OR-ed onto a cell the mask has made black; nothing else is painted (no
// background, highlight or focus frame). Wider pictures are cut to the cell.
void DrawPictogramItem(const UnitBitmapTable* table, const DRAWITEMSTRUCT* item)
{
    if (item->itemID == (UINT)-1) return;
    HBITMAP picture = (HBITMAP)item->itemData;
    int x = LOWORD(GetDialogBaseUnits()) / 4;
    int y = item->rcItem.top + 1;
    HDC memory = CreateCompatibleDC(item->hDC);
    if (memory == NULL) return;
    HGDIOBJ old = SelectObject(memory, table->mask);
    BitBlt(item->hDC, x, y, PICTOGRAM_DRAW_WIDTH, PICTOGRAM_DRAW_HEIGHT, memory, 0, 0, SRCAND);
    SelectObject(memory, picture);
    BitBlt(item->hDC, x, y, PICTOGRAM_DRAW_WIDTH, PICTOGRAM_DRAW_HEIGHT, memory, 0, 0, SRCPAINT);
    SelectObject(memory, old);
    DeleteDC(memory);
}
