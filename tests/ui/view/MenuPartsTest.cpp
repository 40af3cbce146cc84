// The parts around the view's menus: the host's bookmark file as the bookmarks submenu reads
// it, the routing of a chosen code, and the system menu made from entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "ui/view/BookmarkFile.h"
#include "ui/view/MenuRouting.h"
#include "ui/view/PopupMenu.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

std::vector<std::wstring> Titles(const std::vector<Bookmark>& bookmarks) {
    std::vector<std::wstring> titles;
    for (const Bookmark& bookmark : bookmarks) titles.push_back(bookmark.path + L"|" + bookmark.title);
    return titles;
}

TEST(BookmarkFileTest, ReadsPairsOfPathAndTitle) {
    TempFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {"pairs", "C:\\a.mp3\r\nA\r\nC:\\b.mp3\r\nB\r\n", {L"C:\\a.mp3|A", L"C:\\b.mp3|B"}},
        {"an empty first line is skipped", "\r\nC:\\a.mp3\r\nA\r\n", {L"C:\\a.mp3|A"}},
        {"bare line feeds", "C:\\a.mp3\nA\n", {L"C:\\a.mp3|A"}},
        {"no line end at the end", "C:\\a.mp3\r\nA", {L"C:\\a.mp3|A"}},
        {"a path without its title", "C:\\a.mp3\r\nA\r\nC:\\b.mp3\r\n", {L"C:\\a.mp3|A", L"C:\\b.mp3|C:\\b.mp3"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        std::wstring file = folder.File(L"Winamp.bm");
        WriteBytes(file, c.bytes);
        EXPECT_EQ(Titles(ReadBookmarkFile(file)), c.expected) << c.name;
    }
}

TEST(BookmarkFileTest, AMissingFileGivesNoBookmarks) {
    TempFolder folder;
    EXPECT_TRUE(ReadBookmarkFile(folder.File(L"none.bm")).empty());
    EXPECT_TRUE(ReadBookmarkFile(L"").empty());
}

TEST(BookmarkFileTest, ALongPathStaysWholeAndKeepsThePairsInStep) {
    TempFolder folder;
    std::string longPath = "C:\\" + std::string(400, 'x') + ".mp3";
    WriteBytes(folder.File(L"Winamp.bm"), longPath + "\r\nLong\r\nC:\\b.mp3\r\nB\r\n");
    std::vector<Bookmark> bookmarks = ReadBookmarkFile(folder.File(L"Winamp.bm"));
    ASSERT_EQ(bookmarks.size(), 2u);
    EXPECT_EQ(bookmarks[0].path.size(), longPath.size());
    EXPECT_EQ(bookmarks[1].title, L"B");
}

TEST(MenuRoutingTest, EachCodeGoesWhereItsCommandIsHandled) {
    struct Case {
        UINT code;
        MenuRouteKind kind;
        WPARAM command;
        LPARAM argument;
    };
    const Case cases[] = {
        {3001, MenuRouteKind::kSendToView, kCmdRemoveRoot, 0},
        {3004, MenuRouteKind::kSendToView, kCmdInsertRoot, 0},
        {3002, MenuRouteKind::kSendToView, kCmdInsertRoot, 1},
        {3031, MenuRouteKind::kSendToView, kCmdInsertRoot, 2},
        {3010, MenuRouteKind::kPane, 0, 0},
        {3013, MenuRouteKind::kPane, 0, 0},
        {3014, MenuRouteKind::kPane, 0, 0},
        {3015, MenuRouteKind::kList, 0, 0},
        {3021, MenuRouteKind::kList, 0, 0},
        {3024, MenuRouteKind::kList, 0, 0},
        {3025 + (2u << 16), MenuRouteKind::kList, 0, 0},
        {3027 + (1u << 16), MenuRouteKind::kList, 0, 0},
        {3032, MenuRouteKind::kList, 0, 0},
        {3999 + (14u << 16), MenuRouteKind::kList, 0, 0},
        {3022, MenuRouteKind::kTree, 0, 0},
        {3023, MenuRouteKind::kPostToView, kCmdToggleAutoload, 0},
        {3028, MenuRouteKind::kSendToView, kCmdImportHostPlaylist, 0},
        {3029, MenuRouteKind::kPostToView, kCmdSavePlaylist, 0},
        {3030, MenuRouteKind::kPostKey, VK_F5, 0},
        {3033, MenuRouteKind::kPostToView, kCmdExportRoots, 0},
        {3034, MenuRouteKind::kPostKey, VK_F6, 1},
        {3036, MenuRouteKind::kRepairPlaylist, 0, 0},
        {3037, MenuRouteKind::kPostToView, kCmdImportRoots, 0},
        {4002, MenuRouteKind::kPostToView, 1121, 0},
        {3000, MenuRouteKind::kNothing, 0, 0},
        {3003, MenuRouteKind::kNothing, 0, 0},
        {3026, MenuRouteKind::kNothing, 0, 0},
        {3035, MenuRouteKind::kNothing, 0, 0},
    };
    for (const Case& c : cases) {
        MenuRoute route = RouteMenuChoice(c.code);
        EXPECT_EQ(route.kind, c.kind) << c.code;
        EXPECT_EQ(route.command, c.command) << c.code;
        EXPECT_EQ(route.argument, c.argument) << c.code;
    }
}

MENUITEMINFOW ItemInfo(HMENU menu, UINT position, wchar_t* text = nullptr) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | (text ? MIIM_STRING : 0);
    info.dwTypeData = text;
    info.cch = text ? 128 : 0;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

TEST(PopupMenuTest, MakesItemsSeparatorsMarksAndSubmenus) {
    MenuEntry ticked = MenuEntry::Item(11, L"Ticked");
    ticked.checked = true;
    MenuEntry greyed = MenuEntry::Item(12, L"Greyed");
    greyed.greyed = true;
    MenuEntry bold = MenuEntry::Item(13, L"Bold\tEnter");
    bold.isDefault = true;
    PopupMenu popup = PopupMenu::Create(
        {bold, MenuEntry::Separator(), ticked, greyed, MenuEntry::Submenu(20, L"More", {MenuEntry::Item(21, L"In")})});
    ASSERT_TRUE(popup);
    HMENU menu = popup.Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    wchar_t text[128] = {};
    MENUITEMINFOW first = ItemInfo(menu, 0, text);
    EXPECT_EQ(first.wID, 13u);
    EXPECT_STREQ(text, L"Bold\tEnter");
    EXPECT_TRUE(first.fState & MFS_DEFAULT);
    EXPECT_TRUE(ItemInfo(menu, 1).fType & MFT_SEPARATOR);
    EXPECT_TRUE(ItemInfo(menu, 2).fState & MFS_CHECKED);
    EXPECT_TRUE(ItemInfo(menu, 3).fState & MFS_GRAYED);
    MENUITEMINFOW more = ItemInfo(menu, 4);
    ASSERT_NE(more.hSubMenu, nullptr);
    EXPECT_EQ(GetMenuItemID(more.hSubMenu, 0), 21u);
}

TEST(PopupMenuTest, OwnerDrawnItemsCarryTheirCaptionAndIconCutTo52Characters) {
    MenuEntry drawn = MenuEntry::Item(3000, std::wstring(80, L'x'));
    drawn.ownerDrawn = true;
    drawn.icon = 114;
    PopupMenu popup = PopupMenu::Create({drawn});
    MENUITEMINFOW info = ItemInfo(popup.Handle(), 0);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    auto* item = reinterpret_cast<const OwnerDrawnItem*>(info.dwItemData);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(std::wstring(item->caption), std::wstring(51, L'x'));
    EXPECT_EQ(item->icon, 114u);
}

TEST(PopupMenuTest, TheMenuAndItsSubmenusAreDestroyedWithIt) {
    HMENU menu = nullptr, submenu = nullptr;
    {
        PopupMenu popup = PopupMenu::Create({MenuEntry::Submenu(1, L"Sub", {MenuEntry::Item(2, L"In")})});
        menu = popup.Handle();
        submenu = GetSubMenu(menu, 0);
        ASSERT_TRUE(IsMenu(menu) && IsMenu(submenu));
    }
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(submenu));
}

}  // namespace
