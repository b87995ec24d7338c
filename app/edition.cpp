// Edition constants; compiled once per edition beside that edition's resource script.
#include "app/edition.h"
#include "resource.h"

#ifdef ZENTIL_EDITION_CZ
const int MAIN_MENU_ID = IDR_MENU_CZ;
const int EDITION_IS_CZECH = 1;
#else
const int MAIN_MENU_ID = IDR_MENU_EN;
const int EDITION_IS_CZECH = 0;
#endif
