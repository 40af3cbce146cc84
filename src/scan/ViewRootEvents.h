// The roots store's events as commands to the main view, the way the worker reports them.
#pragma once

#include "db/roots/RootEvents.h"

class ViewRootEvents : public RootEvents {
public:
    void ShowMessage(const std::wstring& text) override;
    void RootAdded(TreeNode& node) override;
    void RootLoaded(TreeNode& node, bool waitForView) override;
    void OfferTagReading(const std::wstring& rootPath) override;
    Ref<Playlist> OpenPlaylist(const std::wstring& path) override;
    void RefreshList() override;
    void LastRootRemoved() override;
};
