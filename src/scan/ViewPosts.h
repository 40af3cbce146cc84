// How the scan and the watchers hand results to the main view: commands posted with one
// reference to their object, which the view releases, and the one question the scan sends.
#pragma once

#include <string>

#include "base/RefCounted.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "playlists/Playlist.h"

inline bool PostTextToView(CommandCode code, std::wstring text) {
    return PostObjectToView(code, Ref<TextObject>::Make(std::move(text)));
}

// The view answers with the entries it already holds for a playlist file (one reference), or
// nothing.
Ref<Playlist> AskViewForPlaylist(const std::wstring& path);
