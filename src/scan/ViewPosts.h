// How the scan and the watchers hand results to the main view: commands posted with one
// reference to their object, which the view releases, and the one question the scan sends.
#pragma once

#include <string>

#include "base/RefCounted.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "playlists/Playlist.h"

// The reference goes with the command; when no view takes the post it is released here, so
// nothing leaks while the view is gone (at shutdown, or in a bench without a view).
template <class T>
bool PostObjectToView(CommandCode code, Ref<T> object) {
    T* raw = object.Detach();
    if (PostToView(code, reinterpret_cast<LPARAM>(raw))) return true;
    if (raw) raw->Release();
    return false;
}

inline bool PostTextToView(CommandCode code, std::wstring text) {
    return PostObjectToView(code, Ref<TextObject>::Make(std::move(text)));
}

// The view answers with the entries it already holds for a playlist file (one reference), or
// nothing.
Ref<Playlist> AskViewForPlaylist(const std::wstring& path);
