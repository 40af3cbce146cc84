// The rows of one listing, and the listing result the worker hands to the view.
#pragma once

#include <vector>

#include "base/RefCounted.h"
#include "db/FileRecord.h"

struct RowList : RefCounted {
    std::vector<Ref<FileRecord>> rows;
    // The order the rows were sorted in (a column number, negative ascending), 0 for none.
    int sortKey = 0;
};

// Added up over the listed files.
struct ListTotals {
    int known = 0;             // rows whose tags were read
    unsigned seconds = 0;      // sum of each length / 1000
    long long bytes = 0;

    void Add(const FileRecord& record) {
        if (record.tagged) ++known;
        seconds += static_cast<unsigned>(record.length / 1000);
        bytes += record.size;
    }
};

// Posted with the listing-ready command; the receiver owns the block and its reference.
struct ListResult {
    ListTotals totals;
    Ref<RowList> rows;
};
