// Folder enumeration: folders become rows and nodes, media files become rows; nothing is
// opened, everything comes from the directory listings.
#include "scan/FolderScan.h"

#include <unordered_map>
#include <vector>

#include "base/Path.h"
#include "base/Text.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/FolderRows.h"
#include "db/TagRows.h"
#include "db/TreeNode.h"
#include "db/roots/FolderRoot.h"
#include "scan/AbortScan.h"
#include "scan/FileSystem.h"
#include "scan/FolderRootLoad.h"
#include "scan/MediaExtensions.h"
#include "scan/ScanRows.h"
#include "scan/StoredNames.h"
#include "scan/ViewPosts.h"

bool IsPlaylistExtension(const std::wstring& extension) {
    return EqualsNoCase(extension, L"m3u") || EqualsNoCase(extension, L"m3u8");
}

namespace {

constexpr wchar_t kScanningPrefix[] = L"Scanning ";

// A file changed since it was stored is read again; its stored time stays, so it is marked
// again at every later scan until a tag read stores the new state. A file renamed in case only
// keeps its row under the new spelling: a second row would list it twice.
void StoreFile(CacheDatabase& database, const StoredFolderFiles& stored, int folderId, const FolderEntry& entry,
               const std::wstring& extension) {
    const StoredFile* found = stored.Find(entry.name);
    if (!found) return InsertFile(database, entry.name, folderId, extension, entry.size, entry.lastWrite);
    Lock lock(DatabaseLock());
    if (found->name != entry.name) RenameFileRow(database, found->fileId, entry.name);
    if (found->changed != entry.lastWrite) MarkUntagged(database, found->fileId);
    MarkFilePresent(database, found->fileId);
}

// A rescan meets playlists already in the tree; those nodes stay as they are.
void AddPlaylistNode(TreeNode& node, const std::wstring& path, size_t knownCount) {
    // Only the children the node had before this listing can match: names within one folder
    // are unique, so the nodes added by the listing itself need no search.
    if (node.FindChild(path, knownCount)) return;
    // The view's open list (a root's, or one it shows) is read already or marked to be, and may
    // hold unsaved edits: only a new list is marked for reading.
    Ref<Playlist> entries = AskViewForPlaylist(path);
    if (!entries) {
        entries = Ref<Playlist>::Make();
        entries->SetNeedsLoading();
    }
    if (entries->path.empty()) entries->path = path;
    auto playlistNode = Ref<TreeNode>::Make(NodeKind::kPlaylist, path);
    playlistNode->playlist = entries;
    node.AddChild(playlistNode);
}

}  // namespace

void EnumerateFolder(const std::wstring& path, TreeNode& node, const MediaExtensions& extensions,
                     CacheDatabase& database, long long rootId, int flags) {
    std::vector<FolderEntry> entries;
    if (!Files().ListFolder(path, entries)) return;
    const size_t knownCount = node.ChildCount();
    // The folder's stored files are read in one go by folder id. A lookup per file by folder
    // path and name gets planned through the file-name index, and costs as many rows as
    // there are files of that name in the whole library ("01 Intro.mp3", "Track 01.mp3").
    const StoredFolderFiles stored = FilesOfFolder(database, node.folderId);
    for (const FolderEntry& entry : entries) {
        if (entry.IsDirectory()) {
            std::wstring childPath = path + entry.name + L'\\';
            auto fresh = Ref<TreeNode>::Make(NodeKind::kFolder, childPath);
            fresh->attributes = entry.attributes;
            UpsertFolder(database, *fresh, node.folderId, rootId);
            PostTextToView(kCmdStatusText, kScanningPrefix + childPath);
            Ref<TreeNode> child = node.FindChild(childPath, knownCount);
            if (child) {
                // The kept node must name the row its files are stored under now, which is a
                // new one when the folder was removed and has come back since.
                child->folderId = fresh->folderId;
            } else {
                node.AddChild(fresh);
                child = fresh;
            }
            if (AbortScanRaised()) return;
            EnumerateFolder(childPath, *child, extensions, database, rootId, flags);
            continue;
        }
        std::wstring extension = ExtensionOf(entry.name);
        if (!extensions.Contains(extension)) continue;
        StoreFile(database, stored, node.folderId, entry, extension);
        if ((flags & kLoadTreePlaylists) && IsPlaylistExtension(extension))
            AddPlaylistNode(node, path + entry.name, knownCount);
    }
}

void LoadFolderTree(FolderRoot& root, CacheDatabase& database) {
    TreeNode& top = *root.Node();
    std::unordered_map<int, TreeNode*> byId{{top.folderId, &top}};
    for (const StoredFolder& row : FolderTreeRows(database, root.RootId(), top.path)) {
        auto parent = byId.find(row.parentId);
        if (parent == byId.end()) continue;
        auto node = Ref<TreeNode>::Make(NodeKind::kFolder, row.path);
        node->folderId = row.folderId;
        node->attributes = row.attributes;
        parent->second->AddChild(node);
        byId[row.folderId] = node.get();
    }
    PostObjectToView(kCmdRootLoaded, Ref<TreeNode>(&top));
}
