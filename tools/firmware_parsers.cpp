// Firmware file parsers: Intel HEX and memory-image text into the flash image.
#include "tools/firmware_parsers.h"

#include <string.h>

BYTE g_flashImage[FILE_BUFFER_SIZE];

// The image buffer's size, for unsigned arithmetic on addresses.
static const DWORD IMAGE_BUFFER_BYTES = (DWORD)FILE_BUFFER_SIZE;

static const BYTE CHAR_CR = 13;
static const BYTE CHAR_LF = 10;

enum IntelHexRecordType {
    HEX_RECORD_DATA = 0x00,
    HEX_RECORD_END = 0x01,
    HEX_RECORD_SEGMENT_BASE = 0x02,
    HEX_RECORD_LINEAR_BASE = 0x04,
};
static const DWORD HEX_HEADER_CHARS = 9;   // start character, count, address, type
static const DWORD HEX_BASE_DIGITS = 4;    // the 16-bit value of a base record
static const DWORD HEX_CHECKSUM_DIGITS = 2;
static const int LINEAR_BASE_FLASH_HIGH_BYTE = 0x08;

// Value of one hex digit as the device tools have always read it: anything up to ':' counts
// from '0', anything above from 'A'. Lower-case 'a'-'f' are read as the digits they are.
static constexpr int HexDigitValue(int c)
{
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c <= ':' ? c - '0' : c - 'A' + 10);
}

// The high nibble of every character, so a pair costs two look-ups (no character is refused).
struct HexDigitTable {
    BYTE high[256];
    BYTE low[256];
    constexpr HexDigitTable() : high(), low()
    {
        for (int c = 0; c < 256; c++) {
            high[c] = (BYTE)(16 * HexDigitValue(c));
            low[c] = (BYTE)HexDigitValue(c);
        }
    }
};
static constexpr HexDigitTable HEX_DIGITS;

// Byte of a digit pair, modulo 256.
static inline BYTE HexPairByte(const BYTE* pair)
{
    return (BYTE)(HEX_DIGITS.high[pair[0]] + HEX_DIGITS.low[pair[1]]);
}

// Position of the next record after one whose checksum ends at `position`: a CR LF (or any two
// characters, as it always was) is stepped over, a lone LF as one.
static DWORD SkipLineEnd(const BYTE* text, DWORD textLength, DWORD position)
{
    if (position < textLength && text[position] == CHAR_LF) return position + 1;
    return position + 2;
}

// Walks the records of an Intel HEX text; writes the data into `image` unless it is NULL, so the
// same walk first checks a file and then fills the image. A record that does not fit the text or
// the image, a missing end record, or data beyond the last data record's end refuses the file.
static int WalkIntelHex(const BYTE* text, DWORD textLength, BYTE* image, DWORD* imageLength)
{
    DWORD position = 0, base = 0, result = 0, highestEnd = 0;

    for (;;) {
        DWORD count, address, type, dataDigits, dataStart;
        if (position > textLength || textLength - position < HEX_HEADER_CHARS) return 0;
        count = HexPairByte(text + position + 1);
        address = HexPairByte(text + position + 3) * 256u + HexPairByte(text + position + 5);
        type = HexPairByte(text + position + 7);
        dataStart = position + HEX_HEADER_CHARS;
        dataDigits = (type == HEX_RECORD_SEGMENT_BASE || type == HEX_RECORD_LINEAR_BASE) ? HEX_BASE_DIGITS
                                                                                       : 2 * count;
        if (type != HEX_RECORD_END && textLength - dataStart < dataDigits) return 0;

        switch (type) {
        case HEX_RECORD_DATA:
            // A record with no data has nothing to place and leaves the image's end alone.
            if (count == 0) break;
            if (base + address > IMAGE_BUFFER_BYTES - count) return 0;
            if (image) {
                for (DWORD i = 0; i < count; i++) image[base + address + i] = HexPairByte(text + dataStart + 2 * i);
            }
            result = base + address + count;
            if (result > highestEnd) highestEnd = result;
            break;
        case HEX_RECORD_END:
            // Records out of address order keep the last record's end as the length, but data
            // past that length would never be sent: such a file is refused.
            if (highestEnd > result) return 0;
            *imageLength = result;
            return 1;
        case HEX_RECORD_SEGMENT_BASE:
            base = (HexPairByte(text + dataStart) * 256u + HexPairByte(text + dataStart + 2)) * 16u;
            break;
        case HEX_RECORD_LINEAR_BASE: {
            // Flash that starts at upper word 0x08xx lands at image offset 0 (0x0801 gives 1).
            DWORD high = HexPairByte(text + dataStart);
            if (high == LINEAR_BASE_FLASH_HIGH_BYTE) high = 0;
            base = (high * 256u + HexPairByte(text + dataStart + 2)) * 65536u;
            break;
        }
        default:
            break;  // start addresses and the rest carry nothing for the image
        }
        position = SkipLineEnd(text, textLength, dataStart + dataDigits + HEX_CHECKSUM_DIGITS);
    }
}

