// Adding and removing roots: the uniqueness rules, the Roots rows, the roots list and the
// first load of each new root.
#pragma once

#include <optional>
#include <string>

#include "db/roots/RootEvents.h"
#include "db/roots/RootsList.h"

class CacheDatabase;
class RootLoader;

class RootsStore {
public:
    // The loader brings each new root's content in.
    RootsStore(RootsList& roots, CacheDatabase& database, const RootLoader& loader, RootEvents& events)
        : roots_(roots), database_(database), loader_(loader), events_(events) {}

    // Refused, with a message, when the folder contains or lies inside a folder root.
    bool AddFolderRoot(const std::wstring& path, bool treePlaylists);
    // Refused, with a message, when the playlist is already a root. A missing file is created.
    bool AddPlaylistRoot(const std::wstring& path);
    // The condition is not checked here: an invalid one lists nothing.
    void AddSqlRoot(const std::wstring& condition, const std::wstring& name);
    // Deletes the root's rows with its folders and files, and closes it.
    bool RemoveRoot(size_t index);

    // Whether a new folder root at path would overlap an existing one.
    bool FolderRootOverlaps(const std::wstring& path) const;
    bool PlaylistRootExists(const std::wstring& path) const;

private:
    RootsList& roots_;
    CacheDatabase& database_;
    const RootLoader& loader_;
    RootEvents& events_;
};
