// Digital output and state sequences: the PWM arithmetic of every model family without a window,
// the state combo enabler on a window of its own, and the DMG9A and DMG1T dialogs end to end.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/edition.h"
#include "app/main_window.h"
#include "devices/sensors/sensor_dialogs.h"
#include "kit/digital_output.h"
#include "kit/shared_records.h"
#include "kit/state_combos.h"
#include "link/hid_transport.h"
#include "link/transfer_engines.h"
#include "resource.h"
#include "sim/sim_device.h"
#include "tests/dialog_driver.h"
#include "tests/gui_driver.h"
#include "tests/program_fixture.h"
#include "tests/sim_transcript.h"

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

// ---- The dialogs

namespace {

const wchar_t RANGE_TEXT[] = L"Hodnota mimo rozsah";
const wchar_t RANGE_CAPTION[] = L"Nastavená hodnota";

std::wstring SettingValueCaption()
{
    return EditionText(L"Setting value", L"Nastavená hodnota");
}

std::wstring StepsText()
{
    return EditionText(L"Number of steps is out of range", L"Hodnota počtu krokù je mimo rozsah");
}

std::wstring MaximumText()
{
    return EditionText(L"Requested frequency overflow maximal limit of range",
                       L"Hodnota frekvence větší než maximální hodnota rozsahu");
}

std::wstring MinimumText()
{
    return EditionText(L"Requested frequency overflow minimal limit of range",
                       L"Hodnota frekvence je menší než minimální hodnota rozsahu");
}

LRESULT ComboMessage(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), message, wParam, lParam, SMTO_BLOCK, 5000, &result);
    return (LRESULT)result;
}

std::string ComboEntry(HWND dialog, int id, int index)
{
    wchar_t text[128] = L"";
    DWORD_PTR result;
    SendMessageTimeoutW(GetDlgItem(dialog, id), CB_GETLBTEXT, index, (LPARAM)text, SMTO_BLOCK, 5000, &result);
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    return utf8;
}

bool IsItemEnabled(HWND dialog, int id)
{
    return IsEnabled(GetDlgItem(dialog, id));
}

void FocusOn(HWND dialog, int id)
{
    RunOnUiThread([&] { SetFocus(GetDlgItem(dialog, id)); });
}

// With the focus on a control, types into it and runs one tick of the dialog, all in one go on
// the UI thread: the tests of both editions share one display, and a window of the other program
// may take the focus at any moment between two steps made from the test thread.
void TickTypingInto(HWND dialog, int id, const char* text)
{
    RunOnUiThread([&] {
        SetFocus(GetDlgItem(dialog, id));
        SetDlgItemTextA(dialog, id, text);
        SendMessageW(dialog, WM_TIMER, TICK_TIMER_ID, 0);
    });
}

const int FIELD_OFFSET = 32 + 8;  // first register line, value field within it

// A register's value field as the file holds it, without its trailing blanks.
std::string FileField(const std::string& file, int r)
{
    std::string field = file.substr(FIELD_OFFSET + 16 * r, 6);
    return field.substr(0, field.find_last_not_of(' ') + 1);
}

std::string WithField(std::string file, int r, const std::string& value)
{
    std::string field = (value + "      ").substr(0, 6);
    file.replace(FIELD_OFFSET + 16 * r, 6, field);
    return file;
}

// "Setting Save" into a fresh file; returns its bytes.
std::string SaveSettings(HWND dialog, int saveId, const std::string& path)
{
    DeleteFileA(path.c_str());
    PostClick(GetDlgItem(dialog, saveId));
    ChooseFile(dialog, path);
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(path).size() == 2608; })) << "no settings file";
    return ReadFileBytes(path);
}

void OpenSettings(HWND dialog, int openId, const std::string& path)
{
    PostClick(GetDlgItem(dialog, openId));
    ChooseFile(dialog, path);
    WaitForPostedMessages();
}

// Write, and the wait until the device has stored the image.
void WriteAndWait(HWND dialog, int writeId, int deviceId)
{
    int storesBefore = CountFeatureCommands(deviceId, CMD_STORE_EEPROM, 2);
    PostClick(GetDlgItem(dialog, writeId));
    ASSERT_TRUE(WaitForStoredWrite(deviceId, storesBefore)) << "no complete write";
}

