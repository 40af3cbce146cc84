// Key chords as scripts write them ("F5", "Ctrl+A", "Alt+D", "Shift+Enter") turned into a
// virtual key and the modifiers held with it.
#pragma once

#include <string>
#include <vector>

struct KeyChord {
    unsigned virtualKey = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// One chord; false for an unknown key name or a chord without a key.
bool ParseKeyChord(const std::wstring& text, KeyChord& out);
// Chords separated by blanks ("Down Down Enter"); false when any of them is unknown.
bool ParseKeySequence(const std::wstring& text, std::vector<KeyChord>& out);
