// The tree's double-click choice, including "None", and the frame window's rectangle.
#include <gtest/gtest.h>

#include "settings/IniText.h"
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
