// The screenshot encoder: known checksums, and a round trip through a reader of the PNG
// structure that checks every chunk's checksum and the stored blocks' lengths.
#include <gtest/gtest.h>

#include <cstring>

#include "logic/PngWriter.h"

namespace {

uint32_t BigEndian(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Reads back what EncodePng writes: the header's size and the raw filtered rows.
bool DecodeStoredPng(const std::vector<uint8_t>& png, int& width, int& height, std::vector<uint8_t>& raw) {
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0) return false;
    std::vector<uint8_t> zlib;
    bool ended = false;
    for (size_t pos = 8; pos + 12 <= png.size();) {
        uint32_t length = BigEndian(&png[pos]);
        const uint8_t* type = &png[pos + 4];
        if (pos + 12 + length > png.size()) return false;
        if (Crc32(type, length + 4) != BigEndian(&png[pos + 8 + length])) return false;
        if (!std::memcmp(type, "IHDR", 4)) {
            width = static_cast<int>(BigEndian(type + 4));
            height = static_cast<int>(BigEndian(type + 8));
        } else if (!std::memcmp(type, "IDAT", 4)) {
            zlib.insert(zlib.end(), type + 4, type + 4 + length);
        } else if (!std::memcmp(type, "IEND", 4)) {
            ended = true;
        }
        pos += 12 + length;
    }
    if (!ended || zlib.size() < 6 || ((zlib[0] << 8) | zlib[1]) % 31 != 0) return false;
    size_t pos = 2;
    bool last = false;
    raw.clear();
    while (!last) {
        if (pos + 5 > zlib.size()) return false;
        last = zlib[pos] & 1;
        uint16_t length = zlib[pos + 1] | (zlib[pos + 2] << 8);
        uint16_t inverse = zlib[pos + 3] | (zlib[pos + 4] << 8);
        if (static_cast<uint16_t>(~length) != inverse || pos + 5 + length > zlib.size()) return false;
        raw.insert(raw.end(), zlib.begin() + pos + 5, zlib.begin() + pos + 5 + length);
        pos += 5 + length;
    }
    return pos + 4 == zlib.size() && BigEndian(&zlib[pos]) == Adler32(raw.data(), raw.size());
}

TEST(PngWriterTest, KnownChecksums) {
    const char* text = "123456789";
    EXPECT_EQ(0xCBF43926u, Crc32(reinterpret_cast<const uint8_t*>(text), 9));
    const char* wiki = "Wikipedia";
    EXPECT_EQ(0x11E60398u, Adler32(reinterpret_cast<const uint8_t*>(wiki), 9));
}

TEST(PngWriterTest, RoundTripKeepsEveryPixelAcrossSeveralBlocks) {
    // 200 x 150 pixels make 90,150 bytes of rows: two stored blocks.
    const int width = 200, height = 150;
    std::vector<uint8_t> rgb(width * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7 + i / 600);
    int w = 0, h = 0;
    std::vector<uint8_t> raw;
    ASSERT_TRUE(DecodeStoredPng(EncodePng(width, height, rgb), w, h, raw));
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    ASSERT_EQ(static_cast<size_t>(height * (width * 3 + 1)), raw.size());
    for (int y = 0; y < height; ++y) {
        ASSERT_EQ(0, raw[y * (width * 3 + 1)]) << "row " << y << " has a filter";
        ASSERT_EQ(0, std::memcmp(&raw[y * (width * 3 + 1) + 1], &rgb[y * width * 3], width * 3)) << "row " << y;
    }
}

TEST(PngWriterTest, SinglePixel) {
    int w = 0, h = 0;
    std::vector<uint8_t> raw;
    ASSERT_TRUE(DecodeStoredPng(EncodePng(1, 1, {10, 20, 30}), w, h, raw));
    EXPECT_EQ((std::vector<uint8_t>{0, 10, 20, 30}), raw);
}

}  // namespace
