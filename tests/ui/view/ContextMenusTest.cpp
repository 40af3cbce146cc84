// The view's popup menus as built from their state: items in order with their shortcut texts,
// the default, ticked and greyed marks, the submenus and the codes each item returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/view/ContextMenus.h"

namespace {

// Captions show their string id, so a test sees which text each item was given.
std::wstring IdCaption(UINT id) { return L"<" + std::to_wstring(id) + L">"; }

constexpr UINT Code(UINT code, UINT argument) { return code + (argument << 16); }

std::vector<UINT> CodesOf(const MenuEntries& items) {
    std::vector<UINT> codes;
    for (const MenuEntry& item : items) codes.push_back(item.separator ? 0 : item.code);
    return codes;
}

const MenuEntry* Find(const MenuEntries& items, UINT code) {
    for (const MenuEntry& item : items)
        if (!item.separator && item.code == code) return &item;
    return nullptr;
}

ListMenuState ListState(bool enterDisabled = false, int doubleClick = 3011, bool showDelete = true) {
    ListMenuState state;
    state.play = {enterDisabled, doubleClick};
    state.showDelete = showDelete;
    return state;
}

TEST(ListMenuTest, ListsItsFifteenItemsInOrderWithTheirShortcuts) {
    MenuEntries items = BuildListMenu(ListState(), IdCaption);
    EXPECT_EQ(CodesOf(items), (std::vector<UINT>{3010, 3012, 3011, 3013, 0, 3025, 3027, 3015, 3016, 3021, 3024, 0,
                                                 3017, 3018, 3019}));
    std::vector<std::wstring> captions;
    for (const MenuEntry& item : items) captions.push_back(item.caption);
    EXPECT_EQ(captions, (std::vector<std::wstring>{
                            L"<3010>\tEnter", L"<3012>\tShift+Enter", L"<3011>\tCtrl+Enter", L"<3013>\tAlt+Enter", L"",
                            L"<3025>", L"<3027>", L"<3015>\tAlt+3", L"<3016>\tCtrl+G", L"<3021>\tCtrl+F", L"<3024>",
                            L"", L"<3017>\tCtrl+A", L"<3018>\tCtrl+D", L"<3019>"}));
}

TEST(ListMenuTest, DeleteFilesOnlyWhenDeleteCommandsAreShown) {
    MenuEntries items = BuildListMenu(ListState(false, 3011, false), IdCaption);
    EXPECT_EQ(items.size(), 14u);
    EXPECT_EQ(Find(items, 3024), nullptr);
}

TEST(ListMenuTest, PlayLosesEnterWhenTheEnterKeyIsDisabled) {
    MenuEntries items = BuildListMenu(ListState(true), IdCaption);
    EXPECT_EQ(items[0].caption, L"<3010>");
    EXPECT_EQ(items[1].caption, L"<3012>\tShift+Enter");
}

TEST(ListMenuTest, TheDoubleClickActionIsTheOnlyDefaultItem) {
    for (int action : {3010, 3011, 3012, 3013}) {
        MenuEntries items = BuildListMenu(ListState(false, action), IdCaption);
        for (const MenuEntry& item : items)
            EXPECT_EQ(item.isDefault, static_cast<int>(item.code) == action) << action << " " << item.code;
    }
}

TEST(ListMenuTest, FindMoreOffersArtistTitleAlbumAndGenre) {
    MenuEntries items = BuildListMenu(ListState(), IdCaption);
    const MenuEntry* more = Find(items, 3025);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(CodesOf(more->submenu), (std::vector<UINT>{Code(3025, 0), Code(3025, 1), Code(3025, 2), Code(3025, 3)}));
    EXPECT_EQ(more->submenu[0].caption, L"<2001>");
    EXPECT_EQ(more->submenu[1].caption, L"<2000>");
    EXPECT_EQ(more->submenu[2].caption, L"<2002>");
    EXPECT_EQ(more->submenu[3].caption, L"<2003>");
}

TEST(ListMenuTest, BookmarksSubmenuNumbersEachBookmarkAfterTheBookmarkItem) {
    ListMenuState state = ListState();
    MenuEntries none = Find(BuildListMenu(state, IdCaption), 3027)->submenu;
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[0].code, 3027u);
    EXPECT_EQ(none[0].caption, L"<3026>\tAlt+I");
    EXPECT_TRUE(none[1].separator);

