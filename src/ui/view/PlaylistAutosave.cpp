// Saving changed playlist roots at shutdown.
#include "ui/view/PlaylistAutosave.h"

namespace {

Playlist* UnsavedEntries(const Root& root) {
    const TreeNode* node = root.Node();
    bool unsaved = root.Type() == RootType::kPlaylist && node && node->playlist && node->playlist->modified;
    return unsaved ? node->playlist.get() : nullptr;
}

}  // namespace

int SaveModifiedPlaylists(const std::vector<Ref<Root>>& roots, bool autosave, const PlaylistWriteOptions& how) {
    if (!autosave) return 0;
    int saved = 0;
    for (const Ref<Root>& root : roots) {
        Playlist* entries = root ? UnsavedEntries(*root) : nullptr;
        if (entries && WritePlaylistFile(*entries, root->Path(), how)) ++saved;
    }
    return saved;
}
