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

    NodeKind kind;
    std::vector<Ref<TreeNode>> children;
    std::wstring path;         // folder: with trailing backslash; playlist: the file; smart: its name
    std::wstring name;         // what the tree shows before per-kind formatting
    Root* root = nullptr;      // the root whose top node this is; not owned, to avoid a cycle
    Ref<Playlist> playlist;    // playlist nodes: the entries
    unsigned attributes = 0;   // folder attribute bits; hidden folders show dimmed
    int folderId = 0;
    int scrollPosition = 0;

    // The child whose path matches ignoring case, or null.
    TreeNode* FindChild(const std::wstring& childPath) const;
};
