// What adding and removing roots tells the rest of the plugin. The worker turns each call into
// a command for the view; tests record them.
#pragma once

#include <string>

#include "base/RefCounted.h"
#include "db/TreeNode.h"

class RootEvents {
public:
    virtual ~RootEvents() = default;
    // A message for the user, shown by the view in a message box.
    virtual void ShowMessage(const std::wstring& text) = 0;
    // A new root's node, to be put into the tree.
    virtual void RootAdded(TreeNode& node) = 0;
    // A root's content is loaded. When waitForView is set the call returns only once the view
    // has taken the node in.
    virtual void RootLoaded(TreeNode& node, bool waitForView) = 0;
    // Offer to read the tags of a newly added root.
    virtual void OfferTagReading(const std::wstring& rootPath) = 0;
    // The entries the view already holds for this playlist file, or null.
    virtual Ref<Playlist> OpenPlaylist(const std::wstring& path) = 0;
    virtual void RefreshList() = 0;
    // The last root went: the list shows its empty-library text and the tree refreshes.
    virtual void LastRootRemoved() = 0;
};
