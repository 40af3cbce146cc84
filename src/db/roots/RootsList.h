// The shared list of roots in tree order. The worker changes it; the user-interface thread
// reads it, so every access takes the list's own lock, held only for that access.
#pragma once

#include <vector>

#include "base/CriticalSection.h"
#include "base/RefCounted.h"
#include "db/roots/Root.h"

class CacheDatabase;

class RootsList : public RefCounted {
public:
    size_t Size() const;
    // Null when the index is out of range.
    Ref<Root> At(size_t index) const;
    std::vector<Ref<Root>> Snapshot() const;
    // -1 when the root is not in the list.
    int IndexOf(const Root* root) const;
    void Append(Ref<Root> root);
    // The removed root, or null when the index is out of range.
    Ref<Root> RemoveAt(size_t index);
    // Exchanges two roots; false when either index is out of range.
    bool Swap(size_t first, size_t second);

private:
    mutable CriticalSection lock_;
    std::vector<Ref<Root>> roots_;
};

// Builds the roots from the Roots table in root order. Rows without a path or of an unknown
// type are skipped and stay in the table.
void LoadRoots(RootsList& roots, CacheDatabase& database);
