// The folder tree as a drop target: files and folders dropped on a playlist item join that
// playlist; a folder or a playlist file dropped on empty space becomes a root. It highlights
// the item under the pointer and knows whether the drag began in the tree itself.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "ui/view/drop/FileDropTarget.h"

class FolderTreeView;

class TreeDropTarget final : public FileDropTarget {
public:
    // The tree object owns the target's registration and makes the target forget it first.
    explicit TreeDropTarget(FolderTreeView& tree);

    bool DragFromTree() const { return dragFromTree_; }
    void SetDragFromTree(bool fromTree) { dragFromTree_ = fromTree; }

protected:
    bool TakesFiles() override { return true; }
    DWORD OverEffect(POINT client) override;
    void Leave() override;
    bool DropPaths(const std::vector<std::wstring>& paths, POINT client) override;
    void AfterDrop() override;

private:
    ~TreeDropTarget() override = default;
    HTREEITEM ItemAt(POINT client) const;
    void DropOnEmptySpace(const std::vector<std::wstring>& paths) const;

    FolderTreeView& tree_;
    bool dragFromTree_ = false;
};
