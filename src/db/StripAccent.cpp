// Accent folding over the tables generated from libunac at build time, kept free of shared
// buffers because every database connection calls it from its own thread, once per row.
#include "db/StripAccent.h"

#include <cstddef>

static_assert(sizeof(wchar_t) == 2, "the folding tables are indexed by UTF-16 code units");

namespace unac_tables {
// The tables for unit u: t = kBlockIndex[u / 32], p = u % 32; its replacement is
// kData[kPositions[t][p] .. kPositions[t][p + 1]), empty when the unit stays. Table 0 is the
// all-empty one shared by every block without a replacement.
extern const unsigned char kBlockIndex[2048];
extern const unsigned short kPositions[][33];
extern const wchar_t kData[];
}  // namespace unac_tables

namespace {

struct Replacement {
    const wchar_t* units;
    size_t length;
};

// No ASCII unit has a replacement (the generator refuses tables where one does), so plain
// English names are decided without touching the tables.
inline Replacement FindReplacement(wchar_t unit) {
    if (unit < 0x80)
        return {nullptr, 0};
    const unsigned table = unac_tables::kBlockIndex[unit >> 5];
    if (table == 0)
        return {nullptr, 0};
    const unsigned short* positions = unac_tables::kPositions[table];
    const unsigned position = unit & 31;
    const unsigned start = positions[position];
    return {unac_tables::kData + start, positions[position + 1] - start};
}

// The first unit from i on that has a replacement, with the replacement in r; length when
// none is left.
size_t FindNextReplaced(const wchar_t* text, size_t i, size_t length, Replacement& r) {
    for (; i < length; ++i) {
        r = FindReplacement(text[i]);
        if (r.length != 0)
            break;
    }
    return i;
}

}  // namespace

bool StripAccentInto(std::wstring_view text, std::wstring& out) {
    const wchar_t* const units = text.data();
    const size_t length = text.size();
    Replacement r{nullptr, 0};
    size_t i = FindNextReplaced(units, 0, length, r);
    if (i == length)
        return false;

    out.clear();
    out.reserve(length + r.length);
    size_t unchangedFrom = 0;
    while (i < length) {
        out.append(units + unchangedFrom, i - unchangedFrom);
        out.append(r.units, r.length);
        unchangedFrom = i + 1;
        i = FindNextReplaced(units, unchangedFrom, length, r);
    }
    out.append(units + unchangedFrom, length - unchangedFrom);
    return true;
}

std::wstring StripAccentText(std::wstring_view text) {
    std::wstring out;
    if (!StripAccentInto(text, out))
        out.assign(text);
    return out;
}
