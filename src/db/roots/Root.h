// A root the user added to the library: a folder, a playlist file or a smart playlist. Roots
// live in the worker's roots list and stand at the top level of the tree through their node.
#pragma once

#include <atomic>
#include <string>

#include "base/CriticalSection.h"
#include "base/RefCounted.h"
#include "db/TreeNode.h"

class CacheDatabase;
class RootLoader;

enum class RootType { kFolder = 1, kPlaylist = 2, kSql = 3 };

class Root : public RefCounted {
public:
    // Stops what the root runs (watchers) and empties its content.
    virtual void Close() = 0;
    // Writes the root's content back where it has one to write; answers whether it did.
    virtual bool Save() = 0;
    // Brings the root's content in; flags are the load flags of RootLoader.h. One thread at a
    // time loads a root, as two walking one folder tree would tangle its nodes: Load waits for
    // a load under way on another thread; TryLoad, for the player's thread, which must not wait
    // minutes on the worker's scan, leaves the root to that load and answers false at once.
    bool Load(const RootLoader& loader, int flags);
    bool TryLoad(const RootLoader& loader, int flags);
    virtual RootType Type() const = 0;

    // The folder path, the playlist path, or a smart playlist's display name.
    const std::wstring& Path() const { return node_->path; }
    TreeNode* Node() const { return node_.get(); }
    void SetNode(Ref<TreeNode> node);

    long long RootId() const { return rootId_; }
    void SetRootId(long long id) { rootId_ = id; }

    // Read and changed from both the worker and the user-interface thread.
    bool Autoload() const { return autoload_; }
    void SetAutoload(bool on) { autoload_ = on; }
    bool Available() const { return available_; }
    // An unavailable root shows no content.
    void SetAvailable(bool on);
    bool Loaded() const { return loaded_; }

protected:
    Root(Ref<TreeNode> node, long long rootId);
    ~Root() override;
    void SetLoaded(bool on) { loaded_ = on; }
    virtual bool LoadContent(const RootLoader& loader, int flags) = 0;

    std::atomic<bool> available_{false};
    std::atomic<bool> autoload_{true};
    std::atomic<bool> loaded_{false};
    long long rootId_;
    Ref<TreeNode> node_;

private:
    CriticalSection loadLock_;
};
