// How the view writes playlists: titles formatted by the host, the order the list's sort rules
// give, and the "Save playlist?" question when asked for.
#pragma once

#include <windows.h>

#include "playlists/PlaylistWrite.h"

// host formats the #EXTINF titles; sortPrefixFlags are the list's SortPrefixFlag bits.
PlaylistWriteOptions ViewPlaylistWriting(HWND host, int sortPrefixFlags, bool askFirst);
