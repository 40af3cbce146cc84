// The skin painter of the view's dialog: it sees every message before the dialog's own
// handling, paints the owner-drawn buttons from the skin bitmap and answers the controls'
// colour requests with skin colours.
#pragma once

#include <windows.h>

class SkinColors;
class SkinBrushSlot;

// Non-zero: the dialog procedure answers this (a brush for a colour request). Zero: the
// dialog's own handling goes on, also after a button was painted.
LRESULT SkinPaint(const SkinColors& colors, SkinBrushSlot& brushes, HWND window, UINT message, WPARAM wp, LPARAM lp);
