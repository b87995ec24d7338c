// Layout of every window of both editions: no label, check box, radio button, group box or button
// narrower than its text in the window's font, and no two visible controls overlapping unless one
// is a group box holding the other. The windows come from the window tour, so every dialog added
// to the program is checked too; the progress windows are checked as their opening ends.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/device_types.h"
#include "kit/shared_records.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/gui_driver.h"
#include "app/main_window.h"
#include "tests/program_fixture.h"
#include "tests/window_tour.h"

namespace {

// Controls whose place and size are given, and which cannot hold their text or reach a pixel past
// their group box.
struct LayoutException {
    const char* window;  // the tour's name of the window
    int controlId;
    const char* reason;
};
const LayoutException LAYOUT_EXCEPTIONS[] = {
    // Analog-output room controllers: templates 159, 161 and 163 fix every control's place and size.
    {"model-LB_DMO", 3540, "screen-saver group 88 units wide: the English caption is cut"},
    {"model-LB_DMO", 3528, "colour label ends on its group box's edge"},
    {"model-LB_DMO", 3530, "colour label ends on its group box's edge"},
    {"model-LB_RMO", 3759, "screen-saver group 88 units wide: the English caption is cut"},
    {"model-LB_RMO", 3755, "colour label one line high: the English text wraps"},
    {"model-LB_RMO", 3753, "colour label ends on its group box's edge"},
    {"model-LB_ODO", 3638, "screen-saver group 88 units wide: the English caption is cut"},
    {"model-LB_ODO", 3647, "input radio 41 units wide: the English text is cut"},
    {"model-LB_ODO", 3623, "offset label 67 units wide reaches under its neighbour"},
    {"model-LB_ODO", 3632, "colour label ends on its group box's edge"},
    {nullptr, 0, nullptr},
};

bool IsException(const std::string& window, int controlId)
{
    for (const LayoutException& e : LAYOUT_EXCEPTIONS)
        if (e.window && window == e.window && controlId == e.controlId) return true;
    return false;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

bool IsGroupBox(HWND control)
{
    return _wcsicmp(ClassOf(control).c_str(), L"Button") == 0 &&
           (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// Shown as the window's own style says, so a window still opening is judged as it will show.
bool IsShownControl(HWND control)
{
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The room a control's own drawing takes beside its text, and how its text is laid out; false
// for controls that show no text of their own.
bool TextRoom(HWND control, int* margin, UINT* format)
{
    LONG style = GetWindowLongW(control, GWL_STYLE);
    std::wstring className = ClassOf(control);
    *format = DT_CALCRECT;
    if (_wcsicmp(className.c_str(), L"Static") == 0) {
        if (style & SS_NOPREFIX) *format |= DT_NOPREFIX;
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT: *format |= DT_WORDBREAK; break;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP: *format |= DT_SINGLELINE; break;
        default: return false;  // pictures, frames and owner-drawn statics
        }
        *margin = 0;
        return true;
    }
    if (_wcsicmp(className.c_str(), L"Button") != 0) return false;
    *format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: *margin = 6; return true;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: *margin = GetSystemMetrics(SM_CXMENUCHECK) + 4; return true;
    case BS_GROUPBOX: *margin = 16; return true;
    default: return false;
    }
}

std::string Describe(HWND control)
{
    char text[160];
    snprintf(text, sizeof(text), "control %d \"%s\"", GetDlgCtrlID(control), GetTextUtf8(control).c_str());
    return text;
}

// The faults of one window, measured on the UI thread with each control's own font.
std::vector<std::string> FindLayoutFaults(const std::string& name, HWND window)
{
    std::vector<std::string> faults;
    std::vector<HWND> shown;
    HDC dc = GetDC(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsShownControl(child)) continue;
        shown.push_back(child);
        int margin = 0;
        UINT format = 0;
        std::wstring text = GetText(child);
        if (text.empty() || !TextRoom(child, &margin, &format) || IsException(name, GetDlgCtrlID(child))) continue;
        RECT client;
        GetClientRect(child, &client);
        HFONT font = (HFONT)SendMessageW(child, WM_GETFONT, 0, 0);
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        RECT needed = {0, 0, client.right - margin, 0};
        DrawTextW(dc, text.c_str(), (int)text.size(), &needed, format);
        SelectObject(dc, old);
        if (needed.right + margin > client.right || needed.bottom > client.bottom) {
            char detail[96];
            snprintf(detail, sizeof(detail), ": text needs %ld x %ld, control has %ld x %ld", needed.right + margin,
                     needed.bottom, client.right, client.bottom);
            faults.push_back(Describe(child) + detail);
        }
    }
    ReleaseDC(window, dc);
    for (size_t i = 0; i < shown.size(); i++) {
        for (size_t j = i + 1; j < shown.size(); j++) {
            RECT a, b, common;
            GetWindowRect(shown[i], &a);
            GetWindowRect(shown[j], &b);
            if (!IntersectRect(&common, &a, &b)) continue;
            RECT merged;
            if (IsGroupBox(shown[i]) && UnionRect(&merged, &a, &b) && EqualRect(&merged, &a)) continue;
            if (IsGroupBox(shown[j]) && UnionRect(&merged, &a, &b) && EqualRect(&merged, &b)) continue;
            if (IsException(name, GetDlgCtrlID(shown[i])) || IsException(name, GetDlgCtrlID(shown[j]))) continue;
            faults.push_back(Describe(shown[i]) + " overlaps " + Describe(shown[j]));
        }
    }
    return faults;
}

void ExpectCleanLayout(const std::string& name, HWND window)
{
    std::vector<std::string> faults;
    RunOnUiThread([&] { faults = FindLayoutFaults(name, window); });
    for (const std::string& fault : faults) ADD_FAILURE() << name << ": " << fault;
}

class Layout : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

// The progress windows live for one read or write; they are checked on the UI thread the moment
// their opening ends, so how long they stay does not matter. A model dialog may carry the progress
// text's id on a label of its own: a progress window has one control.
std::vector<std::string> s_progressFaults;
std::vector<std::string> s_progressSeen;
std::atomic<int> s_progressCount;

LRESULT CALLBACK CheckProgressWindow(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* message = (const CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && message->message == WM_INITDIALOG) {
        HWND window = message->hwnd;
        HWND child = GetWindow(window, GW_CHILD);
        bool single = child && !GetWindow(child, GW_HWNDNEXT);
        const char* name = nullptr;
        if (single && GetDlgCtrlID(child) == IDC_READ_PROGRESS_TEXT) name = "read-progress";
        if (single && GetDlgCtrlID(child) == IDC_WRITE_PROGRESS_TEXT) name = "write-progress";
        if (name) {
            s_progressSeen.push_back(name);
            s_progressCount++;
            for (const std::string& fault : FindLayoutFaults(name, window))
                s_progressFaults.push_back(std::string(name) + ": " + fault);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(Layout, ToolWindowsAreLaidOutCleanly)
{
    TourToolWindows(ExpectCleanLayout);
}

TEST_F(Layout, ModelDialogsOffLineAreLaidOutCleanly)
{
    TourModelDialogs(true, ExpectCleanLayout);
}

TEST_F(Layout, ProgressWindowsAreLaidOutCleanly)
{
    s_progressFaults.clear();
    s_progressSeen.clear();
    s_progressCount = 0;
    int device = SimAddDevice("TDG", "99.99.99");
    SimPutFactorySettings(device);
    RunProgram([&] {
        ASSERT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000));
        HHOOK hook = nullptr;
        RunOnUiThread([&] { hook = SetWindowsHookExW(WH_CALLWNDPROCRET, CheckProgressWindow, nullptr, GetCurrentThreadId()); });
        VisitNewDialog("model-TDG", [] { PostClick(g_configButton); }, [&](const std::string&, HWND dialog) {
            PostClick(GetDlgItem(dialog, IDC_TDG_WRITE));
            EXPECT_TRUE(WaitUntil([&] { return s_progressCount == 2 && IsWindowEnabled(dialog); }, 10000));
        });
        RunOnUiThread([&] { UnhookWindowsHookEx(hook); });
    }, 60000);
    EXPECT_EQ(s_progressSeen, (std::vector<std::string>{"read-progress", "write-progress"}));
    for (const std::string& fault : s_progressFaults) ADD_FAILURE() << fault;
}