// A device of the model whose registers are all told apart from what the dialog writes.
int AddSeededDevice(const char* name)
{
    int id = SimAddDevice(name, "01.00.00");
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    for (int r = 0; r < SIM_REGISTER_COUNT; r++) device->registers[r] = (WORD)(FILLER_BASE + r);
    device->registers[48] = 17;
    device->registers[49] = 0x0203;
    device->registers[76] = (WORD)-15;
    device->registers[77] = 25;
    device->jumperFitted = true;
    return id;
}

// Opens the model's dialog through CONFIG once the device is connected and waits for the read.
HWND OpenThroughConfig(int readId, int addressId)
{
    EXPECT_TRUE(WaitUntil([] { return g_deviceConnected == 1; }, 10000)) << "no connection";
    PostClick(g_configButton);
    HWND dialog = WaitForDialogWithControl(ThisProcess(), readId, 10000);
    EXPECT_NE(dialog, nullptr);
    if (dialog) {
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, addressId) == "17"; }, 8000)) << "nothing read";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));
    }
    return dialog;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareTestProcess();
        SimStartServer();
        SimResetDevices();
    }
    void TearDown() override { SimResetDevices(); }
};

class DMG9ADialog : public DialogTest {};
class DMG1TDialog : public DialogTest {};

}  // namespace

