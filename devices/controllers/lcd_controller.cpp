// Lists the LCD room controllers share.
#include "devices/controllers/lcd_controller.h"

#include "resource.h"

// Each mode drives only its own symbol position, so no choice can clash with another mode's.
const UINT LCD_CONTROLLER_OWN_POSITION_TEXT_IDS[LCD_CONTROLLER_MODES] = {
    IDS_LBC_SYMBOL_1, IDS_LBC_SYMBOL_2, IDS_LBC_SYMBOL_3, IDS_LBC_SYMBOL_4,
};
