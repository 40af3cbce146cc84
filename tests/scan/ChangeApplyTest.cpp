// Change notices and folder rescans applied to a scanned library: files stored, read again,
// renamed and removed; folders added, renamed and removed; a folder rescanned.
#include <gtest/gtest.h>

#include "db/roots/FolderRoot.h"
#include "scan/ChangeApply.h"
#include "scan/ChangeNotice.h"
#include "scan/FileSystem.h"
#include "scan/FolderRootLoad.h"
#include "scan/ScanRows.h"
#include "scan/ScanTestSupport.h"
#include "db/FileRecord.h"
#include "ui/framework/Messages.h"
#include "ui/framework/WindowRegistry.h"
#include "ui/view/CommandCodes.h"

namespace {

// Registered as the host window: answers tag requests with a title made of the file name.
class TagHost {
public:
    TagHost() : window_(MakeMessageWindow(L"CvScanTestHost", &Proc, this)) { RegisterWindow(kHostWindowId, window_); }
    ~TagHost() {
        RegisterWindow(kHostWindowId, nullptr);
        DestroyWindow(window_);
    }
    int requests = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<TagHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self || message != kCommandMessage || !wp) return DefWindowProcW(window, message, wp, lp);
        auto& record = *reinterpret_cast<FileRecord*>(wp);
        ++self->requests;
        TagTexts tags;
        tags[static_cast<int>(TagField::kTitle)] = L"Title of " + std::wstring(record.FileName());
        record.SetTags(tags);
        record.tagged = true;
        return 1;
    }
    HWND window_;
};

// These tests hand the notices over themselves; watchers would report the same changes again.
class WithoutWatching : public FileSystem {
public:
    HANDLE OpenForWatching(const std::wstring&) override {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
};

class ChangeApplyTest : public testing::Test, protected ScanFixtureBase {
protected:
    ChangeApplyTest() : installed(withoutWatching), typeFilter{L"mp3", L"flac"} {}
    ~ChangeApplyTest() override {
        if (root) root->Close();
    }

    void ScanLibrary() {
        root = Ref<FolderRoot>::Make(Library(), 3, database);
        ASSERT_TRUE(root->Load(database, *extensions, kLoadFullScan));
        view.Pump();
        view.commands.clear();
    }

    void FileNotice(const std::wstring& path, ChangeAction action) {
        ApplyFileNotice(ChangeNotice(path, action, root), database, *extensions, typeFilter);
        view.Pump();
    }
    void FolderNotice(const std::wstring& path, ChangeAction action) {
        ApplyFolderNotice(ChangeNotice(path, action, root), database, *extensions, false);
        view.Pump();
    }

    WithoutWatching withoutWatching;
    ScopedFileSystem installed;
    ViewRecorder view;
    TypeFilter typeFilter;
    Ref<FolderRoot> root;
};

TEST_F(ChangeApplyTest, AddedFileInAKnownFolderIsStoredWithItsSizeAndTime) {
    MakeFile(L"Rock\\a.mp3");
    ScanLibrary();
    std::wstring added = MakeFile(L"Rock\\new.MP3", "1234567");
    FileNotice(added, ChangeAction::kAdded);
    auto row = Row(added);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->size, 7);
    EXPECT_EQ(row->changed, FileTimeOf(added));
    EXPECT_EQ(row->extension, L"mp3");
    EXPECT_EQ(row->fileExists, 1);
    EXPECT_FALSE(row->tagged);
    auto refresh = view.Of(kCmdRefreshList);
    ASSERT_EQ(refresh.size(), 1u);
    EXPECT_EQ(refresh[0].argument, 500);

    // Stored, but the list does not show the type: no refresh.
    view.commands.clear();
    std::wstring ogg = MakeFile(L"Rock\\b.ogg");
    FileNotice(ogg, ChangeAction::kAdded);
    EXPECT_TRUE(Row(ogg));
    std::wstring text = MakeFile(L"Rock\\c.txt");
    FileNotice(text, ChangeAction::kAdded);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE filename='c.txt'"), 0);
    EXPECT_TRUE(view.Of(kCmdRefreshList).empty());

