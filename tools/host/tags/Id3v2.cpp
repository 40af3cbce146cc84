// ID3v2 tags at the start of a file: versions 2.2, 2.3 and 2.4, their text and comment
// frames, unsynchronisation and the optional extended header.
#include <cstring>
#include <string>

#include "TagFormats.h"
#include "TagText.h"

namespace {

enum TagFlag : unsigned {
    kTagUnsync = 0x80,
    kTagExtendedHeader = 0x40,  // in version 2.2 this bit means compression instead
    kTagFooter = 0x10,
};

enum FrameFlag23 : unsigned { kV3Compressed = 0x80, kV3Encrypted = 0x40, kV3Grouped = 0x20 };
enum FrameFlag24 : unsigned {
    kV4Grouped = 0x40,
    kV4Compressed = 0x08,
    kV4Encrypted = 0x04,
    kV4Unsync = 0x02,
    kV4DataLength = 0x01,
};

constexpr size_t kHeaderBytes = 10;

struct TextFrame {
    const char* id;
    std::wstring FileTags::*field;
};

// First frame found wins for each field; v2.2 uses the three-letter names.
const TextFrame kTextFrames[] = {
    {"TIT2", &FileTags::title}, {"TPE1", &FileTags::artist}, {"TALB", &FileTags::album},
    {"TYER", &FileTags::year},  {"TDRC", &FileTags::year},   {"TRCK", &FileTags::track},
    {"TCON", &FileTags::genre}, {"TT2", &FileTags::title},   {"TP1", &FileTags::artist},
    {"TAL", &FileTags::album},  {"TYE", &FileTags::year},    {"TRK", &FileTags::track},
    {"TCO", &FileTags::genre},
};

// Undoes unsynchronisation: every 0xFF 0x00 pair was written for a lone 0xFF.
Bytes RemoveUnsync(const unsigned char* p, size_t n) {
    Bytes out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        out.push_back(p[i]);
        if (p[i] == 0xFF && i + 1 < n && p[i + 1] == 0x00) ++i;
    }
    return out;
}

