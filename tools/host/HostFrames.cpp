// The frame windows: resizable top-level windows created hidden at the record's rectangle.
// As the player does, the host writes every move and resize, and the frame's last place when
// it goes, into the plugin's record for as long as the frame exists; the plugin reads the
// rectangle back from there when it saves the frame's place.
#include "HostFrames.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>

#include "FrameRecordWatch.h"
#include "HostApp.h"
#include "HostOutput.h"

namespace {

constexpr wchar_t kFrameClass[] = L"CvHostFrame";
// The player never lets a user shrink an embedded window below this, so neither do we: a view
// that only works at larger sizes must show here too.
constexpr int kFrameMinWidth = 275;
constexpr int kFrameMinHeight = 116;

struct Frame {
    HWND window;
    standin::FrameRecordWatch record;
};

std::vector<Frame> frames;
bool recordFreedEarly = false;

Frame* FrameOf(HWND window) {
    auto it = std::find_if(frames.begin(), frames.end(), [window](const Frame& f) { return f.window == window; });
    return it == frames.end() ? nullptr : &*it;
}

void StoreRectangle(HWND window) {
    Frame* frame = FrameOf(window);
    if (!frame || IsIconic(window)) return;
    if (!frame->record.Held()) {
        if (!recordFreedEarly) OutputLine(L"host: frame record freed while its frame lives");
        recordFreedEarly = true;
        return;
    }
    GetWindowRect(window, &frame->record.record()->rect);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_MOVE:
        case WM_SIZE:
            StoreRectangle(window);
            // The plugin's dialog fills the frame's client area.
            if (message == WM_SIZE) {
                if (HWND child = GetWindow(window, GW_CHILD))
                    MoveWindow(child, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            }
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
            limits->ptMinTrackSize.x = kFrameMinWidth;
            limits->ptMinTrackSize.y = kFrameMinHeight;
            return 0;
        }
        case WM_CLOSE:
            // Closing a frame hides it; the window lives as long as the plugin that owns it.
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_DESTROY:
            StoreRectangle(window);
            break;
        case WM_NCDESTROY:
            frames.erase(std::remove_if(frames.begin(), frames.end(),
                                        [window](const Frame& f) { return f.window == window; }),
                         frames.end());
            break;
    }
    return DefWindowProcW(window, message, wp, lp);
}

void RegisterFrameClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = Host().instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    registered = RegisterClassW(&wc) != 0;
}

}  // namespace

std::vector<HWND> HostFrames() {
    std::vector<HWND> windows;
    for (const Frame& frame : frames) windows.push_back(frame.window);
    return windows;
}

void DestroyFrames() {
    for (HWND frame : HostFrames()) DestroyWindow(frame);
}

bool FrameRecordsHeld() { return !recordFreedEarly; }

LRESULT OnCreateFrame(WPARAM wp) {
    auto* record = reinterpret_cast<standin::FrameRecord*>(wp);
    if (!record || Host().options.noFrame) return 0;
    RegisterFrameClass();
    // The player takes the frame's identity from the record now, and never looks again.
    GUID identity = {};
    if (record->flags & standin::kFrameHasIdentity)
        std::memcpy(&identity, reinterpret_cast<const char*>(record) + standin::kFrameGuidOffset, sizeof identity);
    wchar_t text[64] = L"none";
    if (identity != GUID{}) StringFromGUID2(identity, text, 64);
    OutputLine(std::wstring(L"host: frame made with identity ") + text);
    RECT r = record->rect;
    int width = std::max<LONG>(r.right - r.left, kFrameMinWidth);
    int height = std::max<LONG>(r.bottom - r.top, kFrameMinHeight);
    HWND frame = CreateWindowExW(WS_EX_TOOLWINDOW, kFrameClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 r.left, r.top, width, height, Host().mainWindow, nullptr,
                                 Host().instance, nullptr);
    if (!frame) return 0;
    frames.push_back({frame, standin::FrameRecordWatch(record)});
    record->frame = frame;
    return reinterpret_cast<LRESULT>(frame);
}

// The player answers from its own list of frames and reads nothing through the word.
LRESULT OnIsFrameWindow(WPARAM wp) {
    auto window = reinterpret_cast<HWND>(wp);
    if (!IsWindow(window)) {
        ReportPluginFault(L"host: request 533 was given something that is not a window");
        return 0;
    }
    return FrameOf(window) ? 1 : 0;
}
