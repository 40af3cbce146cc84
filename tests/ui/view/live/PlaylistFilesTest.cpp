// Playlist files through the real view: a root added from the tree's menu lists the entries of
// its file with their tags, edits are saved and read back in their order, the question and
// the read-only refusal, playlists found in folders, and the save at shutdown.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "bus/CommandCodes.h"
#include "db/TreeNode.h"
#include "livehost/LivePlugin.h"
#include "ui/view/CellText.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

using Texts = std::vector<std::wstring>;

constexpr int kPlaylistImage = 5;
constexpr int kFileNameBox = 1148;  // the open dialog's file name

struct DialogSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindOpenDialog(HWND window, LPARAM lp) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process != GetCurrentProcessId() || wcscmp(className, L"#32770") != 0 || !GetDlgItem(window, kFileNameBox))
        return TRUE;
    reinterpret_cast<DialogSearch*>(lp)->found = window;
    return FALSE;
}

// Types a path into the next open-file dialog of this process and presses Open, from a thread
// of its own: the dialog runs modally on the test's thread, which pumps meanwhile.
class OpenDialogAnswerer {
public:
    explicit OpenDialogAnswerer(std::wstring path)
        : thread_([this, path] {
              for (int i = 0; i < 600 && !answered_; ++i) {
                  DialogSearch search;
                  EnumWindows(&FindOpenDialog, reinterpret_cast<LPARAM>(&search));
                  if (search.found) {
                      SendMessageW(GetDlgItem(search.found, kFileNameBox), WM_SETTEXT, 0,
                                   reinterpret_cast<LPARAM>(path.c_str()));
                      PostMessageW(search.found, WM_COMMAND, IDOK, 0);
                      answered_ = true;
                  }
                  Sleep(50);
              }
          }) {}
    ~OpenDialogAnswerer() { thread_.join(); }
    bool Answered() const { return answered_; }

private:
    std::atomic<bool> answered_{false};
    std::thread thread_;
};

// Whether a box of this process with an empty title shows this text.
bool FindOwnBoxText(const wchar_t* text) {
    HWND box = FindOwnBox(L"");
    wchar_t shown[256] = {};
    return box && GetDlgItemTextW(box, 0xFFFF, shown, 256) && wcscmp(shown, text) == 0;
}

const char kFourEntries[] = "#EXTM3U\r\na.mp3\r\nRock\\b.mp3\r\nc.mp3\r\nd.mp3\r\n";

// The four after RemoveAndMove, written as read (UTF-8 without a mark) with the titles the host
// makes of the tags read.
const char kEditedAndSaved[] =
    "#EXTM3U\r\n#EXTINF:0,Ann - Alpha\r\na.mp3\r\n#EXTINF:0,Dee - Delta\r\nd.mp3\r\n#EXTINF:0,Cid - Charlie\r\nc.mp3\r\n";

class PlaylistFilesTest : public LivePluginTest {
protected:
    // Three tagged files of the library, one of them in a sub-folder.
    void AddTaggedFiles() {
        AddLibraryFile(L"a.mp3", {{L"title", L"Alpha"}, {L"artist", L"Ann"}});
        AddLibraryFile(L"Rock\\b.mp3", {{L"title", L"Bravo"}, {L"artist", L"Ben"}});
        AddLibraryFile(L"c.mp3", {{L"title", L"Charlie"}, {L"artist", L"Cid"}});
        AddLibraryFile(L"d.mp3", {{L"title", L"Delta"}, {L"artist", L"Dee"}});
    }
    // The four files in a playlist root, listed with their tags.
    void StartOnStoredPlaylist() {
        AddTaggedFiles();
        WriteBytes(ListPath(), kFourEntries);
        StorePlaylistRoot(ListPath());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(ListPath()));
        ASSERT_TRUE(ShowsTitles({L"Alpha", L"Bravo", L"Charlie", L"Delta"}));
    }
    std::wstring ListPath() const { return Library(L"mix.m3u8"); }

    Texts Titles() const { return ColumnTexts(kColumnTitle); }
    // Waits until the list shows these titles (their tags are read after the listing).
    bool ShowsTitles(const Texts& expected) {
        return PumpUntil([&] { return Titles() == expected; }, 20000);
    }

    TreeNode* NodeOf(const std::wstring& path) const {
        TVITEMW item = {};
        item.mask = TVIF_PARAM;
        item.hItem = ItemOf(path);
        if (!item.hItem || !TreeView_GetItem(Tree(), &item)) return nullptr;
        return reinterpret_cast<TreeNode*>(item.lParam);
    }
    int ImageOf(const std::wstring& path) const {
        TVITEMW item = {};
        item.mask = TVIF_IMAGE;
        item.hItem = ItemOf(path);
        TreeView_GetItem(Tree(), &item);
        return item.iImage;
    }
    // The playlist node with a reference, for the removal command.
    LPARAM PassNode(const std::wstring& path) const {
        TreeNode* node = NodeOf(path);
        if (node) node->AddRef();
        return reinterpret_cast<LPARAM>(node);
    }
    void SelectOnly(int row) const {
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetSelectionMark(List(), row);
    }
    bool HasUnsavedChanges(const std::wstring& path) const {
        TreeNode* node = NodeOf(path);
        return node && node->playlist && node->playlist->HasUnsavedChanges();
    }
    // Removes the second entry and moves the last one up: a, b, c, d become a, d, c.
    void RemoveAndMove() {
        SelectOnly(1);
        Command(kCmdRemovePlaylistRows, PassNode(ListPath()));
        ASSERT_EQ(Titles(), (Texts{L"Alpha", L"Charlie", L"Delta"}));
        SelectOnly(2);
        Command(kCmdMovePlaylistRows, static_cast<LPARAM>(-1));
        ASSERT_EQ(Titles(), (Texts{L"Alpha", L"Delta", L"Charlie"}));
    }
};

