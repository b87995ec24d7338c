// File choosers driven through the real common file dialogs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <string.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "kit/settings_file.h"
#include "kit/shared_records.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

// Controls of the common file dialog, as Wine's comdlg32 lays them out (looked up under Wine):
// the file-name combo box (cmb13) with its edit, and the file-type combo box (cmb1).
const int FILE_NAME_COMBO_ID = 0x47C;
const int FILE_TYPE_COMBO_ID = 0x470;

// The request the program hands to the common dialog, caught by pointing this program's import
// of GetOpenFileNameA/GetSaveFileNameA at a recorder that then calls the real function (Wine's
// dialogs do not refuse a new name in a save dialog that asks for an existing file, so the flags
// themselves are checked).
struct ChooserRequest {
    DWORD flags = 0;
    DWORD filterIndex = 0;
    DWORD maxFile = 0;
    std::string defaultExtension;
    bool hasTitle = false, hasInitialFolder = false;
};
ChooserRequest s_request;
typedef BOOL(WINAPI* FileNameFunction)(LPOPENFILENAMEA);
FileNameFunction s_realOpen = nullptr, s_realSave = nullptr;

void RecordRequest(const OPENFILENAMEA* request)
{
    s_request.flags = request->Flags;
    s_request.filterIndex = request->nFilterIndex;
    s_request.maxFile = request->nMaxFile;
    s_request.defaultExtension = request->lpstrDefExt ? request->lpstrDefExt : "";
    s_request.hasTitle = request->lpstrTitle != nullptr;
    s_request.hasInitialFolder = request->lpstrInitialDir != nullptr;
}

BOOL WINAPI RecordOpen(LPOPENFILENAMEA request)
{
    RecordRequest(request);
    return s_realOpen(request);
}

BOOL WINAPI RecordSave(LPOPENFILENAMEA request)
{
    RecordRequest(request);
    return s_realSave(request);
}

// Replaces one import of this program by name; returns the function it pointed at.
void* PatchImport(const char* dll, const char* name, void* replacement)
{
    BYTE* base = (BYTE*)GetModuleHandleW(nullptr);
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (IMAGE_IMPORT_DESCRIPTOR* d = (IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress); d->Name; d++) {
        if (_stricmp((const char*)(base + d->Name), dll) != 0) continue;
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + d->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME* byName = (IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData);
            if (strcmp((const char*)byName->Name, name) != 0) continue;
            void* original = (void*)slots->u1.Function;
            DWORD protection;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            slots->u1.Function = (ULONG_PTR)replacement;
            VirtualProtect(&slots->u1.Function, sizeof(void*), protection, &protection);
            return original;
        }
    }
    return nullptr;
}

void RecordChooserRequests()
{
    if (s_realOpen) return;
    s_realOpen = (FileNameFunction)PatchImport("comdlg32.dll", "GetOpenFileNameA", (void*)RecordOpen);
    s_realSave = (FileNameFunction)PatchImport("comdlg32.dll", "GetSaveFileNameA", (void*)RecordSave);
}

struct ChooserView {
    std::vector<std::wstring> filters;
    int selectedFilter = -1;
    std::wstring caption;
};

BOOL CALLBACK FindFileNameEdit(HWND window, LPARAM found)
{
    wchar_t name[32];
    GetClassNameW(window, name, 32);
    if (GetDlgCtrlID(window) == FILE_NAME_COMBO_ID && wcscmp(name, L"Edit") == 0) {
        *(HWND*)found = window;
        return FALSE;
    }
    return TRUE;
}

// Runs a chooser on this thread while a driver thread reads the dialog and then either types
// `typed` and presses OK, or cancels (typed empty).
int RunChooser(int (*chooser)(char*, HWND, char), char* destination, char kind, const std::wstring& typed,
               ChooserView* view)
{
    std::thread driver([&] {
        HWND dialog = WaitForDialogWithControl(ThisProcess(), FILE_TYPE_COMBO_ID, 10000);
        if (!dialog) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        view->caption = GetText(dialog);
        HWND types = GetDlgItem(dialog, FILE_TYPE_COMBO_ID);
        int count = (int)SendMessageW(types, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            wchar_t text[128] = L"";
            SendMessageW(types, CB_GETLBTEXT, i, (LPARAM)text);
            view->filters.push_back(text);
        }
        view->selectedFilter = (int)SendMessageW(types, CB_GETCURSEL, 0, 0);
        HWND nameEdit = nullptr;
        EnumChildWindows(dialog, FindFileNameEdit, (LPARAM)&nameEdit);
        if (!typed.empty() && nameEdit) {
            SetText(nameEdit, typed);
            PostCommand(dialog, IDOK);
        } else {
            PostCommand(dialog, IDCANCEL);
        }
        if (!WaitUntil([&] { return !IsWindow(dialog); }, 5000)) {
            ADD_FAILURE() << "the file dialog did not close";
            MessageBoxRecord box;
            while (WaitForMessageBox(ThisProcess(), &box, 200)) {
                ADD_FAILURE() << "box: " << std::string(box.text.begin(), box.text.end());
                AnswerMessageBox(box);
            }
            PostCommand(dialog, IDCANCEL);
        }
    });
    RecordChooserRequests();
    s_request = ChooserRequest();
    int result = chooser(destination, nullptr, kind);
    driver.join();
    return result;
}

