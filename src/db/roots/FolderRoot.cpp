// Folder roots: construction with their top folder row, closing with their watchers.
#include "db/roots/FolderRoot.h"

#include "base/Path.h"
#include "db/FolderRows.h"
#include "db/roots/RootLoader.h"

FolderRoot::FolderRoot(const std::wstring& path, long long rootId, CacheDatabase& database)
    : Root(Ref<TreeNode>::Make(NodeKind::kFolder, WithTrailingBackslash(path)), rootId) {
    UpsertFolder(database, *node_, 0, rootId);
    available_ = IsExistingDirectory(node_->path);
}

FolderRoot::~FolderRoot() { StopWatchers(); }

// Both watchers are told to stop before either is waited for, so they wind down together.
void FolderRoot::StopWatchers() {
    if (filesWatcher_) filesWatcher_->RequestStop();
    if (foldersWatcher_) foldersWatcher_->RequestStop();
    if (filesWatcher_) filesWatcher_->WaitForEnd();
    if (foldersWatcher_) foldersWatcher_->WaitForEnd();
    filesWatcher_.Reset();
    foldersWatcher_.Reset();
}

void FolderRoot::Close() {
    StopWatchers();
    node_->ClearChildren();
}

bool FolderRoot::LoadContent(const RootLoader& loader, int flags) {
    return loader.LoadFolderRoot(*this, flags);
}

void FolderRoot::SetWatchers(Ref<FolderWatcher> files, Ref<FolderWatcher> folders) {
    filesWatcher_ = std::move(files);
    foldersWatcher_ = std::move(folders);
}
