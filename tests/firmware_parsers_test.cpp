// Firmware file parsers on small fixture files: record kinds, layouts and refused files.
#include <gtest/gtest.h>

#include <string.h>

#include "tests/firmware_fixtures.h"
#include "tools/firmware_parsers.h"

namespace {

const BYTE SENTINEL = 0x5A;

enum ParserKind { HEX, DLM };

// Reads the fixture back through the whole-file read, as Open File does, and parses it.
int ParseFixture(ParserKind kind, const std::string& content, DWORD* length)
{
    std::string path = WriteFixtureFile(kind == HEX ? "fixture.hex" : "fixture.dlm", content);
    DWORD textLength = (DWORD)ReadWholeFile(path.c_str(), g_settingsFile);
    EXPECT_EQ(textLength, content.size());
    const BYTE* text = (const BYTE*)g_settingsFile;
    return kind == HEX ? ParseIntelHexImage(text, textLength, g_flashImage, length)
                       : ParseMemoryImageFile(text, textLength, g_flashImage, length);
}

std::string Lf(std::string text)
{
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'F') c = (char)(c - 'A' + 'a');
    return text;
}

struct AcceptedCase {
    const char* name;
    ParserKind kind;
    std::string content;
    DWORD length;
    DWORD offset;                 // where `bytes` must stand in the image
    std::vector<BYTE> bytes;
};

std::vector<BYTE> OutOfOrderImage()
{
    std::vector<BYTE> image(35, 0x11);
    for (size_t i = 16; i < 32; i++) image[i] = 0x22;
    image[32] = 0xAB;
    image[33] = 0xCD;
    image[34] = 0xEF;
    return image;
}

std::vector<AcceptedCase> AcceptedCases()
{
    const std::vector<BYTE> sixteen = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const std::vector<BYTE> abc = {0xAB, 0xCD, 0xEF};
    return {
        {"linear base 0800 maps to 0", HEX,
         HexRecord(4, 0, {0x08, 0x00}) + HexRecord(0, 0, abc) + HexRecord(1, 0, {}), 3, 0, abc},
        {"linear base 0801 maps to 65536", HEX,
         HexRecord(4, 0, {0x08, 0x01}) + HexRecord(0, 0x10, abc) + HexRecord(1, 0, {}), 0x10013, 0x10010, abc},
        {"segment base times 16", HEX,
         HexRecord(2, 0, {0x01, 0x00}) + HexRecord(0, 0x20, abc) + HexRecord(1, 0, {}), 0x1023, 0x1020, abc},
        {"16 bytes at 0x1000 end at 0x1010", HEX, HexRecord(0, 0x1000, sixteen) + HexRecord(1, 0, {}), 0x1010,
         0x1000, sixteen},
        {"type 05 skipped", HEX,
         HexRecord(0, 0, abc) + HexRecord(5, 0, {0x08, 0x00, 0x01, 0x23}) + HexRecord(1, 0, {}), 3, 0, abc},
        {"checksums not checked", HEX, HexRecord(0, 0, abc, true) + HexRecord(1, 0, {}, true), 3, 0, abc},
        {"zero-length record copies nothing", HEX,
         HexRecord(0, 0, abc) + HexRecord(0, 0x40, {}) + HexRecord(1, 0, {}), 3, 0, abc},
        {"nothing after the end record is read", HEX, HexRecord(0, 0, abc) + HexRecord(1, 0, {}) + ":garbage", 3,
         0, abc},
        {"no data record gives 0", HEX, HexRecord(1, 0, {}), 0, 0, {}},
        {"out of order keeps the last record's end", HEX,
         HexRecord(0, 0x10, std::vector<BYTE>(16, 0x22)) + HexRecord(0, 0, std::vector<BYTE>(16, 0x11)) +
             HexRecord(0, 0x20, abc) + HexRecord(1, 0, {}),
         0x23, 0, OutOfOrderImage()},
        {"LF-only lines", HEX,
         Lf(HexRecord(4, 0, {0x08, 0x00}) + HexRecord(0, 0, abc) + HexRecord(1, 0, {})), 3, 0, abc},
        {"lower-case digits", HEX, Lower(HexRecord(0, 0, abc) + HexRecord(1, 0, {})), 3, 0, abc},
        {"record ending at the image's end", HEX,
         HexRecord(4, 0, {0x00, 0x07}) + HexRecord(0, 0xEF3D, abc) + HexRecord(1, 0, {}), 520000, 519997, abc},
        {"0102 CR LF 03L", DLM, MemoryImageText("P", "1", "0102\r\n03L"), 3, 0, {1, 2, 3}},
        {"body beginning with L", DLM, MemoryImageText("P", "1", "L0102"), 0, 0, {}},
        {"LF-only memory image", DLM, MemoryImageText("P", "1", "0102\n03L"), 3, 0, {1, 2, 3}},
        {"lower-case memory image", DLM, MemoryImageText("P", "1", "abcdefL"), 3, 0, abc},
    };
}

