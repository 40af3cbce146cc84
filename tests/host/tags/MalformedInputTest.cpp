// Damaged and foreign files: the reader must come back quickly with empty answers, never
// crash, and never trust a size field beyond what the file holds.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "host/tags/TagBytes.h"

namespace {

class MalformedInputTest : public testing::Test {
protected:
    TempFolder folder;
};

std::string Nul(size_t n) { return std::string(n, '\0'); }

bool IsEmpty(const FileTags& t) {
    return t.title.empty() && t.artist.empty() && t.album.empty() && t.year.empty() && t.track.empty() &&
           t.comment.empty() && t.genre.empty() && t.lengthMs == 0 && t.bitrateKbps == 0;
}

std::string FlacBlock(unsigned type, bool last, const std::string& body, size_t declared) {
    std::string head = {char(type | (last ? 0x80 : 0)), char(declared >> 16), char(declared >> 8), char(declared)};
    return head + body;
}

TEST_F(MalformedInputTest, ForeignAndBrokenFilesGiveNothing) {
    const std::string tit2 = Frame23("TIT2", Text(0, "Lost"));
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"zeros", Nul(64 * 1024)},
        {"text", "Notes about the album.\r\nNothing to play here.\r\n"},
        {"jpeg start", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10) + Nul(2000)},
        {"id3 header cut short", "ID3\x03"},
        {"id3 header without frames", std::string("ID3\x03\x00\x00", 6)},
        {"tag size past the end", Id3v2(3, tit2).substr(0, 10) + tit2.substr(0, 5)},
        {"tag size not syncsafe", std::string("ID3\x03\x00\x00\x00\x00\x80\x80", 10) + tit2},
        {"huge tag size", std::string("ID3\x04\x00\x00\x7F\x7F\x7F\x7F", 10) + tit2 + Nul(100)},
        {"frame size past the tag", Id3v2(3, "TIT2" + Be32(0x7FFFFFF0) + Nul(2) + Text(0, "Lost"))},
        {"frame header cut", Id3v2(3, tit2.substr(0, 7))},
        {"empty text frame", Id3v2(3, Frame23("TIT2", ""))},
        {"lone encoding byte", Id3v2(4, Frame24("TIT2", Text(3, "")))},
        {"comment shorter than its language", Id3v2(3, Frame23("COMM", Text(0, "en")))},
        {"odd utf-16", Id3v2(3, Frame23("TIT2", Text(1, "\xFF\xFE\x41")))},
        {"extended header past the tag", Id3v2(3, Be32(0x10000) + tit2, 0x40)},
        {"one sync word", std::string("\xFF\xFB\x90\x00", 4) + Nul(100)},
        {"flac marker only", "fLaC"},
        {"streaminfo cut", "fLaC" + FlacBlock(0, true, Nul(10), 34)},
        {"block size past the end", "fLaC" + FlacBlock(0, false, Nul(34), 34) + FlacBlock(4, true, Nul(8), 0xFFFFFF)},
        {"invalid block type", "fLaC" + FlacBlock(127, true, Nul(34), 34)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool recognised = true;
        FileTags tags = ReadBytes(folder, c.bytes, &recognised);
        EXPECT_FALSE(recognised);
        EXPECT_TRUE(IsEmpty(tags));
    }
}

TEST_F(MalformedInputTest, FramesBeforeTheDamageAreKept) {
    std::string frames = Frame23("TPE1", Text(0, "Kept")) + "TIT2" + Be32(0x7FFFFFF0) + Nul(2) + Text(0, "Lost");
    FileTags tags = ReadBytes(folder, Id3v2(3, frames) + SilentFrames(20));
    EXPECT_EQ(tags.artist, L"Kept");
    EXPECT_EQ(tags.title, L"");
    EXPECT_NEAR(tags.lengthMs, SilentMs(20), 30);
}

TEST_F(MalformedInputTest, TagsOverSixteenMegabytesAreIgnored) {
    std::string frames = Frame23("TIT2", Text(0, "Big")) + Nul(17 * 1024 * 1024);
    FileTags tags = ReadBytes(folder, Id3v2(3, frames) + SilentFrames(20));
    EXPECT_EQ(tags.title, L"");
    EXPECT_NEAR(tags.lengthMs, SilentMs(20), 30);  // the audio after the tag is still found
}

TEST_F(MalformedInputTest, LyingCountsInFlacCommentsStopAtTheBlock) {
    std::string comments = Be32(0) + "\xFF\xFF\xFF\xFF" + std::string("\x07\x00\x00\x00TITLE=X", 11) +
                           std::string("\xF0\xFF\xFF\x7F", 4);
    std::string streamInfo = Nul(10) + std::string("\x0A\xC4\x42\xF0\x00\x01\x58\x88", 8) + Nul(16);
    std::string flac = "fLaC" + FlacBlock(0, false, streamInfo, 34) +
                       FlacBlock(4, true, comments, comments.size()) + Nul(1000);
    FileTags tags = ReadBytes(folder, flac);
    EXPECT_EQ(tags.title, L"X");
    EXPECT_EQ(tags.lengthMs, 2000);  // 88,200 samples at 44.1 kHz
}

TEST_F(MalformedInputTest, FlacCutInsideItsCommentsHasNoLength) {
    std::string whole = ReadBytes(Fixture(L"tagged.flac"));
    ASSERT_GT(whole.size(), 200u);
    // flac writes STREAMINFO up to byte 42, a seek table up to 64 and the comments up to
    // about 260: the cuts land in each of them.
    for (size_t cut : {size_t{20}, size_t{60}, size_t{100}, size_t{200}}) {
        SCOPED_TRACE(cut);
        FileTags tags = ReadBytes(folder, whole.substr(0, cut));
        EXPECT_EQ(tags.title, L"");
        EXPECT_EQ(tags.lengthMs, 0);
    }
}

// Deterministic damage to real files and random bytes behind real markers: whatever comes
// back must stay within what the file could hold.
TEST_F(MalformedInputTest, ScrambledFilesNeverCrashOrInvent) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    std::vector<std::string> originals;
    for (const wchar_t* name : {L"cbr-v23.mp3", L"utf16.mp3", L"vbr.mp3", L"tagged.flac", L"lower-keys.flac"})
        originals.push_back(ReadBytes(Fixture(name)));
    for (const char* marker : {"ID3\x03", "ID3\x04", "fLaC"}) {
        std::string noise = marker + std::string(2, '\0');
        originals.push_back(noise);
    }
    int cases = 0;
    for (const std::string& original : originals) {
        ASSERT_FALSE(original.empty());
        for (int round = 0; round < 60; ++round, ++cases) {
            std::string bytes = original;
            if (bytes.size() < 64) {
                for (int i = 0; i < 600; ++i) bytes += char(next());
            }
            size_t head = bytes.size() < 4096 ? bytes.size() : 4096;
            for (unsigned changes = next() % 12 + 1; changes > 0; --changes)
                bytes[4 + next() % (head - 4)] = char(next());
            if (round % 3 == 0) bytes.resize(4 + next() % (bytes.size() - 4));
            FileTags tags = ReadBytes(folder, bytes);
            for (const std::wstring* text : {&tags.title, &tags.artist, &tags.album, &tags.year, &tags.track,
                                             &tags.comment, &tags.genre})
                ASSERT_LE(text->size(), bytes.size()) << "case " << cases;
            ASSERT_GE(tags.lengthMs, 0) << "case " << cases;
            ASSERT_GE(tags.bitrateKbps, 0) << "case " << cases;
        }
    }
}

}  // namespace
