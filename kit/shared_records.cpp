// Program-wide records, defined once.
#include "kit/shared_records.h"

char g_textBuffer[TEXT_BUFFER_SIZE] = "";
char g_settingsFile[FILE_BUFFER_SIZE];
int g_fileLength = 0;
char* g_fileCursor = g_settingsFile;

HINSTANCE g_hInstance = NULL;
BYTE g_deviceConnected = 0;
char g_productString[PRODUCT_STRING_AUTODETECT_CHARS + 1] = "";
WORD g_deviceVendorId = DEFAULT_DEVICE_VENDOR_ID, g_deviceProductId = DEFAULT_DEVICE_PRODUCT_ID;
WORD g_calibratorVendorId = DEFAULT_CALIBRATOR_VENDOR_ID;
WORD g_calibratorProductId = DEFAULT_CALIBRATOR_PRODUCT_ID;
BYTE g_firmwareDigits[6] = {};
