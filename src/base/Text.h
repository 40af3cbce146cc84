// Conversions and comparisons for the UTF-16 text the whole plugin works in; 8-bit text
// appears only at the edges (playlist files, the plugin description).
#pragma once

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// The system's 8-bit code page, as 8-bit files of the player and the profile functions use it.
std::wstring CodePageToWide(std::string_view text);
std::string WideToCodePage(std::wstring_view text);
// Whether the code page holds the text exactly: every character comes back as it was, not as
// the nearest likeness ("Dvořák" as "Dvorák", a full-width letter as a plain one) or "?".
bool CodePageHolds(std::wstring_view text);

// Lower-cases with the system's locale-independent table, as file names compare on Windows.
std::wstring ToLower(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
// Whether the first min(|a|, |b|) characters of a and b match ignoring case.
bool SharedPrefixEqualsNoCase(std::wstring_view a, std::wstring_view b);

std::wstring FormatInt(long long value);
// Fills a translatable format holding one %d or %i (and %% for a percent sign). Any other
// conversion is copied as text, so a faulty language pack cannot read arguments that are not there.
std::wstring FormatWithInt(std::wstring_view format, long long value);
