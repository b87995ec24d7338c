// Settings-file image (template and value fields), the file choosers and whole-file transfers.
#ifndef ZENTIL_KIT_SETTINGS_FILE_H
#define ZENTIL_KIT_SETTINGS_FILE_H

#include <windows.h>

#include "kit/shared_records.h"

const int SETTINGS_FILE_SIZE = 2608;
const int SETTINGS_LINE_SIZE = 16;
const int SETTINGS_HEADER_SIZE = 16;
const int SETTINGS_FIRST_LINE = 32;
const int SETTINGS_REGISTER_COUNT = 160;
const int SETTINGS_VALUE_OFFSET = 8;  // value field within a register line
const int SETTINGS_VALUE_WIDTH = 6;
const int SETTINGS_TRAILER_OFFSET = SETTINGS_FIRST_LINE + SETTINGS_REGISTER_COUNT * SETTINGS_LINE_SIZE;
// Room for a chosen path in the caller's destination, terminator included.
const int CHOSEN_PATH_SIZE = MAX_PATH + 1;

// FileKind: the letter that picks a chooser's filter list.
const char FILE_KIND_IMAGE = 'B';
const char FILE_KIND_SETTINGS = 'C';

void InitSettingsFileTemplate(const char* header);
void PutSettingsField(int lineOffset, const char* text);
void GetSettingsField(int lineOffset, char* destination);

// The destination must hold CHOSEN_PATH_SIZE bytes (g_textBuffer does).
int ChooseOpenFile(char* destination, HWND owner, char fileKind);
int ChooseSaveFile(char* destination, HWND owner, char fileKind);

// The destination holds FILE_BUFFER_SIZE bytes (g_settingsFile); a longer file is refused.
int ReadWholeFile(const char* path, char* destination);
int WriteWholeFile(const char* path, const char* source, int length);

#endif
