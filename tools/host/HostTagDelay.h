// The host's slowness over tag requests, as a player whose input plugin takes its time over a
// file or hangs on it: set from the command line and by the script, applied on the
// user-interface thread before a request is answered.
#pragma once

#include <string>

#include "logic/HostOptions.h"

// Any thread. A wait in progress ends at once, whatever the new setting; an empty file name
// makes every file slow.
void SetTagDelay(TagDelay delay, const std::wstring& onlyFile);
// On the user-interface thread, before answering a tag request (3026) about the file: waits
// as set when the request starts a new file, as the host reads a file once for all its keys.
// Nothing is handled meanwhile, so whoever sends to the thread finds it hung.
void DelayFileRead(const wchar_t* path);
// The same for a title request (298), which reads its file every time.
void DelayTitleRequest(const wchar_t* path);
// Any thread: ends the wait in progress and every later one, for good. A hung thread would
// never see the close request otherwise.
void ReleaseTagDelays();
