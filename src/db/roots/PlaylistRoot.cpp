// Playlist roots.
#include "db/roots/PlaylistRoot.h"

#include "base/Path.h"

PlaylistRoot::PlaylistRoot(const std::wstring& path, long long rootId)
    : Root(Ref<TreeNode>::Make(NodeKind::kPlaylist, path), rootId) {
    AttachEntries(Ref<Playlist>::Make());
    available_ = PathExists(path);
}

void PlaylistRoot::AttachEntries(Ref<Playlist> playlist) {
    if (!playlist) return;
    playlist->path = node_->path;
    node_->playlist = std::move(playlist);
}

void PlaylistRoot::Close() {
    SetLoaded(false);
    if (node_->playlist) node_->playlist->SetEntries({});
}

// Writing playlist files arrives with the playlist subsystem; until then nothing is written
// and the caller learns that the entries were not saved.
bool PlaylistRoot::Save() { return false; }

bool PlaylistRoot::Load(const RootLoader&, int) {
    if (node_->playlist) node_->playlist->SetNeedsLoading();
    SetLoaded(true);
    return true;
}
