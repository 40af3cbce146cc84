// The view's answer to the skinned scrollbars' drawing requests: arrows and thumb copied from
// pieces of the host's skin bitmap, the track and the size box filled with skin colours.
#pragma once

#include <windows.h>

#include "host/SkinColors.h"
#include "ui/skin/ScrollbarDrawRequest.h"

class SkinScrollbarPainter {
public:
    explicit SkinScrollbarPainter(const SkinColors& colors) : colors_(colors) {}

    // kSkipDefault for what it drew (and for the pre-paint stage), 0 for bars it does not know.
    LRESULT Answer(const skinbars::DrawRequest& request) const;

    // Skin colour entries the bars use.
    static constexpr int kTrackNormalFirst = 13;
    static constexpr int kTrackNormalSecond = 14;
    static constexpr int kTrackPressedFirst = 15;
    static constexpr int kTrackPressedSecond = 16;
    static constexpr int kSizeBoxColor = 17;

private:
    const SkinColors& colors_;
};
