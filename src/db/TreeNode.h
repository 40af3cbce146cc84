// The object behind each item of the folder tree: a folder, a playlist file or a smart
// playlist, with its children. Roots own their top node; the tree holds references to all.
#pragma once

#include <string>
#include <vector>

#include "base/RefCounted.h"
#include "playlists/Playlist.h"

class Root;

enum class NodeKind { kFolder = 1, kPlaylist = 2, kSmartPlaylist = 3 };

struct TreeNode : RefCounted {
    TreeNode(NodeKind kind, std::wstring path, std::wstring name = {});

    // The worker adds and clears children while the tree reads them on the user-interface
    // thread (painting asks whether an item has any), so children are reached only through
    // these, under one lock shared by all nodes and held for no longer than each call.
    std::vector<Ref<TreeNode>> Children() const;  // a copy, to walk without the lock
    Ref<TreeNode> ChildAt(size_t index) const;    // null past the end
    size_t ChildCount() const;
    bool HasChildren() const { return ChildCount() != 0; }
    void AddChild(Ref<TreeNode> child);
    void SetChildren(std::vector<Ref<TreeNode>> children);
    void ClearChildren();
    // Removes the children whose path matches ignoring case (child null) or that are child.
    void RemoveChild(const TreeNode* child, const std::wstring& childPath = {});
    // The child whose path matches ignoring case, among the first `among` children, or null.
    Ref<TreeNode> FindChild(const std::wstring& childPath, size_t among = static_cast<size_t>(-1)) const;

    NodeKind kind;
    std::wstring path;         // folder: with trailing backslash; playlist: the file; smart: its name
    std::wstring name;         // what the tree shows before per-kind formatting
    Root* root = nullptr;      // the root whose top node this is; not owned, to avoid a cycle
    Ref<Playlist> playlist;    // playlist nodes: the entries
    unsigned attributes = 0;   // folder attribute bits; hidden folders show dimmed
    int folderId = 0;
    int scrollPosition = 0;

private:
    std::vector<Ref<TreeNode>> children_;
};
