// Playback as the host pretends it: a state (stopped, playing, paused) and the notice the
// plugin receives when a file starts playing, inside the Play command or a while after it, and
// again whenever an entry ends and the next one begins by itself. No sound is made.
#pragma once

#include <windows.h>

#include <string>

enum class PlaybackState { kStopped = 0, kPlaying = 1, kPaused = 3 };

PlaybackState CurrentPlayback();
// Starts the entry at the playlist position and tells the plugin which file it is (after the
// start delay of the options, if any).
void Play();
void Pause();
void Stop();
// The playing entry ends: the next one starts, or playback stops after the last.
void AdvancePlayback();
// The file the plugin was last told about; empty while a start is still pending.
std::wstring StartedPath();

LRESULT OnPlaybackState(WPARAM);