// Off-line: the opening, the steps check with and without the focus, "Set" with its bounds, and
// the settings file's forms of r49, r50 and r51.
TEST_F(DMG9ADialog, StepsCheckSetAndFileForms)
{
    std::string path = TempPath("dmg9a.dlc");
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(IDD_DMG9A, DMG9ADlgProc, [&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_TEXT), "Dolvan DMG9A    ");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_ADDRESS), "1");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_BAUD), "19200Bd");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PARITY), "none");
        EXPECT_EQ(ComboEntry(dialog, IDC_DMG9A_PARITY, 0), "none");
        EXPECT_EQ(ComboEntry(dialog, IDC_DMG9A_PARITY, 1), "odd");
        EXPECT_EQ(ComboEntry(dialog, IDC_DMG9A_PARITY, 2), "even");
        EXPECT_FALSE(IsItemEnabled(dialog, IDC_DMG9A_READ));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG9A_READ)), EditionText(L"Read DMG9A", L"Načíst DMG9A"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG9A_OUTPUT_GROUP)), EditionText(L"Digital output", L"Digitální výstup"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG9A_PWM)), EditionText(L"PWM output", L"PWM výstup"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG9A_SET)), EditionText(L"Set", L"Nastavit"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG9A_FREQUENCY_LABEL)), EditionText(L"Frequency [Hz]", L"Frekvence [Hz]"));
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG9A_DUALSTATE));
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "2");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "--");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PERIOD), "--");
        for (int id : {IDC_DMG9A_STEPS, IDC_DMG9A_FREQUENCY, IDC_DMG9A_SET}) EXPECT_FALSE(IsItemEnabled(dialog, id));

        ClickAndWait(dialog, IDC_DMG9A_PWM);
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG9A_PWM));
        EXPECT_FALSE(IsChecked(dialog, IDC_DMG9A_DUALSTATE));
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "3");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "15");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PERIOD), "66.6667");
        for (int id : {IDC_DMG9A_STEPS, IDC_DMG9A_FREQUENCY, IDC_DMG9A_SET}) EXPECT_TRUE(IsItemEnabled(dialog, id));

        // Typing is left alone while the field has the focus, and checked once it leaves.
        TickTypingInto(dialog, IDC_DMG9A_STEPS, "2");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "2");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostTickWithFocusOn(dialog, IDC_DMG9A_ADDRESS);
        ExpectMessageBox(ThisProcess(), StepsText(), SettingValueCaption(), MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "3");
        const struct {
            const char* typed;
            const char* corrected;
        } outOfRange[] = {{"70000", "65536"}, {"abc", "3"}, {"", "3"}};
        for (const auto& c : outOfRange) {
            SCOPED_TRACE(c.typed);
            PostTickWithFocusOn(dialog, IDC_DMG9A_ADDRESS, IDC_DMG9A_STEPS, c.typed);
            ExpectMessageBox(ThisProcess(), StepsText(), SettingValueCaption(), MB_ICONINFORMATION);
            EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), c.corrected);
        }

        // A new count alone changes neither the prescaler nor the frequency shown.
        PostTickWithFocusOn(dialog, IDC_DMG9A_ADDRESS, IDC_DMG9A_STEPS, "100");
        WaitForPostedMessages();
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "15");
        std::string file = SaveSettings(dialog, IDC_DMG9A_SAVE, path);
        EXPECT_EQ(FileField(file, 50), "00099");
        EXPECT_EQ(FileField(file, 51), "65533");
        TypeInto(dialog, IDC_DMG9A_FREQUENCY, "1000");
        ClickAndWait(dialog, IDC_DMG9A_SET);
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "1010.101010");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PERIOD), "0.990000");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        file = SaveSettings(dialog, IDC_DMG9A_SAVE, path);
        EXPECT_EQ(FileField(file, 51), "00019");

        PostTickWithFocusOn(dialog, IDC_DMG9A_ADDRESS, IDC_DMG9A_STEPS, "3");
        WaitForPostedMessages();
        const struct {
            const char* typed;
            std::wstring box;
            const char* shown;
        } bounded[] = {
            {"30000", MaximumText(), "20000.000000"},
            {"1", MinimumText(), "15.259022"},
            {"abc", MinimumText(), "15.259022"},
            {"12,5", MinimumText(), "15.259022"},
        };
        for (const auto& c : bounded) {
            SCOPED_TRACE(c.typed);
            TypeInto(dialog, IDC_DMG9A_FREQUENCY, c.typed);
            PostClick(GetDlgItem(dialog, IDC_DMG9A_SET));
            ExpectMessageBox(ThisProcess(), c.box, SettingValueCaption(), MB_ICONINFORMATION);
            EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), c.shown);
        }

        // "Set" checks a count still being typed before it uses it (3 steps give 7042.253521 Hz,
        // the unchecked 2 would give 7017.543860). The click is posted with the focus held, and a
        // posted message comes before the next tick.
        RunOnUiThread([&] {
            SetFocus(GetDlgItem(dialog, IDC_DMG9A_STEPS));
            SetDlgItemTextA(dialog, IDC_DMG9A_STEPS, "2");
            SetDlgItemTextA(dialog, IDC_DMG9A_FREQUENCY, "7000");
            PostClick(GetDlgItem(dialog, IDC_DMG9A_SET));
        });
        ExpectMessageBox(ThisProcess(), StepsText(), SettingValueCaption(), MB_ICONINFORMATION);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG9A_FREQUENCY) == "7042.253521"; }));
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "3");
        FocusOn(dialog, IDC_DMG9A_ADDRESS);
        SelectEntry(dialog, IDC_DMG9A_PARITY, 1);
        SelectEntry(dialog, IDC_DMG9A_BAUD, 6);
        file = SaveSettings(dialog, IDC_DMG9A_SAVE, path);
        EXPECT_EQ(FileField(file, 49), "0106");
        EXPECT_EQ(FileField(file, 50), "00002");
        EXPECT_EQ(FileField(file, 51), "00141");

        ClickAndWait(dialog, IDC_DMG9A_DUALSTATE);
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "2");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "--");
        EXPECT_FALSE(IsItemEnabled(dialog, IDC_DMG9A_SET));
        file = SaveSettings(dialog, IDC_DMG9A_SAVE, path);
        EXPECT_EQ(FileField(file, 50), "00001");
        EXPECT_EQ(FileField(file, 51), "65534");

        ClickAndWait(dialog, IDC_DMG9A_PWM);
        ClickAndWait(dialog, IDC_DMG9A_DEFAULT);
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_TEXT), "DMG9A Dolvan    ");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PARITY), "none");
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG9A_DUALSTATE));
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "--");
        file = SaveSettings(dialog, IDC_DMG9A_SAVE, path);
        EXPECT_EQ(file.substr(0, 16), "  DMG9A         ");
        EXPECT_EQ(FileField(file, 48), "1");
        EXPECT_EQ(FileField(file, 49), "0004");
        EXPECT_EQ(FileField(file, 50), "00001");
        EXPECT_EQ(FileField(file, 51), "65534");
        EXPECT_EQ(FileField(file, 76), "0.0");
        EXPECT_EQ(FileField(file, 33), "");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostClick(GetDlgItem(dialog, IDC_DMG9A_CANCEL));
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
}

