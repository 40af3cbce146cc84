// Which records of one directory-change buffer each watcher posts, from buffers laid out as
// the system fills them.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "scan/ChangeRecords.h"

namespace {

std::vector<BYTE> Buffer(const std::vector<ChangeRecord>& records) {
    std::vector<BYTE> bytes;
    const size_t header = offsetof(FILE_NOTIFY_INFORMATION, FileName);
    for (size_t i = 0; i < records.size(); ++i) {
        size_t nameBytes = records[i].name.size() * sizeof(wchar_t);
        size_t size = (header + nameBytes + 3) & ~size_t{3};
        size_t at = bytes.size();
        bytes.resize(at + size);
        auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(bytes.data() + at);
        info->NextEntryOffset = i + 1 < records.size() ? static_cast<DWORD>(size) : 0;
        info->Action = records[i].action;
        info->FileNameLength = static_cast<DWORD>(nameBytes);
        std::memcpy(info->FileName, records[i].name.data(), nameBytes);
    }
    return bytes;
}

std::wstring Describe(const std::vector<ChangeRecord>& records) {
    std::wstring text;
    for (const ChangeRecord& record : records) text += std::to_wstring(record.action) + L":" + record.name + L" ";
    return text;
}

std::vector<ChangeRecord> RoundTrip(const std::vector<ChangeRecord>& records) {
    std::vector<BYTE> bytes = Buffer(records);
    return ReadChangeRecords(bytes.data(), static_cast<DWORD>(bytes.size()));
}

TEST(ChangeRecordsTest, FilesWatcherDropsOnlyWritesThatRepeatAFilePresent) {
    struct Case {
        const char* what;
        std::vector<ChangeRecord> in;
        std::vector<ChangeRecord> posted;
    };
    const Case cases[] = {
        {"a file saved: its writes after the addition add nothing",
         {{1, L"a.mp3"}, {3, L"a.mp3"}, {3, L"A.MP3"}},
         {{1, L"a.mp3"}}},
        {"several files copied in: every one is posted",
         {{1, L"a.mp3"}, {3, L"a.mp3"}, {1, L"b.mp3"}, {3, L"b.mp3"}, {1, L"c.mp3"}},
         {{1, L"a.mp3"}, {1, L"b.mp3"}, {1, L"c.mp3"}}},
        {"several files added without writes", {{1, L"a"}, {1, L"b"}, {1, L"c"}}, {{1, L"a"}, {1, L"b"}, {1, L"c"}}},
        {"several files removed", {{2, L"a"}, {2, L"b"}}, {{2, L"a"}, {2, L"b"}}},
        {"a rename: both names", {{4, L"old.mp3"}, {5, L"new.mp3"}}, {{4, L"old.mp3"}, {5, L"new.mp3"}}},
        {"a file written, then another", {{3, L"a"}, {3, L"b"}, {3, L"b"}}, {{3, L"a"}, {3, L"b"}}},
        {"a name comes back after another", {{1, L"a"}, {1, L"b"}, {2, L"a"}}, {{1, L"a"}, {1, L"b"}, {2, L"a"}}},
        {"unknown actions are skipped", {{0, L"a"}, {9, L"b"}, {1, L"c"}}, {{1, L"c"}}},
        {"a rename followed by writes of the new name", {{4, L"a"}, {5, L"b"}, {3, L"b"}}, {{4, L"a"}, {5, L"b"}}},
        // Each of these changes whether a file is there; the last record of a name says where
        // it ended up, and dropping one would lose a file or keep a removed one.
        {"a rename in case only", {{4, L"a.MP3"}, {5, L"a.mp3"}}, {{4, L"a.MP3"}, {5, L"a.mp3"}}},
        {"removed and added back", {{2, L"a"}, {1, L"a"}, {3, L"a"}}, {{2, L"a"}, {1, L"a"}}},
        {"added and removed", {{1, L"a"}, {3, L"a"}, {2, L"a"}}, {{1, L"a"}, {2, L"a"}}},
        {"removed after a write", {{3, L"a"}, {2, L"a"}}, {{3, L"a"}, {2, L"a"}}},
        {"renamed there and back",
         {{4, L"x"}, {5, L"y"}, {4, L"y"}, {5, L"x"}},
         {{4, L"x"}, {5, L"y"}, {4, L"y"}, {5, L"x"}}},
        {"a write after a removal is not a repeat", {{2, L"a"}, {3, L"a"}}, {{2, L"a"}, {3, L"a"}}},
    };
    for (const Case& c : cases) {
        std::vector<ChangeRecord> posted = FileRecordsToPost(RoundTrip(c.in));
        EXPECT_EQ(Describe(posted), Describe(c.posted)) << c.what;
    }
}

TEST(ChangeRecordsTest, FoldersWatcherPostsAllButModifications) {
    std::vector<ChangeRecord> in = {{1, L"New"}, {3, L"New"}, {4, L"New"}, {5, L"Album"}, {2, L"Old"}, {1, L"New"}};
    std::vector<ChangeRecord> posted = {{1, L"New"}, {4, L"New"}, {5, L"Album"}, {2, L"Old"}, {1, L"New"}};
    EXPECT_EQ(Describe(FolderRecordsToPost(RoundTrip(in))), Describe(posted));
}

TEST(ChangeRecordsTest, ReadingStopsAtTheBytesTransferred) {
    std::vector<ChangeRecord> in = {{1, L"Sub\\first.mp3"}, {1, L"second.mp3"}};
    std::vector<BYTE> bytes = Buffer(in);
    EXPECT_EQ(Describe(ReadChangeRecords(bytes.data(), static_cast<DWORD>(bytes.size()))), Describe(in));
    // A record cut off by the end of the transfer is not read.
    EXPECT_EQ(ReadChangeRecords(bytes.data(), static_cast<DWORD>(bytes.size() - 4)).size(), 1u);
    EXPECT_TRUE(ReadChangeRecords(bytes.data(), 0).empty());
}

}  // namespace
