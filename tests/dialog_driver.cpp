// Driving a model dialog from a test.
#include "tests/dialog_driver.h"

#include <gtest/gtest.h>

#include <string.h>

#include <fstream>
#include <iterator>

#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

const int FILE_NAME_COMBO_ID = 0x47C;  // cmb13 of the file dialogs; Wine gives its edit the same id

BOOL CALLBACK FindFileNameEdit(HWND window, LPARAM found)
{
    wchar_t name[32];
    GetClassNameW(window, name, 32);
    if (GetDlgCtrlID(window) == FILE_NAME_COMBO_ID && _wcsicmp(name, L"Edit") == 0) {
        *(HWND*)found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string ItemText(HWND dialog, int id)
{
    return GetTextUtf8(GetDlgItem(dialog, id));
}

void TypeInto(HWND dialog, int id, const char* text)
{
    SetText(GetDlgItem(dialog, id), std::wstring(text, text + strlen(text)));
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

void ChooseFile(HWND owner, const std::string& path)
{
    HWND chooser = nullptr;
    HWND nameEdit = nullptr;
    bool found = WaitUntil([&] {
        for (HWND window : FindTopWindows(ThisProcess(), L"#32770")) {
            if (GetWindow(window, GW_OWNER) != owner || IsMessageBoxWindow(window)) continue;
            HWND edit = nullptr;
            EnumChildWindows(window, FindFileNameEdit, (LPARAM)&edit);
            if (!edit) continue;
            chooser = window;
            nameEdit = edit;
            return true;
        }
        return false;
    });
    ASSERT_TRUE(found) << "no file dialog";
    SetText(nameEdit, std::wstring(path.begin(), path.end()));
    PostCommand(chooser, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser); })) << "the file dialog stayed open";
}
