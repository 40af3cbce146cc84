// Folder root loading: the full scan from disk or the tree from the cache, then the watchers.
#include "scan/FolderRootLoad.h"

#include "db/CacheDatabase.h"
#include "db/roots/FolderRoot.h"
#include "scan/AbortScan.h"
#include "scan/DirectoryWatcher.h"
#include "scan/FileSystem.h"
#include "scan/FolderScan.h"

// One transaction for the whole root, so that its thousands of rows commit once. A scan cut
// short by the abort flag leaves the root unloaded and unwatched: its content is incomplete.
bool LoadFolderRoot(FolderRoot& root, CacheDatabase& database, const MediaExtensions& extensions, int flags) {
    if (flags & kLoadFullScan) {
        if (!Files().IsDirectory(root.Path())) return false;
        database.Sql().BeginTransaction();
        EnumerateFolder(root.Path(), *root.Node(), extensions, database, root.RootId(), flags);
        database.Sql().Commit();
    } else {
        LoadFolderTree(root, database);
    }
    if (AbortScanRaised()) return false;
    if (!root.HasWatchers()) StartWatchers(root);
    root.MarkLoaded();
    return true;
}
