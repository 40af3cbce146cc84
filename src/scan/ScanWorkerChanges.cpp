// The worker's items for changes on disk: one file, one folder, or a folder rescanned.
#include "db/CacheDatabase.h"
#include "db/roots/Root.h"
#include "scan/ChangeApply.h"
#include "scan/ChangeNotice.h"
#include "scan/ScanWorker.h"
#include "scan/ViewPosts.h"

// A notice or rescan queued before its root was removed is dropped: applied, it would write
// rows no root owns, and the view would show a folder of a root that is gone.
bool ScanWorker::HoldsRoot(const Root* root) const { return root && roots_->IndexOf(root) >= 0; }

void ScanWorker::OnFileNotice(WPARAM, LPARAM lp) {
    Ref<ChangeNotice> notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(lp));
    if (notice && HoldsRoot(notice->root.get())) ApplyFileNotice(*notice, *database_, *extensions_, options_.typeFilter, options_.treePlaylists);
}

void ScanWorker::OnFolderNotice(WPARAM, LPARAM lp) {
    Ref<ChangeNotice> notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(lp));
    if (notice && HoldsRoot(notice->root.get())) {
        ApplyFolderNotice(*notice, *database_, *extensions_, options_.treePlaylists);
    } else {
        // Answered with no folder all the same: the view counts the updates it has in flight
        // and holds further notices until each is answered.
        PostToView(kCmdFolderAdded, 0);
    }
}

void ScanWorker::OnRescanFolder(WPARAM wp, LPARAM lp) {
    Ref<Root> root = Ref<Root>::Adopt(reinterpret_cast<Root*>(wp));
    Ref<TreeNode> node = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(lp));
    if (HoldsRoot(root.get()) && node) RescanFolder(*root, *node, *database_, *extensions_, options_.treePlaylists);
}
