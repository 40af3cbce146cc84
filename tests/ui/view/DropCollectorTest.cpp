// Drops collected off the view's thread, over a made-up folder tree whose listing can be held
// at a gate: the drop returns while the walk goes on, the files arrive in order afterwards,
// Escape adds nothing, and closing neither hangs on a stuck walk nor adds anything.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Unique.h"
#include "support/TempFolder.h"
#include "ui/view/drop/DropCollector.h"

namespace {

using Paths = std::vector<std::wstring>;

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The dropped folder lists one.mp3, Sub and two.mp3; Sub lists three.mp3 once the gate opens.
// Deep goes on below itself, fifty folders a level, five levels down: far more than a test
// waits for.
class GatedFolders : public PlaylistStorage {
public:
    bool ListFolder(const std::wstring& folder, std::vector<StoredFileInfo>& entries) override {
        SetEvent(listed.get());
        if (EndsWith(folder, L"\\Sub")) {
            WaitForSingleObject(gate.get(), INFINITE);
            entries.push_back({L"three.mp3", FILE_ATTRIBUTE_NORMAL, 3, 3});
        } else if (size_t at = folder.find(L"\\Deep"); at != std::wstring::npos) {
            bool lowest = std::count(folder.begin() + at, folder.end(), L'\\') > 4;
            for (int i = 0; i < 50; ++i)
                entries.push_back({(lowest ? L"f" : L"d") + std::to_wstring(i),
                                   lowest ? DWORD{FILE_ATTRIBUTE_NORMAL} : DWORD{FILE_ATTRIBUTE_DIRECTORY}, 1, 1});
        } else {
            entries.push_back({L"one.mp3", FILE_ATTRIBUTE_NORMAL, 1, 1});
            entries.push_back({L"Sub", FILE_ATTRIBUTE_DIRECTORY, 0, 0});
            entries.push_back({L"two.mp3", FILE_ATTRIBUTE_NORMAL, 2, 2});
        }
        return true;
    }
    bool FindFile(const std::wstring&, StoredFileInfo& info) override {
        info.size = 9;
        return true;
    }

