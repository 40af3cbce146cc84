// Sort keys of tree nodes and the header-click rule.
#include "ui/view/SortKeys.h"

#include <cstdlib>

#include "db/TreeNode.h"
#include "db/roots/SqlRoot.h"

int NextSortKey(int current, int column, bool playlistNode) {
    if (column == 0) return playlistNode ? 0 : -current;
    if (std::abs(current) == column && current < 0) return column;
    return -column;
}

int SortKeyInEffect(const TreeNode* node, int defaultKey) {
    if (!node) return defaultKey;
    if (node->kind == NodeKind::kPlaylist && node->playlist) return node->playlist->sortKey;
    if (node->kind == NodeKind::kSmartPlaylist && node->root && node->root->Type() == RootType::kSql)
        return static_cast<const SqlRoot*>(node->root)->SortKey();
    return defaultKey;
}
