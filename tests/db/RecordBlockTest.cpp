// Records made in blocks: each keeps its own texts, a record held past its listing stays whole,
// and every record of a block is destroyed with it (seen through the folder texts they hold).
#include <gtest/gtest.h>

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
