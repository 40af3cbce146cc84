// Tree nodes and the default display name taken from the path.
#include "db/TreeNode.h"

#include "base/Path.h"
#include "base/Text.h"

namespace {
std::wstring NameFromPath(NodeKind kind, const std::wstring& path) {
    if (kind == NodeKind::kSmartPlaylist) return path;
    std::wstring trimmed = path;
    if (!trimmed.empty() && trimmed.back() == L'\\') trimmed.pop_back();
    std::wstring name = FileNamePart(trimmed);
    return name.empty() ? trimmed : name;
}
}  // namespace

TreeNode::TreeNode(NodeKind kind, std::wstring path, std::wstring name)
    : kind(kind), path(std::move(path)), name(std::move(name)) {
    if (this->name.empty()) this->name = NameFromPath(kind, this->path);
}

TreeNode* TreeNode::FindChild(const std::wstring& childPath) const {
    for (const Ref<TreeNode>& child : children)
        if (EqualsNoCase(child->path, childPath)) return child.get();
    return nullptr;
}
