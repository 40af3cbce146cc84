// MPEG audio (layers I to III, MPEG 1, 2 and 2.5): the first frame after the tag, and the
// play length and bitrate from a Xing, Info or VBRI header or else from the file size.
#include <climits>
#include <cstring>

#include "TagFormats.h"

namespace {

// Junk before the first frame beyond this is taken to mean the file is not MPEG audio.
constexpr size_t kSearchBytes = 256 * 1024;

enum MpegVersion : unsigned { kMpeg25 = 0, kMpegReserved = 1, kMpeg2 = 2, kMpeg1 = 3 };
enum MpegLayer : unsigned { kLayerReserved = 0, kLayer3 = 1, kLayer2 = 2, kLayer1 = 3 };
enum ChannelMode : unsigned { kMono = 3 };

// kbit/s by [MPEG 1 or not][layer I, II, III][bitrate index]; index 0 (free format) and 15
// (invalid) are refused before the table is used.
const unsigned short kBitrates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};
const unsigned kSampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

struct FrameHeader {
    unsigned version = 0, layer = 0, kbps = 0, sampleRate = 0, channelMode = 0;
    unsigned bytes = 0;            // whole frame, header included
    unsigned samplesPerFrame = 0;
};

bool ParseHeader(const unsigned char* p, FrameHeader& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    h.version = (p[1] >> 3) & 3;
    h.layer = (p[1] >> 1) & 3;
    unsigned bitrateIndex = p[2] >> 4;
    unsigned rateIndex = (p[2] >> 2) & 3;
    unsigned padding = (p[2] >> 1) & 1;
    if (h.version == kMpegReserved || h.layer == kLayerReserved || bitrateIndex == 0 ||
        bitrateIndex == 15 || rateIndex == 3 || (p[3] & 3) == 2)
        return false;
    bool mpeg1 = h.version == kMpeg1;
    h.kbps = kBitrates[mpeg1 ? 0 : 1][3 - h.layer][bitrateIndex];
    h.sampleRate = kSampleRates[h.version][rateIndex];
    h.channelMode = p[3] >> 6;
    if (h.layer == kLayer1) {
        h.samplesPerFrame = 384;
        h.bytes = (12000 * h.kbps / h.sampleRate + padding) * 4;
    } else {
        h.samplesPerFrame = h.layer == kLayer3 && !mpeg1 ? 576 : 1152;
        h.bytes = h.samplesPerFrame / 8 * 1000 * h.kbps / h.sampleRate + padding;
    }
    return h.bytes > 4;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
    return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// The first offset in data where a frame starts whose successor starts right after it, or
// whose end is the end of the audio. A lone sync pattern in junk rarely passes both tests.
bool FindFirstFrame(const Bytes& data, bool reachesEnd, size_t& at, FrameHeader& header) {
    for (size_t i = 0; i + 4 <= data.size(); ++i) {
        if (!ParseHeader(&data[i], header)) continue;
        size_t next = i + header.bytes;
        FrameHeader following;
        if (next + 4 <= data.size() ? ParseHeader(&data[next], following) && SameStream(header, following)
                                    : reachesEnd && next == data.size()) {
            at = i;
            return true;
        }
    }
    return false;
}

// What a Xing/Info or VBRI header says about the whole stream.
struct StreamInfo {
    bool found = false;
    bool constantBitrate = false;  // an "Info" header: the encoder wrote every frame alike
    uint64_t frames = 0;
    uint64_t bytes = 0;            // 0 when not given
    uint64_t trimmedSamples = 0;   // encoder delay and padding, not part of the sound
};

unsigned SideInfoBytes(const FrameHeader& h) {
    if (h.version == kMpeg1) return h.channelMode == kMono ? 17 : 32;
    return h.channelMode == kMono ? 9 : 17;
}

enum XingFlag : uint32_t { kXingFrames = 1, kXingBytes = 2, kXingToc = 4, kXingQuality = 8 };
constexpr size_t kXingTocBytes = 100;
constexpr size_t kVbriOffset = 4 + 32;

// An encoder extension after the Xing fields carries the delay and padding, 12 bits each,
// 21 bytes into it.
void ReadEncoderTrim(ByteReader reader, StreamInfo& info) {
    if (reader.Remaining() < 24) return;
    const unsigned char* p = reader.Here();
    if (std::memcmp(p, "LAME", 4) != 0 && std::memcmp(p, "Lavc", 4) != 0 && std::memcmp(p, "Lavf", 4) != 0)
        return;
    reader.Skip(21);
    uint32_t both = reader.Be24();
    info.trimmedSamples = (both >> 12) + (both & 0xFFF);
}

StreamInfo ReadStreamInfo(const unsigned char* frame, size_t available, const FrameHeader& h) {
    StreamInfo info;
    ByteReader reader(frame, available < h.bytes ? available : h.bytes);
    reader.Skip(4 + SideInfoBytes(h));
    bool xing = reader.Remaining() >= 8 && std::memcmp(reader.Here(), "Xing", 4) == 0;
    bool infoTag = reader.Remaining() >= 8 && std::memcmp(reader.Here(), "Info", 4) == 0;
    if (xing || infoTag) {
        info.constantBitrate = infoTag;
        reader.Skip(4);
        uint32_t flags = reader.Be32();
        if (flags & kXingFrames) info.frames = reader.Be32();
        if (flags & kXingBytes) info.bytes = reader.Be32();
        if (flags & kXingToc) reader.Skip(kXingTocBytes);
        if (flags & kXingQuality) reader.Skip(4);
        if (!reader.Failed()) ReadEncoderTrim(reader, info);
        info.found = !reader.Failed() && info.frames > 0;
        return info;
    }
    ByteReader vbri(frame, available < h.bytes ? available : h.bytes);
    vbri.Skip(kVbriOffset);
    if (vbri.Remaining() >= 18 && std::memcmp(vbri.Here(), "VBRI", 4) == 0) {
        vbri.Skip(4 + 2 + 2 + 2);  // tag, version, delay, quality
        info.bytes = vbri.Be32();
        info.frames = vbri.Be32();
        info.found = !vbri.Failed() && info.frames > 0;
    }
    return info;
}

int ClampToInt(uint64_t value) { return value > INT_MAX ? INT_MAX : static_cast<int>(value); }

}  // namespace

