// Keyboard input as a user makes it, delivered through the host's message loop.
#pragma once

#include <string>

#include "logic/KeyNames.h"

// Posts the chord's key press and release to the window that has the keyboard focus, with the
// modifiers held in the keyboard state while they are handled, and waits until they were.
void PressChordOnFocus(const KeyChord& chord);
void TypeKeyOnFocus(unsigned virtualKey);
// Types each character: a key press where the keyboard has a key for it, else the character.
void TypeTextOnFocus(const std::wstring& text);