    // A file met before its folder's own notice waits for that notice.
    std::wstring early = MakeFile(L"Unseen\\song.flac");
    FileNotice(early, ChangeAction::kAdded);
    EXPECT_FALSE(Row(early));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 3);
}

TEST_F(ChangeApplyTest, RemovedAndRenamedFilesLoseTheirRowsOnly) {
    std::wstring rock = MakeFile(L"Rock\\a.mp3");
    std::wstring pop = MakeFile(L"Pop\\a.mp3");
    ScanLibrary();
    DeleteFileW(rock.c_str());
    FileNotice(rock, ChangeAction::kRemoved);
    EXPECT_FALSE(Row(rock));
    EXPECT_TRUE(Row(pop)) << "the same name in another folder stays";

    std::wstring renamed = Library() + L"Pop\\b.mp3";
    MoveFileW(pop.c_str(), renamed.c_str());
    FileNotice(pop, ChangeAction::kOldName);
    FileNotice(renamed, ChangeAction::kNewName);
    EXPECT_FALSE(Row(pop));
    ASSERT_TRUE(Row(renamed));
    EXPECT_EQ(Row(renamed)->fileExists, 1);
}

TEST_F(ChangeApplyTest, WrittenFileIsReadAgainThroughTheHostKeepingItsPlayCount) {
    std::wstring song = MakeFile(L"Rock\\b.mp3");
    ScanLibrary();
    Exec(L"UPDATE Files SET playcount=12, tagged=1, title='Old', file_exists=0");

    // No host to answer: the row keeps its tags, and the file counts as present again.
    FileNotice(song, ChangeAction::kModified);
    EXPECT_EQ(Row(song)->title.value_or(L""), L"Old");
    EXPECT_EQ(Row(song)->fileExists, 1);

    TagHost host;
    FileNotice(song, ChangeAction::kModified);
    auto row = Row(song);
    EXPECT_EQ(host.requests, 1);
    EXPECT_EQ(row->title.value_or(L""), L"Title of b.mp3");
    EXPECT_EQ(row->tagged, 1);
    EXPECT_EQ(row->playCount, 12);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 1);
}

class UnopenableFiles : public WithoutWatching {
public:
    bool ReadSizeAndTime(const std::wstring&, long long&, long long&) override {
        SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    }
};

TEST_F(ChangeApplyTest, FileThatCannotBeOpenedTakesSizeAndTimeFromItsDirectoryEntry) {
    MakeFile(L"Rock\\a.mp3");
    ScanLibrary();
    std::wstring busy = MakeFile(L"Rock\\busy.mp3", "123456789");
    UnopenableFiles files;
    ScopedFileSystem installed(files);
    FileNotice(busy, ChangeAction::kAdded);
    auto row = Row(busy);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->size, 9) << "a size of 0 would hide the file as empty for good";
    EXPECT_EQ(row->changed, FileTimeOf(busy));
}

TEST_F(ChangeApplyTest, AddedFolderIsScannedWithItsSubtreeAndOfferedToTheView) {
    MakeFile(L"Rock\\a.mp3");
    ScanLibrary();
    MakeFile(L"New\\x.mp3");
    MakeFile(L"New\\Sub\\y.flac");
    FolderNotice(Library() + L"New", ChangeAction::kAdded);

    EXPECT_TRUE(Row(Library() + L"New\\x.mp3"));
    EXPECT_TRUE(Row(Library() + L"New\\Sub\\y.flac"));
    auto folder = FindFolderByPath(database, Library() + L"New\\");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->parentId, root->Node()->folderId);
    EXPECT_EQ(FindFolderByPath(database, Library() + L"New\\Sub\\")->parentId, folder->folderId);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Folder WHERE rootid=3"), 4);

    auto offered = view.Of(kCmdFolderAdded);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].path, Library() + L"New\\");
    EXPECT_EQ(offered[0].node->folderId, folder->folderId);
    ASSERT_EQ(offered[0].node->ChildCount(), 1u);
    EXPECT_EQ(offered[0].node->ChildAt(0)->path, Library() + L"New\\Sub\\");
}

