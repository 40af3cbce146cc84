// A folder on disk, scanned into the cache and watched for changes.
#pragma once

#include "db/roots/FolderWatcher.h"
#include "db/roots/Root.h"

class FolderRoot : public Root {
public:
    // Makes sure the root's top folder row exists; available when the folder exists now.
    FolderRoot(const std::wstring& path, long long rootId, CacheDatabase& database);

    void Close() override;
    bool Save() override { return false; }
    bool LoadContent(const RootLoader& loader, int flags) override;
    RootType Type() const override { return RootType::kFolder; }

    // The loader marks the root loaded and hands it its watchers.
    void MarkLoaded() { SetLoaded(true); }
    void SetWatchers(Ref<FolderWatcher> files, Ref<FolderWatcher> folders);
    bool HasWatchers() const { return filesWatcher_ || foldersWatcher_; }

protected:
    // A root dropped without being closed still stops its watchers: their threads hold it.
    ~FolderRoot() override;

private:
    void StopWatchers();

    Ref<FolderWatcher> filesWatcher_;
    Ref<FolderWatcher> foldersWatcher_;
};
