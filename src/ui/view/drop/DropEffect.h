// The small rules every drop target of the view shares: which effect a drop has under the
// keys held, and when a pointer near a pane's edge scrolls it.
#pragma once

#include <windows.h>

// Pixels from a pane's top or bottom edge within which a drag scrolls it by one line.
constexpr int kEdgeScrollZone = 15;

// A copy when the source allows it, else a link when it allows that, else none; never a move,
// whatever keys are held (the view keeps only references to the files).
DWORD ChooseDropEffect(DWORD keyState, DWORD allowed);

// -1 to scroll one line up, 1 one line down, 0 not at all, for a pointer at y in a pane
// spanning top to bottom (screen or client coordinates alike).
int EdgeScrollStep(int y, int top, int bottom);