// Turns an Intel HEX text into the image and gives the end address of the last data record.
// The first 80,000 bytes are cleared first; the image is left untouched when the file is refused.
// A null image only checks the file and gives the length.
int ParseIntelHexImage(const BYTE* text, DWORD textLength, BYTE* image, DWORD* imageLength)
{
    DWORD length = 0;
    if (!WalkIntelHex(text, textLength, NULL, &length)) return 0;
    if (!image) {
        *imageLength = length;
        return 1;
    }
    memset(image, 0, FLASH_IMAGE_CLEAR_SIZE);
    WalkIntelHex(text, textLength, image, &length);
    *imageLength = length;
    return 1;
}

// What a character at a pair boundary of a memory-image body means.
enum MemoryImageCharKind { MEMORY_PAIR, MEMORY_CR, MEMORY_LF, MEMORY_END };

struct MemoryImageKindTable {
    BYTE kind[256];
    constexpr MemoryImageKindTable() : kind()
    {
        kind[CHAR_CR] = MEMORY_CR;
        kind[CHAR_LF] = MEMORY_LF;
        kind[IMAGE_END_LETTER] = MEMORY_END;
    }
};
static constexpr MemoryImageKindTable MEMORY_IMAGE_KINDS;

// Walks the digit pairs of a memory-image text from its data offset to the closing 'L'; writes
// them into `image` unless it is NULL. Lines end in CR and one more character, or in a lone LF.
static int WalkMemoryImage(const BYTE* text, DWORD textLength, BYTE* image, DWORD* imageLength)
{
    DWORD position = IMAGE_DATA_OFFSET, count = 0;
    if (textLength < IMAGE_DATA_OFFSET) return 0;
    while (position < textLength) {
        BYTE kind = MEMORY_IMAGE_KINDS.kind[text[position]];
        if (kind == MEMORY_PAIR) {
            if (textLength - position < 2 || count >= IMAGE_BUFFER_BYTES) return 0;
            if (image) image[count] = HexPairByte(text + position);
            count++;
            position += 2;
        } else if (kind == MEMORY_END) {
            *imageLength = count;
            return 1;
        } else {
            position += kind == MEMORY_CR ? 2 : 1;
        }
    }
    return 0;  // no closing 'L'
}

// Turns a memory-image text into the image and gives the number of bytes written. Bytes after
// them keep what the image held; a refused file leaves the image untouched. A null image only
// checks the file and gives the length.
int ParseMemoryImageFile(const BYTE* text, DWORD textLength, BYTE* image, DWORD* imageLength)
{
    DWORD length = 0;
    if (!WalkMemoryImage(text, textLength, NULL, &length)) return 0;
    if (image) WalkMemoryImage(text, textLength, image, &length);
    *imageLength = length;
    return 1;
}
