// The host's skin: two resource bitmaps of colours and control pieces, one in use at a time.
#pragma once

#include <windows.h>

enum HostSkinBitmap : int { kSkinDefaultBitmap = 201, kSkinDarkBitmap = 202 };

// Switches to the other skin (or the named one) and tells the plugin, as the player does
// after a skin change, with WM_DISPLAYCHANGE to the main window and to the windows inside the
// frames.
void ChangeSkin();
void UseSkin(bool dark);
bool DarkSkin();

LRESULT OnSkinBitmap(WPARAM);
