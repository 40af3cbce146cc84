// ID3v1 and ID3v1.1 tags in the last 128 bytes of a file, and the size of an APEv2 tag
// before them, which only matters for telling audio bytes from tag bytes.
#include <cstring>
#include <string>

#include "TagFormats.h"
#include "TagText.h"

namespace {

constexpr size_t kId3v1Bytes = 128;
constexpr size_t kApeFooterBytes = 32;
constexpr uint32_t kApeHasHeader = 0x80000000u;

std::wstring Field(const unsigned char* p, size_t n) {
    size_t used = 0;
    while (used < n && p[used] != 0) ++used;
    return TrimValue(DecodeLatin1(p, used));
}

}  // namespace

uint64_t ReadId3v1(const TagFile& file, FileTags& tags) {
    if (file.Size() < kId3v1Bytes) return 0;
    Bytes tag = file.Read(file.Size() - kId3v1Bytes, kId3v1Bytes);
    if (tag.size() != kId3v1Bytes || std::memcmp(tag.data(), "TAG", 3) != 0) return 0;
    const unsigned char* p = tag.data();
    FileTags found;
    found.title = Field(p + 3, 30);
    found.artist = Field(p + 33, 30);
    found.album = Field(p + 63, 30);
    found.year = Field(p + 93, 4);
    // Version 1.1 gives the comment's last byte to the track number, marked by a zero before it.
    bool hasTrack = p[125] == 0 && p[126] != 0;
    found.comment = Field(p + 97, hasTrack ? 28 : 30);
    if (hasTrack) found.track = std::to_wstring(p[126]);
    found.genre = GenreName(p[127]);  // 255 and other unknown numbers mean no genre
    FillMissing(tags, found);
    return kId3v1Bytes;
}

uint64_t ApeTagSize(const TagFile& file, uint64_t end) {
    if (end < kApeFooterBytes) return 0;
    Bytes footer = file.Read(end - kApeFooterBytes, kApeFooterBytes);
    if (footer.size() != kApeFooterBytes || std::memcmp(footer.data(), "APETAGEX", 8) != 0) return 0;
    ByteReader reader(footer.data() + 12, 16);
    uint64_t size = reader.Le32();  // items and footer, not the optional header
    reader.Skip(4);
    if (reader.Le32() & kApeHasHeader) size += kApeFooterBytes;
    return size <= end ? size : 0;
}
