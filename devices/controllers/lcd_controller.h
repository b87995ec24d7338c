// What the LCD room controllers share as descriptor data of the LCD dialog engine, beside what
// they share with the LCD room units: their registers, lists and file lines. Each model keeps its
// own values and binds these to its ids.
#ifndef ZENTIL_DEVICES_CONTROLLERS_LCD_CONTROLLER_H
#define ZENTIL_DEVICES_CONTROLLERS_LCD_CONTROLLER_H

#include "devices/lcd_units/lcd_dialog.h"
#include "devices/lcd_units/room_units.h"

const int REG_REQUESTED_TVOC = 11;
const int REG_REQUESTED_CO2 = 13;
const int REG_BACKLIGHT_DAY = 34;
const int REG_COLORS_MEASURED = 36;
const int REG_COLORS_SYMBOLS = 37;
const int REG_BACKLIGHT_NIGHT = 38;
const int REG_BACKLIGHT_SWITCH_LOW = 56;
const int REG_BACKLIGHT_SWITCH_HIGH = 57;
const int REG_TVOC_LOW = 58;
const int REG_TVOC_HIGH = 59;
const int REG_CO2_LOW = 62;
const int REG_CO2_HIGH = 63;
const int REG_INDICATION_LOW = 64;
const int REG_INDICATION_HIGH = 65;
const int REG_BARGRAPH_1 = 68;
const int REG_BARGRAPH_2 = 69;
const int REG_BARGRAPH_TVOC = 71;
const int REG_BARGRAPH_3 = 73;
const int REG_OFFSET_CO2 = 81;
const int LCD_CONTROLLER_MODES = 4;
const int LCD_CONTROLLER_SYMBOLS = 64;
const int LCD_CONTROLLER_COLORS = 7;
const int TVOC_MAX_PPB = 30000;

// Each mode's own LCD position, listed after "LCD none" (entry 0 of ROOM_POSITION_TEXT_IDS).
extern const UINT LCD_CONTROLLER_OWN_POSITION_TEXT_IDS[LCD_CONTROLLER_MODES];

// The handle table of one controller dialog: 64 pictograms, 7 swatches, 4 bargraph pictures.
#define LCD_CONTROLLER_BITMAPS {LCD_CONTROLLER_SYMBOLS, LCD_CONTROLLER_COLORS, BARGRAPH_BITMAP_COUNT}

// The settings-file lines of the four modes: connections, numbers of states, then the 64 codes.
#define LCD_CONTROLLER_MODE_LINES                                                                                   \
    {REG_MODE_CONNECTION, LCD_FILE_ONE_DIGIT}, {REG_MODE_CONNECTION + 2, LCD_FILE_ONE_DIGIT},                     \
        {REG_MODE_CONNECTION + 4, LCD_FILE_ONE_DIGIT}, {REG_MODE_CONNECTION + 6, LCD_FILE_ONE_DIGIT},             \
        {REG_MODE_STATES, LCD_FILE_TWO_DIGITS}, {REG_MODE_STATES + 2, LCD_FILE_TWO_DIGITS},                       \
        {REG_MODE_STATES + 4, LCD_FILE_TWO_DIGITS}, {REG_MODE_STATES + 6, LCD_FILE_TWO_DIGITS},                   \
        LCD_STATE_FILE_LINES(REG_MODE_SYMBOLS, LCD_FILE_TWO_DIGITS),                                            \
        LCD_STATE_FILE_LINES(REG_MODE_SYMBOLS + 16, LCD_FILE_TWO_DIGITS),                                       \
        LCD_STATE_FILE_LINES(REG_MODE_SYMBOLS + 32, LCD_FILE_TWO_DIGITS),                                       \
        LCD_STATE_FILE_LINES(REG_MODE_SYMBOLS + 48, LCD_FILE_TWO_DIGITS)

#endif
