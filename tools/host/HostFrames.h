// Frame windows the host makes for plugins on request, each tied to the plugin's record.
#pragma once

#include <windows.h>

#include <vector>

std::vector<HWND> HostFrames();
// From now on the frames no longer write into the plugin's records, which the plugin frees
// when it quits.
void ForgetFrameRecords();
void DestroyFrames();

LRESULT OnCreateFrame(WPARAM record);
LRESULT OnFrameCreated(WPARAM record);
