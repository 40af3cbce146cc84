// Playback as the host pretends it: a state (stopped, playing, paused) and the notice the
// plugin receives when a file starts playing. No sound is made.
#pragma once

#include <windows.h>

enum class PlaybackState { kStopped = 0, kPlaying = 1, kPaused = 3 };

PlaybackState CurrentPlayback();
// Starts the entry at the playlist position and tells the plugin which file it is.
void Play();
void Pause();
void Stop();

LRESULT OnPlaybackState(WPARAM);
