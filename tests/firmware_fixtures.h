// Test helpers: small Intel HEX and memory-image firmware texts, built in the test itself.
#ifndef ZENTIL_TESTS_FIRMWARE_FIXTURES_H
#define ZENTIL_TESTS_FIRMWARE_FIXTURES_H

#include <windows.h>

#include <string>
#include <vector>

// One Intel HEX record ":nnaaaatt<data>cc" with a correct checksum (or `badChecksum`) and CR LF.
std::string HexRecord(int type, unsigned address, const std::vector<BYTE>& data, bool badChecksum = false);
// Data records of `bytes` (16 per record) from flash address `start`, with a linear base record
// whenever the upper address word changes, then the end record.
std::string HexFileFor(const std::vector<BYTE>& bytes, unsigned start = 0);
// A memory-image text: 15 bytes of title, the platform and HW version texts in their fields
// (CR-terminated when shorter), then `body` from byte 43 on.
std::string MemoryImageText(const std::string& platform, const std::string& version, const std::string& body);
// The body of a memory-image text for `bytes`: 32 pairs a line, CR LF between lines, closing 'L'.
std::string MemoryImageBody(const std::vector<BYTE>& bytes);
// A recognisable image: byte k = (k * 7 + k / 251) & 0xFF.
std::vector<BYTE> PatternImage(size_t length);
// Writes a file in a fresh temporary folder of the test and returns its path.
std::string WriteFixtureFile(const std::string& name, const std::string& content);

// Clicks `button`, then picks `path` in the common open dialog it brings up; false when none came.
bool ChooseFileWithButton(HWND button, const std::string& path);

#endif
