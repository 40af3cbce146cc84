// The walk of a folder tree into the cache and the tree of folder nodes, and the tree of a
// folder root rebuilt from the cache alone.
#pragma once

#include <string>

class CacheDatabase;
class FolderRoot;
class MediaExtensions;
struct TreeNode;

// Walks the folder at path (with its backslash), whose node is node, and every folder below
// it: one Folder row and one child node per folder, one Files row per media file. Existing
// rows are marked present, never deleted; existing child nodes are kept. Posts the progress
// text once per folder and stops at the next folder once the abort-scan flag is raised.
// flags: the load flags of FolderRootLoad.h. The caller holds the transaction.
void EnumerateFolder(const std::wstring& path, TreeNode& node, const MediaExtensions& extensions,
                     CacheDatabase& database, long long rootId, int flags);

// Playlist files the tree shows as nodes of their folder when asked to.
bool IsPlaylistExtension(const std::wstring& extension);

// Builds the root's folder nodes from the present Folder rows of the root, without touching
// the disk, and posts the root's node to the view as loaded.
void LoadFolderTree(FolderRoot& root, CacheDatabase& database);
