// The options that shape every listing, and the extensions the list shows.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "base/Text.h"

enum ListingOption : int {
    kStripAccents = 2,   // compare search text without accents
    kLimitSearch = 4,    // only files directly in the selected folder
    kHideEmptyFiles = 8, // leave out files of size 0
};

struct NoCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                    TRUE) == CSTR_LESS_THAN;
    }
};

// Lower-case extensions without the dot, ordered ignoring case.
using TypeFilter = std::set<std::wstring, NoCaseLess>;

// "mp3;FLAC;;ogg" -> {flac, mp3, ogg}: split at ";", lower-cased, empty pieces dropped.
TypeFilter ParseTypeFilter(const std::wstring& setting);
