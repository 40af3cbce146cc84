// Tree nodes and the default display name taken from the path.
#include "db/TreeNode.h"

#include <algorithm>

#include "base/CriticalSection.h"
#include "base/Path.h"
#include "base/Text.h"

namespace {
CriticalSection& ChildrenLock() {
    static CriticalSection lock;
    return lock;
}

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

std::vector<Ref<TreeNode>> TreeNode::Children() const {
    Lock lock(ChildrenLock());
    return children_;
}

Ref<TreeNode> TreeNode::ChildAt(size_t index) const {
    Lock lock(ChildrenLock());
    return index < children_.size() ? children_[index] : Ref<TreeNode>();
}

size_t TreeNode::ChildCount() const {
    Lock lock(ChildrenLock());
    return children_.size();
}

void TreeNode::AddChild(Ref<TreeNode> child) {
    Lock lock(ChildrenLock());
    children_.push_back(std::move(child));
}

// The old children are released after the lock: a last release may free a whole subtree.
void TreeNode::SetChildren(std::vector<Ref<TreeNode>> children) {
    {
        Lock lock(ChildrenLock());
        children_.swap(children);
    }
}

void TreeNode::ClearChildren() { SetChildren({}); }

void TreeNode::RemoveChild(const TreeNode* child, const std::wstring& childPath) {
    std::vector<Ref<TreeNode>> removed;  // made before the lock, so released after it
    Lock lock(ChildrenLock());
    auto gone = std::stable_partition(children_.begin(), children_.end(), [&](const Ref<TreeNode>& node) {
        return child ? node.get() != child : !EqualsNoCase(node->path, childPath);
    });
    removed.assign(std::make_move_iterator(gone), std::make_move_iterator(children_.end()));
    children_.erase(gone, children_.end());
}

Ref<TreeNode> TreeNode::FindChild(const std::wstring& childPath, size_t among) const {
    Lock lock(ChildrenLock());
    size_t count = std::min(among, children_.size());
    for (size_t i = 0; i < count; ++i)
        if (EqualsNoCase(children_[i]->path, childPath)) return children_[i];
    return {};
}
