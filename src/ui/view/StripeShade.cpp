// The stripe colour of the file list's rows.
#include "ui/view/StripeShade.h"

namespace {

// The blend in whole numbers: in floating point, 0.01 steps land a hair below the exact value
// on some compilers (x87 keeps extra precision), and truncation then loses a whole unit.
int Blend(int component, int shade) {
    if (shade > 100) return (component * (200 - shade) + 255 * (shade - 100)) / 100;
    return component * shade / 100;
}

}  // namespace

COLORREF StripeShade(COLORREF color, int shade) {
    if (shade < 1) shade = 1;
    // The preferences slider stops at 200; a hand-edited file must not wrap the components.
    if (shade > 200) shade = 200;
    return RGB(Blend(GetRValue(color), shade), Blend(GetGValue(color), shade),
               Blend(GetBValue(color), shade));
}