TEST_F(ChangeApplyTest, RemovedFolderTakesItsWholeSubtreeAndNothingElse) {
    MakeFile(L"Disc_1\\a.mp3");
    MakeFile(L"Disc_1\\Sub\\b.mp3");
    MakeFile(L"Disc 1\\c.mp3");
    MakeFile(L"DiscA1\\d.mp3");
    MakeFile(L"Disc_10\\e.mp3");
    ScanLibrary();
    FolderNotice(Library() + L"Disc_1", ChangeAction::kRemoved);

    EXPECT_FALSE(Row(Library() + L"Disc_1\\a.mp3"));
    EXPECT_FALSE(Row(Library() + L"Disc_1\\Sub\\b.mp3"));
    EXPECT_FALSE(FindFolderByPath(database, Library() + L"Disc_1\\"));
    EXPECT_FALSE(FindFolderByPath(database, Library() + L"Disc_1\\Sub\\"));
    // The underscore is a character of the name, not a wildcard.
    EXPECT_TRUE(Row(Library() + L"Disc 1\\c.mp3"));
    EXPECT_TRUE(Row(Library() + L"DiscA1\\d.mp3"));
    EXPECT_TRUE(Row(Library() + L"Disc_10\\e.mp3"));
    auto removed = view.Of(kCmdFolderRemoved);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].path, Library() + L"Disc_1\\");

    // Without wildcards in the name, the plain prefix match does the same.
    FolderNotice(Library() + L"DiscA1", ChangeAction::kRemoved);
    EXPECT_FALSE(Row(Library() + L"DiscA1\\d.mp3"));
    EXPECT_TRUE(Row(Library() + L"Disc 1\\c.mp3"));
}

TEST_F(ChangeApplyTest, RescanOfAFolderDropsVanishedFilesBelowItOnly) {
    MakeFile(L"Rock\\a.mp3");
    std::wstring goneBelow = MakeFile(L"Rock\\Live\\b.mp3");
    MakeFile(L"Rock\\Live\\c.mp3");
    std::wstring goneElsewhere = MakeFile(L"Pop\\p.mp3");
    std::wstring goneWithFolder = MakeFile(L"Rock\\Demo\\d.mp3");
    ScanLibrary();
    DeleteFileW(goneBelow.c_str());
    DeleteFileW(goneElsewhere.c_str());
    DeleteFileW(goneWithFolder.c_str());
    RemoveDirectoryW((Library() + L"Rock\\Demo").c_str());
    std::wstring added = MakeFile(L"Rock\\n.mp3");
    Ref<TreeNode> rock = root->Node()->FindChild(Library() + L"Rock\\");
    ASSERT_TRUE(rock);
    size_t children = rock->ChildCount();

    RescanFolder(*root, *rock, database, *extensions, false);
    view.Pump();
    EXPECT_FALSE(Row(goneBelow));
    EXPECT_FALSE(Row(goneWithFolder));
    EXPECT_TRUE(Row(goneElsewhere)) << "outside the rescanned folder";
    EXPECT_TRUE(Row(added));
    EXPECT_TRUE(Row(Library() + L"Rock\\Live\\c.mp3"));
    EXPECT_TRUE(FindFolderByPath(database, Library() + L"Rock\\Demo\\")) << "folder rows stay";
    EXPECT_EQ(rock->ChildCount(), children);
    auto done = view.Of(kCmdFolderRescanned);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].node.get(), rock.get());
}

}  // namespace
