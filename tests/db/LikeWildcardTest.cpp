// Folder names holding LIKE's wildcards ("a_b", "50%") beside siblings those wildcards would
// match ("axb", "50x"): listing, marking a subtree gone, listing the files under a folder and
// deleting a subtree each reach only the named folder and the folders below it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "db/LibraryFixture.h"
#include "db/LikePattern.h"
#include "db/Listing.h"
#include "db/ListingOptions.h"
#include "scan/ScanRows.h"

namespace {

const std::wstring kUnderscore = kRoot + L"a_b\\";
const std::wstring kUnderscoreSub = kRoot + L"a_b\\sub\\";
const std::wstring kLikeUnderscore = kRoot + L"axb\\";
const std::wstring kPercent = kRoot + L"50%\\";
const std::wstring kLikePercent = kRoot + L"50x\\";
const std::wstring kBang = kRoot + L"wow!\\";

class LikeWildcardTest : public LibraryCacheTest {
protected:
    void SetUp() override {
        LibraryCacheTest::SetUp();
        int root = static_cast<int>(Count(L"SELECT folderid FROM Folder WHERE path='" + kRoot + L"'"));
        for (const std::wstring& path : {kUnderscore, kLikeUnderscore, kPercent, kLikePercent, kBang}) {
            int id = AddFolder(path, root);
            AddFile(id, {L"song.mp3", L"Song"});
            if (path == kUnderscore) AddFile(AddFolder(kUnderscoreSub, id), {L"deeper song.mp3", L"Song"});
        }
        db->SetListingOptions(ParseTypeFilter(L"mp3"), 0);
    }
    // The folders whose files a listing of the folder shows.
    std::set<std::wstring> Listed(const std::wstring& folder, int options, const std::wstring& search = L"") {
        db->SetListingOptions(ParseTypeFilter(L"mp3"), options);
        ListTotals totals;
        std::set<std::wstring> folders;
        Ref<RowList> list = ListFiles(*db, SplitSearchTerms(search), &folder, totals, false);
        for (const Ref<FileRecord>& row : list->rows) folders.insert(std::wstring(row->FolderPath()));
        return folders;
    }
    long long FolderFlag(const std::wstring& path) {
        return Count(L"SELECT folder_exists FROM Folder WHERE path='" + path + L"'");
    }
    long long FilesIn(const std::wstring& path, const wchar_t* extra = L"") {
        return Count(L"SELECT COUNT(*) FROM Files f, Folder fo WHERE f.folderid=fo.folderid AND fo.path='" + path +
                     L"'" + extra);
    }
    std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
        std::vector<std::wstring> files = FilesUnderFolder(*db, folder);
        std::sort(files.begin(), files.end());
        return files;
    }
};

TEST_F(LikeWildcardTest, EscapedTextMatchesOnlyItself) {
    EXPECT_EQ(EscapeLike(L"D:\\a_b\\50%\\wow!\\"), L"D:\\a!_b\\50!%\\wow!!\\");
    EXPECT_EQ(EscapeLike(L"D:\\Music\\"), L"D:\\Music\\");
    EXPECT_TRUE(HasLikeWildcard(L"a_b"));
    EXPECT_FALSE(HasLikeWildcard(L"wow!"));
}

