// Fixed-point text conversions: tables of entries and the texts and values they give.
#include <gtest/gtest.h>

#include <string.h>

#include "kit/fixed_point.h"

struct ParseCase {
    const char* text;
    int expected;
};

// Single precision is part of the result: 2.36 x 100 is just below 236, 2.37 x 100 is not.
TEST(FixedPointParse, TenthsRoundPositiveOnHundredthsAboveFiveAndCutNegatives)
{
    static const ParseCase CASES[] = {
        {"12,3", 123}, {"2.36", 23}, {"2.37", 24}, {"2.35", 23}, {"1.56", 16}, {"-2.37", -23},
        {"0.06", 1},   {"", 0},      {",5", 0},    {"-1,5", -15}, {"20", 200},  {"abc", 0},
        // 2.1 x 100 rounds to just below 210 in single precision, so its hundredths digit reads 9.
        {"2.1", 22},
    };
    for (const ParseCase& c : CASES) {
        char text[32];
        strcpy(text, c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, ParseTenths(text));
    }
}

TEST(FixedPointParse, TenthsReplaceCommasAfterTheFirstCharacterInPlace)
{
    char text[] = "1,2,3";
    ParseTenths(text);
    EXPECT_STREQ("1.2.3", text);
    char leading[] = ",5";
    ParseTenths(leading);
    EXPECT_STREQ(",5", leading);
}

TEST(FixedPointParse, HundredthsRoundAwayFromZeroOnThousandthsAboveFive)
{
    static const ParseCase CASES[] = {
        {"2.375", 237}, {"2.376", 238}, {"-2.376", -238}, {"0.006", 1}, {"-0.007", -1}, {"1,5", 150}, {"", 0},
    };
    for (const ParseCase& c : CASES) {
        char text[32];
        strcpy(text, c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, ParseHundredths(text));
    }
}

struct FormatCase {
    int value;
    const char* expected;
};

TEST(FixedPointFormat, TenthsAndHundredthsTexts)
{
    static const FormatCase TENTHS[] = {
        {0, "0.0"}, {-5, "-0.5"}, {-15, "-1.5"}, {2000, "200.0"}, {123, "12.3"}, {-32768, "-3276.8"},
    };
    for (const FormatCase& c : TENTHS) {
        SCOPED_TRACE(c.value);
        FormatTenths((SHORT)c.value);
        EXPECT_STREQ(c.expected, g_textBuffer);
    }
    static const FormatCase HUNDREDTHS[] = {
        {7, "0.07"}, {-5, "-0.05"}, {-150, "-1.50"}, {12345, "123.45"}, {0, "0.00"},
        {32767, "327.67"}, {-32768, "-327.68"},
    };
    for (const FormatCase& c : HUNDREDTHS) {
        SCOPED_TRACE(c.value);
        FormatHundredths((SHORT)c.value);
        EXPECT_STREQ(c.expected, g_textBuffer);
    }
}
