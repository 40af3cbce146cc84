// Saving the playlist roots that changed since they were read, as the view does when it
// shuts down with "Autosave playlists on shutdown" on.
#pragma once

#include <vector>

#include "db/roots/Root.h"
#include "playlists/PlaylistWrite.h"

// Writes each playlist root with unsaved changes to its file, in list order, as told by how;
// folder and smart roots and unchanged playlists are left alone, and one that fails does not
// stop the others. Nothing is saved when autosave is off. Answers how many were written.
int SaveModifiedPlaylists(const std::vector<Ref<Root>>& roots, bool autosave, const PlaylistWriteOptions& how);
