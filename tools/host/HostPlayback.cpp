// The host's playback state and the "file started" notice sent to the main window, which the
// plugin watches to highlight the playing row.
#include "HostPlayback.h"

#include <string>

#include "HostApp.h"
#include "HostPlaylist.h"
#include "PlayerInterface.h"

namespace {

PlaybackState state = PlaybackState::kStopped;
std::wstring playingPath;

}  // namespace

PlaybackState CurrentPlayback() { return state; }

void Play() {
    const PlaylistEntry* entry = ThePlaylist().At(ThePlaylist().Position());
    if (!entry) {
        state = PlaybackState::kStopped;
        return;
    }
    state = PlaybackState::kPlaying;
    playingPath = entry->path;
    SendMessageW(Host().mainWindow, standin::kRequestMessage, reinterpret_cast<WPARAM>(playingPath.c_str()),
                 standin::kFileStarted);
}

void Pause() {
    if (state == PlaybackState::kPlaying) state = PlaybackState::kPaused;
    else if (state == PlaybackState::kPaused) state = PlaybackState::kPlaying;
}

void Stop() { state = PlaybackState::kStopped; }

LRESULT OnPlaybackState(WPARAM) { return static_cast<LRESULT>(state); }
