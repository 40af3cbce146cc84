// Tag requests the host answers from the files' real tags: the display title formatted with
// the plugin's callbacks, one tag value by key, the file-information dialog, and the list of
// extensions the host can play.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Every tag of a file as key and value, in the order the dialog shows them; empty values too.
std::vector<std::pair<std::wstring, std::wstring>> ReadAllTags(const std::wstring& path);

LRESULT OnFormatTitle(WPARAM request);
LRESULT OnExtendedFileInfo(WPARAM request);
LRESULT OnFileInfoDialog(WPARAM record);
LRESULT OnPlayableExtensions(WPARAM);
