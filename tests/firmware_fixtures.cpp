// Test helpers: small Intel HEX and memory-image firmware texts, built in the test itself.
#include "tests/firmware_fixtures.h"

#include <stdio.h>

#include "tests/gui_driver.h"

static std::string HexByte(unsigned value)
{
    char text[3];
    snprintf(text, sizeof(text), "%02X", value & 0xFF);
    return text;
}

std::string HexRecord(int type, unsigned address, const std::vector<BYTE>& data, bool badChecksum)
{
    unsigned sum = (unsigned)data.size() + ((address >> 8) & 0xFF) + (address & 0xFF) + (unsigned)type;
    std::string record = ":" + HexByte((unsigned)data.size()) + HexByte(address >> 8) + HexByte(address) + HexByte(type);
    for (BYTE b : data) {
        record += HexByte(b);
        sum += b;
    }
    record += HexByte((0x100 - (sum & 0xFF)) + (badChecksum ? 1 : 0));
    return record + "\r\n";
}

std::string HexFileFor(const std::vector<BYTE>& bytes, unsigned start)
{
    std::string text;
    unsigned upper = 0xFFFFFFFF;
    for (size_t offset = 0; offset < bytes.size(); offset += 16) {
        unsigned address = start + (unsigned)offset;
        if ((address >> 16) != upper) {
            upper = address >> 16;
            text += HexRecord(4, 0, {(BYTE)(upper >> 8), (BYTE)upper});
        }
        size_t count = bytes.size() - offset < 16 ? bytes.size() - offset : 16;
        text += HexRecord(0, address & 0xFFFF, std::vector<BYTE>(bytes.begin() + offset, bytes.begin() + offset + count));
    }
    return text + HexRecord(1, 0, {});
}

std::string MemoryImageText(const std::string& platform, const std::string& version, const std::string& body)
{
    std::string text = "DOLVAN IMAGE \r\n";  // 15 bytes, never read
    std::string field = platform;
    if (field.size() < 18) field += "\r";
    field.resize(18, ' ');
    text += field;
    field = version;
    if (field.size() < 10) field += "\r";
    field.resize(10, ' ');
    text += field;
    return text + body;
}

std::string MemoryImageBody(const std::vector<BYTE>& bytes)
{
    std::string body;
    for (size_t i = 0; i < bytes.size(); i++) {
        if (i > 0 && i % 32 == 0) body += "\r\n";
        body += HexByte(bytes[i]);
    }
    return body + "L\r\n";
}

std::vector<BYTE> PatternImage(size_t length)
{
    std::vector<BYTE> image(length);
    for (size_t k = 0; k < length; k++) image[k] = (BYTE)((k * 7 + k / 251) & 0xFF);
    return image;
}

std::string WriteFixtureFile(const std::string& name, const std::string& content)
{
    static std::string folder;
    if (folder.empty()) {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "zentil-fw-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), NULL);
    }
    std::string path = folder + "\\" + name;
    FILE* file = fopen(path.c_str(), "wb");
    if (file) {
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
    }
    return path;
}

// The name field of the common open dialog under Wine (the explorer-style dialog's combo box).
static const int OPEN_DIALOG_NAME_FIELD_ID = 0x47C;

bool ChooseFileWithButton(HWND button, const std::string& path)
{
    PostClick(button);
    HWND chooser = WaitForDialogWithControl(GetCurrentProcessId(), OPEN_DIALOG_NAME_FIELD_ID);
    if (!chooser) return false;
    SetText(GetDlgItem(chooser, OPEN_DIALOG_NAME_FIELD_ID), std::wstring(path.begin(), path.end()));
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(chooser, IDOK));
    return WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); });
}
