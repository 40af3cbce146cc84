// FLAC streams: the STREAMINFO block for the play length and the VORBIS_COMMENT block for
// the text fields, found by walking the metadata blocks after the stream marker.
#include <climits>
#include <cstring>
#include <string>

#include "TagFormats.h"
#include "TagText.h"

namespace {

enum BlockType : unsigned { kStreamInfo = 0, kVorbisComment = 4, kInvalidBlock = 127 };
constexpr unsigned kLastBlock = 0x80;
constexpr size_t kStreamInfoBytes = 34;
constexpr size_t kBlockHeaderBytes = 4;
// A real stream has a handful of blocks; a walk longer than this is going through garbage.
constexpr int kMaxBlocks = 1024;

struct CommentField {
    const char* key;
    std::wstring FileTags::*field;
};

// Earlier entries win when both appear: COMMENT before DESCRIPTION, DATE before YEAR.
const CommentField kCommentFields[] = {
    {"TITLE", &FileTags::title},     {"ARTIST", &FileTags::artist},
    {"ALBUM", &FileTags::album},     {"DATE", &FileTags::year},
    {"YEAR", &FileTags::year},       {"TRACKNUMBER", &FileTags::track},
    {"GENRE", &FileTags::genre},     {"COMMENT", &FileTags::comment},
    {"DESCRIPTION", &FileTags::comment},
};
const char* const kTrackTotalKeys[] = {"TRACKTOTAL", "TOTALTRACKS"};

bool KeyIs(const unsigned char* key, size_t n, const char* name) {
    if (std::strlen(name) != n) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = key[i];
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        if (c != static_cast<unsigned char>(name[i])) return false;
    }
    return true;
}

class CommentCollector {
public:
    void Add(const unsigned char* entry, size_t n);
    void ApplyTo(FileTags& tags) const;

private:
    std::wstring values_[sizeof(kCommentFields) / sizeof(kCommentFields[0])];
    std::wstring trackTotal_;
};

void CommentCollector::Add(const unsigned char* entry, size_t n) {
    const void* equals = std::memchr(entry, '=', n);
    if (!equals) return;
    size_t keyBytes = static_cast<const unsigned char*>(equals) - entry;
    const unsigned char* value = entry + keyBytes + 1;
    size_t valueBytes = n - keyBytes - 1;
    for (size_t i = 0; i < sizeof(kCommentFields) / sizeof(kCommentFields[0]); ++i)
        if (values_[i].empty() && KeyIs(entry, keyBytes, kCommentFields[i].key))
            values_[i] = TrimValue(DecodeUtf8(value, valueBytes));
    for (const char* key : kTrackTotalKeys)
        if (trackTotal_.empty() && KeyIs(entry, keyBytes, key))
            trackTotal_ = TrimValue(DecodeUtf8(value, valueBytes));
}

void CommentCollector::ApplyTo(FileTags& tags) const {
    FileTags found;
    for (size_t i = sizeof(kCommentFields) / sizeof(kCommentFields[0]); i-- > 0;)
        if (!values_[i].empty()) found.*kCommentFields[i].field = values_[i];
    // Taggers that keep the total apart from the number still mean "3/12".
    if (!found.track.empty() && !trackTotal_.empty() && found.track.find(L'/') == std::wstring::npos)
        found.track += L"/" + trackTotal_;
    FillMissing(tags, found);
}

void ReadComments(const Bytes& block, FileTags& tags) {
    ByteReader reader(block);
    reader.Skip(reader.Le32());  // vendor string
    uint32_t count = reader.Le32();
    CommentCollector collector;
    for (uint32_t i = 0; i < count && !reader.Failed(); ++i) {
        uint32_t n = reader.Le32();
        ByteReader entry = reader.Take(n);
        if (!reader.Failed()) collector.Add(entry.Here(), n);
    }
    collector.ApplyTo(tags);
}

// Sample rate (20 bits) and total samples (36 bits) sit in bytes 10 to 17 of STREAMINFO.
uint64_t StreamMs(const Bytes& info) {
    const unsigned char* p = info.data();
    uint32_t rate = (p[10] << 12) | (p[11] << 4) | (p[12] >> 4);
    uint64_t samples = (uint64_t{p[13] & 0x0Fu} << 32) | (uint64_t{p[14]} << 24) | (p[15] << 16) |
                       (p[16] << 8) | p[17];
    if (rate == 0) return 0;
    return (samples * 1000 + rate / 2) / rate;
}

}  // namespace

bool IsFlacAt(const TagFile& file, uint64_t start) {
    Bytes marker = file.Read(start, 4);
    return marker.size() == 4 && std::memcmp(marker.data(), "fLaC", 4) == 0;
}

void ReadFlac(const TagFile& file, uint64_t start, uint64_t end, FileTags& tags) {
    uint64_t pos = start + 4;
    uint64_t ms = 0;
    bool complete = false;
    for (int n = 0; n < kMaxBlocks && !complete; ++n) {
        Bytes head = file.Read(pos, kBlockHeaderBytes);
        if (head.size() != kBlockHeaderBytes) return;
        unsigned type = head[0] & ~kLastBlock;
        uint32_t bytes = (head[1] << 16) | (head[2] << 8) | head[3];
        uint64_t body = pos + kBlockHeaderBytes;
        if (type == kInvalidBlock || body + bytes > end) return;
        if (type == kStreamInfo && bytes >= kStreamInfoBytes) {
            Bytes info = file.Read(body, kStreamInfoBytes);
            if (info.size() == kStreamInfoBytes) ms = StreamMs(info);
        } else if (type == kVorbisComment) {
            ReadComments(file.Read(body, bytes), tags);
        }
        pos = body + bytes;
        complete = (head[0] & kLastBlock) != 0;
    }
    // Length and bitrate only for a stream whose metadata ended where it said: a cut-off
    // stream has no audio to measure.
    if (!complete || ms == 0 || ms > INT_MAX) return;
    uint64_t kbps = ((end - pos) * 8 + ms / 2) / ms;  // bits per millisecond = kbit/s
    tags.lengthMs = static_cast<int>(ms);
    tags.bitrateKbps = kbps > INT_MAX ? INT_MAX : static_cast<int>(kbps);
}
