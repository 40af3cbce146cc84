// The frame windows: resizable top-level windows created hidden at the record's rectangle.
// The plugin reads the rectangle back from its record when it saves the frame's place, so
// every move and resize is written into the record at once.
#include "HostFrames.h"

#include <algorithm>

#include "HostApp.h"
#include "host/HostApi.h"

namespace {

constexpr wchar_t kFrameClass[] = L"CvHostFrame";
constexpr wchar_t kRecordProperty[] = L"CvHostEmbedRecord";
// The player never lets a user shrink an embedded window below this, so neither do we: a view
// that only works at larger sizes must show here too.
constexpr int kFrameMinWidth = 275;
constexpr int kFrameMinHeight = 116;

std::vector<HWND> frames;
bool recordsForgotten = false;

EmbedRecord* RecordOf(HWND frame) {
    if (recordsForgotten) return nullptr;
    return static_cast<EmbedRecord*>(GetPropW(frame, kRecordProperty));
}

void StoreRectangle(HWND frame) {
    EmbedRecord* record = RecordOf(frame);
    if (!record || IsIconic(frame)) return;
    GetWindowRect(frame, &record->rect);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_MOVE:
        case WM_SIZE:
            StoreRectangle(frame);
            // The plugin's dialog fills the frame's client area.
            if (message == WM_SIZE) {
                if (HWND child = GetWindow(frame, GW_CHILD))
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
            ShowWindow(frame, SW_HIDE);
            return 0;
        case WM_NCDESTROY:
            RemovePropW(frame, kRecordProperty);
            frames.erase(std::remove(frames.begin(), frames.end(), frame), frames.end());
            break;
    }
    return DefWindowProcW(frame, message, wp, lp);
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

std::vector<HWND> HostFrames() { return frames; }

void ForgetFrameRecords() { recordsForgotten = true; }

void DestroyFrames() {
    for (HWND frame : std::vector<HWND>(frames)) DestroyWindow(frame);
}

LRESULT OnCreateFrame(WPARAM wp) {
    auto* record = reinterpret_cast<EmbedRecord*>(wp);
    if (!record) return 0;
    RegisterFrameClass();
    RECT r = record->rect;
    int width = std::max<LONG>(r.right - r.left, kFrameMinWidth);
    int height = std::max<LONG>(r.bottom - r.top, kFrameMinHeight);
    HWND frame = CreateWindowExW(WS_EX_TOOLWINDOW, kFrameClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 r.left, r.top, width, height, Host().mainWindow, nullptr,
                                 Host().instance, nullptr);
    if (!frame) return 0;
    SetPropW(frame, kRecordProperty, record);
    record->frame = frame;
    frames.push_back(frame);
    return reinterpret_cast<LRESULT>(frame);
}

LRESULT OnFrameCreated(WPARAM wp) {
    auto* record = reinterpret_cast<EmbedRecord*>(wp);
    if (record && record->frame) StoreRectangle(record->frame);
    return 0;
}
