// Records made in blocks: each keeps its own texts, a record held past its listing stays whole,
// and every record of a block is destroyed with it (seen through the folder texts they hold).
#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "db/RecordBlock.h"

namespace {

FileRecord::TagViews Tags(std::wstring_view title, std::wstring_view artist) {
    FileRecord::TagViews tags;
    tags[static_cast<int>(TagField::kTitle)] = title;
    tags[static_cast<int>(TagField::kArtist)] = artist;
    return tags;
}

TEST(RecordBlockTest, RecordsAcrossManyBlocksKeepTheirTextsAndFreeTogether) {
    auto folder = Ref<TextObject>::Make(L"D:\\Music\\");
    std::vector<Ref<FileRecord>> rows;
    Ref<FileRecord> kept;
    {
        RecordMaker maker;
        // Long enough texts that the records fill several blocks.
        for (int i = 0; i < 3000; ++i) {
            std::wstring name = std::to_wstring(i) + L".mp3";
            rows.push_back(maker.Make(folder, name, Tags(std::wstring(100 + i % 50, L't'), L"Artist")));
            rows.back()->fileId = i;
        }
        kept = rows[1234];
    }
    EXPECT_EQ(folder->RefCount(), 1 + 3000);
    for (int i : {0, 1, 1499, 2999}) {
        EXPECT_EQ(rows[i]->FileName(), std::to_wstring(i) + L".mp3");
        EXPECT_EQ(rows[i]->Tag(TagField::kTitle)->size(), 100u + i % 50);
        EXPECT_FALSE(rows[i]->Tag(TagField::kAlbum));
        EXPECT_EQ(rows[i]->fileId, i);
    }
    rows.clear();
    // Only the kept record's block is left: fewer folder references than records made, more than one.
    long left = folder->RefCount() - 1;
    EXPECT_GT(left, 1);
    EXPECT_LT(left, 3000);
    EXPECT_EQ(kept->FileName(), L"1234.mp3");
    EXPECT_EQ(kept->Path(), L"D:\\Music\\1234.mp3");
    kept.Reset();
    EXPECT_EQ(folder->RefCount(), 1);
}

TEST(RecordBlockTest, RetaggedRecordInABlockStillFreesEveryNeighbour) {
    auto folder = Ref<TextObject>::Make(L"E:\\");
    Ref<FileRecord> first, second;
    {
        RecordMaker maker;
        first = maker.Make(folder, L"a.flac", Tags(L"Short", L""));
        second = maker.Make(folder, L"b.flac", Tags(L"Title", L"Artist"));
    }
    TagTexts longer;
    longer[static_cast<int>(TagField::kTitle)] = std::wstring(500, L'x');
    longer[static_cast<int>(TagField::kComment)] = L"read later";
    first->SetTags(longer);
    first->SetPath(folder, L"renamed.flac");
    EXPECT_EQ(first->FileName(), L"renamed.flac");
    EXPECT_EQ(first->Tag(TagField::kTitle)->size(), 500u);
    EXPECT_EQ(second->FileName(), L"b.flac") << "the neighbour's texts are untouched";
    EXPECT_EQ(second->TagOrEmpty(TagField::kArtist), L"Artist");
    first.Reset();
    second.Reset();
    EXPECT_EQ(folder->RefCount(), 1);
}

FileRecord::TagViews AlbumTags(std::optional<std::wstring_view> title, std::optional<std::wstring_view> artist,
                               std::optional<std::wstring_view> album, std::optional<std::wstring_view> genre,
                               std::optional<std::wstring_view> comment) {
    return {title, artist, album, genre, comment};
}

std::vector<std::wstring> TagsOf(const FileRecord& record) {
    std::vector<std::wstring> out;
    for (int i = 0; i < kTagFieldCount; ++i)
        out.push_back(std::wstring(record.Tag(static_cast<TagField>(i)).value_or(L"(absent)")));
    return out;
}

// The files of an album repeat its artist and album: a record keeps the text of the one before
// rather than a copy, and every record still reads its own tags, whichever of them repeat, and
// after the record whose texts it shares is retagged, renamed or released.
TEST(RecordBlockTest, TagsRepeatedFromTheRecordBeforeAreSharedAndSurviveItsEdits) {
    auto folder = Ref<TextObject>::Make(L"D:\\Album\\");
    using Tags5 = std::vector<std::wstring>;
    const FileRecord::TagViews made[] = {
        AlbumTags(L"One", L"The Band", L"First Album", L"Rock", std::nullopt),
        AlbumTags(L"Two", L"The Band", L"First Album", L"Rock", L""),
        AlbumTags(L"Three", L"The Band", L"First Album", L"Pop", L"x"),
        AlbumTags(L"Four", L"The Band", L"First Album", L"Pop", L"x"),       // one character: copied
        AlbumTags(L"Five", L"The Bend", L"First Album", std::nullopt, L"x"),  // same length, other text
        AlbumTags(L"Six", L"The Band", L"", L"Pop", L"Remastered"),
        AlbumTags(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt),
        AlbumTags(L"Eight", L"The Band", L"First Album", L"Pop", L"Remastered"),
    };
    const Tags5 expected[] = {
        {L"One", L"The Band", L"First Album", L"Rock", L"(absent)"},
        {L"Two", L"The Band", L"First Album", L"Rock", L""},
        {L"Three", L"The Band", L"First Album", L"Pop", L"x"},
        {L"Four", L"The Band", L"First Album", L"Pop", L"x"},
        {L"Five", L"The Bend", L"First Album", L"(absent)", L"x"},
        {L"Six", L"The Band", L"", L"Pop", L"Remastered"},
        {L"(absent)", L"(absent)", L"(absent)", L"(absent)", L"(absent)"},
        {L"Eight", L"The Band", L"First Album", L"Pop", L"Remastered"},
    };
    std::vector<Ref<FileRecord>> rows;
    {
        RecordMaker maker;
        for (size_t i = 0; i < std::size(made); ++i)
            rows.push_back(maker.Make(folder, std::to_wstring(i) + L".mp3", made[i]));
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(TagsOf(*rows[i]), expected[i]) << i;
        EXPECT_EQ(rows[i]->FileName(), std::to_wstring(i) + L".mp3");
    }
    const wchar_t* firstArtist = rows[0]->Tag(TagField::kArtist)->data();
    EXPECT_EQ(rows[3]->Tag(TagField::kArtist)->data(), firstArtist) << "a repeated tag is not copied";

    TagTexts retagged;
    retagged[static_cast<int>(TagField::kArtist)] = L"Someone Else";
    rows[0]->SetTags(retagged);
    rows[0]->SetPath(folder, L"renamed.mp3");
    rows[1]->SetTags(retagged);
    EXPECT_EQ(rows[0]->TagOrEmpty(TagField::kArtist), L"Someone Else");
    EXPECT_EQ(rows[1]->TagOrEmpty(TagField::kAlbum), L"");
    rows[0].Reset();
    for (size_t i = 2; i < rows.size(); ++i) EXPECT_EQ(TagsOf(*rows[i]), expected[i]) << i;
    rows.clear();
    EXPECT_EQ(folder->RefCount(), 1);
}

// A run of one artist longer than a block: the records past the block's end write the text
// again rather than point into a block they do not keep alive.
TEST(RecordBlockTest, SharedTagsNeverReachIntoAnotherBlock) {
    auto folder = Ref<TextObject>::Make(L"D:\\Long\\");
    const std::wstring artist(300, L'a');
    std::vector<Ref<FileRecord>> rows;
    {
        RecordMaker maker;
        for (int i = 0; i < 4000; ++i)
            rows.push_back(maker.Make(folder, std::wstring(200, L'n') + std::to_wstring(i), Tags(L"t", artist)));
    }
    // Freeing the first records frees their blocks; the later ones must not have needed them.
    Ref<FileRecord> last = rows.back();
    rows.erase(rows.begin(), rows.begin() + 3000);
    for (const Ref<FileRecord>& row : rows) ASSERT_EQ(row->TagOrEmpty(TagField::kArtist), artist);
    rows.clear();
    EXPECT_EQ(last->TagOrEmpty(TagField::kArtist), artist);
    last.Reset();
    EXPECT_EQ(folder->RefCount(), 1);
}

TEST(RecordBlockTest, RecordTooBigForABlockIsMadeOnItsOwn) {
    auto folder = Ref<TextObject>::Make(L"F:\\");
    std::wstring huge(0xFFFE, L'h');
    FileRecord::TagViews tags;
    for (auto& tag : tags) tag = huge;
    RecordMaker maker;
    Ref<FileRecord> small = maker.Make(folder, L"s.mp3", Tags(L"", L""));
    Ref<FileRecord> big = maker.Make(folder, L"big.mp3", tags);
    Ref<FileRecord> after = maker.Make(folder, L"t.mp3", Tags(L"", L""));
    EXPECT_EQ(big->Tag(TagField::kComment)->size(), 0xFFFEu);
    EXPECT_EQ(big->FileName(), L"big.mp3");
    EXPECT_EQ(after->FileName(), L"t.mp3");
    EXPECT_EQ(small->Tag(TagField::kTitle).value_or(L"?"), L"");
}

}  // namespace
