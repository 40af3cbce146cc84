// The parts common to every kind of root.
#include "db/roots/Root.h"

Root::Root(Ref<TreeNode> node, long long rootId) : rootId_(rootId) { SetNode(std::move(node)); }

Root::~Root() {
    if (node_ && node_->root == this) node_->root = nullptr;
}

void Root::SetNode(Ref<TreeNode> node) {
    if (node_ && node_->root == this) node_->root = nullptr;
    node_ = std::move(node);
    if (node_) node_->root = this;
}

bool Root::Load(const RootLoader& loader, int flags) {
    Lock lock(loadLock_);
    return LoadContent(loader, flags);
}

bool Root::TryLoad(const RootLoader& loader, int flags) {
    if (!loadLock_.TryEnter()) return false;
    bool loaded = LoadContent(loader, flags);
    loadLock_.Leave();
    return loaded;
}

void Root::SetAvailable(bool on) {
    available_ = on;
    if (!on && node_) node_->ClearChildren();
}
