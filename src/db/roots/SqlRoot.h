// A smart playlist: a named condition on the cache, listed like a folder.
#pragma once

#include <memory>
#include <string>

#include "base/CriticalSection.h"
#include "db/roots/Root.h"

class SqlRoot : public Root {
public:
    SqlRoot(std::wstring condition, const std::wstring& name, long long rootId);

    void Close() override;
    bool Save() override { return true; }
    bool LoadContent(const RootLoader&, int) override { return true; }
    RootType Type() const override { return RootType::kSql; }

    // The worker lists by the condition while the user may be editing it: each text is never
    // changed once made, only exchanged for a new one under the lock, so a reader keeps a whole
    // old or a whole new condition, never one torn in between.
    std::wstring Condition() const;
    void SetCondition(std::wstring condition);
    // The name as last set; the node's own texts are the tree's, read on its thread.
    std::wstring Name() const;
    void SetName(const std::wstring& name);
    // The smart playlist's own sort order while it is loaded.
    int SortKey() const { return sortKey_; }
    void SetSortKey(int key) { sortKey_ = key; }

private:
    using Text = std::shared_ptr<const std::wstring>;

    Text Read(const Text& text) const;
    void Exchange(Text& text, std::wstring value);

    mutable CriticalSection textLock_;
    Text condition_;
    Text name_;
    int sortKey_ = 0;
};
