// The worker's table from work item to handler, and the items that change its options.
#include <memory>

#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "db/CacheDatabase.h"
#include "scan/ScanWorker.h"

const ScanWorker::ItemEntry ScanWorker::kItems[] = {
    {kWorkAddFolderRoot, &ScanWorker::OnAddFolderRoot},
    {kWorkList, &ScanWorker::OnList},
    {kWorkSetAutoload, &ScanWorker::OnSetAutoload},
    {kWorkAddPlaylistRoot, &ScanWorker::OnAddPlaylistRoot},
    {kWorkVisibleTags, &ScanWorker::OnVisibleTags},
    {kWorkRemoveRoot, &ScanWorker::OnRemoveRoot},
    {kWorkSetTypeFilter, &ScanWorker::OnSetTypeFilter},
    {kWorkFullTagPass, &ScanWorker::OnFullTagPass},
    {kWorkQuery, &ScanWorker::OnQuery},
    {kWorkDeleteFileRow, &ScanWorker::OnDeleteFileRow},
    {kWorkFileNotice, &ScanWorker::OnFileNotice},
    {kWorkFolderNotice, &ScanWorker::OnFolderNotice},
    {kWorkSetCompatibility, &ScanWorker::OnSetCompatibility},
    {kWorkSetSearchFromTop, &ScanWorker::OnSetSearchFromTop},
    {kWorkCheckAvailability, &ScanWorker::OnCheckAvailability},
    {kWorkStop, &ScanWorker::OnStop},
    {kWorkRescanFolder, &ScanWorker::OnRescanFolder},
    {kWorkSetStripAccents, &ScanWorker::OnSetStripAccents},
    {kWorkSetLimitSearch, &ScanWorker::OnSetLimitSearch},
    {kWorkVacuum, &ScanWorker::OnVacuum},
    {kWorkSetHideEmpty, &ScanWorker::OnSetHideEmpty},
    {kWorkAddSqlRoot, &ScanWorker::OnAddSqlRoot},
    {kWorkSetTreePlaylists, &ScanWorker::OnSetTreePlaylists},
    {kWorkForwardCommand, &ScanWorker::OnForwardCommand},
};

// Items without an entry (the tag-pass cancel among them) are dropped; a pass looks for the
// cancel in the queue itself.
void ScanWorker::Handle(const MSG& message) {
    for (const ItemEntry& entry : kItems) {
        if (entry.item == message.message) {
            (this->*entry.handler)(message.wParam, message.lParam);
            return;
        }
    }
}

void ScanWorker::OnStop(WPARAM, LPARAM) { stopRequested_ = true; }

void ScanWorker::OnSetTypeFilter(WPARAM wp, LPARAM lp) {
    std::unique_ptr<TypeFilter> filter(reinterpret_cast<TypeFilter*>(lp));
    if (filter) options_.typeFilter = std::move(*filter);
    listingOptions_ = static_cast<int>(wp);
    ApplyListingOptions();
    PostToView(kCmdRefreshList, 0);
}

void ScanWorker::OnSetCompatibility(WPARAM, LPARAM lp) { options_.compatibility = lp != 0; }

void ScanWorker::OnSetSearchFromTop(WPARAM, LPARAM lp) {
    options_.searchFromTop = lp != 0;
    PostToView(kCmdRefreshList, 0);
}

// The three option items carry the view's whole option set; each names the option it changes.
void ScanWorker::OnSetStripAccents(WPARAM, LPARAM lp) {
    listingOptions_ = static_cast<int>(lp);
    ApplyListingOptions();
    PostToView(kCmdRefreshList, 0);
}

void ScanWorker::OnSetLimitSearch(WPARAM, LPARAM lp) {
    listingOptions_ = static_cast<int>(lp);
    ApplyListingOptions();
}

void ScanWorker::OnSetHideEmpty(WPARAM, LPARAM lp) {
    options_.hideEmpty = (lp & kHideEmptyFiles) != 0;
    listingOptions_ = static_cast<int>(lp);
    ApplyListingOptions();
    PostToView(kCmdRefreshList, 0);
}

void ScanWorker::OnSetTreePlaylists(WPARAM, LPARAM lp) { options_.treePlaylists = lp != 0; }

// Everything queued before this item is done by now.
void ScanWorker::OnForwardCommand(WPARAM wp, LPARAM lp) { PostToView(wp, lp); }
