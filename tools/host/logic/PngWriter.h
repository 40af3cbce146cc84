// A small PNG encoder for the automation's screenshots: 24-bit colour rows stored in zlib's
// uncompressed blocks, which every viewer reads and which needs no compression library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb holds height rows of width pixels, three bytes each (red, green, blue), top row first.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb);
bool WritePngFile(const std::wstring& path, int width, int height, const std::vector<uint8_t>& rgb);

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t length);
