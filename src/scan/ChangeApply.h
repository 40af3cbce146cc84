// Bringing the cache in line with single changes: a file or folder notice from the watchers,
// the rescan of one folder, and the removal of one file's row.
#pragma once

#include <string>

#include "db/ListingOptions.h"

class CacheDatabase;
class MediaExtensions;
class Root;
struct ChangeNotice;
struct TreeNode;

// A media file added, written, renamed or removed: the notice names the file, and the disk
// says what became of it by now. A file on disk has one row under its current spelling (a
// case-only rename keeps the row), is stored when new and read again through the host when
// its content may have changed; a file gone loses its row. A file in a folder the cache does
// not know is left for that folder's own notice. Asks the view to refresh when the list shows
// such files, and with treePlaylists to give a playlist file that appeared its node.
void ApplyFileNotice(const ChangeNotice& notice, CacheDatabase& database, const MediaExtensions& extensions,
                     const TypeFilter& typeFilter, bool treePlaylists = false);

// A folder added or renamed to: scanned into the cache with its subtree and offered to the
// view as a new node. A folder removed or renamed from: the rows of its subtree are deleted
// and the view told its path.
void ApplyFolderNotice(const ChangeNotice& notice, CacheDatabase& database, const MediaExtensions& extensions,
                       bool treePlaylists);

// Scans the folder of the node again (keeping its child nodes), drops the rows of files below
// it that are gone from disk, and hands the node back to the view.
void RescanFolder(const Root& root, TreeNode& node, CacheDatabase& database, const MediaExtensions& extensions,
                  bool treePlaylists);

// Deletes the row of the file with this full path.
void DeleteFileRow(CacheDatabase& database, const std::wstring& path);
