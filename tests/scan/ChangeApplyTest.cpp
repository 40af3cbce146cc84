// Change notices and folder rescans applied to a scanned library: files stored, read again,
// renamed and removed; folders added, renamed and removed; a folder rescanned.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <utility>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/FileRecord.h"
#include "db/roots/FolderRoot.h"
#include "scan/ChangeApply.h"
#include "scan/ChangeNotice.h"
#include "scan/FileSystem.h"
#include "scan/FolderRootLoad.h"
#include "scan/ScanRows.h"
#include "scan/ScanTestSupport.h"

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
        ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan));
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

// A burst of changes reaches the cache as notices applied one after another, after the burst
// is over. Whatever the order and whichever notices of the burst were posted, each file on disk
// ends with one row under its current spelling, keeping its play count, and a removed file has
// none. Each case works in a folder of its own.
TEST_F(ChangeApplyTest, AfterABurstEveryFileOnDiskHasOneRowAndNoRemovedFileHasAny) {
    using Notices = std::vector<std::pair<std::wstring, ChangeAction>>;
    const ChangeAction kAdd = ChangeAction::kAdded, kRemove = ChangeAction::kRemoved,
                       kOld = ChangeAction::kOldName, kNew = ChangeAction::kNewName;
    struct Case {
        const wchar_t* what;
        std::vector<std::wstring> before;                    // files scanned before the burst
        std::function<void(const std::wstring&)> burst;      // given the folder, with its backslash
        Notices notices;                                     // applied in order
        std::vector<std::wstring> after;                     // the names stored at the end
    };
    // Wine cannot rename a file in case only (the call succeeds and changes nothing), so the
    // new spelling is reached through a name of its own; the notices are those Windows posts.
    auto move = [](const std::wstring& from, const std::wstring& to) {
        return [=](const std::wstring& folder) { RenameInCase(folder + from, folder + to); };
    };
    auto rewrite = [](const std::wstring& name) {
        return [=](const std::wstring& folder) {
            ASSERT_TRUE(DeleteFileW((folder + name).c_str()));
            WriteBytes(folder + name, "again");
        };
    };
    auto addAndRemove = [](const std::wstring& name) {
        return [=](const std::wstring& folder) {
            WriteBytes(folder + name, "brief");
            ASSERT_TRUE(DeleteFileW((folder + name).c_str()));
        };
    };
    auto thereAndBack = [](const std::wstring& a, const std::wstring& b) {
        return [=](const std::wstring& folder) {
            ASSERT_TRUE(MoveFileW((folder + a).c_str(), (folder + b).c_str()));
            ASSERT_TRUE(MoveFileW((folder + b).c_str(), (folder + a).c_str()));
        };
    };
    const std::wstring accented = L"\u00e9t\u00e9.mp3", capital = L"\u00c9T\u00c9.mp3";
    const Case cases[] = {
        {L"case-only rename", {L"a.MP3"}, move(L"a.MP3", L"a.mp3"), {{L"a.MP3", kOld}, {L"a.mp3", kNew}}, {L"a.mp3"}},
        {L"case-only rename, old name only", {L"a.MP3"}, move(L"a.MP3", L"a.mp3"), {{L"a.MP3", kOld}}, {L"a.mp3"}},
        {L"case-only rename of accented letters", {accented}, move(accented, capital),
         {{accented, kOld}, {capital, kNew}}, {capital}},
        {L"removed and added back", {L"b.mp3"}, rewrite(L"b.mp3"), {{L"b.mp3", kRemove}, {L"b.mp3", kAdd}}, {L"b.mp3"}},
        {L"removed and added back, removal only", {L"b.mp3"}, rewrite(L"b.mp3"), {{L"b.mp3", kRemove}}, {L"b.mp3"}},
        {L"added and removed", {}, addAndRemove(L"c.mp3"), {{L"c.mp3", kAdd}, {L"c.mp3", kRemove}}, {}},
        {L"added and removed, addition only", {}, addAndRemove(L"c.mp3"), {{L"c.mp3", kAdd}}, {}},
        {L"renamed there and back", {L"x.mp3"}, thereAndBack(L"x.mp3", L"y.mp3"),
         {{L"x.mp3", kOld}, {L"y.mp3", kNew}, {L"y.mp3", kOld}, {L"x.mp3", kNew}}, {L"x.mp3"}},
        {L"renamed there and back, second old name missing", {L"x.mp3"}, thereAndBack(L"x.mp3", L"y.mp3"),
         {{L"x.mp3", kOld}, {L"y.mp3", kNew}, {L"x.mp3", kNew}}, {L"x.mp3"}},
    };
    auto folderOf = [&](size_t i) { return Library() + L"Case" + std::to_wstring(i) + L"\\"; };
    for (size_t i = 0; i < std::size(cases); ++i) {
        MakeFolder(L"Case" + std::to_wstring(i));
        for (const std::wstring& name : cases[i].before) WriteBytes(folderOf(i) + name, "song");
    }
    ScanLibrary();
    Exec(L"UPDATE Files SET playcount=7");

    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        c.burst(folderOf(i));
        for (const auto& [name, action] : c.notices) FileNotice(folderOf(i) + name, action);
        EXPECT_EQ(NamesIn(folderOf(i)), c.after) << c.what;
        for (const std::wstring& name : c.after) {
            auto row = Row(folderOf(i) + name);
            if (!row) continue;
            EXPECT_EQ(row->fileExists, 1) << c.what;
            if (!c.before.empty()) {
                EXPECT_EQ(row->playCount, 7) << c.what << ": the row was kept";
            }
        }
    }
}

// A rescan meets a file renamed in case only as the same file.
TEST_F(ChangeApplyTest, RescanKeepsOneRowForAFileRenamedInCaseOnly) {
    std::wstring upper = MakeFile(L"Rock\\b.MP3");
    ScanLibrary();
    Exec(L"UPDATE Files SET playcount=4");
    std::wstring lower = Library() + L"Rock\\b.mp3";
    RenameInCase(upper, lower);
    Ref<TreeNode> rock = root->Node()->FindChild(Library() + L"Rock\\");
    ASSERT_TRUE(rock);
    RescanFolder(*root, *rock, database, *extensions, false);
    view.Pump();
    EXPECT_EQ(NamesIn(Library() + L"Rock\\"), std::vector<std::wstring>{L"b.mp3"});
    ASSERT_TRUE(Row(lower));
    EXPECT_EQ(Row(lower)->playCount, 4);
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
