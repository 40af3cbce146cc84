// The roots list and loading it from the cache.
#include "db/roots/RootsList.h"

#include <utility>

#include "db/roots/FolderRoot.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootRows.h"
#include "db/roots/SqlRoot.h"

size_t RootsList::Size() const {
    Lock lock(lock_);
    return roots_.size();
}

Ref<Root> RootsList::At(size_t index) const {
    Lock lock(lock_);
    return index < roots_.size() ? roots_[index] : Ref<Root>();
}

std::vector<Ref<Root>> RootsList::Snapshot() const {
    Lock lock(lock_);
    return roots_;
}

int RootsList::IndexOf(const Root* root) const {
    Lock lock(lock_);
    for (size_t i = 0; i < roots_.size(); ++i)
        if (roots_[i].get() == root) return static_cast<int>(i);
    return -1;
}

void RootsList::Append(Ref<Root> root) {
    Lock lock(lock_);
    roots_.push_back(std::move(root));
}

Ref<Root> RootsList::RemoveAt(size_t index) {
    Lock lock(lock_);
    if (index >= roots_.size()) return {};
    Ref<Root> root = std::move(roots_[index]);
    roots_.erase(roots_.begin() + static_cast<std::ptrdiff_t>(index));
    return root;
}

bool RootsList::Swap(size_t first, size_t second) {
    Lock lock(lock_);
    if (first >= roots_.size() || second >= roots_.size()) return false;
    std::swap(roots_[first], roots_[second]);
    return true;
}

void LoadRoots(RootsList& roots, CacheDatabase& database) {
    for (const RootRow& row : ReadRootRows(database)) {
        if (!row.path) continue;
        Ref<Root> root;
        switch (static_cast<RootType>(row.type)) {
            case RootType::kFolder:
                root = Ref<Root>::Adopt(new FolderRoot(*row.path, row.rootId, database));
                root->SetAutoload(row.autoload != 0);
                break;
            case RootType::kPlaylist:
                root = Ref<Root>::Adopt(new PlaylistRoot(*row.path, row.rootId));
                break;
            case RootType::kSql:
                root = Ref<Root>::Adopt(new SqlRoot(*row.path, row.name.value_or(L""), row.rootId));
                break;
            default: continue;
        }
        roots.Append(std::move(root));
    }
}