bool IsFrameIdChar(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

class FrameParser {
public:
    FrameParser(unsigned major, unsigned tagFlags, FileTags& tags)
        : major_(major), tagFlags_(tagFlags), idBytes_(major == 2 ? 3 : 4), tags_(tags) {}

    void Parse(const Bytes& body);

private:
    size_t HeaderBytes() const { return major_ == 2 ? 6 : 10; }
    bool SkipExtendedHeader(ByteReader& reader) const;
    uint32_t FrameSize(ByteReader& reader, const Bytes& body) const;
    bool FrameFitsAt(const Bytes& body, size_t pos) const;
    void OnFrame(const std::string& id, unsigned flags, ByteReader data);
    void OnText(std::wstring FileTags::*field, ByteReader data);
    void OnComment(ByteReader data);

    unsigned major_;
    unsigned tagFlags_;
    size_t idBytes_;
    FileTags& tags_;
    bool commentHasNoDescription_ = false;
};

void FrameParser::Parse(const Bytes& raw) {
    if (major_ == 2 && (tagFlags_ & kTagExtendedHeader)) return;  // compressed: unreadable
    // Before 2.4 unsynchronisation covers the whole tag and frame sizes count the restored
    // bytes; in 2.4 it is undone per frame.
    Bytes body = major_ < 4 && (tagFlags_ & kTagUnsync) ? RemoveUnsync(raw.data(), raw.size()) : raw;
    ByteReader reader(body);
    if (!SkipExtendedHeader(reader)) return;
    while (reader.Remaining() >= HeaderBytes()) {
        const unsigned char* head = reader.Here();
        if (head[0] == 0) return;  // padding
        for (size_t i = 0; i < idBytes_; ++i)
            if (!IsFrameIdChar(head[i])) return;
        std::string id(reinterpret_cast<const char*>(head), idBytes_);
        reader.Skip(idBytes_);
        uint32_t size = FrameSize(reader, body);
        unsigned flags = major_ == 2 ? 0 : reader.Be16();
        if (reader.Failed() || size > reader.Remaining()) return;
        OnFrame(id, flags, reader.Take(size));
    }
}

bool FrameParser::SkipExtendedHeader(ByteReader& reader) const {
    if (major_ == 2 || !(tagFlags_ & kTagExtendedHeader)) return true;
    if (major_ == 3) {
        uint32_t size = reader.Be32();  // excludes its own four bytes
        reader.Skip(size);
    } else {
        uint32_t size = reader.Syncsafe32();  // includes its own four bytes
        if (size < 6) return false;
        reader.Skip(size - 4);
    }
    return !reader.Failed();
}

uint32_t FrameParser::FrameSize(ByteReader& reader, const Bytes& body) const {
    if (major_ == 2) return reader.Be24();
    if (major_ == 3) return reader.Be32();
    // 2.4 sizes are syncsafe, but some writers stored plain 2.3-style sizes: take the plain
    // reading when the syncsafe one is impossible or lands in the middle of a frame while the
    // plain one lands on the next frame.
    ByteReader probe = reader;
    uint32_t plain = probe.Be32();
    uint32_t syncsafe = reader.Syncsafe32();
    if (reader.Failed()) {
        reader = probe;
        return plain;
    }
    size_t dataStart = reader.Position() + 2;
    if (syncsafe != plain && !FrameFitsAt(body, dataStart + syncsafe) && FrameFitsAt(body, dataStart + plain))
        return plain;
    return syncsafe;
}

// Whether pos is a place a frame may end: the end of the tag, padding, or another frame.
bool FrameParser::FrameFitsAt(const Bytes& body, size_t pos) const {
    if (pos == body.size()) return true;
    if (pos > body.size()) return false;
    if (body[pos] == 0) return true;
    if (pos + idBytes_ > body.size()) return false;
    for (size_t i = 0; i < idBytes_; ++i)
        if (!IsFrameIdChar(body[pos + i])) return false;
    return true;
}

void FrameParser::OnFrame(const std::string& id, unsigned flags, ByteReader data) {
    Bytes restored;
    if (major_ == 3) {
        if (flags & (kV3Compressed | kV3Encrypted)) return;
        if (flags & kV3Grouped) data.Skip(1);
    } else if (major_ == 4) {
        if (flags & (kV4Compressed | kV4Encrypted)) return;
        if (flags & kV4Grouped) data.Skip(1);
        if (flags & kV4DataLength) data.Skip(4);
        if ((flags & kV4Unsync) || (tagFlags_ & kTagUnsync)) {
            restored = RemoveUnsync(data.Here(), data.Remaining());
            data = ByteReader(restored);
        }
    }
    if (data.Failed()) return;
    if (id == "COMM" || id == "COM") return OnComment(data);
    for (const TextFrame& frame : kTextFrames)
        if (id == frame.id) return OnText(frame.field, data);
}

void FrameParser::OnText(std::wstring FileTags::*field, ByteReader data) {
    if (!(tags_.*field).empty()) return;
    unsigned encoding = data.Byte();
    if (data.Failed()) return;
    // 2.4 separates several values with zero characters; the first one is shown.
    std::wstring value = TrimValue(ReadEncodedString(data, encoding));
    tags_.*field = field == &FileTags::genre ? ResolveGenre(value) : value;
}

// A comment with an empty description is the user's comment; described ones are often
// written by other programs (normalisation data, catalogue numbers) and used only when
// nothing better is found.
void FrameParser::OnComment(ByteReader data) {
    if (commentHasNoDescription_) return;
    unsigned encoding = data.Byte();
    data.Skip(3);  // language
    if (data.Failed()) return;
    std::wstring description = ReadEncodedString(data, encoding);
    std::wstring text = TrimValue(ReadEncodedString(data, encoding));
    if (text.empty()) return;
    if (description.empty()) {
        tags_.comment = text;
        commentHasNoDescription_ = true;
    } else if (tags_.comment.empty() && description.compare(0, 4, L"iTun") != 0) {
        tags_.comment = text;
    }
}

}  // namespace

uint64_t ReadId3v2(const TagFile& file, FileTags& tags) {
    Bytes head = file.Read(0, kHeaderBytes);
    if (head.size() < kHeaderBytes || std::memcmp(head.data(), "ID3", 3) != 0) return 0;
    unsigned major = head[3];
    unsigned flags = head[5];
    if (major < 2 || major > 4 || head[4] == 0xFF) return 0;
    ByteReader sizeField(head.data() + 6, 4);
    uint32_t size = sizeField.Syncsafe32();
    if (sizeField.Failed()) return 0;
    uint64_t end = kHeaderBytes + uint64_t{size} + (major == 4 && (flags & kTagFooter) ? kHeaderBytes : 0);
    if (end > file.Size()) return file.Size();
    if (size <= kMaxTagBytes) {
        FileTags found;
        FrameParser(major, flags, found).Parse(file.Read(kHeaderBytes, size));
        FillMissing(tags, found);
    }
    return end;
}
