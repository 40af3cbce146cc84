// Smart playlist roots.
#include "db/roots/SqlRoot.h"

SqlRoot::SqlRoot(std::wstring condition, const std::wstring& name, long long rootId)
    : Root(Ref<TreeNode>::Make(NodeKind::kSmartPlaylist, name, name), rootId),
      condition_(std::make_shared<const std::wstring>(std::move(condition))),
      name_(std::make_shared<const std::wstring>(name)) {
    available_ = true;
}

void SqlRoot::Close() {
    node_->ClearChildren();
    SetCondition(std::wstring());
}

SqlRoot::Text SqlRoot::Read(const Text& text) const {
    Lock lock(textLock_);
    return text;
}

// The old text is let go outside the lock.
void SqlRoot::Exchange(Text& text, std::wstring value) {
    Text made = std::make_shared<const std::wstring>(std::move(value));
    Lock lock(textLock_);
    text.swap(made);
}

std::wstring SqlRoot::Condition() const { return *Read(condition_); }

void SqlRoot::SetCondition(std::wstring condition) { Exchange(condition_, std::move(condition)); }

std::wstring SqlRoot::Name() const { return *Read(name_); }

void SqlRoot::SetName(const std::wstring& name) {
    Exchange(name_, name);
    node_->path = node_->name = name;
}
