// Ranks of text values in the order of the locale-aware, case-insensitive comparison the list
// sorts by. A list of a million rows sorted by comparing texts calls the comparison some twenty
// million times; ranking asks it once per distinct value, and the rows then sort by integers.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

// Locale-aware and case-insensitive, the way the shell orders names: below zero when a goes
// first, zero when the two are equal.
int CompareText(std::wstring_view a, std::wstring_view b);
int CompareText(LCID locale, std::wstring_view a, std::wstring_view b);

// The rank of each value: values[i] goes before values[j] exactly when ranks[i] < ranks[j],
// and the two compare equal exactly when their ranks are equal. Ranks run from 0 and leave no
// gaps, so they can index a table of counts. None when the comparison contradicts itself on
// these values (a before b, b before c, c before a): no ranks can follow it then.
struct TextRanking {
    std::vector<unsigned> ranks;
    unsigned distinctRanks = 0;
};
std::optional<TextRanking> RankTexts(const std::vector<std::wstring_view>& values);
