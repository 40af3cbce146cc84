// The file list as a drop target: while a playlist is selected in the tree, dropped files and
// folders go into it where they are dropped; anything else is refused.
#pragma once

#include "ui/view/drop/FileDropTarget.h"

class ViewModel;

class ListDropTarget final : public FileDropTarget {
public:
    // The model outlives the target's registration; the pane forgets the target before it goes.
    ListDropTarget(HWND list, ViewModel& model) : FileDropTarget(list), model_(model) {}

protected:
    bool TakesFiles() override;
    DWORD OverEffect(POINT client) override;
    bool DropPaths(const std::vector<std::wstring>& paths, POINT client) override;

private:
    ~ListDropTarget() override = default;

    ViewModel& model_;
};
