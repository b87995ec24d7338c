// The edition this program was built as (English or Czech), fixed at compile time.
#ifndef ZENTIL_APP_EDITION_H
#define ZENTIL_APP_EDITION_H

extern const int MAIN_MENU_ID;
extern const int EDITION_IS_CZECH;

#endif
