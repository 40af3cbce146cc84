// The stripe colour of the file list's rows.
#include "ui/view/StripeShade.h"

namespace {

int Blend(int component, int shade) {
    if (shade > 100) {
        double t = (shade - 100) * 0.01;
        return static_cast<int>(component * (1 - t) + 255 * t);
    }
    double t = (100 - shade) * 0.01;
    return static_cast<int>(component * (1 - t));
}

}  // namespace

COLORREF StripeShade(COLORREF color, int shade) {
    if (shade < 1) shade = 1;
    // The preferences slider stops at 200; a hand-edited file must not wrap the components.
    if (shade > 200) shade = 200;
    return RGB(Blend(GetRValue(color), shade), Blend(GetGValue(color), shade),
               Blend(GetBValue(color), shade));
}
