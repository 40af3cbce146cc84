// Smart playlist roots.
#include "db/roots/SqlRoot.h"

SqlRoot::SqlRoot(std::wstring condition, const std::wstring& name, long long rootId)
    : Root(Ref<TreeNode>::Make(NodeKind::kSmartPlaylist, name, name), rootId),
      condition_(std::move(condition)) {
    available_ = true;
}

void SqlRoot::Close() {
    node_->ClearChildren();
    condition_.clear();
}
