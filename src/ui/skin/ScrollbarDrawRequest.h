// The request the skinned scrollbars send their window's owner (as WM_NOTIFY) for each bar
// and each of its parts, so that the owner can draw them in its own look.
#pragma once

#include <windows.h>

namespace skinbars {

constexpr UINT kDrawRequestCode = static_cast<UINT>(-4095);

enum DrawStage : DWORD { kStagePrePaint = 1, kStageItemPrePaint = 65537 };
// The owner's answer that it drew the part itself.
constexpr LRESULT kSkipDefault = 4;

enum PartState : UINT { kStatePressed = 1, kStateDisabled = 4, kStateNormal = 32, kStateHot = 64 };

// The size box where the two bars meet, as a bar of its own.
constexpr UINT kSizeBoxBar = 3;

struct DrawRequest {
    NMHDR header;
    DWORD stage;
    HDC dc;
    RECT rect;   // in the dc's coordinates
    UINT part;   // BarPart
    UINT state;  // PartState
    UINT bar;    // SB_HORZ, SB_VERT or kSizeBoxBar
};

}  // namespace skinbars
