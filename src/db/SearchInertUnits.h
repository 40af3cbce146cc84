// The UTF-16 units that the system's case-blind comparison, the one the in-memory search test
// uses, never takes for ASCII letters or digits and never passes over, learnt from that
// comparison itself in the thread's locale. A text made of printable ASCII and such units holds
// a word of ASCII letters and digits, for that comparison, exactly where it holds it letter for
// letter ignoring ASCII case: the test can then compare in place, and the index can narrow.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>
#include <vector>

class InertUnits {
public:
    // Learns the order of ASCII letters and digits in the thread's locale; units are learnt
    // one by one, the first time a text brings them.
    InertUnits();
    InertUnits(const InertUnits&) = delete;
    InertUnits& operator=(const InertUnits&) = delete;

    // Neither printable ASCII nor any unit the comparison may read as a letter, an expansion
    // into letters ("ß", "ﬁ"), or nothing at all (a soft hyphen). Never a surrogate or a
    // control character.
    bool IsInert(wchar_t unit);
    // Every unit printable ASCII or inert.
    bool IsSimple(std::wstring_view text);
    // Whether what was learnt still holds: the thread's locale is the one it was learnt in.
    bool Current() const { return GetThreadLocale() == locale_; }

private:
    enum State : unsigned char { kUnknown, kInert, kActive };
    bool Learn(wchar_t unit) const;

    LCID locale_;
    bool ordered_ = false;  // letters and digits sort as words do: without it nothing is inert
    std::array<wchar_t, 36> alnum_{};  // ascending in the comparison's order
    std::vector<State> states_;
};

// Every unit an ASCII letter or digit, and at least one: the words the in-place test serves.
bool IsAsciiWord(std::wstring_view word);
// Whether text holds word, ignoring ASCII case only; the text ends at its first NUL, as for the
// system's comparison.
bool HoldsAsciiWord(std::wstring_view text, std::wstring_view word);
