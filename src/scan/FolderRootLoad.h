// Bringing a folder root's content into the cache and the tree: a full scan from disk, or the
// folder tree rebuilt from the cache without touching the disk.
#pragma once

#include "db/roots/RootLoader.h"

class CacheDatabase;
class MediaExtensions;

class FolderRootLoader final : public RootLoader {
public:
    FolderRootLoader(CacheDatabase& database, const MediaExtensions& extensions)
        : database_(database), extensions_(extensions) {}

    bool LoadFolderRoot(FolderRoot& root, int flags) const override;

private:
    CacheDatabase& database_;
    const MediaExtensions& extensions_;
};