bool ReadMpegAudio(const TagFile& file, uint64_t start, uint64_t end, FileTags& tags) {
    if (start >= end) return false;
    uint64_t span = end - start;
    bool windowReachesEnd = span <= kSearchBytes;
    Bytes window = file.Read(start, windowReachesEnd ? static_cast<size_t>(span) : kSearchBytes);
    size_t at = 0;
    FrameHeader h;
    if (!FindFirstFrame(window, windowReachesEnd, at, h)) return false;

    uint64_t audioBytes = end - (start + at);
    StreamInfo info = ReadStreamInfo(&window[at], window.size() - at, h);
    if (!info.found) {
        tags.bitrateKbps = static_cast<int>(h.kbps);
        tags.lengthMs = ClampToInt(audioBytes * 8 / h.kbps);  // bits / (kbit/s) = ms
        return true;
    }
    uint64_t samples = info.frames * h.samplesPerFrame;
    if (info.trimmedSamples < samples) samples -= info.trimmedSamples;
    uint64_t ms = (samples * 1000 + h.sampleRate / 2) / h.sampleRate;
    tags.lengthMs = ClampToInt(ms);
    uint64_t bytes = info.bytes ? info.bytes : audioBytes;
    if (info.constantBitrate) tags.bitrateKbps = static_cast<int>(h.kbps);
    else if (ms > 0) tags.bitrateKbps = ClampToInt((bytes * 8 + ms / 2) / ms);
    return true;
}
