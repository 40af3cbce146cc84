// The orders behind the file list's column headers: a stable sort of a row list by one column,
// ascending or descending, with empty values kept at the bottom either way.
#pragma once

#include <string_view>

#include "db/RowList.h"

// Prefix rules for the text columns Title to Comment.
enum SortPrefixFlag : int {
    kSortSkipLeadingThe = 1,
    kSortSkipLeadingSpaces = 2,
};

// The part of a text value that takes part in sorting under the prefix rules: leading spaces
// go when asked; a leading "the " goes only when the value as stored starts with it and has
// more after it, so a bare "The " keeps its text and "  The Doors" keeps its article.
std::wstring_view SortingText(std::wstring_view value, int prefixFlags);

// Sorts by column |key| (1-14), ascending for a negative key and descending for a positive one;
// records that compare equal keep their order. Any other key leaves the rows as they are. The
// list's own sortKey is not changed.
void SortRowList(RowList& rows, int key, int prefixFlags);
