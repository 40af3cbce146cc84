// A playlist's entries are listed on the worker while the view edits them on its own thread:
// each listing sees the entries before or after an edit, never in the middle of one.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/TreeNode.h"
#include "playlists/Playlist.h"
#include "support/TempFolder.h"

namespace {

constexpr size_t kBatch = 20;
constexpr int kBatches = 16;

Playlist::Entries Batch() {
    Playlist::Entries batch;
    for (size_t i = 0; i < kBatch; ++i) batch.push_back(Ref<FileRecord>::Make(L"C:\\Music\\" + std::to_wstring(i) + L".mp3"));
    return batch;
}

// A listing reads the cache once per entry, so it takes a while; every edit is made while one
// runs. The list grows past several reallocations of its storage, then shrinks, a batch at a time.
TEST(PlaylistEntriesTest, AListingTakenWhileTheEntriesChangeHoldsWholeBatches) {
    TempFolder folder;
    CacheDatabase database(folder.path());
    ASSERT_TRUE(database.CreateSchema());
    auto node = Ref<TreeNode>::Make(NodeKind::kPlaylist, folder.File(L"list.m3u"));
    node->playlist = Ref<Playlist>::Make();
    Playlist& playlist = *node->playlist;

    std::atomic<bool> stop{false};
    std::atomic<int> listings{0};
    std::atomic<long long> torn{-1};
    std::thread lister([&] {
        while (!stop) {
            std::unique_ptr<ListResult> result(ListForNode(database, node.get(), L"", false, false));
            size_t rows = result->rows->rows.size();
            if (rows % kBatch != 0 && torn < 0) torn = static_cast<long long>(rows);
            ++listings;
        }
    });
    // Waits until the lister has begun another listing since the last edit.
    auto nextListing = [&] {
        int seen = listings;
        DWORD start = GetTickCount();
        while (listings < seen + 2 && GetTickCount() - start < 30000) Sleep(0);
    };
    Playlist::Entries batch = Batch();
    for (int i = 0; i < kBatches; ++i) {
        playlist.Append(batch);
        nextListing();
    }
    for (int i = 0; i < kBatches; ++i) {
        playlist.EditEntries([](Playlist::Entries& entries) { entries.resize(entries.size() - kBatch); });
        nextListing();
    }
    stop = true;
    lister.join();
    EXPECT_EQ(torn, -1) << "a listing held " << torn << " rows";
    EXPECT_EQ(playlist.EntryCount(), 0u);
}

}  // namespace
