// Drawing the scrollbar parts from the skin bitmap. The thumb is cut in five slices so that its
// ends and its grip keep their size while the pieces between them stretch.
#include "ui/skin/SkinScrollbarPainter.h"

#include "base/Gdi.h"
#include "ui/skin/ScrollbarGeometry.h"

namespace {

struct Piece {
    int x, y, w, h;
};

struct PieceSet {
    Piece lineUp;
    Piece lineDown;
    Piece thumb[5];
};

// By bar (horizontal, vertical) and by state (normal, pressed), where the pieces lie in the
// skin bitmap.
const PieceSet kPieces[2][2] = {
    {{{0, 45, 14, 14}, {14, 45, 14, 14}, {{84, 31, 4, 14}, {88, 31, 5, 14}, {93, 31, 10, 14}, {103, 31, 5, 14}, {108, 31, 4, 14}}},
     {{28, 45, 14, 14}, {42, 45, 14, 14}, {{84, 45, 4, 14}, {88, 45, 5, 14}, {93, 45, 10, 14}, {103, 45, 5, 14}, {108, 45, 4, 14}}}},
    {{{0, 31, 14, 14}, {14, 31, 14, 14}, {{56, 31, 14, 4}, {56, 35, 14, 5}, {56, 40, 14, 10}, {56, 50, 14, 5}, {56, 55, 14, 4}}},
     {{28, 31, 14, 14}, {42, 31, 14, 14}, {{70, 31, 14, 4}, {70, 35, 14, 5}, {70, 40, 14, 10}, {70, 50, 14, 5}, {70, 55, 14, 4}}}},
};

constexpr int kThumbEnd = 4;
constexpr int kGrip = 10;

class SkinCopier {
public:
    SkinCopier(HDC target, HBITMAP skin)
        : target_(target), source_(skin ? CreateCompatibleDC(target) : nullptr),
          select_(source_.get(), source_ ? skin : nullptr), oldMode_(SetStretchBltMode(target, STRETCH_DELETESCANS)) {}
    ~SkinCopier() { SetStretchBltMode(target_, oldMode_); }
    SkinCopier(const SkinCopier&) = delete;
    SkinCopier& operator=(const SkinCopier&) = delete;

    // A source that vanished leaves the part unpainted rather than drawn from nothing; a
    // slice squeezed to nothing is left out rather than drawn mirrored.
    void Copy(int x, int y, int w, int h, const Piece& piece) const {
        if (!source_ || w <= 0 || h <= 0) return;
        StretchBlt(target_, x, y, w, h, source_.get(), piece.x, piece.y, piece.w, piece.h, SRCCOPY);
    }

private:
    HDC target_;
    UniqueMemoryDc source_;
    SelectGuard select_;
    int oldMode_;
};

// The slices are stretched across the whole bar: a bar wider than the skin's 14 pixels would
// otherwise keep a strip of its thumb that nothing ever paints.
void DrawVerticalThumb(const SkinCopier& copier, const RECT& r, const Piece* slices) {
    int l = r.left, t = r.top, h = r.bottom - r.top;
    const int thickness = r.right - r.left;
    int grip = t + (h - 9) / 2;
    copier.Copy(l, t, thickness, kThumbEnd, slices[0]);
    if (h > 14) copier.Copy(l, t + kThumbEnd, thickness, (h - 9) / 2 - kThumbEnd, slices[1]);
    if (h > 8) copier.Copy(l, grip, thickness, kGrip, slices[2]);
    if (h > 14) copier.Copy(l, grip + kGrip, thickness, (t + h - kThumbEnd) - (grip + kGrip), slices[3]);
    copier.Copy(l, t + h - kThumbEnd, thickness, kThumbEnd, slices[4]);
}

void DrawHorizontalThumb(const SkinCopier& copier, const RECT& r, const Piece* slices) {
    int l = r.left, t = r.top, w = r.right - r.left;
    const int thickness = r.bottom - r.top;
    int grip = l + (w - 9) / 2;
    copier.Copy(l, t, kThumbEnd, thickness, slices[0]);
    copier.Copy(l + kThumbEnd, t, (w - 9) / 2 - kThumbEnd, thickness, slices[1]);
    if (w > 14) {
        copier.Copy(grip, t, kGrip, thickness, slices[2]);
        copier.Copy(grip + kGrip, t, (l + w - kThumbEnd) - (grip + kGrip), thickness, slices[3]);
    } else {
        // Too short for its grip, and the second slice's share is nothing: its middle would be
        // left unpainted between the two ends.
        copier.Copy(l + kThumbEnd, t, w - 2 * kThumbEnd, thickness, slices[1]);
    }
    copier.Copy(l + w - kThumbEnd, t, kThumbEnd, thickness, slices[4]);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    if (brush) FillRect(dc, &rect, brush.get());
}

}  // namespace

LRESULT SkinScrollbarPainter::Answer(const skinbars::DrawRequest& request) const {
    using namespace skinbars;
    if (request.stage == kStagePrePaint) return kSkipDefault;
    if (request.bar == kSizeBoxBar) {
        Fill(request.dc, request.rect, colors_.Get(kSizeBoxColor));
        return kSkipDefault;
    }
    if (request.bar != SB_HORZ && request.bar != SB_VERT) return 0;
    bool pressed = request.state == kStatePressed;
    const PieceSet& pieces = kPieces[request.bar][pressed ? 1 : 0];
    const RECT& r = request.rect;
    switch (static_cast<int>(request.part)) {
        case kPartPageUp:
        case kPartPageDown:
            Fill(request.dc, r,
                 pressed ? HalfSum(colors_.Get(kTrackPressedFirst), colors_.Get(kTrackPressedSecond))
                         : HalfSum(colors_.Get(kTrackNormalFirst), colors_.Get(kTrackNormalSecond)));
            return kSkipDefault;
        case kPartThumb: {
            SkinCopier copier(request.dc, colors_.Bitmap());
            if (request.bar == SB_VERT) DrawVerticalThumb(copier, r, pieces.thumb);
            else DrawHorizontalThumb(copier, r, pieces.thumb);
            return kSkipDefault;
        }
        case kPartLineUp:
        case kPartLineDown: {
            SkinCopier copier(request.dc, colors_.Bitmap());
            copier.Copy(r.left, r.top, r.right - r.left, r.bottom - r.top,
                        request.part == kPartLineUp ? pieces.lineUp : pieces.lineDown);
            return kSkipDefault;
        }
        default: return kSkipDefault;
    }
}
