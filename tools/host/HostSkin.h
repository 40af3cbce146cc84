// The host's skin: one of two resource bitmaps of colours and control pieces, or a skin bitmap
// read from a file, as the player wears whatever skin the user chose.
#pragma once

#include <windows.h>

#include <string>

enum HostSkinBitmap : int { kSkinDefaultBitmap = 201, kSkinDarkBitmap = 202 };

// Switches to the other built-in skin (or the named one) and tells the plugin, as the player
// does after a skin change, with WM_DISPLAYCHANGE to the main window and to the windows inside
// the frames.
void ChangeSkin();
void UseSkin(bool dark);
// Wears the bitmap of FILE from now on and tells the plugin; false, changing nothing, when the
// file holds no bitmap.
bool UseSkinFile(const std::wstring& path);
// Whether FILE holds a bitmap the host can hand out.
bool IsSkinFile(const std::wstring& path);
// What the player's window says it wears: "dark skin", a file's name, or nothing.
std::wstring SkinCaption();

LRESULT OnSkinBitmap(WPARAM);
