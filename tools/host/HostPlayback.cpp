// The host's playback state and the "file started" notice sent to the main window, which the
// plugin watches to count plays and highlight the playing row. Starts after a delay and the
// ends of entries run on thread timers, so they arrive from the host's own message loop (or
// whatever modal loop runs on its thread), as the player's do.
#include "HostPlayback.h"

#include "HostApp.h"
#include "HostPlaylist.h"
#include "PlayerInterface.h"

namespace {

// A timer of the user-interface thread, with a procedure rather than a window; stopped when
// restarted or destroyed.
class ThreadTimer {
public:
    ThreadTimer() = default;
    ~ThreadTimer() { Stop(); }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

    void Start(unsigned ms, TIMERPROC proc) {
        Stop();
        id_ = SetTimer(nullptr, 0, ms, proc);
    }
    void Stop() {
        if (id_) KillTimer(nullptr, id_);
        id_ = 0;
    }
    bool Running() const { return id_ != 0; }

private:
    UINT_PTR id_ = 0;
};

struct PlaybackData {
    PlaybackState state = PlaybackState::kStopped;
    std::wstring playingPath;
    ThreadTimer startTimer;
    ThreadTimer trackTimer;
};

PlaybackData& Data() {
    static PlaybackData data;
    return data;
}

void StartEntry();

void CALLBACK OnStartDue(HWND, UINT, UINT_PTR, DWORD) {
    Data().startTimer.Stop();
    if (Data().state == PlaybackState::kPlaying) StartEntry();
}

void CALLBACK OnTrackEnd(HWND, UINT, UINT_PTR, DWORD) { AdvancePlayback(); }

// The entry at the position starts: the plugin is told, and the entry ends by itself later
// when the options give tracks a length.
void StartEntry() {
    PlaybackData& data = Data();
    const PlaylistEntry* entry = ThePlaylist().At(ThePlaylist().Position());
    if (!entry) {
        Stop();
        return;
    }
    data.playingPath = entry->path;
    if (Host().options.trackMs) data.trackTimer.Start(Host().options.trackMs, &OnTrackEnd);
    SendMessageW(Host().mainWindow, standin::kRequestMessage, reinterpret_cast<WPARAM>(data.playingPath.c_str()),
                 standin::kFileStarted);
}

}  // namespace

PlaybackState CurrentPlayback() { return Data().state; }

void Play() {
    PlaybackData& data = Data();
    data.trackTimer.Stop();
    data.startTimer.Stop();
    data.playingPath.clear();
    if (!ThePlaylist().At(ThePlaylist().Position())) {
        data.state = PlaybackState::kStopped;
        return;
    }
    data.state = PlaybackState::kPlaying;
    if (Host().options.startDelayMs) data.startTimer.Start(Host().options.startDelayMs, &OnStartDue);
    else StartEntry();
}

void Pause() {
    PlaybackData& data = Data();
    if (data.state == PlaybackState::kPlaying) {
        data.state = PlaybackState::kPaused;
        data.trackTimer.Stop();
    } else if (data.state == PlaybackState::kPaused) {
        data.state = PlaybackState::kPlaying;
        // The paused entry plays on for a whole length again: the stand-in keeps no position.
        if (Host().options.trackMs && !data.startTimer.Running())
            data.trackTimer.Start(Host().options.trackMs, &OnTrackEnd);
    }
}

void Stop() {
    PlaybackData& data = Data();
    data.state = PlaybackState::kStopped;
    data.startTimer.Stop();
    data.trackTimer.Stop();
}

void AdvancePlayback() {
    PlaybackData& data = Data();
    if (data.state != PlaybackState::kPlaying || data.startTimer.Running()) return;
    data.trackTimer.Stop();
    int next = ThePlaylist().Position() + 1;
    if (!ThePlaylist().At(next)) {
        Stop();
        return;
    }
    ThePlaylist().SetPosition(next);
    RefreshPlaylistEditor();
    StartEntry();
}

std::wstring StartedPath() { return Data().playingPath; }

LRESULT OnPlaybackState(WPARAM) { return static_cast<LRESULT>(Data().state); }