TEST_F(PlaylistFilesTest, ARootAddedFromTheTreeMenuListsTheEntriesOfItsFileWithTheirTags) {
    AddTaggedFiles();
    WriteBytes(ListPath(),
               "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1,Radio One\r\nhttp://radio.example/live\r\n"
               "Rock\\b.mp3\r\n#EXTINF:1,Old title\r\na.mp3\r\nhttp://radio.example/other\r\n");
    StartPlugin();
    OpenDialogAnswerer dialog(ListPath());
    PostCommand(kCmdInsertRoot, 1);  // "Insert root" > "Playlist"
    ASSERT_TRUE(PumpUntil([&] { return dialog.Answered() && ItemOf(ListPath()) != nullptr; }, 30000));
    ASSERT_TRUE(SelectAndWaitForListing(ListPath()));
    EXPECT_TRUE(ShowsTitles({L"Radio One", L"Bravo", L"Alpha", L"http://radio.example/other"}))
        << testing::PrintToString(Titles());
    Texts dates = ColumnTexts(kColumnLastChanged);
    ASSERT_EQ(dates.size(), 4u);
    EXPECT_EQ(dates[0], L"n/a") << "a URL has no date";
    EXPECT_NE(dates[1], L"n/a") << "a file has its own";
    EXPECT_EQ(ColumnTexts(kColumnArtist), (Texts{L"", L"Ben", L"Ann", L""}));
    EXPECT_FALSE(HasUnsavedChanges(ListPath()));
}

TEST_F(PlaylistFilesTest, RemovedAndMovedEntriesAreSavedAndReadBackInTheirNewOrder) {
    StartOnStoredPlaylist();
    RemoveAndMove();
    EXPECT_TRUE(HasUnsavedChanges(ListPath())) << "\"Save playlist\" is offered";
    Command(kCmdSavePlaylist, kSaveWithoutAsking);
    EXPECT_EQ(ReadBytes(ListPath()), kEditedAndSaved);
    EXPECT_FALSE(HasUnsavedChanges(ListPath())) << "\"Save playlist\" is greyed again";
    EXPECT_EQ(ImageOf(ListPath()), kPlaylistImage);

    // The next life reads the file afresh.
    CloseAndQuit();
    BeginNextLife();
    AddTaggedFiles();
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(ListPath()));
    EXPECT_TRUE(ShowsTitles({L"Alpha", L"Delta", L"Charlie"})) << testing::PrintToString(Titles());
}

TEST_F(PlaylistFilesTest, SavingFromTheMenuAsksFirstAndWritesOnlyOnYes) {
    StartOnStoredPlaylist();
    RemoveAndMove();
    {
        // The box is found as soon as it exists; its text follows a moment later.
        BoxAnswerer no(L"", IDNO, [] {
            for (int i = 0; i < 400 && !FindOwnBoxText(L"Save playlist?"); ++i) Sleep(20);
        });
        Command(kCmdSavePlaylist, kSaveAskingFirst);
        ASSERT_TRUE(PumpUntil([&] { return no.Done(); }, 20000));
        EXPECT_EQ(no.Join(), Texts{L"Save playlist?"});
    }
    EXPECT_EQ(ReadBytes(ListPath()), kFourEntries);
    EXPECT_TRUE(HasUnsavedChanges(ListPath()));
    {
        BoxAnswerer yes(L"", IDYES);
        Command(kCmdSavePlaylist, kSaveAskingFirst);
        ASSERT_TRUE(PumpUntil([&] { return yes.Done(); }, 20000));
    }
    EXPECT_NE(ReadBytes(ListPath()), kFourEntries);
    EXPECT_FALSE(HasUnsavedChanges(ListPath()));
}