// Every form that compares the folder as a prefix: plain and accent-folded, listing and
// searching. The exact forms ("Limit search") never matched siblings and are checked alongside.
TEST_F(LikeWildcardTest, ListingAFolderNeverShowsItsLookalikeSibling) {
    const std::set<std::wstring> underscoreTree = {kUnderscore, kUnderscoreSub};
    for (int options : {0, +kStripAccents, +kLimitSearch, kStripAccents | kLimitSearch}) {
        for (const wchar_t* search : {L"", L"song"}) {
            SCOPED_TRACE(testing::Message() << "options " << options << ", search \"" << search << "\"");
            bool limited = (options & kLimitSearch) != 0;
            EXPECT_EQ(Listed(kUnderscore, options, search),
                      limited ? std::set<std::wstring>{kUnderscore} : underscoreTree);
            EXPECT_EQ(Listed(kLikeUnderscore, options, search), std::set<std::wstring>{kLikeUnderscore});
            EXPECT_EQ(Listed(kPercent, options, search), std::set<std::wstring>{kPercent});
            EXPECT_EQ(Listed(kLikePercent, options, search), std::set<std::wstring>{kLikePercent});
            EXPECT_EQ(Listed(kBang, options, search), std::set<std::wstring>{kBang});
        }
    }
    // Folding may turn a character into a wildcard: a full-width percent sign folds to "%".
    const std::wstring fullWidth = kRoot + L"50\uff05\\";
    AddFile(AddFolder(fullWidth, 0), {L"wide.mp3", L"Wide"});
    EXPECT_EQ(Listed(fullWidth, kStripAccents), (std::set<std::wstring>{kPercent, fullWidth}))
        << "the folded name matches folders that fold the same, and no other";
}

TEST_F(LikeWildcardTest, MarkingASubtreeGoneSparesTheLookalikeSibling) {
    MarkSubtreeGone(*db, kUnderscore);
    EXPECT_EQ(FolderFlag(kUnderscoreSub), 0);
    EXPECT_EQ(FilesIn(kUnderscoreSub, L" AND f.file_exists=1"), 0);
    EXPECT_EQ(FolderFlag(kLikeUnderscore), 1);
    EXPECT_EQ(FilesIn(kLikeUnderscore, L" AND f.file_exists=1"), 1);

    MarkSubtreeGone(*db, kRoot + L"50%");
    EXPECT_EQ(FolderFlag(kPercent), 0) << "a folder below the root is marked";
    EXPECT_EQ(FolderFlag(kLikePercent), 1);
    EXPECT_EQ(FilesIn(kLikePercent, L" AND f.file_exists=1"), 1);
}

// A rescan takes the files stored under its folder as the ones to check on disk, and drops
// the rows of those it does not find: a sibling's rows must not be among them.
TEST_F(LikeWildcardTest, FilesUnderAFolderAreOnlyItsOwn) {
    EXPECT_EQ(FilesUnder(kUnderscore),
              (std::vector<std::wstring>{kUnderscore + L"song.mp3", kUnderscoreSub + L"deeper song.mp3"}));
    EXPECT_EQ(FilesUnder(kPercent), std::vector<std::wstring>{kPercent + L"song.mp3"});
    EXPECT_EQ(FilesUnder(kBang), std::vector<std::wstring>{kBang + L"song.mp3"});

    DeleteFolderSubtree(*db, kPercent);
    DeleteFolderSubtree(*db, kUnderscore);
    EXPECT_EQ(FilesIn(kPercent) + FilesIn(kUnderscore) + FilesIn(kUnderscoreSub), 0);
    EXPECT_EQ(FilesIn(kLikePercent) + FilesIn(kLikeUnderscore), 2);
}

}  // namespace

// A search word holding "_", "%" or the escape character finds the text as typed: "50%"
// finds the folder named so, not also "50x"; "a_b" not also "axb". Both the plain and the
// folded forms, searching from the root.
TEST_F(LikeWildcardTest, SearchWordsWithWildcardsFindOnlyThemselves) {
    for (int options : {0, +kStripAccents}) {
        SCOPED_TRACE(testing::Message() << "options " << options);
        EXPECT_EQ(Listed(kRoot, options, L"50%"), std::set<std::wstring>{kPercent});
        EXPECT_EQ(Listed(kRoot, options, L"a_b"), (std::set<std::wstring>{kUnderscore, kUnderscoreSub}));
        EXPECT_EQ(Listed(kRoot, options, L"wow!"), std::set<std::wstring>{kBang});
        EXPECT_EQ(Listed(kRoot, options, L"%"), std::set<std::wstring>{kPercent});
        EXPECT_EQ(Listed(kRoot, options, L"_"), (std::set<std::wstring>{kUnderscore, kUnderscoreSub}));
    }
}