    state.bookmarks = {{L"C:\\a.mp3", L"Simon & Garfunkel"}, {L"C:\\b.mp3", L"Takk"}};
    MenuEntries two = Find(BuildListMenu(state, IdCaption), 3027)->submenu;
    EXPECT_EQ(CodesOf(two), (std::vector<UINT>{3027, 0, Code(3027, 1), Code(3027, 2)}));
    // A single "&" would underline the next letter and vanish.
    EXPECT_EQ(two[2].caption, L"Simon && Garfunkel");
    EXPECT_EQ(two[3].caption, L"Takk");
}

TEST(HeaderMenuTest, TicksExactlyTheVisibleColumnsWithFilenameBeforeFilepath) {
    VisibleColumns visible{};
    for (int column : {1, 2, 8, 14}) visible[column] = true;
    MenuEntries items = BuildHeaderMenu(visible, IdCaption);
    ASSERT_EQ(items.size(), 15u);
    const UINT columns[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 13};
    const UINT captions[] = {2021, 2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009, 2010, 2011, 2013, 2012};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].code, Code(3999, columns[i])) << i;
        EXPECT_EQ(items[i].caption, IdCaption(captions[i])) << i;
        EXPECT_EQ(items[i].checked, visible[columns[i]]) << i;
    }
}

TreeMenuState TreeState(TreeMenuNode node, bool isRoot) {
    TreeMenuState state;
    state.play = {false, 3010};
    state.node = node;
    state.isRoot = isRoot;
    return state;
}

// The items after the four play actions and their separator.
std::vector<UINT> NodeCodes(const TreeMenuState& state) {
    std::vector<UINT> codes = CodesOf(BuildTreeMenu(state, IdCaption));
    EXPECT_EQ(std::vector<UINT>(codes.begin(), codes.begin() + 5), (std::vector<UINT>{3010, 3012, 3011, 3013, 0}));
    return std::vector<UINT>(codes.begin() + 5, codes.end());
}

TEST(TreeMenuTest, EachKindOfNodeGetsItsItems) {
    struct Case {
        const char* name;
        TreeMenuNode node;
        bool isRoot;
        bool showDelete;
        std::vector<UINT> codes;
    };
    const Case cases[] = {
        {"My Library", TreeMenuNode::kMyLibrary, false, true, {3030, 3034, 3037, 3033, 0, 3003}},
        {"folder root", TreeMenuNode::kFolder, true, true, {3030, 3034, 3022, 3023, 0, 3003}},
        {"smart playlist root", TreeMenuNode::kSmartPlaylist, true, false, {3030, 4002, 0, 3003}},
        {"sub-folder", TreeMenuNode::kFolder, false, false, {3030, 3034, 3022}},
        {"sub-folder, delete shown", TreeMenuNode::kFolder, false, true, {3030, 3034, 3022, 3032}},
        {"playlist node", TreeMenuNode::kPlaylist, false, true, {3030, 3034, 3028, 3029, 3036}},
        {"playlist root", TreeMenuNode::kPlaylist, true, false, {3030, 3034, 3028, 3029, 3036, 0, 3003}},
    };
    for (const Case& c : cases) {
        TreeMenuState state = TreeState(c.node, c.isRoot);
        state.showDelete = c.showDelete;
        EXPECT_EQ(NodeCodes(state), c.codes) << c.name;
    }
}

