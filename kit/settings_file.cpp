// Settings-file image (template and value fields), the file choosers and whole-file transfers.
#include "kit/settings_file.h"

#include <commdlg.h>
#include <stdio.h>
#include <string.h>

static const char LINE_END = 13;  // the file's lines end in a single CR, never LF

// Lays the whole 2608-byte empty image: header (blank-padded to 16 characters), separator line,
// one "Reg nnn" line per register with a blank value field, and the trailer line.
void InitSettingsFileTemplate(const char* header)
{
    char* image = g_settingsFile;
    int i;
    for (i = 0; i < SETTINGS_HEADER_SIZE && header[i] != 0; i++) image[i] = header[i];
    for (; i < SETTINGS_HEADER_SIZE; i++) image[i] = ' ';
    image[16] = LINE_END;
    memset(image + 17, ' ', 14);
    image[31] = LINE_END;
    for (int r = 0; r < SETTINGS_REGISTER_COUNT; r++) {
        char* line = image + SETTINGS_FIRST_LINE + r * SETTINGS_LINE_SIZE;
        char number[4];
        snprintf(number, sizeof(number), "%03d", r);
        memcpy(line, "Reg ", 4);
        memcpy(line + 4, number, 3);
        memset(line + 7, ' ', 8);
        line[15] = LINE_END;
    }
    image[SETTINGS_TRAILER_OFFSET] = LINE_END;
    memset(image + SETTINGS_TRAILER_OFFSET + 1, ' ', 14);
    image[SETTINGS_TRAILER_OFFSET + 15] = LINE_END;
}

// Blanks the line's value field and writes at most 6 characters of the text into it.
void PutSettingsField(int lineOffset, const char* text)
{
    char* field = g_settingsFile + lineOffset + SETTINGS_VALUE_OFFSET;
    memset(field, ' ', SETTINGS_VALUE_WIDTH);
    for (int i = 0; i < SETTINGS_VALUE_WIDTH && text[i] != 0; i++) field[i] = text[i];
}

// Copies the value field up to its first blank (at most 6 characters) and terminates it.
void GetSettingsField(int lineOffset, char* destination)
{
    const char* field = g_settingsFile + lineOffset + SETTINGS_VALUE_OFFSET;
    int i;
    for (i = 0; i < SETTINGS_VALUE_WIDTH && field[i] != ' '; i++) destination[i] = field[i];
    destination[i] = 0;
}

// Filter lists of the choosers, by FileKind (pairs of description and pattern, double-NUL ended).
static const char IMAGE_FILTER[] =
    "Dolvan Memory Image Files (*.dlm)\0*.dlm\0Intel Hex files (*.hex)\0*.hex\0All files (*.*)\0*.*\0";
static const char SETTINGS_FILTER[] = "Dolvan Config Files (*.dlc)\0*.dlc\0All files (*.*)\0*.*\0";
static const char ANY_FILTER[] = "All Files (*.*)\0*.*\0";

static const char* SelectFilter(char fileKind)
{
    if (fileKind == FILE_KIND_IMAGE) return IMAGE_FILTER;
    if (fileKind == FILE_KIND_SETTINGS) return SETTINGS_FILTER;
    return ANY_FILTER;
}

// Runs one common file dialog; on success the whole path goes to the destination, which holds
// CHOSEN_PATH_SIZE bytes; cancel or failure leaves the destination as it was.
static int RunFileChooser(char* destination, HWND owner, char fileKind, int save)
{
    char path[CHOSEN_PATH_SIZE] = "";
    OPENFILENAMEA request;
    BOOL chosen;

    ZeroMemory(&request, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = SelectFilter(fileKind);
    request.lpstrFile = path;
    request.nMaxFile = MAX_PATH;
    if (save) {
        // A save names a file that may not exist yet; only its folder must.
        request.Flags = OFN_PATHMUSTEXIST;
        request.lpstrDefExt = "dlc";
        chosen = GetSaveFileNameA(&request);
    } else {
        request.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        request.nFilterIndex = 1;
        chosen = GetOpenFileNameA(&request);
    }
    if (!chosen) return 0;
    path[MAX_PATH] = 0;
    memcpy(destination, path, strlen(path) + 1);
    return 1;
}

int ChooseOpenFile(char* destination, HWND owner, char fileKind)
{
    return RunFileChooser(destination, owner, fileKind, 0);
}

int ChooseSaveFile(char* destination, HWND owner, char fileKind)
{
    return RunFileChooser(destination, owner, fileKind, 1);
}

// Reads a whole file into the destination (FILE_BUFFER_SIZE bytes) with nothing shared; returns the
// count read, 0 when the file cannot be opened, its size is unknown, or it would not fit the buffer.
int ReadWholeFile(const char* path, char* destination)
{
    DWORD sizeHigh = 0;
    DWORD size;
    DWORD count = 0;
    int result = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;

    SetLastError(NO_ERROR);
    size = GetFileSize(file, &sizeHigh);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) goto done;
    if (sizeHigh != 0 || size > (DWORD)FILE_BUFFER_SIZE) goto done;
    if (!ReadFile(file, destination, size, &count, NULL)) goto done;
    result = (int)count;
done:
    CloseHandle(file);
    return result;
}

// Creates or replaces the file with the given bytes; returns the count written, 0 on failure.
int WriteWholeFile(const char* path, const char* source, int length)
{
    DWORD count = 0;
    int result = 0;
    HANDLE file;
    if (length < 0) return 0;
    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    if (WriteFile(file, source, (DWORD)length, &count, NULL)) result = (int)count;
    CloseHandle(file);
    return result;
}
