// Saving changed playlist roots at shutdown.
#include "ui/view/PlaylistAutosave.h"

namespace {

bool HasUnsavedEntries(const Root& root) {
    const TreeNode* node = root.Node();
    return root.Type() == RootType::kPlaylist && node && node->playlist && node->playlist->modified;
}

}  // namespace

int SaveModifiedPlaylists(const std::vector<Ref<Root>>& roots, bool autosave) {
    if (!autosave) return 0;
    int saved = 0;
    for (const Ref<Root>& root : roots)
        if (root && HasUnsavedEntries(*root) && root->Save()) ++saved;
    return saved;
}