    UniqueHandle gate{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle listed{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

// This thread's messages, as the view's loop handles them, until done or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

Paths PathsOf(const Playlist& playlist) {
    Paths paths;
    for (const Ref<FileRecord>& entry : playlist.CopyEntries()) paths.push_back(entry->Path());
    return paths;
}

class DropCollectorTest : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(drop().c_str(), nullptr);
        CreateDirectoryW(deep().c_str(), nullptr);
        playlist->path = folder.File(L"list.m3u8");
        playlist->SetEntries({Ref<FileRecord>::Make(std::wstring_view(L"C:\\x.mp3")),
                              Ref<FileRecord>::Make(std::wstring_view(L"C:\\y.mp3"))});
    }
    std::wstring drop() const { return folder.File(L"Drop"); }
    std::wstring deep() const { return folder.File(L"Deep"); }

    DropCollector::Events Recording() {
        DropCollector::Events events;
        events.progress = [this](size_t found) { progress.push_back(found); };
        events.collected = [this](Playlist&, size_t added) { collected.push_back(added); };
        return events;
    }
    DropCollection DropOf(Paths paths, Ref<FileRecord> before = {}) {
        DropCollection collection;
        collection.playlist = playlist;
        collection.paths = std::move(paths);
        collection.before = std::move(before);
        collection.lookUpFiles = true;
        return collection;
    }
    bool WalkHeld() { return WaitForSingleObject(storage.listed.get(), 10000) == WAIT_OBJECT_0; }

    TempFolder folder;
    GatedFolders storage;
    Ref<Playlist> playlist = Ref<Playlist>::Make();
    std::vector<size_t> progress;
    std::vector<size_t> collected;
};

TEST_F(DropCollectorTest, ADropReturnsAtOnceAndItsFilesArriveInOrderAfterwards) {
    DropCollector collector(Recording(), storage);
    Ref<FileRecord> y = playlist->CopyEntries()[1];
    std::wstring loose = folder.File(L"loose.mp3");
    // Dropped on y: the folder's files, then ahead of them the file dropped after it.
    ASSERT_TRUE(collector.Collect(DropOf({drop(), loose}, y)));
    ASSERT_TRUE(WalkHeld());
    ASSERT_TRUE(WalkHeld()) << "the walk reached Sub and waits there";
    EXPECT_TRUE(collector.Busy());
    EXPECT_EQ(PathsOf(*playlist), (Paths{L"C:\\x.mp3", L"C:\\y.mp3"})) << "nothing goes in while the walk runs";
    EXPECT_EQ(progress, std::vector<size_t>{0}) << "the status line says so at once";
    // A second drop waits for the first and comes after it.
    ASSERT_TRUE(collector.Collect(DropOf({folder.File(L"late.mp3")})));

    SetEvent(storage.gate.get());
    ASSERT_TRUE(PumpUntil([&] { return !collector.Busy(); }));
    Paths expected = {L"C:\\x.mp3", loose, drop() + L"\\one.mp3", drop() + L"\\Sub\\three.mp3", drop() + L"\\two.mp3",
                      L"C:\\y.mp3", folder.File(L"late.mp3")};
    EXPECT_EQ(PathsOf(*playlist), expected);
    EXPECT_EQ(collected, (std::vector<size_t>{4, 1}));
    EXPECT_EQ(playlist->CopyEntries()[1]->size, 9) << "a file dropped on the list is looked up";
    EXPECT_TRUE(playlist->modified);
}

TEST_F(DropCollectorTest, EscapeAddsNothingOfTheRunningOrWaitingDropsAndTheNextIsTaken) {
    DropCollector collector(Recording(), storage);
    EXPECT_FALSE(collector.Stop()) << "nothing to stop";
    ASSERT_TRUE(collector.Collect(DropOf({drop()})));
    ASSERT_TRUE(WalkHeld());
    ASSERT_TRUE(WalkHeld());
    ASSERT_TRUE(collector.Collect(DropOf({folder.File(L"waiting.mp3")})));
    EXPECT_TRUE(collector.Stop());
    EXPECT_FALSE(collector.Busy());
    SetEvent(storage.gate.get());
    // Collected one after another: once this one is in, the stopped ones are over.
    ASSERT_TRUE(collector.Collect(DropOf({folder.File(L"after.mp3")})));
    ASSERT_TRUE(PumpUntil([&] { return !collector.Busy(); }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(PathsOf(*playlist), (Paths{L"C:\\x.mp3", L"C:\\y.mp3", folder.File(L"after.mp3")}));
    EXPECT_EQ(collected, std::vector<size_t>{1});
}

// The view closes while a walk runs: a walk that can stop, stops at once; one stuck in the
// file system is waited for only so long. Neither adds anything afterwards.
TEST_F(DropCollectorTest, ClosingWhileCollectingNeitherHangsNorAddsAnything) {
    auto collector = std::make_unique<DropCollector>(Recording(), storage);
    ASSERT_TRUE(collector->Collect(DropOf({deep()})));
    ASSERT_TRUE(WalkHeld());
    DWORD start = GetTickCount();
    collector.reset();
    EXPECT_LT(GetTickCount() - start, 2000u) << "the walk stops when told";

    static GatedFolders stuck;  // the stuck walk may outlive this test
    start = GetTickCount();
    {
        DropCollector collector(Recording(), stuck, 100);
        ASSERT_TRUE(collector.Collect(DropOf({drop()})));
        ASSERT_TRUE(WaitForSingleObject(stuck.listed.get(), 10000) == WAIT_OBJECT_0);
        ASSERT_TRUE(WaitForSingleObject(stuck.listed.get(), 10000) == WAIT_OBJECT_0);
    }
    EXPECT_LT(GetTickCount() - start, 2000u) << "closing waited for a walk that does not end";
    SetEvent(stuck.gate.get());
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(PathsOf(*playlist), (Paths{L"C:\\x.mp3", L"C:\\y.mp3"}));
    EXPECT_TRUE(collected.empty());
    EXPECT_EQ(playlist->RefCount(), 1) << "the collector let go of the playlist";
}

}  // namespace
