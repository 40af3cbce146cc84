// Where the sort order of the selected tree node lives and how a header click changes it.
// A sort key is a column number 1-14, negative for ascending, positive for descending; 0 has
// no order of its own.
#pragma once

struct TreeNode;

// The key a header click on column leaves: "#" reverses the current order, or on a playlist
// turns sorting off so its entries show in file order; the column already sorted ascending
// turns descending; any other column starts ascending.
int NextSortKey(int current, int column, bool playlistNode);

// The key in force for the node: a playlist's own, a smart playlist's own, or else the
// view-wide default (also for no node).
int SortKeyInEffect(const TreeNode* node, int defaultKey);
