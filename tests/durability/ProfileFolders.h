// The user's profile folders the kill runs start from: made new, copied from a saved state,
// and removed.
#pragma once

#include <string>

// A profile whose view shows at start and does not refresh by itself; everything else is the
// plugin's defaults (a scan of every root at start).
void WriteNewProfile(const std::wstring& folder);
void CopyTree(const std::wstring& from, const std::wstring& to);
void RemoveTree(const std::wstring& folder);
