// A smart playlist: a named condition on the cache, listed like a folder.
#pragma once

#include "db/roots/Root.h"

class SqlRoot : public Root {
public:
    SqlRoot(std::wstring condition, const std::wstring& name, long long rootId);

    void Close() override;
    bool Save() override { return true; }
    bool Load(const RootLoader&, int) override { return true; }
    RootType Type() const override { return RootType::kSql; }

    const std::wstring& Condition() const { return condition_; }
    void SetCondition(std::wstring condition) { condition_ = std::move(condition); }
    void SetName(const std::wstring& name) { node_->path = node_->name = name; }
    // The smart playlist's own sort order while it is loaded.
    int SortKey() const { return sortKey_; }
    void SetSortKey(int key) { sortKey_ = key; }

private:
    std::wstring condition_;
    int sortKey_ = 0;
};
