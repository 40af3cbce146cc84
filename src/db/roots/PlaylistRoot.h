// A playlist file added as a root; its entries are read when the list first shows them and
// written back when it is saved.
#pragma once

#include "db/roots/Root.h"

class PlaylistRoot : public Root {
public:
    PlaylistRoot(const std::wstring& path, long long rootId);

    void Close() override;
    bool Save() override;
    bool LoadContent(const RootLoader& loader, int flags) override;
    RootType Type() const override { return RootType::kPlaylist; }

    Playlist* Entries() const { return node_->playlist.get(); }
    // Replaces the entry list, as when the view already holds this playlist open.
    void AttachEntries(Ref<Playlist> playlist);
};
