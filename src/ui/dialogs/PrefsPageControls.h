// What every preferences page shares: asking the live owners for a value, posting a change to
// them, captions from the string table, and the tables of check boxes that map one-to-one to
// an option's get and set codes.
#pragma once

#include <windows.h>

#include <cstddef>

// Synchronous get from the main view, list or tree; 0 when the owner is not there.
LRESULT GetViewOption(WPARAM code, LPARAM argument = 0);
LRESULT GetFromWindow(int windowId, WPARAM code, LPARAM argument = 0);
// Posted set to the main view or another registered window.
void SetViewOption(WPARAM code, LPARAM value);
void SetOnWindow(int windowId, WPARAM code, LPARAM value);

struct Caption {
    int controlId;
    UINT stringId;
};
// Sets each control's caption from the string table, so a language pack translates the page.
void SetCaptions(HWND page, const Caption* captions, size_t count);

// How a get code's answer turns into a check box's state.
enum class CheckWhen { kNonZero, kOne, kZero };

struct OptionCheck {
    int controlId;
    UINT stringId;
    WPARAM getCode;
    CheckWhen when;
    WPARAM setCode;
};

// Captions and initial states of every check in the table.
void InitChecks(HWND page, const OptionCheck* checks, size_t count);
// Posts the set code of the check clicked; answers the entry, or null for another control.
const OptionCheck* OnCheckClicked(HWND page, int controlId, const OptionCheck* checks, size_t count);

bool IsChecked(HWND page, int controlId);
void EnableControl(HWND page, int controlId, bool enabled);

// Adds text to a combo box unless an item already has exactly that text (case aside). A prefix
// search would take "Arial" for a listed "Arial Black" and leave the first out.
void AddStringOnce(HWND comboBox, const wchar_t* text);

// A sub-page sits just under the tab control's tabs, keeping its own size.
void PlaceInTab(HWND page);

template <size_t N>
constexpr size_t CountOf(const OptionCheck (&)[N]) { return N; }
template <size_t N>
constexpr size_t CountOf(const Caption (&)[N]) { return N; }
