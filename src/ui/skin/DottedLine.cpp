// Drawing one dotted line: the focus frame of skinned buttons is made of four of them.
#include "ui/skin/DottedLine.h"

void DottedLine(HDC dc, int x, int y, int length, bool vertical) {
    // The phase follows the row's parity, also for negative rows.
    for (int offset = ((y % 2) + 2) % 2; offset < length - 1; offset += 2) {
        int px = vertical ? x : x + offset;
        int py = vertical ? y + offset : y;
        MoveToEx(dc, px, py, nullptr);
        LineTo(dc, px + 1, py);
    }
}
