// Program-wide records of the dialog kit: the scratch text, the file image buffer and its counters.
#ifndef ZENTIL_KIT_SHARED_RECORDS_H
#define ZENTIL_KIT_SHARED_RECORDS_H

#include <windows.h>

// Every control text, formatted number, settings value and file path passes through g_textBuffer.
// It holds a whole path as the file choosers return it (MAX_PATH characters and the terminator),
// so a chosen path is never cut or run past the buffer.
const int TEXT_BUFFER_SIZE = MAX_PATH + 1;
// The settings-file image and every file read whole (firmware files included) live here.
const int FILE_BUFFER_SIZE = 520000;

extern char g_textBuffer[TEXT_BUFFER_SIZE];
extern char g_settingsFile[FILE_BUFFER_SIZE];
extern int g_fileLength;      // result of the last whole-file read or write, kept by the callers
extern char* g_fileCursor;    // position in g_settingsFile, set by the callers before a transfer

#endif