// Settings files with odd r49, r50 and r51 fields: each loads without harm, a field with no
// number takes its register's dual-state value, and r50 = 0 shows no frequency until the tick
// corrects the steps.
TEST_F(DMG9ADialog, OddFileFieldsLoadSoundly)
{
    std::string base = TempPath("dmg9a_base.dlc");
    std::string odd = TempPath("dmg9a_odd.dlc");
    std::string saved = TempPath("dmg9a_saved.dlc");
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(IDD_DMG9A, DMG9ADlgProc, [&](HWND dialog) {
        std::string file = SaveSettings(dialog, IDC_DMG9A_SAVE, base);
        const struct {
            const char* name;
            const char* r49;
            const char* r50;
            const char* r51;
            const char* steps;
            const char* frequency;
            const char* period;
            const char* saved49;
            const char* saved50;
            const char* saved51;
        } cases[] = {
            {"letters", "ab", "ab", "xy", "2", "--", "--", "0004", "00001", "65534"},
            {"short", "5", "99", "9", "100", "2020.202020", "0.495000", "0004", "00099", "00009"},
            {"largest pair", "0206", "65535", "65535", "65536", "0.000466", "2147450.880000", "0206", "65535", "65535"},
            {"beyond a word", "0909", "999999", "-1", "2", "--", "--", "0004", "00001", "65534"},
            {"dual-state keeps r51", "0104", "00001", "01234", "2", "--", "--", "0104", "00001", "01234"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            std::string bytes = WithField(WithField(WithField(file, 49, c.r49), 50, c.r50), 51, c.r51);
            WriteFileBytes(odd, bytes);
            OpenSettings(dialog, IDC_DMG9A_OPEN, odd);
            EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DMG9A_STEPS) == c.steps; }));
            EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), c.frequency);
            EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PERIOD), c.period);
            std::string again = SaveSettings(dialog, IDC_DMG9A_SAVE, saved);
            EXPECT_EQ(FileField(again, 49), c.saved49);
            EXPECT_EQ(FileField(again, 50), c.saved50);
            EXPECT_EQ(FileField(again, 51), c.saved51);
            EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        }

        // r50 = 0: one step and no frequency (nothing divides by the factor 0), then the tick's check.
        WriteFileBytes(odd, WithField(WithField(file, 50, "00000"), 51, "00009"));
        OpenSettings(dialog, IDC_DMG9A_OPEN, odd);
        ExpectMessageBox(ThisProcess(), StepsText(), SettingValueCaption(), MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "3");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PERIOD), "");
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG9A_PWM));
        std::string again = SaveSettings(dialog, IDC_DMG9A_SAVE, saved);
        EXPECT_EQ(FileField(again, 50), "00002");
        EXPECT_EQ(FileField(again, 51), "00009");
        PostClick(GetDlgItem(dialog, IDC_DMG9A_CANCEL));
    });
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    for (const std::string& path : {base, odd, saved}) DeleteFileA(path.c_str());
}

