// The order of sibling items in the folder tree: sub-folders before playlist files, folders
// named by a number in number order (2 Live before 10 Live), the rest as the user's locale
// sorts text.
#pragma once

#include "db/TreeNode.h"

struct TreeSortOptions {
    bool skipLeadingThe = false;     // "The Band" sorts as "Band"
    bool skipLeadingSpaces = false;
};

// Negative when a comes before b, positive when after, 0 when they sort alike.
int CompareTreeNodes(const TreeNode& a, const TreeNode& b, TreeSortOptions options);
