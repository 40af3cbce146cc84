// The shell's dropped-file list, the one format the view's drags carry and its drops take: a
// DROPFILES header followed by wide full paths, each ending in a zero, and one more zero.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "base/Unique.h"

// CF_HDROP in global memory, content aspect, every index.
FORMATETC DropFileListFormat();

// A movable global block holding the paths; empty on allocation failure.
UniqueGlobal BuildDropFileList(const std::vector<std::wstring>& paths);
// The paths a dropped-file list block holds, wide or 8-bit, in order.
std::vector<std::wstring> ReadDropFileList(HGLOBAL block);

// Whether the data offers a dropped-file list.
bool OffersDropFileList(IDataObject& data);
// The paths of the data's dropped-file list; none when it has none.
std::vector<std::wstring> DroppedPaths(IDataObject& data);
