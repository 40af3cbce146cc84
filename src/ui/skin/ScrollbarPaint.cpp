// Painting the bars: each bar first asks its owner whether it draws the bar itself, then each
// part is offered to the owner; what the owner leaves is drawn in the platform's plain style.
#include <algorithm>
#include <initializer_list>

#include "ui/skin/ScrollbarDrawRequest.h"
#include "ui/skin/ScrollbarGeometry.h"
#include "ui/skin/ScrollbarInternal.h"

namespace skinbars {

namespace {

class WindowDcHolder {
public:
    explicit WindowDcHolder(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDcHolder() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDcHolder(const WindowDcHolder&) = delete;
    WindowDcHolder& operator=(const WindowDcHolder&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

LRESULT Ask(HWND window, DWORD stage, HDC dc, const RECT& rect, int part, UINT state, UINT bar) {
    HWND owner = GetParent(window);
    if (!owner) return 0;
    DrawRequest request = {};
    request.header.hwndFrom = window;
    request.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
    request.header.code = kDrawRequestCode;
    request.stage = stage;
    request.dc = dc;
    request.rect = rect;
    request.part = static_cast<UINT>(part);
    request.state = state;
    request.bar = bar;
    return SendMessageW(owner, WM_NOTIFY, request.header.idFrom, reinterpret_cast<LPARAM>(&request));
}

UINT StateOfPart(const ScrollbarState& state, int which, int part) {
    const BarState& bar = state.bars[which];
    bool disabledArrow = (part == kPartLineUp && (bar.flags & kLeftUpDisabled)) ||
                         (part == kPartLineDown && (bar.flags & kRightDownDisabled));
    bool allDisabled = (bar.flags & (kLeftUpDisabled | kRightDownDisabled)) == (kLeftUpDisabled | kRightDownDisabled);
    if (disabledArrow || allDisabled) return kStateDisabled;
    if (state.tracking != Tracking::kNone && state.trackBar == which && state.trackPart == part && state.pressedShown)
        return kStatePressed;
    if (state.tracking == Tracking::kNone && state.hotBar == which && state.hotPart == part) return kStateHot;
    return kStateNormal;
}

UINT ArrowGlyph(int which, int part) {
    if (which == SB_VERT) return part == kPartLineUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
    return part == kPartLineUp ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
}

// The platform's look, for an owner that does not draw the bars.
void DrawPlainPart(HDC dc, RECT rect, int which, int part, UINT partState) {
    switch (part) {
        case kPartLineUp:
        case kPartLineDown: {
            UINT look = ArrowGlyph(which, part) | (partState == kStatePressed ? DFCS_PUSHED | DFCS_FLAT : 0) |
                        (partState == kStateDisabled ? DFCS_INACTIVE : 0);
            DrawFrameControl(dc, &rect, DFC_SCROLL, look);
            break;
        }
        case kPartThumb:
            FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
            break;
        default:
            FillRect(dc, &rect, GetSysColorBrush(partState == kStatePressed ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR));
            break;
    }
}

void PaintBar(HWND window, ScrollbarState& state, HDC dc, int which) {
    RECT barRect;
    BarLayout layout = LayoutOf(window, state, which, barRect);
    if (IsRectEmpty(&barRect)) return;
    bool ownerDraws = Ask(window, kStagePrePaint, dc, barRect, kNoPart, kStateNormal, which) == kSkipDefault;
    for (int part : {kPartLineUp, kPartPageUp, kPartThumb, kPartPageDown, kPartLineDown}) {
        RECT rect = PartRect(barRect, which, layout, part);
        if (IsRectEmpty(&rect)) continue;
        UINT partState = StateOfPart(state, which, part);
        if (ownerDraws && Ask(window, kStageItemPrePaint, dc, rect, part, partState, which) == kSkipDefault) continue;
        DrawPlainPart(dc, rect, which, part, partState);
    }
}

void PaintSizeBox(HWND window, ScrollbarState& state, HDC dc) {
    RECT box;
    if (!SizeBoxRect(window, state, box) || IsRectEmpty(&box)) return;
    if (Ask(window, kStagePrePaint, dc, box, kNoPart, kStateNormal, kSizeBoxBar) == kSkipDefault &&
        Ask(window, kStageItemPrePaint, dc, box, kNoPart, kStateNormal, kSizeBoxBar) == kSkipDefault)
        return;
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

void PaintBars(HWND window, ScrollbarState& state) {
    WindowDcHolder dc(window);
    if (!dc.get()) return;
    for (int which : {SB_HORZ, SB_VERT}) PaintBar(window, state, dc.get(), which);
    PaintSizeBox(window, state, dc.get());
}

void PaintBarsIfVisible(HWND window, ScrollbarState& state) {
    if (!IsWindowVisible(window)) return;
    if (!(state.bars[SB_HORZ].flags & kBarShown) && !(state.bars[SB_VERT].flags & kBarShown)) return;
    PaintBars(window, state);
}

}  // namespace skinbars
