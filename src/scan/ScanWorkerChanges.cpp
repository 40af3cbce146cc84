// The worker's items for changes on disk: one file, one folder, or a folder rescanned.
#include "db/CacheDatabase.h"
#include "db/roots/Root.h"
#include "scan/ChangeApply.h"
#include "scan/ChangeNotice.h"
#include "scan/ScanWorker.h"

void ScanWorker::OnFileNotice(WPARAM, LPARAM lp) {
    Ref<ChangeNotice> notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(lp));
    if (notice) ApplyFileNotice(*notice, *database_, *extensions_, options_.typeFilter);
}

void ScanWorker::OnFolderNotice(WPARAM, LPARAM lp) {
    Ref<ChangeNotice> notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(lp));
    if (notice) ApplyFolderNotice(*notice, *database_, *extensions_, options_.treePlaylists);
}

void ScanWorker::OnRescanFolder(WPARAM wp, LPARAM lp) {
    Ref<Root> root = Ref<Root>::Adopt(reinterpret_cast<Root*>(wp));
    Ref<TreeNode> node = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(lp));
    if (root && node) RescanFolder(*root, *node, *database_, *extensions_, options_.treePlaylists);
}
