// What a folder root's full scan does, without the watchers it starts afterwards: the benches
// time this against a bare walk and a bare insert.
#pragma once

#include <string>

#include "db/CacheDatabase.h"
#include "db/FolderRows.h"
#include "db/TreeNode.h"
#include "scan/FolderRootLoad.h"
#include "scan/FolderScan.h"
#include "scan/MediaExtensions.h"

inline void Scan(CacheDatabase& database, const std::wstring& tree, const MediaExtensions& extensions) {
    auto top = Ref<TreeNode>::Make(NodeKind::kFolder, tree);
    UpsertFolder(database, *top, 0, 1);
    database.Sql().BeginBatch();
    EnumerateFolder(tree, *top, extensions, database, 1, kLoadFullScan);
    database.Sql().Commit();
}