TEST(FirmwareParsers, AcceptedFilesFillTheImage)
{
    for (const AcceptedCase& c : AcceptedCases()) {
        SCOPED_TRACE(c.name);
        memset(g_flashImage, SENTINEL, FILE_BUFFER_SIZE);
        DWORD length = 12345;
        ASSERT_EQ(1, ParseFixture(c.kind, c.content, &length));
        EXPECT_EQ(c.length, length);
        EXPECT_EQ(0, memcmp(g_flashImage + c.offset, c.bytes.data(), c.bytes.size()));
        if (c.kind == HEX) {
            // Unwritten bytes are 0 in the first 80,000 and keep older contents beyond.
            if (c.offset > 0) {
                EXPECT_EQ(c.offset <= FLASH_IMAGE_CLEAR_SIZE ? 0 : SENTINEL, g_flashImage[c.offset - 1]);
            }
            if (c.offset + c.bytes.size() < FLASH_IMAGE_CLEAR_SIZE) {
                EXPECT_EQ(0, g_flashImage[c.offset + c.bytes.size()]);
            }
            EXPECT_EQ(SENTINEL, g_flashImage[FLASH_IMAGE_CLEAR_SIZE]);
        } else {
            // A memory image is not cleared first.
            EXPECT_EQ(SENTINEL, g_flashImage[c.length]);
        }
    }
}

struct RefusedCase {
    const char* name;
    ParserKind kind;
    std::string content;
};

std::vector<RefusedCase> RefusedCases()
{
    const std::vector<BYTE> abc = {0xAB, 0xCD, 0xEF};
    std::string record = HexRecord(0, 0, abc);
    return {
        {"address beyond the image", HEX,
         HexRecord(4, 0, {0x00, 0x07}) + HexRecord(0, 0xEF3E, abc) + HexRecord(1, 0, {})},
        {"linear base far beyond the image", HEX,
         HexRecord(4, 0, {0x7F, 0xFF}) + HexRecord(0, 0, abc) + HexRecord(1, 0, {})},
        {"no end record", HEX, record + HexRecord(0, 3, abc)},
        {"empty file text", HEX, ""},
        {"data record cut short", HEX, record.substr(0, 12)},
        {"end record cut short", HEX, record + ":000000"},
        {"data beyond the last record's end", HEX,
         HexRecord(0, 0x1000, abc) + HexRecord(0, 0, abc) + HexRecord(1, 0, {})},
        {"earlier record reaching past the last one's end", HEX,
         HexRecord(0, 0, std::vector<BYTE>(32, 0x11)) + HexRecord(0, 0x10, abc) + HexRecord(1, 0, {})},
        {"no closing L", DLM, MemoryImageText("P", "1", "010203\r\n")},
        {"text shorter than its header", DLM, std::string("DOLVAN IMAGE \r\nP\r")},
        {"digit pair cut by the file's end", DLM, MemoryImageText("P", "1", "01020")},
        {"image longer than the buffer", DLM,
         MemoryImageText("P", "1", std::string(2 * (FILE_BUFFER_SIZE + 1), '0') + "L")},
    };
}

TEST(FirmwareParsers, RefusedFilesLeaveTheImageAlone)
{
    for (const RefusedCase& c : RefusedCases()) {
        SCOPED_TRACE(c.name);
        DWORD length = 12345;
        memset(g_flashImage, SENTINEL, FILE_BUFFER_SIZE);
        const BYTE* text = (const BYTE*)c.content.data();
        // The texts are parsed in place so that a read past their end would leave the buffer.
        std::vector<BYTE> exact(text, text + c.content.size());
        int result = c.kind == HEX ? ParseIntelHexImage(exact.data(), (DWORD)exact.size(), g_flashImage, &length)
                                   : ParseMemoryImageFile(exact.data(), (DWORD)exact.size(), g_flashImage, &length);
        EXPECT_EQ(0, result);
        EXPECT_EQ(12345u, length);
        size_t untouched = 0;
        while (untouched < (size_t)FILE_BUFFER_SIZE && g_flashImage[untouched] == SENTINEL) untouched++;
        EXPECT_EQ((size_t)FILE_BUFFER_SIZE, untouched);
    }
}

TEST(FirmwareParsers, GeneratedFilesRoundTrip)
{
    // A whole image through both formats, crossing a 64 KB linear base boundary.
    std::vector<BYTE> image = PatternImage(70000);
    for (ParserKind kind : {HEX, DLM}) {
        SCOPED_TRACE(kind == HEX ? "hex" : "dlm");
        DWORD length = 0;
        std::string content = kind == HEX ? HexFileFor(image) : MemoryImageText("P", "1", MemoryImageBody(image));
        ASSERT_EQ(1, ParseFixture(kind, content, &length));
        EXPECT_EQ(image.size(), length);
        EXPECT_EQ(0, memcmp(g_flashImage, image.data(), image.size()));
    }
}

}  // namespace