TEST(TreeMenuTest, ShortcutTextsFollowTheTreeKeys) {
    MenuEntries sub = BuildTreeMenu(TreeState(TreeMenuNode::kFolder, false), IdCaption);
    EXPECT_EQ(Find(sub, 3030)->caption, L"<3030>\tF5");
    EXPECT_EQ(Find(sub, 3034)->caption, L"<3034>\tF6");
    EXPECT_EQ(Find(sub, 3022)->caption, L"<3022>\tCtrl+F");
    // A root's "Find folder in Explorer" shows no key.
    EXPECT_EQ(Find(BuildTreeMenu(TreeState(TreeMenuNode::kFolder, true), IdCaption), 3022)->caption, L"<3022>");
    EXPECT_EQ(Find(BuildTreeMenu(TreeState(TreeMenuNode::kPlaylist, false), IdCaption), 3029)->caption,
              L"<3029>\tCtrl+S");
}

TEST(TreeMenuTest, SavePlaylistIsGreyedUntilThePlaylistChanges) {
    TreeMenuState state = TreeState(TreeMenuNode::kPlaylist, true);
    EXPECT_TRUE(Find(BuildTreeMenu(state, IdCaption), 3029)->greyed);
    state.playlistModified = true;
    EXPECT_FALSE(Find(BuildTreeMenu(state, IdCaption), 3029)->greyed);
}

TEST(TreeMenuTest, AutoloadIsTickedFromTheRootsFlag) {
    TreeMenuState state = TreeState(TreeMenuNode::kFolder, true);
    EXPECT_FALSE(Find(BuildTreeMenu(state, IdCaption), 3023)->checked);
    state.autoload = true;
    EXPECT_TRUE(Find(BuildTreeMenu(state, IdCaption), 3023)->checked);
}

TEST(TreeMenuTest, DefaultItemFollowsTheTreesDoubleClickAndNoneLeavesNoDefault) {
    TreeMenuState state = TreeState(TreeMenuNode::kFolder, false);
    state.play.doubleClickCommand = 3013;
    EXPECT_TRUE(Find(BuildTreeMenu(state, IdCaption), 3013)->isDefault);
    EXPECT_FALSE(Find(BuildTreeMenu(state, IdCaption), 3010)->isDefault);
    state.play.doubleClickCommand = 0;
    for (const MenuEntry& item : BuildTreeMenu(state, IdCaption)) EXPECT_FALSE(item.isDefault) << item.code;
    state.play.enterKeyDisabled = true;
    EXPECT_EQ(BuildTreeMenu(state, IdCaption)[0].caption, L"<3010>");
}

TEST(TreeMenuTest, RootsSubmenuRemovesOnlyARoot) {
    MenuEntries libraryMenu = BuildTreeMenu(TreeState(TreeMenuNode::kMyLibrary, false), IdCaption);
    MenuEntries rootMenu = BuildTreeMenu(TreeState(TreeMenuNode::kFolder, true), IdCaption);
    const MenuEntry* library = Find(libraryMenu, 3003);
    const MenuEntry* root = Find(rootMenu, 3003);
    ASSERT_TRUE(library && root);
    EXPECT_TRUE(Find(library->submenu, 3001)->greyed);
    EXPECT_FALSE(Find(root->submenu, 3001)->greyed);
}

TEST(RootMenuTest, InsertRootOffersThreeKindsAndEveryItemIsDrawnWithItsIcon) {
    MenuEntries items = BuildRootMenu(false, IdCaption);
    EXPECT_EQ(CodesOf(items), (std::vector<UINT>{3000, 3001}));
    EXPECT_EQ(CodesOf(items[0].submenu), (std::vector<UINT>{3004, 3002, 3031}));
    EXPECT_TRUE(items[1].greyed);
    EXPECT_FALSE(BuildRootMenu(true, IdCaption)[1].greyed);
    struct Icon {
        const MenuEntry& item;
        UINT icon;
    };
    const Icon icons[] = {{items[0], 114}, {items[1], 116}, {items[0].submenu[0], 123},
                          {items[0].submenu[1], 129}, {items[0].submenu[2], 135}};
    for (const Icon& expected : icons) {
        EXPECT_TRUE(expected.item.ownerDrawn) << expected.item.code;
        EXPECT_EQ(expected.item.icon, expected.icon) << expected.item.code;
        EXPECT_EQ(expected.item.caption, IdCaption(expected.item.code));
    }
}

}  // namespace
