// Folder rows of the cache that the roots store needs before any scan: making sure a folder's
// row exists and learning its id.
#pragma once

class CacheDatabase;
struct TreeNode;

// Finds the folder by root id and path and marks it present, or inserts it; either way the
// node's folderId is set.
void UpsertFolder(CacheDatabase& database, TreeNode& node, int parentId, long long rootId);
