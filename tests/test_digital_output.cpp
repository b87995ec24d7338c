// Digital output and state sequences: the PWM arithmetic of every model family without a window,
// the state combo enabler on a window of its own, and the DMG9A and DMG1T dialogs end to end.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "kit/digital_output.h"
#include "kit/state_combos.h"

namespace {

std::string Fixed6(double value)
{
    char text[64];
    snprintf(text, sizeof text, "%.6f", value);
    return text;
}

struct SettingCase {
    const char* family;
    const PwmFamily* rule;
    WORD steps;  // the steps value (number of steps minus one)
    double requested;
    int bound;
    WORD prescaler;
    const char* frequency;
    const char* period;  // null: not checked
};

const SettingCase SETTING_CASES[] = {
    {"2 MHz, 4 steps, 20000: the next divisor keeps 20000 Hz", &PWM_FAMILY_2MHZ, 3, 20000, PWM_BOUND_NONE, 33,
     "19607.843137", "0.051000"},
    {"2 MHz, 100 steps, 1000", &PWM_FAMILY_2MHZ, 99, 1000, PWM_BOUND_NONE, 19, "1010.101010", "0.990000"},
    {"2 MHz, 3 steps, 1", &PWM_FAMILY_2MHZ, 2, 1, PWM_BOUND_MINIMUM, 65534, "15.259022", nullptr},
    {"2 MHz, 3 steps, no number", &PWM_FAMILY_2MHZ, 2, 0, PWM_BOUND_MINIMUM, 65534, "15.259022", nullptr},
    {"2 MHz, 3 steps, 30000", &PWM_FAMILY_2MHZ, 2, 30000, PWM_BOUND_MAXIMUM, 49, "20000.000000", "0.050000"},
    {"8 MHz, 3 steps, 30000", &PWM_FAMILY_8MHZ, 2, 30000, PWM_BOUND_MAXIMUM, 133, "19900.497512", "0.050250"},
    {"32 MHz, 100 steps, 1000", &PWM_FAMILY_32MHZ, 99, 1000, PWM_BOUND_NONE, 319, "1000.000000", "1.000000"},
    {"32 MHz, 65536 steps, 100000", &PWM_FAMILY_32MHZ, 65535, 100000, PWM_BOUND_MAXIMUM, 0, "488.281250", "2.048000"},
    {"32 MHz, 3 steps, 20000", &PWM_FAMILY_32MHZ, 2, 20000, PWM_BOUND_NONE, 533, "19975.031211", "0.050062"},
    {"32 MHz, 3 steps, 100: the bound divides by r50", &PWM_FAMILY_32MHZ, 2, 100, PWM_BOUND_MINIMUM, 43689,
     "244.144350", "4.095937"},
    {"32 MHz, 65536 steps, 1", &PWM_FAMILY_32MHZ, 65535, 1, PWM_BOUND_NONE, 487, "1.000576", nullptr},
};

struct DisplayCase {
    const char* family;
    const PwmFamily* rule;
    WORD steps, prescaler;
    const char* frequency;
    const char* period;
};

const DisplayCase DISPLAY_CASES[] = {
    {"2 MHz", &PWM_FAMILY_2MHZ, 99, 9, "2020.202020", "0.495000"},
    {"8 MHz", &PWM_FAMILY_8MHZ, 99, 9, "8000.000000", "0.125000"},
    {"32 MHz", &PWM_FAMILY_32MHZ, 9, 99, "32000.000000", "0.031250"},
    // (r51 + 1) x T passes 2^32 here.
    {"2 MHz, largest pair", &PWM_FAMILY_2MHZ, 65535, 65535, "0.000466", "2147450.880000"},
    {"8 MHz, largest pair", &PWM_FAMILY_8MHZ, 65535, 65535, "0.001863", "536870.912000"},
};

}  // namespace

TEST(DigitalOutputRule, SetTurnsTheRequestedFrequencyIntoAPrescaler)
{
    for (const SettingCase& c : SETTING_CASES) {
        SCOPED_TRACE(c.family);
        PwmSetting setting = {};
        ASSERT_EQ(ComputePwmSetting(c.rule, c.steps, c.requested, &setting), 1);
        EXPECT_EQ(setting.bound, c.bound);
        EXPECT_EQ(setting.prescaler, c.prescaler);
        EXPECT_EQ(Fixed6(setting.frequency), c.frequency);
        if (c.period) {
            EXPECT_EQ(Fixed6(1000.0 / setting.frequency), c.period);
        }
    }
}

