// The worker's root items: adding and removing roots, auto-load flags and availability.
#include "base/Path.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "db/CacheDatabase.h"
#include "db/roots/RootsStore.h"
#include "scan/ScanWorker.h"
#include "scan/ViewRootEvents.h"

void ScanWorker::OnAddFolderRoot(WPARAM wp, LPARAM) {
    Ref<TextObject> path = AdoptText(static_cast<LPARAM>(wp));
    if (!path) return;
    ViewRootEvents events;
    RootsStore(*roots_, *database_, Loader(), events).AddFolderRoot(path->text, options_.treePlaylists);
}

void ScanWorker::OnAddPlaylistRoot(WPARAM wp, LPARAM) {
    Ref<TextObject> path = AdoptText(static_cast<LPARAM>(wp));
    if (!path) return;
    ViewRootEvents events;
    RootsStore(*roots_, *database_, Loader(), events).AddPlaylistRoot(path->text);
}

void ScanWorker::OnAddSqlRoot(WPARAM wp, LPARAM lp) {
    Ref<TextObject> condition = AdoptText(static_cast<LPARAM>(wp));
    Ref<TextObject> name = AdoptText(lp);
    if (!condition) return;
    ViewRootEvents events;
    RootsStore(*roots_, *database_, Loader(), events).AddSqlRoot(condition->text, name ? name->text : L"");
}

void ScanWorker::OnRemoveRoot(WPARAM wp, LPARAM) {
    Ref<Root> root = Ref<Root>::Adopt(reinterpret_cast<Root*>(wp));
    int index = roots_->IndexOf(root.get());
    if (index < 0) return;
    ViewRootEvents events;
    RootsStore(*roots_, *database_, Loader(), events).RemoveRoot(static_cast<size_t>(index));
}

void ScanWorker::OnSetAutoload(WPARAM wp, LPARAM lp) {
    if (Ref<Root> root = roots_->At(static_cast<size_t>(wp))) root->SetAutoload(lp != 0);
}

// A root that came back is loaded again as at start-up; one that went empties its node.
void ScanWorker::OnCheckAvailability(WPARAM, LPARAM) {
    for (const Ref<Root>& root : roots_->Snapshot()) {
        bool present;
        if (root->Type() == RootType::kFolder) {
            std::wstring path = root->Path();
            if (!path.empty() && path.back() == L'\\') path.pop_back();
            present = IsExistingDirectory(path);
        } else if (root->Type() == RootType::kPlaylist) {
            present = PathExists(root->Path());
        } else {
            continue;
        }
        if (!present && root->Available()) {
            PostToView(kCmdRootAvailability, reinterpret_cast<LPARAM>(Ref<Root>(root).Detach()));
            root->SetAvailable(false);
        } else if (present && !root->Available()) {
            if (root->Load(Loader(), LoadFlags(options_.scanFiles))) {
                PostToView(kCmdRootAvailability, reinterpret_cast<LPARAM>(Ref<Root>(root).Detach()));
                PostToView(kCmdRootLoaded, reinterpret_cast<LPARAM>(Ref<TreeNode>(root->Node()).Detach()));
            }
            root->SetAvailable(true);
        }
    }
    PostToView(kCmdRefreshList, 0);
}
