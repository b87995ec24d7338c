// TEMPORARY: stand-ins for the settings-file kit's chooser and whole-file read, until the kit lands.
#include "tools/pending_settings_file.h"

#include <commdlg.h>

char g_settingsFile[FILE_BUFFER_SIZE];
int g_fileLength = 0;
char g_textBuffer[TEXT_BUFFER_SIZE];

// Lets the user pick a firmware file; 1 with the path copied (CHOSEN_PATH_SIZE bytes at most), else 0.
int ChooseOpenFile(char* destination, HWND owner, char fileKind)
{
    static const char IMAGE_FILTER[] =
        "Dolvan Memory Image Files (*.dlm)\0*.dlm\0Intel Hex files (*.hex)\0*.hex\0All files (*.*)\0*.*\0";
    char path[MAX_PATH] = "";
    OPENFILENAMEA request;
    ZeroMemory(&request, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = IMAGE_FILTER;
    request.nFilterIndex = 1;
    request.lpstrFile = path;
    request.nMaxFile = MAX_PATH;
    request.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    (void)fileKind;
    if (!GetOpenFileNameA(&request)) return 0;
    lstrcpynA(destination, path, CHOSEN_PATH_SIZE);
    return 1;
}

// Reads a whole file into the buffer; 0 on failure or when it does not fit the buffer.
int ReadWholeFile(const char* path, char* destination)
{
    DWORD size, count = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    size = GetFileSize(file, NULL);
    if (size == INVALID_FILE_SIZE || size > (DWORD)FILE_BUFFER_SIZE || !ReadFile(file, destination, size, &count, NULL))
        count = 0;
    CloseHandle(file);
    return (int)count;
}
