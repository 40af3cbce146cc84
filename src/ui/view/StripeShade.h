// The shading of every other row of the file list, so long lists are easier to follow.
#pragma once

#include <windows.h>

// Shade 100 leaves the colour; above 100 blends it towards white (200 is white), below towards
// black (1 keeps 1% of it). Shades below 1 count as 1.
COLORREF StripeShade(COLORREF color, int shade);
