// A real folder tree for the tree tests: the view's dialog from the built plugin in a hidden
// top-level window, its tree bound to a FolderTreeView, and a dialog procedure that forwards
// the tree's notifications as the controller does.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "support/BuildFiles.h"
#include "support/TempFolder.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/ViewModel.h"

class FakeModel : public ViewModel {
public:
    Ref<FileRecord> RowAt(int) override { return {}; }
    Ref<RowList> CurrentRows() override { return {}; }
    Ref<TreeNode> SelectedNode() override { return {}; }
    int DefaultSortKey() const override { return 0; }
    void SetDefaultSortKey(int) override {}
    Ref<RowList> SortShownRows(int) override { return {}; }
    const MainViewOptions& Options() const override { return options; }
    const SkinColors& Colors() const override { return colors; }
    std::wstring PlayingPath() const override { return {}; }

    MainViewOptions options;
    SkinColors colors;
};

void Pump();

// GDI and USER objects of the process. Wine answers 0 to GetGuiResources, so there the GDI
// handle table is walked slot by slot and windows, menus and icons are counted one by one.
std::pair<DWORD, DWORD> GuiObjectsNow();

class TreeTest : public testing::Test {
public:
    static std::vector<wchar_t> charsSeen;                        // as the control itself saw them
    static std::vector<std::pair<WPARAM, LPARAM>> commandsSeen;  // by the window registered as the view

protected:
    void SetUp() override;
    void TearDown() override;
    void CreateWindows();
    void DestroyWindows();
    // Binds a new tree object (closing the previous one); icons from the plugin unless given.
    void MakeView(HINSTANCE resources = nullptr);
    void ReleaseView();

    static Ref<TreeNode> Folder(const std::wstring& path, std::vector<Ref<TreeNode>> children = {}) {
        auto node = Ref<TreeNode>::Make(NodeKind::kFolder, path);
        node->SetChildren(std::move(children));
        return node;
    }
    HTREEITEM AddRoot(TreeNode& node) { return view->InsertNode(view->TopItem(), TVI_LAST, node); }
    TVITEMW Item(HTREEITEM item) const;  // text, images and state
    std::wstring TextOf(HTREEITEM item) const;
    std::vector<std::wstring> ChildTexts(HTREEITEM parent) const;
    bool Expanded(HTREEITEM item) const {
        return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }
    void PressKey(UINT key) { SendMessageW(tree, WM_KEYDOWN, key, 1); }

    TempFolder temp;
    ScopedPluginContext context{temp.File(L"docs")};
    SettingsFile settings{temp.File(L"gen_cv.ini")};
    FakeModel model;
    HWND host = nullptr, dialog = nullptr, tree = nullptr, viewWindow = nullptr;
    Ref<FolderTreeView> view;
    mutable wchar_t text[260] = {};
};
