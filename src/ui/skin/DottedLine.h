// One dotted line of one-pixel dots, drawn with the device's current pen.
#pragma once

#include <windows.h>

// Dots fall on every second pixel; the first sits at offset y mod 2, so lines drawn at
// neighbouring rows or columns interlock instead of lining up.
void DottedLine(HDC dc, int x, int y, int length, bool vertical);
