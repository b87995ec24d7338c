// Bounded edit fields: a real dialog whose 20 ms tick runs a check on one edit control.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "app/main_window.h"
#include "kit/fixed_point.h"
#include "resource.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"

namespace {

enum CheckKind { TENTHS, SIGNED, UNSIGNED, THOUSANDTHS };

struct CheckCase {
    CheckKind kind;
    const wchar_t* entry;
    int high, low;
    const wchar_t* shown;  // the field after the check; nullptr: left as typed, no box
};

// The edit control the checks work on (any edit of a core template will do).
const int FIELD_ID = IDC_DEVICE_HID_ID_VENDOR;
std::atomic<int> s_activeCase(-1);
const CheckCase* s_cases = nullptr;

void RunCheck(HWND dialog, const CheckCase& c)
{
    switch (c.kind) {
    case TENTHS: ValidateTenthsField(dialog, FIELD_ID, (SHORT)c.high, (SHORT)c.low); break;
    case SIGNED: ValidateSignedField(dialog, FIELD_ID, (SHORT)c.high, (SHORT)c.low); break;
    case UNSIGNED: ValidateUnsignedField(dialog, FIELD_ID, (WORD)c.high, (WORD)c.low); break;
    case THOUSANDTHS: ValidateThousandthsField(dialog, FIELD_ID, (WORD)c.high, (WORD)c.low); break;
    }
}

// A model dialog's tick in miniature: each tick checks the field against the active case.
INT_PTR CALLBACK CheckingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) SetTimer(dialog, TICK_TIMER_ID, 20, nullptr);
    if (message == WM_TIMER && wParam == TICK_TIMER_ID && s_activeCase >= 0) RunCheck(dialog, s_cases[s_activeCase]);
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        KillTimer(dialog, TICK_TIMER_ID);
        EndDialog(dialog, IDCANCEL);
    }
    return 0;
}

int CountMessageBoxes()
{
    int boxes = 0;
    for (HWND window : FindTopWindows(ThisProcess(), L"#32770")) boxes += IsMessageBoxWindow(window) ? 1 : 0;
    return boxes;
}

}  // namespace

TEST(FieldChecks, OutOfRangeEntriesTakeTheBoundAndShowOneBox)
{
    static const CheckCase CASES[] = {
        {TENTHS, L"25", 200, -200, L"20.0"},
        {TENTHS, L"-25", 200, -200, L"-20.0"},
        {TENTHS, L"5000", 200, -200, L"20.0"},
        {TENTHS, L"2,5", 200, -200, nullptr},
        {TENTHS, L"2.36", 23, 0, nullptr},           // single precision: 23 tenths
        {TENTHS, L"2.37", 23, 0, L"2.3"},            // 24 tenths
        {TENTHS, L"999999999", 200, -200, L"20.0"},  // far above: the high bound, never the low one
        {TENTHS, L"1e30", 200, -200, L"20.0"},
        {TENTHS, L"-1e30", 200, -200, L"-20.0"},
        {TENTHS, L"nan", 200, 5, L"0.5"},            // no number: 0
        {TENTHS, L"0000000001", 200, 5, L"0.5"},     // judged by its first 9 characters
        {SIGNED, L"-", 100, 5, nullptr},
        {SIGNED, L"-150", 100, -100, L"-100"},
        {SIGNED, L"12.5", 100, -100, nullptr},
        {SIGNED, L"", 100, 5, L"5"},
        {SIGNED, L"--5", 100, 5, L"5"},
        {SIGNED, L"999999999", 100, -100, L"100"},
        {UNSIGNED, L"300", 254, 1, L"254"},
        {UNSIGNED, L"0", 254, 1, L"1"},
        {UNSIGNED, L"-5", 254, 1, L"1"},             // a negative entry lies below every bound
        {UNSIGNED, L"abc", 254, 1, L"1"},
        {UNSIGNED, L"70000", 65535, 0, L"65535"},
        {THOUSANDTHS, L"0.5", 65000, 1000, L"1.000"},
        {THOUSANDTHS, L"123.4", 65000, 1000, L"65.000"},
        {THOUSANDTHS, L"70", 65000, 1000, L"65.000"},
        {THOUSANDTHS, L"12.3456", 65000, 1000, nullptr},
        {THOUSANDTHS, L"12,345", 65000, 1000, nullptr},
        {THOUSANDTHS, L"1e30", 65000, 1000, L"65.000"},
        {THOUSANDTHS, L"999999999", 65000, 1000, L"65.000"},
    };
    s_cases = CASES;
    s_activeCase = -1;
    INT_PTR result = RunDialog(IDD_DEVICE_HID_ID, CheckingDlgProc, [&](HWND dialog) {
        HWND field = GetDlgItem(dialog, FIELD_ID);
        for (size_t i = 0; i < sizeof(CASES) / sizeof(CASES[0]); i++) {
            const CheckCase& c = CASES[i];
            SCOPED_TRACE(testing::Message() << "case " << i);
            s_activeCase = -1;
            SetText(field, c.entry);
            s_activeCase = (int)i;
            if (!c.shown) {
                Sleep(100);  // five ticks
                EXPECT_EQ(std::wstring(c.entry), GetText(field));
                EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
                continue;
            }
            MessageBoxRecord box;
            ASSERT_TRUE(WaitForMessageBox(ThisProcess(), &box));
            // The field was rewritten before the box opened: the ticks under the box open no other.
            EXPECT_EQ(std::wstring(c.shown), GetText(field));
            EXPECT_EQ(L"Hodnota mimo rozsah", box.text);
            EXPECT_EQ(L"Nastavená hodnota", box.caption);
            EXPECT_EQ((UINT)MB_ICONINFORMATION, box.icon);
            EXPECT_EQ(dialog, box.owner);
            Sleep(100);
            EXPECT_EQ(1, CountMessageBoxes());
            s_activeCase = -1;
            AnswerMessageBox(box);
        }
        PostCommand(dialog, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
}
