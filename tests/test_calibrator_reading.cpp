// The texts of calibration-device readings and of the live values, as tables of cases.
#include <gtest/gtest.h>

#include <string.h>

#include "tools/calibrator.h"
#include "tools/live_data.h"

namespace {

struct ReadingCase {
    DWORD value;
    BYTE unit;
    const char* text;
};

// A blank before a single units digit, four decimals, and the whole integer part from 1,000,000 on.
const ReadingCase READING_CASES[] = {
    {0, CALIBRATOR_UNIT_VOLTAGE, " 0.0000 V"},
    {9999, CALIBRATOR_UNIT_VOLTAGE, " 0.9999 V"},
    {10000, CALIBRATOR_UNIT_VOLTAGE, " 1.0000 V"},
    {99990, CALIBRATOR_UNIT_VOLTAGE, " 9.9990 V"},
    {100000, CALIBRATOR_UNIT_VOLTAGE, "10.0000 V"},
    {20000, CALIBRATOR_UNIT_CURRENT, " 2.0000 mA"},
    {200000, CALIBRATOR_UNIT_CURRENT, "20.0000 mA"},
    {999999, CALIBRATOR_UNIT_VOLTAGE, "99.9999 V"},
    {1000000, CALIBRATOR_UNIT_VOLTAGE, "100.0000 V"},
    {1234567, CALIBRATOR_UNIT_VOLTAGE, "123.4567 V"},
    {0xFFFFFF, CALIBRATOR_UNIT_CURRENT, "1677.7215 mA"},
};

TEST(CalibratorReadingText, FollowsTheReadingTable)
{
    for (const ReadingCase& c : READING_CASES) {
        SCOPED_TRACE(c.value);
        char text[CALIBRATOR_READING_TEXT_SIZE];
        memset(text, 'x', sizeof(text));
        FormatCalibratorReading(c.value, c.unit, text);
        EXPECT_STREQ(c.text, text);
    }
}

TEST(CalibratorReadingText, TakesTheValueFromBytes5To7Only)
{
    BYTE report[64];
    memset(report, 0xEE, sizeof(report));
    report[5] = 0x40;
    report[6] = 0x0D;
    report[7] = 0x03;  // 200,000
    EXPECT_EQ(200000u, GetCalibratorReadingValue(report));
}

struct LiveValueCase {
    BYTE kind;
    WORD word;
    WORD nextWord;
    const wchar_t* text;
};

// The edge cases of each scaling; the register under test is r2 and r3 follows it.
const LiveValueCase LIVE_VALUE_CASES[] = {
    {LIVE_VALUE_TEMPERATURE, 235, 0, L" 23,5  \u00B0C"},
    {LIVE_VALUE_TEMPERATURE, 0, 0, L" 0,0  \u00B0C"},
    {LIVE_VALUE_TEMPERATURE, (WORD)-5, 0, L"- 0,5  \u00B0C"},
    {LIVE_VALUE_TEMPERATURE, 0x8000, 0, L"- 3276,8  \u00B0C"},
    {LIVE_VALUE_HUMIDITY, 1000, 0, L" 100,0  %RH"},
    {LIVE_VALUE_HUMIDITY, 0xFFFF, 0, L" 6553,5  %RH"},
    {LIVE_VALUE_FREQUENCY, 0x86A0, 0x7701, L" 10000,0  Hz"},
    {LIVE_VALUE_FREQUENCY, 0xFFFF, 0x00FF, L" 1677721,5  Hz"},
    {LIVE_VALUE_AIR_SPEED, (WORD)-5, 0, L" -0,05  m/s"},
    {LIVE_VALUE_AIR_SPEED, 125, 0, L" 1,25  m/s"},
    {LIVE_VALUE_AIR_SPEED, (WORD)-125, 0, L" -1,25  m/s"},
    {LIVE_VALUE_LIGHT, 65535, 0, L" 65535 lx"},
    {LIVE_VALUE_CO2, 450, 0, L" 450  ppm"},
    {LIVE_VALUE_CO2, (WORD)-1, 0, L" -1  ppm"},
    {LIVE_VALUE_CURRENT, (WORD)-20, 0, L" -20  mA"},
    {LIVE_VALUE_TVOC, 1200, 0, L" 1200  ppb"},
    {LIVE_VALUE_PARTICLES, 125, 0, L" 12,5  ug/m3"},
    {LIVE_VALUE_PARTICLE_SIZE, 7, 0, L" 0,7  um"},
    {LIVE_VALUE_POTENTIOMETER, (WORD)-5, 0, L" -0,5 "},
    {LIVE_VALUE_POTENTIOMETER, (WORD)-15, 0, L" -1,5 "},
    {LIVE_VALUE_POTENTIOMETER, (WORD)-10, 0, L" -1,0 "},
    {LIVE_VALUE_POTENTIOMETER, 15, 0, L" 1,5 "},
    {LIVE_VALUE_POTENTIOMETER, 0, 0, L" 0,0 "},
};

TEST(LiveValueText, FollowsTheScalingOfEachKind)
{
    for (const LiveValueCase& c : LIVE_VALUE_CASES) {
        SCOPED_TRACE(testing::Message() << "kind " << (int)c.kind << " word " << c.word);
        BYTE report[64] = {};
        report[5] = (BYTE)(c.word >> 8);
        report[6] = (BYTE)c.word;
        report[7] = (BYTE)(c.nextWord >> 8);
        report[8] = (BYTE)c.nextWord;
        WCHAR text[LIVE_VALUE_TEXT_CHARS];
        FormatLiveValue(c.kind, report, 2, text);
        EXPECT_STREQ(c.text, text);
    }
}

}  // namespace
