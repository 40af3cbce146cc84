// Change notices and single-folder rescans applied to the cache on the worker thread.
#include "scan/ChangeApply.h"

#include "base/Path.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/FileRecord.h"
#include "db/FolderRows.h"
#include "db/TagRows.h"
#include "db/TreeNode.h"
#include "db/roots/Root.h"
#include "scan/ChangeNotice.h"
#include "scan/FileSystem.h"
#include "scan/FolderRootLoad.h"
#include "scan/FolderScan.h"
#include "scan/MediaExtensions.h"
#include "scan/ScanRows.h"
#include "scan/TagRequest.h"
#include "scan/ViewPosts.h"

namespace {

constexpr unsigned kChangedFileTagTimeoutMs = 10000;
constexpr LPARAM kRefreshAfterChangeMs = 500;

int ScanFlags(bool treePlaylists) { return kLoadFullScan | (treePlaylists ? kLoadTreePlaylists : 0); }

// The folder part of a file's path, with its backslash, as Folder.path stores it.
std::wstring FolderOf(const std::wstring& path) { return WithTrailingBackslash(ParentPath(path)); }

// The file's size and time as its directory entry has them when the file itself cannot be
// opened: a row stored with size 0 would stay hidden as empty, since scans never rewrite it.
void ReadSizeAndTime(const std::wstring& path, long long& size, long long& changed) {
    if (Files().ReadSizeAndTime(path, size, changed)) return;
    FolderEntry entry;
    if (Files().FindEntry(path, entry) && !entry.IsDirectory()) {
        size = entry.size;
        changed = entry.lastWrite;
        return;
    }
    size = 0;
    changed = 0;
}

// The host is asked without the database lock held: it answers on the user-interface thread,
// which may need the lock for a listing meanwhile.
void RereadTags(CacheDatabase& database, const std::wstring& path, const StoredFile& stored) {
    auto record = Ref<FileRecord>::Make(path);
    record->fileId = stored.fileId;
    record->folderId = stored.folderId;
    record->changed = stored.changed;
    // The update writes the play count with the tags; it must carry the stored one, or every
    // edit of a file's tags on disk would reset its count.
    record->playCount = StoredPlayCount(database, stored.fileId);
    record->tagged = false;
    if (RequestTags(*record, kChangedFileTagTimeoutMs)) WriteTags(database, *record);
    MarkFilePresent(database, stored.fileId);
}

void StoreAppearedFile(CacheDatabase& database, const std::wstring& path, const std::wstring& extension) {
    std::wstring folder = FolderOf(path);
    if (auto stored = FindFile(database, folder, FileNamePart(path))) return RereadTags(database, path, *stored);
    long long size = 0, changed = 0;
    ReadSizeAndTime(path, size, changed);
    Lock lock(DatabaseLock());
    if (auto row = FindFolderByPath(database, folder))
        InsertFile(database, FileNamePart(path), row->folderId, extension, size, changed);
}

}  // namespace

void ApplyFileNotice(const ChangeNotice& notice, CacheDatabase& database, const MediaExtensions& extensions,
                     const TypeFilter& typeFilter) {
    std::wstring extension = ExtensionOf(notice.path);
    if (extensions.Contains(extension)) {
        switch (notice.action) {
            case ChangeAction::kRemoved:
            case ChangeAction::kOldName:
                DeleteFileRow(database, notice.path);
                break;
            case ChangeAction::kAdded:
            case ChangeAction::kModified:
            case ChangeAction::kNewName:
                StoreAppearedFile(database, notice.path, extension);
                break;
        }
    }
    if (!extension.empty() && typeFilter.count(extension)) PostToView(kCmdRefreshList, kRefreshAfterChangeMs);
}

void ApplyFolderNotice(const ChangeNotice& notice, CacheDatabase& database, const MediaExtensions& extensions,
                       bool treePlaylists) {
    std::wstring path = WithTrailingBackslash(notice.path);
    switch (notice.action) {
        case ChangeAction::kAdded:
        case ChangeAction::kNewName: {
            auto parent = FindFolderByPath(database, FolderOf(notice.path));
            auto node = Ref<TreeNode>::Make(NodeKind::kFolder, path);
            long long rootId = notice.root ? notice.root->RootId() : -1;
            database.Sql().BeginTransaction();
            UpsertFolder(database, *node, parent ? parent->folderId : 0, rootId);
            EnumerateFolder(path, *node, extensions, database, rootId, ScanFlags(treePlaylists));
            database.Sql().Commit();
            PostObjectToView(kCmdFolderAdded, std::move(node));
            break;
        }
        case ChangeAction::kRemoved:
        case ChangeAction::kOldName:
            DeleteFolderSubtree(database, path);
            PostTextToView(kCmdFolderRemoved, path);
            break;
        case ChangeAction::kModified:
            break;
    }
}

void RescanFolder(const Root& root, TreeNode& node, CacheDatabase& database, const MediaExtensions& extensions,
                  bool treePlaylists) {
    Statement& sql = database.Sql();
    sql.BeginTransaction();
    EnumerateFolder(node.path, node, extensions, database, root.RootId(), ScanFlags(treePlaylists));
    sql.Commit();
    std::vector<std::wstring> stored = FilesUnderFolder(database, node.path);
    sql.BeginTransaction();
    for (const std::wstring& path : stored)
        if (!Files().Exists(path)) DeleteFileRow(database, path);
    sql.Commit();
    PostObjectToView(kCmdFolderRescanned, Ref<TreeNode>(&node));
}

void DeleteFileRow(CacheDatabase& database, const std::wstring& path) {
    DeleteFileByName(database, FolderOf(path), FileNamePart(path));
}
