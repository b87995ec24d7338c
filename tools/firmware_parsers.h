// Firmware file parsers: Intel HEX and memory-image text into the flash image.
#ifndef ZENTIL_TOOLS_FIRMWARE_PARSERS_H
#define ZENTIL_TOOLS_FIRMWARE_PARSERS_H

#include <windows.h>

#include "kit/settings_file.h"

// Bytes of the image cleared before every Intel HEX parse.
const DWORD FLASH_IMAGE_CLEAR_SIZE = 80000;

// Memory-image file layout: two header texts, then hex digit pairs from flash address 0 on.
const DWORD IMAGE_PLATFORM_OFFSET = 15;
const DWORD IMAGE_HW_VERSION_OFFSET = 33;
const DWORD IMAGE_DATA_OFFSET = 43;
const BYTE IMAGE_END_LETTER = 'L';

// The firmware image: byte k is the content of flash address k.
extern BYTE g_flashImage[FILE_BUFFER_SIZE];

int ParseIntelHexImage(const BYTE* text, DWORD textLength, BYTE* image, DWORD* imageLength);
int ParseMemoryImageFile(const BYTE* text, DWORD textLength, BYTE* image, DWORD* imageLength);

#endif
