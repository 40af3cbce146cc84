// The tag callbacks the host formats display titles with.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "db/FileRecord.h"
#include "host/HostApi.h"
#include "scan/TitleTag.h"

namespace {

Ref<FileRecord> TaggedRecord(const std::wstring& title) {
    Ref<FileRecord> record = Ref<FileRecord>::Make(L"C:\\Music\\Post\\03 Hyperballad.mp3");
    record->SetTags({title, L"Bj\u00f6rk", L"Post", L"Pop", L"Remaster"});
    record->track = 3;
    record->year = 1995;
    return record;
}

// The answer as the host reads it: "<unknown>" for null, "<empty>" for the known-empty marker.
std::wstring Answer(const wchar_t* key, const FileRecord& record) {
    wchar_t* block = TitleTag(key, const_cast<FileRecord*>(&record));
    if (!block) return L"<unknown>";
    if (block == kTitleTagEmpty) return L"<empty>";
    std::wstring value = block;
    FreeTitleTag(block, nullptr);
    return value;
}

TEST(TitleTagTest, AnswersEachKeyIgnoringCase) {
    Ref<FileRecord> record = TaggedRecord(L"Hyperballad");
    struct Case { const wchar_t* key; std::wstring value; };
    const Case cases[] = {
        {L"FILENAME", record->Path()}, {L"filename", record->Path()}, {L"Artist", L"Bj\u00f6rk"},
        {L"TITLE", L"Hyperballad"}, {L"album", L"Post"}, {L"comment", L"Remaster"}, {L"GENRE", L"Pop"},
        {L"tracknumber", L"3"}, {L"Year", L"1995"},
        // Keys we do not keep: the host must ask its input plugins, not show them as empty.
        {L"track", L"<unknown>"}, {L"bitrate", L"<unknown>"}, {L"", L"<unknown>"},
    };
    for (const Case& c : cases) EXPECT_EQ(Answer(c.key, *record), c.value) << c.key;

    // Never read: known and empty, and no "0" track or year in the title.
    Ref<FileRecord> bare = Ref<FileRecord>::Make(L"C:\\a.mp3");
    for (const wchar_t* key : {L"title", L"artist", L"album", L"tracknumber", L"year"}) {
        EXPECT_EQ(Answer(key, *bare), L"<empty>") << key;
    }
    // A call without a key or a record cannot be answered from our cache.
    EXPECT_EQ(TitleTag(nullptr, record.get()), nullptr);
    EXPECT_EQ(TitleTag(L"title", nullptr), nullptr);
}

TEST(TitleTagTest, BlockIsZeroFilledAndALongValueKeepsItsTerminator) {
    Ref<FileRecord> record = TaggedRecord(std::wstring(300, L'x'));
    wchar_t* block = TitleTag(L"title", record.get());
    ASSERT_NE(block, nullptr);
    EXPECT_GE(GlobalSize(GlobalHandle(block)), 520u);
    EXPECT_EQ(std::wstring(block), std::wstring(259, L'x'));
    FreeTitleTag(block, nullptr);

    block = TitleTag(L"album", record.get());
    EXPECT_EQ(std::wstring(block, block + 260), L"Post" + std::wstring(256, L'\0'));
    FreeTitleTag(block, nullptr);
}

// Blocks of an answer's size alive in the process heap, where GlobalAlloc takes fixed blocks from.
int LiveAnswerBlocks() {
    int live = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(GetProcessHeap());
    while (HeapWalk(GetProcessHeap(), &entry)) {
        live += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.cbData >= 520 && entry.cbData < 600;
    }
    HeapUnlock(GetProcessHeap());
    return live;
}

TEST(TitleTagTest, FreeCallbackReleasesTheBlock) {
    Ref<FileRecord> record = TaggedRecord(L"Hyperballad");
    int before = LiveAnswerBlocks();
    for (int i = 0; i < 1000; ++i) FreeTitleTag(TitleTag(L"title", record.get()), nullptr);
    EXPECT_LT(LiveAnswerBlocks(), before + 10);
}

}  // namespace