// Through CONFIG with the device on the wire: a dual-state pair is shown and written back with
// its own prescaler; "PWM output" writes its starting pair; register 33 stays as read. (A PWM
// pair read is shown by the DMG1T test, on the same rule.)
TEST_F(DMG9ADialog, ConfigReadsAndWritesThePair)
{
    int deviceId = AddSeededDevice("DMG9A");
    SetDeviceRegister(deviceId, 50, 1);
    SetDeviceRegister(deviceId, 51, 1234);
    RunProgram([&] {
        HWND dialog = OpenThroughConfig(IDC_DMG9A_READ, IDC_DMG9A_ADDRESS);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetTextUtf8(dialog), "DMG9A");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_PARITY), "even");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_BAUD), " 9600Bd");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_OFFSET_TEMPERATURE), "-1.5");
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG9A_DUALSTATE));
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_STEPS), "2");
        EXPECT_EQ(ItemText(dialog, IDC_DMG9A_FREQUENCY), "--");
        EXPECT_FALSE(IsItemEnabled(dialog, IDC_DMG9A_STEPS));
        EXPECT_FALSE(IsItemEnabled(dialog, IDC_DMG9A_SET));

        WriteAndWait(dialog, IDC_DMG9A_WRITE, deviceId);
        EXPECT_EQ(DeviceRegister(deviceId, 50), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 51), 1234);
        EXPECT_EQ(DeviceRegister(deviceId, 49), 0x0203);
        EXPECT_EQ(DeviceRegister(deviceId, 33), FILLER_BASE + 33);
        EXPECT_EQ(DeviceRegister(deviceId, 52), FILLER_BASE + 52);

        ClickAndWait(dialog, IDC_DMG9A_PWM);
        TypeInto(dialog, IDC_DMG9A_FREQUENCY, "500");  // typed without "Set": not taken
        WriteAndWait(dialog, IDC_DMG9A_WRITE, deviceId);
        EXPECT_EQ(DeviceRegister(deviceId, 50), 2);
        EXPECT_EQ(DeviceRegister(deviceId, 51), 65533);
        PostClick(GetDlgItem(dialog, IDC_DMG9A_CANCEL));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 40000);
}

namespace {

int StateCombo(int state)
{
    return IDC_DMG1T_STATE_1 + state - 1;
}

// 'E' for each enabled state combo, '-' for each disabled one, state 1 first.
std::string StatePicture(HWND dialog)
{
    std::string picture;
    for (int state = 1; state <= STATES_PER_MODE; state++) picture += IsItemEnabled(dialog, StateCombo(state)) ? 'E' : '-';
    return picture;
}

}  // namespace

