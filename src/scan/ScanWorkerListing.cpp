// The worker's listing items: building the list for a tree node or a "?" query, and the file
// statements that go with it.
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "db/CacheConnection.h"
#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/TreeNode.h"
#include "scan/ChangeApply.h"
#include "scan/ScanWorker.h"

void ScanWorker::OnList(WPARAM wp, LPARAM lp) {
    Ref<TreeNode> node = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(wp));
    Ref<TextObject> text = AdoptText(lp);
    ListResult* result = ListForNode(*database_, node.get(), text ? text->text : std::wstring(),
                                     options_.searchFromTop, options_.compatibility);
    if (result && !PostToView(kCmdListingReady, reinterpret_cast<LPARAM>(result))) delete result;
    // Only now, with the rows on their way to the view, is the listing's view of the file let go.
    database_->ReleaseListingMapping();
}

// The view sends the selected node along as it does for any listing; a "?" condition does not
// depend on it, but its reference is still ours to drop.
void ScanWorker::OnQuery(WPARAM wp, LPARAM lp) {
    Ref<TreeNode> selected = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(wp));
    Ref<TextObject> text = AdoptText(lp);
    ListResult* result = ListQuery(*database_, text ? text->text : std::wstring());
    if (result && !PostToView(kCmdListingReady, reinterpret_cast<LPARAM>(result))) delete result;
}

void ScanWorker::OnVacuum(WPARAM, LPARAM) { VacuumFiles(*database_); }

void ScanWorker::OnDeleteFileRow(WPARAM wp, LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    if (path) DeleteFileRow(*database_, path->text);
    if (wp) PostToView(kCmdRefreshList, 0);
}
