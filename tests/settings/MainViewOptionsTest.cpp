// The main view's options: what a first start sees, what a shutdown writes and in which order,
// and the keys that are only ever read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/IniText.h"
#include "settings/MainViewOptions.h"
#include "settings/SettingKeys.h"
#include "support/TempFolder.h"

namespace {

TEST(MainViewOptionsTest, FirstStartUsesDefaults) {
    TempFolder folder;
    MainViewOptions options;
    options.Load(SettingsFile(folder.File(L"gen_cv.ini")));
    EXPECT_EQ(options.sortKey, 1);
    EXPECT_TRUE(options.autoRefresh);
    EXPECT_EQ(options.autoRefreshWait, 2);
    EXPECT_TRUE(options.scanFiles);
    EXPECT_FALSE(options.rememberSearch);
    EXPECT_FALSE(options.limitSearch);
    EXPECT_FALSE(options.useCustomFont);
    EXPECT_EQ(options.fontName, L"Arial");
    EXPECT_EQ(options.fontSize, 12);
    EXPECT_EQ(options.forceDragDropAction, 3);
    EXPECT_EQ(options.language, L"");
    EXPECT_EQ(options.divider, 100);
    EXPECT_EQ(options.stuck, 0);
    EXPECT_TRUE(options.listSortOrder);
    EXPECT_EQ(options.stripeShade, 100);
}

TEST(MainViewOptionsTest, ShutdownWritesKeysInFixedOrder) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    file.WriteText(settings::kFileTypes, L"mp3;");  // what the first start leaves behind
    MainViewOptions options;
    options.Load(file);
    options.Save(file);

    const std::vector<std::string> general = {
        "File types", "Sort", "Compability mode", "Search from top", "Empty on change",
        "Force shuffle off", "Scan files", "Remember search", "Unfold roots", "Auto-refresh",
        "Auto-refresh wait", "Block duplicates", "Strip accents", "Font name", "Font size",
        "Use custom font", "Limit search", "Hide empty files", "Skip leading the",
        "Skip leading spaces", "Replace underscore", "Autosave playlists on shutdown",
        "Show delete", "Remember last selected folder", "Disable tag reading",
        "Display tree playlists", "Force drag/drop action", "Language",
    };
    EXPECT_EQ(SectionKeys(file.Path(), "General"), general);
    EXPECT_EQ(SectionKeys(file.Path(), "Window"), (std::vector<std::string>{"Divider", "Stuck"}));
    EXPECT_EQ(SectionKeys(file.Path(), "List"),
              (std::vector<std::string>{"Stripe shade", "Sort order"}));
    EXPECT_EQ(StoredValue(file.Path(), "General", "Language"), "");
    EXPECT_EQ(StoredValue(file.Path(), "General", "Font name"), "Arial");
}

TEST(MainViewOptionsTest, ChangedOptionsSurviveRestart) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    MainViewOptions before;
    before.Load(file);
    before.sortKey = -7;
    before.autoRefreshWait = 0;
    before.stripAccents = true;
    before.scanFiles = false;
    before.fontName = L"Tahoma";
    before.language = L"C:\\lang\\de.dll";
    before.stuck = 2;
    before.stripeShade = 150;
    before.Save(file);

    MainViewOptions after;
    after.Load(file);
    EXPECT_EQ(after.sortKey, -7);
    EXPECT_EQ(after.autoRefreshWait, 0);
    EXPECT_TRUE(after.stripAccents);
    EXPECT_FALSE(after.scanFiles);
    EXPECT_EQ(after.fontName, L"Tahoma");
    EXPECT_EQ(after.language, L"C:\\lang\\de.dll");
    EXPECT_EQ(after.stuck, 2);
    EXPECT_EQ(after.stripeShade, 150);
}

TEST(MainViewOptionsTest, LastSearchLoadedOnlyWhenRemembered) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, "[General]\r\nRemember search=0\r\nLast search=beatles\r\n");
    MainViewOptions forgotten;
    forgotten.Load(SettingsFile(path));
    EXPECT_EQ(forgotten.lastSearch, L"");

    TempFolder other;
    std::wstring rememberedPath = other.File(L"gen_cv.ini");
    WriteBytes(rememberedPath, "[General]\r\nRemember search=1\r\nLast search=beatles\r\n");
    MainViewOptions remembered;
    remembered.Load(SettingsFile(rememberedPath));
    EXPECT_EQ(remembered.lastSearch, L"beatles");

    // The search box owns the text: the options never overwrite or remove it.
    remembered.lastSearch = L"stones";
    remembered.Save(SettingsFile(rememberedPath));
    EXPECT_EQ(StoredValue(rememberedPath, "General", "Last search"), "beatles");
}

TEST(MainViewOptionsTest, ReadOnlyKeysAreReadButNeverWritten) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, "[General]\r\nHide kbps=5\r\nShow query times=1\r\nAdd files ML-way=1\r\n");
    SettingsFile file(path);
    MainViewOptions options;
    options.Load(file);
    EXPECT_TRUE(options.hideKbps);
    EXPECT_TRUE(options.showQueryTimes);
    EXPECT_TRUE(options.addFilesMlWay);

    TempFolder fresh;
    SettingsFile freshFile(fresh.File(L"gen_cv.ini"));
    options.Save(freshFile);
    EXPECT_EQ(StoredValue(freshFile.Path(), "General", "Hide kbps"), "<absent>");
    EXPECT_EQ(StoredValue(freshFile.Path(), "General", "Show query times"), "<absent>");
    EXPECT_EQ(StoredValue(freshFile.Path(), "General", "Add files ML-way"), "<absent>");
    EXPECT_EQ(StoredValue(freshFile.Path(), "General", "Disable ENTER-key"), "<absent>");
}

}  // namespace
