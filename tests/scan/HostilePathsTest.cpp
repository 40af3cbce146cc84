// Paths and names that break careless code: folders nested beyond MAX_PATH characters, names
// holding quotes, LIKE wildcards, brackets, "#", ";", combining marks, CJK and characters
// outside the BMP. Each file is scanned, stored under its exact name, found by a search for
// its own odd characters, and read back from a playlist; a folder that vanishes while the scan
// walks its parent is passed over quietly.
#include <gtest/gtest.h>

#include <set>

#include "base/Path.h"
#include "base/Text.h"
#include "db/Listing.h"
#include "db/ListingOptions.h"
#include "db/roots/FolderRoot.h"
#include "playlists/EntryPaths.h"
#include "playlists/PlaylistFile.h"
#include "scan/FileSystem.h"
#include "scan/FolderRootLoad.h"
#include "scan/ScanTestSupport.h"

namespace {

const std::wstring kStrangeNames[] = {
    L"it's",      L"100% pure", L"a_b",          L"[live]",  L"#1 hit", L"semi;colon",
    L"Cafe\u0301", L"\u97f3\u697d", L"\xD83C\xDFB5 note", L"x!y",
};

// Eight folders of forty characters: the files below lie more than 320 characters deep.
std::wstring DeepRelative() {
    std::wstring path;
    for (int i = 0; i < 8; ++i) path += L"a folder with a rather long name no " + std::to_wstring(i) + L"\\";
    return path;
}

class HostilePathsTest : public testing::Test, protected ScanFixtureBase {
protected:
    ~HostilePathsTest() override {
        for (Ref<FolderRoot>& root : roots) root->Close();
    }

    // Made through the long form, as a user's tools would on a system that allows long paths.
    std::wstring MakeLongFile(const std::wstring& relative) {
        std::wstring path = Library();
        for (size_t at = 0, slash; (slash = relative.find(L'\\', at)) != std::wstring::npos; at = slash + 1) {
            path = Library() + relative.substr(0, slash);
            CreateDirectoryW(LongPathForm(path).c_str(), nullptr);
        }
        WriteBytes(Library() + relative, "data");
        return Library() + relative;
    }

    bool ScanLibrary() {
        roots.push_back(Ref<FolderRoot>::Make(Library(), 1, database));
        return roots.back()->Load(FolderRootLoader(database, *extensions), kLoadFullScan);
    }

    std::set<std::wstring> Found(const std::wstring& search) {
        database.SetListingOptions(ParseTypeFilter(L"mp3"), 0);
        ListTotals totals;
        std::set<std::wstring> paths;
        Ref<RowList> list = ListFiles(database, SplitSearchTerms(search), nullptr, totals, false);
        for (const Ref<FileRecord>& row : list->rows) paths.insert(row->Path());
        return paths;
    }

    std::vector<Ref<FolderRoot>> roots;
};

TEST_F(HostilePathsTest, StrangeNamesDeepBeyondMaxPathAreScannedFoundAndReadFromPlaylists) {
    std::vector<std::wstring> files;
    for (const std::wstring& name : kStrangeNames) {
        files.push_back(MakeLongFile(name + L"\\" + name + L".mp3"));
        files.push_back(MakeLongFile(DeepRelative() + name + L".mp3"));
    }
    ASSERT_GT(files.back().size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(ScanLibrary());
    EXPECT_TRUE(roots.back()->HasWatchers()) << "the watchers run on the library, deep folders and all";
    for (const std::wstring& file : files) {
        std::optional<FileRow> row = Row(file);
        ASSERT_TRUE(row) << testing::PrintToString(file);
        EXPECT_EQ(row->size, 4) << testing::PrintToString(file);
        EXPECT_EQ(row->fileExists, 1);
    }

    // Each odd name is found by itself, the wildcards among them matching only themselves.
    for (const std::wstring& name : kStrangeNames) {
        std::set<std::wstring> expected = {Library() + name + L"\\" + name + L".mp3", Library() + DeepRelative() + name + L".mp3"};
        EXPECT_EQ(Found(name), expected) << testing::PrintToString(name);
    }

    // A playlist beside them names each in the relative form a save writes ("#1 hit" would read
    // as a directive as it stands); every entry reads back and is found on disk.
    std::wstring listPath = Library() + L"list.m3u8";
    std::string text = "\xEF\xBB\xBF#EXTM3U\r\n";
    for (const std::wstring& file : files) text += WideToUtf8(RelativeEntryPath(file, listPath)) + "\r\n";
    WriteBytes(listPath, text);
    auto playlist = Ref<Playlist>::Make();
    playlist->path = listPath;
    ASSERT_TRUE(ReadPlaylistFile(*playlist, RealPlaylistStorage()));
    Playlist::Entries entries = playlist->CopyEntries();
    ASSERT_EQ(entries.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(entries[i]->Path(), files[i]);
        EXPECT_EQ(entries[i]->size, 4) << "found on disk: " << testing::PrintToString(files[i]);
    }
}

// Between its parent's listing and its own, the folder and its files are deleted for real.
class VanishingFolder : public FileSystem {
public:
    std::wstring parent, vanishing;
    bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        bool listed = FileSystem::ListFolder(folder, entries);
        if (folder == parent) RemoveTree(vanishing);
        return listed;
    }
};

TEST_F(HostilePathsTest, AFolderThatVanishesMidScanIsPassedOverQuietly) {
    for (const wchar_t* name : {L"A\\1.mp3", L"B\\2.mp3", L"B\\Deeper\\3.mp3", L"C\\4.mp3"}) MakeFile(name);
    VanishingFolder files;
    files.parent = Library();
    files.vanishing = Library() + L"B";
    {
        ScopedFileSystem installed(files);
        ASSERT_TRUE(ScanLibrary());
    }
    EXPECT_TRUE(Row(Library() + L"A\\1.mp3"));
    EXPECT_TRUE(Row(Library() + L"C\\4.mp3"));
    EXPECT_FALSE(Row(Library() + L"B\\2.mp3"));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 2);
    EXPECT_TRUE(roots.back()->Loaded());
}

}  // namespace
