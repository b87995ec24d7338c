// Settings-file image and whole-file transfers on real files.
#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "kit/settings_file.h"

namespace {

// A file path in the temporary folder, removed when the test ends.
struct TempFile {
    char path[MAX_PATH];
    explicit TempFile(const char* name)
    {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        snprintf(path, sizeof(path), "%szentil_%lu_%s", folder, GetCurrentProcessId(), name);
        DeleteFileA(path);
    }
    ~TempFile() { DeleteFileA(path); }
};

std::string ReadBack(const char* path)
{
    std::string bytes;
    FILE* f = fopen(path, "rb");
    if (!f) return bytes;
    int c;
    while ((c = fgetc(f)) != EOF) bytes.push_back((char)c);
    fclose(f);
    return bytes;
}

void WriteBytes(const char* path, const std::string& bytes)
{
    FILE* f = fopen(path, "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

int LineOf(int reg)
{
    return SETTINGS_FIRST_LINE + SETTINGS_LINE_SIZE * reg;
}

}  // namespace

// The saved image, byte for byte: every one of the 2608 bytes is laid on each call.
TEST(SettingsFileImage, SavedTemplateIsExactly2608BytesOfCrLines)
{
    memset(g_settingsFile, 'X', SETTINGS_FILE_SIZE + 16);
    InitSettingsFileTemplate("  TDO");
    TempFile file("template.dlc");
    ASSERT_EQ(SETTINGS_FILE_SIZE, WriteWholeFile(file.path, g_settingsFile, SETTINGS_FILE_SIZE));
    std::string bytes = ReadBack(file.path);
    ASSERT_EQ(2608u, bytes.size());

    EXPECT_EQ(std::string("  TDO           \r              \r"), bytes.substr(0, 32));
    EXPECT_EQ(std::string("Reg 000        \r"), bytes.substr(32, 16));
    EXPECT_EQ(std::string("Reg 001        \r"), bytes.substr(48, 16));
    EXPECT_EQ(std::string("Reg 159        \r"), bytes.substr(2576, 16));
    EXPECT_EQ(std::string("\r              \r"), bytes.substr(2592, 16));
    EXPECT_EQ(std::string::npos, bytes.find('\n'));
    EXPECT_EQ(std::string::npos, bytes.find('X'));
    EXPECT_EQ('X', g_settingsFile[SETTINGS_FILE_SIZE]);  // nothing laid past the image
    for (int r = 0; r < SETTINGS_REGISTER_COUNT; r++) {
        char expected[17];
        snprintf(expected, sizeof(expected), "Reg %03d        \r", r);
        ASSERT_EQ(std::string(expected), bytes.substr(LineOf(r), 16)) << "register " << r;
    }
}

TEST(SettingsFileImage, LongHeaderKeepsSixteenCharacters)
{
    InitSettingsFileTemplate("  LB-KDG-S      EXTRA");
    EXPECT_EQ(0, memcmp(g_settingsFile, "  LB-KDG-S      \r", 17));
}

TEST(SettingsFileImage, FieldsPutAndGet)
{
    struct PutCase {
        const char* text;
        const char* field;  // bytes 8-13 of the line after the put
        const char* back;   // what GetSettingsField gives
    };
    static const PutCase CASES[] = {
        {"1234567", "123456", "123456"}, {"25", "25    ", "25"}, {"", "      ", ""},
        {"-32768", "-32768", "-32768"},  {"12 4", "12 4  ", "12"}, {"0.5", "0.5   ", "0.5"},
    };
    InitSettingsFileTemplate("  KDG");
    for (const PutCase& c : CASES) {
        SCOPED_TRACE(c.text);
        memset(g_settingsFile + LineOf(7) + 8, '#', 6);
        PutSettingsField(LineOf(7), c.text);
        EXPECT_EQ(0, memcmp(g_settingsFile + LineOf(7), "Reg 007 ", 8));
        EXPECT_EQ(std::string(c.field), std::string(g_settingsFile + LineOf(7) + 8, 6));
        EXPECT_EQ(std::string(" \r"), std::string(g_settingsFile + LineOf(7) + 14, 2));
        char back[SETTINGS_VALUE_WIDTH + 1];
        memset(back, '#', sizeof(back));
        GetSettingsField(LineOf(7), back);
        EXPECT_STREQ(c.back, back);
    }
    // Only a blank ends a field: a CR inside it is copied.
    memcpy(g_settingsFile + LineOf(8) + 8, "1\r2   ", 6);
    char back[SETTINGS_VALUE_WIDTH + 1];
    GetSettingsField(LineOf(8), back);
    EXPECT_STREQ("1\r2", back);
}

TEST(WholeFile, WriteReplacesAndReadGivesTheCount)
{
    TempFile file("whole.bin");
    std::string longer(5000, 'a');
    ASSERT_EQ(5000, WriteWholeFile(file.path, longer.data(), 5000));
    ASSERT_EQ(3, WriteWholeFile(file.path, "xyz", 3));
    EXPECT_EQ(std::string("xyz"), ReadBack(file.path));

    memset(g_settingsFile, '#', 16);
    EXPECT_EQ(3, ReadWholeFile(file.path, g_settingsFile));
    EXPECT_EQ(0, memcmp(g_settingsFile, "xyz####", 7));  // nothing cleared past the file
}

TEST(WholeFile, RefusedReads)
{
    TempFile missing("missing.bin");
    EXPECT_EQ(0, ReadWholeFile(missing.path, g_settingsFile));

    TempFile empty("empty.bin");
    WriteBytes(empty.path, "");
    EXPECT_EQ(0, ReadWholeFile(empty.path, g_settingsFile));

    // A file held open elsewhere: the read shares nothing, so it cannot open it.
    TempFile held("held.bin");
    WriteBytes(held.path, "held");
    HANDLE other = CreateFileA(held.path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0,
                               NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_EQ(0, ReadWholeFile(held.path, g_settingsFile));
    EXPECT_EQ(0, WriteWholeFile(held.path, "new", 3));
    CloseHandle(other);
    EXPECT_EQ(4, ReadWholeFile(held.path, g_settingsFile));
}

// A file one byte larger than the buffer is refused before anything is read into it.
TEST(WholeFile, FileLargerThanTheBufferIsRefusedUntouched)
{
    TempFile fits("fits.bin");
    WriteBytes(fits.path, std::string(FILE_BUFFER_SIZE, 'f'));
    EXPECT_EQ(FILE_BUFFER_SIZE, ReadWholeFile(fits.path, g_settingsFile));
    EXPECT_EQ('f', g_settingsFile[FILE_BUFFER_SIZE - 1]);

    TempFile large("large.bin");
    WriteBytes(large.path, std::string(FILE_BUFFER_SIZE + 1, 'L'));
    memset(g_settingsFile, '#', FILE_BUFFER_SIZE);
    EXPECT_EQ(0, ReadWholeFile(large.path, g_settingsFile));
    EXPECT_EQ('#', g_settingsFile[0]);
    EXPECT_EQ('#', g_settingsFile[FILE_BUFFER_SIZE - 1]);
}
