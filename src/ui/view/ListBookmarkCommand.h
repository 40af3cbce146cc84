// The list's bookmark command: the bookmark item alone bookmarks the selection; the n-th
// bookmark of the submenu plays that file with the list's double-click action.
#pragma once

#include <string>
#include <vector>

// bookmarks: the paths of the submenu's bookmarks in item order; n: 0, or 1 for the first.
// A bookmark number the list does not hold does nothing.
void RunBookmarkCommand(const std::vector<std::wstring>& bookmarks, int n);