std::string TempFolder()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

}  // namespace

TEST(FileChoosers, OpenShowsTheKindsFiltersAndCopiesThePath)
{
    std::string path = TempFolder() + "zentil_open_" + std::to_string(GetCurrentProcessId()) + ".dlc";
    ASSERT_EQ(3, WriteWholeFile(path.c_str(), "abc", 3));
    char destination[CHOSEN_PATH_SIZE] = "untouched";
    ChooserView view;
    EXPECT_EQ(1, RunChooser(ChooseOpenFile, destination, FILE_KIND_SETTINGS, Wide(path), &view));
    EXPECT_STREQ(path.c_str(), destination);
    EXPECT_EQ((std::vector<std::wstring>{L"Dolvan Config Files (*.dlc)", L"All files (*.*)"}), view.filters);
    EXPECT_EQ(0, view.selectedFilter);
    EXPECT_EQ((DWORD)(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST), s_request.flags);
    EXPECT_EQ(1u, s_request.filterIndex);
    EXPECT_EQ((DWORD)MAX_PATH, s_request.maxFile);
    EXPECT_EQ("", s_request.defaultExtension);
    EXPECT_FALSE(s_request.hasTitle || s_request.hasInitialFolder);
    DeleteFileA(path.c_str());

    ChooserView image;
    EXPECT_EQ(0, RunChooser(ChooseOpenFile, destination, FILE_KIND_IMAGE, L"", &image));
    EXPECT_STREQ(path.c_str(), destination);  // cancel leaves the path as it was
    EXPECT_EQ((std::vector<std::wstring>{L"Dolvan Memory Image Files (*.dlm)", L"Intel Hex files (*.hex)",
                                         L"All files (*.*)"}),
              image.filters);
}

// The save chooser names a file that does not exist yet and adds the default extension.
TEST(FileChoosers, SaveAcceptsANewNameAndAddsDlc)
{
    std::string stem = TempFolder() + "zentil_new_" + std::to_string(GetCurrentProcessId());
    DeleteFileA((stem + ".dlc").c_str());
    char destination[CHOSEN_PATH_SIZE] = "untouched";
    ChooserView view;
    EXPECT_EQ(1, RunChooser(ChooseSaveFile, destination, FILE_KIND_SETTINGS, Wide(stem), &view));
    EXPECT_STREQ((stem + ".dlc").c_str(), destination);
    EXPECT_EQ((DWORD)OFN_PATHMUSTEXIST, s_request.flags);  // the file need not exist yet
    EXPECT_EQ(0u, s_request.filterIndex);
    EXPECT_EQ("dlc", s_request.defaultExtension);
    EXPECT_EQ((std::vector<std::wstring>{L"Dolvan Config Files (*.dlc)", L"All files (*.*)"}), view.filters);

    ChooserView other;
    strcpy(destination, "untouched");
    EXPECT_EQ(0, RunChooser(ChooseSaveFile, destination, 'X', L"", &other));
    EXPECT_STREQ("untouched", destination);
    EXPECT_EQ((std::vector<std::wstring>{L"All Files (*.*)"}), other.filters);
}

// A path longer than 200 characters reaches the shared text buffer whole.
TEST(FileChoosers, LongPathIsCopiedWhole)
{
    std::string folder = TempFolder() + "zentil_" + std::to_string(GetCurrentProcessId());
    std::vector<std::string> created = {folder};
    CreateDirectoryA(folder.c_str(), nullptr);
    while (folder.size() < 200) {
        folder += "\\" + std::string(40, 'd');
        CreateDirectoryA(folder.c_str(), nullptr);
        created.push_back(folder);
    }
    std::string path = folder + "\\settings_file_name.dlc";
    ASSERT_GT(path.size(), 230u);
    ASSERT_LT(path.size(), (size_t)MAX_PATH);
    memset(g_textBuffer, '#', TEXT_BUFFER_SIZE);
    ChooserView view;
    EXPECT_EQ(1, RunChooser(ChooseSaveFile, g_textBuffer, FILE_KIND_SETTINGS, Wide(path), &view));
    EXPECT_STREQ(path.c_str(), g_textBuffer);
    EXPECT_EQ((int)path.size() + 1, WriteWholeFile(g_textBuffer, g_textBuffer, (int)path.size() + 1));
    DeleteFileA(path.c_str());
    for (auto it = created.rbegin(); it != created.rend(); ++it) RemoveDirectoryA(it->c_str());
}

// A chosen path passes through g_textBuffer whole: a smaller buffer would be overrun by the
// longest path the choosers return.
static_assert(sizeof(g_textBuffer) >= MAX_PATH + 1, "g_textBuffer must hold a whole chosen path");
