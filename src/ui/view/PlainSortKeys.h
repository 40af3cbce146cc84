// Sort keys of plain texts (ASCII letters, digits and spaces) put together from the keys of
// their characters. Asking the locale for a key costs a call per text, as much as the rest of
// a large sort; most titles and names are plain. A key only proposes an order: the locale's
// comparison confirms it, so a locale whose keys are not made this way costs time, not order.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>
#include <vector>

class PlainSortKeys {
public:
    // Learns the key of each plain character. Usable() is false when the locale's own keys of
    // the sample texts differ from the ones put together here (a locale that joins two letters
    // into one, say); every key then comes from the locale.
    PlainSortKeys(LCID locale, const std::vector<std::wstring_view>& samples);

    bool Usable() const { return usable_; }

    // The most bytes Make writes for a text of this many characters.
    static size_t MaxBytes(size_t chars) { return chars * kMaxWeight + kMaxTail; }

    // Writes the key of value at out, ending in its zero byte, and answers its bytes; 0 when
    // value is empty or not plain (whatever it wrote then means nothing).
    size_t Make(std::wstring_view value, unsigned char* out) const;

    // Checks that the locale's comparison orders plain texts character by character as these
    // keys do: no two plain characters in a row are joined into one letter, and the comparison
    // orders every text of one or two plain characters as its key. Some three thousand calls to
    // the locale, so worth it for large lists only. SettledOrder answers nothing until it passed.
    bool ProveOrder(LCID locale);
    // The order of two plain texts decided by the first character at which they differ, ignoring
    // case: below zero when a goes first, above zero when b does. 0 when the comparison must
    // decide: a text that is not plain, one the start of the other, or no proof.
    int SettledOrder(std::wstring_view a, std::wstring_view b) const;

private:
    static constexpr size_t kMaxWeight = 4;
    static constexpr size_t kMaxTail = 8;
    struct Weight {
        unsigned char bytes[kMaxWeight] = {};
        unsigned char count = 0;  // 0: not a plain character
    };

    bool Learn(LCID locale, wchar_t c);
    bool Confirm(LCID locale, const std::vector<std::wstring_view>& samples) const;

    std::array<Weight, 128> weights_{};
    unsigned char tail_[kMaxTail] = {};
    size_t tailBytes_ = 0;
    bool usable_ = false;
    bool orderProven_ = false;
};
