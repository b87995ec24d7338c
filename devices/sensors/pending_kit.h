// Declarations of the dialog kit and the transfer engines this area calls, until they are part of the program.
#ifndef ZENTIL_DEVICES_SENSORS_PENDING_KIT_H
#define ZENTIL_DEVICES_SENSORS_PENDING_KIT_H

#include <windows.h>

const int TEXT_BUFFER_SIZE = MAX_PATH + 1;
extern char g_textBuffer[TEXT_BUFFER_SIZE];
void ValidateTenthsField(HWND dialog, int controlId, SHORT high, SHORT low);
void ValidateSignedField(HWND dialog, int controlId, SHORT high, SHORT low);
void ValidateUnsignedField(HWND dialog, int controlId, WORD high, WORD low);
void ValidateThousandthsField(HWND dialog, int controlId, WORD high, WORD low);
SHORT ParseTenths(char* text);
SHORT ParseHundredths(char* text);
void FormatTenths(SHORT value);
void FormatHundredths(SHORT value);

const int SETTINGS_FILE_SIZE = 2608;
const int SETTINGS_LINE_SIZE = 16;
const int SETTINGS_FIRST_LINE = 32;
const int FILE_BUFFER_SIZE = 520000;
const char FILE_KIND_SETTINGS = 'C';
extern char g_settingsFile[FILE_BUFFER_SIZE];
extern int g_fileLength;
extern char* g_fileCursor;
void InitSettingsFileTemplate(const char* header);
void PutSettingsField(int lineOffset, const char* text);
void GetSettingsField(int lineOffset, char* destination);
int ChooseOpenFile(char* destination, HWND owner, char fileKind);
int ChooseSaveFile(char* destination, HWND owner, char fileKind);
int ReadWholeFile(const char* path, char* destination);
int WriteWholeFile(const char* path, const char* source, int length);

const int DEVICE_REGISTER_COUNT = 184;
const UINT DIALOG_TICK_MS = 20;
extern WORD g_deviceRegisters[DEVICE_REGISTER_COUNT];
INT_PTR CALLBACK ReadProgressDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WriteProgressDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define IDD_READ_PROGRESS 109
#define IDD_WRITE_PROGRESS 108

#endif
