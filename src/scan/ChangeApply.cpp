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

// The file's size and time, from the file itself or else from its directory entry: a row
// stored with size 0 would stay hidden as empty, since scans never rewrite it.
void ReadSizeAndTime(const std::wstring& path, const FolderEntry& entry, long long& size, long long& changed) {
    if (Files().ReadSizeAndTime(path, size, changed)) return;
    size = entry.size;
    changed = entry.lastWrite;
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

bool LeavesFilePresent(ChangeAction action) {
    return action == ChangeAction::kAdded || action == ChangeAction::kModified || action == ChangeAction::kNewName;
}

// Whether the file is on disk, with its entry as the disk spells it. Only a plain "not found"
// says it is gone; when the folder cannot be read the notice's own action is taken at its word.
bool IsOnDisk(const ChangeNotice& notice, FolderEntry& entry) {
    if (Files().FindEntry(notice.path, entry)) return !entry.IsDirectory();
    DWORD error = GetLastError();
    entry = FolderEntry{};
    entry.name = FileNamePart(notice.path);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
    return LeavesFilePresent(notice.action);
}

// Keeps one row for a file that is on disk, under the name as the disk spells it: the same
// name in another case is the same file renamed (its tags and play count stay), and a second
// row left by an earlier rename would list the file twice. Answers the row kept, if any.
std::optional<StoredFile> KeepOneRow(CacheDatabase& database, std::vector<StoredFile> rows, const std::wstring& name) {
    if (rows.empty()) return std::nullopt;
    for (size_t i = 1; i < rows.size(); ++i) DeleteFileRowById(database, rows[i].fileId);
    if (rows.front().name != name) RenameFileRow(database, rows.front().fileId, name);
    rows.front().name = name;
    return rows.front();
}

// The notices of a burst are applied one after another some time after the changes, so by
// now a file may have been removed again, added back, or renamed in case only. The notice
// says which name to look at; the disk says what became of it. A file that is there keeps or
// gets its row, and is read again when its content may have changed; one that is not loses it.
void ApplyToFileRows(CacheDatabase& database, const ChangeNotice& notice, const std::wstring& extension) {
    FolderEntry entry;
    bool onDisk = IsOnDisk(notice, entry);
    std::wstring folder = FolderOf(notice.path);
    const std::wstring& name = entry.name;
    std::optional<StoredFolder> folderRow;
    std::optional<StoredFile> kept;
    {
        Lock lock(DatabaseLock());
        // A file of a folder the cache does not know waits for that folder's own notice.
        folderRow = FindFolderByPath(database, folder);
        if (!folderRow) return;
        std::vector<StoredFile> rows = FindFileRows(database, folderRow->folderId, name);
        if (!onDisk) {
            for (const StoredFile& row : rows) DeleteFileRowById(database, row.fileId);
            return;
        }
        kept = KeepOneRow(database, std::move(rows), name);
    }
    if (!kept) {
        long long size = 0, changed = 0;
        ReadSizeAndTime(folder + name, entry, size, changed);
        return InsertFile(database, name, folderRow->folderId, extension, size, changed);
    }
    if (LeavesFilePresent(notice.action)) return RereadTags(database, folder + name, *kept);
    MarkFilePresent(database, kept->fileId);
}

// The node may have been made before its folder was removed and made again: the folder's files
// are stored under its current row, and walking it under the old id would store every one a
// second time, under an id that a later folder may take.
void TakeCurrentFolderRow(const Root& root, TreeNode& node, CacheDatabase& database) {
    if (!Files().IsDirectory(node.path)) return;
    std::wstring withoutBackslash = node.path.substr(0, node.path.size() - 1);
    auto parent = FindFolderByPath(database, FolderOf(withoutBackslash));
    UpsertFolder(database, node, parent ? parent->folderId : 0, root.RootId());
}

}  // namespace

void ApplyFileNotice(const ChangeNotice& notice, CacheDatabase& database, const MediaExtensions& extensions,
                     const TypeFilter& typeFilter, bool treePlaylists) {
    std::wstring extension = ExtensionOf(notice.path);
    if (extensions.Contains(extension)) {
        ApplyToFileRows(database, notice, extension);
        // A scan gives a folder's playlist files their nodes; one written later would otherwise
        // wait for the next rescan. The view adds the node only where it has none.
        FolderEntry entry;
        if (treePlaylists && IsPlaylistExtension(extension) && LeavesFilePresent(notice.action) &&
            Files().FindEntry(notice.path, entry) && !entry.IsDirectory())
            PostTextToView(kCmdPlaylistFound, FolderOf(notice.path) + entry.name);
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
            database.Sql().BeginBatch();
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

// Batched like a root's scan: a rescan of a large root lasts long enough that the view's own
// writes meanwhile should not wait for its end to reach the disk.
void RescanFolder(const Root& root, TreeNode& node, CacheDatabase& database, const MediaExtensions& extensions,
                  bool treePlaylists) {
    Statement& sql = database.Sql();
    sql.BeginBatch();
    TakeCurrentFolderRow(root, node, database);
    EnumerateFolder(node.path, node, extensions, database, root.RootId(), ScanFlags(treePlaylists));
    sql.Commit();
    std::vector<std::wstring> stored = FilesUnderFolder(database, node.path);
    sql.BeginBatch();
    for (const std::wstring& path : stored)
        if (!Files().Exists(path)) DeleteFileRow(database, path);
    sql.Commit();
    PostObjectToView(kCmdFolderRescanned, Ref<TreeNode>(&node));
}

void DeleteFileRow(CacheDatabase& database, const std::wstring& path) {
    DeleteFileByName(database, FolderOf(path), FileNamePart(path));
}
