// The rows of one listing, and the listing result the worker hands to the view.
#pragma once

#include <vector>

#include "base/CriticalSection.h"
#include "base/RefCounted.h"
#include "db/FileRecord.h"

// Once the view shows a row list or hands it to the worker, neither side changes it again: the
// worker reads its rows without a lock, so a new order or a removal makes a new list that
// replaces the shown one. Until then (while the worker builds it, or the view sorts a listing
// that just arrived) its owner may fill and sort it freely.
struct RowList : RefCounted {
    std::vector<Ref<FileRecord>> rows;
    // The order the rows were sorted in (a column number, negative ascending), 0 for none.
    int sortKey = 0;

    // A new list of the same rows in the same order, with the same key.
    Ref<RowList> Copy() const {
        auto copy = Ref<RowList>::Make();
        copy->rows = rows;
        copy->sortKey = sortKey;
        return copy;
    }

    // A pass over the list tells the view about each row it read by the row's index. Once the
    // view shows another list those indexes would name rows of another order, so the view
    // retires this one; post runs under the list's lock, so no notice follows the retirement,
    // and the pass learns to stop. post must only post (never send or wait); it answers
    // whether the notice went out. Answers false once the list is retired.
    template <class Post>
    bool PostRowNotice(Post post) {
        Lock lock(noticeLock_);
        if (retired_) return false;
        if (post()) ++noticesPosted_;
        return true;
    }
    // Marks the list retired and answers how many row notices were posted for it in all.
    long Retire() {
        Lock lock(noticeLock_);
        retired_ = true;
        return noticesPosted_;
    }
    bool Retired() const {
        Lock lock(noticeLock_);
        return retired_;
    }

private:
    mutable CriticalSection noticeLock_;
    bool retired_ = false;
    long noticesPosted_ = 0;
};

// The whole seconds a row adds to a total. A length below zero (a host's "unknown", or its
// garbage) adds nothing: turned unsigned, it would add a hundred years.
inline unsigned LengthSeconds(const FileRecord& record) {
    return record.length > 0 ? static_cast<unsigned>(record.length / 1000) : 0;
}

// Added up over the listed files.
struct ListTotals {
    int known = 0;             // rows whose tags were read
    unsigned seconds = 0;      // sum of each length / 1000
    long long bytes = 0;
    bool rejected = false;     // the user's condition was refused, hence no rows

    void Add(const FileRecord& record) {
        if (record.tagged) ++known;
        seconds += LengthSeconds(record);
        bytes += record.size;
    }
};

// Posted with the listing-ready command; the receiver owns the block and its reference.
struct ListResult {
    ListTotals totals;
    Ref<RowList> rows;
};