// Off-line: the lists, the connection radios and the number of states enabling the state combos,
// the pattern pick moving the focus, the limits' bounds, and the file forms of r84, r85, r92-r107.
TEST_F(DMG1TDialog, StatesLimitsAndFileForms)
{
    std::string path = TempPath("dmg1t.dlc");
    std::string odd = TempPath("dmg1t_odd.dlc");
    g_deviceConnected = 0;
    INT_PTR result = RunDialog(IDD_DMG1T, DMG1TDlgProc, [&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_TEXT), "Dolvan DMG1T    ");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_LOW_LIMIT), "-5.0");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_HIGH_LIMIT), "5.0");
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG1T_SWITCH_GROUP)), EditionText(L"Switch 1", L"Tlačítko 1"));
        EXPECT_EQ(GetText(GetDlgItem(dialog, IDC_DMG1T_STATE_LABEL_16)), EditionText(L"State 16", L"Stav 16"));
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG1T_CONNECTION_NO));
        EXPECT_EQ(ComboMessage(dialog, IDC_DMG1T_STATE_COUNT, CB_GETCOUNT), 17);
        EXPECT_EQ(ComboEntry(dialog, IDC_DMG1T_STATE_COUNT, 0), " 0");
        EXPECT_EQ(ComboEntry(dialog, IDC_DMG1T_STATE_COUNT, 9), " 9");
        EXPECT_EQ(ComboEntry(dialog, IDC_DMG1T_STATE_COUNT, 16), "16");
        EXPECT_FALSE(IsItemEnabled(dialog, IDC_DMG1T_STATE_COUNT));
        std::string light = EditionText(L"LED1 light, LED2 light", L"LED1 svítí, LED2 svítí") == L"LED1 light, LED2 light"
                                ? "LED1 light, LED2 light"
                                : "LED1 svítí, LED2 svítí";
        for (int state = 1; state <= STATES_PER_MODE; state++) {
            SCOPED_TRACE(state);
            EXPECT_EQ(ComboMessage(dialog, StateCombo(state), CB_GETCOUNT), 13);
            EXPECT_EQ(ComboEntry(dialog, StateCombo(state), 3), light);
            EXPECT_EQ(ComboMessage(dialog, StateCombo(state), CB_GETCURSEL), 0);
        }
        EXPECT_EQ(StatePicture(dialog), "----------------");

        // While the high limit is being typed the low one waits for it.
        TypeInto(dialog, IDC_DMG1T_LOW_LIMIT, "3.0");
        TickTypingInto(dialog, IDC_DMG1T_HIGH_LIMIT, "1.0");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_LOW_LIMIT), "3.0");
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));
        PostTickWithFocusOn(dialog, IDC_DMG1T_ADDRESS);
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_LOW_LIMIT), "0.9");

        ClickAndWait(dialog, IDC_DMG1T_CONNECTION_YES);
        EXPECT_TRUE(IsItemEnabled(dialog, IDC_DMG1T_STATE_COUNT));
        EXPECT_EQ(StatePicture(dialog), "----------------");
        SelectEntry(dialog, IDC_DMG1T_STATE_COUNT, 3);
        EXPECT_EQ(StatePicture(dialog), "EEE-------------");
        SelectEntry(dialog, IDC_DMG1T_STATE_COUNT, 16);
        EXPECT_EQ(StatePicture(dialog), "EEEEEEEEEEEEEEEE");
        SelectEntry(dialog, IDC_DMG1T_STATE_COUNT, 5);
        EXPECT_EQ(StatePicture(dialog), "EEEEE-----------");
        for (int state = 1; state <= 5; state++) {
            HWND focus = SelectEntryAndTakeFocus(dialog, StateCombo(state), state + 1);
            EXPECT_EQ(focus, GetDlgItem(dialog, IDC_DMG1T_STATE_COUNT_LABEL));
        }
        std::string file = SaveSettings(dialog, IDC_DMG1T_SAVE, path);
        EXPECT_EQ(FileField(file, 84), "1");
        EXPECT_EQ(FileField(file, 85), "05");
        EXPECT_EQ(FileField(file, 92), "02");
        EXPECT_EQ(FileField(file, 96), "06");
        EXPECT_EQ(FileField(file, 97), "00");
        EXPECT_EQ(FileField(file, 107), "00");

        // "No": no states, patterns kept.
        ClickAndWait(dialog, IDC_DMG1T_CONNECTION_NO);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_STATE_COUNT), " 0");
        EXPECT_FALSE(IsItemEnabled(dialog, IDC_DMG1T_STATE_COUNT));
        EXPECT_EQ(StatePicture(dialog), "----------------");
        EXPECT_EQ(ComboMessage(dialog, StateCombo(1), CB_GETCURSEL), 2);

        // The limits: the high one's own range, the low one below the high one.
        TypeInto(dialog, IDC_DMG1T_HIGH_LIMIT, "300.0");
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_HIGH_LIMIT), "200.0");
        TypeInto(dialog, IDC_DMG1T_HIGH_LIMIT, "5.0");
        PostTickWithFocusOn(dialog, IDC_DMG1T_ADDRESS, IDC_DMG1T_LOW_LIMIT, "10.0");
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_LOW_LIMIT), "4.9");
        // The high limit at its lowest leaves the low one a single value: one correction, one box.
        PostTickWithFocusOn(dialog, IDC_DMG1T_ADDRESS, IDC_DMG1T_HIGH_LIMIT, "-20.0");
        ExpectMessageBox(ThisProcess(), RANGE_TEXT, RANGE_CAPTION, MB_ICONINFORMATION);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_LOW_LIMIT), "-20.0");
        EXPECT_TRUE(TickRecorder(dialog).WaitForMore(5)) << "the dialog does not tick";
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));

        file = SaveSettings(dialog, IDC_DMG1T_SAVE, path);
        EXPECT_EQ(file.substr(0, 16), "  DMG1T         ");
        EXPECT_EQ(FileField(file, 84), "0");
        EXPECT_EQ(FileField(file, 85), "00");
        EXPECT_EQ(FileField(file, 92), "02");
        EXPECT_EQ(FileField(file, 96), "06");
        EXPECT_EQ(FileField(file, 52), "-20.0");
        EXPECT_EQ(FileField(file, 53), "-20.0");
        EXPECT_EQ(FileField(file, 49), "0004");
        EXPECT_EQ(FileField(file, 50), "00001");
        EXPECT_EQ(FileField(file, 51), "65534");

        // Files: a count beyond 16 selects no count and disables every state; fields with no number
        // give 0; a count of 3 with the switch connected comes back as it was saved.
        const struct {
            const char* name;
            const char* r84;
            const char* r85;
            const char* r92;
            bool yes;
            int countEntry;
            const char* picture;
            int firstEntry;
        } cases[] = {
            {"17 states", "1", "17", "12", true, -1, "----------------", 12},
            {"letters", "x", "ab", "??", false, 0, "----------------", 0},
            {"3 states", "1", "03", "04", true, 3, "EEE-------------", 4},
            {"not connected, 5 states", "0", "05", "13", false, 5, "EEEEE-----------", -1},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            WriteFileBytes(odd, WithField(WithField(WithField(file, 84, c.r84), 85, c.r85), 92, c.r92));
            OpenSettings(dialog, IDC_DMG1T_OPEN, odd);
            EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, IDC_DMG1T_CONNECTION_YES) == c.yes; }));
            EXPECT_EQ(IsItemEnabled(dialog, IDC_DMG1T_STATE_COUNT), c.yes);
            EXPECT_TRUE(WaitUntil([&] { return ComboMessage(dialog, IDC_DMG1T_STATE_COUNT, CB_GETCURSEL) == c.countEntry; }));
            EXPECT_EQ(StatePicture(dialog), c.picture);
            EXPECT_EQ(ComboMessage(dialog, StateCombo(1), CB_GETCURSEL), c.firstEntry);
            std::string again = SaveSettings(dialog, IDC_DMG1T_SAVE, path);
            EXPECT_EQ(FileField(again, 84), c.yes ? "1" : "0");
            EXPECT_EQ(FileField(again, 85), strcmp(c.r85, "ab") == 0 ? "00" : c.r85);
            EXPECT_EQ(FileField(again, 92), strcmp(c.r92, "??") == 0 ? "00" : c.r92);
        }
        EXPECT_TRUE(NoMessageBoxOpen(ThisProcess()));

        ClickAndWait(dialog, IDC_DMG1T_DEFAULT);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_TEXT), "DMG1T Dolvan    ");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_LOW_LIMIT), "-5.0");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_HIGH_LIMIT), "5.0");
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG1T_CONNECTION_NO));
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_STATE_COUNT), " 0");
        EXPECT_EQ(StatePicture(dialog), "----------------");
        EXPECT_EQ(ComboMessage(dialog, StateCombo(1), CB_GETCURSEL), 0);
        EXPECT_EQ(ComboMessage(dialog, StateCombo(2), CB_GETCURSEL), 0);
        PostClick(GetDlgItem(dialog, IDC_DMG1T_CANCEL));
    }, nullptr, 40000);
    EXPECT_EQ(result, DEVICE_DIALOG_RESULT);
    DeleteFileA(path.c_str());
    DeleteFileA(odd.c_str());
}

