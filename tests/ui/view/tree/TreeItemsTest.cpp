// Nodes as tree items: text, icons and dimmed state per kind, the order of children, finding
// items by path, and the items' references to their nodes.
#include "ui/view/tree/TreeHarness.h"

#include "base/Path.h"

namespace {

TEST_F(TreeTest, ItemsShowTheirNodeByKind) {
    constexpr NodeKind F = NodeKind::kFolder, P = NodeKind::kPlaylist, S = NodeKind::kSmartPlaylist;
    const struct {
        NodeKind kind;
        const wchar_t* name;  // made under the test folder when it exists
        bool exists, hidden, replaceUnderscore;
        const wchar_t* text;
        int image, selectedImage;
        bool dimmed;
    } cases[] = {
        {F, L"Rock\\", true, false, false, L"Rock", kImageFolder, kImageFolderSelected, false},
        {F, L"Gone\\", false, false, false, L"Gone", kImageFolderMissing, kImageFolderMissing, false},
        {F, L"Secret\\", true, true, false, L"Secret", kImageFolder, kImageFolderSelected, true},
        {F, L"My_Band\\", true, false, true, L"My Band", kImageFolder, kImageFolderSelected, false},
        {F, L"My_Duo\\", true, false, false, L"My_Duo", kImageFolder, kImageFolderSelected, false},
        {P, L"list.m3u", true, false, false, L"list", kImagePlaylist, kImagePlaylist, false},
        {P, L"mix.v2.m3u8", true, false, true, L"mix.v2", kImagePlaylist, kImagePlaylist, false},
        {P, L"my_list.m3u", false, false, true, L"my_list", kImagePlaylistMissing, kImagePlaylistMissing, false},
        {S, L"Recent adds", false, false, true, L"Recent adds", kImageSmartPlaylist, kImageSmartPlaylist, false},
    };
    for (const auto& c : cases) {
        std::wstring path = temp.File(c.name);
        if (c.exists && c.kind == F) CreateDirectoryW(path.c_str(), nullptr);
        if (c.exists && c.kind == P) WriteBytes(path, "#EXTM3U\r\n");
        auto node = c.kind == S ? Ref<TreeNode>::Make(c.kind, L"SELECT 1", c.name) : Ref<TreeNode>::Make(c.kind, path);
        if (c.hidden) node->attributes |= FILE_ATTRIBUTE_HIDDEN;
        model.options.replaceUnderscore = c.replaceUnderscore;
        TVITEMW got = Item(AddRoot(*node));
        EXPECT_STREQ(got.pszText, c.text) << c.name;
        EXPECT_EQ(got.iImage, c.image) << c.name;
        EXPECT_EQ(got.iSelectedImage, c.selectedImage) << c.name;
        EXPECT_EQ((got.state & TVIS_CUT) != 0, c.dimmed) << c.name;
    }
    EXPECT_TRUE(IsExistingDirectory(temp.File(L"My_Band"))) << "the folder keeps its name on disk";
}

TEST_F(TreeTest, ChildrenAreSortedRootsKeepTheirOrderAndPathsFindTheirItems) {
    auto live = Folder(temp.File(L"Album\\2 Live\\"));
    auto album = Folder(temp.File(L"Album\\"), {Folder(temp.File(L"Album\\Bonus\\")),
                                                Ref<TreeNode>::Make(NodeKind::kPlaylist, temp.File(L"Album\\all.m3u")),
                                                Folder(temp.File(L"Album\\10 Live\\")), live});
    auto zoo = Folder(temp.File(L"Zoo\\"));
    AddRoot(*zoo);
    HTREEITEM albumItem = AddRoot(*album);
    EXPECT_EQ(ChildTexts(view->TopItem()), (std::vector<std::wstring>{L"Zoo", L"Album"}));
    EXPECT_EQ(ChildTexts(albumItem), (std::vector<std::wstring>{L"2 Live", L"10 Live", L"Bonus", L"all"}));

    auto later = Folder(temp.File(L"Album\\3 Demos\\"));
    view->InsertNode(albumItem, TVI_LAST, *later);
    EXPECT_EQ(ChildTexts(albumItem), (std::vector<std::wstring>{L"2 Live", L"3 Demos", L"10 Live", L"Bonus", L"all"}));

    EXPECT_EQ(view->NodeOf(view->FindItemByPath(temp.File(L"ALBUM\\2 live\\"))), live.get());
    EXPECT_EQ(view->FindItemByPath(temp.File(L"Zoo\\")), TreeView_GetChild(tree, view->TopItem()));
    EXPECT_EQ(view->FindItemByPath(temp.File(L"Nowhere\\")), nullptr);
}

// Deleting the items, destroying the tree or dropping the tree object first all give the
// items' references back.
TEST_F(TreeTest, ItemsGiveTheirNodesBackWhenTheyGo) {
    auto leaf = Folder(temp.File(L"R\\A\\B\\"));
    auto root = Folder(temp.File(L"R\\"), {Folder(temp.File(L"R\\A\\"), {leaf})});
    TreeNode* middle = root->ChildAt(0).get();
    auto counts = [&] { return std::vector<long>{root->RefCount(), middle->RefCount(), leaf->RefCount()}; };
    const std::vector<long> alone = counts();

    HTREEITEM item = AddRoot(*root);
    EXPECT_EQ(counts(), (std::vector<long>{alone[0] + 1, alone[1] + 1, alone[2] + 1}));
    TreeView_DeleteItem(tree, item);
    EXPECT_EQ(counts(), alone) << "deleting the item";

    AddRoot(*root);
    DestroyWindows();
    EXPECT_EQ(counts(), alone) << "destroying the tree";

    CreateWindows();
    AddRoot(*root);
    ReleaseView();
    EXPECT_EQ(counts(), alone) << "releasing the tree object before its window";
}

}  // namespace
