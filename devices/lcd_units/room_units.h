// What the LCD room units DMG1KY, DMG1A and RMG1A share beside the engine: their registers and
// the texts of their lists.
#ifndef ZENTIL_DEVICES_LCD_UNITS_ROOM_UNITS_H
#define ZENTIL_DEVICES_LCD_UNITS_ROOM_UNITS_H

#include <windows.h>

#include "devices/lcd_units/lcd_dialog.h"

const int REG_REQUESTED_TEMPERATURE = 8;
const int REG_REQUESTED_HUMIDITY = 9;
const int REG_QUICK_ACCESS_MIDDLE = 29;
const int REG_QUICK_ACCESS_BOTTOM = 30;
const int REG_LCD_ACTIVE_TIME = 35;
const int REG_VALUE_COLORS = 36;
const int REG_SYMBOL_COLORS = 37;
const int REG_FLAGS = 39;
const int REG_TEMPERATURE_LOW = 52;
const int REG_TEMPERATURE_HIGH = 53;
const int REG_HUMIDITY_LOW = 54;
const int REG_HUMIDITY_HIGH = 55;
const int REG_TEMPERATURE_BARGRAPH = 68;
const int REG_HUMIDITY_BARGRAPH = 69;
const int REG_MODE_CONNECTION = 84;  // modes 1, 2, 3 at 84, 86, 88
const int REG_MODE_STATES = 85;      // at 85, 87, 89
const int REG_MODE_SYMBOLS = 92;     // 16 per mode from 92, 108, 124
const WORD FLAG_MENU_DISABLED = 0x0001;
const WORD QUICK_NOT_ACTIVE = 10;
const WORD QUICK_HUMIDITY = 20;
const int ROOM_QUICK_ENTRIES = 6;
const int ROOM_ACTIVE_TIME_ENTRIES = 12;
const int ROOM_POSITION_COUNT = 4;

// Mode m (0..2): its registers follow from m; its 16 state combo boxes have consecutive ids.
constexpr LcdMode RoomMode(int m, int connectionId, int statesId, int statesLabelId, int firstSymbolId)
{
    return {connectionId,  REG_MODE_CONNECTION + 2 * m, statesId, REG_MODE_STATES + 2 * m,
            statesLabelId, firstSymbolId,                1,        REG_MODE_SYMBOLS + STATES_PER_MODE * m};
}

extern const UINT ROOM_ACTIVE_TIME_TEXT_IDS[ROOM_ACTIVE_TIME_ENTRIES];
extern const UINT ROOM_QUICK_TEXT_IDS[ROOM_QUICK_ENTRIES];  // not active, T, H, M1, M2, M3
extern const WORD ROOM_QUICK_CODES[ROOM_QUICK_ENTRIES];
extern const int ROOM_QUICK_MODES[ROOM_QUICK_ENTRIES];
extern const UINT ROOM_EMPTY_MODE_TEXT_IDS[3];
extern const UINT ROOM_KIND_TEXT_IDS[4];
extern const UINT ROOM_POSITION_TEXT_IDS[ROOM_POSITION_COUNT];

// The settings-file lines of the three modes: connections, numbers of states, pictogram codes.
#define ROOM_SYMBOL_LINES(first)                                                                              \
    {first, LCD_FILE_PICTOGRAM}, {first + 1, LCD_FILE_PICTOGRAM}, {first + 2, LCD_FILE_PICTOGRAM},            \
        {first + 3, LCD_FILE_PICTOGRAM}, {first + 4, LCD_FILE_PICTOGRAM}, {first + 5, LCD_FILE_PICTOGRAM},    \
        {first + 6, LCD_FILE_PICTOGRAM}, {first + 7, LCD_FILE_PICTOGRAM}, {first + 8, LCD_FILE_PICTOGRAM},    \
        {first + 9, LCD_FILE_PICTOGRAM}, {first + 10, LCD_FILE_PICTOGRAM}, {first + 11, LCD_FILE_PICTOGRAM},  \
        {first + 12, LCD_FILE_PICTOGRAM}, {first + 13, LCD_FILE_PICTOGRAM}, {first + 14, LCD_FILE_PICTOGRAM}, \
        {first + 15, LCD_FILE_PICTOGRAM}
#define ROOM_MODE_LINES                                                                                       \
    {REG_MODE_CONNECTION, LCD_FILE_ONE_DIGIT}, {REG_MODE_CONNECTION + 2, LCD_FILE_ONE_DIGIT},                 \
        {REG_MODE_CONNECTION + 4, LCD_FILE_ONE_DIGIT}, {REG_MODE_STATES, LCD_FILE_TWO_DIGITS},                \
        {REG_MODE_STATES + 2, LCD_FILE_TWO_DIGITS}, {REG_MODE_STATES + 4, LCD_FILE_TWO_DIGITS},               \
        ROOM_SYMBOL_LINES(REG_MODE_SYMBOLS), ROOM_SYMBOL_LINES(REG_MODE_SYMBOLS + 16),                        \
        ROOM_SYMBOL_LINES(REG_MODE_SYMBOLS + 32)

#endif
