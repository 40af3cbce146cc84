// ID3 tags the encoders never write: version 2.4 and 2.2, each text encoding,
// unsynchronisation, extended headers, genre references, comment choice and which tag wins.
#include <gtest/gtest.h>

#include "host/tags/TagBytes.h"

namespace {

const std::wstring kMixed = L"\u03a9mega caf\u00e9 \u5742\u672c";  // Greek, Latin-1 and CJK

class Id3TagTest : public testing::Test {
protected:
    FileTags ReadTagged(const std::string& tag, int frames = 100) {
        return ReadBytes(folder, tag + SilentFrames(frames));
    }
    TempFolder folder;
};

struct EncodingCase {
    const char* name;
    unsigned major;
    std::string frame;
    std::wstring title;
};

TEST_F(Id3TagTest, EveryVersionAndTextEncodingGivesTheTitle) {
    const std::string bomLe = "\xFF\xFE", bomBe = "\xFE\xFF";
    const EncodingCase cases[] = {
        {"2.3 latin-1", 3, Frame23("TIT2", Text(0, "caf\xE9")), L"caf\u00e9"},
        {"2.3 utf-16 le bom", 3, Frame23("TIT2", Text(1, bomLe + Utf16Le(kMixed))), kMixed},
        {"2.3 utf-16 be bom", 3, Frame23("TIT2", Text(1, bomBe + Utf16Be(kMixed))), kMixed},
        {"2.4 utf-8", 4, Frame24("TIT2", Text(3, Utf8(kMixed))), kMixed},
        {"2.4 utf-16be", 4, Frame24("TIT2", Text(2, Utf16Be(kMixed))), kMixed},
        {"2.4 utf-16 bom", 4, Frame24("TIT2", Text(1, bomLe + Utf16Le(kMixed))), kMixed},
        {"2.2 three-letter ids", 2,
         std::string("TT2") + Be32(unsigned(1 + 2 + kMixed.size() * 2)).substr(1) + Text(1, bomLe + Utf16Le(kMixed)),
         kMixed},
        {"terminator and second value", 4, Frame24("TIT2", Text(3, Utf8(kMixed) + '\0' + "Other")), kMixed},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileTags tags = ReadTagged(Id3v2(c.major, c.frame));
        EXPECT_EQ(tags.title, c.title);
        EXPECT_NEAR(tags.lengthMs, SilentMs(100), 30);
    }
}

TEST_F(Id3TagTest, AllTextFramesOfVersion24) {
    std::string frames = Frame24("TIT2", Text(3, "T")) + Frame24("TPE1", Text(3, Utf8(L"\u041a\u0438\u043d\u043e"))) +
                         Frame24("TALB", Text(3, "Al")) + Frame24("TDRC", Text(3, "1986-05-01")) +
                         Frame24("TRCK", Text(3, "03/12")) + Frame24("TCON", Text(3, "(17)")) +
                         Frame24("COMM", Text(3, "eng" + std::string("\0", 1) + "Said"));
    FileTags tags = ReadTagged(Id3v2(4, frames));
    EXPECT_EQ(tags.title, L"T");
    EXPECT_EQ(tags.artist, L"\u041a\u0438\u043d\u043e");
    EXPECT_EQ(tags.album, L"Al");
    EXPECT_EQ(tags.year, L"1986-05-01");
    EXPECT_EQ(tags.track, L"03/12");
    EXPECT_EQ(tags.genre, L"Rock");
    EXPECT_EQ(tags.comment, L"Said");
}

TEST_F(Id3TagTest, UnsynchronisedTagsAreRestored) {
    // U+00FF and the byte order mark put 0xFF bytes into UTF-16 text, which the writer had to
    // break up with zeros.
    const std::wstring title = L"\u00ffes \u00ff";
    std::string text23 = Text(1, "\xFF\xFE" + Utf16Le(title));
    std::string whole23 = Unsync(Frame23("TIT2", text23) + Frame23("TPE1", Text(0, "A")));
    FileTags v23 = ReadTagged(Id3v2(3, whole23, 0x80));
    EXPECT_EQ(v23.title, title);
    EXPECT_EQ(v23.artist, L"A");

    // In 2.4 each frame says so itself, with a data length indicator before the data.
    std::string data24 = Syncsafe(unsigned(text23.size())) + Unsync(text23);
    FileTags v24 = ReadTagged(Id3v2(4, Frame24("TIT2", data24, 0x0003) + Frame24("TPE1", Text(3, "B"))));
    EXPECT_EQ(v24.title, title);
    EXPECT_EQ(v24.artist, L"B");
}

TEST_F(Id3TagTest, ExtendedHeadersAndPaddingAreSkipped) {
    std::string ext23 = Be32(6) + std::string(6, '\0');
    std::string ext24 = Syncsafe(6) + std::string("\x01\x00", 2);
    std::string padding(600, '\0');
    FileTags v23 = ReadTagged(Id3v2(3, ext23 + Frame23("TIT2", Text(0, "three")) + padding, 0x40), 50);
    FileTags v24 = ReadTagged(Id3v2(4, ext24 + Frame24("TIT2", Text(0, "four")) + padding, 0x40), 50);
    EXPECT_EQ(v23.title, L"three");
    EXPECT_EQ(v24.title, L"four");
    EXPECT_NEAR(v23.lengthMs, SilentMs(50), 30);
    EXPECT_NEAR(v24.lengthMs, SilentMs(50), 30);
}

TEST_F(Id3TagTest, Version24FramesWithPlainSizesAreStillRead) {
    // Some writers put 2.3-style sizes into 2.4 tags; for frames under 128 bytes the two
    // readings agree, above that only one of them lands on the next frame.
    for (size_t length : {200u, 255u, 300u}) {
        SCOPED_TRACE(length);
        std::string comment = Text(0, "eng" + std::string(1, '\0') + std::string(length, 'c'));
        std::string frames = Frame23("COMM", comment) + Frame23("TIT2", Text(0, "after"));
        FileTags tags = ReadTagged(Id3v2(4, frames));
        EXPECT_EQ(tags.comment.size(), length);
        EXPECT_EQ(tags.title, L"after");
    }
}

TEST_F(Id3TagTest, GenreReferencesBecomeNames) {
    const struct {
        std::string stored;
        std::wstring shown;
    } cases[] = {
        {"(17)", L"Rock"},         {"17", L"Rock"},        {"(0)", L"Blues"},
        {"(79)", L"Hard Rock"},    {"(4)Eurodisco", L"Eurodisco"},
        {"(17)(6)", L"Rock"},      {"(RX)", L"Remix"},     {"(CR)", L"Cover"},
        {"((Bracketed)", L"(Bracketed)"},                  {"Shoegaze", L"Shoegaze"},
        {"(999)", L"(999)"},       {"1984", L"1984"},      {"(17", L"(17"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(ReadTagged(Id3v2(3, Frame23("TCON", Text(0, c.stored))), 5).genre, c.shown);
    }
    EXPECT_EQ(ReadBytes(folder, SilentFrames(5) + Id3v1("t", "a", 1, 17)).genre, L"Rock");
    EXPECT_EQ(ReadBytes(folder, SilentFrames(5) + Id3v1("t", "a", 1, 255)).genre, L"");
}

TEST_F(Id3TagTest, CommentWithoutDescriptionIsPreferred) {
    auto comm = [](const std::string& description, const std::string& text) {
        return Frame23("COMM", Text(0, "eng" + description + std::string(1, '\0') + text));
    };
    EXPECT_EQ(ReadTagged(Id3v2(3, comm("iTunNORM", " 0000 1111") + comm("", "mine"))).comment, L"mine");
    EXPECT_EQ(ReadTagged(Id3v2(3, comm("", "first") + comm("", "second"))).comment, L"first");
    EXPECT_EQ(ReadTagged(Id3v2(3, comm("Notes", "described"))).comment, L"described");
    EXPECT_EQ(ReadTagged(Id3v2(3, comm("iTunNORM", " 0000 1111"))).comment, L"");
    // UTF-16 descriptions end with two zero bytes on an even offset.
    std::string utf16 = "eng\xFF\xFE" + Utf16Le(L"d") + std::string(2, '\0') + "\xFF\xFE" + Utf16Le(L"\u00e9t\u00e9");
    EXPECT_EQ(ReadTagged(Id3v2(3, Frame23("COMM", Text(1, utf16)))).comment, L"\u00e9t\u00e9");
}

TEST_F(Id3TagTest, Version2WinsOverVersion1FieldByField) {
    std::string v2 = Id3v2(3, Frame23("TIT2", Text(0, "A title longer than thirty characters")));
    FileTags tags = ReadBytes(folder, v2 + SilentFrames(40) + Id3v1("Cut title", "Only in v1", 9, 8));
    EXPECT_EQ(tags.title, L"A title longer than thirty characters");
    EXPECT_EQ(tags.artist, L"Only in v1");
    EXPECT_EQ(tags.track, L"9");
    EXPECT_EQ(tags.genre, L"Jazz");
    // The version 1 tag is not audio.
    EXPECT_NEAR(tags.lengthMs, SilentMs(40), 30);
}

}  // namespace
