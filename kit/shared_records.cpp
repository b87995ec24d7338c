// Program-wide records of the dialog kit, defined once.
#include "kit/shared_records.h"

char g_textBuffer[TEXT_BUFFER_SIZE] = "";
char g_settingsFile[FILE_BUFFER_SIZE];
int g_fileLength = 0;
char* g_fileCursor = g_settingsFile;
