// Folder root loading: the full scan from disk or the tree from the cache, then the watchers.
#include "scan/FolderRootLoad.h"

#include "db/CacheDatabase.h"
#include "db/roots/FolderRoot.h"
#include "scan/AbortScan.h"
#include "scan/DirectoryWatcher.h"
#include "scan/FileSystem.h"
#include "scan/FolderScan.h"

// The root's thousands of rows are written as one batch, committed every moment rather than
// row by row: fast, yet a play counted meanwhile, or the rows scanned so far, are not held back
// until the whole root is done. A scan cut short by the abort flag leaves the root unloaded and
// unwatched: its content is incomplete.
bool FolderRootLoader::LoadFolderRoot(FolderRoot& root, int flags) const {
    CacheDatabase& database = database_;
    if (flags & kLoadFullScan) {
        if (!Files().IsDirectory(root.Path())) return false;
        database.Sql().BeginBatch();
        EnumerateFolder(root.Path(), *root.Node(), extensions_, database, root.RootId(), flags);
        database.Sql().Commit();
    } else {
        LoadFolderTree(root, database);
    }
    if (AbortScanRaised()) return false;
    if (!root.HasWatchers()) StartWatchers(root);
    root.MarkLoaded();
    return true;
}