TEST(DigitalOutputRule, StoredPairsShowTheirFrequency)
{
    for (const DisplayCase& c : DISPLAY_CASES) {
        SCOPED_TRACE(c.family);
        double frequency = ComputePwmFrequency(c.rule, c.steps, c.prescaler);
        EXPECT_EQ(Fixed6(frequency), c.frequency);
        EXPECT_EQ(Fixed6(1000.0 / frequency), c.period);
    }
}

TEST(DigitalOutputRule, StepsFactorAndStartFrequencyPerFamily)
{
    EXPECT_EQ(GetPwmStepsFactor(&PWM_FAMILY_2MHZ, 2), 2u);
    EXPECT_EQ(GetPwmStepsFactor(&PWM_FAMILY_8MHZ, 2), 3u);
    EXPECT_EQ(GetPwmStepsFactor(&PWM_FAMILY_32MHZ, 2), 3u);
    EXPECT_EQ(ComputePwmStartFrequency(&PWM_FAMILY_2MHZ), 15u);
    EXPECT_EQ(ComputePwmStartFrequency(&PWM_FAMILY_8MHZ), 40u);
    EXPECT_EQ(ComputePwmStartFrequency(&PWM_FAMILY_32MHZ), 162u);
}

// r50 = 0 on the 2 MHz family has no steps factor: nothing is divided by it.
TEST(DigitalOutputRule, ZeroStepsFactorComputesNothing)
{
    PwmSetting setting = {7, 1.5, PWM_BOUND_NONE};
    EXPECT_EQ(ComputePwmSetting(&PWM_FAMILY_2MHZ, 0, 1000, &setting), 0);
    EXPECT_EQ(setting.prescaler, 7);
    EXPECT_EQ(ComputePwmFrequency(&PWM_FAMILY_2MHZ, 0, 9), 0.0);
    EXPECT_EQ(Fixed6(ComputePwmFrequency(&PWM_FAMILY_8MHZ, 0, 9)), "800000.000000");
}

TEST(DigitalOutputRule, FileValuesAreFiveDigitWordsOrTheFallback)
{
    char text[8];
    FormatOutputFileValue(1, text);
    EXPECT_STREQ(text, "00001");
    FormatOutputFileValue(65534, text);
    EXPECT_STREQ(text, "65534");
    const struct {
        const char* field;
        WORD value;
    } cases[] = {{"00001", 1}, {"65535", 65535}, {"", 9}, {"ab", 9}, {"65536", 9}, {"-1", 9}, {"  42", 42}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(TakeOutputFileValue(c.field, 9), c.value);
    }
}

namespace {

const int TEST_FIRST_COMBO = 500;

// A window with 16 combo boxes whose ids ascend from TEST_FIRST_COMBO by the step; each combo
// has three entries and entry 2 selected.
HWND CreateComboWindow(int step)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 600, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < STATES_PER_MODE; i++) {
        HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, i * 30, 100, 100, window,
                                     (HMENU)(INT_PTR)(TEST_FIRST_COMBO + i * step), nullptr, nullptr);
        for (const wchar_t* entry : {L"a", L"b", L"c"}) SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)entry);
        SendMessageW(combo, CB_SETCURSEL, 2, 0);
    }
    return window;
}

std::string EnabledPicture(HWND window, const StateComboIds& run)
{
    std::string picture;
    for (int id : run.ids) picture += IsWindowEnabled(GetDlgItem(window, id)) ? 'E' : '-';
    return picture;
}

}  // namespace

TEST(StateCombos, EnableTheFirstCountStatesAndKeepSelections)
{
    for (int step : {1, 2}) {
        SCOPED_TRACE(step);
        const StateComboIds run = StateComboRun(TEST_FIRST_COMBO, step);
        EXPECT_EQ(run.ids[0], TEST_FIRST_COMBO);
        EXPECT_EQ(run.ids[15], TEST_FIRST_COMBO + 15 * step);
        HWND window = CreateComboWindow(step);
        ASSERT_NE(window, nullptr);
        const struct {
            SHORT count;
            const char* picture;
        } cases[] = {
            {16, "EEEEEEEEEEEEEEEE"}, {0, "----------------"}, {1, "E---------------"}, {16, "EEEEEEEEEEEEEEEE"},
            {17, "----------------"}, {5, "EEEEE-----------"}, {-1, "----------------"}, {10, "EEEEEEEEEE------"},
            {10, "EEEEEEEEEE------"}, {4, "EEEE------------"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.count);
            EnableStateCombos(window, run.ids, c.count);
            EXPECT_EQ(EnabledPicture(window, run), c.picture);
        }
        for (int id : run.ids) EXPECT_EQ(SendDlgItemMessageW(window, id, CB_GETCURSEL, 0, 0), 2);
        DestroyWindow(window);
    }
}
