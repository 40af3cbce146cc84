// Bringing a folder root's content into the cache and the tree: a full scan from disk, or the
// folder tree rebuilt from the cache without touching the disk.
#pragma once

class CacheDatabase;
class FolderRoot;
class MediaExtensions;

// Load flags.
constexpr int kLoadTreePlaylists = 2;  // playlist files found in folders become tree nodes
constexpr int kLoadFullScan = 4;       // walk the disk rather than read the cached tree

// Answers whether the root is now loaded.
bool LoadFolderRoot(FolderRoot& root, CacheDatabase& database, const MediaExtensions& extensions,
                    int flags);
