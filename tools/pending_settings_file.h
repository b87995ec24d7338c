// TEMPORARY: the settings-file kit's names the bootloader needs, until the kit's own header lands.
// Delete this file and its .cpp, and include kit/settings_file.h instead, once the kit is merged.
#ifndef ZENTIL_TOOLS_PENDING_SETTINGS_FILE_H
#define ZENTIL_TOOLS_PENDING_SETTINGS_FILE_H

#include <windows.h>

const DWORD FILE_BUFFER_SIZE = 520000;
const int TEXT_BUFFER_SIZE = 200;
const char FILE_KIND_IMAGE = 'B';

extern BYTE g_settingsFile[FILE_BUFFER_SIZE];
extern DWORD g_fileLength;
extern char g_textBuffer[TEXT_BUFFER_SIZE];

int ChooseOpenFile(char* destination, HWND owner, char kind);
DWORD ReadWholeFile(const char* path, BYTE* destination);

#endif
