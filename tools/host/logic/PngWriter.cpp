// The screenshot encoder: PNG signature, header, one data chunk of stored deflate blocks, end.
#include "PngWriter.h"

#include <windows.h>

#include <algorithm>

#include "base/Unique.h"

namespace {

// A stored deflate block holds at most 65535 bytes.
constexpr size_t kStoredBlockLimit = 65535;

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + typeStart, out.size() - typeStart));
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t offset = 0;
    do {
        size_t length = std::min(kStoredBlockLimit, raw.size() - offset);
        bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + length);
        offset += length;
    } while (offset < raw.size());
    PutBigEndian(out, Adler32(raw.data(), raw.size()));
    return out;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t length) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < length; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter, no interlace
    PutChunk(out, "IHDR", header);

    std::vector<uint8_t> raw;
    size_t stride = static_cast<size_t>(width) * 3;
    raw.reserve((stride + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type none
        raw.insert(raw.end(), rgb.begin() + y * stride, rgb.begin() + (y + 1) * stride);
    }
    PutChunk(out, "IDAT", ZlibStored(raw));
    PutChunk(out, "IEND", {});
    return out;
}

bool WritePngFile(const std::wstring& path, int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> bytes = EncodePng(width, height, rgb);
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}