// Through CONFIG with the device on the wire: a Read with the switch not connected yet five
// states, a pattern beyond the list kept whole, the connection written as 0 or 1, "No" clearing
// the count but not the patterns, a file's count of 17 written unchanged, and Default's values.
TEST_F(DMG1TDialog, ConfigReadsAndWritesTheStates)
{
    std::string path = TempPath("dmg1t_device.dlc");
    int deviceId = AddSeededDevice("DMG1T");
    SetDeviceRegister(deviceId, 84, 0);
    SetDeviceRegister(deviceId, 85, 5);
    for (int state = 1; state <= STATES_PER_MODE; state++) SetDeviceRegister(deviceId, 91 + state, (WORD)(state % 13));
    SetDeviceRegister(deviceId, 92, 123);
    SetDeviceRegister(deviceId, 52, (WORD)-30);
    SetDeviceRegister(deviceId, 53, 70);
    SetDeviceRegister(deviceId, 50, 99);
    SetDeviceRegister(deviceId, 51, 9);
    RunProgram([&] {
        HWND dialog = OpenThroughConfig(IDC_DMG1T_READ, IDC_DMG1T_ADDRESS);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(IsChecked(dialog, IDC_DMG1T_CONNECTION_NO));
        EXPECT_FALSE(IsItemEnabled(dialog, IDC_DMG1T_STATE_COUNT));
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_STATE_COUNT), " 5");
        EXPECT_EQ(StatePicture(dialog), "EEEEE-----------");
        EXPECT_EQ(ComboMessage(dialog, StateCombo(1), CB_GETCURSEL), -1);
        EXPECT_EQ(ComboMessage(dialog, StateCombo(2), CB_GETCURSEL), 2);
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_LOW_LIMIT), "-3.0");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_HIGH_LIMIT), "7.0");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_STEPS), "100");
        EXPECT_EQ(ItemText(dialog, IDC_DMG1T_FREQUENCY), "2020.202020");
        std::string file = SaveSettings(dialog, IDC_DMG1T_SAVE, path);
        EXPECT_EQ(FileField(file, 85), "05");
        EXPECT_EQ(FileField(file, 92), "123");
        EXPECT_EQ(FileField(file, 93), "02");
        EXPECT_EQ(FileField(file, 50), "00099");
        EXPECT_EQ(FileField(file, 51), "00009");

        SetDeviceRegister(deviceId, 84, 5);
        PostClick(GetDlgItem(dialog, IDC_DMG1T_READ));
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, IDC_DMG1T_CONNECTION_YES); }, 8000));
        EXPECT_TRUE(IsItemEnabled(dialog, IDC_DMG1T_STATE_COUNT));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));
        WriteAndWait(dialog, IDC_DMG1T_WRITE, deviceId);
        EXPECT_EQ(DeviceRegister(deviceId, 84), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 85), 5);
        EXPECT_EQ(DeviceRegister(deviceId, 92), 123);
        EXPECT_EQ(DeviceRegister(deviceId, 107), 16 % 13);
        EXPECT_EQ(DeviceRegister(deviceId, 52), (WORD)-30);
        EXPECT_EQ(DeviceRegister(deviceId, 53), 70);
        EXPECT_EQ(DeviceRegister(deviceId, 50), 99);
        EXPECT_EQ(DeviceRegister(deviceId, 51), 9);
        EXPECT_EQ(DeviceRegister(deviceId, 33), FILLER_BASE + 33);
        EXPECT_EQ(DeviceRegister(deviceId, 86), FILLER_BASE + 86);

        ClickAndWait(dialog, IDC_DMG1T_CONNECTION_NO);
        WriteAndWait(dialog, IDC_DMG1T_WRITE, deviceId);
        EXPECT_EQ(DeviceRegister(deviceId, 84), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 85), 0);
        for (int state = 2; state <= 5; state++) EXPECT_EQ(DeviceRegister(deviceId, 91 + state), state % 13);

        WriteFileBytes(path, WithField(file, 85, "17"));
        OpenSettings(dialog, IDC_DMG1T_OPEN, path);
        EXPECT_TRUE(WaitUntil([&] { return ComboMessage(dialog, IDC_DMG1T_STATE_COUNT, CB_GETCURSEL) == -1; }));
        EXPECT_EQ(StatePicture(dialog), "----------------");
        WriteAndWait(dialog, IDC_DMG1T_WRITE, deviceId);
        EXPECT_EQ(DeviceRegister(deviceId, 85), 17);

        ClickAndWait(dialog, IDC_DMG1T_DEFAULT);
        WriteAndWait(dialog, IDC_DMG1T_WRITE, deviceId);
        EXPECT_EQ(DeviceRegister(deviceId, 52), 0xFFCE);
        EXPECT_EQ(DeviceRegister(deviceId, 53), 50);
        EXPECT_EQ(DeviceRegister(deviceId, 84), 0);
        EXPECT_EQ(DeviceRegister(deviceId, 85), 0);
        for (int r = 92; r <= 107; r++) EXPECT_EQ(DeviceRegister(deviceId, r), 0) << "register " << r;
        EXPECT_EQ(DeviceRegister(deviceId, 50), 1);
        EXPECT_EQ(DeviceRegister(deviceId, 51), 65534);
        EXPECT_EQ(DeviceRegister(deviceId, 49), 4);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));
        PostClick(GetDlgItem(dialog, IDC_DMG1T_CANCEL));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }, 60000);
    DeleteFileA(path.c_str());
}
