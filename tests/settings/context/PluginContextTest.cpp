// The plugin context: its folders under the documents folder, strings from a language pack
// with English filling the gaps, and the list of installed packs.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "base/Path.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"

namespace {

TEST(PluginPathsTest, PathsFollowTheDocumentsFolderAndTheModule) {
    PluginPaths paths = ComputePluginPaths(L"C:\\Users\\me\\Documents", L"C:\\Player\\Plugins\\gen_cv.dll");
    EXPECT_EQ(paths.Get(PathKind::kSettingsFile), L"C:\\Users\\me\\Documents\\Crateview\\gen_cv.ini");
    EXPECT_EQ(paths.Get(PathKind::kCacheFolder), L"C:\\Users\\me\\Documents\\Crateview\\Cache");
    EXPECT_EQ(paths.Get(PathKind::kBaseFolder), L"C:\\Users\\me\\Documents\\Crateview");
    EXPECT_EQ(paths.Get(PathKind::kLanguageFolder), L"C:\\Users\\me\\Documents\\Crateview\\lang");
    EXPECT_EQ(paths.Get(PathKind::kBookmarkFile), L"C:\\Player\\Winamp.bm");
    EXPECT_EQ(paths.Get(static_cast<PathKind>(4)), L"");

    // A documents folder given with its backslash joins with exactly one.
    EXPECT_EQ(ComputePluginPaths(L"D:\\Docs\\", L"").settingsFile, L"D:\\Docs\\Crateview\\gen_cv.ini");
}

TEST(PluginPathsTest, UnknownPlacesLeavePathsEmpty) {
    PluginPaths paths = ComputePluginPaths(L"", L"gen_cv.dll");
    EXPECT_EQ(paths.settingsFile, L"");
    EXPECT_EQ(paths.cacheFolder, L"");
    EXPECT_EQ(paths.bookmarkFile, L"");
    EXPECT_EQ(ComputePluginPaths(L"", L"Plugins\\gen_cv.dll").bookmarkFile, L"");
}

TEST(PluginPathsTest, TheShellNamesADocumentsFolder) { EXPECT_TRUE(IsExistingDirectory(DocumentsFolder())); }

class PluginContextTest : public testing::Test {
protected:
    std::wstring Documents() const { return folder.File(L"docs"); }
    PluginContext& Context() { return *PluginContext::Get(); }

    TempFolder folder;
    ScopedPluginContext scope{Documents()};
};

TEST_F(PluginContextTest, CreatesTheBaseAndLanguageFoldersButNotTheCache) {
    EXPECT_TRUE(IsExistingDirectory(Documents() + L"\\Crateview"));
    EXPECT_TRUE(IsExistingDirectory(Documents() + L"\\Crateview\\lang"));
    EXPECT_FALSE(PathExists(Documents() + L"\\Crateview\\Cache"));
    EXPECT_FALSE(PathExists(Documents() + L"\\Crateview\\gen_cv.ini"));
}

TEST_F(PluginContextTest, SecondCreationIsIgnored) {
    PluginContext& again = PluginContext::CreateWithDocuments(nullptr, folder.File(L"elsewhere"));
    EXPECT_EQ(&again, &Context());
    EXPECT_EQ(Context().GetPath(PathKind::kBaseFolder), Documents() + L"\\Crateview");
    EXPECT_FALSE(PathExists(folder.File(L"elsewhere")));
}

TEST_F(PluginContextTest, WithoutAPackEverythingComesFromThePlugin) {
    EXPECT_STREQ(Context().GetString(kStrMyLibrary), L"My Library");
    EXPECT_EQ(Context().ResourceModule(), Context().Module());
    EXPECT_STREQ(Context().GetString(999), L"");
}

TEST_F(PluginContextTest, PackTranslatesWhatItHasAndEnglishFillsTheRest) {
    ASSERT_TRUE(Context().LoadLanguageModule(BuildFile(L"cv_testlang.dll")));
    EXPECT_NE(Context().ResourceModule(), Context().Module());
    struct Case { unsigned id; bool pluginOnly; const wchar_t* text; };
    const Case cases[] = {
        {kStrMyLibrary, false, L"Meine Bibliothek"},
        {kStrColumnArtist, false, L"K\u00fcnstler"},
        {kStrColumnAlbum, false, L"Album"},   // empty in the pack
        {kStrColumnTitle, false, L"Title"},   // absent from the pack
        {kStrMyLibrary, true, L"My Library"}, // the plugin's own, on request
    };
    for (const Case& c : cases) EXPECT_STREQ(Context().GetString(c.id, c.pluginOnly), c.text) << c.id;
}

TEST_F(PluginContextTest, PackThatCannotBeLoadedLeavesEnglish) {
    std::wstring junk = folder.File(L"junk.dll");
    WriteBytes(junk, "not a module");
    EXPECT_FALSE(Context().LoadLanguageModule(junk));
    EXPECT_FALSE(Context().LoadLanguageModule(folder.File(L"missing.dll")));
    EXPECT_STREQ(Context().GetString(kStrMyLibrary), L"My Library");
    EXPECT_EQ(Context().ResourceModule(), Context().Module());
}

TEST_F(PluginContextTest, EachCallOverwritesTheCallingThreadsBufferOnly) {
    const wchar_t* first = Context().GetString(kStrMyLibrary);
    std::wstring otherThread;
    std::thread([&] { otherThread = Context().GetString(kStrProductName); }).join();
    EXPECT_STREQ(first, L"My Library");
    EXPECT_EQ(otherThread, L"Crateview");
    const wchar_t* second = Context().GetString(kStrProductName);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, L"Crateview");
}

TEST_F(PluginContextTest, ListsThePacksInTheLanguageFolder) {
    std::wstring lang = Context().GetPath(PathKind::kLanguageFolder);
    ASSERT_TRUE(CopyFileW(BuildFile(L"cv_testlang.dll").c_str(), (lang + L"\\testish.dll").c_str(), FALSE));
    WriteBytes(lang + L"\\broken.dll", "not a module");
    WriteBytes(lang + L"\\readme.txt", "not a pack");
    std::vector<LanguagePack> packs = ListLanguagePacks(lang);
    ASSERT_EQ(packs.size(), 1u);
    EXPECT_EQ(packs[0].name, L"Testish");
    EXPECT_EQ(packs[0].path, lang + L"\\testish.dll");
    EXPECT_TRUE(ListLanguagePacks(folder.File(L"none")).empty());
}

}  // namespace
