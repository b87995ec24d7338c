// GUI driver for tests: windows found by process, texts read with timeouts, clicks posted.
#include "tests/gui_driver.h"

#include <gtest/gtest.h>

#include <set>

#include "app/edition.h"

static const DWORD SEND_TIMEOUT_MS = 5000;
// The static that holds a message box's text (Windows and Wine).
static const int MESSAGE_BOX_TEXT_ID = 0xFFFF;

static volatile LONG s_lastProgress = 0;

void NoteDriverProgress()
{
    InterlockedExchange(&s_lastProgress, static_cast<LONG>(GetTickCount()));
}

DWORD LastDriverProgress()
{
    return static_cast<DWORD>(InterlockedCompareExchange(&s_lastProgress, 0, 0));
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            NoteDriverProgress();
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(5);
    }
}

struct EnumContext {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    std::vector<HWND>* found;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    EnumContext* context = (EnumContext*)parameter;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != context->processId || !IsWindowVisible(window)) return TRUE;
    if (context->className) {
        wchar_t name[64];
        GetClassNameW(window, name, 64);
        if (wcscmp(name, context->className) != 0) return TRUE;
    }
    if (context->caption && GetText(window) != context->caption) return TRUE;
    context->found->push_back(window);
    return TRUE;
}

std::vector<HWND> FindTopWindows(DWORD processId, const wchar_t* className, const wchar_t* caption)
{
    std::vector<HWND> found;
    EnumContext context = {processId, className, caption, &found};
    EnumWindows(CollectWindow, (LPARAM)&context);
    return found;
}

HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    HWND window = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> found = FindTopWindows(processId, className, caption);
            if (found.empty()) return false;
            window = found.front();
            return true;
        },
        timeoutMs);
    return window;
}

HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD timeoutMs)
{
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : FindTopWindows(processId, L"#32770")) {
                if (!IsMessageBoxWindow(window) && GetDlgItem(window, controlId)) {
                    dialog = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return dialog;
}

std::wstring GetText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, SEND_TIMEOUT_MS, &length)) return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, (LPARAM)&text[0], SMTO_BLOCK, SEND_TIMEOUT_MS, &copied);
    text.resize(copied);
    return text;
}

std::string GetTextUtf8(HWND window)
{
    std::wstring wide = GetText(window);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string text(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), &text[0], bytes, nullptr, nullptr);
    return text;
}

void SetText(HWND window, const std::wstring& text)
{
    DWORD_PTR result;
    SendMessageTimeoutW(window, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_BLOCK, SEND_TIMEOUT_MS, &result);
}

bool IsEnabled(HWND window)
{
    return IsWindowEnabled(window) != FALSE;
}

bool IsShown(HWND window)
{
    return IsWindowVisible(window) != FALSE;
}

void PostClick(HWND button)
{
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
}

void PostCommand(HWND window, int commandId)
{
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

bool IsMessageBoxWindow(HWND window)
{
    wchar_t name[16];
    GetClassNameW(window, name, 16);
    return wcscmp(name, L"#32770") == 0 && GetDlgItem(window, MESSAGE_BOX_TEXT_ID) != nullptr;
}

// Tells the icon of a box of this process from the shared system icon it shows.
static UINT IconOfMessageBox(HWND box)
{
    static const struct {
        LPCWSTR resource;
        UINT icon;
    } ICONS[] = {
        {MAKEINTRESOURCEW(32516), MB_ICONINFORMATION},  // IDI_ASTERISK
        {MAKEINTRESOURCEW(32513), MB_ICONERROR},        // IDI_HAND
        {MAKEINTRESOURCEW(32515), MB_ICONWARNING},      // IDI_EXCLAMATION
        {MAKEINTRESOURCEW(32514), MB_ICONQUESTION},     // IDI_QUESTION
    };
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16];
        GetClassNameW(child, name, 16);
        if (wcscmp(name, L"Static") != 0 || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        DWORD_PTR shown = 0;
        SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_BLOCK, SEND_TIMEOUT_MS, &shown);
        for (const auto& entry : ICONS)
            if ((HICON)shown == LoadIconW(nullptr, entry.resource)) return entry.icon;
    }
    return 0;
}

static std::set<HWND> s_answeredBoxes;

bool WaitForMessageBox(DWORD processId, MessageBoxRecord* box, DWORD timeoutMs)
{
    return WaitUntil(
        [&] {
            for (HWND window : FindTopWindows(processId, L"#32770")) {
                if (!IsMessageBoxWindow(window) || s_answeredBoxes.count(window)) continue;
                box->window = window;
                box->owner = GetWindow(window, GW_OWNER);
                box->caption = GetText(window);
                box->text = GetText(GetDlgItem(window, MESSAGE_BOX_TEXT_ID));
                box->icon = IconOfMessageBox(window);
                return true;
            }
            return false;
        },
        timeoutMs);
}

void AnswerMessageBox(const MessageBoxRecord& box, int buttonId)
{
    s_answeredBoxes.insert(box.window);
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), (LPARAM)GetDlgItem(box.window, buttonId));
    WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
    s_answeredBoxes.erase(box.window);
}

void ExpectMessageBox(DWORD processId, const std::wstring& text, const std::wstring& caption, UINT icon, DWORD timeoutMs)
{
    MessageBoxRecord box;
    if (!WaitForMessageBox(processId, &box, timeoutMs)) {
        ADD_FAILURE() << "no message box appeared; expected \"" << std::string(text.begin(), text.end()) << "\"";
        return;
    }
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, caption);
    if (icon) {
        EXPECT_EQ(box.icon, icon);
    }
    AnswerMessageBox(box);
}

bool NoMessageBoxOpen(DWORD processId)
{
    for (HWND window : FindTopWindows(processId, L"#32770"))
        if (IsMessageBoxWindow(window) && !s_answeredBoxes.count(window)) return false;
    return true;
}

std::wstring EditionText(const wchar_t* english, const wchar_t* czech)
{
    return EDITION_IS_CZECH ? czech : english;
}
