// Driving a model dialog from a test.
#include "tests/dialog_driver.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <mutex>

#include "kit/shared_records.h"
#include "link/hid_transport.h"
#include "resource.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

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

// The watches below run hooks on the UI thread; this lock keeps a watch alive while its hook
// uses it, since a hook may still be running when the test thread unhooks it.
std::mutex s_watchLock;

struct BoxWatch {
    HWND dialog = nullptr;
    std::vector<int> ids;
    HHOOK hook = nullptr;
    std::vector<std::vector<std::string>> seen;
};
BoxWatch* s_boxWatch = nullptr;

LRESULT CALLBACK RecordTextsAtBox(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* message = (const CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && message->message == WM_INITDIALOG && IsMessageBoxWindow(message->hwnd)) {
        std::lock_guard<std::mutex> guard(s_watchLock);
        if (s_boxWatch) {
            std::vector<std::string> texts;
            for (int id : s_boxWatch->ids) texts.push_back(ItemText(s_boxWatch->dialog, id));
            s_boxWatch->seen.push_back(texts);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct TickWatch {
    HWND window = nullptr;
    std::function<size_t()> probe;
    HHOOK hook = nullptr;
    std::vector<size_t> probes;
    int count = 0;
};
TickWatch* s_tickWatch = nullptr;

LRESULT CALLBACK RecordTick(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = (const MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_TIMER) {
        std::lock_guard<std::mutex> guard(s_watchLock);
        if (s_tickWatch && message->hwnd == s_tickWatch->window) {
            s_tickWatch->probes.push_back(s_tickWatch->probe ? s_tickWatch->probe() : 0);
            s_tickWatch->count++;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TickRecorder::TickRecorder(HWND window, std::function<size_t()> probe)
{
    TickWatch* watch = new TickWatch;
    watch->window = window;
    watch->probe = std::move(probe);
    RunOnUiThread([watch] { watch->hook = SetWindowsHookExW(WH_GETMESSAGE, RecordTick, nullptr, GetCurrentThreadId()); });
    std::lock_guard<std::mutex> guard(s_watchLock);
    s_tickWatch = watch;
}

// Unhooked from this thread: the UI thread takes no messages once a dialog run by RunDialog ended.
TickRecorder::~TickRecorder()
{
    UnhookWindowsHookEx(s_tickWatch->hook);
    std::lock_guard<std::mutex> guard(s_watchLock);
    delete s_tickWatch;
    s_tickWatch = nullptr;
}

int TickRecorder::Count()
{
    std::lock_guard<std::mutex> guard(s_watchLock);
    return s_tickWatch->count;
}

bool TickRecorder::WaitForMore(int count)
{
    int start = Count();
    return WaitUntil([&] { return Count() - start >= count; });
}

std::vector<size_t> TickRecorder::Probes()
{
    std::lock_guard<std::mutex> guard(s_watchLock);
    return s_tickWatch->probes;
}

TextsAtEachBox::TextsAtEachBox(HWND dialog, std::vector<int> ids)
{
    BoxWatch* watch = new BoxWatch;
    watch->dialog = dialog;
    watch->ids = std::move(ids);
    RunOnUiThread([watch] { watch->hook = SetWindowsHookExW(WH_CALLWNDPROCRET, RecordTextsAtBox, nullptr, GetCurrentThreadId()); });
    std::lock_guard<std::mutex> guard(s_watchLock);
    s_boxWatch = watch;
}

TextsAtEachBox::~TextsAtEachBox()
{
    UnhookWindowsHookEx(s_boxWatch->hook);
    std::lock_guard<std::mutex> guard(s_watchLock);
    delete s_boxWatch;
    s_boxWatch = nullptr;
}

std::vector<std::vector<std::string>> TextsAtEachBox::Seen()
{
    std::lock_guard<std::mutex> guard(s_watchLock);
    return s_boxWatch->seen;
}

std::string ItemText(HWND dialog, int id)
{
    return GetTextUtf8(GetDlgItem(dialog, id));
}

void Click(HWND dialog, int id)
{
    PostClick(GetDlgItem(dialog, id));
}

void ClickAndWait(HWND dialog, int id)
{
    PostClick(GetDlgItem(dialog, id));
    WaitForPostedMessages();
}

void SelectEntry(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    DWORD_PTR result;
    SendMessageTimeoutW(combo, CB_SETCURSEL, index, 0, SMTO_BLOCK, 5000, &result);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    WaitForPostedMessages();
}

HWND SelectEntryAndTakeFocus(HWND dialog, int id, int index)
{
    HWND focus = nullptr;
    RunOnUiThread([&] {
        HWND combo = GetDlgItem(dialog, id);
        SetFocus(combo);
        SendMessageW(combo, CB_SETCURSEL, index, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
        focus = GetFocus();
    });
    return focus;
}

bool IsChecked(HWND dialog, int id)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_BLOCK, 5000, &state);
    return state == BST_CHECKED;
}

int Selected(HWND dialog, int id)
{
    DWORD_PTR selected = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0, SMTO_BLOCK, 5000, &selected);
    return (int)(LRESULT)selected;
}

void DismissMessageBoxes(HWND dialog, const std::function<bool()>& settled, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    DWORD quietSince = start;
    while (GetTickCount() - start < timeoutMs) {
        bool pressed = false;
        for (HWND window : FindTopWindows(ThisProcess(), L"#32770")) {
            if (!IsMessageBoxWindow(window)) continue;
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            quietSince = GetTickCount();
            pressed = true;
            break;
        }
        if (!pressed && settled() && (!dialog || IsWindowEnabled(dialog)) && GetTickCount() - quietSince >= 500) return;
        Sleep(30);
    }
    ADD_FAILURE() << "the message boxes did not settle";
}

void ExpectLabelsFit(HWND dialog)
{
    HFONT font = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    int arrow = GetSystemMetrics(SM_CXVSCROLL) + 6;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32];
        GetClassNameW(child, className, 32);
        std::vector<std::wstring> texts;
        int margin = 0;
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(className, L"ComboBox") == 0) {
            if ((style & CBS_OWNERDRAWFIXED) && !(style & CBS_HASSTRINGS)) continue;  // pictures, no texts
            int count = (int)SendMessageW(child, CB_GETCOUNT, 0, 0);
            for (int i = 0; i < count; i++) {
                wchar_t entry[128] = L"";
                SendMessageW(child, CB_GETLBTEXT, i, (LPARAM)entry);
                texts.push_back(entry);
            }
            margin = arrow;
        } else if (_wcsicmp(className, L"Static") == 0 || _wcsicmp(className, L"Button") == 0) {
            std::wstring text = GetText(child);
            size_t start = 0;
            for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
                texts.push_back(text.substr(start, end - start));
            texts.push_back(text.substr(start));
            margin = _wcsicmp(className, L"Button") == 0 ? 12 : 0;
        }
        RECT rect;
        GetClientRect(child, &rect);
        for (const std::wstring& text : texts) {
            SIZE size;
            GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
            EXPECT_LE(size.cx + margin, rect.right) << "text does not fit: " << GetTextUtf8(child);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
}

std::string TempPath(const std::string& name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "zentil_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

bool WaitForStoredWrite(int deviceId, int storesBefore, HWND modelDialog)
{
    return WaitWhileDeviceTalks(deviceId, [&] { return CountFeatureCommands(deviceId, CMD_STORE_EEPROM, 2) > storesBefore; }) &&
           WaitUntil([&] {
               for (HWND window : FindTopWindows(ThisProcess(), L"#32770"))
                   if (window != modelDialog && GetDlgItem(window, IDC_WRITE_PROGRESS_TEXT)) return false;
               return true;
           });
}

void TypeInto(HWND dialog, int id, const char* text)
{
    SetText(GetDlgItem(dialog, id), std::wstring(text, text + strlen(text)));
}

void PostTickWithFocusOn(HWND dialog, int focusId, int typedId, const char* text)
{
    std::string typed = text ? text : "";
    PostToUiThread([=] {
        SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, focusId), TRUE);
        if (typedId) SetDlgItemTextA(dialog, typedId, typed.c_str());
        SendMessageW(dialog, WM_TIMER, TICK_TIMER_ID, 0);
    });
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

std::string ExpectedSettingsFile(const char* designation, const std::vector<std::pair<int, std::string>>& fields,
                                 const char* text16)
{
    std::string file;
    char header[17];
    snprintf(header, sizeof header, "  %-14s", designation);
    file += std::string(header, 16) + "\r" + std::string(14, ' ') + "\r";
    for (int r = 0; r < 160; r++) {
        char line[17];
        std::string value;
        for (const auto& field : fields)
            if (field.first == r) value = field.second.substr(0, 6);
        snprintf(line, sizeof line, "Reg %03d %-6s \r", r, value.c_str());
        std::string bytes(line, 16);
        if (r >= 40 && r <= 47) {
            bytes[9] = text16[2 * (r - 40)];
            bytes[11] = text16[2 * (r - 40) + 1];
        }
        file += bytes;
    }
    file += "\r" + std::string(14, ' ') + "\r";
    return file;
}
