// The table from a chosen menu code to where it goes.
#include "ui/view/MenuRouting.h"

#include "bus/CommandCodes.h"
#include "ui/view/MenuCodes.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

// The tree menu's "Read tags" sends F6 with this, so it reads the unread tags only.
constexpr LPARAM kKeyFromMenu = 1;

struct RouteEntry {
    UINT code;
    MenuRoute route;
};

const RouteEntry kRoutes[] = {
    {kMenuRemoveRoot, {MenuRouteKind::kSendToView, kCmdRemoveRoot, 0}},
    {kMenuInsertFolderRoot, {MenuRouteKind::kSendToView, kCmdInsertRoot, 0}},
    {kMenuInsertPlaylistRoot, {MenuRouteKind::kSendToView, kCmdInsertRoot, 1}},
    {kMenuInsertSmartPlaylistRoot, {MenuRouteKind::kSendToView, kCmdInsertRoot, 2}},
    {kMenuFindFolderInExplorer, {MenuRouteKind::kTree, 0, 0}},
    {kMenuAutoloadRoot, {MenuRouteKind::kPostToView, kCmdToggleAutoload, 0}},
    {kMenuImportHostPlaylist, {MenuRouteKind::kSendToView, kCmdImportHostPlaylist, 0}},
    {kMenuSavePlaylist, {MenuRouteKind::kPostToView, kCmdSavePlaylist, kSaveAskingFirst}},
    {kMenuRefresh, {MenuRouteKind::kPostKey, VK_F5, 0}},
    {kMenuExportRoots, {MenuRouteKind::kPostToView, kCmdExportRoots, 0}},
    {kMenuReadTags, {MenuRouteKind::kPostKey, VK_F6, kKeyFromMenu}},
    {kMenuRepairPlaylist, {MenuRouteKind::kRepairPlaylist, 0, 0}},
    {kMenuImportRoots, {MenuRouteKind::kPostToView, kCmdImportRoots, 0}},
    {kMenuEditSqlQuery, {MenuRouteKind::kPostToView, kCmdEditSqlRoot, 0}},
};

bool IsListCode(UINT code) {
    return (code >= kMenuFileInfo && code <= kMenuFindFileInExplorer) || code == kMenuDeleteFiles ||
           code == kMenuFindMore || code == kMenuBookmarks || code == kMenuDeleteFolder || code == kMenuToggleColumn;
}

}  // namespace

MenuRoute RouteMenuChoice(UINT code) {
    UINT low = LOWORD(code);
    if (low >= kMenuPlay && low <= kMenuPlayAfterCurrent) return {MenuRouteKind::kPane, 0, 0};
    if (IsListCode(low)) return {MenuRouteKind::kList, 0, 0};
    for (const RouteEntry& entry : kRoutes)
        if (entry.code == low) return entry.route;
    return {};
}
