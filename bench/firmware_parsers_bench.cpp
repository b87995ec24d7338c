// Benchmark: the firmware parsers on 512,000-byte texts against one plain pass over the same text.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "tools/firmware_parsers.h"

namespace {

const size_t TEXT_BYTES = 512000;  // the largest round size that fits the 520,000-byte file buffer
const int ROUNDS = 30;

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart / (double)frequency.QuadPart;
}

const char HEX_DIGITS[] = "0123456789ABCDEF";

void AppendByte(std::string& text, unsigned value)
{
    text += HEX_DIGITS[(value >> 4) & 15];
    text += HEX_DIGITS[value & 15];
}

// Intel HEX text of 16-byte data records, with linear base records, filled up to `bytes`.
std::string MakeHexText(size_t bytes)
{
    std::string text;
    unsigned address = 0;
    const std::string end = ":00000001FF\r\n";
    while (true) {
        if ((address & 0xFFFF) == 0) {
            text += ":02000004";
            AppendByte(text, address >> 24);
            AppendByte(text, address >> 16);
            text += "00\r\n";
        }
        if (text.size() + 45 + end.size() > bytes) break;
        text += ":10";
        AppendByte(text, address >> 8);
        AppendByte(text, address);
        text += "00";
        for (int i = 0; i < 16; i++) AppendByte(text, (address + i) * 7);
        text += "00\r\n";
        address += 16;
    }
    return text + end;
}

// Memory-image text: header, 32 pairs a line, closing 'L', filled up to `bytes`.
std::string MakeMemoryImageText(size_t bytes)
{
    std::string text = "DOLVAN IMAGE \r\nPLATFORM\r         1.2x\r     ";
    size_t count = 0;
    while (text.size() + 3 + 3 < bytes) {
        if (count > 0 && count % 32 == 0) text += "\r\n";
        AppendByte(text, (unsigned)count * 7);
        count++;
    }
    return text + "L\r\n";
}

// One plain pass over the text: counting its line ends.
size_t CountLineEnds(const BYTE* text, size_t length)
{
    size_t lines = 0;
    for (size_t i = 0; i < length; i++) lines += text[i] == '\n';
    return lines;
}

template <typename Work>
double BestOf(Work work)
{
    double best = 1e9;
    for (int round = 0; round < ROUNDS; round++) {
        double start = Now();
        work();
        double elapsed = Now() - start;
        if (elapsed < best) best = elapsed;
    }
    return best;
}

void MeasureParser(const char* name, const std::string& content,
                   int (*parse)(const BYTE*, DWORD, BYTE*, DWORD*))
{
    DWORD length = (DWORD)content.size(), imageLength = 0;
    volatile size_t sink = 0;
    memcpy(g_settingsFile, content.data(), length);
    const BYTE* text = (const BYTE*)g_settingsFile;
    double plain = BestOf([&] { sink = sink + CountLineEnds(text, length); });
    int parsed = 0;
    double parse_time = BestOf([&] { parsed = parse(text, length, g_flashImage, &imageLength); });
    printf("%-13s text %7lu bytes  image %6lu bytes  parsed=%d  parse %8.3f ms  plain pass %7.3f ms  ratio %5.1f\n",
           name, (unsigned long)length, (unsigned long)imageLength, parsed, parse_time * 1e3, plain * 1e3,
           parse_time / plain);
}

}  // namespace

int main()
{
    MeasureParser("Intel HEX", MakeHexText(TEXT_BYTES), ParseIntelHexImage);
    MeasureParser("memory image", MakeMemoryImageText(TEXT_BYTES), ParseMemoryImageFile);
    return 0;
}
