// TEMPORARY: the settings-file kit's names the bootloader needs, until the kit's own headers land.
// Delete this file and its .cpp, and include kit/settings_file.h instead, once the kit is merged.
#ifndef ZENTIL_TOOLS_PENDING_SETTINGS_FILE_H
#define ZENTIL_TOOLS_PENDING_SETTINGS_FILE_H

#include <windows.h>

const int TEXT_BUFFER_SIZE = MAX_PATH + 1;
const int FILE_BUFFER_SIZE = 520000;
const int CHOSEN_PATH_SIZE = MAX_PATH + 1;
const char FILE_KIND_IMAGE = 'B';

extern char g_textBuffer[TEXT_BUFFER_SIZE];
extern char g_settingsFile[FILE_BUFFER_SIZE];
extern int g_fileLength;

int ChooseOpenFile(char* destination, HWND owner, char fileKind);
int ReadWholeFile(const char* path, char* destination);

#endif
