// A window of the stand-in player that takes dropped files as the player's playlist editor
// would, and prints what it received and with which effect; the drag-out command drags the
// view's rows and tree items onto it.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

// What the target has seen of the current drag; read from the script thread. The drag is over
// the target while it has entered more often than it has left.
struct HostDropWatch {
    std::atomic<int> enters{0};
    std::atomic<int> overs{0};
    std::atomic<int> leaves{0};
    std::atomic<bool> dropped{false};
};

class HostDropWindow {
public:
    // On the user-interface thread: a top-most window in the lower right corner of the screen,
    // away from the view, with its drop target registered.
    explicit HostDropWindow(HINSTANCE instance);
    // On the user-interface thread: the target revoked and the window destroyed.
    ~HostDropWindow();
    HostDropWindow(const HostDropWindow&) = delete;
    HostDropWindow& operator=(const HostDropWindow&) = delete;

    bool Ready() const { return registered_; }
    POINT ScreenCenter() const;
    const HostDropWatch& Watch() const { return *watch_; }

private:
    HWND window_ = nullptr;
    std::shared_ptr<HostDropWatch> watch_;
    bool registered_ = false;
};
