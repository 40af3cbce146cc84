// A node's children change on the worker while the tree reads them on another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "db/TreeNode.h"

namespace {

TEST(TreeNodeTest, ChildrenChangeOnOneThreadWhileAnotherReadsThem) {
    auto node = Ref<TreeNode>::Make(NodeKind::kFolder, L"C:\\Music\\");
    std::atomic<bool> done{false};
    std::atomic<int> passes{0};
    std::thread worker([&] {
        for (int round = 0; round < 20; ++round) {
            for (int i = 0; i < 500; ++i)
                node->AddChild(Ref<TreeNode>::Make(NodeKind::kFolder, L"C:\\Music\\" + std::to_wstring(i) + L"\\"));
            // A busy machine may not schedule the reader at all before the worker ends: wait
            // until it has started a pass over this round's children, whatever else it overlaps.
            for (int seen = passes; passes < seen + 2;) std::this_thread::yield();
            if (round % 5 == 4) node->ClearChildren();
        }
        done = true;
    });
    size_t walked = 0;
    while (!done) {
        ++passes;
        for (const Ref<TreeNode>& child : node->Children()) walked += child->path.size() > 9;
        if (Ref<TreeNode> found = node->FindChild(L"C:\\MUSIC\\250\\")) {
            EXPECT_EQ(found->name, L"250");
        }
        node->RemoveChild(nullptr, L"c:\\music\\499\\");
    }
    worker.join();
    EXPECT_GT(walked, 0u);
    EXPECT_EQ(node->ChildCount(), 0u) << "the last round cleared them";
    node->AddChild(Ref<TreeNode>::Make(NodeKind::kPlaylist, L"C:\\Music\\a.m3u"));
    Ref<TreeNode> kept = node->ChildAt(0);
    node->RemoveChild(kept.get());
    EXPECT_FALSE(node->HasChildren());
    EXPECT_EQ(kept->name, L"a.m3u") << "a removed child stays whole for whoever holds it";
}

}  // namespace
