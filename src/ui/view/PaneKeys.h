// What the keys of the list, the tree and the search box share: the modifiers held with a key,
// tables from key to handler, handing a key on to another window, the Alt keys that belong to
// the host, and moving the focus between the panes.
#pragma once

#include <windows.h>


// The modifiers held while the key being handled was pressed.
struct HeldModifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};
HeldModifiers ModifiersHeld();

// One key press as a pane's handler sees it.
struct KeyPress {
    UINT message;  // WM_KEYDOWN or WM_SYSKEYDOWN
    WPARAM key;
    LPARAM lp;
    HeldModifiers held;
};

// Which presses of its key a table entry takes.
enum class KeyChord {
    kAny,       // with any modifiers
    kWithCtrl,  // only while Ctrl is held
    kNoCtrl,    // only while Ctrl is not held
};

// A pane's key table: the first entry with the key and a matching chord handles the press. A
// handler answers 0 when it consumed the key, 1 when the control should see it too.
template <class Pane>
struct KeyBinding {
    WPARAM key;
    KeyChord chord;
    LRESULT (Pane::*handler)(const KeyPress&);
};

bool ChordMatches(KeyChord chord, const HeldModifiers& held);

// Runs the handler bound to the press; answers false when no entry takes it.
template <class Pane, size_t N>
bool RunKeyBinding(Pane& pane, const KeyBinding<Pane> (&table)[N], const KeyPress& press, LRESULT& result) {
    for (const KeyBinding<Pane>& entry : table) {
        if (entry.key != press.key || !ChordMatches(entry.chord, press.held)) continue;
        result = (pane.*entry.handler)(press);
        return true;
    }
    return false;
}

// The press as a key message arriving at a pane, with the modifiers held now.
KeyPress KeyPressOf(UINT message, WPARAM key, LPARAM lp);

// A pane's key-downs: the handler bound to the key, or on to the control when none is.
template <class Pane, size_t N>
LRESULT RunKey(Pane& pane, const KeyBinding<Pane> (&keys)[N], UINT message, WPARAM key, LPARAM lp) {
    LRESULT result = 1;
    RunKeyBinding(pane, keys, KeyPressOf(message, key, lp), result);
    return result;
}

// Removes the system character the message loop has already made of a consumed Alt key: left
// queued, it would choose an item of the frame's system menu (Alt+X would maximize the frame).
void DropSystemCharacter(HWND window);

// Hands the press on to another window as a key-down of its own, synchronously, so the
// modifiers read there are still the ones held with it.
void PassKeyDown(HWND target, const KeyPress& press);
// An Alt key no pane uses goes to the host's main window, so the host's own Alt shortcuts
// keep working while a pane has the focus. Alt, Shift and Ctrl on their own are not passed:
// the host gets chords, not the modifiers that make them. Answers whether it was passed.
bool PassAltKeyToHost(const KeyPress& press);
// A pane's system keys: its own Alt keys first, then those of the host; either consumes the
// key. Others (F10 without Alt among them) go on to the control.
template <class Pane, size_t N>
LRESULT RunSystemKey(Pane& pane, const KeyBinding<Pane> (&altKeys)[N], UINT message, WPARAM key, LPARAM lp) {
    KeyPress press = KeyPressOf(message, key, lp);
    LRESULT result = 1;
    if (!RunKeyBinding(pane, altKeys, press, result)) result = PassAltKeyToHost(press) ? 0 : 1;
    if (result == 0) DropSystemCharacter(pane.Window());
    return result;
}
// Ctrl+P: the plugin's page of the host preferences, through the frame.
void OpenPreferencesFromKey();

// The pane's sibling control in the view's dialog, or null when the layout hides it.
HWND ShownSibling(HWND pane, int controlId);
// Focuses the search box and selects its whole text.
void FocusSearchSelectingAll(HWND search);
// Focuses the list; with no row selected, the first row (when there is one) is selected and
// focused first, so the keys that follow act on a row.
void FocusListAtFirstRow(HWND list);

