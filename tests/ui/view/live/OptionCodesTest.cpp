// The option codes the preferences use, through the real view: each setter is answered back
// by its getter (two of them inverted), reaches gen_cv.ini at shutdown, and the options that
// change what is listed change the next listing.
#include <gtest/gtest.h>

#include <string>

#include "bus/CommandCodes.h"
#include "livehost/LivePlugin.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

class LiveOptionCodesTest : public LivePluginTest {
protected:
    // A watched root with these subfolders and (non-empty) files, started and listed.
    void StartOverRoot(std::initializer_list<const wchar_t*> files, std::initializer_list<const wchar_t*> folders = {}) {
        CreateDirectoryW(Library().c_str(), nullptr);
        for (const wchar_t* folder : folders) CreateDirectoryW(Library(folder).c_str(), nullptr);
        for (const wchar_t* name : files) WriteBytes(Library(name), "x");
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
    }

    // Types into the search box and waits for the listing it asks for.
    bool SearchFor(const wchar_t* text) {
        int before = Listings();
        SetWindowTextW(Search(), text);
        return WaitForListing(before);
    }

    // Sends a setter and waits for the listing it asks for itself.
    bool SetAndWaitForListing(WPARAM code, LPARAM value) {
        int before = Listings();
        Command(code, value);
        return WaitForListing(before);
    }

    bool Relist() {
        int before = Listings();
        PostCommand(kCmdRefreshList, 0);
        return WaitForListing(before);
    }
};

struct OptionCase {
    WPARAM set;
    WPARAM get;
    const wchar_t* section;
    const wchar_t* key;
    LPARAM value;            // what the preferences send
    LRESULT answer;          // what the getter answers then
    const wchar_t* stored;   // what the file holds after shutdown
};

// Every option set away from its default, so the file shows the setter's value and not the
// one a start would write anyway.
const OptionCase kOptions[] = {
    {1029, 1028, L"General", L"Unfold roots", 1, 1, L"1"},
    {1047, 1048, L"General", L"Compability mode", 1, 1, L"1"},
    {1062, 1061, L"General", L"Search from top", 1, 1, L"1"},
    {1063, 1064, L"General", L"Empty on change", 1, 1, L"1"},
    {1065, 1066, L"General", L"Auto-refresh", 0, 0, L"0"},
    {1067, 1068, L"General", L"Auto-refresh wait", 7, 7, L"7"},
    {1069, 1070, L"General", L"Skip leading the", 1, 1, L"1"},
    {1073, 1074, L"List", L"Stripe shade", 150, 150, L"150"},
    {1078, 1077, L"General", L"Remember search", 1, 1, L"1"},
    {1080, 1079, L"General", L"Block duplicates", 1, 1, L"1"},
    {1081, 1082, L"General", L"Strip accents", 1, 1, L"1"},
    {1084, 1085, L"General", L"Use custom font", 1, 1, L"1"},
    {1089, 1088, L"General", L"Limit search", 1, 1, L"1"},
    {1094, 1095, L"General", L"Force shuffle off", 1, 1, L"1"},
    // The getter answers whether empty files are shown.
    {1102, 1101, L"General", L"Hide empty files", 1, 0, L"1"},
    {1104, 1105, L"General", L"Skip leading spaces", 1, 1, L"1"},
    {1113, 1114, L"General", L"Replace underscore", 1, 1, L"1"},
    {1115, 1116, L"General", L"Autosave playlists on shutdown", 1, 1, L"1"},
    // The page shows "Don't scan on start-up"; the file keeps "Scan files".
    {1117, 1118, L"General", L"Scan files", 1, 1, L"0"},
    {1119, 1120, L"General", L"Show delete", 1, 1, L"1"},
    {1125, 1126, L"General", L"Display tree playlists", 1, 1, L"1"},
};

TEST_F(LiveOptionCodesTest, SettersAreAnsweredBackAndWrittenAtShutdown) {
    StartOverRoot({L"a.mp3"});
    for (const OptionCase& option : kOptions) {
        bool flag = option.value == 0 || option.value == 1;
        if (flag) {
            // Both ways, so a getter that ignores its setter cannot pass.
            Command(option.set, 1 - option.value);
            EXPECT_EQ(Command(option.get), 1 - option.answer)
                << "get " << option.get << " after set " << option.set << " " << (1 - option.value);
        }
        Command(option.set, option.value);
        EXPECT_EQ(Command(option.get), option.answer) << "get " << option.get << " after set " << option.set;
    }
    CloseAndQuit();
    for (const OptionCase& option : kOptions)
        EXPECT_EQ(ReadIni(SettingsPath(), option.section, option.key), option.stored) << option.section << " "
                                                                                      << testing::PrintToString(std::wstring(option.key));
}

TEST_F(LiveOptionCodesTest, SearchFromTopListsTheWholeLibrary) {
    StartOverRoot({L"One\\apple.mp3", L"Two\\bee.mp3"}, {L"One", L"Two"});
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"One\\")));
    ASSERT_TRUE(SearchFor(L"bee"));
    EXPECT_EQ(ListCount(), 0);
    // The setter itself asks for the listing, now searched from "My Library".
    ASSERT_TRUE(SetAndWaitForListing(kOptSetSearchFromTop, 1));
    EXPECT_EQ(ColumnTexts(1), std::vector<std::wstring>{L"bee.mp3"});
}

TEST_F(LiveOptionCodesTest, LimitSearchHidesFilesOfSubfolders) {
    StartOverRoot({L"top.mp3", L"Sub\\deep.mp3"}, {L"Sub"});
    ASSERT_EQ(ListCount(), 2);
    ASSERT_TRUE(SetAndWaitForListing(kOptSetLimitSearch, 1));
    EXPECT_EQ(ColumnTexts(1), std::vector<std::wstring>{L"top.mp3"});
}

TEST_F(LiveOptionCodesTest, HideEmptyFilesHidesZeroByteFiles) {
    CreateDirectoryW(Library().c_str(), nullptr);
    WriteBytes(Library(L"empty.mp3"), "");
    StartOverRoot({L"full.mp3"});
    ASSERT_EQ(ListCount(), 2);
    Command(kOptSetHideEmptyFiles, 1);
    ASSERT_TRUE(Relist());
    EXPECT_EQ(ColumnTexts(1), std::vector<std::wstring>{L"full.mp3"});
}

TEST_F(LiveOptionCodesTest, StripAccentsFindsAccentedNames) {
    StartOverRoot({L"Bj\u00f6rk.mp3", L"other.mp3"});
    ASSERT_TRUE(SearchFor(L"bjork"));
    EXPECT_EQ(ListCount(), 0);
    Command(kOptSetStripAccents, 1);
    ASSERT_TRUE(Relist());
    EXPECT_EQ(ColumnTexts(1), std::vector<std::wstring>{L"Bj\u00f6rk.mp3"});
}

TEST_F(LiveOptionCodesTest, CompatibilityModeRelists) {
    StartOverRoot({L"a.mp3"});
    EXPECT_TRUE(SetAndWaitForListing(kOptSetCompatibility, 1));
    EXPECT_EQ(ListCount(), 1);
}

}  // namespace
