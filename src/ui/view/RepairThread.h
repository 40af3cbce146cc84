// Running a playlist repair off the view's thread: the cache lookups and file checks of a long
// playlist take a while, so they run on a thread of their own while the view's thread goes on
// handling its messages and shows each question the repair asks.
#pragma once

#include <functional>

#include "db/CacheConnection.h"
#include "playlists/PlaylistRepair.h"

// Runs the repair on a new thread with its own statement on the connection; ask runs on the
// calling thread, which handles its messages meanwhile. Returns when the repair is over.
// Answers false when it could not start, or when the calling thread was told to quit or
// stillWanted turned false meanwhile: the repair was then cancelled (a WM_QUIT taken is posted
// again).
bool RunRepairOnThread(PlaylistRepair& repair, Ref<CacheConnection> connection, const PlaylistRepair::AskUser& ask,
                       const std::function<bool()>& stillWanted);
