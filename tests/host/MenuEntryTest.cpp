// The plugin's entry in the host's menus, on real menus.
#include <gtest/gtest.h>

#include <string>

#include "host/HostMenuEntry.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"

namespace {

constexpr UINT kEntryId = 5555;

struct Item {
    UINT id;
    std::wstring text;
    bool checked;
};

std::vector<Item> Items(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        items.push_back({GetMenuItemID(menu, i), text, (GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0});
    }
    return items;
}

// The entry's caption is the product name from the string table.
class WithStrings : public testing::Test {
protected:
    TempFolder folder;
    ScopedPluginContext context{folder.File(L"docs")};
};

class MainMenuTest : public WithStrings {
protected:
    void SetUp() override {
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 100, L"Open");
        AppendMenuW(menu, MF_STRING, 40258, L"Library");
        AppendMenuW(menu, MF_STRING, 40259, L"Video");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, 40260, L"Visualisation");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"Options");
        AppendMenuW(menu, MF_STRING, 101, L"Exit");
    }
    void TearDown() override { DestroyMenu(menu); }
    HMENU menu = nullptr;
};

TEST_F(MainMenuTest, EntryGoesBeforeTheLastPlainItemAfterTheAnchorAndIsNeverDoubled) {
    for (int opening = 0; opening < 3; ++opening)
        UpdateMainMenuEntry(menu, {kEntryId, opening == 1, false});
    std::vector<Item> items = Items(menu);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[4].id, kEntryId);
    EXPECT_EQ(items[4].text, L"Crateview\tAlt+D");
    EXPECT_FALSE(items[4].checked);
    EXPECT_EQ(items[5].id, 40260u);
}

TEST_F(MainMenuTest, CheckedWhileTheFrameIsVisible) {
    UpdateMainMenuEntry(menu, {kEntryId, true, false});
    EXPECT_TRUE(Items(menu)[4].checked);
}

TEST_F(MainMenuTest, ModernSkinRelabelsTheHostsOwnItemInstead) {
    AppendMenuW(menu, MF_STRING, 900, L"crateview window");
    UpdateMainMenuEntry(menu, {kEntryId, true, true});
    std::vector<Item> items = Items(menu);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items.back().text, L"Crateview\tAlt+D");
    EXPECT_EQ(items.back().id, 900u);
    // Hidden frame: the usual entry, the host's item left as it is.
    UpdateMainMenuEntry(menu, {kEntryId, false, true});
    EXPECT_EQ(Items(menu).size(), 9u);
}

TEST_F(WithStrings, MainMenuWithoutTheAnchorGetsNoEntry) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 100, L"Open");
    UpdateMainMenuEntry(menu, {kEntryId, false, false});
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    DestroyMenu(menu);
}

TEST_F(WithStrings, SecondMenuEntryGoesBeforeItemZeroOrRelabelsTheProductItem) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 10, L"First");
    AppendMenuW(menu, MF_STRING, 0, L"Zero");
    UpdateSecondMenuEntry(menu, {kEntryId, true, false});
    UpdateSecondMenuEntry(menu, {kEntryId, true, false});
    std::vector<Item> items = Items(menu);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].id, kEntryId);
    EXPECT_TRUE(items[1].checked);
    DestroyMenu(menu);

    menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 10, L"CRATEVIEW");
    AppendMenuW(menu, MF_STRING, 0, L"Zero");
    UpdateSecondMenuEntry(menu, {kEntryId, false, false});
    items = Items(menu);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, L"Crateview\tAlt+D");
    EXPECT_FALSE(items[0].checked);
    DestroyMenu(menu);
}

}  // namespace
