// The tree's and the list's double-click choice, including "None", and the frame window's rectangle.
#include <gtest/gtest.h>

#include "settings/IniText.h"
#include "settings/ListSettings.h"
#include "settings/TreeSettings.h"
#include "settings/WindowSettings.h"
#include "support/TempFolder.h"

namespace {

TEST(TreeSettingsTest, AbsentMeansPlayAndNoneIsStoredAsMinus3010) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    EXPECT_EQ(LoadTreeDoubleClick(file), 3010);

    SaveTreeDoubleClick(file, kTreeNoDoubleClickCommand);
    EXPECT_EQ(StoredValue(file.Path(), "Tree", "Double-click"), "-3010");
    EXPECT_EQ(LoadTreeDoubleClick(file), kTreeNoDoubleClickCommand);

    SaveTreeDoubleClick(file, 3012);
    EXPECT_EQ(StoredValue(file.Path(), "Tree", "Double-click"), "2");
    EXPECT_EQ(LoadTreeDoubleClick(file), 3012);
}

// A value edited by hand to another command's offset ("14", the recycle bin's) must never run
// that command on a double-click: the list and the tree take their defaults instead.
TEST(TreeSettingsTest, HandEditedDoubleClickOutsideTheActionsFallsBackToTheDefault) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    for (const wchar_t* stored : {L"14", L"-1", L"4", L"99999"}) {
        WritePrivateProfileStringW(L"Tree", L"Double-click", stored, file.Path().c_str());
        WritePrivateProfileStringW(L"List", L"Double-click", stored, file.Path().c_str());
        EXPECT_EQ(LoadTreeDoubleClick(file), 3010) << stored;
        ListSettings list;
        list.Load(file);
        EXPECT_EQ(list.doubleClickCommand, 3011) << stored;
    }
    WritePrivateProfileStringW(L"List", L"Double-click", L"3", file.Path().c_str());
    ListSettings list;
    list.Load(file);
    EXPECT_EQ(list.doubleClickCommand, 3013) << "the last of the actions is one";
}

TEST(WindowSettingsTest, FirstStartUsesDefaultRectangleHidden) {
    TempFolder folder;
    WindowSettings window;
    window.Load(SettingsFile(folder.File(L"gen_cv.ini")));
    EXPECT_EQ(window.frame.left, 100);
    EXPECT_EQ(window.frame.top, 100);
    EXPECT_EQ(window.frame.right, 200);
    EXPECT_EQ(window.frame.bottom, 200);
    EXPECT_FALSE(window.visible);
}

TEST(WindowSettingsTest, HiddenFrameOnSecondMonitorSurvivesRestart) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    WindowSettings closing;
    closing.frame = {-1600, 40, -1000, 700};
    closing.visible = false;
    closing.Save(file);
    EXPECT_EQ(SectionKeys(file.Path(), "Window"),
              (std::vector<std::string>{"Left", "Top", "Right", "Bottom", "Visible"}));
    EXPECT_EQ(StoredValue(file.Path(), "Window", "Visible"), "0");

    WindowSettings starting;
    starting.Load(file);
    EXPECT_EQ(starting.frame.left, -1600);
    EXPECT_EQ(starting.frame.top, 40);
    EXPECT_EQ(starting.frame.right, -1000);
    EXPECT_EQ(starting.frame.bottom, 700);
    EXPECT_FALSE(starting.visible);
}

}  // namespace
