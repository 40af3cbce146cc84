// Playlist roots.
#include "db/roots/PlaylistRoot.h"

#include "base/Path.h"
#include "playlists/PlaylistWrite.h"

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

// The entries go, and with them any unsaved change: a later load reads the file afresh rather
// than keeping an empty list as the user's edit. Entries someone else holds too (a folder's
// node showing the same file, a listing under way) are theirs as well and are left whole: the
// next load reads the file over them all the same.
void PlaylistRoot::Close() {
    SetLoaded(false);
    if (!node_->playlist || node_->playlist->RefCount() > 1) return;
    node_->playlist->DropEntries();
}

// Without the view there is no host to format titles or list order to sort by: the entries
// are written in their own order with their stored titles.
bool PlaylistRoot::Save() {
    Playlist* entries = Entries();
    return entries && WritePlaylistFile(*entries, Path(), PlaylistWriteOptions());
}

bool PlaylistRoot::LoadContent(const RootLoader&, int) {
    if (node_->playlist) node_->playlist->SetNeedsLoading();
    SetLoaded(true);
    return true;
}
