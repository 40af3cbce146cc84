// The rules and steps for adding and removing roots.
#include "db/roots/RootsStore.h"

#include <windows.h>

#include "base/Path.h"
#include "base/Text.h"
#include "base/Unique.h"
#include "db/CacheDatabase.h"
#include "db/roots/FolderRoot.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootLoader.h"
#include "db/roots/RootRows.h"
#include "db/roots/SqlRoot.h"
#include "settings/PluginContext.h"
#include "StringIds.h"

namespace {

void CreateEmptyFile(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

// Compared over the length of the shorter path, so one folder inside the other overlaps; the
// trailing backslash keeps D:\Music2\ apart from D:\Music\.
bool RootsStore::FolderRootOverlaps(const std::wstring& path) const {
    std::wstring candidate = WithTrailingBackslash(path);
    for (const Ref<Root>& root : roots_.Snapshot()) {
        if (root->Type() != RootType::kFolder) continue;
        if (SharedPrefixEqualsNoCase(candidate, WithTrailingBackslash(root->Path()))) return true;
    }
    return false;
}

bool RootsStore::PlaylistRootExists(const std::wstring& path) const {
    for (const Ref<Root>& root : roots_.Snapshot()) {
        if (root->Type() != RootType::kPlaylist) continue;
        if (SharedPrefixEqualsNoCase(path, root->Path()) &&
            EqualsNoCase(ExtensionOf(path), ExtensionOf(root->Path())))
            return true;
    }
    return false;
}

bool RootsStore::AddFolderRoot(const std::wstring& path, bool treePlaylists) {
    std::wstring folder = WithTrailingBackslash(path);
    if (FolderRootOverlaps(folder)) {
        events_.ShowMessage(GetString(kStrMsgPathNotUnique));
        return false;
    }
    // The top folder row is stored under rootid -1 until the Roots row exists. The three
    // writes are one transaction: a kill between them would leave a folder row that belongs to
    // no root, which no later start cleans up or scans.
    bool ownTransaction = !database_.Sql().InTransaction();
    if (ownTransaction) database_.Sql().BeginTransaction();
    Ref<FolderRoot> root = Ref<FolderRoot>::Adopt(new FolderRoot(folder, -1, database_));
    events_.RootAdded(*root->Node());
    roots_.Append(root);
    root->SetRootId(InsertRootRow(database_, static_cast<int>(RootType::kFolder), root->Autoload(), folder,
                                  std::nullopt));
    AttachTopFolder(database_, root->RootId(), root->Node()->folderId);
    if (ownTransaction) database_.Sql().Commit();

    int flags = kLoadFullScan | (treePlaylists ? kLoadTreePlaylists : 0);
    if (root->Load(loader_, flags)) {
        events_.RootLoaded(*root->Node(), true);
        events_.OfferTagReading(folder);
    }
    return true;
}

bool RootsStore::AddPlaylistRoot(const std::wstring& path) {
    if (PlaylistRootExists(path)) {
        events_.ShowMessage(GetString(kStrMsgPlaylistNotUnique));
        return false;
    }
    if (!PathExists(path)) CreateEmptyFile(path);
    Ref<PlaylistRoot> root = Ref<PlaylistRoot>::Adopt(new PlaylistRoot(path, -1));
    if (Ref<Playlist> open = events_.OpenPlaylist(path)) root->AttachEntries(open);

    events_.RootAdded(*root->Node());
    roots_.Append(root);
    root->SetRootId(InsertRootRow(database_, static_cast<int>(RootType::kPlaylist), false, path, std::nullopt));
    if (root->Load(loader_, 0)) {
        events_.RootLoaded(*root->Node(), false);
        events_.OfferTagReading(path);
    }
    return true;
}

void RootsStore::AddSqlRoot(const std::wstring& condition, const std::wstring& name) {
    Ref<SqlRoot> root = Ref<SqlRoot>::Adopt(new SqlRoot(condition, name, -1));
    events_.RootAdded(*root->Node());
    roots_.Append(root);
    root->SetRootId(InsertRootRow(database_, static_cast<int>(RootType::kSql), false, condition, name));
    events_.RefreshList();
}

bool RootsStore::RemoveRoot(size_t index) {
    Ref<Root> root = roots_.RemoveAt(index);
    if (!root) return false;
    DeleteRootRows(database_, root->RootId());
    root->Close();
    if (roots_.Size() == 0) events_.LastRootRemoved();
    return true;
}