TEST_F(PlaylistFilesTest, AReadOnlyPlaylistIsRefusedWithTheMessageAndLeftUnchanged) {
    StartOnStoredPlaylist();
    RemoveAndMove();
    SetFileAttributesW(ListPath().c_str(), FILE_ATTRIBUTE_READONLY);
    BoxAnswerer error(L"Error", IDOK);
    PostCommand(kCmdSavePlaylist, kSaveAskingFirst);
    EXPECT_TRUE(PumpUntil([&] { return error.Done(); }, 30000));
    Texts texts = error.Join();
    SetFileAttributesW(ListPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(texts, Texts{L"File is read-only. You can't save to a read-only file."});
    EXPECT_EQ(ReadBytes(ListPath()), kFourEntries);
    EXPECT_TRUE(HasUnsavedChanges(ListPath()));
}

// The new file is written beside the old one first; a folder standing in its way makes the
// write fail as a full disk would, after the question was answered.
TEST_F(PlaylistFilesTest, AFailedSaveSaysSoAndKeepsTheFileAndTheChanges) {
    StartOnStoredPlaylist();
    RemoveAndMove();
    ASSERT_TRUE(CreateDirectoryW((ListPath() + L".saving").c_str(), nullptr));
    BoxAnswerer error(L"Error", IDOK);
    PostCommand(kCmdSavePlaylist, kSaveWithoutAsking);
    EXPECT_TRUE(PumpUntil([&] { return error.Done(); }, 30000));
    EXPECT_EQ(error.Join().size(), 1u) << "the failure is reported";
    EXPECT_EQ(ReadBytes(ListPath()), kFourEntries);
    EXPECT_TRUE(HasUnsavedChanges(ListPath())) << "\"Save playlist\" stays offered";
    RemoveDirectoryW((ListPath() + L".saving").c_str());
    Command(kCmdSavePlaylist, kSaveWithoutAsking);
    EXPECT_FALSE(HasUnsavedChanges(ListPath())) << "saved once the way is clear";
}

TEST_F(PlaylistFilesTest, APlaylistFoundInAFolderListsItsFileAndIsSavedThere) {
    AddTaggedFiles();
    WriteBytes(ListPath(), "d.mp3\r\nRock\\b.mp3\r\n");  // no header, as some players write
    WritePrivateProfileStringW(L"General", L"Display tree playlists", L"1", SettingsPath().c_str());
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(PumpUntil([&] { return ItemOf(ListPath()) != nullptr; }, 20000)) << "the playlist is in the tree";
    ASSERT_TRUE(SelectAndWaitForListing(ListPath()));
    ASSERT_TRUE(ShowsTitles({L"Delta", L"Bravo"})) << testing::PrintToString(Titles());
    SelectOnly(0);
    Command(kCmdRemovePlaylistRows, PassNode(ListPath()));
    Command(kCmdSavePlaylist, kSaveWithoutAsking);
    EXPECT_EQ(ReadBytes(ListPath()), "#EXTM3U\r\n#EXTINF:0,Ben - Bravo\r\nRock\\b.mp3\r\n")
        << "UTF-8 as its name says, and still without a mark";
    EXPECT_EQ(ImageOf(ListPath()), kPlaylistImage);
}

// F5 reads the file again, so unsaved edits are offered a save first: No reads the file back
// (once they were cleared and left "modified", and a save then wrote an empty file), Yes saves.
TEST_F(PlaylistFilesTest, F5OnAnEditedPlaylistOffersASaveAndNeverEmptiesIt) {
    AddTaggedFiles();
    WriteBytes(ListPath(), "d.mp3\r\nRock\\b.mp3\r\n");
    WritePrivateProfileStringW(L"General", L"Display tree playlists", L"1", SettingsPath().c_str());
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(PumpUntil([&] { return ItemOf(ListPath()) != nullptr; }, 20000));
    ASSERT_TRUE(SelectAndWaitForListing(ListPath()));
    ASSERT_TRUE(ShowsTitles({L"Delta", L"Bravo"}));
    auto edit = [&] {
        SelectOnly(0);
        Command(kCmdRemovePlaylistRows, PassNode(ListPath()));
    };
    auto pressF5 = [&](int answer) {
        BoxAnswerer box(L"Confirmation", answer);
        SendMessageW(View(), WM_KEYDOWN, VK_F5, 0);
        EXPECT_TRUE(PumpUntil([&] { return box.Done(); }, 20000));
        return box.Join();
    };

    edit();
    EXPECT_EQ(pressF5(IDNO), Texts{L"Save playlist?"});
    EXPECT_TRUE(ShowsTitles({L"Delta", L"Bravo"})) << "the file's entries, read again";
    EXPECT_FALSE(HasUnsavedChanges(ListPath()));
    Command(kCmdSavePlaylist, kSaveWithoutAsking);
    EXPECT_EQ(ReadBytes(ListPath()), "d.mp3\r\nRock\\b.mp3\r\n") << "nothing to save, nothing written";

    edit();
    pressF5(IDYES);
    EXPECT_EQ(ReadBytes(ListPath()), "#EXTM3U\r\n#EXTINF:0,Ben - Bravo\r\nRock\\b.mp3\r\n");
    EXPECT_TRUE(ShowsTitles({L"Bravo"}));
}

TEST_F(PlaylistFilesTest, ChangedPlaylistRootsAreSavedAtShutdownWhenAutosaveIsOn) {
    WritePrivateProfileStringW(L"General", L"Autosave playlists on shutdown", L"1", SettingsPath().c_str());
    StartOnStoredPlaylist();
    RemoveAndMove();
    CloseAndQuit();
    EXPECT_EQ(ReadBytes(ListPath()), kEditedAndSaved);
}

}  // namespace
