// Saving the playlist roots that changed since they were read, as the view does when it
// shuts down with "Autosave playlists on shutdown" on.
#pragma once

#include <vector>

#include "db/roots/Root.h"

// Asks each playlist root with unsaved changes to save itself, in list order; folder and smart
// roots and unchanged playlists are left alone. Nothing is saved when autosave is off.
// Answers how many roots said they saved.
int SaveModifiedPlaylists(const std::vector<Ref<Root>>& roots, bool autosave);
