// The General page's file-type list: filled from the host's playable extensions with the
// saved choice selected, and written back on Apply.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace prefs_ids {
constexpr int kTypeList = 1007;
constexpr int kSelectAllTypes = 1008;
constexpr int kSelectNoTypes = 1009;
constexpr int kApplyTypes = 1028;
}  // namespace prefs_ids

// The host's extensions lower-cased without repeats, then the two playlist types.
std::vector<std::wstring> FileTypeChoices(const std::vector<std::wstring>& hostExtensions);
// The saved "a;b;" text: for each piece, the index of the first choice that begins with it
// (ignoring case); pieces no choice begins with are left out.
std::vector<int> SavedTypeSelection(const std::vector<std::wstring>& choices, const std::wstring& saved);

void FillFileTypes(HWND page);
// Writes the selection to the settings, disables Apply and hands the view the new list.
void ApplyFileTypes(HWND page);
